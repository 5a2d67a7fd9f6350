"""Two programs on one settings file: a second start from the same folder brings the running program's control panel
forward and ends at once, without a window or a save of its own, so the two never save over each other. A program
that was killed leaves no lock that keeps the next start out."""

import os
import signal
import unittest

from xsession import CHARACTER_TITLE, PANEL_TITLE, FacePicture, XSession, wait_until

FACE = FacePicture(60, 50, hole=(25, 30, 10, 6))
INI = "[General_Settings]\nProgram_Title=Only one\n\n[CHARACTER_1]\nName=Alpha\nImage_File=face.bmp\nFixed_To=1\n" \
      "Start_Position_X=700\nStart_Position_Y=500\n\n[CHARACTER_2]\nName=Beta\nImage_File=face.bmp\nFixed_To=2\n" \
      "Start_Position_X=800\nStart_Position_Y=600\n"


class TwoInstancesTest(unittest.TestCase):
    def test_second_start_and_a_killed_program(self):
        with XSession(window_manager=True) as x:
            folder = x.program_folder(INI, {"face.bmp": FACE.bmp_bytes()})
            lock = os.path.join(folder.path, ".Lookabout.ini.lock")
            first, _, panel = x.start_characters(folder, 2, panel=True)
            x.xdotool("windowminimize", "--sync", panel)  # waits until it is no longer shown
            before = os.stat(folder.ini_path).st_ino  # every save replaces the file: its inode tells
            second = x.start_program(folder)
            self.assertEqual(second.wait(5), 0, second.log())  # ends at once
            wait_until(lambda: x.windows(PANEL_TITLE) == [panel], 5, "the running panel to come back")
            self.assertEqual(len(x.windows(CHARACTER_TITLE)), 2, "the second start made windows")
            self.assertEqual(os.stat(folder.ini_path).st_ino, before, "the second start saved the file")
            # The first one still saves when it ends, and gives the folder free.
            self.assertEqual(first.terminate(), 0, first.log())
            self.assertNotEqual(os.stat(folder.ini_path).st_ino, before, "the running program did not save")
            self.assertFalse(os.path.exists(lock))

            # A killed program leaves its lock file, which does not keep the next start out.
            killed = x.start_characters(folder, 2)[0]
            killed.send_signal(signal.SIGKILL)
            wait_until(lambda: x.windows(CHARACTER_TITLE) == [], 5, "the killed program's windows to go")
            self.assertTrue(os.path.exists(lock), "no lock file to take over")
            after = x.start_characters(folder, 2, panel=True)[0]
            self.assertEqual(after.terminate(), 0, after.log())
            self.assertFalse(os.path.exists(lock))


if __name__ == "__main__":
    unittest.main()
