"""Runs the real Lookabout on a private Xvfb (optionally with openbox and picom) and lets a test look at it and
poke it: windows through xdotool and xwininfo, pixels through ImageMagick's import, the pointer through the X test
extension and xdotool, keys through xdotool. Every server and program started here ends with the session, or with the test process when it is killed.

    with XSession(window_manager=False, compositor=False) as x:
        behind = x.backdrop((20, 60, 200), 0, 0, 600, 400)   # a known colour below everything; records clicks
        program = x.start_program(x.program_folder(ini_text, {"face.bmp": FacePicture().bmp_bytes()}))
        ids = x.wait_for_windows("Character", 3, program=program)
        shot = x.wait_for_pixel(130, 150, (230, 180, 40))    # painted? returns the screenshot
        x.click(200, 200); behind.clicks(); program.terminate(); program.folder.read_ini()

Set LOOKABOUT_E2E_KEEP=1 to keep the session's folder (logs, program folders); it is kept anyway on a failure.
"""

import atexit
import collections
import configparser
import ctypes
import os
import pathlib
import re
import select
import shutil
import signal
import socket
import struct
import subprocess
import sys
import tempfile
import time
import zlib

CHARACTER_TITLE = "Character"
PANEL_TITLE = "Lookabout"
CHARACTER_KEYS = [
    "Name", "Image_File", "Fixed_To", "Flee", "Speed_X", "Speed_Y", "Start_Position_X", "Start_Position_Y",
    "Transparency", "No_Mouseclick", "Iris_Color", "Pupil_Color", "Iris_Width",
    "Eye1_Center_X", "Eye1_Center_Y", "Eye1_Diameter_X", "Eye1_Diameter_Y", "Iris1_Diameter_X", "Iris1_Diameter_Y",
    "Eye2_Center_X", "Eye2_Center_Y", "Eye2_Diameter_X", "Eye2_Diameter_Y", "Iris2_Diameter_X", "Iris2_Diameter_Y",
]
Geometry = collections.namedtuple("Geometry", "x y width height")
EDITOR_TITLE = "Lookabout  -  Advanced settings"
# The panel's design in pixels at 96 dots per inch (twips / 15): the list starts at (8, 40) inside the window, each
# row is 49 high, and a row's "Advanced" button is 73 x 18 at (504, 26).
LIST_LEFT, LIST_TOP, ROW_HEIGHT = 8, 40, 49
ADVANCED_BUTTON = (504 + 36, 26 + 9)


def wait_until(condition, timeout, what="condition", interval=0.05):
    """Polls condition() until it returns something true and returns that; raises TimeoutError otherwise."""
    deadline = time.monotonic() + timeout
    while True:
        result = condition()
        if result:
            return result
        if time.monotonic() >= deadline:
            raise TimeoutError("timed out after %.1f s waiting for %s" % (timeout, what() if callable(what) else what))
        time.sleep(interval)


def _child_setup():
    # Own process group (ending it ends what it started), and death with the test process (PR_SET_PDEATHSIG).
    os.setsid()
    ctypes.CDLL(None).prctl(1, signal.SIGKILL)


def _end_process(process, grace=3.0):
    for signum in (signal.SIGTERM, signal.SIGKILL):
        if process.poll() is None:
            try:
                os.killpg(process.pid, signum)
                process.wait(grace)
            except (ProcessLookupError, subprocess.TimeoutExpired):
                pass


# -- pictures ---------------------------------------------------------------------------------------------------

class FacePicture:
    """A filled elliptic face on a key-coloured background, with a key-coloured rectangular hole in it."""

    def __init__(self, width=120, height=100, face=(230, 180, 40), key=(255, 0, 255), hole=(50, 60, 20, 12)):
        self.width, self.height, self.face, self.key, self.hole = width, height, face, key, hole

    def colour_at(self, x, y):
        cx, cy, rx, ry = (self.width - 1) / 2, (self.height - 1) / 2, self.width / 2 - 1, self.height / 2 - 1
        hx, hy, hw, hh = self.hole
        in_hole = hx <= x < hx + hw and hy <= y < hy + hh
        return self.face if ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1 and not in_hole else self.key

    def hole_centre(self):
        return self.hole[0] + self.hole[2] // 2, self.hole[1] + self.hole[3] // 2

    def bmp_bytes(self):
        """A 24-bit BMP file, rows bottom-up."""
        pad = b"\0" * ((-self.width * 3) % 4)
        data = b"".join(b"".join(bytes(self.colour_at(x, y)[::-1]) for x in range(self.width)) + pad
                        for y in range(self.height - 1, -1, -1))
        return (struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
                + struct.pack("<IiiHHIIiiII", 40, self.width, self.height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
                + data)

    def png_bytes(self, alpha):
        """A PNG file of the face with the given alpha; everything else fully transparent."""
        def chunk(kind, data):
            return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

        raw = b"".join(b"\0" + b"".join(bytes(self.colour_at(x, y) + ((alpha,) if self.colour_at(x, y) == self.face
                                                                      else (0,))) for x in range(self.width))
                       for y in range(self.height))
        return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", self.width, self.height, 8, 6, 0, 0, 0))
                + chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))


class Screenshot:
    def __init__(self, width, rgb):
        self.width, self.rgb = width, rgb

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.rgb[i:i + 3])


# -- the program under test -------------------------------------------------------------------------------------

class ProgramFolder:
    """A folder like an installed Lookabout: a copy of the executable (it finds its INI next to the resolved
    executable, so no link), its INI file and its pictures."""

    def __init__(self, path, ini_text=None, files=None):
        self.path, self.ini_path = path, os.path.join(path, "Lookabout.ini")
        self.executable = os.path.join(path, "Lookabout")
        os.makedirs(path, exist_ok=True)
        shutil.copy2(os.environ["LOOKABOUT_EXE"], self.executable)  # the built Lookabout
        for name, data in dict(files or {}, **({"Lookabout.ini": ini_text} if ini_text is not None else {})).items():
            pathlib.Path(path, name).write_bytes(data if isinstance(data, bytes) else data.encode("latin-1"))

    def read_ini(self):
        return pathlib.Path(self.ini_path).read_bytes()


class Program(subprocess.Popen):
    """The program, started with its output in log_path."""

    def running(self):
        return self.poll() is None

    def terminate(self, timeout=10.0):
        """SIGTERM, as the desktop sends at logout; returns the exit status."""
        if self.running():
            self.send_signal(signal.SIGTERM)
        return self.wait(timeout)

    def log(self):
        return pathlib.Path(self.log_path).read_text(errors="replace")


def parse_ini(data):
    """Sections as dicts of stripped values in file order; a section, or a key in a section, written twice is an
    error."""
    parser = configparser.ConfigParser(delimiters="=", interpolation=None, default_section="\0")
    parser.optionxform = str  # keys keep their case
    parser.read_string(data.decode("latin-1"))
    return {name: dict(parser[name]) for name in parser.sections()}


# -- the X session ----------------------------------------------------------------------------------------------

class Backdrop:
    """A plain window of our own, from a minimal X client on the server's socket: override-redirect, so the
    window manager leaves it alone, or managed; it records the button presses that reach it."""

    def __init__(self, display_number, rgb, x, y, width, height, override_redirect=True):
        self.sock = socket.socket(socket.AF_UNIX)
        self.sock.connect("/tmp/.X11-unix/X%d" % display_number)
        self.sock.sendall(struct.pack("<BxHHHHxx", 0x6C, 11, 0, 0, 0))
        body = self.sock.recv(struct.unpack_from("<H", self.sock.recv(8, socket.MSG_WAITALL), 6)[0] * 4,
                              socket.MSG_WAITALL)
        self.wid = struct.unpack_from("<I", body, 4)[0] | 1
        vendor_length = struct.unpack_from("<H", body, 16)[0]
        root = struct.unpack_from("<I", body, 32 + (vendor_length + 3) // 4 * 4 + 8 * body[21])[0]
        # CreateWindow with BackPixel, OverrideRedirect and EventMask (ButtonPress); MapWindow; lower to the bottom.
        self.sock.sendall(struct.pack("<BBHIIhhHHHHIIIII", 1, 0, 11, self.wid, root, x, y, width, height, 0, 1, 0,
                                      0xA02, (rgb[0] << 16) | (rgb[1] << 8) | rgb[2], int(override_redirect), 0x4)
                          + struct.pack("<BxHI", 8, 2, self.wid)
                          + (struct.pack("<BxHIHxxI", 12, 4, self.wid, 0x40, 1) if override_redirect else b""))
        self.events = b""

    def clicks(self):
        """(button, root x, root y) of every press that reached this window so far."""
        time.sleep(0.2)
        while select.select([self.sock], [], [], 0)[0]:
            self.events += self.sock.recv(4096)
        events = [self.events[i:i + 32] for i in range(0, len(self.events) - 31, 32)]
        return [(e[1],) + struct.unpack_from("<hh", e, 20) for e in events if e[0] & 0x7F == 4]


class XSession:
    def __init__(self, window_manager=False, compositor=False, width=1024, height=768):
        self.width, self.height, self.window_manager = width, height, window_manager
        self.directory = tempfile.mkdtemp(prefix="lookabout-e2e-")
        self.keep = os.environ.get("LOOKABOUT_E2E_KEEP") == "1"
        self.processes, self.backdrops = [], []
        if signal.getsignal(signal.SIGTERM) == signal.SIG_DFL:  # CTest's timeout: exit, so atexit cleans up
            signal.signal(signal.SIGTERM, lambda signum, frame: sys.exit(128 + signum))
        atexit.register(self.close)
        try:
            self._start_xvfb()
            if window_manager:
                self._spawn("openbox", "--sm-disable")
                wait_until(lambda: "_NET_SUPPORTING_WM_CHECK" in self.run("xprop", "-root", "_NET_SUPPORTED",
                                                                          check=False), 15, "openbox")
            if compositor:
                # The program decides at its start whether windows can be translucent, so picom must be fully up:
                # it owns its selection before its first frame, which paints the root grey.
                before = self.screenshot().rgb
                self._spawn("picom", "--backend", "xrender", "--config", "/dev/null")
                wait_until(lambda: self.screenshot().rgb != before, 15, "picom's first frame")
        except BaseException:
            self.keep = True
            self.close()
            raise

    def __enter__(self):
        return self

    def __exit__(self, kind, value, traceback):
        self.keep |= kind is not None
        self.close()

    def close(self):
        for backdrop in self.backdrops:
            backdrop.sock.close()
        for process in reversed(self.processes):
            _end_process(process)
        self.processes = []
        if self.keep:
            sys.stderr.write("lookabout e2e: files and logs kept in %s\n" % self.directory)
        else:
            shutil.rmtree(self.directory, ignore_errors=True)
        atexit.unregister(self.close)

    def _spawn(self, *args, env=None, log="server.log", kind=subprocess.Popen, **options):
        with open(os.path.join(self.directory, log), "ab") as out:
            process = kind(args, env=env or self.env, stdin=subprocess.DEVNULL, stdout=out, stderr=subprocess.STDOUT,
                           preexec_fn=_child_setup, **options)
        self.processes.append(process)
        return process

    def _start_xvfb(self):
        # -displayfd: the server picks a free display itself and writes its number once it accepts connections.
        read_end, write_end = os.pipe()
        self.env = dict(os.environ)
        self._spawn("Xvfb", "-displayfd", str(write_end), "-screen", "0", "%dx%dx24" % (self.width, self.height),
                    "-wr", "-nolisten", "tcp", "-noreset", pass_fds=(write_end,))
        os.close(write_end)
        with os.fdopen(read_end) as numbers:  # the number, then a newline: read both, or the server fails
            self.display_number = int(numbers.readline())
        for name in ("WAYLAND_DISPLAY", "XDG_SESSION_TYPE", "SESSION_MANAGER", "QT_QPA_PLATFORM", "QT_SCALE_FACTOR",
                     "QT_SCREEN_SCALE_FACTORS", "QT_AUTO_SCREEN_SCALE_FACTOR", "QT_ENABLE_HIGHDPI_SCALING"):
            self.env.pop(name, None)
        self.env.update(DISPLAY=":%d" % self.display_number, XAUTHORITY=os.path.join(self.directory, "none"),
                        NO_AT_BRIDGE="1", QT_ACCESSIBILITY="0")

    def run(self, *args, check=True):
        result = subprocess.run([str(a) for a in args], env=self.env, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                                stderr=subprocess.PIPE, timeout=30)
        if check and result.returncode:
            raise RuntimeError("%s failed: %s" % (args, result.stderr.decode(errors="replace")))
        return result.stdout.decode(errors="replace")

    def program_folder(self, ini_text=None, files=None):
        return ProgramFolder(tempfile.mkdtemp(prefix="program-", dir=self.directory), ini_text, files)

    def start_program(self, folder, env=None, prefix=()):
        log = "output-%d.log" % len(self.processes)
        program = self._spawn(*prefix, folder.executable, env=dict(self.env, **(env or {})), log=log,
                              cwd=self.directory, kind=Program)
        program.folder, program.log_path = folder, os.path.join(self.directory, log)
        return program

    def windows(self, title):
        """Ids of the mapped windows titled exactly title."""
        return sorted(int(w) for w in self.xdotool("search", "--onlyvisible", "--name", "^%s$" % re.escape(title),
                                                   check=False).split())

    def wait_for_windows(self, title, count, timeout=10.0, program=None):
        def found():
            if program is not None and not program.running():
                raise RuntimeError("Lookabout ended (%s) while waiting for windows:\n%s"
                                   % (program.returncode, program.log()))
            ids = self.windows(title)
            return ids if len(ids) >= count else None

        return wait_until(found, timeout, "%d window(s) titled %r" % (count, title))

    def start_characters(self, folder, count, panel=False, timeout=10.0, **options):
        """Starts the program in folder and waits for its count character windows, and its control panel when
        asked; returns the program, the characters' window ids and the panel's id."""
        program = self.start_program(folder, **options)
        windows = self.wait_for_windows(CHARACTER_TITLE, count, timeout, program)
        return program, windows, panel and self.wait_for_windows(PANEL_TITLE, 1, timeout, program)[0]

    def open_editor(self, program, panel_id, row=0):
        """Clicks the row's "Advanced" button in the panel; returns the editor's geometry once the window manager
        has placed it and it stands still (it repaints its face 300 ms after opening)."""
        self.focus(panel_id)
        self.click_in_row(self.geometry(panel_id), row, ADVANCED_BUTTON)
        return self.settle(self.wait_for_windows(EDITOR_TITLE, 1, program=program)[0], still_for=0.5)[-1]

    def click_in_row(self, panel, row, place, scale=1):
        """Clicks place (design pixels inside a row) in the given row of the panel's list (its geometry)."""
        self.click(panel.x + scale * (LIST_LEFT + place[0]), panel.y + scale * (LIST_TOP + row * ROW_HEIGHT + place[1]))

    def geometry(self, wid):
        out = self.run("xwininfo", "-id", wid)
        return Geometry(*(int(re.search(r"%s:\s*(-?\d+)" % label, out).group(1))
                          for label in ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height")))

    def settle(self, wid, still_for=0.4, timeout=8.0):
        """Waits until the window has stood still for still_for seconds; returns the geometries seen."""
        seen, deadline, last_change = [self.geometry(wid)], time.monotonic() + timeout, time.monotonic()
        while time.monotonic() - last_change < still_for:
            if time.monotonic() > deadline:
                raise AssertionError("the window still moves: %s" % seen[-3:])
            time.sleep(0.05)
            g = self.geometry(wid)
            if g != seen[-1]:
                seen.append(g)
                last_change = time.monotonic()
        return seen

    def backdrop(self, rgb, x=0, y=0, width=None, height=None, override_redirect=True):
        backdrop = Backdrop(self.display_number, rgb, x, y, width or self.width, height or self.height,
                            override_redirect)
        self.backdrops.append(backdrop)
        if not override_redirect:  # placed by the window manager once mapped, then moved where asked
            wait_until(lambda: "IsViewable" in self.run("xwininfo", "-id", backdrop.wid), 5, "the window to be mapped")
            self.xdotool("windowmove", "--sync", backdrop.wid, x, y)
        self.wait_for_pixel(x + (width or self.width) // 2, y + (height or self.height) // 2, rgb)  # shown?
        return backdrop

    def xdotool(self, *args, check=True):
        return self.run("xdotool", *args, check=check)

    def move_pointer(self, x, y, clicks=()):
        """Moves the pointer as a mouse does, through the X test extension (xdotool's mousemove warps it, which the
        program, watching the devices' raw motion, does not see), then clicks each button of clicks."""
        x11, xtest = ctypes.CDLL("libX11.so.6"), ctypes.CDLL("libXtst.so.6")
        x11.XOpenDisplay.restype = x11.XDefaultRootWindow.restype = ctypes.c_void_p
        display = ctypes.c_void_p(x11.XOpenDisplay(self.env["DISPLAY"].encode()))
        xtest.XTestFakeMotionEvent(display, -1, x, y, 0)
        x11.XSync(display, False)
        # A window manager holds the pointer on a press in a window of its own until it has passed the press on, and
        # loses presses that come meanwhile: each click is done once the server shows no button down.
        state = [ctypes.c_ulong(), ctypes.c_ulong()] + [ctypes.c_int() for _ in range(4)] + [ctypes.c_uint()]
        for i, button in enumerate(clicks):  # with xdotool's pauses: 12 ms held, 100 ms between clicks
            time.sleep(0.1 if i else 0)
            for pressed in (True, False):
                xtest.XTestFakeButtonEvent(display, button, pressed, 0)
                x11.XSync(display, False)
                time.sleep(0.012 if pressed else 0)
            wait_until(lambda: x11.XQueryPointer(display, ctypes.c_void_p(x11.XDefaultRootWindow(display)),
                                                 *map(ctypes.byref, state)) and not state[-1].value & 0x1F00, 5,
                       "the window manager to pass the click on")
        x11.XCloseDisplay(display)

    def click(self, x, y, button=1, repeat=1):
        # Move and press in one go: a follower could otherwise step under the pointer in between.
        self.move_pointer(x, y, [button] * repeat)

    def drag(self, start, end, button=1, steps=10):
        moves = [a for i in range(1, steps + 1) for a in ("sleep", 0.03, "mousemove", start[0] + (end[0] - start[0])
                                                          * i // steps, start[1] + (end[1] - start[1]) * i // steps)]
        self.xdotool("mousemove", *start, "mousedown", button, *moves, "sleep", 0.03, "mouseup", button)

    def focus(self, wid):
        if self.window_manager:
            self.xdotool("windowactivate", wid)
        self.xdotool("windowfocus", "--sync", wid)

    def key(self, *keys, window=None):
        if window is not None:
            self.focus(window)
        self.xdotool("key", "--clearmodifiers", *keys)

    def screenshot(self):
        """The whole screen as shown (with the compositor's work, when one runs)."""
        rgb = subprocess.run(["import", "-window", "root", "-depth", "8", "rgb:-"], env=self.env, check=True,
                             stdout=subprocess.PIPE, timeout=30).stdout
        return Screenshot(self.width, rgb)

    def wait_for_pixel(self, x, y, rgb, timeout=5.0):
        """Waits until the screen pixel (x, y) has colour rgb; returns the screenshot that showed it."""
        shot = [None]

        def shows():
            shot[0] = self.screenshot()
            return shot[0].pixel(x, y) == tuple(rgb)

        wait_until(shows, timeout, lambda: "pixel (%d, %d) to be %r; it is %r" % (x, y, rgb, shot[0].pixel(x, y)))
        return shot[0]
