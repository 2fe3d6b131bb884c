#include "exchange/core/csv_records.h"

namespace {

bool isBlank(const QStringList& record)
{
    return record.size() == 1 && record.first().isEmpty();
}

} // namespace

CsvEnd forEachCsvRecord(const QString& text, const std::function<bool(const QStringList&)>& each)
{
    CsvEnd result;
    QStringList record;
    QString field;
    bool quoted = false;    // inside a quoted field
    bool wasQuoted = false; // the field began with a quote
    int line = 1;
    int fieldLine = 1;
    bool going = true;
    auto endField = [&] {
        record.append(field);
        field.clear();
        wasQuoted = false;
    };
    auto endRecord = [&] {
        endField();
        if (!isBlank(record))
            going = each(record);
        record.clear();
    };
    const qsizetype size = text.size();
    for (qsizetype i = 0; going && i < size; ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < size && text[i + 1] == QLatin1Char('"')) {
                    field += c;
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                if (c == QLatin1Char('\n'))
                    ++line;
                field += c;
            }
            continue;
        }
        if (c == QLatin1Char('"') && field.isEmpty() && !wasQuoted) {
            quoted = wasQuoted = true;
            fieldLine = line;
        } else if (c == QLatin1Char(',')) {
            endField();
        } else if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            if (c == QLatin1Char('\r') && i + 1 < size && text[i + 1] == QLatin1Char('\n'))
                ++i;
            ++line;
            endRecord();
        } else {
            field += c;
        }
    }
    if (quoted) {
        result.unterminatedQuote = true;
        result.quoteLine = fieldLine;
        return result;
    }
    if (going && (!field.isEmpty() || !record.isEmpty()))
        endRecord();
    return result;
}
