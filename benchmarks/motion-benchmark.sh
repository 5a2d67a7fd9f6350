#!/usr/bin/env bash
# Motion benchmark of the character windows: runs the real program on Xvfb (1024x768x24, no
# window manager) with the bundled characters, with 1 and with 10 followers of the pointer
# (the bundled pictures in turn, speed 40), and xeyes alone for the X server's own share, always
# with xeyes beside it, and reports medians over several runs of
#   - CPU (% of one core, /proc/PID/stat) of the program, xeyes and the X server, with the
#     pointer still (after the characters came to rest) and with the pointer moving on a circle
#     (radius 200 px, one turn in 2 s, a step every 10 ms through the X test extension),
#   - resident memory (VmRSS),
#   - the time from start to the first character mapped and to all characters painted,
#   - the latency from a 500-pixel pointer jump to the first window move and to the first
#     redraw of the eyes (xeyes: of its eyes), median and max over the jumps; each jump waits
#     until every window is at rest, then a random 0-50 ms so jumps fall anywhere in a tick.
# The X side is build/bin/lookabout_x11probe (benchmarks/x11probe.cpp); its "requests" mode
# counts the program's X requests per second, for diagnosis.
#
# Usage: benchmarks/motion-benchmark.sh [BUILD_DIR]      (default: build)
# Settings: DURATION=20 seconds still and moving each, RUNS=3, JUMPS=20,
#           RESULTS=file.json to keep every run's figures, PANEL=keep to leave the control
#           panel where the program shows it (by default it is lowered below the characters,
#           as a window manager's topmost band would keep them, and moved to the bottom edge,
#           out of their paths).
# Quick check: DURATION=3 RUNS=1 JUMPS=4 benchmarks/motion-benchmark.sh
# Needs: scripts/install-deps.sh bench (Xvfb, xeyes, the X11 headers of the probe).
set -euo pipefail

repo="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$repo/build}"

for tool in Xvfb xeyes python3 cmake; do
    command -v "$tool" >/dev/null || { echo "$tool is missing: run scripts/install-deps.sh bench" >&2; exit 2; }
done

# Always the current sources (a no-op when nothing changed); a release build with symbols.
[ -f "$build/CMakeCache.txt" ] || cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
grep -q "^CMAKE_BUILD_TYPE:STRING=\(RelWithDebInfo\|Release\)$" "$build/CMakeCache.txt" ||
    echo "note: $build is not a release build; the figures will be slower than they should" >&2
cmake --build "$build" -j2 --target Lookabout lookabout_x11probe >/dev/null
[ -x "$build/bin/lookabout_x11probe" ] || {
    echo "lookabout_x11probe was not built: run scripts/install-deps.sh bench, then configure again" >&2
    exit 2
}

exec python3 "$repo/benchmarks/motion_benchmark.py" "$build/bin"
