#!/usr/bin/env python3
"""Motion benchmark of the character windows; started by motion-benchmark.sh, which explains it.

Each round goes through five set-ups, each on a fresh Xvfb (1024x768x24, no window manager) with
one program alone on it:
  xeyes         xeyes -shape
  bare Qt 1/10  lookabout_bare_qt (BareQtWindows.cpp) with 1 and 10 face windows
  Lookabout 1/10  Lookabout, started from a copy of its executable in a temporary folder with
                its own Lookabout.ini of 1 and 10 followers of the pointer
The followers and the bare windows show the bundled pictures in turn, spread over the screen at
start; they gather at the pointer and overlap while they follow it. The X side is
lookabout_x11probe. Standard library only.
"""

import configparser
import json
import os
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time

SCREEN = (1024, 768)
CIRCLE = dict(cx=512, cy=384, radius=200, period_ms=2000)
JUMP_FROM = (262, 384)  # jumps go 500 pixels right from here and back
# Recording costs the X server time of its own, so the requests are counted after the still
# phase's CPU, for this long.
REQUEST_SECONDS = 5
# Where the control panel goes, below the characters: at the bottom edge, mostly off the screen,
# away from the characters' paths. PANEL=keep leaves it where and as the program put it.
PANEL_ASIDE = "0,700"
# Five columns, two rows; the first keeps the bundled first character's place.
PLACES = [(120, 120), (300, 40), (500, 60), (700, 40), (40, 380),
          (240, 420), (440, 520), (640, 440), (820, 320), (820, 120)]
SETUPS = (("xeyes", "xeyes", 1), ("bare Qt 1", "bare", 1), ("bare Qt 10", "bare", 10),
          ("Lookabout 1", "lookabout", 1), ("Lookabout 10", "lookabout", 10))
TITLES = {"xeyes": "xeyes", "bare": "Bare Qt window", "lookabout": "Character"}


def env_number(names, default, kind=float):
    """The first of the environment variables that is set, else the default."""
    for name in names:
        if name in os.environ:
            return kind(os.environ[name])
    return default


class Settings:
    def __init__(self, bin_dir):
        self.bin_dir = bin_dir = os.path.abspath(bin_dir)  # the programs start in folders of their own
        self.program = os.path.join(bin_dir, "Lookabout")
        self.bare = os.path.join(bin_dir, "lookabout_bare_qt")
        self.probe = os.path.join(bin_dir, "lookabout_x11probe")
        # DURATION and RUNS are the older names.
        self.still = env_number(("STILL", "DURATION"), 15)
        self.moving = env_number(("MOVING", "DURATION"), 15)
        self.rounds = env_number(("ROUNDS", "RUNS"), 5, int)
        self.jumps = env_number(("JUMPS",), 6, int)
        self.results = os.environ.get("RESULTS", "")
        self.panel = os.environ.get("PANEL", "aside")


# ---------------------------------------------------------------- characters


def read_ini(path):
    ini = configparser.ConfigParser(interpolation=None)
    ini.optionxform = str  # keep the keys' case
    with open(path, encoding="latin-1") as f:
        ini.read_file(f)
    return ini


def followers(bundled, count):
    """count followers of the pointer, the bundled characters in turn, spread over the screen."""
    sections = [s for s in bundled.sections() if s != "General_Settings"]
    chars = []
    for k in range(count):
        c = dict(bundled[sections[k % len(sections)]])
        x, y = PLACES[k % len(PLACES)]
        c.update({"Name": f"{c['Name']} {k + 1}", "Fixed_To": "0", "Flee": "0", "Speed_X": "40", "Speed_Y": "40",
                  "Start_Position_X": str(x), "Start_Position_Y": str(y)})
        chars.append(c)
    return chars


def program_command(settings, bundled, kind, count, workdir):
    if kind == "xeyes":
        return ["xeyes", "-shape"]
    chars = followers(bundled, count)
    if kind == "bare":
        keys = ("Start_Position_X", "Start_Position_Y", "Eye1_Center_X", "Eye1_Center_Y", "Eye2_Center_X",
                "Eye2_Center_Y")
        return [settings.bare] + [",".join([os.path.join(settings.bin_dir, c["Image_File"])] + [c[k] for k in keys])
                                  for c in chars]
    # Lookabout reads its characters next to its executable: a folder of its own.
    for name in os.listdir(settings.bin_dir):
        if name.lower().endswith((".bmp", ".gif")):
            shutil.copy(os.path.join(settings.bin_dir, name), workdir)
    shutil.copy(settings.program, workdir)
    ini = configparser.ConfigParser(interpolation=None)
    ini.optionxform = str
    ini["General_Settings"] = dict(bundled["General_Settings"])
    for k, c in enumerate(chars):
        ini[f"CHARACTER_{k + 1}"] = c
    with open(os.path.join(workdir, "Lookabout.ini"), "w", encoding="latin-1") as f:
        ini.write(f, space_around_delimiters=False)
    return [os.path.join(workdir, "Lookabout")]


# ---------------------------------------------------------------- processes


def per_task(pid, read):
    """The sum of read(folder of a thread) over the process's threads."""
    total = 0
    for tid in os.listdir(f"/proc/{pid}/task"):
        try:
            total += read(f"/proc/{pid}/task/{tid}")
        except OSError:
            pass  # the thread ended meanwhile
    return total


def run_ns(task):
    # Nanoseconds on a core: clock ticks (10 ms) are too coarse for a share of a few hundredths.
    with open(task + "/schedstat") as f:
        return int(f.read().split()[0])


def context_switches(task):
    with open(task + "/status") as f:
        return sum(int(line.split()[1]) for line in f if "ctxt_switches:" in line)


def rss_mib(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1]) / 1024.0
    return None


def machine_ticks():
    """Busy and total ticks of all cores, from /proc/stat."""
    with open("/proc/stat") as f:
        v = [int(x) for x in f.readline().split()[1:]]
    idle = v[3] + v[4]  # idle + iowait
    return sum(v) - idle, sum(v)


class Meter:
    """Over one phase: CPU of the program and the X server (% of one core), the program's context
    switches per second, and how busy the rest of the machine was (it disturbs the figures)."""

    def __init__(self, phase, program, xserver):
        self.phase, self.pids = phase, {"program": program, "xserver": xserver}
        self.t0 = time.monotonic()
        self.ns0 = {name: per_task(pid, run_ns) for name, pid in self.pids.items()}
        self.switches0 = per_task(program, context_switches)
        self.m0 = machine_ticks()

    def stop(self):
        wall = time.monotonic() - self.t0
        r = {f"cpu_{self.phase}_{name}": 100.0 * (per_task(pid, run_ns) - self.ns0[name]) / 1e9 / wall
             for name, pid in self.pids.items()}
        r[f"switches_{self.phase}"] = (per_task(self.pids["program"], context_switches) - self.switches0) / wall
        busy, total = (a - b for a, b in zip(machine_ticks(), self.m0))
        measured = sum(r[f"cpu_{self.phase}_{name}"] for name in self.pids)
        r[f"others_{self.phase}"] = max(0.0, 100.0 * os.cpu_count() * busy / max(total, 1) - measured)
        return r


def stop_process(proc, timeout=5):
    if proc is None or proc.poll() is not None:
        return
    proc.send_signal(signal.SIGTERM)
    try:
        proc.wait(timeout)
    except subprocess.TimeoutExpired:
        proc.kill()
        proc.wait()


class Session:
    """One Xvfb and one program alone on it, started under the start-up probe."""

    def __init__(self, settings, kind, workdir):
        self.s, self.kind, self.dir = settings, kind, workdir
        self.xvfb = self.app = None
        os.makedirs(self.dir, exist_ok=True)
        self.env = dict(os.environ)
        runtime = os.path.join(self.dir, "runtime")
        os.makedirs(runtime, mode=0o700, exist_ok=True)
        self.env.update(QT_QPA_PLATFORM="xcb", XDG_RUNTIME_DIR=runtime)
        self.log = open(os.path.join(self.dir, "output.log"), "w")

    def start_display(self):
        r, w = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(w), "-screen", "0", f"{SCREEN[0]}x{SCREEN[1]}x24", "-nolisten", "tcp"],
            pass_fds=(w,), stdout=self.log, stderr=self.log)
        os.close(w)
        with os.fdopen(r) as f:
            number = f.readline().strip()
        if not number:
            raise RuntimeError("Xvfb did not start")
        self.env["DISPLAY"] = f":{number}"

    def probe(self, mode, *args, check=True):
        out = subprocess.run([self.s.probe, mode, "--title", TITLES[self.kind], *args], env=self.env,
                             stdout=subprocess.PIPE, stderr=self.log, text=True, check=check).stdout
        return json.loads(out.strip().splitlines()[-1]) if out.strip() else {}

    def start_program(self, command, count):
        """Starts the program under the start-up probe; returns the probe's figures."""
        aside = ["--aside", PANEL_ASIDE] if self.kind == "lookabout" and self.s.panel == "aside" else []
        probe = subprocess.Popen(
            [self.s.probe, "startup", "--title", TITLES[self.kind], "--count", str(count), "--timeout-ms", "15000",
             *aside], env=self.env, stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=self.log, text=True)
        if probe.stdout.readline().strip() != "ready":
            raise RuntimeError("the start-up probe did not start")
        start = time.monotonic_ns()
        try:
            self.app = subprocess.Popen(command, cwd=self.dir, env=self.env, stdout=self.log, stderr=self.log)
        except OSError:
            probe.kill()
            raise
        probe.stdin.write(f"{start}\n")
        probe.stdin.flush()
        out, _ = probe.communicate()
        return json.loads(out.strip().splitlines()[-1])

    def close(self):
        stop_process(self.app)
        stop_process(self.xvfb)
        self.log.close()


# ---------------------------------------------------------------- one set-up


def start_session(settings, bundled, kind, count, workdir):
    session = Session(settings, kind, workdir)
    try:
        session.start_display()
        return session, session.start_program(program_command(settings, bundled, kind, count, workdir), count)
    except BaseException:
        session.close()
        raise


def run_setup(settings, bundled, kind, count, workdir):
    """One round of one set-up: start, still, moving, jumps; returns a flat dict of figures."""
    session, up = start_session(settings, bundled, kind, count, workdir)
    r = {"first_mapped_ms": up.get("first_mapped_ms"), "panel_moved": up.get("moved_aside", 0)}
    try:
        # Still: the windows first come to rest at the pointer.
        quiet = session.probe("quiet", "--quiet-ms", "1000", "--timeout-ms", "30000", check=False)
        r["came_to_rest"] = quiet.get("quiet", False)
        pids = (session.app.pid, session.xvfb.pid)
        meter = Meter("still", *pids)
        time.sleep(settings.still)
        r.update(meter.stop())
        counts = session.probe("requests", "--seconds", str(REQUEST_SECONDS)).get("per_second", {})
        r["requests_still"] = {k[len("request "):]: v for k, v in counts.items() if k.startswith("request ")}
        r["requests_still_sum"] = sum(r["requests_still"].values())

        # Moving: the pointer runs on a circle; measured from its first step to its last.
        mover = subprocess.Popen(
            [settings.probe, "circle", "--seconds", str(settings.moving), "--cx", str(CIRCLE["cx"]),
             "--cy", str(CIRCLE["cy"]), "--radius", str(CIRCLE["radius"]), "--period-ms", str(CIRCLE["period_ms"])],
            env=session.env, stdout=subprocess.PIPE, stderr=session.log, text=True)
        if mover.stdout.readline().strip() != "start":
            raise RuntimeError("the pointer mover did not start")
        meter = Meter("moving", *pids)
        out, _ = mover.communicate()
        r.update(meter.stop())
        r["circle_late_steps"] = json.loads(out.strip().splitlines()[-1]).get("late_steps")
        r["rss_mib"] = rss_mib(session.app.pid)

        if kind == "lookabout" and settings.jumps > 0:
            meter = Meter("jumps", *pids)
            j = session.probe("jumps", "--count", str(settings.jumps), "--distance", "500", "--ax",
                              str(JUMP_FROM[0]), "--ay", str(JUMP_FROM[1]), "--quiet-ms", "300", "--timeout-ms",
                              "15000")
            r["others_jumps"] = meter.stop()["others_jumps"]
            r["jump_move_ms"], r["jump_eyes_ms"] = j.get("move_ms", []), j.get("eyes_ms", [])
            r["jump_unsettled"] = j.get("unsettled")
            r["jump_missed"] = j.get("missed_move", 0) + j.get("missed_eyes", 0)
        return r
    finally:
        session.close()
        if session.app.returncode not in (0, None, -signal.SIGTERM):
            r["program_exit"] = session.app.returncode


# ---------------------------------------------------------------- report


def med(runs, key):
    v = [r[key] for r in runs if r.get(key) is not None]
    return statistics.median(v) if v else None


def pooled(runs, key):
    return [v for r in runs for v in r.get(key) or []]


def fmt(v, digits=2):
    return "-" if v is None else f"{v:.{digits}f}"


def ratio(a, b):
    return a / b if a is not None and b else None


def report(settings, results):
    print()
    print(f"Motion benchmark: medians of {settings.rounds} round(s) of {settings.still:g} s still and "
          f"{settings.moving:g} s moving (the pointer on a 200-pixel circle, a step every 10 ms); X requests "
          f"counted for {REQUEST_SECONDS} s while still; {settings.jumps} jumps of 500 px per round")
    if any(r.get("panel_moved") for runs in results.values() for r in runs):
        print(f"(Lookabout's control panel was lowered below the characters and moved to {PANEL_ASIDE} at each "
              "start; PANEL=keep leaves it)")
    print()
    print("| | CPU still, program / X (% core) | CPU moving, program / X (% core) | resident (MiB) "
          "| first window mapped (ms) | context switches/s, still | X requests/s, still |")
    print("| --- | --- | --- | --- | --- | --- | --- |")
    for name, runs in results.items():
        print(f"| {name} | {fmt(med(runs, 'cpu_still_program'))} / {fmt(med(runs, 'cpu_still_xserver'))} "
              f"| {fmt(med(runs, 'cpu_moving_program'))} / {fmt(med(runs, 'cpu_moving_xserver'))} "
              f"| {fmt(med(runs, 'rss_mib'), 1)} | {fmt(med(runs, 'first_mapped_ms'), 1)} "
              f"| {fmt(med(runs, 'switches_still'), 1)} | {fmt(med(runs, 'requests_still_sum'), 1)} |")

    def m(name, key):
        return med(results[name], key)

    goals = [("still, 10 characters: context switches/s", m("Lookabout 10", "switches_still"), 2),
             ("still, 10 characters: X requests/s", m("Lookabout 10", "requests_still_sum"), 0),
             ("still, 10 characters: CPU program (% core)", m("Lookabout 10", "cpu_still_program"), 0.05),
             ("still, 10 characters: CPU X server (% core)", m("Lookabout 10", "cpu_still_xserver"), 0.02)]
    for n, x_goal in (("1", 0.8), ("10", 0.5)):
        for who, goal in (("program", 0.6), ("xserver", x_goal)):
            key = f"cpu_moving_{who}"
            goals.append((f"moving, {n}: {'X server' if who == 'xserver' else who} CPU, Lookabout / bare Qt",
                          ratio(m(f"Lookabout {n}", key), m(f"bare Qt {n}", key)), goal))
    goals.append(("resident memory, 1 character (MiB)", m("Lookabout 1", "rss_mib"), 28))
    for n in ("1", "10"):
        goals.append((f"first mapped, {n}: Lookabout / bare Qt",
                      ratio(m(f"Lookabout {n}", "first_mapped_ms"), m(f"bare Qt {n}", "first_mapped_ms")), 1.1))
    for n in ("1", "10"):
        moves = pooled(results[f"Lookabout {n}"], "jump_move_ms")
        goals.append((f"jump -> motion, {n}: median (ms)", statistics.median(moves) if moves else None, 11))
        goals.append((f"jump -> motion, {n}: max (ms)", max(moves) if moves else None, 22))
    print()
    print(f"{'goal':48}{'value':>10}{'limit':>8}  verdict")
    for label, value, limit in goals:
        verdict = "-" if value is None else "ok" if value <= limit else "MISSED"
        print(f"{label:48}{fmt(value):>10}{limit:>8g}  {verdict}")

    print()
    for n in ("1", "10"):
        eyes = pooled(results[f"Lookabout {n}"], "jump_eyes_ms")
        print(f"Lookabout {n}: jump -> eyes redrawn, median {fmt(statistics.median(eyes) if eyes else None, 1)} ms "
              f"of {len(eyes)}")
    for name, runs in results.items():
        kinds = {}
        for r in runs:
            for k, v in r.get("requests_still", {}).items():
                kinds[k] = kinds.get(k, 0) + v / len(runs)
        if kinds:
            print(f"{name}, X requests/s while still: " +
                  ", ".join(f"{k} {v:.1f}" for k, v in sorted(kinds.items(), key=lambda kv: -kv[1])))
    for name, runs in results.items():
        for i, r in enumerate(runs):
            where = f"note: {name}, round {i + 1}:"
            if r.get("came_to_rest") is False:
                print(where, "the windows had not come to rest before the still phase")
            for key, what in (("jump_unsettled", "jumps that did not settle"), ("jump_missed", "reactions not seen"),
                              ("circle_late_steps", "pointer steps late"), ("program_exit", "exit status")):
                if r.get(key):
                    print(where, what, r[key])
    others = [r[k] for runs in results.values() for r in runs for k in ("others_still", "others_moving", "others_jumps")
              if r.get(k) is not None]
    if others:
        print(f"other work on the machine meanwhile: median {statistics.median(others):.0f}%, max {max(others):.0f}% "
              f"of one core ({os.cpu_count()} cores)")


def main():
    if len(sys.argv) != 2:
        print("usage: motion_benchmark.py BIN_DIR", file=sys.stderr)
        return 2
    settings = Settings(sys.argv[1])
    bundled = read_ini(os.path.join(settings.bin_dir, "Lookabout.ini"))
    results = {name: [] for name, _, _ in SETUPS}
    with tempfile.TemporaryDirectory(prefix="lookabout-motion-") as tmp:
        # An untimed start of each program first, so every timed start finds its libraries in the page cache.
        for kind in TITLES:
            session, _ = start_session(settings, bundled, kind, 1, os.path.join(tmp, f"warm-up-{kind}"))
            session.close()
        # Round by round, so other work on the machine falls on every set-up alike.
        for round_ in range(settings.rounds):
            for name, kind, count in SETUPS:
                r = run_setup(settings, bundled, kind, count, os.path.join(tmp, f"round{round_ + 1}-{kind}{count}"))
                results[name].append(r)
                shown = {k: (round(v, 2) if isinstance(v, float) else v) for k, v in r.items()
                         if not isinstance(v, (list, dict))}
                print(f"round {round_ + 1}, {name}: {json.dumps(shown)}", flush=True)
    if settings.results:
        with open(settings.results, "w") as f:
            json.dump(results, f, indent=1)
    report(settings, results)
    return 0


if __name__ == "__main__":
    sys.exit(main())
