#!/usr/bin/env python3
"""Motion benchmark of the character windows; started by motion-benchmark.sh, which explains it.

Each run goes through four set-ups, each on a fresh Xvfb (1024x768x24, no window manager) with
xeyes in its lower right corner and, but for the first, Lookabout started from a copy of its
executable in a temporary folder with its own Lookabout.ini:
  none     no program: xeyes alone, the X server's share that is not the program's
  default  the bundled file (4 characters): start-up times and resident memory only
  1        one follower of the pointer (the bundled first character)
  10       ten followers of the pointer, the four bundled pictures in turn, spread over the
           screen at start; they gather at the pointer and overlap while they follow it
and measures, for 1 and 10 characters, CPU with the pointer still (after the characters came to
rest) and while the pointer runs on a circle every 10 ms, resident memory, and the reaction to
500-pixel pointer jumps. The X side is lookabout_x11probe. Standard library only.
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

CLK_TCK = os.sysconf("SC_CLK_TCK")
SCREEN = (1024, 768)
XEYES_GEOMETRY = "150x100+870+660"  # a corner the characters never reach
CIRCLE = dict(cx=512, cy=384, radius=200, period_ms=2000)
JUMP_FROM = (262, 384)  # jumps go 500 pixels right from here and back
# Where the control panel goes, below the characters: at the bottom edge, mostly off the screen,
# away from the characters' paths and xeyes. PANEL=keep leaves it where and as the program put it.
PANEL_ASIDE = "0,700"


def env_int(name, default):
    return int(os.environ.get(name, default))


def env_float(name, default):
    return float(os.environ.get(name, default))


class Settings:
    def __init__(self, bin_dir):
        self.bin_dir = bin_dir
        self.program = os.path.join(bin_dir, "Lookabout")
        self.probe = os.path.join(bin_dir, "lookabout_x11probe")
        self.duration = env_float("DURATION", 20)
        self.runs = env_int("RUNS", 3)
        self.jumps = env_int("JUMPS", 20)
        self.results = os.environ.get("RESULTS", "")
        self.panel = os.environ.get("PANEL", "aside")


# ---------------------------------------------------------------- INI files


def read_ini(path):
    ini = configparser.ConfigParser(interpolation=None)
    ini.optionxform = str  # keep the keys' case
    with open(path, encoding="latin-1") as f:
        ini.read_file(f)
    return ini


def write_ini(ini, path):
    with open(path, "w", encoding="latin-1") as f:
        ini.write(f, space_around_delimiters=False)


def followers_ini(bundled, count):
    """count followers of the pointer, the bundled pictures in turn, spread over the screen."""
    sections = [s for s in bundled.sections() if s != "General_Settings"]
    ini = configparser.ConfigParser(interpolation=None)
    ini.optionxform = str
    ini["General_Settings"] = dict(bundled["General_Settings"])
    # Five columns, two rows; the first character keeps its bundled place.
    places = [(120, 120), (300, 40), (500, 60), (700, 40), (40, 380),
              (240, 420), (440, 520), (640, 440), (820, 320), (820, 120)]
    for k in range(count):
        src = dict(bundled[sections[k % len(sections)]])
        src.update({"Name": f"{src['Name']} {k + 1}", "Fixed_To": "0", "Flee": "0",
                    "Speed_X": "40", "Speed_Y": "40",
                    "Start_Position_X": str(places[k % len(places)][0]),
                    "Start_Position_Y": str(places[k % len(places)][1])})
        ini[f"CHARACTER_{k + 1}"] = src
    return ini


# ---------------------------------------------------------------- processes


def cpu_ticks(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return int(fields[11]) + int(fields[12])  # utime + stime (fields 14 and 15)


def rss_mib(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1]) / 1024.0
    return float("nan")


def machine_ticks():
    """Busy and total ticks of all cores, from /proc/stat."""
    with open("/proc/stat") as f:
        v = [int(x) for x in f.readline().split()[1:]]
    idle = v[3] + v[4]  # idle + iowait
    return sum(v) - idle, sum(v)


class CpuMeter:
    """CPU of several processes over one interval, in percent of one core, and how busy the
    rest of the machine was meanwhile (other work on a shared machine disturbs the latencies)."""

    def __init__(self, pids):
        self.pids = pids
        self.t0 = time.monotonic()
        self.c0 = {name: cpu_ticks(pid) for name, pid in pids.items()}
        self.m0 = machine_ticks()

    def stop(self):
        wall = time.monotonic() - self.t0
        r = {name: 100.0 * (cpu_ticks(pid) - self.c0[name]) / CLK_TCK / wall for name, pid in self.pids.items()}
        busy, total = (a - b for a, b in zip(machine_ticks(), self.m0))
        cores = os.cpu_count() or 1
        # Everything but the measured processes, in percent of one core.
        r["others"] = max(0.0, 100.0 * cores * busy / max(total, 1) - sum(r.values()))
        return r


def stop_process(proc, sig=signal.SIGTERM, timeout=5):
    if proc is None or proc.poll() is not None:
        return
    proc.send_signal(sig)
    try:
        proc.wait(timeout)
    except subprocess.TimeoutExpired:
        proc.kill()
        proc.wait()


class Session:
    """One Xvfb with xeyes and one Lookabout started from a folder of its own."""

    def __init__(self, settings, ini, workdir):
        self.s = settings
        self.dir = workdir
        self.xvfb = self.xeyes = self.app = None
        os.makedirs(self.dir, exist_ok=True)
        for name in os.listdir(settings.bin_dir):
            if name.lower().endswith((".bmp", ".gif")):
                shutil.copy(os.path.join(settings.bin_dir, name), self.dir)
        shutil.copy(settings.program, self.dir)
        write_ini(ini, os.path.join(self.dir, "Lookabout.ini"))
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
        self.xeyes = subprocess.Popen(["xeyes", "-geometry", XEYES_GEOMETRY], env=self.env,
                                      stdout=self.log, stderr=self.log)
        # xeyes is mapped and idle before the program starts.
        self.probe("quiet", "--other", "xeyes", "--quiet-ms", "500", "--timeout-ms", "5000", check=False)

    def probe(self, *args, check=True):
        out = subprocess.run([self.s.probe, *args], env=self.env, stdout=subprocess.PIPE, stderr=self.log,
                             text=True, check=check).stdout
        return json.loads(out.strip().splitlines()[-1]) if out.strip() else {}

    def start_program(self, count):
        """Starts Lookabout under the start-up probe; returns the probe's figures."""
        aside = ["--aside", PANEL_ASIDE] if self.s.panel == "aside" else []
        probe = subprocess.Popen([self.s.probe, "startup", "--count", str(count), "--timeout-ms", "15000", *aside],
                                 env=self.env, stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=self.log,
                                 text=True)
        if probe.stdout.readline().strip() != "ready":
            raise RuntimeError("the start-up probe did not start")
        start = time.monotonic_ns()
        self.app = subprocess.Popen([os.path.join(self.dir, "Lookabout")], cwd=self.dir, env=self.env,
                                    stdout=self.log, stderr=self.log)
        probe.stdin.write(f"{start}\n")
        probe.stdin.flush()
        out, _ = probe.communicate()
        return json.loads(out.strip().splitlines()[-1])

    def pids(self):
        p = {"xeyes": self.xeyes.pid, "xserver": self.xvfb.pid}
        if self.app is not None:
            p["program"] = self.app.pid
        return p

    def close(self):
        stop_process(self.app)
        stop_process(self.xeyes)
        stop_process(self.xvfb)
        self.log.close()


# ---------------------------------------------------------------- one run


def run_config(settings, bundled, config, workdir):
    """One run of one configuration; returns a flat dict of figures."""
    if config in ("default", "none"):
        count = len([s for s in bundled.sections() if s != "General_Settings"])
        ini = bundled
    else:
        count = int(config)
        ini = followers_ini(bundled, count)
    session = Session(settings, ini, workdir)
    r = {}
    try:
        session.start_display()
        if config != "none":
            up = session.start_program(count)
            r["first_mapped_ms"] = up.get("first_mapped_ms")
            r["all_painted_ms"] = up.get("all_painted_ms")
            r["panel_moved"] = up.get("moved_aside", 0)
        if config == "default":
            time.sleep(2)
            r["rss_mib"] = rss_mib(session.app.pid)
            r["xeyes_rss_mib"] = rss_mib(session.xeyes.pid)
            return r

        if config != "none":
            # Still: the characters first come to rest at the pointer.
            quiet = session.probe("quiet", "--quiet-ms", "1000", "--timeout-ms", "30000", check=False)
            r["came_to_rest"] = quiet.get("quiet", False)
        meter = CpuMeter(session.pids())
        time.sleep(settings.duration)
        for name, v in meter.stop().items():
            r[f"cpu_still_{name}"] = v

        # Moving: the pointer runs on a circle; measured from its first step to its last.
        mover = subprocess.Popen(
            [settings.probe, "circle", "--seconds", str(settings.duration), "--cx", str(CIRCLE["cx"]),
             "--cy", str(CIRCLE["cy"]), "--radius", str(CIRCLE["radius"]), "--period-ms", str(CIRCLE["period_ms"])],
            env=session.env, stdout=subprocess.PIPE, stderr=session.log, text=True)
        if mover.stdout.readline().strip() != "start":
            raise RuntimeError("the pointer mover did not start")
        meter = CpuMeter(session.pids())
        out, _ = mover.communicate()
        for name, v in meter.stop().items():
            r[f"cpu_moving_{name}"] = v
        circle = json.loads(out.strip().splitlines()[-1])
        r["circle_late_steps"] = circle.get("late_steps")
        r["xeyes_rss_mib"] = rss_mib(session.xeyes.pid)
        if config == "none":
            return r
        r["rss_mib"] = rss_mib(session.app.pid)

        if settings.jumps > 0:
            meter = CpuMeter({})
            j = session.probe("jumps", "--count", str(settings.jumps), "--distance", "500", "--ax",
                              str(JUMP_FROM[0]), "--ay", str(JUMP_FROM[1]), "--other", "xeyes", "--quiet-ms", "300",
                              "--timeout-ms", "15000")
            for key, name in (("move_ms", "move"), ("eyes_ms", "eyes"), ("other_ms", "xeyes")):
                v = j.get(key) or []
                r[f"jump_{name}_median_ms"] = statistics.median(v) if v else None
                r[f"jump_{name}_max_ms"] = max(v) if v else None
                r[f"jump_{name}_all_ms"] = v
            r["cpu_jumps_others"] = meter.stop()["others"]
            r["jump_unsettled"] = j.get("unsettled")
            r["jump_missed"] = j.get("missed_move", 0) + j.get("missed_eyes", 0) + j.get("missed_other", 0)
        return r
    finally:
        session.close()
        if session.app is not None and session.app.returncode not in (0, None):
            r["program_exit"] = session.app.returncode


# ---------------------------------------------------------------- report


def med(runs, key):
    v = [r[key] for r in runs if r.get(key) is not None]
    return statistics.median(v) if v else None


def fmt(v, digits=2):
    return "-" if v is None else f"{v:.{digits}f}"


def verdict(value, limit):
    if value is None or limit is None:
        return ""
    return "ok" if value <= limit else "MISSED"


def report(settings, results):
    d, one, ten, none = results["default"], results["1"], results["10"], results["none"]
    rows = []  # (label, 1 char, 10 chars, xeyes (1 / 10), goal 1, goal 10, digits)

    def row(label, key, xeyes_key=None, goal1=None, goal10=None, digits=2):
        x = ""
        if xeyes_key:
            x = f"{fmt(med(one, xeyes_key), digits)} / {fmt(med(ten, xeyes_key), digits)}"
        rows.append((label, med(one, key), med(ten, key), x, goal1, goal10, digits))

    row("CPU still, program (% core)", "cpu_still_program", "cpu_still_xeyes", None, 0.7)
    row("CPU still, X server (% core)", "cpu_still_xserver", None, None, 0.25)
    row("CPU moving, program (% core)", "cpu_moving_program", "cpu_moving_xeyes", 2.2, 10)
    row("CPU moving, X server (% core)", "cpu_moving_xserver", None, 1.1, 27)
    row("resident memory (MiB)", "rss_mib", "xeyes_rss_mib", None, None, 1)
    row("first character mapped (ms)", "first_mapped_ms", None, 32, 32, 1)
    row("all characters painted (ms)", "all_painted_ms", None, None, 45, 1)
    row("jump -> move, median (ms)", "jump_move_median_ms", None, 12, 12, 1)
    row("jump -> move, max (ms)", "jump_move_max_ms", None, 25, 25, 1)
    row("jump -> eyes redrawn, median (ms)", "jump_eyes_median_ms", "jump_xeyes_median_ms", 17, 17, 1)
    row("jump -> eyes redrawn, max (ms)", "jump_eyes_max_ms", "jump_xeyes_max_ms", None, None, 1)

    print()
    panel = sum(r.get("panel_moved", 0) for runs in results.values() for r in runs)
    print(f"Motion benchmark: medians of {settings.runs} run(s); {settings.duration:g} s still and "
          f"{settings.duration:g} s moving per run, {settings.jumps} jumps of 500 px")
    if panel:
        print(f"(the control panel was lowered below the characters and moved to {PANEL_ASIDE} at each start; "
              "PANEL=keep leaves it)")
    head = f"{'':36}{'1 char':>10}{'10 chars':>10}  {'xeyes (1/10)':>14}  {'goal 1 / 10':>13}  verdict"
    print(head)
    print("-" * len(head))
    for label, v1, v10, x, g1, g10, digits in rows:
        goal = f"{fmt(g1, 2) if g1 is not None else '-'} / {fmt(g10, 2) if g10 is not None else '-'}"
        verdicts = " ".join(v for v in (verdict(v1, g1), verdict(v10, g10)) if v)
        print(f"{label:36}{fmt(v1, digits):>10}{fmt(v10, digits):>10}  {x:>14}  {goal:>13}  {verdicts}")

    rss_d, rss_1, rss_10 = med(d, "rss_mib"), med(one, "rss_mib"), med(ten, "rss_mib")
    per = (rss_10 - rss_1) / 9 if rss_1 is not None and rss_10 is not None else None
    print()
    print(f"default characters ({settings.default_count}): resident {fmt(rss_d, 1)} MiB (goal 33: "
          f"{verdict(rss_d, 33)}), first mapped {fmt(med(d, 'first_mapped_ms'), 1)} ms, all painted "
          f"{fmt(med(d, 'all_painted_ms'), 1)} ms")
    print(f"memory per added character: {fmt(per, 3)} MiB (goal 0.5: {verdict(per, 0.5)})")
    print(f"xeyes alone, no program: X server {fmt(med(none, 'cpu_still_xserver'))}% still, "
          f"{fmt(med(none, 'cpu_moving_xserver'))}% moving; xeyes {fmt(med(none, 'cpu_moving_xeyes'))}% moving")
    warnings = []
    for name, runs in (("1", one), ("10", ten)):
        for i, r in enumerate(runs):
            if not r.get("came_to_rest", True):
                warnings.append(f"{name} chars run {i + 1}: characters had not come to rest before the still phase")
            if r.get("jump_unsettled"):
                warnings.append(f"{name} chars run {i + 1}: {r['jump_unsettled']} jump(s) did not settle")
            if r.get("jump_missed"):
                warnings.append(f"{name} chars run {i + 1}: {r['jump_missed']} reaction(s) not seen")
            if r.get("circle_late_steps"):
                warnings.append(f"{name} chars run {i + 1}: {r['circle_late_steps']} pointer steps were late")
    for w in warnings:
        print("note:", w)
    others = [r[k] for runs in (one, ten) for r in runs
              for k in ("cpu_still_others", "cpu_moving_others", "cpu_jumps_others") if r.get(k) is not None]
    if others:
        print(f"other work on the machine meanwhile: median {statistics.median(others):.0f}%, max {max(others):.0f}% "
              f"of one core ({os.cpu_count()} cores); latencies suffer when it is high")


def main():
    if len(sys.argv) != 2:
        print("usage: motion_benchmark.py BIN_DIR", file=sys.stderr)
        return 2
    settings = Settings(sys.argv[1])
    bundled = read_ini(os.path.join(settings.bin_dir, "Lookabout.ini"))
    settings.default_count = len([s for s in bundled.sections() if s != "General_Settings"])
    results = {"none": [], "default": [], "1": [], "10": []}
    with tempfile.TemporaryDirectory(prefix="lookabout-motion-") as tmp:
        # An untimed start first, so every timed start finds the libraries in the page cache.
        run_config(settings, bundled, "default", os.path.join(tmp, "warm-up"))
        for run in range(settings.runs):
            for config in ("none", "default", "1", "10"):
                r = run_config(settings, bundled, config, os.path.join(tmp, f"run{run + 1}-{config}"))
                results[config].append(r)
                shown = {k: (round(v, 2) if isinstance(v, float) else v) for k, v in r.items()
                         if not k.endswith("_all_ms")}
                print(f"run {run + 1}, {config} character(s): {json.dumps(shown)}", flush=True)
    if settings.results:
        with open(settings.results, "w") as f:
            json.dump(results, f, indent=1)
    report(settings, results)
    return 0


if __name__ == "__main__":
    sys.exit(main())
