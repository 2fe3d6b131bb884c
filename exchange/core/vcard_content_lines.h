#pragma once
// Splits the bytes of a vCard file (2.1, 3.0 or 4.0) into content lines: line ends of any kind
// (CR LF, LF, CR CR LF, or CR alone in a file without LF), folded lines joined, quoted-printable
// soft line breaks joined, and each line taken apart into group, name, parameters and value.
// Values stay bytes: their charset and escapes are the card reader's business.

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QPair>

#include <functional>
#include <optional>

struct VCardContentLine {
    QByteArray group;                            // "ITEM1" in "item1.EMAIL", upper case
    QByteArray name;                             // upper case
    QList<QPair<QByteArray, QByteArray>> params; // name upper case ("" for a bare 2.1 word)
    QByteArray value;
    int lineNumber = 0; // of the first physical line, from 1

    // The first value of the parameter, unquoted, or nothing.
    std::optional<QByteArray> param(QByteArrayView paramName) const;
    // Every TYPE word, upper case: TYPE=a,b, repeated TYPE=, quoted lists and bare 2.1 words.
    QList<QByteArray> types() const;
    bool isQuotedPrintable() const;
    bool isBase64() const;
    // PREF as a type word, PREF=1 (any number) or TYPE=PREF.
    bool isPreferred() const;
};

// Hands each content line of bytes, in file order, to each until it returns false; the physical
// lines must have been checked against MAX_CONTACT_LINE. Only one line is held at a time, so a
// file of any number of cards takes no more memory than its longest line.
void forEachVCardLine(QByteArrayView bytes,
                      const std::function<bool(const VCardContentLine&)>& each);

// Whether bytes (after blank lines and lines starting with "#") begin with BEGIN:VCARD in any
// case.
bool looksLikeVCard(QByteArrayView bytes);
