#!/bin/bash
# The Windows package as a user gets it: the zip built by scripts/package.sh is unpacked into a
# folder with a Japanese name and a space, Velmora.exe is started from another current folder with
# a PDF on its command line (as "Open with" starts it), and must read the settings beside it (a
# changed background colour shows on the screen), open the sample without an error box, and
# velmora-convert.exe from the unpacked folder must convert a file.
# Usage: tests/win32/package_test.sh <MinGW build folder>   (DISPLAY must name a running Xvfb)
set -u

[ $# -eq 1 ] && [ -d "$1" ] || { echo "usage: $0 <MinGW build folder>" >&2; exit 2; }
build=$(cd "$1" && pwd)
repo=$(cd "$(dirname "$0")/../.." && pwd)
wine_run="$repo/cmake/wine-run.sh"
work="$build/package-test"
failures=0
velmora_pid=""

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
ok() { echo "ok: $*"; }
windows_path() { local path=$1; echo "Z:${path//\//\\}"; }
[ -n "${DISPLAY:-}" ] || { echo "FAIL: DISPLAY is not set (start Xvfb first)"; exit 1; }
[ -f "$build/velmora_gui_probe.exe" ] || { echo "FAIL: $build/velmora_gui_probe.exe not found"; exit 1; }

rm -rf "$work"
mkdir -p "$work/dist" "$work/elsewhere"
zip_path=$(bash "$repo/scripts/package.sh" "$build" "$work/dist" 2>"$work/package.log" | tail -1)
[ -f "$zip_path" ] || { cat "$work/package.log"; echo "FAIL: scripts/package.sh made no zip"; exit 1; }
ok "package built: $(basename "$zip_path")"

echo "== unpacked into a folder with a Japanese name"
unpacked_parent="$work/図面 変換"
mkdir -p "$unpacked_parent"
unzip -q "$zip_path" -d "$unpacked_parent" || fail "unzip"
name=$(basename "$zip_path" .zip)
folder="$unpacked_parent/$name"
version=${name#velmora-}
version=${version%-win64}
for file in Velmora.exe velmora-convert.exe VELMORA.JWF JWsxf.dat guide-ja.txt licenses/libz-mingw-w64-dev.txt; do
    [ -f "$folder/$file" ] || fail "$file is not in the package"
done
# Notepad's reading of the guide: a UTF-8 byte-order mark, CRLF on every line, valid UTF-8.
guide="$folder/guide-ja.txt"
if [ "$(head -c 3 "$guide" | od -An -tx1 | tr -d ' ')" = efbbbf ] && ! grep -q $'[^\r]$' "$guide" &&
    iconv -f UTF-8 -t UTF-16LE "$guide" >/dev/null 2>&1; then
    ok "guide-ja.txt: UTF-8 with a byte-order mark, CRLF lines"
else
    fail "guide-ja.txt is not UTF-8 with a byte-order mark and CRLF lines"
fi
python3 "$repo/tests/win32/check_version.py" "$version" "$folder/Velmora.exe" "$folder/velmora-convert.exe" ||
    fail "the programs' version resources do not say $version"

# A background of our own in the settings beside the programs; the current folder has none.
sed -i 's/^LCOLLOR_B .*\r$/LCOLLOR_B 40 90 160\r/' "$folder/VELMORA.JWF"
grep -q $'^LCOLLOR_B 40 90 160\r$' "$folder/VELMORA.JWF" || fail "the background line of VELMORA.JWF was not changed"
cp "$repo/samples/sample_plan.pdf" "$unpacked_parent/平面図 サンプル.pdf"
pdf=$(windows_path "$unpacked_parent/平面図 サンプル.pdf")
cd "$work/elsewhere" || exit 1

probe() {  # NAME STEPS...
    local name=$1
    shift
    timeout 120 "$wine_run" "$build/velmora_gui_probe.exe" "$@" </dev/null >"$work/$name.out" 2>&1
    local status=$?
    sed 's/^/    /' "$work/$name.out"
    return $status
}
cleanup() { [ -n "$velmora_pid" ] && kill "$velmora_pid" 2>/dev/null; }
trap cleanup EXIT

echo "== Velmora.exe from another folder with the PDF on its command line"
"$wine_run" "$folder/Velmora.exe" "$pdf" </dev/null >"$work/velmora.log" 2>&1 &
velmora_pid=$!
probe open wait-window answer-after-errors "変換終了" ok \
    expect-status 1 " Page = 1 / 1      Paper = A3       Scale = 1 / 1" settle ||
    fail "opening the sample from the command line"
boxes=$(grep -c '^message エラー:' "$work/open.out")
((boxes == 0)) && ok "no error box" || fail "$boxes error boxes for the sample"
grep -qF "単独変換で 1 頁 読込・変換しました" "$work/open.out" && ok "the sample converted" || fail "no conversion message"
probe client wait-window client >/dev/null
client=$(awk '/^client / { print $2 "," $3 "," $4 "," $5 }' "$work/client.out")
import -window root "$work/opened.png" || fail "screenshot"
python3 "$repo/tests/win32/check_preview.py" background "$work/opened.png" "$client" "$folder/VELMORA.JWF" ||
    fail "the background colour of the settings beside the program does not show"
probe close wait-window command 119 >/dev/null || fail "the exit command could not be sent"
for _ in $(seq 300); do
    kill -0 "$velmora_pid" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$velmora_pid" 2>/dev/null; then
    fail "Velmora.exe still running 30 s after the exit command"
else
    wait "$velmora_pid"
    status=$?
    [ "$status" -eq 0 ] && ok "Velmora.exe ended with status 0" || fail "Velmora.exe ended with status $status"
fi
velmora_pid=""

echo "== velmora-convert.exe from the unpacked folder"
"$wine_run" "$folder/velmora-convert.exe" --version </dev/null >version.txt 2>&1
[ "$(tr -d '\r' <version.txt)" = "Velmora ver $version" ] && ok "--version: Velmora ver $version" ||
    fail "--version prints '$(cat version.txt)', the package is $version"
"$wine_run" "$folder/velmora-convert.exe" -v -o converted.jww "$pdf" </dev/null >convert.txt 2>&1
status=$?
iconv -f CP932 -t UTF-8 convert.txt 2>/dev/null | tr -d '\r' >convert_utf8.txt || cp convert.txt convert_utf8.txt
sed 's/^/    /' convert_utf8.txt
[ "$status" -eq 0 ] && ok "velmora-convert.exe ended with status 0" || fail "velmora-convert.exe ended with status $status"
[ "$(head -c 8 converted.jww 2>/dev/null)" = JwwData. ] && ok "converted.jww written" || fail "converted.jww missing or not JWW"
grep -qF "$(windows_path "$folder")\\JWsxf.dat" convert_utf8.txt && ok "-v names the JWsxf.dat beside the program" ||
    fail "-v does not name the JWsxf.dat beside the program"

echo
[ "$failures" -eq 0 ] && { echo "package tests passed"; exit 0; }
echo "$failures package check(s) failed"
exit 1
