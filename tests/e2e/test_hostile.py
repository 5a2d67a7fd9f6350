"""The real program on a settings file full of hostile values, the ones that would crash it or fling its windows
away: every whole-number key at both ends of the 32-bit range, eyes and irises of absurd sizes, a target below -1,
speeds of 0 and below, names of 254 characters, longer and of none, a picture cut short. (How each key's text is
read and clamped is checked key by key by the settings file's unit tests.) The program shows every character on
the screen, keeps running while the pointer moves, opens the editor on the worst of them, ends with status 0 on
SIGTERM, and the file it saves loads again and saves the same."""

import time
import unittest

from xsession import CHARACTER_KEYS, CHARACTER_TITLE, EDITOR_TITLE, FacePicture, XSession, parse_ini
from xsession import wait_until

EDITOR_CANCEL = (344 + 64, 320 + 16)  # inside the editor's client area
FACE = FacePicture(60, 50, hole=(25, 30, 10, 6))
WIDTH, HEIGHT = 1024, 768
INTEGER_KEYS = [k for k in CHARACTER_KEYS if k not in ("Name", "Image_File", "Iris_Color", "Pupil_Color")]

# (name, picture, the rest of the section); the first two are the worst: every whole-number key at an end.
SECTIONS = [("Extreme %s" % v, "face.bmp", "".join("%s=%s\n" % (k, v) for k in INTEGER_KEYS))
            for v in ("-2147483648", "2147483647")] + [
    ("Huge eyes", "face.bmp",
     "Eye1_Center_X=30\nEye1_Center_Y=25\nEye1_Diameter_X=2147483647\nEye1_Diameter_Y=2147483647\n"
     "Iris1_Diameter_X=2147483647\nIris1_Diameter_Y=2147483647\nIris_Width=2147483647\nEye2_Center_X=40\n"
     "Eye2_Center_Y=25\nEye2_Diameter_X=100000\nEye2_Diameter_Y=-100000\nIris2_Diameter_X=99999999999\n"
     "Iris2_Diameter_Y=1000000\nFixed_To=0\nFlee=1\nStart_Position_X=200\nStart_Position_Y=200\n"),
    ("Negative eyes", "face.bmp",
     "Eye1_Center_X=20\nEye1_Center_Y=20\nEye1_Diameter_X=-2147483648\nEye1_Diameter_Y=-5\nIris1_Diameter_X=-1\n"
     "Iris1_Diameter_Y=-2147483648\nEye2_Center_X=2147483647\nEye2_Center_Y=-2147483648\nFixed_To=0\n"),
    ("Target below -1", "face.bmp", "Fixed_To=-5\n"),
    ("Speeds of 0", "face.bmp", "Fixed_To=0\nFlee=1\nSpeed_X=0\nSpeed_Y=0\nStart_Position_X=500\n"),
    ("Negative speeds", "face.bmp", "Fixed_To=0\nFlee=1\nSpeed_X=-7\nSpeed_Y=-30\nStart_Position_Y=300\n"),
    ("Follows at the lowest speed", "face.bmp", "Fixed_To=0\nSpeed_Y=-2147483648\n"),
    ("".join(chr(ord("a") + i % 26) for i in range(254)), "face.bmp", ""),
    ("", "face.bmp", ""),
    ("Z" * 300, "face.bmp", ""),
    ("Picture cut short", "cut.bmp", ""),
]
INI = "[General_Settings]\nAdvanced_Editing=99999999999\nProgram_Title=%s\n\n" % ("T" * 254) + "".join(
    "[CHARACTER_%d]\nName=%s\nImage_File=%s\n%s\n" % ((k,) + s) for k, s in enumerate(SECTIONS, 1))


class HostileValuesTest(unittest.TestCase):
    def test_hostile_values_run_save_and_load_again(self):
        face = FACE.bmp_bytes()
        count = len(SECTIONS)
        with XSession(window_manager=True, compositor=True) as x:
            folder = x.program_folder(INI, {"face.bmp": face, "cut.bmp": face[:len(face) // 2]})
            program, windows, panel_id = x.start_characters(folder, count, panel=True, timeout=20)
            sizes = [tuple(x.geometry(w))[2:] for w in windows]
            self.assertEqual(sizes.count((200, 88)), 1, "the picture cut short shows the error picture")
            # A few seconds of pointer moves: followers follow, the fleeing run, every eye is drawn.
            for step in range(40):
                x.move_pointer((step * 197) % WIDTH, (step * 113) % HEIGHT)
                time.sleep(0.07)
            self.assertEqual(len(x.windows(CHARACTER_TITLE)), count, "a character window went away")
            for g in map(x.geometry, windows):  # no window flung off to infinity: each still overlaps the screen
                self.assertTrue(-g.width < g.x < WIDTH and -g.height < g.y < HEIGHT, "window at %r" % (g,))

            # The editor opens on the two worst characters and is left with Cancel.
            for row in (0, 1):
                editor = x.open_editor(program, panel_id, row)
                x.click(editor.x + EDITOR_CANCEL[0], editor.y + EDITOR_CANCEL[1])
                wait_until(lambda: not x.windows(EDITOR_TITLE), 5, "the editor to close")
            self.assertEqual(program.terminate(), 0, program.log())
            saved = folder.read_ini()

            # The saved file loads again, shows every character, and saves exactly the same.
            again = x.start_characters(folder, count, panel=True, timeout=20)[0]
            self.assertEqual(again.terminate(), 0, again.log())
            self.assertEqual(folder.read_ini(), saved, "a second load and save changed the file")
        sections = parse_ini(saved)
        self.assertEqual(len(sections), count + 1)
        self.assertEqual(sections["General_Settings"], {"Advanced_Editing": "99999999999", "Program_Title": "T" * 254})


if __name__ == "__main__":
    unittest.main()
