"""The real program on a settings file full of hostile values: every whole-number key at the ends of its range,
beyond 32 bits, not a number or empty; eyes and irises of absurd sizes, a target below -1, speeds of 0 and below,
colour texts with pieces missing or not numbers, names of 254 characters and of none, a picture cut short. The
program shows every character on the screen, keeps running while the pointer moves, opens the editor on the worst
of them, ends with status 0 on SIGTERM, and the file it saves loads again and saves the same."""

import time
import unittest

from xsession import CHARACTER_KEYS, CHARACTER_TITLE, PANEL_TITLE, FacePicture, XSession, parse_ini, wait_until

EDITOR_TITLE = "Lookabout  -  Advanced settings"
FACE = FacePicture(60, 50, face=(230, 180, 40), key=(255, 0, 255), hole=(25, 30, 10, 6))
WIDTH, HEIGHT = 1024, 768

# The panel at 96 dots per inch: the list starts at (8, 40), rows are 49 high, a row's "Advanced" button at (540, 35).
LIST_LEFT, LIST_TOP, ROW_HEIGHT = 8, 40, 49
ADVANCED_BUTTON = (504 + 36, 26 + 9)
EDITOR_CANCEL = (344 + 64, 320 + 16)  # inside the editor's client area

INTEGER_KEYS = [k for k in CHARACTER_KEYS if k not in ("Name", "Image_File", "Iris_Color", "Pupil_Color")]
EYE_KEYS = INTEGER_KEYS[9:]
MIN, MAX = -2147483648, 2147483647
LONG_NAME = "".join(chr(ord("a") + i % 26) for i in range(254))
TOO_LONG_NAME = "Z" * 300
TITLE = "T" * 254


def expected_for_extreme(value, index):
    """What the program keeps of a section whose every whole-number key holds value."""
    number = {"-2147483648": MIN, "-99999999999": MIN, "2147483647": MAX, "99999999999": MAX, "abc": 0}.get(value)
    if number is None:  # empty: every key takes its default
        kept = dict(Fixed_To=index, Flee=0, Speed_X=30, Speed_Y=20, Start_Position_X=0, Start_Position_Y=0,
                    Transparency=0, No_Mouseclick=0, Iris_Width=1)
        kept.update({k: -100 if "Center" in k else 8 if k.startswith("Eye") else 4 for k in EYE_KEYS})
    else:
        kept = {k: number for k in INTEGER_KEYS}
        kept.update(Fixed_To=index if number < 0 or number > 1 else number, Flee=int(number != 0),
                    No_Mouseclick=int(number != 0), Speed_X=min(max(number, 5), 200),
                    Transparency=min(max(number, 0), 255), Iris_Width=min(max(number, 0), 255))
    return {k: str(v) for k, v in kept.items()}


EXTREMES = ["-2147483648", "2147483647", "99999999999", "-99999999999", "abc", ""]

# (section text after Name and Image_File, what the save must hold for some keys)
SPECIAL = [
    ("Huge eyes", "face.bmp",
     "Eye1_Center_X=30\nEye1_Center_Y=25\nEye1_Diameter_X=2147483647\nEye1_Diameter_Y=2147483647\n"
     "Iris1_Diameter_X=2147483647\nIris1_Diameter_Y=2147483647\nIris_Width=2147483647\nEye2_Center_X=40\n"
     "Eye2_Center_Y=25\nEye2_Diameter_X=100000\nEye2_Diameter_Y=-100000\nIris2_Diameter_X=99999999999\n"
     "Iris2_Diameter_Y=1000000\nFixed_To=0\nFlee=1\nStart_Position_X=200\nStart_Position_Y=200\n",
     {"Eye1_Diameter_X": "2147483647", "Iris2_Diameter_X": "2147483647", "Eye2_Diameter_Y": "-100000",
      "Iris_Width": "255", "Fixed_To": "0", "Flee": "1"}),
    ("Negative eyes", "face.bmp",
     "Eye1_Center_X=20\nEye1_Center_Y=20\nEye1_Diameter_X=-2147483648\nEye1_Diameter_Y=-5\nIris1_Diameter_X=-1\n"
     "Iris1_Diameter_Y=-2147483648\nEye2_Center_X=2147483647\nEye2_Center_Y=-2147483648\nFixed_To=0\n",
     {"Eye1_Diameter_X": "-2147483648", "Iris1_Diameter_Y": "-2147483648", "Eye2_Center_Y": "-2147483648"}),
    ("Target below -1", "face.bmp", "Fixed_To=-5\n", {"Fixed_To": "self"}),
    ("Speeds of 0", "face.bmp", "Fixed_To=0\nFlee=1\nSpeed_X=0\nSpeed_Y=0\nStart_Position_X=500\n",
     {"Speed_X": "5", "Speed_Y": "0", "Flee": "1"}),
    ("Negative speeds", "face.bmp", "Fixed_To=0\nFlee=1\nSpeed_X=-7\nSpeed_Y=-30\nStart_Position_Y=300\n",
     {"Speed_X": "5", "Speed_Y": "-30"}),
    ("Follows at the lowest speed", "face.bmp", "Fixed_To=0\nSpeed_Y=-2147483648\n", {"Speed_Y": "-2147483648"}),
    ("Short colours", "face.bmp", "Iris_Color=1,2\nPupil_Color=abc,,7\n",
     {"Iris_Color": "1,2,0", "Pupil_Color": "0,0,7"}),
    ("Empty colours", "face.bmp", "Iris_Color=\nPupil_Color= , x ,300, 4\n",
     {"Iris_Color": "0,0,0", "Pupil_Color": "0,0,255"}),
    ("Odd numbers in colours", "face.bmp", "Iris_Color=1e300,-1e300,nan\nPupil_Color=0x10,+5,  7  \n",
     {"Iris_Color": "255,0,0", "Pupil_Color": "0,5,7"}),
    (LONG_NAME, "face.bmp", "", {"Name": LONG_NAME}),
    ("", "face.bmp", "", {"Name": ""}),
    (TOO_LONG_NAME, "face.bmp", "", {"Name": TOO_LONG_NAME[:254]}),
    ("Picture cut short", "cut.bmp", "", {"Image_File": "cut.bmp"}),
]


def hostile_ini():
    text = "[General_Settings]\nAdvanced_Editing=99999999999\nProgram_Title=%s\n\n" % TITLE
    sections = []
    for value in EXTREMES:
        sections.append(("Extreme %s" % (value or "empty"), "face.bmp",
                         "".join("%s=%s\n" % (k, value) for k in INTEGER_KEYS)))
    sections += [(name, picture, body) for name, picture, body, _ in SPECIAL]
    for k, (name, picture, body) in enumerate(sections, 1):
        text += "[CHARACTER_%d]\nName=%s\nImage_File=%s\n%s\n" % (k, name, picture, body)
    return text, len(sections)


class HostileValuesTest(unittest.TestCase):
    def test_hostile_values_run_save_and_load_again(self):
        ini, count = hostile_ini()
        face = FACE.bmp_bytes()
        with XSession(window_manager=True, compositor=True) as x:
            folder = x.program_folder(ini, {"face.bmp": face, "cut.bmp": face[:len(face) // 2]})
            program = x.start_program(folder)
            windows = x.wait_for_windows(CHARACTER_TITLE, count, timeout=20, program=program)
            panel_id = x.wait_for_windows(PANEL_TITLE, 1, program=program)[0]
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
            panel = x.geometry(panel_id)
            for row in (0, 1):
                x.focus(panel_id)
                x.click(panel.x + LIST_LEFT + ADVANCED_BUTTON[0],
                        panel.y + LIST_TOP + row * ROW_HEIGHT + ADVANCED_BUTTON[1])
                # Where the window manager finally places it; the editor repaints its face 300 ms after opening.
                editor = x.settle(x.wait_for_windows(EDITOR_TITLE, 1, program=program)[0], still_for=0.5)[-1]
                x.click(editor.x + EDITOR_CANCEL[0], editor.y + EDITOR_CANCEL[1])
                wait_until(lambda: not x.windows(EDITOR_TITLE), 5, "the editor to close")
            self.assertEqual(program.terminate(), 0, program.log())
            saved = folder.read_ini()

            # The saved file loads again, shows every character, and saves exactly the same.
            again = x.start_program(folder)
            x.wait_for_windows(CHARACTER_TITLE, count, timeout=20, program=again)
            x.wait_for_windows(PANEL_TITLE, 1, program=again)
            self.assertEqual(again.terminate(), 0, again.log())
            self.assertEqual(folder.read_ini(), saved, "a second load and save changed the file")

        sections = list(parse_ini(saved).values())
        self.assertEqual(sections[0], {"Advanced_Editing": "99999999999", "Program_Title": TITLE})  # never written
        for k, value in enumerate(EXTREMES, 1):
            self.assertEqual({key: sections[k][key] for key in INTEGER_KEYS + ["Iris_Color", "Pupil_Color"]},
                             dict(expected_for_extreme(value, k), Iris_Color="40,90,220", Pupil_Color="0,0,0"), value)
        for k, (name, _, _, expected) in enumerate(SPECIAL, len(EXTREMES) + 1):
            self.assertEqual({key: sections[k][key] for key in expected},
                             {key: str(k) if v == "self" else v for key, v in expected.items()}, name[:40])


if __name__ == "__main__":
    unittest.main()
