#!/usr/bin/env bash
# Runs every test: unit and end-to-end tests natively, the same under Address and UB
# sanitizers, and the Windows build under Wine (unit tests, the window's smoke test and GUI tests).
# Installs what is missing first. Exits non-zero when anything fails.
set -u
root=$(cd "$(dirname "$0")" && pwd)
started=$(date +%s)
passed=0
failed=0
failures=()

run_group() {  # NAME COMMAND...
  local name=$1
  shift
  echo
  echo "######## $name"
  if "$@"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    failures+=("$name")
  fi
}

ctest_in() { ctest --test-dir "$root/build/$1" --output-on-failure --no-tests=error; }
build_and_ctest() { "$root/scripts/build.sh" "$1" && ctest_in "$1"; }
# The README's fuzz recipe builds whole (harnesses and velmora-convert), so it stays so.
build_fuzz() {
  CC=clang CXX=clang++ cmake -S "$root" -B "$root/build/fuzz" -DVELMORA_FUZZ=ON -DVELMORA_TESTS=OFF >/dev/null &&
    cmake --build "$root/build/fuzz" -j2
}
sanitizer_tests() { build_and_ctest asan && build_fuzz; }
build_and_wine() { "$root/scripts/build.sh" mingw && bash "$root/scripts/wine_tests.sh" "$root/build/mingw"; }

"$root/scripts/install_deps.sh" --tests || { echo "could not install the packages the tests need"; exit 1; }
run_group "native tests" build_and_ctest native
run_group "independent JWW reader (LibreCAD's jwwlib)" bash "$root/tests/independent/check_written_files.sh" "$root/build/native"
run_group "sanitizer tests (ASan + UBSan, and the fuzz build)" sanitizer_tests
run_group "Windows build under Wine" build_and_wine

echo
echo "######## summary ($(($(date +%s) - started)) s)"
((failed)) && printf 'failed: %s\n' "${failures[@]}"
echo "test groups: $passed passed, $failed failed"
((failed == 0))
