#!/usr/bin/env bash
# Installs what is missing, configures, builds and runs every test.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
bash "$here/scripts/install-deps.sh"
bash "$here/scripts/check-format.sh"
bash "$here/scripts/check-system-headers.sh"
build="${BUILD_DIR:-$here/build}"
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON \
  -DVELMARON_WARNINGS_AS_ERRORS=ON
cmake --build "$build" -j"$(nproc)"
cd "$build"
status=0
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)" || status=$?
# The random walkers' counts, which CTest shows only for a test that failed.
grep -hE '^(worksheet|interest) walker: ' Testing/Temporary/LastTest.log || true
exit $status
