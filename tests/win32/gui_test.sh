#!/bin/bash
# The window under Wine, driven as a user drives it: Velmora.exe is started for real, commands,
# drops, wheel and button messages reach it through velmora_gui_probe.exe, message boxes and file
# dialogs are answered, and what the user sees is checked: the status bar, the messages, the
# written files, and screenshots of the preview.
# Usage: tests/win32/gui_test.sh <MinGW build folder>   (DISPLAY must name a running Xvfb)
set -u

[ $# -eq 1 ] && [ -d "$1" ] || { echo "usage: $0 <MinGW build folder>" >&2; exit 2; }
build=$(cd "$1" && pwd)
repo=$(cd "$(dirname "$0")/../.." && pwd)
wine_run="$repo/cmake/wine-run.sh"
checker="$repo/tests/win32/check_preview.py"
saved_checker="$repo/tests/win32/check_saved.py"
work="$build/gui"
failures=0
velmora_pid=""

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
ok() { echo "ok: $*"; }
windows_path() { local path=$1; echo "Z:${path//\//\\}"; }

for tool in "$build/Velmora.exe" "$build/velmora_gui_probe.exe" "$build/jww_check.exe" "$build/velmora-convert.exe"; do
    [ -f "$tool" ] || { echo "FAIL: $tool not found"; exit 1; }
done
[ -n "${DISPLAY:-}" ] || { echo "FAIL: DISPLAY is not set (start Xvfb first)"; exit 1; }

rm -rf "$work"
mkdir -p "$work"
cp "$repo"/data/* "$work"/
cp "$repo/samples/sample_plan.pdf" "$work/plan.pdf"
cp "$repo/samples/sample_plan.pdf" "$work/PLAN.PDF"
printf 'not a drawing' >"$work/PLAN.TXT"
# Built here rather than taken from the real-world files, which a bare clone does not have: an A4
# page that draws nothing, and seven A4 pages with a frame and a diagonal each.
python3 "$repo/tests/win32/make_plain_pages.py" "$work/no_vectors.pdf" 1 empty || exit 1
python3 "$repo/tests/win32/make_plain_pages.py" "$work/pages.pdf" 7 lines || exit 1
python3 "$repo/tests/win32/make_plain_pages.py" "$work/one_page.pdf" 1 lines || exit 1
python3 "$repo/tests/win32/make_plain_pages.py" "$work/raster.pdf" 1 raster || exit 1
python3 "$repo/tests/win32/make_plain_pages.py" "$work/vertical.pdf" 1 vertical || exit 1
qpdf --encrypt openpassword ownersecret 256 -- "$work/one_page.pdf" "$work/protected.pdf" ||
    { echo "FAIL: qpdf could not protect a file (scripts/install_deps.sh --tests installs it)"; exit 1; }
cd "$work" || exit 1

# Every probe run is bounded; its output is kept and shown.
probe() {  # NAME STEPS...
    local name=$1
    shift
    timeout 120 "$wine_run" "$build/velmora_gui_probe.exe" "$@" </dev/null >"$work/$name.out" 2>&1
    local status=$?
    # The probe's first step always prints; no output at all means Wine never started it (seen once
    # on a loaded machine), so nothing was sent to the window and the run is repeated once.
    if [ "$status" -ne 0 ] && [ ! -s "$work/$name.out" ]; then
        echo "    (the probe printed nothing, status $status: run again)"
        timeout 120 "$wine_run" "$build/velmora_gui_probe.exe" "$@" </dev/null >"$work/$name.out" 2>&1
        status=$?
    fi
    sed 's/^/    /' "$work/$name.out"
    return $status
}

start_velmora() {  # ARGS...
    "$wine_run" "$build/Velmora.exe" "$@" </dev/null >>"$work/velmora.log" 2>&1 &
    velmora_pid=$!
}

# Closed by its menu command; exit status 0 within 30 s, or it is stopped and the test fails.
stop_velmora() {
    probe close wait-window command 119 || fail "the exit command could not be sent"
    for _ in $(seq 300); do
        kill -0 "$velmora_pid" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$velmora_pid" 2>/dev/null; then
        kill "$velmora_pid"
        fail "Velmora.exe still running 30 s after the exit command"
    fi
    wait "$velmora_pid"
    local status=$?
    [ "$status" -eq 0 ] && ok "Velmora.exe ended with status 0" || fail "Velmora.exe ended with status $status"
    velmora_pid=""
}
cleanup() { [ -n "$velmora_pid" ] && kill "$velmora_pid" 2>/dev/null; }
trap cleanup EXIT

client=""
screenshot() {  # NAME: the whole screen, after the window has painted
    probe "settle-$1" wait-window settle >/dev/null || fail "the window did not settle before $1"
    import -window root "$work/$1.png" || fail "screenshot $1"
}
read_client() {
    probe client wait-window client >/dev/null
    client=$(awk '/^client / { print $2 "," $3 "," $4 "," $5 }' "$work/client.out")
    [ -n "$client" ] || fail "no client area reported"
}
expect_output() {  # NAME TEXT: the probe NAME's output holds TEXT
    grep -qF -- "$2" "$work/$1.out" && ok "$1: $2" || fail "$1: expected '$2'"
}
no_error_box() {  # NAME: the probe NAME answered no box titled エラー (a file converted without loss)
    local boxes
    boxes=$(grep -c '^message エラー:' "$work/$1.out")
    ((boxes == 0)) && ok "$1: no error box" || fail "$1: $boxes error boxes for a file converted without loss"
}

echo "== the sample plan through the open dialog"
start_velmora
status_a3=" Page = 1 / 1      Paper = A3       Scale = 1 / 1"
probe open wait-window command 111 file "PDFファイルを選択" "$(windows_path "$work/plan.pdf")" \
    answer-after-errors "変換終了" ok answer "縮尺設定" cancel expect-status 0 "【単独変換】" expect-status 1 "$status_a3" ||
    fail "opening the sample through the open dialog"
expect_output open "単独変換で 1 頁 読込・変換しました"
no_error_box open

echo "== saving the page as JWW and reading it back"
probe save wait-window command 112 file "jww ファイルを保存" "$(windows_path "$work/saved.jww")" no-dialog ||
    fail "the save command"
"$wine_run" "$build/jww_check.exe" saved.jww --objects </dev/null >saved_objects.txt 2>&1 || fail "jww_check cannot read saved.jww"
"$wine_run" "$build/velmora-convert.exe" -q -o converted.jww plan.pdf </dev/null >/dev/null 2>&1
"$wine_run" "$build/jww_check.exe" converted.jww </dev/null >converted_counts.txt 2>&1
# Saved right after opening, the page is the file velmora-convert writes, byte for byte (group
# numbers included, which rise with every conversion of the file).
if cmp -s saved.jww converted.jww && grep -qE '^lines [1-9]' saved_objects.txt; then
    ok "the saved page is velmora-convert's file byte for byte: $(grep -E '^(lines|texts) ' saved_objects.txt | tr '\n' ' ')"
else
    fail "saved.jww differs from velmora-convert's file"; cmp saved.jww converted.jww
    cat saved_objects.txt converted_counts.txt | grep -vE '^[LT] '
fi

echo "== the preview's pixels in the pens' colours, after the wheel and the two-button gestures"
read_client
echo "client area $client"
screenshot fitted
python3 "$checker" lines fitted.png "$client" fit saved_objects.txt VELMORA.JWF || fail "the fitted page's lines"
python3 "$checker" arcs fitted.png "$client" fit saved_objects.txt VELMORA.JWF || fail "the circle and the door swings"
IFS=, read -r _ _ width height <<<"$client"
fit_zoom=$(python3 -c "print(min($width / 1191.0, $height / 842.0))")
mx=100
my=400
probe wheel wait-window wheel 120 $mx $my settle >/dev/null || fail "the wheel"
screenshot wheel
# Forward with the default WHEEL setting: zoom x 1.2 about the mouse, from the fitted view at 0, 0.
view=$(python3 -c "z=$fit_zoom; z1=z*1.2; print('%r,%r,%r' % (z1, $mx - $mx / z * z1, $my - $my / z * z1))")
python3 "$checker" lines wheel.png "$client" "$view" saved_objects.txt VELMORA.JWF || fail "the page after a wheel turn"
# A two-button drag up and to the right fits the whole page again.
probe fit wait-window mouse r-down 500 400 r mouse l-down 500 400 lr mouse move 600 300 lr \
    mouse l-up 600 300 r mouse r-up 600 300 - settle >/dev/null || fail "the fit drag"
screenshot refitted
python3 "$checker" same fitted.png refitted.png "$client" || fail "the fit drag did not restore the fitted page"
# A drag down and to the right zooms into the box; down and to the left goes back.
probe box wait-window mouse r-down 10 330 r mouse l-down 10 330 lr mouse move 400 560 lr \
    mouse r-up 400 560 l mouse l-up 400 560 - settle >/dev/null || fail "the box drag"
screenshot box_zoom
view=$(python3 -c "
z = $fit_zoom; W, H = $width, $height
bw, bh = 400 - 10 + 1, 560 - 330 + 1
f = (H - 27) / bh if bh / bw > (H - 27) / (W + 1) else (W + 1) / bw
z1 = min(z * f, 50); cx, cy = (400 + 10) // 2, (560 + 330) // 2
print('%r,%r,%r' % (z1, W * 0.5 - cx / z * z1, H * 0.5 - cy / z * z1))")
python3 "$checker" lines box_zoom.png "$client" "$view" saved_objects.txt VELMORA.JWF || fail "the page after a box zoom"
probe back wait-window mouse r-down 400 100 r mouse l-down 400 100 lr mouse move 200 300 lr \
    mouse l-up 200 300 r mouse r-up 200 300 - settle >/dev/null || fail "the back drag"
screenshot back
python3 "$checker" same fitted.png back.png "$client" || fail "going back did not restore the view before the box zoom"

echo "== the report"
probe report wait-window command 115 file "PDFレポートを保存" "$(windows_path "$work/report.txt")" no-dialog ||
    fail "the report command"
head -c 11 report.txt 2>/dev/null | grep -q "^FileName : " && ok "report.txt written" || fail "report.txt missing or wrong"

echo "== refused drops, help texts and the version"
probe refusals wait-window drop "$(windows_path "$work/plan.pdf")" "$(windows_path "$work/pages.pdf")" \
    answer "エラー" ok drop "$(windows_path "$work/PLAN.TXT")" answer "エラー" ok \
    expect-status 1 "$status_a3" command 121 answer "バージョン" ok \
    command 150 answer "変換コマンド" ok command 155 answer "変換コマンド" ok command 152 answer "出力コマンド" ok \
    command 154 answer "縮尺設定" ok command 156 answer "レイヤ整理" ok command 157 answer "Pen番号(線色)変更" ok \
    command 153 answer "出力コマンド" ok no-dialog || fail "the refusals and help texts"
expect_output refusals "message エラー: 複数のファイルを同時には開けません"
expect_output refusals "message エラー: PDF ファイルではありません"
expect_output refusals "message バージョン: Velmora ver 1.5"
expect_output refusals "message 出力コマンド: 今表示している頁を JW_CAD 形式のデータファイルで出力します。"

echo "== the Ghostscript route without Ghostscript"
probe ghostscript wait-window command 205 answer "エラー" ok answer "情報" ok no-dialog ||
    fail "the Ghostscript command"
expect_output ghostscript "message エラー: GhostScriptが見つかりません"
stop_velmora

echo "== the scale the sheet prints, offered once and taken with OK"
start_velmora plan.pdf
probe stated_scale wait-window answer-after-errors "変換終了" ok answer "縮尺設定" ok \
    expect-status 1 " Page = 1 / 1      Paper = A3       Scale = 1 / 100" no-dialog ||
    fail "the offered scale of the sample"
expect_output stated_scale "図面に縮尺 1/100 の記載があります。この縮尺を使いますか？"
stop_velmora

echo "== the pen of one layer changed in the pen dialog, and the saved file carrying it"
start_velmora plan.pdf
probe tools_open wait-window answer-after-errors "変換終了" ok answer "縮尺設定" cancel expect-status 1 "$status_a3" ||
    fail "opening the sample from the command line"
no_error_box tools_open
save_objects() {  # NAME: the page saved as NAME.jww, its objects and groups into NAME.txt
    probe "save-$1" wait-window command 112 file "jww ファイルを保存" "$(windows_path "$work/$1.jww")" no-dialog ||
        fail "saving $1.jww"
    "$wine_run" "$build/jww_check.exe" "$1.jww" --groups --objects </dev/null >"$1.txt" 2>&1 || fail "jww_check cannot read $1.jww"
}
save_objects plain
# The inner wall's layer gets another pen: pen 3, or 4 where it has 3 already.
read -r group layer pen < <(python3 "$saved_checker" layer plain.txt 450 200 450 470)
new_pen=$([ "$pen" = 3 ] && echo 4 || echo 3)
row=$((group * 16 + layer))
pen_title="ペン(色)変更(線のみ)"
probe pen_rows wait-window command 230 dialog "$pen_title" rows 4055 checks 4031 4038 ||
    fail "opening the pen dialog"
expect_output pen_rows "selected 0"
grep -q "^row 127: " pen_rows.out && ok "the pen dialog lists 128 rows" || fail "the pen dialog does not list 128 rows"
# Its rows are those of the summary: group, layer, lines, width and pen of the layer's last line.
count=$(grep -c "layer $layer group $group " plain.txt)
grep -qE "^row $row: +$group +$(printf %x "$layer") +$count +[0-9.]+ +$pen\$" pen_rows.out &&
    ok "row $row: group $group, layer $layer, $count lines, pen $pen" || fail "row $row does not show $count lines of pen $pen"
probe pen_change wait-window dialog "$pen_title" select-row "$pen_title" 4055 "$row" checks 4031 4038 click $((4030 + new_pen)) \
    checks 4031 4038 click 1 gone no-dialog || fail "changing the pen"
expect_output pen_change "checked $((4030 + pen))"
expect_output pen_change "checked $((4030 + new_pen))"
save_objects pens
python3 "$saved_checker" pens plain.txt pens.txt "$group" "$layer" "$new_pen" || fail "the saved pens"
read_client
screenshot pens
python3 "$checker" lines pens.png "$client" fit pens.txt VELMORA.JWF || fail "the preview after the pen change"

echo "== the scale from two right clicks on the title block's corners and a typed distance"
IFS=, read -r _ _ width height <<<"$client"
corner() { python3 -c "z = min($width / 1191.0, $height / 842.0); print(int($1 * z), int((842 - $2) * z))"; }
read -r ax ay < <(corner 843 118)
read -r bx by < <(corner 1163 118)
# One point held: the rubber line follows the mouse and no page may be turned.
probe first_point wait-window mouse r-down "$ax" "$ay" r mouse r-up "$ax" "$ay" - mouse move 700 300 - \
    command 202 answer "注意" ok no-dialog || fail "the first picked point"
expect_output first_point "message 注意: 縮尺設定中は頁切り替えできません"
# 320 points are 112.89 mm on paper; 11,200 mm real is 1/99.2, which rounds to 1/100. After the
# pen dialog showed pen 3 or 4 neither placement is chosen, so every page takes the scale.
probe second_point wait-window mouse r-down "$bx" "$by" r mouse r-up "$bx" "$by" - dialog "頁の縮尺設定" \
    text 4001 checks 4031 4032 set-text 4001 11200 click 1 answer "縮尺設定" ok gone \
    expect-status 1 " Page = 1 / 1      Paper = A3       Scale = 1 / 100" no-dialog || fail "the distance dialog"
expect_output second_point "text 4001: 1000.00"
grep -qx "checked" second_point.out && ok "neither placement is checked after the pen dialog" ||
    fail "a placement is checked after the pen dialog showed pen $new_pen"
expect_output second_point "message 縮尺設定: 全ての頁の縮尺を 1/100 に設定しました"
save_objects scaled
factor=$(python3 -c "print(repr(11200 / (320 * 0.352777) / 100))")
python3 "$saved_checker" scaled pens.txt scaled.txt "$factor" 100 || fail "the scaled file"
# A page with a scale asks before it is measured again; Cancel keeps the scale.
probe keep_scale wait-window mouse r-down "$ax" "$ay" r mouse r-up "$ax" "$ay" - answer "縮尺設定変更" cancel \
    expect-status 1 " Page = 1 / 1      Paper = A3       Scale = 1 / 100" no-dialog || fail "keeping the scale"
expect_output keep_scale "message 縮尺設定変更: 頁の縮尺設定を変更します"
stop_velmora

echo "== a multi-page file from the command line, page switching"
start_velmora pages.pdf
page() { echo " Page = $1 / 7      Paper = A4       Scale = 1 / 1"; }
probe pages wait-window answer-after-errors "変換終了" ok expect-status 1 "$(page 1)" \
    command 202 expect-status 1 "$(page 2)" command 209 expect-status 1 "$(page 7)" \
    command 202 expect-status 1 "$(page 7)" command 208 expect-status 1 "$(page 1)" \
    command 201 expect-status 1 "$(page 1)" no-dialog || fail "page switching"
expect_output pages "単独変換で 7 頁 読込・変換しました"

echo "== the page list: every page's row, the current one selected, a click jumps"
probe page_list wait-window command 203 dialog "頁一覧" rows 4050 select-row "頁一覧" 4050 2 gone \
    expect-status 1 "$(page 3)" no-dialog || fail "jumping to page 3 from the page list"
expect_output page_list "selected 0"
"$wine_run" "$build/velmora-convert.exe" --list pages.pdf </dev/null >list.txt 2>/dev/null
iconv -f CP932 -t UTF-8 list.txt 2>/dev/null | tr -d '\r' >list_utf8.txt || cp list.txt list_utf8.txt
sed -n 's/^row [0-9]*: //p' page_list.out >dialog_rows.txt
if [ "$(wc -l <dialog_rows.txt)" -eq 7 ] && diff dialog_rows.txt list_utf8.txt >/dev/null; then
    ok "the dialog lists the rows velmora-convert --list prints: $(head -1 dialog_rows.txt)"
else
    fail "the page list's rows differ from velmora-convert --list"; diff dialog_rows.txt list_utf8.txt
fi

echo "== a page without vectors"
probe empty wait-window drop "$(windows_path "$work/no_vectors.pdf")" answer-after-errors "変換終了" ok no-dialog ||
    fail "opening the file without vectors"
expect_output empty "変換できるデータが見つかりませんでした"
read_client
screenshot no_vectors
python3 "$checker" empty no_vectors.png "$client" || fail "the empty page shows more than its message"

echo "== a page with raster images: told once, with its page and their count"
probe raster wait-window drop "$(windows_path "$work/raster.pdf")" answer-after-errors "変換終了" ok no-dialog ||
    fail "opening the file with raster images"
expect_output raster "画像（ラスターデータ）は変換されません（1頁 2個）"
expect_output raster "単独変換で 1 頁 読込・変換しました"

echo "== a page in vertical writing: its one text stands as a column in the preview"
probe vertical wait-window drop "$(windows_path "$work/vertical.pdf")" answer-after-errors "変換終了" ok no-dialog ||
    fail "opening the page in vertical writing"
read_client
screenshot vertical
python3 "$checker" column vertical.png "$client" VELMORA.JWF || fail "the vertical text is not drawn as a column"
stop_velmora

echo "== a protected file: the password box until the password opens it"
start_velmora
probe password wait-window drop "$(windows_path "$work/protected.pdf")" dialog "パスワード" text 102 \
    set-text 101 guess press "パスワード" 1 gone dialog "パスワード" text 102 set-text 101 openpassword \
    press "パスワード" 1 gone answer-after-errors "変換終了" ok \
    expect-status 1 " Page = 1 / 1      Paper = A4       Scale = 1 / 1" no-dialog ||
    fail "opening the protected file with its password"
expect_output password "text 102: パスワードで保護されたPDFです。パスワードを入力してください"
expect_output password "text 102: パスワードが違います。もう一度入力してください"
expect_output password "単独変換で 1 頁 読込・変換しました"
no_error_box password
probe password_cancel wait-window drop "$(windows_path "$work/protected.pdf")" dialog "パスワード" \
    press "パスワード" 2 gone no-dialog || fail "cancelling the password box"
no_error_box password_cancel
stop_velmora

echo "== the layer tool: the outer wall picked as one figure, moved to layer 5 and saved"
tool="実線を長さ等でレイヤ整理(文字を除く)"
wall_row=$(python3 "$checker" wall-row saved_objects.txt) || fail "the outer wall's layer in saved.jww"
start_velmora plan.pdf
# The dialog is moved almost off the screen so that the whole page shows in the screenshot.
probe layers-open wait-window answer-after-errors "変換終了" ok answer "縮尺設定" cancel command 210 dialog "$tool" \
    move-dialog "$tool" 1250 1000 control "$tool" 4052 control "$tool" 4054 list-row "$tool" 4051 "$wall_row" \
    enabled "$tool" 4070 select-row "$tool" 4051 "$wall_row" settle || fail "opening the layer tool"
expect_output layers-open "control 4054:  A3/  0°"
expect_output layers-open "enabled 4070: 0"
read_client
IFS=, read -r _ _ width height <<<"$client"
# A right click on the wall's lower side, at (300, 200) on the page.
wall_point=$(python3 -c "z = min($width / 1191.0, $height / 842.0); print(int(300 * z), int((842 - 200) * z))")
probe layers-pick wait-window mouse r-down $wall_point r mouse r-up $wall_point - settle enabled "$tool" 4070 \
    control "$tool" 4002 || fail "the right click on the wall"
expect_output layers-pick "enabled 4070: 1"
expect_output layers-pick "control 4002: 211.666200"
screenshot layers_selected
python3 "$checker" wall-colour layers_selected.png "$client" fit 0,255,0 || fail "the outer wall did not turn green"
# With a selection, closing asks first; No keeps the tool open.
probe layers-ask wait-window press "$tool" 1 answer "注意" no dialog "$tool" || fail "the closing question"
expect_output layers-ask "「レイヤ整理」コマンドを終了しますか？"
probe layers-move wait-window select-row "$tool" 4051 5 press "$tool" 4073 enabled "$tool" 4070 \
    list-row "$tool" 4051 "$wall_row" press "$tool" 1 no-dialog || fail "the move to layer 5"
expect_output layers-move "enabled 4070: 0"
expect_output layers-move "row $wall_row: $(printf '%2x%2x %6d/%6d' $((wall_row / 16)) $((wall_row % 16)) 0 0)"
# The page's moves are kept until a page switch, which asks first.
probe layers-switch wait-window command 202 answer "注意" no no-dialog || fail "the page switch after a move"
expect_output layers-switch "頁切り替えしますか？"
probe layers-save wait-window command 112 file "jww ファイルを保存" "$(windows_path "$work/moved.jww")" no-dialog ||
    fail "saving the moved page"
"$wine_run" "$build/jww_check.exe" moved.jww --objects </dev/null >moved_objects.txt 2>&1 || fail "jww_check cannot read moved.jww"
python3 "$checker" wall-moved saved_objects.txt moved_objects.txt 5 || fail "the saved layers after the move"

echo "== the layer tool: a door swing picked by a right click on its curve, moved to layer 6 and saved"
# The first arc of the file is the swing of the door at (450, 470) on the page, radius 60.
swing_row=$(awk '$1 == "A" { for (i = 1; i < NF; i++) { if ($i == "layer") l = $(i + 1); if ($i == "group") g = $(i + 1) }
                 print g * 16 + l; exit }' saved_objects.txt)
[ -n "$swing_row" ] || fail "no arc in saved.jww"
probe arcs-open wait-window command 210 dialog "$tool" move-dialog "$tool" 1250 1000 \
    select-row "$tool" 4051 "${swing_row:-0}" settle || fail "opening the layer tool on the swings' layer"
swing_point=$(python3 -c "z = min($width / 1191.0, $height / 842.0); print(int(492.4 * z), int((842 - 512.4) * z))")
probe arcs-pick wait-window mouse r-down $swing_point r mouse r-up $swing_point - settle enabled "$tool" 4070 ||
    fail "the right click on the door swing"
expect_output arcs-pick "enabled 4070: 1"
screenshot arcs_selected
python3 "$checker" arc-colour arcs_selected.png "$client" fit saved_objects.txt 0 0,255,0 ||
    fail "the door swing alone did not turn green"
probe arcs-move wait-window select-row "$tool" 4051 6 press "$tool" 4073 enabled "$tool" 4070 press "$tool" 1 \
    no-dialog || fail "the move of the swing to layer 6"
expect_output arcs-move "enabled 4070: 0"
probe arcs-save wait-window command 112 file "jww ファイルを保存" "$(windows_path "$work/arcs_moved.jww")" no-dialog ||
    fail "saving the page with the moved swing"
"$wine_run" "$build/jww_check.exe" arcs_moved.jww --objects </dev/null >arcs_moved_objects.txt 2>&1 ||
    fail "jww_check cannot read arcs_moved.jww"
python3 "$checker" arc-moved saved_objects.txt arcs_moved_objects.txt 0 6 || fail "the saved arcs after the move"
stop_velmora

echo "== the scale picked beside the round table's centre and a door swing's end: both picks snap"
start_velmora plan.pdf
probe snap-open wait-window answer-after-errors "変換終了" ok answer "縮尺設定" cancel || fail "opening the sample for the snap"
read_client
IFS=, read -r _ _ width height <<<"$client"
near() { python3 -c "z = min($width / 1191.0, $height / 842.0); print(int($1 * z) + 3, int((842 - $2) * z) - 2)"; }
# Nothing but the circle has a point at its centre (620, 270); (510, 470) ends the swing and the leaf.
read -r cx cy < <(near 620 270)
read -r ex ey < <(near 510 470)
# 228.25 points are 80.52 mm on paper: 8,052 mm real is 1/100.
probe snap wait-window mouse r-down "$cx" "$cy" r mouse r-up "$cx" "$cy" - mouse r-down "$ex" "$ey" r \
    mouse r-up "$ex" "$ey" - dialog "頁の縮尺設定" set-text 4001 8052 click 1 answer "縮尺設定" ok gone \
    expect-status 1 " Page = 1 / 1      Paper = A3       Scale = 1 / 100" no-dialog || fail "the picks on the arcs"
screenshot snapped
python3 "$checker" scale-line snapped.png "$client" fit 620,270,510,470 VELMORA.JWF ||
    fail "the scale line does not run from the circle's centre to the swing's end"
stop_velmora

echo
[ "$failures" -eq 0 ] && { echo "GUI tests passed"; exit 0; }
echo "$failures GUI check(s) failed"
exit 1
