#!/usr/bin/env bash
# The pages of docs/appraisal-with-photos-*.png: the demo store, two photos, the appraisal of
# docs/appraisal-with-photos.uis printed to a PDF by the scripted session, its pages as PNG.
#   scripts/docs-appraisal-pages.sh BIN OUT-PREFIX [RUNNER [SENT-PREFIX]]
# BIN holds make-demo-store and uiscript; for the Windows build they are the .exe files and RUNNER
# is scripts/wine-run.sh (wine with the fonts of the Linux run), WINEPREFIX the build's.
set -euo pipefail
bin=$(cd "$1" && pwd) out=$2 run=${3:-}
exe=""; [[ -n $run ]] && exe=.exe
root=$(cd "$(dirname "$0")/.." && pwd)
store=$(mktemp -d)/store
$run "$bin/make-demo-store$exe" "$store" > /dev/null
cd "$store"
printf 'Ann Smith\r\n12 Main St\r\n"Anytown, ST 12345"\r\n12\r\n' > apptrans.dat
convert -size 1200x800 plasma:gold-orange -fill white -draw "circle 600,400 600,250" ring.jpg
convert -size 800x800 gradient:silver-gray -fill black -draw "circle 400,400 400,150" \
  -fill silver -draw "circle 400,400 400,230" bracelet.png
cp "$root/docs/appraisal-with-photos.uis" session.uis
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} $run "$bin/uiscript$exe" session.uis > transcript.txt 2> /dev/null || true
pdftoppm -r 60 -png appraisal-with-photos.pdf page
pages=(page-*.png)
cp "${pages[0]}" "$out-page-1.png"
cp "${pages[-1]}" "$out-last-page.png"
cp appraisal-with-photos.pdf "$out.pdf"
# The customer's PDF: the same pages under the customer's name.
sent=(Appraisal\ PDFs/*.pdf)
if [[ -n ${4:-} ]]; then
  cp "${sent[0]}" "$4.pdf"
  pdftoppm -r 60 -png -f 1 -l 1 "${sent[0]}" "$4-page" # writes $4-page-1.png
fi
echo "$store: ${#pages[@]} pages"
