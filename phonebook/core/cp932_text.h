#pragma once
// The one boundary between the Shift-JIS (code page 932) bytes of the records and Unicode
// text on the screen, in file names and in JSON.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

QString fromCp932(QByteArrayView bytes);
inline QString fromCp932(const char* nulTerminated)
{
    return fromCp932(QByteArrayView(nulTerminated, qstrlen(nulTerminated)));
}

// Text with each character that code page 932 holds under another code point replaced by that
// form: the wave dash U+301C by U+FF5E, the minus sign U+2212 by U+FF0D, the em dash U+2014 by
// U+2015, the double vertical line U+2016 by U+2225, and the cent, pound and not signs by their
// full-width forms. Japanese input methods on Linux type the first forms.
QString foldToCp932Forms(QString text);

// The code page 932 bytes of text (folded as above first), or nothing when a character has no
// code page 932 form.
std::optional<QByteArray> toCp932(const QString& text);

// Number of code page 932 bytes text takes, or -1 when a character has no form there.
qsizetype cp932Length(const QString& text);

// Copies text into a NUL-terminated field of fieldSize bytes. Fails, leaving the field as it
// was, when text has no code page 932 form or does not fit in fieldSize-1 bytes.
bool storeCp932(const QString& text, char* field, std::size_t fieldSize);
