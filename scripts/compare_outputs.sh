#!/usr/bin/env bash
# Converts every corpus PDF and sample with two builds of velmora-convert and compares what they
# write byte for byte (JWW, SVG, report, page list, exit status): the check that a change meant
# to keep behaviour (a restructuring, a speed-up) really keeps it.
# Usage: scripts/compare_outputs.sh OLD_CONVERTER NEW_CONVERTER [SETTINGS]
# SETTINGS is a VELMORA.JWF both sides read instead of the shipped one: one without a new key shows
# that a file without it converts as before the key existed.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
data=${VELMORA_TEST_DATA:-$root/../shared}
[[ ($# -eq 2 || ($# -eq 3 && -f $3)) && -x $1 && -x $2 ]] ||
  { echo "usage: $0 OLD_CONVERTER NEW_CONVERTER [SETTINGS]" >&2; exit 2; }
old=$(realpath "$1")
new=$(realpath "$2")
settings=$(realpath "${3:-$root/data/VELMORA.JWF}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

run() {  # SIDE CONVERTER PDF
  local side=$1 converter=$2 pdf=$3 name
  name=$(basename "$pdf" .pdf)
  mkdir -p "$work/$side/$name"
  cp "$pdf" "$root"/data/* "$work/$side/$name/"
  cp "$settings" "$work/$side/$name/VELMORA.JWF"
  (
    cd "$work/$side/$name" || exit
    "$converter" --route direct -q --svg "$name.pdf" >/dev/null 2>&1
    echo "convert $?" >status
    "$converter" --route direct -q --list --report . "$name.pdf" >list.txt 2>/dev/null
    echo "report $?" >>status
    rm -f "$name.pdf" VELMORA.JWF JWsxf.dat
  )
}

count=0
for pdf in "$data"/corpus/*.pdf "$root"/samples/*.pdf; do
  run old "$old" "$pdf"
  run new "$new" "$pdf"
  count=$((count + 1))
done
files=$(find "$work/new" -type f | wc -l)
if diff -r "$work/old" "$work/new" >"$work/diff.txt"; then
  echo "compare_outputs: $count PDFs, $files files written: identical"
else
  head -40 "$work/diff.txt"
  echo "files that differ:"
  diff -rq "$work/old" "$work/new" | sed -e "s|$work/old/||" -e "s|$work/new/||"
  echo "compare_outputs: the two converters differ (above)"
  exit 1
fi
