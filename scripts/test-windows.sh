#!/usr/bin/env bash
# The Windows build's tests under wine: cross-builds everything with scripts/build-windows.sh
# (the programs, the tests, the zip and the installer), then runs the same CTest suite as on
# Linux (the GoogleTest units, every scenario with its .out, .setup and .check, the power-cut
# test at a small count, the two-process lock test) through wine on the offscreen platform.
set -uo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${WINDOWS_BUILD_DIR:-$here/build-windows}
started=$(date +%s)
bash "$here/scripts/build-windows.sh" --package || exit 1
built=$(date +%s)

export WINEPREFIX=${WINEPREFIX:-$build/wine} WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
cd "$build" || exit 1
# One wine server for the whole run, started before the tests race to start it.
wineserver -p 60
timeout 60 wine cmd /c exit > /dev/null 2>&1
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)" > ctest-windows.log 2>&1
status=$?
tested=$(date +%s)
timeout 30 wineserver -k 2> /dev/null

summary=$(grep -E '^[0-9]+% tests passed' ctest-windows.log | tail -1)
failed=$(sed -n 's/.*tests passed, \([0-9]*\) tests failed out of \([0-9]*\).*/\1/p' <<< "$summary")
total=$(sed -n 's/.*tests failed out of \([0-9]*\).*/\1/p' <<< "$summary")
disabled=$(grep -c '(Disabled)' ctest-windows.log)
skipped=$(grep -c '(Skipped)' ctest-windows.log)
scenarios=$(grep -cE 'Test +#[0-9]+: scenario\..* Passed' ctest-windows.log)
if [[ -z $total ]]; then
  tail -40 ctest-windows.log
  echo "windows: the tests did not run"
  exit 1
fi
if [[ $status -ne 0 ]]; then
  sed -n '/The following tests FAILED/,$p' ctest-windows.log
  grep -B2 -A30 'transcript differs\|Failure' ctest-windows.log | head -200
fi
echo "windows: the scenarios compared with the same transcripts as on Linux: $scenarios passed"
echo "windows: transcript lines that differ from Linux, and why (tests/scenarios/windows-differences.txt):"
grep -v '^#' "$here/tests/scenarios/windows-differences.txt" | sed 's/^/  /'
echo "windows: not run on Windows, and why (tests/not-on-windows.txt):"
grep -v '^#' "$here/tests/not-on-windows.txt" | sed 's/^/  /'
echo "windows: $((total - failed - disabled - skipped)) passed, $failed failed, $((disabled + skipped)) not run on Windows (units and scenarios under wine)"
echo "windows: build and package $((built - started)) s, tests $((tested - built)) s"
# The package as a store installs it.
bash "$here/scripts/check-windows-package.sh" || status=1
echo "windows: the package's check $(($(date +%s) - tested)) s"
exit $status
