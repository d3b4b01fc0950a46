#!/usr/bin/env bash
# Builds the fuzz targets with clang and the sanitizers and runs each for a bounded time
# (SECONDS each, default 60). Installs clang and its fuzzing runtime when missing. Crashes and
# their inputs land in build-fuzz/findings/.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
bash "$here/scripts/install-deps.sh"
need=()
for p in clang libclang-rt-14-dev; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || need+=("$p")
done
if [[ ${#need[@]} -gt 0 ]]; then
  sudo=(); [[ $(id -u) -ne 0 ]] && sudo=(sudo)
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${need[@]}"
fi
build="$here/build-fuzz"
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMARON_FUZZ=ON -DBUILD_TESTING=ON \
  -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang
cmake --build "$build" -j"$(nproc)" --target fuzz_numbers fuzz_text_fields fuzz_dates fuzz_records
mkdir -p "$build/findings"
export QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1
status=0
for t in numbers text_fields dates records; do
  mkdir -p "$build/corpus/$t"
  echo "== fuzz_$t for ${seconds}s"
  "$build/bin/fuzz_$t" "$build/corpus/$t" -max_total_time="$seconds" -timeout=10 -max_len=1024 \
    -artifact_prefix="$build/findings/$t-" -print_final_stats=1 2>&1 | tail -n 12 || status=1
done
exit $status
