"""Starting where no X display can be opened: the program says so in one line on stderr and ends with a
non-zero status, instead of Qt's abort and core dump, and leaves its folder as it was. And the installed program:
cmake --install puts it into one folder with its settings and pictures, with the command, the menu entry and the
icon where the desktop finds them; the command runs the program in place, or from a copy of the user's own when
the installed folder is not writable. No X server is needed: without a display the program ends at once."""

import filecmp
import os
import pathlib
import shutil
import socket
import subprocess
import tempfile
import unittest

from xsession import ProgramFolder

NOBODY = 65534
BUNDLED = ["Lookabout", "Lookabout.ini", "bouncy.gif", "froggy.gif", "sunny.bmp", "whiskers.bmp"]
NO_DISPLAY_LINE = "Lookabout: no X display to show the characters on (DISPLAY is not set).\n"


def add_a_line(path):
    with open(path, "a") as f:
        f.write("; mine\n")
    return pathlib.Path(path).read_bytes()


def same_files(a, b, names):
    return all(filecmp.cmp(os.path.join(a, n), os.path.join(b, n), shallow=False) for n in names)


class PlatformTest(unittest.TestCase):
    def setUp(self):
        self.root = tempfile.mkdtemp(prefix="lookabout-install-")
        self.addCleanup(shutil.rmtree, self.root, ignore_errors=True)
        os.chmod(self.root, 0o755)  # the user who finds the installed folder read-only must reach it

    def run_as(self, args, home, as_nobody=False, **extra):
        """Runs args without a display, as the user nobody when asked; returns the status and the output (a
        status of 1, not Qt's abort() that ends in SIGABRT and a core dump)."""
        env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY", "XDG_SESSION_TYPE",
                                                                "QT_QPA_PLATFORM", "XDG_DATA_HOME", "DESTDIR")}
        result = subprocess.run(args, env=dict(env, HOME=home, **extra), stdin=subprocess.DEVNULL, timeout=60,
                                stdout=subprocess.PIPE, stderr=subprocess.STDOUT, cwd=self.root,
                                preexec_fn=(lambda: (os.setgroups([]), os.setgid(NOBODY), os.setuid(NOBODY)))
                                if as_nobody else None)
        return result.returncode, result.stdout.decode(errors="replace")

    def test_one_line_and_a_failure_status_where_no_display_opens(self):
        # A display number with no X server behind it, on the file or the abstract socket.
        nowhere = next(n for n in range(987, 1100) if not os.path.exists("/tmp/.X11-unix/X%d" % n)
                       and socket.socket(socket.AF_UNIX).connect_ex("\0/tmp/.X11-unix/X%d" % n) != 0)
        unreachable = 'Lookabout: cannot open the X display ":%d" to show the characters on.\n' % nowhere
        ini = "[General_Settings]\nProgram_Title=Nowhere\n\n[CHARACTER_1]\nName=Face\nImage_File=face.bmp\n"
        folder = ProgramFolder(os.path.join(self.root, "program"), ini)
        for extra, expected in [({}, NO_DISPLAY_LINE), ({"WAYLAND_DISPLAY": "wayland-0", "XDG_SESSION_TYPE": "wayland"},
                                                        NO_DISPLAY_LINE),
                                ({"DISPLAY": ":%d" % nowhere}, unreachable),
                                ({"DISPLAY": ":%d" % nowhere, "QT_QPA_PLATFORM": "xcb"}, unreachable)]:
            self.assertEqual(self.run_as([folder.executable], self.root, **extra), (1, expected))
            # The folder is left as it was.
            self.assertEqual(sorted(os.listdir(folder.path)), ["Lookabout", "Lookabout.ini"])
            self.assertEqual(folder.read_ini(), ini.encode())

    def install(self, prefix, home, **extra):
        build = os.environ["LOOKABOUT_BUILD_DIR"]
        self.assertEqual(self.run_as(["cmake", "--install", build, "--prefix", prefix], home, **extra)[0], 0)

    def test_install_for_one_user_and_read_only(self):
        home = os.path.join(self.root, "home")
        prefix, share = os.path.join(home, ".local", "lookabout"), os.path.join(home, ".local", "share")
        self.install(prefix, home)
        self.assertEqual(sorted(os.listdir(prefix)), sorted(BUNDLED + ["lookabout.sh"]))
        command = os.path.join(home, ".local", "bin", "lookabout")
        self.assertEqual(os.readlink(command), os.path.join(prefix, "lookabout.sh"))
        entry = os.path.join(share, "applications", "lookabout.desktop")
        self.assertIn('\nExec="%s"\nIcon=lookabout\n' % os.path.join(prefix, "lookabout.sh"),
                      pathlib.Path(entry).read_text())
        for icon in ["48x48/apps/lookabout.png", "256x256/apps/lookabout.png", "scalable/apps/lookabout.svg"]:
            self.assertTrue(os.path.isfile(os.path.join(share, "icons", "hicolor", icon)), icon)
        if shutil.which("desktop-file-validate"):
            self.assertEqual(subprocess.run(["desktop-file-validate", entry]).returncode, 0)
        # The folder is the user's: the command runs the program there, and makes no copy; installing again
        # keeps the user's characters.
        self.assertEqual(self.run_as([command], home), (1, NO_DISPLAY_LINE))
        self.assertFalse(os.path.exists(os.path.join(share, "lookabout")))
        mine = add_a_line(os.path.join(prefix, "Lookabout.ini"))
        self.install(prefix, home)
        self.assertEqual(pathlib.Path(prefix, "Lookabout.ini").read_bytes(), mine)

        # A system-wide install in a folder the user cannot write: the command runs a copy of the user's own. As
        # root every folder is writable, so the user is nobody; otherwise the folder is made read-only.
        as_nobody = os.getuid() == 0
        system, prefix = os.path.join(self.root, "usr"), os.path.join(self.root, "opt", "lookabout")
        self.install(prefix, self.root, LOOKABOUT_DESKTOP_ROOT=system)
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
        own = os.path.join(home, ".local", "share", "lookabout")
        self.assertEqual(self.run_as([command], home, as_nobody), (1, "Lookabout: %s is read-only for you; your "
                                                                      "characters are kept in %s\n%s"
                                                                      % (prefix, own, NO_DISPLAY_LINE)))
        self.assertEqual(sorted(os.listdir(own)), sorted(BUNDLED))
        self.assertTrue(same_files(prefix, own, BUNDLED) and os.access(os.path.join(own, "Lookabout"), os.X_OK))
        # Later starts keep the user's settings, renew a program file that differs from the installed one (an
        # upgrade), and say nothing more.
        mine = add_a_line(os.path.join(own, "Lookabout.ini"))
        pathlib.Path(own, "Lookabout").write_bytes(b"an older program")
        self.assertEqual(self.run_as([command], home, as_nobody), (1, NO_DISPLAY_LINE))
        self.assertEqual(pathlib.Path(own, "Lookabout.ini").read_bytes(), mine)
        self.assertTrue(same_files(prefix, own, ["Lookabout"]))
        self.assertEqual(sorted(os.listdir(own)), sorted(BUNDLED))


if __name__ == "__main__":
    unittest.main()
