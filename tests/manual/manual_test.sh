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
[ $status -eq 0 ] && echo "manual has $pages pages and all its headings"
exit $status
