#!/usr/bin/env bash
# Runs the demo directory server and the player on the current X display and grabs the whole
# screen three times: a TV channel playing beside the notice window (OUT.png), a radio
# channel playing after it (radio.png beside OUT.png: no picture of the TV channel may stay
# in the video area), and a music item stopped with the Stop button (stopped.png: the player
# rests, the item keeps its mark, nothing else starts).   usage: screenshot.sh BUILD_DIR OUT.png
set -euo pipefail
build="$1"
out="$2"
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

"$build/src/app/tianbo" >"$build/screenshot-player.log" 2>&1 &
player=$!
win="$(xdotool search --sync --onlyvisible --name '^天播$' | head -n 1)"
sleep 2
eval "$(xdotool getwindowgeometry --shell "$win")"

# The tab strip is at client (443, 24), 203 wide, four tabs of about 50; the first row of
# the lists at client (443, 81); the Stop button at client (4 + 42, 361 + 29) on the bar.
tab() { xdotool mousemove $((X + 443 + 25 + 50 * $1)) $((Y + 24 + 16)) click 1; sleep 0.5; }
play_first_row() { xdotool mousemove $((X + 443 + 60)) $((Y + 81 + 14)) click --repeat 2 --delay 80 1; }
# Away from the window, so no button shows its hover state.
shoot() { xdotool mousemove 5 5; sleep 0.5; import -window root "$1"; }

tab 2
play_first_row
sleep 6
shoot "$out"

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
echo "wrote $dir/radio.png and $dir/stopped.png"
