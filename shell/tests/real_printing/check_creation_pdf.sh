#!/usr/bin/env bash
# Runs the painting screen's print case under Wine with a document name of
# its own, then reads what the default cups-pdf queue wrote: one PDF of one
# page whose middle is the red canvas.
# Usage: check_creation_pdf.sh WINE-LOADER TEST-PROGRAM
set -euo pipefail
loader=$1 program=$2
# cups-pdf cuts titles at 63 characters and adds "-job_N" to each file.
document="pennaro-creation-$$-$(date +%s%N | tail -c 10)"
fail() { echo "FAILED: $*" >&2; exit 1; }

source "$(dirname "${BASH_SOURCE[0]}")/../../../framework/tests/real_printing/cups_pdf_folder.sh"
queue_empty() { [ -z "$(lpstat -o 2>/dev/null | awk -v u="$(id -un)" '$2 == u')" ]; }

folder=$(output_folder)
printed() { ls -1 "$folder"/"$document"*.pdf 2>/dev/null || true; }
trap 'rm -f "$folder"/"$document"*.pdf' EXIT

echo "document $document, cups-pdf folder $folder"
PENNARO_PRINT_DOCUMENT=$document "$loader" "$program" --gtest_filter="CreationPrinting.*" \
    || fail "the print case failed under Wine"

for ((i = 0; i < 600; i++)); do
    if [ "$(printed | wc -l)" -ge 1 ] && queue_empty && pdfinfo "$(printed | head -n 1)" >/dev/null 2>&1; then
        break
    fi
    sleep 0.2
done
count=$(printed | wc -l)
[ "$count" = 1 ] || fail "$count PDFs instead of 1"
pdf=$(printed)
info=$(pdfinfo "$pdf")
pages=$(echo "$info" | sed -n 's/^Pages:[[:space:]]*//p')
size=$(echo "$info" | sed -n 's/^Page size:[[:space:]]*//p')
[ "$pages" = 1 ] || fail "$pages pages instead of 1"
read -r w h <<<"$(echo "$size" | awk '{printf "%d %d", $1 * 20 / 72, $3 * 20 / 72}')"
pixel() { pdftoppm -f 1 -l 1 -r 20 -x "$1" -y "$2" -W 1 -H 1 "$pdf" | tail -c 3 | od -An -tu1; }
read -r r g b <<<"$(pixel $((w / 2)) $((h / 2)))"
[ "$r" -ge 180 ] && [ "$g" -le 90 ] && [ "$b" -le 90 ] || fail "($r, $g, $b) in the middle instead of red"
echo "one $size page, red in the middle"
