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
# What each failed test printed, in full (its lines up to the next test's).
failedOutput() {
  awk '/^ *[0-9]+\/[0-9]+ Test +#[0-9]+: .*(\*\*\*|Failed)/ && !/Not Run/ { show = 1; print; next }
       /^ *([0-9]+\/[0-9]+ Test +#[0-9]+:|Start +[0-9]+:)/ { show = 0 }
       /^[0-9]+% tests passed/ { show = 0 }
       show' "$1"
}
# A test that fails under wine is run once more, alone, and both runs are shown: under load, wine
# itself now and then ends a process at its start or hangs it at its exit. One that fails again
# fails the run; one that passes the second time is named below, with what its first run printed.
again=()
if [[ $status -ne 0 && -n $(grep -E '^[0-9]+% tests passed' ctest-windows.log) ]]; then
  echo "windows: what the failed tests printed:"
  failedOutput ctest-windows.log
  mapfile -t again < <(sed -n '/The following tests FAILED/,/^Errors while/s/^[[:space:]]*[0-9]* - \(.*\) (.*)$/\1/p' \
    ctest-windows.log)
  QT_QPA_PLATFORM=offscreen ctest --rerun-failed --output-on-failure > ctest-windows-again.log 2>&1
  status=$?
  echo "windows: the failed tests run again:"
  grep -E 'Test +#[0-9]+:' ctest-windows-again.log
  [[ $status -ne 0 ]] && failedOutput ctest-windows-again.log
fi
tested=$(date +%s)
timeout 30 wineserver -k 2> /dev/null

summary=$(grep -E '^[0-9]+% tests passed' ctest-windows.log | tail -1)
failed=$(sed -n 's/.*tests passed, \([0-9]*\) tests failed out of \([0-9]*\).*/\1/p' <<< "$summary")
if [[ ${#again[@]} -gt 0 ]]; then
  failed=$(sed -n 's/.*tests passed, \([0-9]*\) tests failed out of .*/\1/p' ctest-windows-again.log | tail -1)
fi
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
  sed -n '/The following tests FAILED/,$p' ctest-windows-again.log
fi
echo "windows: the scenarios compared with the same transcripts as on Linux: $scenarios passed"
echo "windows: transcript lines that differ from Linux, and why (tests/scenarios/windows-differences.txt):"
grep -v '^#' "$here/tests/scenarios/windows-differences.txt" | sed 's/^/  /'
echo "windows: not run on Windows, and why (tests/not-on-windows.txt):"
grep -v '^#' "$here/tests/not-on-windows.txt" | sed 's/^/  /'
if [[ ${#again[@]} -gt 0 ]]; then
  echo "windows: failed under wine at first, then run again: ${again[*]}"
fi
echo "windows: $((total - failed - disabled - skipped)) passed, $failed failed, $((disabled + skipped)) not run on Windows (units and scenarios under wine)"
echo "windows: build and package $((built - started)) s, tests $((tested - built)) s"
# The package as a store installs it.
bash "$here/scripts/check-windows-package.sh" || status=1
echo "windows: the package's check $(($(date +%s) - tested)) s"
exit $status
