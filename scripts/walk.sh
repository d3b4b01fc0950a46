#!/usr/bin/env bash
# Random walks over a window (Appraise's worksheet unless --window interest), longer than the
# tests': each walk is a script of random steps checked after every step; a failing walk is
# shrunk to the shortest script that still fails, ready to paste as a scenario.
#
#   scripts/walk.sh [--window worksheet|interest] [--walks N] [--steps M] [--seed S] [other options of walker]
#
# Defaults: 200 walks of 100 steps from a seed of its own (said first, so that a run can be
# repeated). Builds the walker first if needed, in build/ (BUILD_DIR to use another folder).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build="${BUILD_DIR:-$here/build}"
walks=200 steps=100 seed=$((RANDOM * 32768 + RANDOM)) window=worksheet
rest=()
while [[ $# -gt 0 ]]; do
  case $1 in
    --walks) walks=$2; shift 2 ;;
    --steps) steps=$2; shift 2 ;;
    --seed) seed=$2; shift 2 ;;
    --window) window=$2; shift 2 ;;
    -h|--help) sed -n '2,9p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) rest+=("$1"); shift ;;
  esac
done
# The walker is a test program: the build folder needs the tests.
if ! grep -qs '^BUILD_TESTING:BOOL=ON' "$build/CMakeCache.txt"; then
  cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON
fi
cmake --build "$build" -j"$(nproc)" --target walker
echo "$window walker: $walks walks of $steps steps from seed $seed"
export QT_QPA_PLATFORM=offscreen QTEST_DISABLE_STACK_DUMP=1 LANG=C.UTF-8
exec "$build/bin/walker" --window "$window" --walks "$walks" --steps "$steps" --seed "$seed" "${rest[@]}"
