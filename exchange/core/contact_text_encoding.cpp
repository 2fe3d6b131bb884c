#include "exchange/core/contact_text_encoding.h"

#include <QStringDecoder>

namespace {

constexpr QByteArrayView CP932 = "windows-31j";

bool startsWith(const QByteArray& bytes, QByteArrayView prefix)
{
    return bytes.startsWith(prefix);
}

std::optional<QByteArray> utf16ToUtf8(QByteArrayView bytes, QStringDecoder::Encoding encoding)
{
    QStringDecoder decoder(encoding, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    if (decoder.hasError() || bytes.size() % 2 != 0)
        return std::nullopt;
    return text.toUtf8();
}

} // namespace

bool isValidUtf8(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    (void)decoder.decode(bytes);
    return !decoder.hasError();
}

std::optional<ContactBytes> detectContactEncoding(const QByteArray& file)
{
    using namespace Qt::Literals::StringLiterals;
    if (startsWith(file, "\xFF\xFE\x00\x00"_ba) || startsWith(file, "\x00\x00\xFE\xFF"_ba))
        return std::nullopt; // UTF-32: no exporter of contacts writes it
    if (startsWith(file, "\xFF\xFE") || startsWith(file, "\xFE\xFF")) {
        const bool little = file[0] == '\xFF';
        auto utf8 = utf16ToUtf8(QByteArrayView(file).sliced(2),
                                little ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE);
        if (!utf8)
            return std::nullopt;
        return ContactBytes{*utf8, "UTF-8"};
    }
    if (file.contains('\0'))
        return std::nullopt;
    if (startsWith(file, "\xEF\xBB\xBF"))
        return ContactBytes{file.mid(3), "UTF-8"};
    if (isValidUtf8(file))
        return ContactBytes{file, "UTF-8"};
    return ContactBytes{file, CP932.toByteArray()};
}

int firstTooLongLine(QByteArrayView bytes)
{
    qsizetype start = 0;
    for (int line = 1; start < bytes.size(); ++line) {
        qsizetype stop = bytes.size();
        for (char end : {'\n', '\r'})
            if (const qsizetype at = bytes.indexOf(end, start); at >= 0 && at < stop)
                stop = at;
        if (stop - start > MAX_CONTACT_LINE)
            return line;
        start = stop + 1;
    }
    return 0;
}

std::optional<QByteArray> knownCharset(QByteArrayView name)
{
    const QByteArray upper = name.toByteArray().trimmed().toUpper();
    for (QByteArrayView sjis :
         {"SHIFT_JIS", "SHIFT-JIS", "SJIS", "X-SJIS", "CP932", "MS932", "WINDOWS-31J", "MS_KANJI"})
        if (upper == sjis)
            return CP932.toByteArray();
    if (upper == "UTF-8" || upper == "UTF8")
        return QByteArray("UTF-8");
    if (!QStringDecoder(upper.constData()).isValid())
        return std::nullopt;
    return upper;
}

QString decodeContactText(QByteArrayView bytes, const QByteArray& charset)
{
    if (charset == "UTF-8" && !isValidUtf8(bytes))
        return QStringDecoder(CP932.data()).decode(bytes);
    QStringDecoder decoder(charset.constData());
    if (!decoder.isValid())
        decoder = QStringDecoder(CP932.data());
    return decoder.decode(bytes);
}
