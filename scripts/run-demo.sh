#!/usr/bin/env bash
# Installs what is missing, builds, writes the demo store when it is missing, and starts the
# stand-in main program on it.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
bash "$here/scripts/install-deps.sh"
build="${BUILD_DIR:-$here/build}"
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" -j"$(nproc)" --target velmaron appraise interest make-demo-store
store="${DEMO_STORE:-$here/demo-store}"
[[ -f "$store/cust.dat" ]] || "$build/bin/make-demo-store" "$store"
exec "$build/bin/velmaron" "$store"
