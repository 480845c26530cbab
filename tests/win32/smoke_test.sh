#!/bin/bash
# Smoke test of Velmora.exe under Wine: the main window appears with the size the program derives
# from the screen height, a screenshot is saved, and alt+F4 ends the program with exit status 0.
# Usage: tests/win32/smoke_test.sh <MinGW build folder>   (DISPLAY must name a running Xvfb)
set -u

fail() { echo "smoke test FAIL: $*"; exit 1; }

[ $# -eq 1 ] && [ -d "$1" ] || { echo "usage: $0 <MinGW build folder>" >&2; exit 2; }
build=$(cd "$1" && pwd)
repo=$(cd "$(dirname "$0")/../.." && pwd)
exe="$build/Velmora.exe"
[ -n "${DISPLAY:-}" ] || fail "DISPLAY is not set (start Xvfb first)"
[ -f "$exe" ] || fail "$exe not found"
screen=$(xdpyinfo 2>/dev/null | awk '/dimensions:/ { print $2; exit }')
[ -n "$screen" ] || fail "cannot read the screen size of $DISPLAY"
screen_height=${screen#*x}

# The program reads its settings from the current directory: give it the shipped ones.
work="$build/smoke"
rm -rf "$work"
mkdir -p "$work"
if compgen -G "$repo/data/*" >/dev/null; then cp "$repo"/data/* "$work"/; fi
log="$build/smoke_wine.log"

cd "$work" || fail "cannot enter $work"
"$repo/cmake/wine-run.sh" "$exe" </dev/null >"$log" 2>&1 &
pid=$!
finished=0
exit_status=""
cleanup() {
    if [ "$finished" -eq 0 ] && kill -0 "$pid" 2>/dev/null; then
        kill "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
    fi
}
trap cleanup EXIT

# Window titles are matched exactly; a message box titled "Velmora" would be a second match.
windows=""
for _ in $(seq 300); do
    windows=$(xdotool search --onlyvisible --name '^Velmora$' 2>/dev/null)
    [ -n "$windows" ] && break
    kill -0 "$pid" 2>/dev/null || { wait "$pid"; fail "Velmora.exe ended (status $?) before showing a window"; }
    sleep 0.1
done
[ -n "$windows" ] || fail "no visible window titled Velmora within 30 s"
sleep 0.5  # let a message box shown right after start-up appear too
windows=$(xdotool search --onlyvisible --name '^Velmora$' 2>/dev/null)
count=$(printf '%s\n' "$windows" | wc -l)
[ "$count" -eq 1 ] || fail "$count visible windows titled Velmora (a message box at start-up?)"
window=$windows

# The window is as wide as the screen is high and 0.7 of that high (the frame may add a few pixels).
geometry=$(xdotool getwindowgeometry "$window" | awk '/Geometry:/ { print $2 }')
width=${geometry%x*}
height=${geometry#*x}
expected_width=$screen_height
expected_height=$((screen_height * 7 / 10))
echo "screen $screen, window ${width}x${height}, expected about ${expected_width}x${expected_height}"
within() { local d=$(($1 - $2)); [ "${d#-}" -le "$3" ]; }
within "$width" "$expected_width" 16 || fail "window width $width, expected about $expected_width"
within "$height" "$expected_height" 40 || fail "window height $height, expected about $expected_height"

import -window root "$build/smoke_screenshot.png" || fail "screenshot failed"
echo "screenshot: $build/smoke_screenshot.png"

# Keyboard focus follows the pointer; Wine turns alt+F4 into WM_CLOSE. A key may be lost: retry.
for attempt in 1 2 3 4 5; do
    xdotool mousemove --window "$window" 200 200 2>/dev/null
    xdotool key --clearmodifiers alt+F4 2>/dev/null
    for _ in $(seq 30); do
        kill -0 "$pid" 2>/dev/null || break 2
        sleep 0.1
    done
    echo "alt+F4 attempt $attempt did not close the window"
done
if kill -0 "$pid" 2>/dev/null; then
    fail "Velmora.exe still running after five alt+F4"
fi
wait "$pid"
exit_status=$?
finished=1
[ "$exit_status" -eq 0 ] || fail "Velmora.exe exit status $exit_status"
echo "Velmora.exe closed with status 0"
exit 0
