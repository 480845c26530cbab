#!/usr/bin/env bash
# Configures (when needed) and builds one flavour into build/<flavour>:
#   native  - Linux, g++         asan - Linux with Address and UB sanitizers
#   mingw   - Windows, MinGW-w64 (Velmora.exe, velmora-convert.exe, the tests)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
flavour=${1:?usage: build.sh native|asan|mingw}
build="$root/build/$flavour"

case "$flavour" in
  native) args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo) ;;
  asan)   args=(-DCMAKE_BUILD_TYPE=Debug -DVELMORA_SANITIZE=ON -DVELMORA_FUZZ=ON) ;;
  mingw)  args=(-DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake") ;;
  *) echo "unknown flavour: $flavour" >&2; exit 2 ;;
esac

if [[ ! -f "$build/CMakeCache.txt" ]]; then
  cmake -S "$root" -B "$build" "${args[@]}" >/dev/null
fi
log="$build/build.log"
if ! cmake --build "$build" -j"$(nproc)" >"$log" 2>&1; then
  grep -E 'error|Error' "$log" | head -40
  echo "build $flavour failed; the whole log is $log" >&2
  exit 1
fi
grep -E 'warning:' "$log" || true
echo "build $flavour: ok"
