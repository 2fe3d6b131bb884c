#include "exchange/core/contact_text_encoding.h"

#include "exchange/core/text_conversions.h"

#include <QStringDecoder>

#include <algorithm>
#include <utility>
#include <vector>

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

namespace {

// LatinShaped is a double-byte character whose bytes also read as a Latin-1 small letter with an
// accent (0xE0-0xFF) followed by an ASCII letter, as "3<E8>me" does; kanji are rarely written so.
enum class Cp932Char { Ascii, HalfWidthKana, DoubleByte, LatinShaped };

bool isAsciiLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool isAsciiLower(char c)
{
    return c >= 'a' && c <= 'z';
}

// A character of code page 932 text sitting inside a Latin word: Latin-1 letters read as code
// page 932 become one such character between ASCII letters ("3<E8>me", "M<DC>LLER"). Kanji
// between ASCII ("3月mtg") are not: their lead byte is no Latin-1 letter.
bool insideLatinWord(const std::vector<std::pair<Cp932Char, char>>& chars, std::size_t at)
{
    if (chars[at].first == Cp932Char::DoubleByte)
        return false;
    const auto isAscii = [&](std::size_t i) { return chars[i].first == Cp932Char::Ascii; };
    const bool before = at == 0 || isAscii(at - 1);
    const bool afterLower =
        at + 1 < chars.size() && isAscii(at + 1) && isAsciiLower(chars[at + 1].second);
    if (before && afterLower)
        return true;
    if (chars[at].first != Cp932Char::HalfWidthKana)
        return false;
    const bool letterBefore = at > 0 && isAscii(at - 1) && isAsciiLetter(chars[at - 1].second);
    const bool letterOrEndAfter =
        at + 1 == chars.size() || (isAscii(at + 1) && isAsciiLetter(chars[at + 1].second));
    return letterBefore && letterOrEndAfter;
}

bool isPrivateUse(QChar c)
{
    return c.unicode() >= 0xE000 && c.unicode() <= 0xF8FF;
}

} // namespace

bool isPlausibleCp932(QByteArrayView bytes)
{
    // The characters in order: their class and, for ASCII, the byte.
    std::vector<std::pair<Cp932Char, char>> chars;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c < 0x80) {
            chars.push_back({Cp932Char::Ascii, bytes[i]});
        } else if (c >= 0xA1 && c <= 0xDF) {
            chars.push_back({Cp932Char::HalfWidthKana, 0});
        } else if (isSjisLeadByte(c) && i + 1 < bytes.size() &&
                   isSjisTrailByte(static_cast<unsigned char>(bytes[i + 1]))) {
            const bool latinShaped = c >= 0xE0 && isAsciiLetter(bytes[i + 1]);
            chars.push_back({latinShaped ? Cp932Char::LatinShaped : Cp932Char::DoubleByte, 0});
            ++i;
        } else {
            return false; // 0x80, 0xA0, 0xFD-0xFF or a lead byte without its trail byte
        }
    }
    for (std::size_t at = 0; at < chars.size(); ++at)
        if (chars[at].first != Cp932Char::Ascii && insideLatinWord(chars, at))
            return false;
    QStringDecoder decoder(CP932.data());
    const QString text = decoder.decode(bytes);
    return !decoder.hasError() && !text.contains(QChar::ReplacementCharacter) &&
           std::none_of(text.cbegin(), text.cend(), isPrivateUse);
}

QString fromWindows1252(QByteArrayView bytes)
{
    // 0x80-0x9F; 0 where Windows-1252 defines no character.
    static constexpr char16_t HIGH[32] = {
        0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
    QString text;
    text.reserve(bytes.size());
    for (char b : bytes) {
        const auto c = static_cast<unsigned char>(b);
        if (c >= 0x80 && c <= 0x9F)
            text += HIGH[c - 0x80] ? QChar(HIGH[c - 0x80]) : QChar::ReplacementCharacter;
        else
            text += QChar(char16_t(c));
    }
    return text;
}

DecodedValue decodeContactValue(QByteArrayView bytes, const QByteArray& charset, bool labelled)
{
    if (labelled && charset != "UTF-8") {
        QStringDecoder decoder(charset.constData());
        if (!decoder.isValid())
            decoder = QStringDecoder(CP932.data());
        return {decoder.decode(bytes), {}};
    }
    const bool utf8 = isValidUtf8(bytes);
    if (utf8 && charset == "UTF-8")
        return {QString::fromUtf8(bytes), {}};
    // What the bytes can be, the file's own encoding first: a value without CHARSET in a file
    // that is not UTF-8 throughout is code page 932 when it reads as such.
    const bool fileIsCp932 = !labelled && charset == CP932;
    if (fileIsCp932 && isPlausibleCp932(bytes))
        return {QStringDecoder(CP932.data()).decode(bytes), {}};
    if (utf8)
        return {QString::fromUtf8(bytes), "UTF-8"};
    if (!fileIsCp932 && isPlausibleCp932(bytes))
        return {QStringDecoder(CP932.data()).decode(bytes), CP932.toByteArray()};
    return {fromWindows1252(bytes), "windows-1252"};
}
