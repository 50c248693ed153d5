#!/usr/bin/env bash
# Runs the demo directory server and the player on the current X display and grabs the whole
# screen five times: a TV channel playing beside the notice window (OUT.png), the same in
# fullscreen with the control bar shown (fullscreen.png), a radio channel playing after it
# (radio.png beside OUT.png: no picture of the TV channel may stay in the video area), a
# music item stopped with the Stop button (stopped.png: the player rests, the item keeps its
# mark, nothing else starts), and the main menu open (menu.png).
# The player runs with a settings file of its own, made afresh. With a SCALE (a whole number,
# QT_SCALE_FACTOR) it grabs only the main window with the TV channel playing, at that scale.
# usage: screenshot.sh BUILD_DIR OUT.png [SCALE]
set -euo pipefail
build="$1"
out="$2"
scale="${3:-1}"
dir="$(dirname "$out")"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

python3 "$here/tools/demo_server/demo_server.py" --cache "$build/demo-cache" --quiet &
server=$!
player=""
cleanup() {
    [ -n "$player" ] && kill "$player" 2>/dev/null || true
    kill "$server" 2>/dev/null || true
}
trap cleanup EXIT
python3 "$here/tools/demo_server/demo_server.py" --wait-ready

settings="$build/screenshot-settings/tianbo.conf"
rm -rf "$(dirname "$settings")"
QT_SCALE_FACTOR="$scale" "$build/src/app/tianbo" --new-instance --config "$settings" >"$build/screenshot-player.log" 2>&1 &
player=$!
win="$(xdotool search --sync --onlyvisible --name '^天播$' | head -n 1)"
sleep 2
eval "$(xdotool getwindowgeometry --shell "$win")"

# The tab strip is at client (443, 24), 203 wide, four tabs of about 50; the first row of
# the lists at client (443, 81); the Stop button at client (4 + 42, 361 + 29) on the bar.
# Client points are in the program's pixels, the screen's are SCALE times as many.
tab() { xdotool mousemove $((X + (443 + 25 + 50 * $1) * scale)) $((Y + (24 + 16) * scale)) click 1; sleep 0.5; }
play_first_row() { xdotool mousemove $((X + (443 + 60) * scale)) $((Y + (81 + 14) * scale)) click --repeat 2 --delay 80 1; }
# Away from the window, so no button shows its hover state.
shoot() { xdotool mousemove 5 5; sleep 0.5; import -window root "$1"; }

tab 2
play_first_row
sleep 6
if [ "$scale" != 1 ]; then
    xdotool mousemove 5 5
    sleep 0.5
    import -window "$win" "$out"
    exit 0
fi
shoot "$out"

# F: fullscreen; a move of the pointer over the picture brings the control bar.
xdotool mousemove 640 400 key f
sleep 1
xdotool mousemove 600 380
sleep 0.5
import -window root "$dir/fullscreen.png"
xdotool key Escape
sleep 1

tab 3
play_first_row
sleep 5
shoot "$dir/radio.png"

tab 1
play_first_row
sleep 4
xdotool mousemove $((X + 4 + 42 + 13)) $((Y + 361 + 29 + 13)) click 1
sleep 3
shoot "$dir/stopped.png"

# The caption's menu button, 85 pixels left of the client area's right edge.
xdotool mousemove $((X + WIDTH - 85 + 5)) $((Y + 6 + 5)) click 1
sleep 1
xdotool mousemove $((X + WIDTH - 85 + 40)) $((Y + 30 + 3 * 22))
sleep 0.5
import -window root "$dir/menu.png"
xdotool key Escape
echo "wrote $dir/fullscreen.png, $dir/radio.png, $dir/stopped.png and $dir/menu.png"
