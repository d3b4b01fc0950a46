#!/usr/bin/env bash
# Prints an appraisal of the demo store and a posting's report through a real printer queue: CUPS
# with a PDF printer, set up as a store sets up its printer (below), then checks the pages the
# queue wrote. Needs root: it installs and starts CUPS. Run by CI after the test command.
#
# A store's printer, the same way: install CUPS and the printer's driver, add the queue and make it
# the default, which is the printer Appraise and Interest print on:
#   apt-get install cups printer-driver-cups-pdf      # or the driver of the store's printer
#   lpadmin -p StorePDF -v cups-pdf:/ -E -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
#   lpadmin -d StorePDF
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build="${BUILD_DIR:-$here/build}"
if [[ $(id -u) -ne 0 ]]; then
  echo "cups-check: skipped, it needs root to install and start CUPS"
  exit 0
fi
missing=()
for p in cups printer-driver-cups-pdf poppler-utils; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [[ ${#missing[@]} -gt 0 ]]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq && apt-get install -y -qq --no-install-recommends "${missing[@]}" > /dev/null
fi
pgrep -x cupsd > /dev/null || /usr/sbin/cupsd
for _ in $(seq 30); do lpstat -r 2>/dev/null | grep -q "is running" && break; sleep 1; done
lpadmin -p StorePDF -v cups-pdf:/ -E -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd 2> /dev/null
lpadmin -d StorePDF
cmake --build "$build" --target print-check > /dev/null

out="$HOME/PDF"
mkdir -p "$out"
before=$(ls "$out" | wc -l)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
QT_QPA_PLATFORM=offscreen "$build/bin/print-check" "$work/store" > "$work/transcript.txt" 2> /dev/null
for _ in $(seq 60); do [[ -z $(lpstat -o 2>/dev/null) ]] && break; sleep 1; done
sleep 2
passed=0
failed=0
check() { if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "cups-check failed: $*"; fi; }
check grep -q 'The report was printed on StorePDF' "$work/transcript.txt"
mapfile -t pdfs < <(ls -t "$out"/*.pdf | head -n 2)
check test "$(($(ls "$out" | wc -l) - before))" -eq 2
for pdf in "${pdfs[@]}"; do
  pages=$(pdfinfo "$pdf" 2>/dev/null | awk '/^Pages:/ { print $2 }')
  check test "${pages:-0}" -ge 1
  # A page with something printed on it: its rendering is not blank.
  pdftoppm -gray -r 30 -f 1 -l 1 "$pdf" "$work/page" 2> /dev/null
  check test "$(od -An -tu1 -v "$work"/page*.pgm | tr -s ' ' '\n' | awk '$1 < 128' | wc -l)" -gt 100
  rm -f "$work"/page*.pgm
done
echo "cups: $passed passed, $failed failed"
[[ $failed -eq 0 ]]
