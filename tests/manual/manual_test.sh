#!/usr/bin/env bash
# The built manual is a PDF with pages, and every chapter heading of its source is in its text.
set -euo pipefail
pdf=$1
source_md=$2
pages=$(pdfinfo "$pdf" | awk '/^Pages:/ {print $2}')
[ "${pages:-0}" -ge 1 ] || { echo "no pages in $pdf"; exit 1; }
text=$(pdftotext -layout "$pdf" -)
status=0
while IFS= read -r heading; do
    grep -qF -- "$heading" <<<"$text" || { echo "heading missing from the PDF: $heading"; status=1; }
done < <(sed -n 's/^##\{1,2\} \(.*\)$/\1/p' "$source_md" | sed 's/[*`]//g')
# Every picture fits the text width: A4 less 18 mm margins and the 2 cm the layout adds on each
# side leaves 134 mm, 5.28 inches. pdfimages gives each picture's pixels and its pixels per inch
# as placed.
pictures=$(grep -c '^!\[' "$source_md")
placed=$(pdfimages -list "$pdf" | awk '$3 == "image"' | wc -l)
[ "$placed" -eq "$pictures" ] || { echo "$placed pictures in the PDF, $pictures in its source"; status=1; }
while read -r width ppi; do
    awk -v w="$width" -v p="$ppi" 'BEGIN { exit !(w / p <= 5.3) }' ||
        { echo "a picture $width px wide at $ppi ppi is wider than the text"; status=1; }
done < <(pdfimages -list "$pdf" | awk '$3 == "image" { print $4, $13 }')
[ $status -eq 0 ] && echo "manual has $pages pages, all its headings and pictures within the text width"
exit $status
