#!/bin/bash
# Runs the Windows build's tests under Wine: the unit tests through ctest, the GUI smoke test, and
# the GUI tests that drive the real window.
# Usage: scripts/wine_tests.sh <MinGW build folder>
# One Wine prefix per build folder (created once), one Xvfb and one wineserver for all tests.
set -u

. "$(dirname "$0")/wine_session.sh"

failures=0

section "Unit tests under Wine (ctest)"
start=$(now)
if ctest --test-dir "$build" --output-on-failure --no-tests=error; then
    echo "ctest passed in $(elapsed "$start")"
else
    echo "FAIL: ctest (after $(elapsed "$start"))"
    failures=$((failures + 1))
fi

section "GUI smoke test"
start=$(now)
if bash "$repo/tests/win32/smoke_test.sh" "$build"; then
    echo "smoke test passed in $(elapsed "$start")"
else
    echo "FAIL: smoke test (after $(elapsed "$start"))"
    failures=$((failures + 1))
fi

section "GUI tests: the window driven through its messages"
start=$(now)
if bash "$repo/tests/win32/gui_test.sh" "$build"; then
    echo "GUI tests passed in $(elapsed "$start")"
else
    echo "FAIL: GUI tests (after $(elapsed "$start"))"
    failures=$((failures + 1))
fi

section "Result"
if [ "$failures" -ne 0 ]; then
    echo "$failures Wine test group(s) failed"
    exit 1
fi
echo "all Wine tests passed"
exit 0
