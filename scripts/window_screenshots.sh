#!/bin/bash
# Writes PNG screenshots of Velmora.exe under Wine into docs/screenshots/: the sample plan loaded,
# the layer tool open with the outer walls selected and with a door swing selected, after a box
# zoom, with a toolbar tooltip, with the file menu open, the scale's distance dialog, the scale
# marks, the pen dialog, the page list, a table sheet's shaded cells as solids, and a page in
# vertical writing.
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
# A seven-page schematic when the real-world files are beside the clone, else seven plain pages.
schematic=${VELMORA_TEST_DATA:-$repo/../shared}/corpus/kicad_schematic_01.pdf
if [[ -f $schematic ]]; then cp "$schematic" "$work/schematic.pdf"
else python3 "$repo/tests/win32/make_plain_pages.py" "$work/schematic.pdf" 7 lines; fi
# A floor plan whose PDF carries its layers (optional content), when the real-world files are here.
layered=${VELMORA_TEST_DATA:-$repo/../shared}/corpus/autocad_floor_plan_01.pdf
[[ -f $layered ]] && cp "$layered" "$work/layered.pdf"
cd "$work" || exit 1

run_probe() { timeout 120 "$wine_run" "$probe" wait-window "$@" </dev/null >>"$work/probe.out" 2>&1; }
# The window with its frame, cut out of the screen; with a rectangle LEFT TOP RIGHT BOTTOM (a
# dialog's), the part of the screen that holds both.
shoot() {  # NAME [LEFT TOP RIGHT BOTTOM]
    run_probe settle
    sleep 0.5
    local window geometry position size x y x2 y2
    window=$(xdotool search --onlyvisible --name '^Velmora$' | head -1)
    geometry=$(xdotool getwindowgeometry "$window")
    position=$(awk '/Position:/ { print $2 }' <<<"$geometry")
    size=$(awk '/Geometry:/ { print $2 }' <<<"$geometry")
    x=${position%,*} y=${position#*,}
    x2=$((x + ${size%x*})) y2=$((y + ${size#*x}))
    if [ $# -eq 5 ]; then
        [ "$2" -lt "$x" ] && x=$2
        [ "$3" -lt "$y" ] && y=$3
        [ "$4" -gt "$x2" ] && x2=$4
        [ "$5" -gt "$y2" ] && y2=$5
    fi
    import -window root -crop "$((x2 - x))x$((y2 - y))+$x+$y" +repage "$out/$1.png"
    echo "wrote $out/$1.png"
}

"$wine_run" "$build/Velmora.exe" sample_plan.pdf </dev/null >"$work/velmora.log" 2>&1 &
velmora=$!
run_probe answer-after-errors "変換終了" ok answer "縮尺設定" cancel || { echo "FAIL: the sample did not open"; cat "$work/probe.out"; kill "$velmora"; exit 1; }
shoot window_sample_plan

# The layer tool beside the plan: the outer walls' layer shown and the walls picked as one figure
# by a right click on their lower side, at (300, 200) on the page.
tool="実線を長さ等でレイヤ整理(文字を除く)"
"$wine_run" "$build/velmora-convert.exe" -q -o plan.jww sample_plan.pdf </dev/null >/dev/null 2>&1
"$wine_run" "$build/jww_check.exe" plan.jww --objects </dev/null >plan_objects.txt 2>&1
wall_row=$(python3 "$repo/tests/win32/check_preview.py" wall-row plan_objects.txt) || { echo "FAIL: the walls' layer"; wall_row=0; }
run_probe client command 210 dialog "$tool" select-row "$tool" 4051 "$wall_row"
read -r width height < <(awk '/^client / { print $4, $5 }' "$work/probe.out" | tail -1)
wall=$(python3 -c "z = min($width / 1191.0, $height / 842.0); print(int(300 * z), int((842 - 200) * z))")
run_probe mouse r-down $wall r mouse r-up $wall - settle dialog-rect "$tool"
read -r left top right bottom < <(awk '/^dialog at / { print $3, $4, $5, $6 }' "$work/probe.out" | tail -1)
shoot window_layer_tool "$left" "$top" "$right" "$bottom"
run_probe press "$tool" 1 answer "注意" yes no-dialog

# The door swings' layer shown and the swing of the door at (450, 470) picked by a right click on
# its curve: the arc turns green as a line does.
swing_row=$(awk '$1 == "A" { for (i = 1; i < NF; i++) { if ($i == "layer") l = $(i + 1); if ($i == "group") g = $(i + 1) }
                 print g * 16 + l; exit }' plan_objects.txt)
run_probe command 210 dialog "$tool" select-row "$tool" 4051 "${swing_row:-0}"
swing=$(python3 -c "z = min($width / 1191.0, $height / 842.0); print(int(492.4 * z), int((842 - 512.4) * z))")
run_probe mouse r-down $swing r mouse r-up $swing - settle dialog-rect "$tool"
read -r left top right bottom < <(awk '/^dialog at / { print $3, $4, $5, $6 }' "$work/probe.out" | tail -1)
shoot window_layer_tool_arcs "$left" "$top" "$right" "$bottom"
run_probe press "$tool" 1 answer "注意" yes no-dialog

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

# The sample again, fitted: two right clicks on the title block's top corners, the distance.
run_probe drop "Z:${work//\//\\}\\sample_plan.pdf" answer-after-errors "変換終了" ok answer "縮尺設定" cancel
read -r width height < <(awk '/^client / { print $4, $5 }' "$work/probe.out" | tail -1)
corner() { python3 -c "z = min($width / 1191.0, $height / 842.0); print(int($1 * z), int((842 - $2) * z))"; }
read -r ax ay < <(corner 843 118)
read -r bx by < <(corner 1163 118)
run_probe mouse r-down "$ax" "$ay" r mouse r-up "$ax" "$ay" - mouse r-down "$bx" "$by" r mouse r-up "$bx" "$by" - \
    dialog "頁の縮尺設定" set-text 4001 11200
shoot window_scale_dialog
run_probe dialog "頁の縮尺設定" click 1 answer "縮尺設定" ok gone
shoot window_scale_marks

# The pen dialog with the inner walls' layer chosen, drawn in full colour over the dimmed page.
run_probe command 230 dialog "ペン(色)変更(線のみ)" select-row "ペン(色)変更(線のみ)" 4055 4
shoot window_pen_dialog
run_probe dialog "ペン(色)変更(線のみ)" click 1 gone

# The page list of a schematic of seven pages.
run_probe drop "Z:${work//\//\\}\\schematic.pdf" answer-after-errors "変換終了" ok command 203 dialog "頁一覧"
shoot window_page_list
run_probe dialog "頁一覧" select-row "頁一覧" 4050 2 gone

# A table sheet whose shaded cells are fills, kept as solids in their colours; only when the
# real-world files are beside the clone.
panel=${VELMORA_TEST_DATA:-$repo/../shared}/corpus/jp_power_panel_table_01.pdf
if [[ -f $panel ]]; then
    cp "$panel" "$work/panel.pdf"
    run_probe drop "Z:${work//\//\\}\\panel.pdf" answer-after-errors "変換終了" ok
    shoot window_power_panel_solids
fi

# A page set in vertical writing: each column one vertical text, its characters upright.
poem=${VELMORA_TEST_DATA:-$repo/../shared}/corpus/jp_vertical_dvipdfmx_01.pdf
if [[ -f $poem ]]; then
    cp "$poem" "$work/poem.pdf"
    run_probe drop "Z:${work//\//\\}\\poem.pdf" answer-after-errors "変換終了" ok
    shoot window_vertical_text
fi

# The PDF's layer names in the pen dialog's and the layer tool's lists.
if [[ -f layered.pdf ]]; then
    run_probe drop "Z:${work//\//\\}\\layered.pdf" answer-after-errors "変換終了" ok
    run_probe command 230 dialog "ペン(色)変更(線のみ)" select-row "ペン(色)変更(線のみ)" 4055 5
    shoot window_pen_dialog_pdf_layers
    run_probe dialog "ペン(色)変更(線のみ)" click 1 gone
    run_probe command 210 dialog "$tool" select-row "$tool" 4051 5 settle dialog-rect "$tool"
    read -r left top right bottom < <(awk '/^dialog at / { print $3, $4, $5, $6 }' "$work/probe.out" | tail -1)
    shoot window_layer_tool_pdf_layers "$left" "$top" "$right" "$bottom"
    run_probe press "$tool" 1 no-dialog
fi

run_probe command 119
wait "$velmora"
