#!/usr/bin/env bash
# Prints an appraisal of the demo store and a posting's report through a real printer queue: CUPS
# with a PDF printer, set up as a store sets up its printer (below), then checks the pages the
# queue wrote. Needs root: it installs and starts CUPS. Run by CI after the test command. It
# leaves the machine as it found it: a CUPS it started is stopped again, its queue is removed,
# the default printer is put back and the pages it printed are deleted.
#
# A store's printer, the same way: install CUPS and the printer's driver, add the queue and make it
# the default, which is the printer Appraise and Interest print on:
#   apt-get install cups printer-driver-cups-pdf      # or the driver of the store's printer
#   lpadmin -p StorePDF -v cups-pdf:/ -E -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
#   lpadmin -d StorePDF
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build="${BUILD_DIR:-$here/build}"
checks=6
if [[ $(id -u) -ne 0 ]]; then
  echo "cups-check: it needs root to install and start CUPS"
  echo "cups: 0 passed, 0 failed, $checks skipped"
  exit 0
fi
fail() { echo "cups-check: $*"; echo "cups: 0 passed, 1 failed"; exit 1; }

missing=()
for p in cups printer-driver-cups-pdf poppler-utils; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [[ ${#missing[@]} -gt 0 ]]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq > /dev/null || fail "apt-get update failed"
  apt-get install -y -qq --no-install-recommends "${missing[@]}" > /dev/null ||
    fail "could not install ${missing[*]}"
fi

# What is there before, to be put back afterwards: whether cupsd runs, the default printer, the
# printed pages' folder and what it holds.
work=$(mktemp -d)
queue=VelmaronCheck$$
out="$HOME/PDF"
made_out=""
[[ -d $out ]] || made_out=yes
mkdir -p "$out"
before_list="$work/before.txt"
ls "$out" > "$before_list"
started_cupsd=""
old_default=""
restore() {
  lpadmin -x "$queue" 2> /dev/null || true
  if [[ -n $old_default ]]; then lpadmin -d "$old_default" 2> /dev/null || true; fi
  # The pages this check printed, and the folder when it made it.
  comm -13 <(sort "$before_list") <(ls "$out" | sort) | while IFS= read -r f; do rm -f "$out/$f"; done
  if [[ -n $made_out ]]; then rmdir "$out" 2> /dev/null || true; fi
  if [[ -n $started_cupsd ]]; then
    # Stopped, and gone before the check ends: nothing of it outlives the check.
    pkill -x cupsd || true
    for _ in $(seq 50); do pgrep -x cupsd > /dev/null || break; sleep 0.2; done
  fi
  rm -rf "$work"
}
trap restore EXIT
if ! lpstat -r 2>/dev/null | grep -q "is running"; then
  # Without an init system (a container, a chroot) cupsd is started directly.
  started_cupsd=yes
  /usr/sbin/cupsd || fail "cupsd did not start"
fi
for _ in $(seq 30); do lpstat -r 2>/dev/null | grep -q "is running" && break; sleep 1; done
lpstat -r 2>/dev/null | grep -q "is running" || fail "the CUPS scheduler is not answering"
old_default=$(lpstat -d 2>/dev/null | sed -n 's/^system default destination: //p')

lpadmin -p "$queue" -v cups-pdf:/ -E -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd 2> /dev/null ||
  fail "could not add the PDF printer queue"
lpadmin -d "$queue" || fail "could not make the queue the default printer"
cmake --build "$build" --target print-check > /dev/null || fail "print-check did not build"

QT_QPA_PLATFORM=offscreen "$build/bin/print-check" "$work/store" > "$work/transcript.txt" 2> "$work/errors.txt" ||
  fail "print-check failed: $(tail -3 "$work/errors.txt")"
for _ in $(seq 60); do [[ -z $(lpstat -o 2>/dev/null) ]] && break; sleep 1; done
sleep 2
passed=0
failed=0
check() { if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "cups-check failed: $*"; fi; }
check grep -q "The report was printed on $queue" "$work/transcript.txt"
mapfile -t pdfs < <(comm -13 <(sort "$before_list") <(ls "$out" | sort) | sed "s|^|$out/|")
check test "${#pdfs[@]}" -eq 2
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
