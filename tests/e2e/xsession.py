"""Runs the real Lookabout on a private X server and lets a test look at it and poke it.

Standard library only; the X tools are Xvfb, xdotool, xwininfo, xprop and ImageMagick's import, with
openbox and picom when a test asks for a window manager or a compositor. Every server and program
started here is ended when the session closes, when the test process exits, or when it is killed
(the children die with it).

    with XSession(window_manager=False, compositor=False, root_colour=(30, 140, 90)) as x:
        behind = x.backdrop((20, 60, 200))             # a known colour below everything; records clicks
        folder = x.program_folder(ini_text, {"face.bmp": FacePicture().bmp_bytes()})
        program = x.start_program(folder)              # a copy of the executable next to its INI
        ids = x.wait_for_windows("Character", 3, program=program)
        x.geometry(ids[0])                             # (x, y, width, height) on the screen
        shot = x.wait_for_pixel(130, 150, (230, 180, 40))   # painted? returns the screenshot
        shot.pixel(101, 81)                            # (r, g, b)
        x.move_pointer(500, 400); x.click(200, 200); x.drag((10, 10), (60, 40))
        x.key("space", window=ids[0]); x.key("alt+x")
        behind.clicks()                                # [(button, x, y)] that went through to it
        status = program.terminate()                   # SIGTERM, then the exit status
        folder.read_ini()

Set LOOKABOUT_E2E_KEEP=1 to keep the session's folder (logs, program folders, saved screenshots);
it is kept anyway when the with-block ends by an exception.
"""

import atexit
import ctypes
import os
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
FATAL_ERROR_TITLE = "Lookabout - Fatal Error"

_PR_SET_PDEATHSIG = 1


def lookabout_executable():
    """The program under test, as handed over by the build (CTest sets LOOKABOUT_EXE)."""
    path = os.environ.get("LOOKABOUT_EXE", "")
    if not path or not os.path.isfile(path):
        raise RuntimeError("LOOKABOUT_EXE must name the built Lookabout executable (got %r)" % path)
    return path


def wait_until(condition, timeout, interval=0.05, what="condition"):
    """Polls condition() until it returns something true and returns that; raises TimeoutError otherwise."""
    deadline = time.monotonic() + timeout
    while True:
        result = condition()
        if result:
            return result
        if time.monotonic() >= deadline:
            raise TimeoutError("timed out after %.1f s waiting for %s" % (timeout, what))
        time.sleep(interval)


def _child_setup():
    # Own process group, so ending a server ends whatever it started; and die with the test process,
    # so a killed test leaves no X server behind.
    os.setsid()
    try:
        libc = ctypes.CDLL(None, use_errno=True)
        libc.prctl(_PR_SET_PDEATHSIG, signal.SIGKILL)
    except (OSError, AttributeError):
        pass


def _end_process(process, grace=3.0, whole_group=True):
    """SIGTERM, then SIGKILL after grace seconds; returns the exit status."""
    if process.poll() is None:
        try:
            if whole_group:
                os.killpg(process.pid, signal.SIGTERM)
            else:
                process.send_signal(signal.SIGTERM)
        except ProcessLookupError:
            pass
        try:
            process.wait(grace)
        except subprocess.TimeoutExpired:
            pass
    if process.poll() is None:
        try:
            os.killpg(process.pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
        process.wait()
    return process.returncode


_terminate_handler_installed = False


def _exit_on_sigterm():
    # CTest ends a test that runs too long; turn that into a normal exit so atexit cleans up.
    global _terminate_handler_installed
    if _terminate_handler_installed:
        return
    _terminate_handler_installed = True
    if signal.getsignal(signal.SIGTERM) == signal.SIG_DFL:
        signal.signal(signal.SIGTERM, lambda signum, frame: sys.exit(128 + signum))


# ---------------------------------------------------------------------------------------------------------------
# A few X requests that no command-line tool makes: selection owners, the clipboard, the root colour,
# plain coloured windows that record clicks.

class XProtocolError(RuntimeError):
    pass


class _XConnection:
    """A minimal X11 client speaking the protocol over the server's Unix socket."""

    def __init__(self, display_number, timeout=5.0):
        path = "/tmp/.X11-unix/X%d" % display_number
        self._sock = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        self._sock.settimeout(timeout)
        try:
            self._sock.connect(path)
        except OSError:
            self._sock.connect("\0" + path)  # the abstract socket, where /tmp/.X11-unix is not usable
        self._sock.sendall(struct.pack("<BxHHHHxx", 0x6C, 11, 0, 0, 0))
        head = self._recv(8)
        body = self._recv(struct.unpack_from("<H", head, 6)[0] * 4)
        if head[0] != 1:
            raise XProtocolError("X server refused the connection: %r" % body[: head[1]])
        self._id_base, self._id_mask = struct.unpack_from("<II", body, 4)
        vendor_length = struct.unpack_from("<H", body, 16)[0]
        formats = body[21]
        screen = 32 + (vendor_length + 3) // 4 * 4 + 8 * formats
        self.root = struct.unpack_from("<I", body, screen)[0]
        self._next_id = 1
        self._events = []
        self._atoms = {}

    def close(self):
        self._sock.close()

    def _recv(self, count):
        data = b""
        while len(data) < count:
            chunk = self._sock.recv(count - len(data))
            if not chunk:
                raise XProtocolError("X server closed the connection")
            data += chunk
        return data

    def _read_message(self):
        message = self._recv(32)
        if message[0] == 1:
            message += self._recv(struct.unpack_from("<I", message, 4)[0] * 4)
        return message

    def _send(self, request):
        self._sock.sendall(request)

    def _reply(self):
        """Reads up to the next reply; events met on the way are kept for later."""
        while True:
            message = self._read_message()
            if message[0] == 1:
                return message
            if message[0] == 0:
                raise XProtocolError("X error %d on request %d" % (message[1], message[10]))
            self._events.append(message)

    def sync(self):
        """A round trip: everything sent before has been done, and every event before it has arrived."""
        self._send(struct.pack("<BxH", 43, 1))  # GetInputFocus
        self._reply()

    def new_id(self):
        resource = self._id_base | (self._next_id & self._id_mask)
        self._next_id += 1
        return resource

    def atom(self, name):
        if name not in self._atoms:
            data = name.encode()
            pad = (-len(data)) % 4
            self._send(struct.pack("<BBHHxx", 16, 0, 2 + (len(data) + pad) // 4, len(data)) + data + b"\0" * pad)
            self._atoms[name] = struct.unpack_from("<I", self._reply(), 8)[0]
        return self._atoms[name]

    def selection_owner(self, name):
        self._send(struct.pack("<BxHI", 23, 2, self.atom(name)))
        return struct.unpack_from("<I", self._reply(), 8)[0]

    def set_root_colour(self, rgb):
        pixel = (rgb[0] << 16) | (rgb[1] << 8) | rgb[2]
        self._send(struct.pack("<BxHIII", 2, 4, self.root, 0x2, pixel))  # ChangeWindowAttributes: BackPixel
        self._send(struct.pack("<BBHIhhHH", 61, 0, 4, self.root, 0, 0, 0, 0))  # ClearArea: the whole root
        self.sync()

    def create_window(self, x, y, width, height, rgb=None, override_redirect=True, button_events=False):
        wid = self.new_id()
        mask, values = 0, []
        if rgb is not None:
            mask |= 0x2  # BackPixel
            values.append((rgb[0] << 16) | (rgb[1] << 8) | rgb[2])
        if override_redirect:
            mask |= 0x200
            values.append(1)
        if button_events:
            mask |= 0x800  # EventMask: ButtonPress | ButtonRelease
            values.append(0x4 | 0x8)
        request = struct.pack("<BBHIIhhHHHHII", 1, 0, 8 + len(values), wid, self.root, x, y, width, height, 0,
                              1, 0, mask)
        self._send(request + b"".join(struct.pack("<I", v) for v in values))
        return wid

    def map_window(self, wid):
        self._send(struct.pack("<BxHI", 8, 2, wid))
        self.sync()

    def lower_window(self, wid):
        self._send(struct.pack("<BxHIHxxI", 12, 4, wid, 0x40, 1))  # ConfigureWindow: StackMode Below
        self.sync()

    def destroy_window(self, wid):
        self._send(struct.pack("<BxHI", 4, 2, wid))
        self.sync()

    def button_events(self, wid):
        """(kind, button, root_x, root_y) of every press and release on wid so far; kind is 'press' or 'release'."""
        self.sync()
        found = []
        for event in self._events:
            code = event[0] & 0x7F
            if code in (4, 5) and struct.unpack_from("<I", event, 12)[0] == wid:
                root_x, root_y = struct.unpack_from("<hh", event, 20)
                found.append(("press" if code == 4 else "release", event[1], root_x, root_y))
        return found


# ---------------------------------------------------------------------------------------------------------------
# Pictures

def bmp_bytes(width, height, pixel):
    """A 24-bit BMP file; pixel(x, y) gives (r, g, b) with y = 0 the top row."""
    row_size = (width * 3 + 3) // 4 * 4
    rows = []
    for y in range(height - 1, -1, -1):  # bottom-up, as BMP stores them
        row = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r))
        row += b"\0" * (row_size - len(row))
        rows.append(bytes(row))
    data = b"".join(rows)
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(data), 0, 0, 14 + 40)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    return header + info + data


class FacePicture:
    """A filled elliptic face on a key-coloured background, with a key-coloured rectangular hole in it."""

    def __init__(self, width=120, height=100, face=(230, 180, 40), key=(255, 0, 255), hole=(50, 60, 20, 12)):
        self.width, self.height = width, height
        self.face, self.key, self.hole = face, key, hole

    def in_face(self, x, y):
        cx, cy = (self.width - 1) / 2, (self.height - 1) / 2
        rx, ry = self.width / 2 - 1, self.height / 2 - 1
        return ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0

    def in_hole(self, x, y):
        hx, hy, hw, hh = self.hole
        return hx <= x < hx + hw and hy <= y < hy + hh

    def colour_at(self, x, y):
        return self.face if self.in_face(x, y) and not self.in_hole(x, y) else self.key

    def bmp_bytes(self):
        return bmp_bytes(self.width, self.height, self.colour_at)

    def png_bytes(self, alpha):
        """The face as a PNG whose face pixels have the given alpha and whose other pixels have none."""
        return png_bytes(self.width, self.height, bytes(
            v for y in range(self.height) for x in range(self.width)
            for v in self.colour_at(x, y) + ((alpha,) if self.colour_at(x, y) == self.face else (0,))), alpha=True)

    def hole_centre(self):
        hx, hy, hw, hh = self.hole
        return hx + hw // 2, hy + hh // 2


def png_bytes(width, height, rgb, alpha=False):
    """A PNG file of raw RGB (or, with alpha, RGBA) bytes, for looking at a screenshot or for a face."""
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    stride = width * (4 if alpha else 3)
    raw = b"".join(b"\0" + rgb[y * stride:(y + 1) * stride] for y in range(height))
    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6 if alpha else 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 6)) + chunk(b"IEND", b""))


class Screenshot:
    def __init__(self, width, height, rgb):
        if len(rgb) != width * height * 3:
            raise ValueError("screenshot has %d bytes, expected %d" % (len(rgb), width * height * 3))
        self.width, self.height, self.rgb = width, height, rgb

    def pixel(self, x, y):
        if not (0 <= x < self.width and 0 <= y < self.height):
            raise IndexError("pixel (%d, %d) is off the screen" % (x, y))
        i = (y * self.width + x) * 3
        return tuple(self.rgb[i:i + 3])

    def save_png(self, path):
        with open(path, "wb") as f:
            f.write(png_bytes(self.width, self.height, self.rgb))
        return path


# ---------------------------------------------------------------------------------------------------------------
# The program under test

class ProgramFolder:
    """A folder like an installed Lookabout: a copy of the executable, its INI file and its pictures."""

    def __init__(self, path, executable, ini_text=None, pictures=None):
        self.path = path
        os.makedirs(path, exist_ok=True)
        # A copy, not a link: the program finds its INI next to the resolved executable.
        self.executable = os.path.join(path, "Lookabout")
        shutil.copy2(executable, self.executable)
        self.ini_path = os.path.join(path, "Lookabout.ini")
        if ini_text is not None:
            self.write_ini(ini_text)
        for name, data in (pictures or {}).items():
            self.write_file(name, data)

    def write_ini(self, text):
        """Writes the INI exactly as given (bytes, or text kept with its own line endings)."""
        data = text if isinstance(text, bytes) else text.encode("latin-1")
        with open(self.ini_path, "wb") as f:
            f.write(data)

    def read_ini(self):
        with open(self.ini_path, "rb") as f:
            return f.read()

    def write_file(self, name, data):
        with open(os.path.join(self.path, name), "wb") as f:
            f.write(data)


class Program:
    def __init__(self, process, folder, log_path):
        self.process, self.folder, self._log_path = process, folder, log_path

    @property
    def pid(self):
        return self.process.pid

    def running(self):
        return self.process.poll() is None

    def wait(self, timeout=10.0):
        """The exit status once the program has ended; TimeoutError if it is still running after timeout."""
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            raise TimeoutError("Lookabout still runs after %.1f s" % timeout) from None

    def signal(self, signum):
        self.process.send_signal(signum)

    def terminate(self, timeout=10.0):
        """Sends SIGTERM, as the desktop does at logout, and returns the exit status."""
        if self.running():
            self.process.send_signal(signal.SIGTERM)
        return self.wait(timeout)

    def log(self):
        """What the program printed (stdout and stderr)."""
        try:
            with open(self._log_path, "r", errors="replace") as f:
                return f.read()
        except OSError:
            return ""


def parse_ini(data):
    """Sections of an INI text as an ordered dict of ordered dicts (names as written, values stripped)."""
    text = data.decode("latin-1") if isinstance(data, bytes) else data
    sections, current = {}, None
    for line in text.replace("\r\n", "\n").replace("\r", "\n").split("\n"):
        stripped = line.strip()
        if stripped.startswith("[") and stripped.endswith("]"):
            current = sections.setdefault(stripped[1:-1].strip(), {})
        elif current is not None and "=" in stripped and not stripped.startswith(";"):
            key, value = stripped.split("=", 1)
            current.setdefault(key.strip(), value.strip())
    return sections


def keys_in_section(data, section):
    """Key names of one section, in file order, duplicates kept."""
    keys, inside = [], False
    for line in data.decode("latin-1").splitlines():
        stripped = line.strip()
        if stripped.startswith("["):
            inside = stripped[1:-1].strip().lower() == section.lower()
        elif inside and "=" in stripped and not stripped.startswith(";"):
            keys.append(stripped.split("=", 1)[0].strip())
    return keys


# ---------------------------------------------------------------------------------------------------------------
# The session

class Geometry(tuple):
    """A window's outer rectangle in screen pixels: x, y, width, height."""

    def __new__(cls, x, y, width, height):
        return super().__new__(cls, (x, y, width, height))

    x = property(lambda self: self[0])
    y = property(lambda self: self[1])
    width = property(lambda self: self[2])
    height = property(lambda self: self[3])


class Backdrop:
    """A plain coloured window of our own, for a known 'what is behind' and for catching clicks."""

    def __init__(self, connection, wid, geometry):
        self._connection, self.wid, self.geometry = connection, wid, geometry

    def clicks(self):
        """(button, root_x, root_y) of every button press that reached this window so far."""
        return [(b, x, y) for kind, b, x, y in self._connection.button_events(self.wid) if kind == "press"]

    def close(self):
        self._connection.destroy_window(self.wid)


def _regex_literal(text):
    return "".join("\\" + c if c in ".[]()*+?{}|^$\\" else c for c in text)


class XSession:
    """A private Xvfb, optionally with openbox and picom, and the programs started on it."""

    def __init__(self, window_manager=False, compositor=False, width=1024, height=768, root_colour=None,
                 keep_files=None):
        self.width, self.height = width, height
        self.window_manager, self.compositor = window_manager, compositor
        self.root_colour = root_colour
        self.keep_files = os.environ.get("LOOKABOUT_E2E_KEEP") == "1" if keep_files is None else keep_files
        self.display = None
        self.env = None
        self.directory = None
        self._servers = []  # (name, Popen), in start order
        self._programs = []
        self._folders = 0
        self._connection = None
        self._closed = True
        self._failed = False

    # -- life cycle ------------------------------------------------------------------------------------------

    def __enter__(self):
        self.start()
        return self

    def __exit__(self, kind, value, traceback):
        if kind is not None:
            self._failed = True
        self.close()
        return False

    def start(self):
        for tool in ["Xvfb", "xdotool", "xwininfo", "xprop", "import"] + (["openbox"] if self.window_manager else []) \
                + (["picom"] if self.compositor else []):
            if shutil.which(tool) is None:
                raise RuntimeError("%s is not installed (scripts/install-deps.sh test installs it)" % tool)
        _exit_on_sigterm()
        self._closed = False
        atexit.register(self.close)
        self.directory = tempfile.mkdtemp(prefix="lookabout-e2e-")
        try:
            self._start_xvfb()
            if self.root_colour is not None:
                self._connection.set_root_colour(self.root_colour)
            if self.window_manager:
                self._start_window_manager()
            if self.compositor:
                self._start_compositor()
        except BaseException:
            self._failed = True
            self.close()
            raise

    def close(self):
        if self._closed:
            return
        self._closed = True
        for program in self._programs:
            _end_process(program.process, whole_group=True)
        if self._connection is not None:
            self._connection.close()
            self._connection = None
        for name, process in reversed(self._servers):
            _end_process(process)
        self._servers = []
        if self._failed or self.keep_files:
            sys.stderr.write("lookabout e2e: files and logs kept in %s\n" % self.directory)
        elif self.directory:
            shutil.rmtree(self.directory, ignore_errors=True)
        try:
            atexit.unregister(self.close)
        except Exception:
            pass

    def _log(self, name):
        return open(os.path.join(self.directory, name + ".log"), "wb")

    def _spawn(self, name, args, env=None):
        with self._log(name) as log:
            process = subprocess.Popen(args, stdin=subprocess.DEVNULL, stdout=log, stderr=subprocess.STDOUT,
                                       env=env if env is not None else self.env, preexec_fn=_child_setup,
                                       close_fds=True)
        self._servers.append((name, process))
        return process

    def _start_xvfb(self):
        # -displayfd: the server picks a free display itself (no race between parallel tests) and writes its
        # number only once it accepts connections.
        read_end, write_end = os.pipe()
        try:
            with self._log("xvfb") as log:
                process = subprocess.Popen(
                    ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "%dx%dx24" % (self.width, self.height),
                     "-nolisten", "tcp", "-noreset"],
                    stdin=subprocess.DEVNULL, stdout=log, stderr=subprocess.STDOUT, pass_fds=(write_end,),
                    preexec_fn=_child_setup)
            self._servers.append(("xvfb", process))
            os.close(write_end)
            write_end = -1
            text = b""
            deadline = time.monotonic() + 15
            while not text.endswith(b"\n"):
                remaining = deadline - time.monotonic()
                if remaining <= 0 or not select.select([read_end], [], [], remaining)[0]:
                    raise RuntimeError("Xvfb did not report its display in time:\n" + self._read_log("xvfb"))
                chunk = os.read(read_end, 64)
                if not chunk:
                    raise RuntimeError("Xvfb ended before it was ready:\n" + self._read_log("xvfb"))
                text += chunk
        finally:
            os.close(read_end)
            if write_end >= 0:
                os.close(write_end)
        number = int(text.strip())
        self.display = ":%d" % number
        env = dict(os.environ)
        for variable in ("WAYLAND_DISPLAY", "XDG_SESSION_TYPE", "SESSION_MANAGER", "QT_QPA_PLATFORM",
                         "DESKTOP_STARTUP_ID", "XDG_CURRENT_DESKTOP", "QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS",
                         "QT_AUTO_SCREEN_SCALE_FACTOR", "QT_ENABLE_HIGHDPI_SCALING", "GDK_SCALE"):
            env.pop(variable, None)
        env["DISPLAY"] = self.display
        env["XAUTHORITY"] = os.path.join(self.directory, "no-xauthority")  # our server checks no cookies
        env["NO_AT_BRIDGE"] = "1"
        env["QT_ACCESSIBILITY"] = "0"
        self.env = env
        self._connection = wait_until(lambda: self._try_connect(number), 10, what="a connection to " + self.display)

    @staticmethod
    def _try_connect(number):
        try:
            return _XConnection(number)
        except (OSError, XProtocolError):
            return None

    def _read_log(self, name):
        try:
            with open(os.path.join(self.directory, name + ".log"), "r", errors="replace") as f:
                return f.read()
        except OSError:
            return ""

    def _check_alive(self, name, process):
        if process.poll() is not None:
            raise RuntimeError("%s ended with status %s:\n%s" % (name, process.returncode, self._read_log(name)))

    def _start_window_manager(self):
        process = self._spawn("openbox", ["openbox", "--sm-disable"])

        def ready():
            self._check_alive("openbox", process)
            if self._connection.selection_owner("WM_S0") == 0:
                return False
            # _NET_SUPPORTED is set once it has taken over the root window.
            return "_NET_SUPPORTING_WM_CHECK" in self.run(["xprop", "-root", "_NET_SUPPORTED"], check=False)

        wait_until(ready, 15, what="openbox")

    def _start_compositor(self):
        empty_config = os.path.join(self.directory, "picom.conf")
        open(empty_config, "w").close()
        # picom paints the root in its own colour; wait for that first frame, not only for the selection.
        before = self.screenshot()
        process = self._spawn("picom", ["picom", "--backend", "xrender", "--config", empty_config])

        def ready():
            self._check_alive("picom", process)
            return self._connection.selection_owner("_NET_WM_CM_S0") != 0

        wait_until(ready, 15, what="picom to own _NET_WM_CM_S0")
        # The program decides at its start whether windows can be translucent, so picom must be fully up.
        wait_until(lambda: self.screenshot().rgb != before.rgb, 5, what="picom's first frame")

    # -- tools -----------------------------------------------------------------------------------------------

    def run(self, args, check=True, timeout=20):
        """Runs an X client on this display and returns its stdout."""
        return self._run(args, check, timeout)[1]

    def _run(self, args, check=True, timeout=20):
        try:
            result = subprocess.run(args, env=self.env, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                                    stderr=subprocess.PIPE, timeout=timeout)
        except subprocess.TimeoutExpired:
            raise RuntimeError("%s did not finish within %d s" % (" ".join(map(str, args)), timeout)) from None
        stderr = result.stderr.decode(errors="replace")
        if check and result.returncode != 0:
            raise RuntimeError("%s failed (%d): %s" % (" ".join(map(str, args)), result.returncode, stderr))
        return result.returncode, result.stdout.decode(errors="replace"), stderr

    def xdotool(self, *args, check=True):
        return self.run(["xdotool"] + [str(a) for a in args], check=check)

    # -- programs --------------------------------------------------------------------------------------------

    def program_folder(self, ini_text=None, pictures=None, executable=None, name=None):
        """A fresh program folder inside the session's folder; ini_text None leaves the INI out."""
        self._folders += 1
        path = os.path.join(self.directory, name or "program-%d" % self._folders)
        return ProgramFolder(path, executable or lookabout_executable(), ini_text, pictures)

    def start_program(self, folder, args=(), env=None):
        environment = dict(self.env)
        environment.update(env or {})
        log_path = os.path.join(folder.path, "output.log")
        with open(log_path, "wb") as log:
            process = subprocess.Popen([folder.executable] + list(args), cwd=self.directory, env=environment,
                                       stdin=subprocess.DEVNULL, stdout=log, stderr=subprocess.STDOUT,
                                       preexec_fn=_child_setup)
        program = Program(process, folder, log_path)
        self._programs.append(program)
        return program

    # -- windows ---------------------------------------------------------------------------------------------

    def windows(self, title, visible=True):
        """Ids of the windows whose title is exactly title; visible: only mapped ones."""
        args = ["xdotool", "search"] + (["--onlyvisible"] if visible else []) + ["--name",
                                                                                  "^%s$" % _regex_literal(title)]
        status, out, err = self._run(args, check=False)
        # No match is status 1 with nothing said; anything on stderr is a real failure, not "no windows".
        if status not in (0, 1) or err.strip():
            raise RuntimeError("xdotool search failed (%d): %s" % (status, err))
        return [int(line) for line in out.split()]

    def wait_for_windows(self, title, count, timeout=10.0, program=None):
        """Waits until at least count mapped windows carry title; returns their ids (sorted)."""
        def found():
            if program is not None and not program.running():
                raise RuntimeError("Lookabout ended (status %s) while waiting for windows:\n%s"
                                   % (program.process.returncode, program.log()))
            ids = self.windows(title)
            return sorted(ids) if len(ids) >= count else None

        return wait_until(found, timeout, what="%d mapped window(s) titled %r" % (count, title))

    def settle(self, wid, still_for=0.4, timeout=8.0):
        """Waits until the window has not moved for still_for seconds; returns the geometries seen."""
        seen = [self.geometry(wid)]
        last_change = time.monotonic()
        deadline = last_change + timeout
        while time.monotonic() < deadline:
            time.sleep(0.05)
            g = self.geometry(wid)
            if g != seen[-1]:
                seen.append(g)
                last_change = time.monotonic()
            elif time.monotonic() - last_change >= still_for:
                return seen
        raise AssertionError("the window still moves after %.0f s: %s" % (timeout, seen[-3:]))

    def geometry(self, wid):
        """Where the window is on the screen, in pixels, and its size."""
        out = self.run(["xwininfo", "-id", str(wid)])
        values = {}
        for key, label in (("x", "Absolute upper-left X"), ("y", "Absolute upper-left Y"), ("w", "Width"),
                           ("h", "Height")):
            match = re.search(r"^\s*%s:\s*(-?\d+)" % re.escape(label), out, re.MULTILINE)
            if not match:
                raise RuntimeError("no %s in xwininfo output:\n%s" % (label, out))
            values[key] = int(match.group(1))
        return Geometry(values["x"], values["y"], values["w"], values["h"])

    def wait_for_geometry(self, wid, expected, timeout=5.0):
        """Waits until the window stands at expected (x, y, w, h); returns the last geometry seen either way."""
        last = [None]

        def arrived():
            last[0] = self.geometry(wid)
            return tuple(last[0]) == tuple(expected)

        try:
            wait_until(arrived, timeout)
        except TimeoutError:
            pass
        return last[0]

    def focus(self, wid):
        """Gives the window the keyboard focus (works with and without a window manager)."""
        if self.window_manager:
            self.xdotool("windowactivate", wid, check=False)
        self.xdotool("windowfocus", "--sync", wid)

    def backdrop(self, rgb, x=0, y=0, width=None, height=None):
        """Maps a plain window of colour rgb at the bottom of the stack, just above the root window, that
        records the button presses that reach it. The window manager leaves it alone (override-redirect)."""
        geometry = Geometry(x, y, width or self.width, height or self.height)
        wid = self._connection.create_window(x, y, geometry.width, geometry.height, rgb=rgb,
                                             override_redirect=True, button_events=True)
        self._connection.map_window(wid)
        self._connection.lower_window(wid)
        # A compositor shows it a moment later; a screenshot taken before would show the old background.
        right, bottom = x + geometry.width - 1, y + geometry.height - 1
        points = [(x, y), (right, y), (x, bottom), (right, bottom), ((x + right) // 2, (y + bottom) // 2)]
        points = [(px, py) for px, py in points if 0 <= px < self.width and 0 <= py < self.height]

        def shown():
            shot = self.screenshot()
            return any(shot.pixel(px, py) == tuple(rgb) for px, py in points)

        wait_until(shown, 5, what="the backdrop on the screen")
        return Backdrop(self._connection, wid, geometry)

    def ordinary_window(self, rgb, x, y, width, height):
        """Maps a plain window of colour rgb that the window manager manages, at (x, y); returns its id."""
        wid = self._connection.create_window(x, y, width, height, rgb=rgb, override_redirect=False)
        self._connection.map_window(wid)
        self.xdotool("windowmove", "--sync", wid, x, y)
        return wid

    # -- pointer and keys (through the XTEST extension, as real input) ----------------------------------------

    def move_pointer(self, x, y):
        # xdotool's --sync waits for the pointer to move, which it never does when it is there already.
        if self.pointer() != (int(x), int(y)):
            self.xdotool("mousemove", "--sync", x, y)

    def pointer(self):
        out = self.xdotool("getmouselocation", "--shell")
        values = dict(line.split("=", 1) for line in out.split())
        return int(values["X"]), int(values["Y"])

    def click(self, x=None, y=None, button=1, repeat=1):
        if x is None:
            self.xdotool("click", "--repeat", repeat, button)
        else:
            # Move and press in one go: a character that follows the pointer could otherwise step under
            # it between the two and take the click.
            self.xdotool("mousemove", x, y, "click", "--repeat", repeat, button)

    def press_button(self, button=1):
        self.xdotool("mousedown", button)

    def release_button(self, button=1):
        self.xdotool("mouseup", button)

    def drag(self, start, end, button=1, steps=10):
        """Presses at start, moves in steps to end, releases there."""
        self.move_pointer(*start)
        self.press_button(button)
        for i in range(1, steps + 1):
            self.move_pointer(start[0] + (end[0] - start[0]) * i // steps, start[1] + (end[1] - start[1]) * i // steps)
            time.sleep(0.03)
        self.release_button(button)

    def key(self, *keys, window=None):
        """Presses and releases each key (xdotool names: Return, space, alt+x, F12), to window if given
        (focused first) or else to the focused window."""
        if window is not None:
            self.focus(window)
        self.xdotool("key", "--clearmodifiers", *keys)

    def type_text(self, text):
        self.xdotool("type", "--delay", 20, text)

    # -- pictures of the screen ------------------------------------------------------------------------------

    def screenshot(self, save_as=None):
        """The whole screen as it is shown (with the compositor's work, when one runs)."""
        fd, path = tempfile.mkstemp(suffix=".rgb", dir=self.directory)
        os.close(fd)
        try:
            self.run(["import", "-window", "root", "-depth", "8", "rgb:" + path])
            with open(path, "rb") as f:
                shot = Screenshot(self.width, self.height, f.read())
        finally:
            os.unlink(path)
        if save_as:
            shot.save_png(save_as if os.path.isabs(save_as) else os.path.join(self.directory, save_as))
        return shot

    def wait_for_pixel(self, x, y, rgb, timeout=5.0):
        """Waits until the screen pixel (x, y) has colour rgb; returns the screenshot that showed it.
        On timeout, raises AssertionError naming the colour seen last."""
        last = [None]

        def shows():
            last[0] = self.screenshot()
            return last[0] if last[0].pixel(x, y) == tuple(rgb) else None

        try:
            return wait_until(shows, timeout, interval=0.05)
        except TimeoutError:
            raise AssertionError("pixel (%d, %d) is %r, expected %r after %.1f s"
                                 % (x, y, last[0].pixel(x, y), tuple(rgb), timeout)) from None
