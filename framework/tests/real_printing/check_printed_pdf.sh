#!/usr/bin/env bash
# Runs one real-printing case (Pages or Cancel) under Wine with a document
# name of its own, then looks at what the default cups-pdf queue wrote:
#   Pages:  one PDF of 6 pages titled with the name, "page 0" to "page 2"
#           twice in order, the box's colour inside the box;
#   Cancel: no PDF at all.
# Usage: check_printed_pdf.sh CASE WINE-LOADER TEST-PROGRAM
set -euo pipefail
case_name=$1 loader=$2 program=$3
document="pennaro-$(echo "$case_name" | tr 'A-Z' 'a-z')-$$-$(date +%s%N)"

fail() { echo "FAILED: $*" >&2; exit 1; }

source "$(dirname "${BASH_SOURCE[0]}")/cups_pdf_folder.sh"

# Waits until no job of this user is queued (at most $1 seconds).
wait_for_queue() {
    local i
    for ((i = 0; i <= $1 * 5; i++)); do
        [ -z "$(lpstat -o 2>/dev/null | awk -v u="$(id -un)" '$2 == u')" ] && return 0
        sleep 0.2
    done
    return 1
}

folder=$(output_folder)
printed() { ls -1 "$folder"/"$document"*.pdf 2>/dev/null | head -n 1; }
trap 'rm -f "$folder"/"$document"*.pdf' EXIT

echo "document $document, cups-pdf folder $folder"
PENNARO_PRINT_DOCUMENT=$document "$loader" "$program" --gtest_filter="RealPrinting.$case_name" \
    || fail "the print case failed under Wine"

if [ "$case_name" = Cancel ]; then
    wait_for_queue 30 || true
    sleep 2
    [ -z "$(printed)" ] || fail "a cancelled job left $(printed)"
    echo "no PDF, as it should be"
    exit 0
fi

pdf=""
for ((i = 0; i < 450; i++)); do
    pdf=$(printed)
    if [ -n "$pdf" ] && pdfinfo "$pdf" >/dev/null 2>&1 && wait_for_queue 0; then
        break
    fi
    pdf=""
    sleep 0.2
done
[ -n "$pdf" ] || fail "no PDF named $document* appeared in $folder"
echo "printed $pdf"

info=$(pdfinfo "$pdf")
pages=$(echo "$info" | sed -n 's/^Pages:[[:space:]]*//p')
title=$(echo "$info" | sed -n 's/^Title:[[:space:]]*//p')
[ "$pages" = 6 ] || fail "$pages pages instead of 6"
[ "$title" = "$document" ] || fail "title '$title' instead of '$document'"

order=$(pdftotext "$pdf" - | grep -o 'page [0-9]' | tr '\n' ' ')
[ "$order" = "page 0 page 1 page 2 page 0 page 1 page 2 " ] || fail "pages in the order '$order'"

# The box covers 1 to 3 inches from the page's top left: its middle at
# 20 dots per inch is (40, 40).
for page in 1 4; do
    rgb=$(pdftoppm -f $page -l $page -r 20 -x 40 -y 40 -W 1 -H 1 "$pdf" | tail -c 3 | od -An -tu1)
    read -r red green blue <<<"$rgb"
    near() { [ $(($1 - $2)) -le 4 ] && [ $(($2 - $1)) -le 4 ]; }
    near "$red" 30 && near "$green" 144 && near "$blue" 255 \
        || fail "page $page shows ($red, $green, $blue) inside the box instead of (30, 144, 255)"
done
echo "6 pages, title, order and colour as printed"
