#!/usr/bin/env bash
# Times the headless posting of two builds of posting-bench on the same synthetic stores, each
# run on a fresh copy written out to disk first, interleaved, and prints the medians of five:
#   bench/before-after.sh BEFORE/posting-bench AFTER/posting-bench [ACCOUNTS ...]
# (default 100000 1000000; the stores go to /tmp, about 1.3 GB for 1,000,000 accounts).
set -euo pipefail
before=$1 after=$2
shift 2
sizes=("$@")
[[ ${#sizes[@]} -gt 0 ]] || sizes=(100000 1000000)
make_store="$(dirname "$after")/make-synthetic-store"
median() { sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }
echo "| accounts | firstmon | before s | after s |"
echo "|---:|:---:|---:|---:|"
for n in "${sizes[@]}"; do
  store=/tmp/before-after-store$n
  work=/tmp/before-after-work
  rm -rf "$store" && "$make_store" "$store" "$n" > /dev/null
  for firstmon in 0 1; do
    : > /tmp/before-after.b; : > /tmp/before-after.a
    for _ in 1 2 3 4 5; do
      for side in b a; do
        bin=$before; [[ $side == a ]] && bin=$after
        rm -rf "$work" && cp -r "$store" "$work" && sync
        "$bin" --child post "$work" 12-8-26 .015 1.00 "$firstmon" >> "/tmp/before-after.$side"
      done
    done
    printf '| %s | %s | %.3f | %.3f |\n' "$n" "$([[ $firstmon == 1 ]] && echo on || echo off)" \
      "$(median < /tmp/before-after.b)" "$(median < /tmp/before-after.a)"
  done
  rm -rf "$store" "$work"
done
