#!/bin/bash
# Measures how long Velmora.exe takes to paint a page under Wine on Xvfb: each PDF is opened from
# the command line, then the whole window is repainted five times and each paint is timed.
# Usage: scripts/measure_paint.sh BUILD_FOLDER PDF...
#   The benchmark drawing (998,000 segments) is written by velmora_benchmarks to the temporary
#   folder as velmora_million_segments.pdf; ../shared/corpus/eagle_board_01.pdf is the corpus
#   drawing with the most lines on one page (99,056).
set -u
[ $# -ge 2 ] || { echo "usage: $0 BUILD_FOLDER PDF..." >&2; exit 2; }
build_arg=$1
shift
pdfs=()
for pdf in "$@"; do pdfs+=("$(cd "$(dirname "$pdf")" && pwd)/$(basename "$pdf")"); done
set -- "$build_arg"
. "$(dirname "$0")/wine_session.sh"

work="$build/paint-work"
wine_run="$repo/cmake/wine-run.sh"
rm -rf "$work"
mkdir -p "$work"
cp "$repo"/data/* "$work"/
cd "$work" || exit 1
for pdf in "${pdfs[@]}"; do
    cp "$pdf" drawing.pdf
    "$wine_run" "$build/Velmora.exe" drawing.pdf </dev/null >velmora.log 2>&1 &
    velmora=$!
    started=$(now)
    timeout 600 "$wine_run" "$build/velmora_gui_probe.exe" wait-window answer-after-errors "変換終了" ok \
        time-paint 5 command 119 </dev/null >probe.out 2>&1
    echo "$(basename "$pdf"): $(grep -E '^paint ms' probe.out || cat probe.out) (open to close $(elapsed "$started"))"
    wait "$velmora"
done
