#include "manual/pdf_text_layer.h"

#include <QList>
#include <QRawFont>
#include <QRegularExpression>
#include <QString>

namespace {

constexpr QByteArrayView MAP_START = "stream\n/CIDInit /ProcSet findresource begin";

// The ideograph a radical's glyph stands for, or the code point itself.
uint ideographFor(uint codePoint, const RadicalIdeographs& ideographs)
{
    return ideographs.value(codePoint, codePoint);
}

QByteArray hex4(uint value)
{
    return QByteArray::number(value, 16).toUpper().rightJustified(4, '0');
}

// One line of a bfrange or bfchar section with its targets mapped. A range of consecutive
// targets that holds a radical becomes a range with a list, since the ideographs are not
// consecutive.
QByteArray repairedLine(const QByteArray& line, const RadicalIdeographs& ideographs)
{
    static const QRegularExpression linear(
        QStringLiteral("^<([0-9A-F]{4})> <([0-9A-F]{4})> <([0-9A-F]{4})>$"));
    const QString text = QString::fromLatin1(line);
    const QRegularExpressionMatch m = linear.match(text);
    if (m.hasMatch()) {
        const uint first = m.captured(1).toUInt(nullptr, 16);
        const uint last = m.captured(2).toUInt(nullptr, 16);
        const uint target = m.captured(3).toUInt(nullptr, 16);
        bool changes = false;
        for (uint g = first; g <= last; ++g)
            changes = changes || ideographFor(target + g - first, ideographs) != target + g - first;
        if (!changes)
            return line;
        if (first == last)
            return '<' + hex4(first) + "> <" + hex4(last) + "> <" +
                   hex4(ideographFor(target, ideographs)) + '>';
        QByteArray list = '<' + hex4(first) + "> <" + hex4(last) + "> [";
        for (uint g = first; g <= last; ++g)
            list += '<' + hex4(ideographFor(target + g - first, ideographs)) + "> ";
        return list + ']';
    }
    // <code> <target>, <first> <last> [<target> ...]: every four-digit target after the
    // source codes.
    static const QRegularExpression target(QStringLiteral("<([0-9A-F]{4})>"));
    const bool isList = line.contains('[');
    QByteArray out;
    qsizetype from = 0;
    int index = 0;
    for (const QRegularExpressionMatch& t : target.globalMatch(text)) {
        const bool isTarget =
            isList ? t.capturedStart() > text.indexOf(QLatin1Char('[')) : index == 1;
        ++index;
        if (!isTarget)
            continue;
        out += line.mid(from, t.capturedStart(1) - from);
        out += hex4(ideographFor(t.captured(1).toUInt(nullptr, 16), ideographs));
        from = t.capturedEnd(1);
    }
    return out + line.mid(from);
}

QByteArray repairedMap(const QByteArray& map, const RadicalIdeographs& ideographs)
{
    QList<QByteArray> lines = map.split('\n');
    bool inSection = false;
    for (QByteArray& line : lines) {
        if (line.endsWith("beginbfrange") || line.endsWith("beginbfchar"))
            inSection = true;
        else if (line == "endbfrange" || line == "endbfchar")
            inSection = false;
        else if (inSection)
            line = repairedLine(line, ideographs);
    }
    return lines.join('\n');
}

struct Edit {
    qsizetype at;    // offset in the original of the first byte replaced
    qsizetype delta; // bytes added (or removed, negative)
};

// The offsets of the cross-reference table moved by the edits, and startxref with them.
bool moveOffsets(QByteArray& pdf, const QList<Edit>& edits)
{
    auto moved = [&edits](qsizetype offset) {
        qsizetype result = offset;
        for (const Edit& e : edits)
            if (e.at < offset)
                result += e.delta;
        return result;
    };
    const qsizetype startxref = pdf.lastIndexOf("startxref\n");
    if (startxref < 0)
        return false;
    const qsizetype numberStart = startxref + 10;
    const qsizetype numberEnd = pdf.indexOf('\n', numberStart);
    bool ok = false;
    const qsizetype table = pdf.mid(numberStart, numberEnd - numberStart).trimmed().toLongLong(&ok);
    if (!ok || table < 0)
        return false;
    // The table is written after every object, so the edits moved it as well.
    const qsizetype movedTable = moved(table);
    if (movedTable >= startxref || !QByteArrayView(pdf).sliced(movedTable).startsWith("xref\n"))
        return false;
    qsizetype line = pdf.indexOf('\n', pdf.indexOf('\n', movedTable) + 1) + 1; // past "0 N"
    while (line + 20 <= pdf.size() && (pdf.at(line + 17) == 'n' || pdf.at(line + 17) == 'f')) {
        if (pdf.at(line + 17) == 'n') {
            const qsizetype offset = pdf.mid(line, 10).toLongLong(&ok);
            if (!ok)
                return false;
            pdf.replace(line, 10, QByteArray::number(moved(offset)).rightJustified(10, '0'));
        }
        line += 20;
    }
    const qsizetype newStartxref = pdf.lastIndexOf("startxref\n") + 10;
    pdf.replace(newStartxref, pdf.indexOf('\n', newStartxref) - newStartxref,
                QByteArray::number(movedTable) + ' ');
    return true;
}

} // namespace

RadicalIdeographs radicalIdeographs(const QFont& font, const QSet<char32_t>& keep)
{
    const QRawFont raw = QRawFont::fromFont(font);
    auto glyphOf = [&raw](char32_t c) {
        const QList<quint32> glyphs = raw.glyphIndexesForString(QString::fromUcs4(&c, 1));
        return glyphs.size() == 1 ? glyphs.first() : 0u;
    };
    QHash<quint32, char32_t> ideographOfGlyph;
    for (char32_t c = 0x4E00; c <= 0x9FFF; ++c) {
        const quint32 glyph = glyphOf(c);
        if (glyph != 0 && !ideographOfGlyph.contains(glyph))
            ideographOfGlyph.insert(glyph, c);
    }
    RadicalIdeographs ideographs;
    for (char32_t c = 0x2E80; c <= 0x2FDF; ++c) {
        const quint32 glyph = glyphOf(c);
        if (glyph != 0 && ideographOfGlyph.contains(glyph) && !keep.contains(c))
            ideographs.insert(c, ideographOfGlyph.value(glyph));
    }
    return ideographs;
}

QByteArray withIdeographsForRadicals(const QByteArray& pdf, const RadicalIdeographs& ideographs)
{
    static const QRegularExpression lengthBefore(QStringLiteral("/Length (\\d+) >>\\n$"));
    QByteArray out;
    QList<Edit> edits;
    qsizetype copied = 0;
    for (qsizetype at = pdf.indexOf(MAP_START); at >= 0; at = pdf.indexOf(MAP_START, at + 1)) {
        const qsizetype dictStart = pdf.lastIndexOf("<<", at);
        const QRegularExpressionMatch length =
            lengthBefore.match(QString::fromLatin1(pdf.mid(dictStart, at - dictStart)));
        if (dictStart < copied || !length.hasMatch())
            return pdf;
        const qsizetype mapStart = at + 7; // past "stream\n"
        const qsizetype mapLength = length.captured(1).toLongLong();
        if (mapStart + mapLength > pdf.size())
            return pdf;
        const QByteArray map = pdf.mid(mapStart, mapLength);
        const QByteArray repaired = repairedMap(map, ideographs);
        if (repaired == map)
            continue;
        const qsizetype lengthAt = dictStart + length.capturedStart(1);
        const QByteArray newLength = QByteArray::number(repaired.size());
        out += pdf.mid(copied, lengthAt - copied) + newLength;
        edits.append({lengthAt, newLength.size() - length.capturedLength(1)});
        out += pdf.mid(lengthAt + length.capturedLength(1),
                       mapStart - lengthAt - length.capturedLength(1));
        out += repaired;
        edits.append({mapStart, repaired.size() - mapLength});
        copied = mapStart + mapLength;
    }
    if (edits.isEmpty())
        return pdf;
    out += pdf.mid(copied);
    return moveOffsets(out, edits) ? out : pdf;
}
