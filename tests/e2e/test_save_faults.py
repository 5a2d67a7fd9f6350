"""Saving where the settings file cannot be written: a read-only file, a read-only folder (by its permissions, and
mounted read-only) and a full disk. The program ends on SIGTERM as always, shows its one message box about the
failed save, and leaves the file as it was, with no temporary file beside it.

Root passes every permission check, so when the tests run as root (as in CI) the program runs as the user nobody
(uid 65534) through setpriv; the read-only mount and the full disk (a small tmpfs, filled up) need root to mount."""

import contextlib
import os
import signal
import subprocess
import unittest

from xsession import PANEL_TITLE, FacePicture, ProgramFolder, XSession, wait_until

NOBODY = 65534
FACE = FacePicture(60, 50, hole=(25, 30, 10, 6))
# Hand-kept: the program would write it differently (it adds every missing key), so any save shows.
INI = "; my characters\n[General_Settings]\nProgram_Title=Kept safe\n\n[CHARACTER_1]\nName=Alpha\n" \
      "Image_File=face.bmp\nFixed_To=1\nStart_Position_X=700\nStart_Position_Y=500\n"


def mount(*args):
    subprocess.run(["mount"] + list(args), check=True, stdout=subprocess.PIPE, stderr=subprocess.STDOUT)


class SaveFaultsTest(unittest.TestCase):
    def check_failed_save(self, x, folder, as_nobody=False, fill_up=False):
        """Runs the program in folder (as the user nobody when asked and when we are root) and ends it with
        SIGTERM: one message box about the failed save, status 0, the file and the folder as they were."""
        prefix = ["setpriv", "--reuid=%d" % NOBODY, "--regid=%d" % NOBODY, "--clear-groups"] \
            if as_nobody and os.geteuid() == 0 else []
        program, _, panel = x.start_characters(folder, 1, panel=True, prefix=prefix, env={"HOME": x.directory})
        if fill_up:  # the disk fills up while the program runs
            with open(os.path.join(folder.path, "filler"), "wb", buffering=0) as f, contextlib.suppress(OSError):
                while True:
                    f.write(b"\0" * 4096)
        before = sorted(n for n in os.listdir(folder.path) if not n.endswith(".lock"))
        program.send_signal(signal.SIGTERM)
        boxes = wait_until(lambda: [w for w in x.windows(PANEL_TITLE) if w != panel] or not program.running(),
                           10, "the message box about the failed save")
        self.assertTrue(program.running(), "the program ended without a message:\n" + program.log())
        self.assertEqual(len(boxes), 1)
        self.assertIn("_NET_WM_WINDOW_TYPE_DIALOG", x.run("xprop", "-id", boxes[0], "_NET_WM_WINDOW_TYPE"))
        x.key("Return", window=boxes[0])
        self.assertEqual(program.wait(10), 0, program.log())
        self.assertEqual(folder.read_ini(), INI.encode(), "the file changed although the save failed")
        self.assertEqual(sorted(n for n in os.listdir(folder.path) if not n.endswith(".lock")), before,
                         "a file was left behind or lost")

    def test_save_faults(self):
        """Root passes every permission check, so as root (as in CI) the program runs as the user nobody through
        setpriv; the read-only mount and the full disk (a small tmpfs, filled up) need root to mount."""
        root = os.geteuid() == 0
        with XSession() as x:
            os.chmod(x.directory, 0o755)  # the user nobody must reach the programs in it
            files = {"face.bmp": FACE.bmp_bytes()}
            with self.subTest("read-only file"):
                folder = ProgramFolder(os.path.join(x.directory, "read-only-file"), INI, files)
                if root:
                    os.chown(folder.path, NOBODY, NOBODY)
                    os.chown(folder.ini_path, NOBODY, NOBODY)
                os.chmod(folder.ini_path, 0o444)
                self.check_failed_save(x, folder, as_nobody=True)
            with self.subTest("read-only folder"):
                folder = ProgramFolder(os.path.join(x.directory, "read-only-folder"), INI, files)
                if root:
                    os.chown(folder.ini_path, NOBODY, NOBODY)  # the file itself may be written
                else:
                    os.chmod(folder.path, 0o555)
                    self.addCleanup(os.chmod, folder.path, 0o755)
                self.check_failed_save(x, folder, as_nobody=True)
            if not root:
                self.skipTest("mounting a folder read-only, or a small tmpfs to fill up, needs root")
            # A tmpfs with room for the program and its files, and a little more, which is then filled up.
            size = os.path.getsize(os.environ["LOOKABOUT_EXE"]) // 1024 + 256
            tmpfs = ("-t", "tmpfs", "-o", "size=%dk" % size, "tmpfs")
            for name, mount_options in [("read-only mount", ()), ("full disk", tmpfs)]:
                with self.subTest(name):
                    path = os.path.join(x.directory, name.replace(" ", "-"))
                    os.makedirs(path)
                    folder = ProgramFolder(path, INI, files) if not mount_options else None
                    mount(*(mount_options or ("--bind", path)), path)
                    try:
                        if folder:
                            mount("-o", "remount,ro,bind", path)
                        self.check_failed_save(x, folder or ProgramFolder(path, INI, files),
                                               fill_up=bool(mount_options))
                    finally:
                        subprocess.run(["umount", "-l", path], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


if __name__ == "__main__":
    unittest.main()
