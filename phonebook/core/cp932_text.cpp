#include "phonebook/core/cp932_text.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <cstring>
#include <memory>

namespace {
// "windows-31j" is the code page 932 table (NEC and IBM extensions, the wave dash as U+FF5E),
// which plain "Shift_JIS" lacks.
constexpr const char* CP932 = "windows-31j";

// Opening the converter costs far more than converting a field, so each thread keeps one of
// each and resets it before every use.
QStringDecoder& threadDecoder()
{
    thread_local QStringDecoder decoder(CP932);
    decoder.resetState();
    return decoder;
}

// The encoder's error mark survives resetState() in this Qt, so an encoder that has met a
// character without a code page 932 form is replaced by a new one.
QStringEncoder& threadEncoder()
{
    thread_local std::unique_ptr<QStringEncoder> encoder;
    if (!encoder || encoder->hasError())
        encoder = std::make_unique<QStringEncoder>(CP932);
    encoder->resetState();
    return *encoder;
}

// The printable ASCII bytes stand for the same characters in code page 932; the table moves
// only some control bytes (0x1A, 0x1C, 0x7F).
bool isPrintableAscii(char16_t c)
{
    return c >= 0x20 && c < 0x7F;
}

char16_t cp932FormOf(char16_t c)
{
    switch (c) {
    case u'\u301C':
        return u'\uFF5E';
    case u'\u2212':
        return u'\uFF0D';
    case u'\u2014':
        return u'\u2015';
    case u'\u2016':
        return u'\u2225';
    case u'\u00A2':
        return u'\uFFE0';
    case u'\u00A3':
        return u'\uFFE1';
    case u'\u00AC':
        return u'\uFFE2';
    default:
        return c;
    }
}

} // namespace

QString fromCp932(QByteArrayView bytes)
{
    if (std::all_of(bytes.begin(), bytes.end(),
                    [](char c) { return isPrintableAscii(static_cast<unsigned char>(c)); }))
        return QString::fromLatin1(bytes);
    return threadDecoder().decode(bytes);
}

QString foldToCp932Forms(QString text)
{
    // Most text holds none of them; looking first leaves it unshared and uncopied.
    const qsizetype first = std::find_if(text.cbegin(), text.cend(),
                                         [](QChar c) { return cp932FormOf(c.unicode()) != c; }) -
                            text.cbegin();
    if (first == text.size())
        return text;
    for (auto c = text.begin() + first; c != text.end(); ++c)
        *c = QChar(cp932FormOf(c->unicode()));
    return text;
}

std::optional<QByteArray> toCp932(const QString& text)
{
    if (std::all_of(text.cbegin(), text.cend(),
                    [](QChar c) { return isPrintableAscii(c.unicode()); }))
        return text.toLatin1();
    QStringEncoder& encoder = threadEncoder();
    QByteArray bytes = encoder.encode(foldToCp932Forms(text));
    if (encoder.hasError())
        return std::nullopt;
    return bytes;
}

qsizetype cp932Length(const QString& text)
{
    auto bytes = toCp932(text);
    return bytes ? bytes->size() : -1;
}

bool storeCp932(const QString& text, char* field, std::size_t fieldSize)
{
    auto bytes = toCp932(text);
    if (!bytes || static_cast<std::size_t>(bytes->size()) >= fieldSize)
        return false;
    std::memset(field, 0, fieldSize);
    std::memcpy(field, bytes->constData(), bytes->size());
    return true;
}
