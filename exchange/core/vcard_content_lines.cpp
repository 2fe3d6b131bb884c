#include "exchange/core/vcard_content_lines.h"

#include <cctype>

namespace {

bool isFoldStart(QByteArrayView line)
{
    return !line.isEmpty() && (line[0] == ' ' || line[0] == '\t');
}

// The rest of a quoted-printable value after a soft line break. Some phone exporters also fold
// the line, so the next piece of the value starts with a blank: when an escape follows that
// blank, the blank belongs to the fold and would otherwise split a multi-byte character.
QByteArrayView softBreakContinuation(QByteArrayView line)
{
    const bool foldedEscape = isFoldStart(line) && line.size() >= 4 && line[1] == '=' &&
                              std::isxdigit(static_cast<unsigned char>(line[2])) &&
                              std::isxdigit(static_cast<unsigned char>(line[3]));
    return foldedEscape ? line.sliced(1) : line;
}

// Splits "a;b=\"x;y\";c" at the separators outside double quotes.
QList<QByteArrayView> splitOutsideQuotes(QByteArrayView text, char separator)
{
    QList<QByteArrayView> parts;
    bool quoted = false;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '"')
            quoted = !quoted;
        else if (text[i] == separator && !quoted) {
            parts.append(text.sliced(start, i - start));
            start = i + 1;
        }
    }
    parts.append(text.sliced(start));
    return parts;
}

QByteArray unquote(QByteArrayView value)
{
    QByteArray text = value.trimmed().toByteArray();
    if (text.size() >= 2 && text.startsWith('"') && text.endsWith('"'))
        text = text.mid(1, text.size() - 2);
    // RFC 6868 escapes in parameter values: ^n, ^' and ^^.
    if (!text.contains('^'))
        return text;
    QByteArray out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '^' && i + 1 < text.size()) {
            const char next = text[i + 1];
            if (next == 'n' || next == 'N' || next == '\'' || next == '^') {
                out += next == '\'' ? '"' : next == '^' ? '^' : '\n';
                ++i;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

// Position of the colon that ends the name and parameters, outside quotes, or -1.
qsizetype valueColon(QByteArrayView line)
{
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i] == '"')
            quoted = !quoted;
        else if (line[i] == ':' && !quoted)
            return i;
    }
    return -1;
}

VCardContentLine parseContentLine(QByteArrayView line, int lineNumber)
{
    VCardContentLine content;
    content.lineNumber = lineNumber;
    const qsizetype colon = valueColon(line);
    const QByteArrayView head = colon < 0 ? line : line.first(colon);
    content.value = colon < 0 ? QByteArray() : line.sliced(colon + 1).toByteArray();
    const QList<QByteArrayView> parts = splitOutsideQuotes(head, ';');
    QByteArray name = parts.first().trimmed().toByteArray().toUpper();
    if (const qsizetype dot = name.indexOf('.'); dot >= 0) {
        content.group = name.first(dot);
        name = name.sliced(dot + 1);
    }
    content.name = name;
    for (qsizetype i = 1; i < parts.size(); ++i) {
        const QByteArrayView part = parts[i];
        const qsizetype equals = part.indexOf('=');
        if (equals < 0)
            content.params.append({QByteArray(), unquote(part).toUpper()});
        else
            content.params.append({part.first(equals).trimmed().toByteArray().toUpper(),
                                   unquote(part.sliced(equals + 1))});
    }
    return content;
}

} // namespace

std::optional<QByteArray> VCardContentLine::param(QByteArrayView paramName) const
{
    for (const auto& [key, value] : params)
        if (key == paramName)
            return value;
    return std::nullopt;
}

QList<QByteArray> VCardContentLine::types() const
{
    QList<QByteArray> words;
    for (const auto& [key, value] : params) {
        if (key.isEmpty())
            words.append(value.toUpper());
        else if (key == "TYPE")
            for (QByteArrayView word : splitOutsideQuotes(value, ','))
                words.append(unquote(word).toUpper());
    }
    return words;
}

bool VCardContentLine::isQuotedPrintable() const
{
    const auto encoding = param("ENCODING");
    return (encoding && encoding->toUpper() == "QUOTED-PRINTABLE") ||
           types().contains("QUOTED-PRINTABLE");
}

bool VCardContentLine::isBase64() const
{
    const auto encoding = param("ENCODING");
    if (encoding) {
        const QByteArray upper = encoding->toUpper();
        if (upper == "BASE64" || upper == "B")
            return true;
    }
    return types().contains("BASE64");
}

bool VCardContentLine::isPreferred() const
{
    return param("PREF").has_value() || types().contains("PREF");
}

void forEachVCardLine(QByteArrayView bytes,
                      const std::function<bool(const VCardContentLine&)>& each)
{
    // A file without any LF ended its lines with CR alone (old handsets did so).
    const char end = bytes.contains('\n') ? '\n' : '\r';
    QByteArray current;
    int currentStart = 0;
    bool going = true;
    bool softBreak = false; // the current line is quoted-printable and ended in "="
    auto flush = [&] {
        if (going && !current.trimmed().isEmpty())
            going = each(parseContentLine(current, currentStart));
        current.clear();
    };
    bool quotedPrintable = false;
    qsizetype start = 0;
    for (int number = 1; going && start < bytes.size(); ++number) {
        qsizetype stop = bytes.indexOf(end, start);
        if (stop < 0)
            stop = bytes.size();
        QByteArrayView line = bytes.sliced(start, stop - start);
        start = stop + 1;
        while (line.endsWith('\r'))
            line.chop(1); // CR LF and the CR CR LF that some phones write
        // A soft line break right before the end of the card ends the value instead: the
        // card's end is never part of a note.
        if (softBreak && line.trimmed().compare("END:VCARD", Qt::CaseInsensitive) == 0)
            softBreak = false;
        if (softBreak) {
            current.chop(1);
            current += softBreakContinuation(line);
        } else if (isFoldStart(line) && !current.isEmpty()) {
            current += line.sliced(1);
        } else {
            flush();
            current = line.toByteArray();
            currentStart = number;
            const qsizetype colon = valueColon(current);
            quotedPrintable =
                colon >= 0 && parseContentLine(current.first(colon), 0).isQuotedPrintable();
        }
        softBreak = quotedPrintable && current.endsWith('=');
    }
    flush();
}

bool looksLikeVCard(QByteArrayView bytes)
{
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype stop = bytes.indexOf('\n', start);
        if (stop < 0)
            stop = bytes.size();
        const QByteArrayView line = bytes.sliced(start, stop - start).trimmed();
        if (!line.isEmpty() && !line.startsWith('#'))
            return line.size() >= 11 &&
                   line.first(11).compare("BEGIN:VCARD", Qt::CaseInsensitive) == 0;
        start = stop + 1;
    }
    return false;
}
