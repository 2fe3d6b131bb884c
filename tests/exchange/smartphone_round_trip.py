#!/usr/bin/env python3
"""Reads the smartphone export back with parsers that owe nothing to the program (python3-vobject
for vCard 3.0, the csv module for CSV) and checks every name, reading, number, address, memo,
group and secret flag; then imports each export again and expects the same book.

Usage: smartphone_round_trip.py VEMBLOR_CLI BOOK.vcf WORK_DIR
"""
import csv
import json
import os
import subprocess
import sys
import unicodedata

import vobject

TEL_TYPES = {0: {"VOICE"}, 1: {"CELL"}, 2: {"PCS"}, 3: {"WORK", "VOICE"}, 4: {"FAX"}}
TEL_LABELS = {0: "Home", 1: "Mobile", 2: "PHS", 3: "Work", 4: "Fax"}

failures = []


def check(condition, what):
    if not condition:
        failures.append(what)


def run(*args):
    result = subprocess.run(args, capture_output=True, text=True)
    if result.returncode != 0:
        sys.exit(f"{' '.join(args)} exited {result.returncode}: {result.stderr}")


def load(path):
    with open(path, encoding="utf-8") as f:
        return json.load(f)


def full_width(reading):
    return unicodedata.normalize("NFKC", reading)


def memo_text(memo):
    return memo.replace("\r\n", "\n")


def filled(slots, key):
    return [s for s in slots if s[key]]


def check_vcard(book, path):
    with open(path, "rb") as f:
        data = f.read()
    check(all(len(line) <= 75 for line in data.split(b"\r\n")), "a vCard line longer than 75 octets")
    check(b"\n" not in data.replace(b"\r\n", b""), "a line end other than CR LF")
    cards = list(vobject.readComponents(data.decode("utf-8")))
    check(len(cards) == book["count"], f"vCard holds {len(cards)} cards")
    for entry, card in zip(book["entries"], cards):
        name = entry["name"]
        check(card.version.value == "3.0", f"{name}: version")
        check(card.fn.value == name, f"{name}: FN {card.fn.value!r}")
        check(card.n.value.family == name, f"{name}: N {card.n.value!r}")
        reading = full_width(entry["furigana"])
        check(card.contents["x-phonetic-last-name"][0].value == reading, f"{name}: reading")
        check(card.contents["sort-string"][0].value == reading, f"{name}: sort string")
        tels = [(t.value, {p.upper() for p in t.params.get("TYPE", [])}) for t in card.contents.get("tel", [])]
        want = [(t["number"], TEL_TYPES.get(t["kind"], {"VOICE"})) for t in filled(entry["tel"], "number")]
        check(tels == want, f"{name}: TEL {tels} != {want}")
        mails = [(m.value, {p.upper() for p in m.params.get("TYPE", [])}) for m in card.contents.get("email", [])]
        want = [(m["address"], {"INTERNET", "WORK"} if m["kind"] == 1 else {"INTERNET"})
                for m in filled(entry["mail"], "address")]
        check(mails == want, f"{name}: EMAIL {mails} != {want}")
        notes = [n.value for n in card.contents.get("note", [])]
        check(notes == ([memo_text(entry["memo"])] if entry["memo"] else []), f"{name}: NOTE {notes!r}")
        categories = [c for n in card.contents.get("categories", []) for c in n.value]
        check(categories == ([f"グループ{entry['group']}"] if entry["group"] else []), f"{name}: CATEGORIES {categories}")
        classes = [c.value for c in card.contents.get("class", [])]
        check(classes == (["PRIVATE"] if entry["secret"] else []), f"{name}: CLASS {classes}")


def check_csv(book, path):
    with open(path, encoding="utf-8", newline="") as f:
        rows = list(csv.DictReader(f))
    check(len(rows) == book["count"], f"CSV holds {len(rows)} rows")
    for entry, row in zip(book["entries"], rows):
        name = entry["name"]
        check(row["Last Name"] == name, f"{name}: Last Name {row['Last Name']!r}")
        check(row["Phonetic Last Name"] == full_width(entry["furigana"]), f"{name}: reading")
        check(memo_text(row["Notes"]) == memo_text(entry["memo"]), f"{name}: Notes {row['Notes']!r}")
        check(row["Labels"] == (f"グループ{entry['group']}" if entry["group"] else ""), f"{name}: Labels")
        check(row["Sensitivity"] == ("Private" if entry["secret"] else ""), f"{name}: Sensitivity")
        tels = [t for t in filled(entry["tel"], "number")]
        for n in range(3):
            want = (TEL_LABELS.get(tels[n]["kind"], "Home"), tels[n]["number"]) if n < len(tels) else ("", "")
            got = (row[f"Phone {n + 1} - Label"], row[f"Phone {n + 1} - Value"])
            check(got == want, f"{name}: Phone {n + 1} {got} != {want}")
        mails = [m for m in filled(entry["mail"], "address")]
        for n in range(3):
            want = ("Work" if mails[n]["kind"] == 1 else "Other", mails[n]["address"]) if n < len(mails) else ("", "")
            got = (row[f"E-mail {n + 1} - Label"], row[f"E-mail {n + 1} - Value"])
            check(got == want, f"{name}: E-mail {n + 1} {got} != {want}")


def main():
    cli, source, work = sys.argv[1:4]
    os.makedirs(work, exist_ok=True)
    original = os.path.join(work, "original.json")
    run(cli, "convert", source, original)
    book = load(original)
    check(book["count"] > 0, "the source book is empty")
    for suffix, reader in (("vcf", check_vcard), ("csv", check_csv)):
        exported = os.path.join(work, f"export.{suffix}")
        run(cli, "export", source, exported)
        reader(book, exported)
        back = os.path.join(work, f"back-{suffix}.json")
        run(cli, "import", exported, back)
        check(load(back) == book, f"export.{suffix} imported again differs from the book")
    for failure in failures:
        print("FAIL:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
