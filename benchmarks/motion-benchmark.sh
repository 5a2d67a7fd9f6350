#!/usr/bin/env bash
# Motion benchmark of the character windows: measures Lookabout with 1 and 10 followers of the
# pointer (the bundled pictures in turn, speed 40) against xeyes -shape and against a bare Qt
# program of the same shaped face windows (benchmarks/BareQtWindows.cpp, 1 and 10 windows, one
# 22 ms timer). Each set-up runs alone on a fresh Xvfb (1024x768x24, no window manager), round
# after round, and the report gives medians over the rounds of
#   - CPU (% of one core, the threads' run time) of the program and of the X server, with the
#     pointer still (after the windows came to rest) and with the pointer moving on a circle
#     (radius 200 px, one turn in 2 s, a step every 10 ms through the X test extension),
#   - resident memory (VmRSS) and the time from start to the first window mapped,
#   - while still: the program's context switches per second (all its threads) and the X
#     requests it sends per second (RECORD extension, counted for 5 s after the CPU),
#   - for Lookabout, the latency from a 500-pixel pointer jump to the first window move and
#     to the first redraw of the eyes; each jump waits until every window is at rest, then a
#     random 0-50 ms so jumps fall anywhere in a tick,
# then the goals: the figures while still, the ratios to the bare Qt program, memory and the
# jump latency, each with its verdict.
# The X side is build/bin/lookabout_x11probe (benchmarks/x11probe.cpp).
#
# Usage: benchmarks/motion-benchmark.sh [BUILD_DIR]      (default: build)
# Settings: ROUNDS=5, STILL=15 and MOVING=15 seconds per round (DURATION sets both, RUNS is
#           ROUNDS), JUMPS=6 per round of each Lookabout set-up, RESULTS=file.json to keep
#           every round's figures, PANEL=keep to leave the control panel where the program
#           shows it (by default it is lowered below the characters, as a window manager's
#           topmost band would keep them, and moved to the bottom edge, out of their paths).
# A full run takes about 15 minutes; a quick check: ROUNDS=1 STILL=3 MOVING=3 JUMPS=4
# Needs: scripts/install-deps.sh bench (Xvfb, xeyes, the X11 headers of the probe).
set -euo pipefail

repo="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$repo/build}"

for tool in Xvfb xeyes python3 cmake; do
    command -v "$tool" >/dev/null || { echo "$tool is missing: run scripts/install-deps.sh bench" >&2; exit 2; }
done

# Always the current sources (a no-op when nothing changed); a release build.
[ -f "$build/CMakeCache.txt" ] ||
    cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DLOOKABOUT_BUILD_TESTS=OFF >/dev/null
grep -q "^CMAKE_BUILD_TYPE:STRING=\(RelWithDebInfo\|Release\)$" "$build/CMakeCache.txt" ||
    echo "note: $build is not a release build; the figures will be slower than they should" >&2
cmake --build "$build" -j2 --target Lookabout lookabout_bare_qt lookabout_x11probe >/dev/null
[ -x "$build/bin/lookabout_x11probe" ] || {
    echo "lookabout_x11probe was not built: run scripts/install-deps.sh bench, then configure again" >&2
    exit 2
}

exec python3 "$repo/benchmarks/motion_benchmark.py" "$build/bin"
