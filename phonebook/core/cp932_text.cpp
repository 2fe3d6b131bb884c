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

std::optional<QByteArray> toCp932(const QString& text)
{
    QStringEncoder encoder(CP932);
    QByteArray bytes = encoder.encode(text);
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
