"""Saving where the settings file cannot be written: a read-only file, a read-only folder (by its permissions, and
mounted read-only) and a full disk. The program ends on SIGTERM as always, shows its one message box about the
failed save, and leaves the file as it was, with no temporary file beside it.

Root passes every permission check, so when the tests run as root (as in CI) the program runs as the user nobody
(uid 65534) through setpriv; the read-only mount and the full disk (a small tmpfs, filled up) need root to mount."""

import os
import shutil
import signal
import subprocess
import unittest

from xsession import CHARACTER_TITLE, FacePicture, Program, ProgramFolder, XSession, lookabout_executable, wait_until

MESSAGE_TITLE = "Lookabout"  # the message box has the panel's title; it is the second window of that name
NOBODY = 65534
ROOT = (30, 140, 90)
FACE = FacePicture(60, 50, face=(230, 180, 40), key=(255, 0, 255), hole=(25, 30, 10, 6))

# Hand-kept: the program would write it differently (it adds every missing key), so any save shows.
INI = """\
; my characters
[General_Settings]
Program_Title=Kept safe

[CHARACTER_1]
Name=Alpha
Image_File=face.bmp
Fixed_To=1
Start_Position_X=700
Start_Position_Y=500
"""


def is_root():
    return os.geteuid() == 0


class SaveFaultsTest(unittest.TestCase):
    def setUp(self):
        self.started = []

    def start(self, x, folder, as_nobody):
        """Starts the program in folder, as the user nobody when asked and when we are root."""
        prefix = []
        env = dict(x.env)
        if as_nobody and is_root():
            if shutil.which("setpriv") is None:
                self.skipTest("running as root, and setpriv (util-linux) is missing to run the program as nobody")
            prefix = ["setpriv", "--reuid=%d" % NOBODY, "--regid=%d" % NOBODY, "--clear-groups"]
            home = os.path.join(x.directory, "home-nobody")
            os.makedirs(home, exist_ok=True)
            os.chown(home, NOBODY, NOBODY)
            env["HOME"] = home
            env.pop("XDG_RUNTIME_DIR", None)
        log_path = os.path.join(x.directory, "output-%s.log" % os.path.basename(folder.path))
        with open(log_path, "wb") as log:
            process = subprocess.Popen(prefix + [folder.executable], cwd=x.directory, env=env,
                                       stdin=subprocess.DEVNULL, stdout=log, stderr=subprocess.STDOUT,
                                       start_new_session=True)
        program = Program(process, folder, log_path)
        self.addCleanup(self.end, program)
        self.started.append(program)
        return program

    @staticmethod
    def end(program):
        if program.running():
            os.killpg(program.pid, signal.SIGKILL)
            program.process.wait()

    def mount(self, *args):
        subprocess.run(["mount"] + list(args), check=True, stdout=subprocess.PIPE, stderr=subprocess.STDOUT)

    def unmount(self, path):
        """Ends the programs first (they run from the mount), so the session's folder can be removed after."""
        for program in self.started:
            self.end(program)
        subprocess.run(["umount", "-l", path], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def folder(self, x, name):
        # The session's folder is private to root; the user nobody must reach the program in it.
        os.chmod(x.directory, 0o755)
        return ProgramFolder(os.path.join(x.directory, name), lookabout_executable(), INI, {"face.bmp": FACE.bmp_bytes()})

    def check_failed_save(self, x, program, folder, before_files, reason=None):
        """Ends the program with SIGTERM: one message box, status 0, the file and the folder as they were."""
        x.wait_for_windows(CHARACTER_TITLE, 1, program=program)
        panel = x.wait_for_windows(MESSAGE_TITLE, 1, program=program)
        program.signal(signal.SIGTERM)
        boxes = wait_until(lambda: [w for w in x.windows(MESSAGE_TITLE) if w not in panel] or not program.running(),
                           10, what="the message box about the failed save")
        self.assertTrue(program.running(), "the program ended without a message:\n" + program.log())
        self.assertEqual(len(boxes), 1)
        self.assertIn("_NET_WM_WINDOW_TYPE_DIALOG", x.run(["xprop", "-id", str(boxes[0]), "_NET_WM_WINDOW_TYPE"]))
        x.screenshot("message-%s.png" % os.path.basename(folder.path))
        self.assertEqual(folder.read_ini(), INI.encode(), "the file changed although the save failed")

        x.key("Return", window=boxes[0])
        self.assertEqual(program.wait(10), 0, program.log())
        self.assertEqual(folder.read_ini(), INI.encode())
        self.assertEqual(sorted(os.listdir(folder.path)), before_files, "a file was left behind or lost")

    def test_read_only_file(self):
        with XSession(root_colour=ROOT) as x:
            folder = self.folder(x, "read-only-file")
            if is_root():
                os.chown(folder.path, NOBODY, NOBODY)
                os.chown(folder.ini_path, NOBODY, NOBODY)
            os.chmod(folder.ini_path, 0o444)
            before = sorted(os.listdir(folder.path))
            program = self.start(x, folder, as_nobody=True)
            self.check_failed_save(x, program, folder, before)

    def test_read_only_folder(self):
        with XSession(root_colour=ROOT) as x:
            folder = self.folder(x, "read-only-folder")
            if is_root():
                os.chown(folder.ini_path, NOBODY, NOBODY)  # the file itself may be written
            before = sorted(os.listdir(folder.path))
            if not is_root():
                os.chmod(folder.path, 0o555)
            try:
                program = self.start(x, folder, as_nobody=True)
                self.check_failed_save(x, program, folder, before)
            finally:
                os.chmod(folder.path, 0o755)  # so the session's folder can be removed

    def test_read_only_mount(self):
        if not is_root():
            self.skipTest("mounting the folder read-only needs root")
        with XSession(root_colour=ROOT) as x:
            folder = self.folder(x, "read-only-mount")
            before = sorted(os.listdir(folder.path))
            self.mount("--bind", folder.path, folder.path)
            try:
                self.mount("-o", "remount,ro,bind", folder.path)
                program = self.start(x, folder, as_nobody=False)
                self.check_failed_save(x, program, folder, before)
            finally:
                self.unmount(folder.path)

    def test_full_disk(self):
        if not is_root():
            self.skipTest("mounting a small tmpfs to fill up needs root")
        with XSession(root_colour=ROOT) as x:
            path = os.path.join(x.directory, "full-disk")
            os.makedirs(path)
            # Room for the program and its files, and a little more, which is then filled up.
            size_kb = os.path.getsize(lookabout_executable()) // 1024 + 256
            self.mount("-t", "tmpfs", "-o", "size=%dk,mode=0755" % size_kb, "tmpfs", path)
            try:
                self.check_full_disk(x, path)
            finally:
                self.unmount(path)

    def check_full_disk(self, x, path):
        folder = ProgramFolder(path, lookabout_executable(), INI, {"face.bmp": FACE.bmp_bytes()})
        program = self.start(x, folder, as_nobody=False)
        x.wait_for_windows(CHARACTER_TITLE, 1, program=program)
        x.wait_for_windows(MESSAGE_TITLE, 1, program=program)
        # The disk fills up while the program runs.
        filler = os.path.join(path, "filler")
        with open(filler, "wb", buffering=0) as f:
            try:
                while True:
                    f.write(b"\0" * 4096)
            except OSError:
                pass
        before = sorted(n for n in os.listdir(path) if not n.endswith(".lock"))
        self.check_failed_save(x, program, folder, before)


if __name__ == "__main__":
    unittest.main()
