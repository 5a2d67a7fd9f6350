"""A thousand characters: the whole file loads (every section, far beyond the old limit of the list of section
names), every character window is shown, the control panel is built with a row for each, and ending the program
saves all thousand sections again."""

import time
import unittest

from xsession import CHARACTER_TITLE, FacePicture, XSession, parse_ini

COUNT = 1000
FACE = FacePicture(24, 20, hole=(10, 8, 4, 4))


def many_characters():
    text = "[General_Settings]\nProgram_Title=A thousand\n\n"
    for k in range(1, COUNT + 1):
        # Spread over the screen; every tenth one follows the pointer, the rest stand and look.
        fixed = 0 if k % 10 == 0 else k
        text += ("[CHARACTER_%d]\nName=Character number %d\nImage_File=face.bmp\nFixed_To=%d\n"
                 "Start_Position_X=%d\nStart_Position_Y=%d\nEye1_Center_X=8\nEye1_Center_Y=8\n"
                 "Eye2_Center_X=16\nEye2_Center_Y=8\n\n" % (k, k, fixed, (k * 37) % 1000, (k * 53) % 740))
    return text


class ManyCharactersTest(unittest.TestCase):
    def test_a_thousand_characters_load_run_and_save(self):
        with XSession() as x:
            folder = x.program_folder(many_characters(), {"face.bmp": FACE.bmp_bytes()})
            program = x.start_characters(folder, COUNT, panel=True, timeout=150)[0]
            for step in range(10):
                x.move_pointer(100 + step * 80, 100 + step * 50)
                time.sleep(0.1)
            self.assertEqual(len(x.windows(CHARACTER_TITLE)), COUNT)
            self.assertEqual(program.terminate(timeout=60), 0, program.log())
            sections = parse_ini(folder.read_ini())
        self.assertEqual(sections.pop("General_Settings"), {"Program_Title": "A thousand"})
        self.assertEqual([(name, len(s), s["Name"], s["Fixed_To"]) for name, s in sections.items()],
                         [("CHARACTER_%d" % k, 25, "Character number %d" % k, str(0 if k % 10 == 0 else k))
                          for k in range(1, COUNT + 1)])


if __name__ == "__main__":
    unittest.main()
