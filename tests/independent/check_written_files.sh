#!/usr/bin/env bash
# Our strict JWW reader against an independent one, LibreCAD's jwwlib: both read the files
# velmora-convert writes (the samples, corpus drawings, a page of 80,000 strokes), pages written
# straight through the save functions (texts, long tags and counts) and the real Jw_cad files,
# and must report the same counts, lines and texts. Any difference fails.
# Usage: check_written_files.sh [BUILD_DIR]   (BUILD_DIR holds velmora-convert, jww_check and
# jww_write_pages; default build/native). jwwlib is fetched and built into build/third_party and build/independent.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build/native}
data=${VELMORA_TEST_DATA:-$root/../shared}
here=$root/tests/independent

# Drawings from the corpus that the direct route reads: CAD exports, Japanese drawings, many
# pages, rotated pages, tens of thousands of lines on one page, PDF layers (names, hidden states).
corpus_files=(arch_floor_plan_clibpdf_01 autocad_electrical_01 autocad_floor_plan_01 excel_cid_truetype_01
              freecad_drawing_storey_01 jp_circuit_msprint_01 jp_floor_plan_01 jp_kampo_vertical_01
              jp_power_panel_table_01 jp_site_plan_01 kicad_schematic_01 lasercut_cairo_01
              matplotlib_chart_01 rotate_mixed_20p_01 autocad_floor_plan_02 jp_mech_enclosure_drawing_01
              lasercut_corel_01 jp_vertical_dvipdfmx_01)
# The real-world files (corpus drawings, Jw_cad's own files) stay outside the repository.
have_real_world=0
if [[ -d $data/corpus && -d $data/jww-samples ]]; then
  have_real_world=1
else
  echo "skipped: real-world PDF corpus not found; set VELMORA_TEST_DATA=DIR"
  corpus_files=()
fi

fail() { echo "check_written_files: $*" >&2; exit 1; }

convert=$build/velmora-convert
jww_check=$build/jww_check
write_pages=$build/jww_write_pages
[[ -x $convert && -x $jww_check && -x $write_pages ]] ||
  fail "no velmora-convert, jww_check and jww_write_pages in $build (run scripts/build.sh native)"

if ! jwwlib=$("$root/scripts/fetch_jwwlib.sh"); then
  fail "could not fetch LibreCAD's source package (apt-get source librecad from Debian's bookworm main)," \
       "so the independent reader check cannot run; fetch it with: sudo scripts/fetch_jwwlib.sh"
fi
echo "jwwlib: $jwwlib"

tool_build=$root/build/independent
log=$tool_build.log
if ! { cmake -S "$root" -B "$tool_build" -DVELMORA_TESTS=OFF -DVELMORA_JWWLIB_DIR="$jwwlib" &&
       cmake --build "$tool_build" --target jww_libre_check -j"$(nproc)"; } >"$log" 2>&1; then
  grep -E 'error|Error' "$log" | head -20
  fail "could not build jww_libre_check from jwwlib; the whole log is $log"
fi
libre_check=$tool_build/jww_libre_check

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/written"

# Writes the pages of one PDF into written/NAME (one page: NAME.jww; several: a directory).
write() {  # NAME PDF [OPTIONS...]
  local name=$1 pdf=$2
  shift 2
  local output
  if ! output=$("$convert" -q --route direct "$@" -o "$work/written/$name" "$pdf" 2>&1); then
    echo "$output" | tail -5
    fail "velmora-convert did not convert $pdf"
  fi
  [[ -f "$work/written/$name" ]] && mv "$work/written/$name" "$work/written/$name.jww"
  return 0
}

samples=("$root"/samples/*.pdf)
[[ -f ${samples[0]} ]] || fail "no sample PDF in $root/samples"
for pdf in "${samples[@]}"; do
  name=$(basename "$pdf" .pdf)
  write "sample_$name" "$pdf"
  write "sample_${name}_scale50" "$pdf" --scale 1/50
done
for name in "${corpus_files[@]}"; do
  pdf=$data/corpus/$name.pdf
  [[ -f $pdf ]] || fail "corpus file $pdf is missing"
  write "corpus_$name" "$pdf"
done
python3 "$here/make_many_lines_pdf.py" "$work/many_lines.pdf" || fail "could not make the many-lines PDF"
write many_lines "$work/many_lines.pdf"
mkdir -p "$work/written/direct"
"$write_pages" "$work/written/direct" "$root/data/JWsxf.dat" || fail "jww_write_pages could not write its pages"

compared=0
differ=0
# compare FILE [--jwcad]: both summaries, then the comparison.
compare() {
  local file=$1 mode=${2:-} name=${1#"$work/written/"} ours=$work/ours.txt theirs=$work/theirs.txt
  compared=$((compared + 1))
  if ! "$jww_check" "$file" $mode --objects >"$ours" 2>"$work/ours.err"; then
    echo "$name: our reader rejects it: $(cat "$work/ours.err")"
    differ=$((differ + 1))
    return
  fi
  if ! "$libre_check" "$file" --objects >"$theirs" 2>"$work/theirs.err"; then
    echo "$name: jwwlib rejects it: $(cat "$work/theirs.err")"
    differ=$((differ + 1))
    return
  fi
  python3 "$here/compare_summaries.py" "$ours" "$theirs" "$name" || differ=$((differ + 1))
}

written=0
while IFS= read -r file; do
  compare "$file"
  written=$((written + 1))
done < <(find "$work/written" -name '*.jww' | sort)

real=0
for file in "$data"/jww-samples/*.jww; do
  [[ -f $file ]] || break
  compare "$file" --jwcad
  real=$((real + 1))
done

# Guard against a check that compares nothing: every source must have given files, and the
# big page must really have needed the 32-bit object count.
((written >= ${#samples[@]} * 2 + ${#corpus_files[@]} + 1 + 4)) || fail "only $written files were written"
((real == 15 * have_real_world)) || fail "found $real real Jw_cad files in $data/jww-samples, expected 15"
many=$("$jww_check" "$work/written/many_lines.jww" | sed -n 's/^objects //p')
((${many:-0} >= 65535)) || fail "the many-lines page has ${many:-no} objects, not enough for the 32-bit count"
texts=$("$jww_check" "$work/written/direct/texts_past_long_count.jww" | sed -n 's/^texts //p')
((${texts:-0} > 0)) || fail "the page past 0xFFFF objects has no texts, so the long class tag went unchecked"

echo "compared $compared files ($written written by velmora-convert and jww_write_pages, $real from Jw_cad): $differ differ"
((differ == 0)) || fail "our strict reader and LibreCAD's jwwlib disagree on $differ files"
