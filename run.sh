#!/usr/bin/env bash
# The main job: installs what is missing, builds both programs (Linux and Windows), and runs
# velmora-convert on the bundled sample drawing.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)

"$root/scripts/install_deps.sh"
echo "== building velmora-convert (Linux)"
"$root/scripts/build.sh" native
echo "== building Velmora.exe and velmora-convert.exe (Windows)"
"$root/scripts/build.sh" mingw

out="$root/out"
mkdir -p "$out"
for sample in "$root"/samples/*.pdf; do
  echo "== velmora-convert $(basename "$sample") -o $out/"
  status=0
  "$root/build/native/velmora-convert" -o "$out/$(basename "${sample%.pdf}").jww" "$sample" || status=$?
  echo "   exit status $status"
done
echo
echo "Programs:"
echo "  $root/build/native/velmora-convert"
echo "  $root/build/mingw/Velmora.exe"
echo "  $root/build/mingw/velmora-convert.exe"
echo "Output folder: $out"
