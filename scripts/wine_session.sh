#!/bin/bash
# Sourced by the scripts that run Velmora's Windows build under Wine (wine_tests.sh,
# window_screenshots.sh): checks the tools, the Japanese locale and the Wine prefix of the build
# folder in $1 (created once), then starts one Xvfb and one persistent wineserver, both stopped when
# the sourcing script exits. Sets build, repo, log_dir and DISPLAY; section, now and elapsed.
set -u

if [ $# -ne 1 ] || [ ! -d "$1" ]; then
    echo "usage: $0 <MinGW build folder>" >&2
    exit 2
fi
build=$(cd "$1" && pwd)
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# Without Wine and Xvfb this group cannot run: it fails, and says how to get them.
for tool in wine wineserver wineboot Xvfb xvfb-run xdotool xdpyinfo import; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "FAIL: $tool is missing; install the test packages with: sudo scripts/install_deps.sh --tests"
        exit 1
    fi
done

export VELMORA_WINEPREFIX="${VELMORA_WINEPREFIX:-$build/wineprefix}"
. "$repo/cmake/wine-env.sh"
stamp="$WINEPREFIX/.velmora-prefix-complete"
log_dir="$build/wine-logs"
mkdir -p "$log_dir"

section() { printf '\n==== %s ====\n' "$*"; }
now() { date +%s.%N; }
elapsed() { awk -v a="$1" -v b="$(now)" 'BEGIN { printf "%.1f s", b - a }'; }

section "Japanese locale"
if locale -a 2>/dev/null | grep -qix 'ja_JP\.utf-\?8'; then
    echo "ja_JP.UTF-8 present"
else
    # The A functions only get code page 932 under a Japanese locale.
    if grep -q '^# *ja_JP.UTF-8 UTF-8' /etc/locale.gen; then
        sed -i 's/^# *ja_JP.UTF-8 UTF-8/ja_JP.UTF-8 UTF-8/' /etc/locale.gen
    elif ! grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen; then
        echo 'ja_JP.UTF-8 UTF-8' >>/etc/locale.gen
    fi
    locale-gen >"$log_dir/locale-gen.log" 2>&1 || { echo "FAIL: locale-gen (see $log_dir/locale-gen.log)"; exit 1; }
    locale -a | grep -qix 'ja_JP\.utf-\?8' || { echo "FAIL: ja_JP.UTF-8 still missing"; exit 1; }
    echo "ja_JP.UTF-8 generated"
fi

section "Wine prefix $WINEPREFIX"
if [ -f "$stamp" ]; then
    echo "prefix complete, reused"
else
    if [ -e "$WINEPREFIX" ]; then
        # A half-made prefix from an interrupted run: only ever remove something that is a prefix.
        if [ -d "$WINEPREFIX/drive_c" ] || [ -z "$(ls -A "$WINEPREFIX")" ]; then
            echo "removing incomplete prefix"
            rm -rf "$WINEPREFIX"
        else
            echo "FAIL: $WINEPREFIX exists and is not a Wine prefix; not touching it"
            exit 1
        fi
    fi
    start=$(now)
    # Background Wine processes inherit our output; keep them off any pipe (see notes/wine.md).
    if ! xvfb-run -a wineboot -i </dev/null >"$log_dir/wineboot.log" 2>&1; then
        echo "FAIL: wineboot -i (see $log_dir/wineboot.log)"
        exit 1
    fi
    wineserver -w
    # Japanese system font names resolve to the IPA fonts; GetTextFace then reports the asked face.
    ok=1
    add_key() { wine reg add "$@" /f </dev/null >>"$log_dir/prefix-reg.log" 2>&1 || ok=0; }
    replacements='HKCU\Software\Wine\Fonts\Replacements'
    for face in 'ＭＳ ゴシック' 'ＭＳ Ｐゴシック' 'MS Gothic'; do
        add_key "$replacements" /v "$face" /d IPAGothic
    done
    for face in 'ＭＳ 明朝' 'ＭＳ Ｐ明朝' 'MS Mincho'; do
        add_key "$replacements" /v "$face" /d IPAMincho
    done
    # No window manager under Xvfb: Wine draws the frames itself.
    add_key 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N
    wineserver -w
    # Caption buttons are drawn with Marlett.
    ln -sf /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/marlett.ttf" || ok=0
    if [ "$ok" -ne 1 ]; then
        echo "FAIL: prefix settings (see $log_dir/prefix-reg.log)"
        exit 1
    fi
    touch "$stamp"
    echo "prefix created in $(elapsed "$start")"
fi

section "Xvfb and wineserver"
xvfb_pid=""
cleanup() {
    wineserver -k >/dev/null 2>&1
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null
        wait "$xvfb_pid" 2>/dev/null
    fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

display=""
for number in $(seq 90 199); do
    [ -e "/tmp/.X$number-lock" ] && continue
    Xvfb ":$number" -screen 0 1280x1024x24 -nolisten tcp </dev/null >"$log_dir/xvfb.log" 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 50); do
        if xdpyinfo -display ":$number" >/dev/null 2>&1; then
            display=":$number"
            break
        fi
        kill -0 "$xvfb_pid" 2>/dev/null || break
        sleep 0.1
    done
    [ -n "$display" ] && break
    # Lost the number to someone else (or it never came up): try the next one.
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
    xvfb_pid=""
done
if [ -z "$display" ]; then
    echo "FAIL: could not start Xvfb"
    exit 1
fi
export DISPLAY="$display"
echo "Xvfb on $DISPLAY (1280x1024x24)"

start=$(now)
# A persistent wineserver and Wine's own processes, all started with their output on /dev/null,
# so that ctest's pipes are not held open by them.
wineserver -p </dev/null >/dev/null 2>&1
wine rundll32.exe user32.dll,GetDesktopWindow </dev/null >/dev/null 2>&1
echo "wineserver ready in $(elapsed "$start")"

