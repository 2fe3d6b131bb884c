#include "phonebook/core/cp932_text.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <cstring>

namespace {
// "windows-31j" is the code page 932 table (NEC and IBM extensions, the wave dash as U+FF5E),
// which plain "Shift_JIS" lacks.
constexpr const char* CP932 = "windows-31j";
} // namespace

QString fromCp932(QByteArrayView bytes)
{
    QStringDecoder decoder(CP932);
    return decoder.decode(bytes);
}

QString foldToCp932Forms(QString text)
{
    static constexpr struct {
        char16_t from;
        char16_t to;
    } twins[] = {
        {u'\u301C', u'\uFF5E'}, {u'\u2212', u'\uFF0D'}, {u'\u2014', u'\u2015'},
        {u'\u2016', u'\u2225'}, {u'\u00A2', u'\uFFE0'}, {u'\u00A3', u'\uFFE1'},
        {u'\u00AC', u'\uFFE2'},
    };
    for (QChar& c : text) {
        for (const auto& twin : twins) {
            if (c.unicode() == twin.from) {
                c = QChar(twin.to);
                break;
            }
        }
    }
    return text;
}

std::optional<QByteArray> toCp932(const QString& text)
{
    QStringEncoder encoder(CP932);
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
