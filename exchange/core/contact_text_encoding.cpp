#include "exchange/core/contact_text_encoding.h"

#include <QStringDecoder>

#include <algorithm>

namespace {

constexpr QByteArrayView CP932 = "windows-31j";

bool startsWith(const QByteArray& bytes, QByteArrayView prefix)
{
    return bytes.startsWith(prefix);
}

bool isControl(QChar c)
{
    return c.unicode() < 0x20 && c != QLatin1Char('\t') && c != QLatin1Char('\r') &&
           c != QLatin1Char('\n');
}

// The UTF-8 form of UTF-16 bytes, or nothing when they do not decode or (unless a mark said they
// are UTF-16) hold control characters no text file does.
std::optional<QByteArray> utf16ToUtf8(QByteArrayView bytes, QStringDecoder::Encoding encoding,
                                      bool marked)
{
    QStringDecoder decoder(encoding);
    const QString text = decoder.decode(bytes);
    if (decoder.hasError() || bytes.size() % 2 != 0)
        return std::nullopt;
    if (!marked && std::any_of(text.cbegin(), text.cend(), isControl))
        return std::nullopt;
    return text.toUtf8();
}

} // namespace

bool isValidUtf8(QByteArrayView bytes)
{
    const qsizetype size = bytes.size();
    for (qsizetype i = 0; i < size;) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        int trail = 0;
        char32_t code = lead;
        if (lead < 0x80) {
            ++i;
            continue;
        }
        if (lead >= 0xC2 && lead <= 0xDF) {
            trail = 1;
            code = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            trail = 2;
            code = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            trail = 3;
            code = lead & 0x07;
        } else {
            return false;
        }
        if (i + trail >= size)
            return false;
        for (int k = 1; k <= trail; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (next & 0x3F);
        }
        // Overlong forms, surrogates and code points beyond U+10FFFF are not UTF-8.
        const char32_t smallest = trail == 1 ? 0x80 : trail == 2 ? 0x800 : 0x10000;
        if (code < smallest || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF)
            return false;
        i += trail + 1;
    }
    return true;
}

std::optional<ContactBytes> detectContactEncoding(QByteArray file)
{
    using namespace Qt::Literals::StringLiterals;
    if (startsWith(file, "\xFF\xFE\x00\x00"_ba) || startsWith(file, "\x00\x00\xFE\xFF"_ba))
        return std::nullopt; // UTF-32: no exporter of contacts writes it
    if (startsWith(file, "\xFF\xFE") || startsWith(file, "\xFE\xFF")) {
        const bool little = file[0] == '\xFF';
        auto utf8 = utf16ToUtf8(QByteArrayView(file).sliced(2),
                                little ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE, true);
        if (!utf8)
            return std::nullopt;
        return ContactBytes{*utf8, "UTF-8"};
    }
    if (file.contains('\0')) {
        // UTF-16 without a mark, as some address books write it: contact files begin with
        // ASCII ("BEGIN:VCARD", a header row), so the first character tells the byte order.
        if (file.size() >= 2 && (file[0] == '\0') != (file[1] == '\0')) {
            const bool little = file[1] == '\0';
            if (auto utf8 = utf16ToUtf8(
                    file, little ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE, false))
                return ContactBytes{*utf8, "UTF-8"};
        }
        return std::nullopt;
    }
    if (startsWith(file, "\xEF\xBB\xBF"))
        return ContactBytes{std::move(file.remove(0, 3)), "UTF-8"};
    if (isValidUtf8(file))
        return ContactBytes{std::move(file), "UTF-8"};
    return ContactBytes{std::move(file), CP932.toByteArray()};
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
        if (start < bytes.size() && bytes[stop] == '\r' && bytes[start] == '\n')
            ++start; // CR LF ends one line
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
