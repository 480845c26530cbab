#!/usr/bin/env bash
# Measures the curves kept as arcs on page 1 of the drawings with curves: the share of curve
# pieces that became arcs, the objects saved in the JWW file, and the largest distance between
# an arc and the curve it replaces (mm on paper).
# Usage: scripts/measure_arcs.sh [BUILD_DIR]   (holds velmora-convert and jww_check)
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath "${1:-$root/build/native}")
data=${VELMORA_TEST_DATA:-$root/../shared}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$root"/data/* "$work/"
files=("$root/samples/sample_plan.pdf")
for name in arch_floor_plan_clibpdf_01 autocad_floor_plan_01 autocad_floor_plan_02 eagle_board_01 \
            lasercut_cairo_01 pcb_pattern_msprint_01 sweethome3d_plan_01 kicad_pcb_02; do
  files+=("$data/corpus/$name.pdf")
done
printf '%-28s %9s %9s %7s %9s %9s %9s %8s\n' file pieces as_arcs share arcs objs_lines objs_arcs max_mm
for pdf in "${files[@]}"; do
  name=$(basename "$pdf" .pdf)
  [[ -f $pdf ]] || { echo "$name: missing"; continue; }
  (cd "$work" && "$build/velmora-convert" --route direct -v -p 1 --curves lines -o lines.jww "$pdf" >/dev/null 2>&1)
  stats=$(cd "$work" && "$build/velmora-convert" --route direct -v -p 1 --curves arcs -o arcs.jww "$pdf" 2>/dev/null |
          grep '^arcs:\|arcs: ' | tail -1)
  lines=$("$build/jww_check" "$work/lines.jww" | awk '/^objects/ {print $2}')
  arcs=$("$build/jww_check" "$work/arcs.jww" | awk '/^objects/ {print $2}')
  read -r n_arcs pieces_arc pieces mm < <(echo "$stats" |
    sed -E 's/.*arcs: ([0-9]+) arcs from ([0-9]+) of ([0-9]+) curve pieces, largest distance ([0-9.]+) mm.*/\1 \2 \3 \4/')
  share=$(awk -v a="$pieces_arc" -v b="$pieces" 'BEGIN { if (b > 0) printf "%.1f%%", 100 * a / b; else print "-" }')
  printf '%-28s %9s %9s %7s %9s %9s %9s %8s\n' "$name" "$pieces" "$pieces_arc" "$share" "$n_arcs" "$lines" "$arcs" "$mm"
done
