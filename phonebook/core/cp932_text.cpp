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

// Sorted by the form typed.
constexpr struct {
    char16_t from;
    char16_t to;
} CP932_TWINS[] = {
    {u'\u00A2', u'\uFFE0'}, {u'\u00A3', u'\uFFE1'}, {u'\u00AC', u'\uFFE2'}, {u'\u2014', u'\u2015'},
    {u'\u2016', u'\u2225'}, {u'\u2212', u'\uFF0D'}, {u'\u301C', u'\uFF5E'},
};

char16_t cp932FormOf(char16_t c)
{
    // ASCII, kana and kanji lie outside the range of the twins and are settled at once.
    if (c < CP932_TWINS[0].from || c > std::end(CP932_TWINS)[-1].from)
        return c;
    for (const auto& twin : CP932_TWINS)
        if (c == twin.from)
            return twin.to;
    return c;
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
