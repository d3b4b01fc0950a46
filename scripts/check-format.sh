#!/usr/bin/env bash
# Fails when a tracked C++ file differs from what .clang-format makes of it, and names the files.
set -euo pipefail
cd "$(dirname "$0")/.."
bad=()
while IFS= read -r f; do
  [[ -f "$f" ]] || continue
  clang-format --dry-run --Werror "$f" >/dev/null 2>&1 || bad+=("$f")
done < <(git ls-files '*.cpp' '*.h' 2>/dev/null || find . -path ./build -prune -o \( -name '*.cpp' -o -name '*.h' \) -print)
if [[ ${#bad[@]} -gt 0 ]]; then
  echo "Not formatted as .clang-format says (run clang-format -i on them):"
  printf '  %s\n' "${bad[@]}"
  exit 1
fi
echo "format: all files formatted"
