#!/usr/bin/env python3
"""Soak run: the real Lookabout with ten characters on its own Xvfb (with openbox) for DURATION seconds (30 minutes
by default) while the pointer keeps moving as a mouse moves it. The program's resident memory is sampled every 10 seconds; at
the end the control panel is closed with the window manager's close button, which ends the program, and the saved
settings file is checked.

    DURATION=300 benchmarks/soak.py                 # five minutes
    LOOKABOUT_EXE=build-test/bin/Lookabout benchmarks/soak.py

Prints the samples and a summary; the exit status is 0 when the program ran to the end, its resident memory after
the first minute grew by no more than 2 MB, and every character was saved intact."""

import math
import os
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(HERE)
sys.path.insert(0, os.path.join(REPO, "tests", "e2e"))

from xsession import CHARACTER_TITLE, PANEL_TITLE, XSession, parse_ini  # noqa: E402

SAMPLE_EVERY = 10.0
ALLOWED_GROWTH_KB = 2048
WIDTH, HEIGHT = 1024, 768

# Ten characters on the bundled pictures, in every behaviour: following and fleeing the pointer, following and
# fleeing other characters, standing and looking.
CHARACTERS = [
    # name, picture, Fixed_To, Flee, speed, start x, start y
    ("Sunny", "sunny.bmp", 0, 0, 40, 120, 120),
    ("Froggy", "froggy.gif", 1, 0, 25, 420, 360),
    ("Whiskers", "whiskers.bmp", 3, 0, 30, 800, 100),
    ("Bouncy", "bouncy.gif", 0, 1, 60, 600, 500),
    ("Shy Sunny", "sunny.bmp", 0, 1, 30, 50, 600),
    ("Follows Bouncy", "froggy.gif", 4, 0, 80, 300, 200),
    ("Flees Sunny", "whiskers.bmp", 1, 1, 50, 700, 300),
    ("Still Bouncy", "bouncy.gif", 8, 0, 30, 900, 600),
    ("Slow Sunny", "sunny.bmp", 0, 0, 5, 200, 650),
    ("Fast Froggy", "froggy.gif", 0, 0, 200, 500, 50),
]
EYE_KEYS = ["Iris_Width"] + ["%s%d_%s" % (part, eye, axis) for eye in (1, 2)
                             for part, axis in (("Eye", "Center_X"), ("Eye", "Center_Y"), ("Eye", "Diameter_X"),
                                                ("Eye", "Diameter_Y"), ("Iris", "Diameter_X"), ("Iris", "Diameter_Y"))]


def settings_text():
    # The eyes of each picture as the bundled settings file has them.
    with open(os.path.join(REPO, "data", "Lookabout.ini"), "rb") as f:
        bundled = parse_ini(f.read())
    eyes = {s["Image_File"]: "".join("%s=%s\n" % (k, s[k]) for k in EYE_KEYS if k in s)
            for s in bundled.values() if s.get("Image_File")}
    text = "[General_Settings]\nAdvanced_Editing=1\nProgram_Title=Soak\n\n"
    for k, (name, picture, fixed, flee, speed, x, y) in enumerate(CHARACTERS, 1):
        text += ("[CHARACTER_%d]\nName=%s\nImage_File=%s\nFixed_To=%d\nFlee=%d\nSpeed_X=%d\nSpeed_Y=%d\n"
                 "Start_Position_X=%d\nStart_Position_Y=%d\n%s\n"
                 % (k, name, picture, fixed, flee, speed, speed, x, y, eyes[picture]))
    return text


def executable():
    for path in (os.environ.get("LOOKABOUT_EXE", ""), os.path.join(REPO, "build-test", "bin", "Lookabout"),
                 os.path.join(REPO, "build", "bin", "Lookabout")):
        if path and os.path.isfile(path):
            return os.path.abspath(path)
    sys.exit("soak: no Lookabout executable; build it or set LOOKABOUT_EXE")


def resident_kb(pid):
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    return -1


def close_panel(x, panel, characters):
    """Clicks the close button of the panel's frame, once no character stands on it."""
    extents = x.run("xprop", "-id", panel, "_NET_FRAME_EXTENTS").split("=")[1]
    left, right, top, bottom = (int(v) for v in extents.split(","))
    g = x.geometry(panel)
    button = (g.x + g.width + right - 11, g.y - top // 2)
    for _ in range(50):
        x.move_pointer(*button)
        under = x.xdotool("getmouselocation", "--shell")
        window = int(dict(line.split("=", 1) for line in under.split())["WINDOW"])
        if window not in characters:
            x.click(*button)
            return
        x.move_pointer(5, 5)  # lead the followers away and try again
        time.sleep(1)
    raise RuntimeError("a character keeps standing on the panel's close button")


def main():
    duration = float(os.environ.get("DURATION", "1800"))
    exe = executable()
    samples = []
    with XSession(window_manager=True, width=WIDTH, height=HEIGHT) as x:
        pictures = {}
        for name in ("sunny.bmp", "froggy.gif", "whiskers.bmp", "bouncy.gif"):
            with open(os.path.join(REPO, "data", name), "rb") as f:
                pictures[name] = f.read()
        os.environ["LOOKABOUT_EXE"] = exe  # the program folder copies it
        folder = x.program_folder(settings_text(), pictures)
        program = x.start_program(folder)
        characters = x.wait_for_windows(CHARACTER_TITLE, len(CHARACTERS), timeout=30, program=program)
        panel = x.wait_for_windows(PANEL_TITLE, 1, timeout=30, program=program)[0]
        print("soak: %s, %d characters, %.0f s" % (exe, len(CHARACTERS), duration), flush=True)

        started = time.monotonic()
        next_sample = started
        step = 0
        while True:
            now = time.monotonic()
            if not program.running():
                print("soak: the program ended by itself after %.0f s:\n%s" % (now - started, program.log()))
                return 1
            if now >= next_sample:
                samples.append((now - started, resident_kb(program.pid)))
                print("  %6.0f s  %7d kB" % samples[-1], flush=True)
                next_sample += SAMPLE_EVERY
            if now - started >= duration:
                break
            # A slow Lissajous path over the whole screen, with a quick jump now and then.
            t = step * 0.05
            px = WIDTH / 2 + (WIDTH / 2 - 20) * math.sin(t * 0.7)
            py = HEIGHT / 2 + (HEIGHT / 2 - 20) * math.sin(t * 1.1 + 1)
            if step % 97 == 0:
                px, py = (step * 389) % WIDTH, (step * 251) % HEIGHT
            x.move_pointer(int(px), int(py))
            step += 1
            time.sleep(0.05)

        close_panel(x, panel, characters)
        status = program.wait(30)
        saved = folder.read_ini()

    after_minute = next((kb for t, kb in samples if t >= 60), samples[0][1])
    end = samples[-1][1]
    growth = end - after_minute
    sections = parse_ini(saved)
    intact = sections.get("General_Settings", {}).get("Program_Title") == "Soak"
    for k, (name, picture, fixed, *_rest) in enumerate(CHARACTERS, 1):
        section = sections.get("CHARACTER_%d" % k, {})
        intact = intact and len(section) == 25 and section.get("Name") == name and section.get("Image_File") == picture
    print("soak: %d pointer moves; resident memory after the first minute %d kB, at the end %d kB, growth %+d kB"
          % (step, after_minute, end, growth))
    print("soak: ended through the panel with status %d; saved file %s" % (status, "intact" if intact else "DAMAGED"))
    ok = status == 0 and intact and growth <= ALLOWED_GROWTH_KB
    print("soak: %s" % ("passed" if ok else "FAILED"))
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
