"""Two programs on one settings file: a second start from the same folder brings the running program's control panel
forward and ends at once, without a window or a save of its own, so the two never save over each other. A program
that was killed leaves no lock that keeps the next start out."""

import os
import signal
import time
import unittest

from xsession import CHARACTER_TITLE, FacePicture, XSession, wait_until

PANEL_TITLE = "Lookabout"
LOCK_FILE = ".Lookabout.ini.lock"
ROOT = (30, 140, 90)
FACE = FacePicture(60, 50, face=(230, 180, 40), key=(255, 0, 255), hole=(25, 30, 10, 6))

INI = """\
[General_Settings]
Program_Title=Only one

[CHARACTER_1]
Name=Alpha
Image_File=face.bmp
Fixed_To=1
Start_Position_X=700
Start_Position_Y=500

[CHARACTER_2]
Name=Beta
Image_File=face.bmp
Fixed_To=2
Start_Position_X=800
Start_Position_Y=600
"""


class TwoInstancesTest(unittest.TestCase):
    def test_a_second_start_shows_the_running_panel_and_ends(self):
        with XSession(window_manager=True, root_colour=ROOT) as x:
            folder = x.program_folder(INI, {"face.bmp": FACE.bmp_bytes()})
            first = x.start_program(folder)
            x.wait_for_windows(CHARACTER_TITLE, 2, program=first)
            panel = x.wait_for_windows(PANEL_TITLE, 1, program=first)[0]
            self.assertTrue(os.path.exists(os.path.join(folder.path, LOCK_FILE)))

            x.xdotool("windowminimize", "--sync", panel)
            wait_until(lambda: x.windows(PANEL_TITLE) == [], 5, what="the panel to be minimised")
            # Every save replaces the file, so its inode tells whether anyone saved.
            before = os.stat(folder.ini_path).st_ino

            started = time.monotonic()
            second = x.start_program(folder)
            self.assertEqual(second.wait(10), 0, second.log())
            took = time.monotonic() - started
            self.assertLess(took, 5.0, "the second start took %.1f s to end" % took)
            wait_until(lambda: x.windows(PANEL_TITLE) == [panel], 5, what="the running panel to come back")
            self.assertTrue(first.running())
            self.assertEqual(len(x.windows(CHARACTER_TITLE, visible=False)), 2, "the second start made windows")
            self.assertEqual(os.stat(folder.ini_path).st_ino, before, "the second start saved the file")
            self.assertEqual(folder.read_ini(), INI.encode())

            # The first one still saves when it ends, and gives the folder free.
            self.assertEqual(first.terminate(), 0, first.log())
            self.assertNotEqual(os.stat(folder.ini_path).st_ino, before, "the running program did not save")
            self.assertFalse(os.path.exists(os.path.join(folder.path, LOCK_FILE)))

    def test_a_killed_program_does_not_keep_the_next_one_out(self):
        with XSession(root_colour=ROOT) as x:
            folder = x.program_folder(INI, {"face.bmp": FACE.bmp_bytes()})
            killed = x.start_program(folder)
            x.wait_for_windows(CHARACTER_TITLE, 2, program=killed)
            killed.signal(signal.SIGKILL)
            killed.wait(5)
            wait_until(lambda: x.windows(CHARACTER_TITLE, visible=False) == [], 5, what="the killed program's windows")
            self.assertTrue(os.path.exists(os.path.join(folder.path, LOCK_FILE)), "no lock file to take over")

            after = x.start_program(folder)
            x.wait_for_windows(CHARACTER_TITLE, 2, program=after)
            x.wait_for_windows(PANEL_TITLE, 1, program=after)
            self.assertEqual(after.terminate(), 0, after.log())
            self.assertFalse(os.path.exists(os.path.join(folder.path, LOCK_FILE)))


if __name__ == "__main__":
    unittest.main()
