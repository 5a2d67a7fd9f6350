"""The control panel of the real program on its own X server: a change made in a row reaches the INI file when
the panel is closed with the window manager's close button, and Add and Delete clicked with the mouse leave
the file with the new, or without the deleted, character, renumbered, and every character window made anew.
And every caption of the panel, the editor, the picker and the help window fits its control on a desktop with
the DejaVu fonts alone."""

import os
import subprocess
import time
import unittest

from xsession import CHARACTER_TITLE, FacePicture, XSession, keys_in_section, parse_ini, wait_until

PANEL_TITLE = "Lookabout"
ROOT = (30, 140, 90)
FACE = FacePicture(60, 50, face=(230, 180, 40), key=(255, 0, 255), hole=(25, 30, 10, 6))

CHARACTER_KEYS = [
    "Name", "Image_File", "Fixed_To", "Flee", "Speed_X", "Speed_Y", "Start_Position_X", "Start_Position_Y",
    "Transparency", "No_Mouseclick", "Iris_Color", "Pupil_Color", "Iris_Width",
    "Eye1_Center_X", "Eye1_Center_Y", "Eye1_Diameter_X", "Eye1_Diameter_Y", "Iris1_Diameter_X", "Iris1_Diameter_Y",
    "Eye2_Center_X", "Eye2_Center_Y", "Eye2_Diameter_X", "Eye2_Diameter_Y", "Iris2_Diameter_X", "Iris2_Diameter_Y",
]

# The panel's design in pixels at 96 dots per inch (twips / 15): the list starts at (8, 40) inside the
# window, each row is 49 high, and the controls sit at these places inside a row.
LIST_LEFT, LIST_TOP, ROW_HEIGHT = 8, 40, 49
ADD_BUTTON = (83 + 26, 4 + 16)
DELETE_BUTTON = (158 + 26, 4 + 16)
ROW_FACE = (12, 30)              # the thumbnail under the name: makes the row current
SCARED_OF = (184 + 8, 4 + 8)     # the option button's circle
MOVEABLE = (448 + 8, 4 + 8)      # the check box
SPEED_X_CAPTION = (264 + 56, 4 + 4)
MINIMIZE_BUTTON_FROM_RIGHT = (8 + 53 - 26, 4 + 16)  # Minimize stays 8 pixels from the right edge
HELP_TITLE = "Help - Lookabout"


def character(section, name, fixed_to, x, y, speed_x=30):
    return ("[%s]\nName=%s\nImage_File=face.bmp\nFixed_To=%d\nSpeed_X=%d\nStart_Position_X=%d\n"
            "Start_Position_Y=%d\n\n" % (section, name, fixed_to, speed_x, x, y))


def ini(*characters):
    return "[General_Settings]\nProgram_Title=Panel test\n\n" + "".join(characters)


def section_names(data):
    return [line.strip()[1:-1] for line in data.decode("latin-1").splitlines() if line.strip().startswith("[")]


class PanelTest(unittest.TestCase):
    def panel(self, x, program):
        wid = x.wait_for_windows(PANEL_TITLE, 1, program=program)[0]
        return wid, x.geometry(wid)

    def click_in_row(self, x, panel, row, place):
        x.click(panel.x + LIST_LEFT + place[0], panel.y + LIST_TOP + row * ROW_HEIGHT + place[1])

    def wait_for_characters(self, x, program, count):
        def exactly():
            if not program.running():
                raise RuntimeError("Lookabout ended:\n" + program.log())
            ids = x.windows(CHARACTER_TITLE)
            return sorted(ids) if len(ids) == count else None

        return wait_until(exactly, 10, what="%d character windows" % count)

    def test_row_changes_are_saved_when_the_window_manager_closes_the_panel(self):
        with XSession(window_manager=True, root_colour=ROOT) as x:
            # Both stand still, so that none walks over the panel while it is clicked.
            folder = x.program_folder(ini(character("CHARACTER_1", "Sunny", 1, 700, 500, speed_x=40),
                                          character("CHARACTER_2", "Froggy", 2, 800, 600)),
                                      {"face.bmp": FACE.bmp_bytes()})
            program = x.start_program(folder)
            x.wait_for_windows(CHARACTER_TITLE, 2, program=program)
            wid, panel = self.panel(x, program)
            x.focus(wid)
            x.screenshot("panel-before.png")

            # The first row: "Scared of", "Moveable with mouse" off, and Speed X up by two with the keyboard.
            self.click_in_row(x, panel, 0, SCARED_OF)
            self.click_in_row(x, panel, 0, MOVEABLE)
            self.click_in_row(x, panel, 0, SPEED_X_CAPTION)
            x.key("Right", "Right")
            time.sleep(0.3)
            x.screenshot("panel-changed.png")

            # The close button at the right end of the window manager's title bar.
            extents = x.run(["xprop", "-id", str(wid), "_NET_FRAME_EXTENTS"]).split("=")[1]
            left, right, top, bottom = (int(v) for v in extents.split(","))
            x.click(panel.x + panel.width + right - 11, panel.y - top // 2)
            self.assertEqual(program.wait(10), 0, program.log())
            self.assertEqual(x.windows(CHARACTER_TITLE, visible=False), [])
            saved = parse_ini(folder.read_ini())

        sunny, froggy = saved["CHARACTER_1"], saved["CHARACTER_2"]
        self.assertEqual(sunny["Flee"], "1")
        self.assertEqual(sunny["No_Mouseclick"], "1")
        self.assertEqual(sunny["Speed_X"], "42")
        self.assertEqual((froggy["Flee"], froggy["No_Mouseclick"], froggy["Speed_X"]), ("0", "0", "30"))
        self.assertEqual(saved["General_Settings"]["Program_Title"], "Panel test")

    def test_add_and_delete_through_the_buttons(self):
        with XSession(root_colour=ROOT) as x:
            # Alpha and Beta stand still, Gamma follows Beta: no one walks over the panel.
            folder = x.program_folder(ini(character("CHARACTER_1", "Alpha", 1, 700, 450),
                                          character("CHARACTER_2", "Beta", 2, 780, 520),
                                          character("CHARACTER_3", "Gamma", 2, 860, 590)),
                                      {"face.bmp": FACE.bmp_bytes()})
            program = x.start_program(folder)
            before = self.wait_for_characters(x, program, 3)
            wid, panel = self.panel(x, program)

            # The second row becomes current; Add copies its character.
            self.click_in_row(x, panel, 1, ROW_FACE)
            x.click(panel.x + ADD_BUTTON[0], panel.y + ADD_BUTTON[1])
            after_add = self.wait_for_characters(x, program, 4)
            self.assertFalse(set(before) & set(after_add), "every character window is created anew")
            wid, panel = self.panel(x, program)
            x.screenshot("panel-after-add.png")

            data = folder.read_ini()
            saved = parse_ini(data)
            self.assertEqual(section_names(data),
                             ["General_Settings", "CHARACTER_1", "CHARACTER_2", "CHARACTER_3", "CHARACTER_4"])
            self.assertEqual(keys_in_section(data, "CHARACTER_4"), CHARACTER_KEYS)
            added = saved["CHARACTER_4"]
            self.assertEqual(added["Name"], "New Beta")
            self.assertEqual(added["Fixed_To"], "4")
            # Just right of the panel (no window manager, so no frame), level with its top.
            self.assertEqual((int(added["Start_Position_X"]), int(added["Start_Position_Y"])),
                             (panel.x + panel.width, panel.y))
            self.assertEqual((saved["CHARACTER_2"]["Name"], saved["CHARACTER_2"]["Fixed_To"]), ("Beta", "2"))
            self.assertEqual(saved["CHARACTER_2"]["Start_Position_X"], "780")

            # The second row is still current: Delete removes character 2 of four.
            x.click(panel.x + DELETE_BUTTON[0], panel.y + DELETE_BUTTON[1])
            self.wait_for_characters(x, program, 3)
            self.panel(x, program)
            x.screenshot("panel-after-delete.png")
            data = folder.read_ini()
            saved = parse_ini(data)
            self.assertEqual(section_names(data), ["General_Settings", "CHARACTER_1", "CHARACTER_2", "CHARACTER_3"])
            self.assertEqual([saved["CHARACTER_%d" % k]["Name"] for k in (1, 2, 3)], ["Alpha", "Gamma", "New Beta"])
            self.assertEqual(saved["CHARACTER_1"]["Fixed_To"], "1")
            self.assertEqual(saved["CHARACTER_2"]["Fixed_To"], "0", "followed the deleted character: now the pointer")
            self.assertEqual(saved["CHARACTER_3"]["Fixed_To"], "3", "stood still as 4, stands still as 3")
            for k in (1, 2, 3):
                self.assertEqual(sorted(keys_in_section(data, "CHARACTER_%d" % k)), sorted(CHARACTER_KEYS))
            self.assertEqual(program.terminate(), 0, program.log())

    def test_minimize_then_double_click_on_a_character_and_f1(self):
        with XSession(window_manager=True, root_colour=ROOT) as x:
            folder = x.program_folder(ini(character("CHARACTER_1", "Sunny", 1, 800, 600)),
                                      {"face.bmp": FACE.bmp_bytes()})
            program = x.start_program(folder)
            x.wait_for_windows(CHARACTER_TITLE, 1, program=program)
            wid, panel = self.panel(x, program)
            x.click(panel.x + panel.width - MINIMIZE_BUTTON_FROM_RIGHT[0], panel.y + MINIMIZE_BUTTON_FROM_RIGHT[1])
            wait_until(lambda: x.windows(PANEL_TITLE) == [], 5, what="the panel to be minimised")

            # A double click on the face brings the panel back.
            fx, fy = FACE.width // 4, FACE.height // 2
            x.click(800 + fx, 600 + fy, repeat=2)
            wid = x.wait_for_windows(PANEL_TITLE, 1, program=program)[0]

            # F1 in the panel shows the help.
            x.key("F1", window=wid)
            x.wait_for_windows(HELP_TITLE, 1, program=program)
            self.assertEqual(program.terminate(), 0, program.log())


DEJAVU = "/usr/share/fonts/truetype/dejavu"
# Fontconfig with one folder of fonts and nothing else: no aliases, no fonts of the user's.
FONTS_CONF = """<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig><dir>%s</dir><cachedir>%s</cachedir></fontconfig>
"""


class CaptionsTest(unittest.TestCase):
    def test_captions_fit_with_the_dejavu_fonts_alone(self):
        """The widget test that walks every caption, run on the X server: with the plain and bold DejaVu Sans
        alone, where a caption can only shrink, and with the whole DejaVu folder (its condensed faces, where
        fonts-dejavu-extra is installed)."""
        widget_tests = os.environ.get("LOOKABOUT_WIDGET_TESTS", "")
        self.assertTrue(os.path.isfile(widget_tests), "LOOKABOUT_WIDGET_TESTS must name the widget tests")
        with XSession(window_manager=False) as x:
            plain = os.path.join(x.directory, "dejavu-sans")
            os.mkdir(plain)
            for face in ("DejaVuSans.ttf", "DejaVuSans-Bold.ttf"):
                os.symlink(os.path.join(DEJAVU, face), os.path.join(plain, face))
            for folder in (plain, DEJAVU):
                conf = os.path.join(x.directory, "fonts-%s.conf" % os.path.basename(folder))
                with open(conf, "w") as f:
                    f.write(FONTS_CONF % (folder, os.path.join(x.directory, "font-cache")))
                env = dict(x.env, QT_QPA_PLATFORM="xcb", FONTCONFIG_FILE=conf)
                result = subprocess.run([widget_tests, "--gtest_filter=CaptionsFit.*"], env=env, timeout=40,
                                        stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
                output = result.stdout.decode(errors="replace")
                self.assertEqual(result.returncode, 0, "fonts from %s:\n%s" % (folder, output))
                self.assertIn("[  PASSED  ] 1 test", output)


if __name__ == "__main__":
    unittest.main()
