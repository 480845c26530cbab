#!/usr/bin/env bash
# Builds the Windows package dist/velmora-VERSION-win64.zip from the MinGW build: both programs,
# the settings files, every DLL they import that Windows itself does not have, the licence texts
# of what is linked in, the guide as a text file Notepad reads, and its screenshots.
# Usage: scripts/package.sh [MINGW_BUILD_FOLDER [OUTPUT_FOLDER]]
#   Without a build folder, build/mingw is built (or brought up to date) first.
# The last line printed is the zip's path.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

if [[ $# -ge 1 ]]; then
  build=$(cd "$1" && pwd)
else
  "$root/scripts/build.sh" mingw >&2
  build="$root/build/mingw"
fi
dist=${2:-"$root/dist"}
mkdir -p "$dist"
dist=$(cd "$dist" && pwd)

fail() { echo "package: $*" >&2; exit 1; }
for program in Velmora.exe velmora-convert.exe; do
  [[ -f "$build/$program" ]] || fail "$build/$program is missing (build the mingw flavour first)"
done

# The version comes from the header CMake wrote for this build, so the zip's name is the version
# both programs show.
version=$(sed -n 's/^#define VELMORA_VERSION_TEXT "\(.*\)"$/\1/p' "$build/generated/velmora_version.h" 2>/dev/null)
[[ -n "$version" ]] || fail "no version in $build/generated/velmora_version.h"
name="velmora-$version-win64"
staging="$build/package/$name"
rm -rf "$build/package"
mkdir -p "$staging/licenses" "$staging/screenshots"

cp "$build/Velmora.exe" "$build/velmora-convert.exe" "$staging/"
cp "$root/data/VELMORA.JWF" "$root/data/JWsxf.dat" "$staging/"
# Stripped (less than half the zip); strip stamps the time of day into the PE header, so the
# built program's stamp is put back and the same build gives the same zip.
for program in Velmora.exe velmora-convert.exe; do
  x86_64-w64-mingw32-strip "$staging/$program"
  python3 - "$build/$program" "$staging/$program" <<'PYTHON'
import struct, sys
built, stripped = open(sys.argv[1], "rb").read(), bytearray(open(sys.argv[2], "rb").read())
where = lambda data: struct.unpack_from("<I", data, 0x3C)[0] + 8
stripped[where(stripped):where(stripped) + 4] = built[where(built):where(built) + 4]
# The header checksum covers the stamp: 16-bit sum with carries, the field itself as zero, plus the length.
field = where(stripped) + 16 + 64
stripped[field:field + 4] = bytes(4)
total = 0
for (word,) in struct.iter_unpack("<H", bytes(stripped) + b"\0" * (len(stripped) % 2)):
    total = (total & 0xFFFF) + (total >> 16) + word
total = (total & 0xFFFF) + (total >> 16)
stripped[field:field + 4] = struct.pack("<I", ((total & 0xFFFF) + (total >> 16)) + len(stripped))
open(sys.argv[2], "wb").write(stripped)
PYTHON
done

# DLLs: what Windows provides stays out; a DLL of the MinGW tool chain or a Debian mingw library
# travels beside the programs (and its own imports are followed); anything else stops the package.
system_dlls=" kernel32.dll user32.dll gdi32.dll comctl32.dll comdlg32.dll shell32.dll msvcrt.dll advapi32.dll"
system_dlls+=" ws2_32.dll ole32.dll oleaut32.dll winspool.drv shlwapi.dll bcrypt.dll crypt32.dll version.dll"
system_dlls+=" imm32.dll winmm.dll ntdll.dll uxtheme.dll rpcrt4.dll secur32.dll iphlpapi.dll "
dll_folders=(/usr/x86_64-w64-mingw32/bin /usr/x86_64-w64-mingw32/lib /usr/lib/gcc/x86_64-w64-mingw32/*-posix)
bundled_dlls=()
imports_of() { x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^\s*DLL Name: //p'; }
find_dll() {
  local folder found
  for folder in "${dll_folders[@]}"; do
    found=$(find "$folder" -maxdepth 1 -iname "$1" -print -quit 2>/dev/null)
    [[ -n "$found" ]] && { echo "$found"; return 0; }
  done
  return 1
}
queue=("$staging/Velmora.exe" "$staging/velmora-convert.exe")
while ((${#queue[@]})); do
  file=${queue[0]}
  queue=("${queue[@]:1}")
  for dll in $(imports_of "$file"); do
    lower=${dll,,}
    [[ "$system_dlls" == *" $lower "* || "$lower" == api-ms-win-* ]] && continue
    [[ -f "$staging/$dll" ]] && continue
    source_dll=$(find_dll "$dll") || fail "$(basename "$file") imports $dll, which is neither a Windows DLL nor found in ${dll_folders[*]}"
    cp "$source_dll" "$staging/$dll"
    bundled_dlls+=("$source_dll")
    queue+=("$staging/$dll")
  done
done

# Licence texts, as Debian ships them: the libraries named on the programs' link lines, every
# bundled DLL's package, and the tool chain's runtime that a static MinGW program always carries
# (GCC's runtime libraries, the MinGW-w64 start-up code and winpthreads).
packages=(g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev)
link_files=("$build"/CMakeFiles/Velmora.dir/linkLibs.rsp "$build"/CMakeFiles/velmora-convert.dir/linkLibs.rsp)
for library in $(grep -ho '"/[^"]*\.a"' "${link_files[@]}" | tr -d '"' | sort -u) "${bundled_dlls[@]}"; do
  package=$(dpkg -S "$library" 2>/dev/null | head -1 | cut -d: -f1) ||
    true
  [[ -n "$package" ]] || fail "no Debian package owns $library, so its licence is unknown"
  packages+=("$package")
done
to_crlf() { sed 's/\r$//; s/$/\r/' "$1"; }
for package in $(printf '%s\n' "${packages[@]}" | sort -u); do
  copyright="/usr/share/doc/$package/copyright"
  [[ -f "$copyright" ]] || fail "$copyright is missing"
  to_crlf "$copyright" >"$staging/licenses/$package.txt"
done
for own in LICENSE LICENSE.txt LICENSE.md COPYING; do
  [[ -f "$root/$own" ]] && to_crlf "$root/$own" >"$staging/LICENSE.txt" && break
done

# The guide: UTF-8 with a byte-order mark and CRLF line ends, which every Notepad reads as UTF-8.
{ printf '\xef\xbb\xbf'; to_crlf "$root/docs/guide-ja.md"; } >"$staging/guide-ja.txt"
for picture in $(grep -o 'screenshots/[A-Za-z0-9_.-]*\.png' "$root/docs/guide-ja.md" | sort -u); do
  cp "$root/docs/$picture" "$staging/$picture"
done

# Fixed times, sorted entries, no extra attributes: the zip changes only when a file in it does.
stamp=$(git -C "$root" log -1 --format=%cd --date=format:%Y%m%d%H%M.%S 2>/dev/null || echo 202001010000.00)
find "$build/package" -exec touch -h -t "$stamp" {} +
zip_path="$dist/$name.zip"
rm -f "$zip_path"
(cd "$build/package" && find "$name" | LC_ALL=C sort | TZ=UTC zip -q -X -D -@ "$zip_path")
echo "package: $(cd "$build/package" && find "$name" -type f | wc -l) files, $(du -k "$zip_path" | cut -f1) KB" >&2
echo "$zip_path"
