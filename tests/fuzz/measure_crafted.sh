#!/bin/sh
# Writes the full-size crafted PDFs and prints, for each, the wall time and peak memory of
# `velmora-convert --route direct` converting every page into a scratch folder (no Ghostscript).
# Usage:
#   tests/fuzz/measure_crafted.sh [PATH/TO/velmora-convert]    (default: build/native/velmora-convert)
set -eu
here=$(cd "$(dirname "$0")" && pwd)
convert=${1:-$here/../../build/native/velmora-convert}
[ -x "$convert" ] || { echo "no converter at $convert: run scripts/build.sh native first" >&2; exit 2; }
[ -x /usr/bin/time ] || { echo "needs /usr/bin/time (Debian package 'time')" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 "$here/crafted_pdfs.py" "$work" >/dev/null
printf '%-46s %10s %8s %10s %6s\n' file bytes seconds peak_KB status
for pdf in "$work"/*.pdf; do
    status=0
    rm -rf "$work/out"
    /usr/bin/time -f '%e %M' -o "$work/time" timeout 600 "$convert" -q --route direct -o "$work/out" "$pdf" >/dev/null 2>&1 || status=$?
    read -r seconds peak <<TIMES
$(tail -n 1 "$work/time")
TIMES
    [ "$status" -eq 124 ] && seconds='>600'
    printf '%-46s %10s %8s %10s %6s\n' "$(basename "$pdf" .pdf)" "$(wc -c <"$pdf")" "$seconds" "$peak" "$status"
done
