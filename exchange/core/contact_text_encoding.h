#pragma once
// Finds how a contacts file is encoded and turns its bytes into text. A byte-order mark decides
// first (UTF-8, UTF-16); otherwise a file whose bytes are valid UTF-8 is UTF-8 and any other is
// Shift-JIS (code page 932), which the Japanese handsets and PC programs wrote. UTF-16 without
// a mark is told by the zero bytes of its first character.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

// The bytes of a file with any byte-order mark removed and UTF-16 turned into UTF-8, and the
// charset the rest of the file is read in when a property names none.
struct ContactBytes {
    QByteArray bytes;
    QByteArray charset; // "UTF-8" or "windows-31j"
};

// Nothing when the file is not text in an encoding the import knows: a UTF-32 mark, NUL bytes
// that are not UTF-16, or UTF-16 that does not decode. A caller that hands the bytes over
// (std::move) lets a UTF-8 mark go without a copy of the whole file.
std::optional<ContactBytes> detectContactEncoding(QByteArray file);

bool isValidUtf8(QByteArrayView bytes);

// A physical line longer than this ends an import: no exporter writes one (photos are folded),
// and a file that holds one is not a contacts file.
constexpr qsizetype MAX_CONTACT_LINE = 1 << 20;

// The first physical line (from 1) longer than MAX_CONTACT_LINE bytes, or 0.
int firstTooLongLine(QByteArrayView bytes);

// The decoder's name for a CHARSET parameter ("SHIFT_JIS" → "windows-31j"), or nothing when no
// decoder knows it.
std::optional<QByteArray> knownCharset(QByteArrayView name);

// bytes decoded in charset; bytes labelled UTF-8 that are not valid UTF-8 are read as code page
// 932, as the handsets that mislabel them meant.
QString decodeContactText(QByteArrayView bytes, const QByteArray& charset);
