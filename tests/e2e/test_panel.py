"""The control panel of the real program: row changes reach the INI file when the window manager closes the
panel; Add and Delete clicked with the mouse leave the file with the new, or without the deleted, character,
renumbered, and every character window made anew; Minimize, a double click on a character and F1. And every
caption of the panel, the editor, the picker and the help window fits its control with the DejaVu fonts alone."""

import os
import pathlib
import subprocess
import unittest

from xsession import CHARACTER_KEYS, CHARACTER_TITLE, PANEL_TITLE, FacePicture, XSession, parse_ini, wait_until

FACE = FacePicture(60, 50, hole=(25, 30, 10, 6))
# Places inside a row of the panel's list, in pixels at 96 dots per inch; and the buttons above the list.
ROW_FACE = (12, 30)              # the thumbnail under the name: makes the row current
SCARED_OF = (184 + 8, 4 + 8)     # the option button's circle
MOVEABLE = (448 + 8, 4 + 8)      # the check boxes
VISIBLE = (384 + 8, 4 + 8)
SPEED_X_CAPTION = (264 + 56, 4 + 4)
ADD_BUTTON, DELETE_BUTTON = (83 + 26, 4 + 16), (158 + 26, 4 + 16)
MINIMIZE_FROM_RIGHT = (8 + 53 - 26, 4 + 16)  # Minimize stays 8 pixels from the right edge


def start(x, *characters):
    """The program on characters given as (name, Fixed_To, x, y, Speed_X); returns it and its panel's geometry."""
    text = "[General_Settings]\nProgram_Title=Panel test\n\n" + "".join(
        "[CHARACTER_%d]\nName=%s\nImage_File=face.bmp\nFixed_To=%d\nStart_Position_X=%d\nStart_Position_Y=%d\n"
        "Speed_X=%d\n\n" % ((k,) + c) for k, c in enumerate(characters, 1))
    program, _, panel = x.start_characters(x.program_folder(text, {"face.bmp": FACE.bmp_bytes()}), len(characters),
                                           panel=True)
    return program, panel, x.geometry(panel)


class PanelTest(unittest.TestCase):
    def test_with_a_window_manager(self):
        with XSession(window_manager=True) as x:
            # Minimize; a double click on the face brings the panel back; F1 in it shows the help.
            program, _, panel = start(x, ("Sunny", 1, 800, 600, 30))
            x.click(panel.x + panel.width - MINIMIZE_FROM_RIGHT[0], panel.y + MINIMIZE_FROM_RIGHT[1])
            wait_until(lambda: x.windows(PANEL_TITLE) == [], 5, "the panel to be minimised")
            x.click(800 + 15, 600 + 25, repeat=2)
            x.key("F1", window=x.wait_for_windows(PANEL_TITLE, 1, program=program)[0])
            x.wait_for_windows("Help - Lookabout", 1, program=program)
            self.assertEqual(program.terminate(), 0, program.log())

            # The first row: "Scared of", "Moveable with mouse" off, and Speed X up by two with the keyboard; both
            # stand still, so that none walks over the panel while it is clicked. Sunny, clicked into the topmost
            # band, then hidden and shown, stays out of the taskbar and the pager.
            program, wid, panel = start(x, ("Sunny", 1, 700, 500, 40), ("Froggy", 2, 800, 600, 30))
            x.click(700 + 15, 500 + 25)
            x.focus(wid)
            for place in (VISIBLE, VISIBLE, SCARED_OF, MOVEABLE, SPEED_X_CAPTION):
                x.click_in_row(panel, 0, place)
            x.key("Right", "Right")
            for character in x.wait_for_windows(CHARACTER_TITLE, 2, program=program):
                states = x.run("xprop", "-id", character, "_NET_WM_STATE")
                self.assertTrue("_NET_WM_STATE_SKIP_TASKBAR" in states and "_NET_WM_STATE_SKIP_PAGER" in states, states)
            x.key("alt+F4", window=wid)  # the window manager closes the panel
            self.assertEqual(program.wait(10), 0, program.log())
            saved = parse_ini(program.folder.read_ini())
            self.assertEqual([(saved[s]["Flee"], saved[s]["No_Mouseclick"], saved[s]["Speed_X"])
                              for s in ("CHARACTER_1", "CHARACTER_2")], [("1", "1", "42"), ("0", "0", "30")])

    def test_add_and_delete_through_the_buttons(self):
        with XSession() as x:
            # Alpha and Beta stand still, Gamma follows Beta: no one walks over the panel.
            program, _, panel = start(x, ("Alpha", 1, 700, 450, 30), ("Beta", 2, 780, 520, 30),
                                      ("Gamma", 2, 860, 590, 30))
            before = x.windows(CHARACTER_TITLE)
            # The second row becomes current; Add copies its character.
            x.click_in_row(panel, 1, ROW_FACE)
            x.click(panel.x + ADD_BUTTON[0], panel.y + ADD_BUTTON[1])
            self.assertFalse(set(before) & set(x.wait_for_windows(CHARACTER_TITLE, 4, program=program)),
                             "every character window is created anew")
            panel = x.geometry(x.wait_for_windows(PANEL_TITLE, 1, program=program)[0])
            saved = parse_ini(program.folder.read_ini())
            self.assertEqual(list(saved), ["General_Settings"] + ["CHARACTER_%d" % k for k in range(1, 5)])
            # All keys, in their order; just right of the panel (no window manager, so no frame), level with its top.
            self.assertEqual(saved["CHARACTER_4"], dict(saved["CHARACTER_2"], Name="New Beta", Fixed_To="4",
                                                        Start_Position_X=str(panel.x + panel.width),
                                                        Start_Position_Y=str(panel.y)))
            self.assertEqual(list(saved["CHARACTER_4"]), CHARACTER_KEYS)

            # The second row is still current: Delete removes character 2 of four. Gamma followed it and now
            # follows the pointer; New Beta stood still as 4 and stands still as 3.
            x.click(panel.x + DELETE_BUTTON[0], panel.y + DELETE_BUTTON[1])
            wait_until(lambda: len(x.windows(CHARACTER_TITLE)) == 3, 10, "three character windows")
            x.wait_for_windows(PANEL_TITLE, 1, program=program)
            saved = parse_ini(program.folder.read_ini())
            self.assertEqual([(k, s["Name"], s["Fixed_To"], sorted(s)) for k, s in saved.items() if k[0] == "C"],
                             [("CHARACTER_%d" % k, n, t, sorted(CHARACTER_KEYS))
                              for k, n, t in ((1, "Alpha", "1"), (2, "Gamma", "0"), (3, "New Beta", "3"))])
            self.assertEqual(program.terminate(), 0, program.log())


DEJAVU = "/usr/share/fonts/truetype/dejavu"
# Fontconfig with one folder of fonts and nothing else: no aliases, no fonts of the user's.
FONTS_CONF = '<?xml version="1.0"?>\n<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">\n' \
             '<fontconfig><dir>%s</dir><cachedir>%s</cachedir></fontconfig>\n'


class CaptionsTest(unittest.TestCase):
    def test_captions_fit_with_the_dejavu_fonts_alone(self):
        """The widget test that walks every caption, run on the X server: with the plain and bold DejaVu Sans
        alone, where a caption can only shrink, and with the whole DejaVu folder (its condensed faces, where
        fonts-dejavu-extra is installed)."""
        widget_tests = os.environ.get("LOOKABOUT_WIDGET_TESTS", "")
        with XSession() as x:
            plain = os.path.join(x.directory, "dejavu-sans")
            os.mkdir(plain)
            for face in ("DejaVuSans.ttf", "DejaVuSans-Bold.ttf"):
                os.symlink(os.path.join(DEJAVU, face), os.path.join(plain, face))
            for folder in (plain, DEJAVU):
                conf = os.path.join(x.directory, "fonts-%s.conf" % os.path.basename(folder))
                pathlib.Path(conf).write_text(FONTS_CONF % (folder, os.path.join(x.directory, "font-cache")))
                result = subprocess.run([widget_tests, "--gtest_filter=CaptionsFit.*"], timeout=40,
                                        env=dict(x.env, QT_QPA_PLATFORM="xcb", FONTCONFIG_FILE=conf),
                                        stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
                output = result.stdout.decode(errors="replace")
                self.assertEqual(result.returncode, 0, "fonts from %s:\n%s" % (folder, output))
                self.assertIn("[  PASSED  ] 1 test", output)


if __name__ == "__main__":
    unittest.main()
