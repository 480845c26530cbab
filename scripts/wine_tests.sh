#!/bin/bash
# Runs the Windows build's tests under Wine: the unit tests through ctest, the GUI smoke test, the
# GUI tests that drive the real window, and the package as a user unpacks it.
# Usage: scripts/wine_tests.sh <MinGW build folder>
# One Wine prefix per build folder (created once), one Xvfb and one wineserver for all tests.
set -u

. "$(dirname "$0")/wine_session.sh"

failures=0

# One group: its title, the command, and a line saying how it went and how long it took.
run_group() {  # TITLE WHAT COMMAND...
    local title=$1 what=$2
    shift 2
    section "$title"
    local start
    start=$(now)
    if "$@"; then
        echo "$what passed in $(elapsed "$start")"
    else
        echo "FAIL: $what (after $(elapsed "$start"))"
        failures=$((failures + 1))
    fi
}

run_group "Unit tests under Wine (ctest)" ctest ctest --test-dir "$build" --output-on-failure --no-tests=error
run_group "GUI smoke test" "smoke test" bash "$repo/tests/win32/smoke_test.sh" "$build"
run_group "GUI tests: the window driven through its messages" "GUI tests" bash "$repo/tests/win32/gui_test.sh" "$build"
run_group "Package: the zip unpacked into a Japanese folder, opened as \"Open with\" does" "package tests" \
    bash "$repo/tests/win32/package_test.sh" "$build"

section "Result"
if [ "$failures" -ne 0 ]; then
    echo "$failures Wine test group(s) failed"
    exit 1
fi
echo "all Wine tests passed"
exit 0
