#!/usr/bin/env bash
# Runs one print-project case under Wine with a document name of its own,
# then reads what the default cups-pdf queue wrote:
#   FullPageLetter, FullPageA4: one PDF of one page of that paper, red in
#     the middle of the picture, white near the corners;
#   LandscapeIsRefusedOnce: no PDF;
#   AnimatedFlipbookIsFiveJobs: five PDFs, one a job;
#   PaperPicksTheLayout: no PDF.
# Usage: check_project_pdf.sh CASE WINE-LOADER TEST-PROGRAM
set -euo pipefail
case_name=$1 loader=$2 program=$3
# cups-pdf cuts titles at 63 characters and adds "-job_N" to each file.
document="pennaro-$(echo "$case_name" | tr 'A-Z' 'a-z')-$$-$(date +%s%N | tail -c 10)"
fail() { echo "FAILED: $*" >&2; exit 1; }

source "$(dirname "${BASH_SOURCE[0]}")/../../../framework/tests/real_printing/cups_pdf_folder.sh"
queue_empty() { [ -z "$(lpstat -o 2>/dev/null | awk -v u="$(id -un)" '$2 == u')" ]; }

folder=$(output_folder)
printed() { ls -1 "$folder"/"$document"*.pdf 2>/dev/null || true; }
trap 'rm -f "$folder"/"$document"*.pdf' EXIT

echo "document $document, cups-pdf folder $folder"
PENNARO_PRINT_DOCUMENT=$document "$loader" "$program" --gtest_filter="ProjectPrinting.$case_name" \
    || fail "the print case failed under Wine"

expected=0
case $case_name in
    FullPageLetter|FullPageA4) expected=1 ;;
    AnimatedFlipbookIsFiveJobs) expected=5 ;;
esac
for ((i = 0; i < 600; i++)); do
    count=$(printed | wc -l)
    if [ "$count" -ge "$expected" ] && queue_empty; then
        ok=1
        for pdf in $(printed); do pdfinfo "$pdf" >/dev/null 2>&1 || ok=0; done
        [ "$ok" = 1 ] && break
    fi
    sleep 0.2
done
[ "$expected" = 0 ] && sleep 2
count=$(printed | wc -l)
[ "$count" = "$expected" ] || fail "$count PDFs instead of $expected"
[ "$expected" = 1 ] || { echo "$count PDFs, as it should be"; exit 0; }

pdf=$(printed)
info=$(pdfinfo "$pdf")
pages=$(echo "$info" | sed -n 's/^Pages:[[:space:]]*//p')
size=$(echo "$info" | sed -n 's/^Page size:[[:space:]]*//p')
[ "$pages" = 1 ] || fail "$pages pages instead of 1"
case $case_name in
    FullPageLetter) echo "$size" | grep -q '^612 x 792' || fail "page size $size, not Letter" ;;
    FullPageA4) echo "$size" | grep -Eq '^595(\.[0-9]+)? x 841\.|^595(\.[0-9]+)? x 842' || fail "page size $size, not A4" ;;
esac
# At 20 dots per inch: the middle of the page is the picture's middle.
read -r w h <<<"$(echo "$size" | awk '{printf "%d %d", $1 * 20 / 72, $3 * 20 / 72}')"
pixel() { pdftoppm -f 1 -l 1 -r 20 -x "$1" -y "$2" -W 1 -H 1 "$pdf" | tail -c 3 | od -An -tu1; }
read -r r g b <<<"$(pixel $((w / 2)) $((h / 2)))"
[ "$r" -ge 180 ] && [ "$g" -le 90 ] && [ "$b" -le 90 ] || fail "($r, $g, $b) in the picture instead of red"
for corner in "2 2" "$((w - 3)) 2" "2 $((h - 3))" "$((w - 3)) $((h - 3))"; do
    read -r r g b <<<"$(pixel $corner)"
    [ "$r" -ge 245 ] && [ "$g" -ge 245 ] && [ "$b" -ge 245 ] || fail "($r, $g, $b) at corner $corner instead of white"
done
echo "one $size page, red picture, white corners"
