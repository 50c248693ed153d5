#!/usr/bin/env bash
# Runs the demo directory server and the player on the current X display, plays the first
# TV channel and grabs the whole screen; with a SCALE (a whole number, QT_SCALE_FACTOR) it
# grabs the main window alone, at that scale.   usage: screenshot.sh BUILD_DIR OUT.png [SCALE]
set -euo pipefail
build="$1"
out="$2"
scale="${3:-1}"
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

QT_SCALE_FACTOR="$scale" "$build/src/app/tianbo" >"$build/screenshot-player.log" 2>&1 &
player=$!
win="$(xdotool search --sync --onlyvisible --name '^天播$' | head -n 1)"
sleep 2
eval "$(xdotool getwindowgeometry --shell "$win")"
# The TV tab (third of four in the strip at client x 443, y 24), then a double-click on the
# first row of its list (client x 443, y 81). Client points are in the program's pixels, the
# screen's are SCALE times as many.
xdotool mousemove $((X + (443 + 125) * scale)) $((Y + (24 + 16) * scale)) click 1
sleep 0.5
xdotool mousemove $((X + (443 + 60) * scale)) $((Y + (81 + 14) * scale)) click --repeat 2 --delay 80 1
sleep 6
# Away from the window, so no button shows its hover state.
xdotool mousemove 5 5
sleep 0.5
if [ "$scale" = 1 ]; then
    import -window root "$out"
else
    import -window "$win" "$out"
fi
