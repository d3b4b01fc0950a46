#!/usr/bin/env bash
# Refuses a POSIX or Win32 system header outside the operating-system seam: every call the
# programs make to the system goes through common/env.h, whose implementations alone include
# them. The test helpers below must stay POSIX and are named with the reason.
set -euo pipefail
cd "$(dirname "$0")/.."
allowed=(
  # The seam's implementations for POSIX systems and for Windows.
  common/env_posix.cpp common/env_win32.cpp
  # The crash tests and the benchmark fork the posting as a child process, kill it and wait for it.
  bench/child_run.cpp bench/crash_test.cpp bench/window_crash_test.cpp
  # The benchmark's floor measures the bare system calls the posting is compared with.
  bench/io_floor.cpp bench/posting_bench.cpp bench/appraise_bench.cpp
  # A private temporary folder per fuzzing process.
  tests/fuzz/fuzz_records.cpp
  # What the heap's end does, seen from outside the seam.
  tests/unit/interest/large_pages_test.cpp
)
pattern='^[[:space:]]*#[[:space:]]*include[[:space:]]*<(unistd\.h|fcntl\.h|sys/[^>]*|dirent\.h|signal\.h|csignal|malloc\.h|windows\.h|winbase\.h|io\.h)>'
bad=()
while IFS= read -r f; do
  [[ " ${allowed[*]} " == *" $f "* ]] && continue
  grep -qE "$pattern" "$f" && bad+=("$f")
done < <(git ls-files '*.cpp' '*.h' 2>/dev/null || find . -path ./build -prune -o \( -name '*.cpp' -o -name '*.h' \) -print | sed 's|^\./||')
if [[ ${#bad[@]} -gt 0 ]]; then
  echo "System headers outside the operating-system seam (common/env.h): use the seam instead:"
  for f in "${bad[@]}"; do grep -nHE "$pattern" "$f" | sed 's/^/  /'; done
  exit 1
fi
echo "system headers: only in the seam and the test helpers named in scripts/check-system-headers.sh"
