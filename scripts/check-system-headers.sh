#!/usr/bin/env bash
# Refuses a POSIX or Win32 system header outside the operating-system seam: every call the
# programs make to the system goes through common/env.h, whose implementations alone include
# them. The test helpers below must stay POSIX and are named with the reason.
set -euo pipefail
cd "$(dirname "$0")/.."
allowed=(
  # The seam's implementation for POSIX systems.
  common/env_posix.cpp
  # The crash and power-cut tests fork the posting as a child process, kill it and wait for it.
  bench/child_run.cpp bench/crash_test.cpp bench/power_cut_test.cpp
  # The benchmark's floor measures the bare system calls the posting is compared with.
  bench/io_floor.cpp bench/posting_bench.cpp
  # Another process holding a file's lock, as another computer of the store does: the
  # scenarios check the seam's real locks end to end with it.
  tests/support/held_lock.cpp tests/tools/holdlock.cpp
  # Tests of the seam against the system itself: permissions taken away, a lock taken by
  # another open file of the same process.
  tests/unit/common/files_test.cpp tests/unit/common/text_test.cpp
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
