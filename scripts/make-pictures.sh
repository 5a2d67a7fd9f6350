#!/usr/bin/env bash
# Makes the README's pictures: runs Lookabout with its bundled characters on a virtual X display (Xvfb), moves
# the pointer with xdotool, and writes a screenshot and a short animated GIF of the characters following and
# fleeing it. The pointer is drawn into both pictures (a screen grab does not show it).
#
#   scripts/make-pictures.sh [<Lookabout executable> [<output folder>]]
#
# Defaults: build/bin/Lookabout and docs/. Writes <output folder>/screenshot.png and <output folder>/lookabout.gif.
# The program runs from a fresh folder with the bundled Lookabout.ini and pictures of data/, so your own
# characters are neither shown nor changed. Needs Xvfb, xdotool and ImageMagick (scripts/install-deps.sh).
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
executable=${1:-$repo/build/bin/Lookabout}
output=${2:-$repo/docs}
width=1024
height=768
fps=10
seconds=5
# The animation shows the part of the screen where things happen, a little smaller.
gif_crop=880x678+0+90
gif_scale=70%

for tool in Xvfb xdotool import convert display; do
    command -v "$tool" >/dev/null || { echo "make-pictures: $tool is missing (scripts/install-deps.sh installs it)" >&2; exit 1; }
done
[ -x "$executable" ] || { echo "make-pictures: no Lookabout executable at $executable (build it first)" >&2; exit 1; }
mkdir -p "$output"
output=$(cd "$output" && pwd)

work=$(mktemp -d "${TMPDIR:-/tmp}/lookabout-pictures.XXXXXX")
xvfb_pid=""
program_pid=""
finish() {
    # Only what this script started, by its own process ids.
    if [ -n "$program_pid" ] && kill -0 "$program_pid" 2>/dev/null; then
        kill -TERM "$program_pid" 2>/dev/null || true
        wait "$program_pid" 2>/dev/null || true
    fi
    if [ -n "$xvfb_pid" ]; then
        kill -TERM "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap finish EXIT
trap 'exit 130' INT TERM

# The program folder: a copy of the executable (it reads the settings next to its resolved path) and the bundled
# characters.
mkdir "$work/program" "$work/frames"
cp "$executable" "$work/program/Lookabout"
cp "$repo/data/Lookabout.ini" "$repo"/data/*.bmp "$repo"/data/*.gif "$work/program/"

# Xvfb picks a free display itself and writes its number once it takes connections.
Xvfb -displayfd 1 -screen 0 "${width}x${height}x24" -nolisten tcp -noreset >"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || { cat "$work/xvfb.log" >&2; exit 1; }
    sleep 0.1
done
[ -s "$work/display" ] || { echo "make-pictures: Xvfb did not start" >&2; exit 1; }
DISPLAY=":$(head -n1 "$work/display")"
export DISPLAY
unset WAYLAND_DISPLAY XDG_SESSION_TYPE QT_QPA_PLATFORM QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS SESSION_MANAGER
export XAUTHORITY="$work/no-xauthority" QT_ACCESSIBILITY=0 NO_AT_BRIDGE=1

# A quiet desktop behind the characters: one colour for the animation, which has few colours to spend; a gradient
# for the screenshot.
desktop() {
    convert -size "${width}x${height}" "$1" "$work/desktop.png"
    display -window root "$work/desktop.png" 2>/dev/null || true
}

pointer() { xdotool mousemove "$1" "$2"; }

start_program() {
    "$work/program/Lookabout" >"$work/program.log" 2>&1 &
    program_pid=$!
    for _ in $(seq 100); do
        [ "$(xdotool search --onlyvisible --name '^Character$' 2>/dev/null | wc -l)" -ge 4 ] && break
        kill -0 "$program_pid" 2>/dev/null || { cat "$work/program.log" >&2; exit 1; }
        sleep 0.1
    done
    panel=$(xdotool search --onlyvisible --name '^Lookabout$' 2>/dev/null | head -n1 || true)
}

stop_program() {
    kill -TERM "$program_pid"
    wait "$program_pid" || true
    program_pid=""
}

# The arrow of the pointer at (x, y), size times s, as an ImageMagick drawing.
arrow() {
    awk -v x="$1" -v y="$2" -v s="$3" 'BEGIN {
        split("0 0 0 18 4 14 7 21 10 20 7 13 13 13", p, " ");
        printf "polygon";
        for (i = 1; i < 14; i += 2) printf " %.1f,%.1f", x + p[i] * s, y + p[i + 1] * s; }'
}
draw_pointer() { # file x y scale [output]
    convert "$1" -fill white -stroke black -strokewidth "$(awk -v s="$4" 'BEGIN { print 1.2 * s }')" \
        -draw "$(arrow "$2" "$3" "$4")" "${5:-$1}"
}

# The animation: the pointer comes down the left side and pushes Bouncy from below, which runs away ahead of it;
# Sunny follows the pointer and Froggy follows Sunny; Whiskers stays and watches.
# Where the pointer is at frame i of n: three legs between these points, the last one held.
path_point() {
    awk -v i="$1" -v n="$2" 'BEGIN {
        split("200 190 50 600 160 720 440 470", p, " ");
        t = i / n * 3;
        leg = int(t); if (leg > 2) leg = 2;
        f = t - leg; f = f * f * (3 - 2 * f);  # ease in and out
        x0 = p[2 * leg + 1]; y0 = p[2 * leg + 2]; x1 = p[2 * leg + 3]; y1 = p[2 * leg + 4];
        printf "%d %d\n", x0 + (x1 - x0) * f, y0 + (y1 - y0) * f }'
}
desktop xc:'#4d6f91'
pointer 200 190
start_program
[ -n "$panel" ] && xdotool windowunmap "$panel"
frames=$((fps * seconds))
sleep 0.5
start=$(date +%s%N)
for i in $(seq 0 $((frames - 1))); do
    read -r x y < <(path_point "$i" "$frames")
    pointer "$x" "$y"
    # Keep the pace: frame i is taken at i / fps seconds.
    due=$((start + i * 1000000000 / fps))
    now=$(date +%s%N)
    if [ "$now" -lt "$due" ]; then
        sleep "$(awk -v d=$((due - now)) 'BEGIN { printf "%.3f", d / 1e9 }')"
    fi
    name=$(printf %03d "$i")
    import -window root "$work/frames/$name.miff"
    echo "$x $y" >"$work/frames/$name.pointer"
done
elapsed=$(( ($(date +%s%N) - start) / 1000000 ))
stop_program
# The GIF's delay in hundredths of a second per frame, as fast as the frames were really taken.
delay=$(( (elapsed + frames * 5) / (frames * 10) ))
for f in "$work"/frames/*.miff; do
    read -r x y <"${f%.miff}.pointer"
    draw_pointer "$f" "$x" "$y" 1.4
done
convert -delay "$delay" -loop 0 "$work"/frames/*.miff -crop "${gif_crop}" +repage -resize "$gif_scale" \
    +dither -colors 48 -layers Optimize "$output/lookabout.gif"

# The screenshot, on a fresh start: the pointer has led Sunny a little to the right, Froggy hops after Sunny,
# Whiskers watches, Bouncy keeps its distance; the control panel stands below.
desktop gradient:'#7fa6c9'-'#2e4a66'
pointer 330 240
start_program
if [ -n "$panel" ]; then
    read -r panel_width panel_height < <(xdotool getwindowgeometry --shell "$panel" |
        awk -F= '$1 == "WIDTH" { w = $2 } $1 == "HEIGHT" { h = $2 } END { print w, h }')
    xdotool windowmove "$panel" $((width - panel_width - 24)) $((height - panel_height - 8))
fi
sleep 1.5
import -window root "$work/screen.png"
draw_pointer "$work/screen.png" 330 240 1 "$output/screenshot.png"

echo "Screenshot: $output/screenshot.png"
echo "Animation:  $output/lookabout.gif ($frames frames, $(( $(stat -c %s "$output/lookabout.gif") / 1024 )) KiB)"
