#!/usr/bin/env bash
# The main job: installs what is missing, builds both programs (Linux and Windows), packs the
# Windows ones into dist/velmora-VERSION-win64.zip, and runs velmora-convert on the bundled sample
# drawings (a .jww and an .svg picture each, in out/).
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)

"$root/scripts/install_deps.sh"
echo "== building velmora-convert (Linux)"
"$root/scripts/build.sh" native
echo "== building Velmora.exe and velmora-convert.exe (Windows)"
"$root/scripts/build.sh" mingw
echo "== packaging the Windows programs"
package=$("$root/scripts/package.sh" "$root/build/mingw")

out="$root/out"
mkdir -p "$out"
failed=0
written=()
for sample in "$root"/samples/*.pdf; do
  name=$(basename "${sample%.pdf}")
  echo "== velmora-convert --svg -o $out/$name.jww $(basename "$sample")"
  if ! "$root/build/native/velmora-convert" --svg -o "$out/$name.jww" "$sample"; then
    echo "   $(basename "$sample") did not convert" >&2
    failed=1
  else
    written+=("$out/$name.jww" "$out/$name.svg")
  fi
done
echo
echo "Programs:"
echo "  $root/build/native/velmora-convert"
echo "  $root/build/mingw/Velmora.exe"
echo "  $root/build/mingw/velmora-convert.exe"
echo "Windows package (unpack anywhere; the guide is guide-ja.txt inside):"
echo "  $package"
echo "Converted samples (open the .jww in Jw_cad, the .svg in a web browser):"
for file in "${written[@]}"; do echo "  $file"; done
exit "$failed"
