#!/bin/bash
# Writes PNG screenshots of Velmora.exe under Wine into docs/screenshots/: the sample plan loaded,
# after a box zoom, with a toolbar tooltip, and with the file menu open.
# Usage: scripts/window_screenshots.sh [MinGW build folder]   (default build/mingw; build it first)
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
set -- "${1:-$root/build/mingw}"
. "$root/scripts/wine_session.sh"

out="$repo/docs/screenshots"
work="$build/screenshots-work"
probe="$build/velmora_gui_probe.exe"
wine_run="$repo/cmake/wine-run.sh"
mkdir -p "$out"
rm -rf "$work"
mkdir -p "$work"
cp "$repo"/data/* "$work"/
cp "$repo/samples/sample_plan.pdf" "$work/"
cd "$work" || exit 1

run_probe() { timeout 120 "$wine_run" "$probe" wait-window "$@" </dev/null >>"$work/probe.out" 2>&1; }
# The window with its frame, cut out of the screen.
shoot() {  # NAME
    run_probe settle
    sleep 0.5
    local window geometry position size
    window=$(xdotool search --onlyvisible --name '^Velmora$' | head -1)
    geometry=$(xdotool getwindowgeometry "$window")
    position=$(awk '/Position:/ { print $2 }' <<<"$geometry")
    size=$(awk '/Geometry:/ { print $2 }' <<<"$geometry")
    import -window root -crop "${size%x*}x${size#*x}+${position%,*}+${position#*,}" +repage "$out/$1.png"
    echo "wrote $out/$1.png"
}

"$wine_run" "$build/Velmora.exe" sample_plan.pdf </dev/null >"$work/velmora.log" 2>&1 &
velmora=$!
run_probe answer-after-errors "変換終了" ok || { echo "FAIL: the sample did not open"; cat "$work/probe.out"; kill "$velmora"; exit 1; }
shoot window_sample_plan

# The living room and the hall with their doors.
run_probe mouse r-down 220 300 r mouse l-down 220 300 lr mouse move 520 500 lr mouse l-up 520 500 r mouse r-up 520 500 -
shoot window_box_zoom

# A real pointer over the toolbar's "レイヤ整理" button brings up its tooltip.
run_probe client
read -r client_x client_y _ _ < <(awk '/^client / { print $2, $3, $4, $5 }' "$work/probe.out" | tail -1)
xdotool mousemove $((client_x + 190)) $((client_y + 13))
sleep 2
shoot window_tooltip

# The file menu, opened with a click on the menu bar above the client area.
xdotool mousemove $((client_x + 25)) $((client_y - 9)) click 1
sleep 1
shoot window_menu
xdotool key Escape
sleep 0.5

run_probe command 119
wait "$velmora"
