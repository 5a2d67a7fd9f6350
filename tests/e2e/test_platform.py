"""Starting where no X display can be opened: the program says so in one line on stderr and ends with a
non-zero status, instead of Qt's abort and core dump, and leaves its folder as it was. And the installed program:
cmake --install puts it into one folder with its settings and pictures, with the command, the menu entry and the
icon where the desktop finds them; the command runs the program in place, or from a copy of the user's own when
the installed folder is not writable. No X server is needed: without a display the program ends at once."""

import filecmp
import os
import re
import shutil
import socket
import stat
import subprocess
import tempfile
import unittest

from xsession import ProgramFolder, lookabout_executable

INI = "[General_Settings]\nProgram_Title=Nowhere\n\n[CHARACTER_1]\nName=Face\nImage_File=face.bmp\n"


def display_nobody_serves():
    """A display number with no X server behind it, on the file or the abstract socket."""
    for number in range(987, 1100):
        path = "/tmp/.X11-unix/X%d" % number
        taken = False
        for address in (path, "\0" + path):
            with socket.socket(socket.AF_UNIX, socket.SOCK_STREAM) as s:
                try:
                    s.connect(address)
                    taken = True
                except OSError:
                    pass
        if not taken:
            return ":%d" % number
    raise RuntimeError("no free display number")


class NoDisplayTest(unittest.TestCase):
    def test_one_line_and_a_failure_status_where_no_display_opens(self):
        nowhere = display_nobody_serves()
        not_set = r"^Lookabout: no X display to show the characters on \(DISPLAY is not set\)\.\n$"
        unreachable = r'^Lookabout: cannot open the X display "%s" to show the characters on\.\n$' % re.escape(nowhere)
        cases = [
            ("no DISPLAY", {}, not_set),
            ("a Wayland session without XWayland", {"WAYLAND_DISPLAY": "wayland-0", "XDG_SESSION_TYPE": "wayland"},
             not_set),
            ("DISPLAY names no server", {"DISPLAY": nowhere}, unreachable),
            ("the X11 platform asked for by name", {"DISPLAY": nowhere, "QT_QPA_PLATFORM": "xcb"}, unreachable),
        ]
        base = {k: v for k, v in os.environ.items()
                if k not in ("DISPLAY", "WAYLAND_DISPLAY", "XDG_SESSION_TYPE", "QT_QPA_PLATFORM")}
        with tempfile.TemporaryDirectory(prefix="lookabout-e2e-") as directory:
            folder = ProgramFolder(os.path.join(directory, "program"), lookabout_executable(), INI)
            before = sorted(os.listdir(folder.path))
            for name, extra, expected in cases:
                with self.subTest(name):
                    env = dict(base)
                    env.update(extra)
                    result = subprocess.run([folder.executable], cwd=directory, env=env, stdin=subprocess.DEVNULL,
                                            stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=20)
                    stderr = result.stderr.decode(errors="replace")
                    # A negative status is a signal: Qt's abort() ends in SIGABRT and a core dump.
                    self.assertEqual(result.returncode, 1, stderr)
                    self.assertRegex(stderr, expected)
                    self.assertEqual(result.stdout, b"")
                    self.assertEqual(sorted(os.listdir(folder.path)), before, "the program folder changed")
                    self.assertEqual(folder.read_ini(), INI.encode())
                    self.assertFalse([f for f in os.listdir(directory) if f.startswith("core")], "a core file")


NOBODY = 65534
BUNDLED = ["Lookabout", "Lookabout.ini", "sunny.bmp", "whiskers.bmp", "froggy.gif", "bouncy.gif"]
NO_DISPLAY_LINE = "Lookabout: no X display to show the characters on (DISPLAY is not set).\n"


def build_dir():
    path = os.environ.get("LOOKABOUT_BUILD_DIR", "")
    if not path or not os.path.isfile(os.path.join(path, "cmake_install.cmake")):
        raise RuntimeError("LOOKABOUT_BUILD_DIR must name the build folder (got %r)" % path)
    return path


class InstallTest(unittest.TestCase):
    def setUp(self):
        self.root = tempfile.mkdtemp(prefix="lookabout-install-")
        self.addCleanup(shutil.rmtree, self.root, ignore_errors=True)
        os.chmod(self.root, 0o755)  # the user who finds the installed folder read-only must reach it

    def environment(self, home, **extra):
        env = {k: v for k, v in os.environ.items()
               if k not in ("DISPLAY", "WAYLAND_DISPLAY", "XDG_SESSION_TYPE", "QT_QPA_PLATFORM", "XDG_DATA_HOME",
                            "LOOKABOUT_DESKTOP_ROOT", "DESTDIR")}
        env["HOME"] = home
        env.update(extra)
        return env

    def install(self, prefix, env):
        result = subprocess.run(["cmake", "--install", build_dir(), "--prefix", prefix], env=env,
                                stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=60)
        self.assertEqual(result.returncode, 0, result.stdout.decode(errors="replace"))

    def run_command(self, command, env, as_nobody=False):
        def drop_to_nobody():
            os.setgroups([])
            os.setgid(NOBODY)
            os.setuid(NOBODY)

        result = subprocess.run([command], env=env, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                                stderr=subprocess.PIPE, timeout=20, preexec_fn=drop_to_nobody if as_nobody else None)
        return result.returncode, result.stderr.decode(errors="replace")

    def test_install_for_one_user_and_the_menu_entry(self):
        home = os.path.join(self.root, "home")
        os.makedirs(home)
        env = self.environment(home)
        prefix = os.path.join(home, ".local", "lookabout")
        self.install(prefix, env)

        self.assertEqual(sorted(os.listdir(prefix)), sorted(BUNDLED + ["lookabout.sh"]))
        command = os.path.join(home, ".local", "bin", "lookabout")
        self.assertEqual(os.readlink(command), os.path.join(prefix, "lookabout.sh"))
        share = os.path.join(home, ".local", "share")
        entry = open(os.path.join(share, "applications", "lookabout.desktop")).read()
        self.assertIn('\nExec="%s"\n' % os.path.join(prefix, "lookabout.sh"), entry)
        self.assertIn("\nIcon=lookabout\n", entry)
        for icon in ["hicolor/48x48/apps/lookabout.png", "hicolor/256x256/apps/lookabout.png",
                     "hicolor/scalable/apps/lookabout.svg"]:
            self.assertTrue(os.path.isfile(os.path.join(share, "icons", icon)), icon)
        if shutil.which("desktop-file-validate"):
            check = subprocess.run(["desktop-file-validate", os.path.join(share, "applications", "lookabout.desktop")],
                                   stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
            self.assertEqual(check.returncode, 0, check.stdout.decode(errors="replace"))

        # The folder is the user's: the command runs the program there, and makes no copy.
        status, stderr = self.run_command(command, env)
        self.assertEqual((status, stderr), (1, NO_DISPLAY_LINE))
        self.assertFalse(os.path.exists(os.path.join(share, "lookabout")))

        # Installing again keeps the user's characters.
        ini = os.path.join(prefix, "Lookabout.ini")
        with open(ini, "a") as f:
            f.write("; mine\n")
        mine = open(ini, "rb").read()
        self.install(prefix, env)
        self.assertEqual(open(ini, "rb").read(), mine)

    def test_a_read_only_install_runs_from_a_copy_of_the_users_own(self):
        # As root the folder is always writable, so the user is nobody; otherwise the folder is made read-only.
        as_nobody = os.getuid() == 0
        system = os.path.join(self.root, "usr")
        prefix = os.path.join(self.root, "opt", "lookabout")
        self.install(prefix, self.environment(self.root, LOOKABOUT_DESKTOP_ROOT=system))
        command = os.path.join(system, "bin", "lookabout")
        self.assertEqual(os.readlink(command), os.path.join(prefix, "lookabout.sh"))
        self.assertTrue(os.path.isfile(os.path.join(system, "share", "applications", "lookabout.desktop")))

        home = os.path.join(self.root, "user")
        os.makedirs(home)
        if as_nobody:
            os.chown(home, NOBODY, NOBODY)
        else:
            os.chmod(prefix, 0o555)
            self.addCleanup(os.chmod, prefix, 0o755)
        env = self.environment(home)
        own = os.path.join(home, ".local", "share", "lookabout")

        status, stderr = self.run_command(command, env, as_nobody)
        self.assertEqual(status, 1, stderr)
        self.assertEqual(stderr, "Lookabout: %s is read-only for you; your characters are kept in %s\n%s"
                         % (prefix, own, NO_DISPLAY_LINE))
        self.assertEqual(sorted(os.listdir(own)), sorted(BUNDLED))
        for name in BUNDLED:
            self.assertTrue(filecmp.cmp(os.path.join(prefix, name), os.path.join(own, name), shallow=False), name)
        self.assertTrue(os.stat(os.path.join(own, "Lookabout")).st_mode & stat.S_IXUSR)

        # Later starts keep the user's settings and pictures, renew a program file that differs from the
        # installed one (an upgrade), and say nothing more.
        ini = os.path.join(own, "Lookabout.ini")
        with open(ini, "a") as f:
            f.write("; mine\n")
        mine = open(ini, "rb").read()
        with open(os.path.join(own, "Lookabout"), "wb") as f:
            f.write(b"an older program")
        status, stderr = self.run_command(command, env, as_nobody)
        self.assertEqual((status, stderr), (1, NO_DISPLAY_LINE))
        self.assertEqual(open(ini, "rb").read(), mine)
        self.assertTrue(filecmp.cmp(os.path.join(prefix, "Lookabout"), os.path.join(own, "Lookabout"), shallow=False))
        self.assertEqual(sorted(os.listdir(own)), sorted(BUNDLED))


if __name__ == "__main__":
    unittest.main()
