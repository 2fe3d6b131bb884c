#!/usr/bin/env bash
# The manual's text layer holds the characters its pages show, so that a PDF viewer's search and
# copying find them: common words are found as written, no character comes out as a CJK radical
# look-alike (U+2E80-U+2FDF, e.g. ⾏ for 行, ⻑ for 長), and every ideograph of the source is in
# the extracted text.
set -euo pipefail
pdf=$1
source_md=$2
text=$(mktemp)
trap 'rm -f "$text"' EXIT
pdftotext "$pdf" "$text"
python3 - "$text" "$source_md" <<'PY'
import sys
text = open(sys.argv[1], encoding="utf-8").read()
source = open(sys.argv[2], encoding="utf-8").read()
status = 0
for word in ["行", "表示", "入力", "一覧", "電話帳", "読み込み", "長さ"]:
    if word not in text:
        print(f"not found in the PDF's text: {word}")
        status = 1
radicals = sorted({c for c in text if 0x2E80 <= ord(c) <= 0x2FDF} - set(source))
if radicals:
    print("radicals in the PDF's text in place of ideographs: " +
          " ".join(f"{c} U+{ord(c):04X}" for c in radicals))
    status = 1
ideographs = lambda s: {c for c in s if 0x4E00 <= ord(c) <= 0x9FFF}
missing = sorted(ideographs(source) - ideographs(text))
if missing:
    print("ideographs of the source missing from the PDF's text: " + "".join(missing))
    status = 1
if status == 0:
    print(f"the PDF's text holds all {len(ideographs(source))} ideographs of the manual")
sys.exit(status)
PY
