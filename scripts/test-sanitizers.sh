#!/usr/bin/env bash
# The whole test suite built with AddressSanitizer and UndefinedBehaviorSanitizer: any report
# stops the program that made it and fails its test. Installs what is missing (GCC brings both
# runtimes), builds into build-asan (or BUILD_DIR) and prints CTest's closing line.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
bash "$here/scripts/install-deps.sh"
build="${BUILD_DIR:-$here/build-asan}"
flags="-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined"

# Set for the build too: the test programs are run there to list their tests.
# Leaks are looked for as well (detect_leaks=1): what Qt keeps to the end of a program (the
# platform plugin, the font caches, its statics) is still reachable at exit, which LeakSanitizer
# does not count, so a test fails on a leak only when memory was lost. A report stops the program
# at the first error and exits with 23, which no program of ours uses, so that a scenario whose
# driver is expected to fail still fails.
export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:check_initialization_order=1:exitcode=23"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:exitcode=23"

# The warnings are held by the linux stage, which builds with warnings as errors; here they are
# shown, not fatal: GCC's flow warnings change with the instrumentation, and a warning only the
# instrumented build gives is no finding of the sanitizers.
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON \
  -DVELMARON_WARNINGS_AS_ERRORS=OFF \
  -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
  -DCMAKE_SHARED_LINKER_FLAGS="-fsanitize=address,undefined"
cmake --build "$build" -j"$(nproc)"
cd "$build"

# LargePagesTest checks that a posting's block buffer, taken from malloc, lies in the heap the
# program advised for large pages (sbrk, madvise). Under AddressSanitizer malloc is the
# sanitizer's own allocator, which takes its memory from mappings of its own, never from that
# heap, so the test's premise does not hold here; the plain build runs it.
excluded='^LargePagesTest\.'
set +e
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)" -E "$excluded" | tee ctest-sanitizers.log
status=${PIPESTATUS[0]}
set -e
echo "sanitizers: not run here: LargePagesTest (malloc is the sanitizer's allocator, not the advised heap)"
echo "sanitizers: $(grep -E '^[0-9]+% tests passed' ctest-sanitizers.log | tail -1)"
exit "$status"
