#pragma once
// Splits CSV text into records of fields as RFC 4180 and the exporters write it: comma
// separators, CR LF, LF or CR record ends, double-quoted fields that hold commas, doubled quotes
// and line breaks. (The CSV reader of CSV インポート knows no quoting, as the handsets' PC programs
// wrote; this one is for files with a header row.)

#include <QString>
#include <QStringList>

#include <functional>

// How the text ended: inside a quoted field or not.
struct CsvEnd {
    bool unterminatedQuote = false; // the text ended inside a quoted field
    int quoteLine = 0;              // the line where that field began, from 1
};

// Hands each record of text (blank lines left out), in order, to each until it returns false.
// Only one record is held at a time. A record cut off by the end of the text inside a quoted
// field is not handed on.
CsvEnd forEachCsvRecord(const QString& text, const std::function<bool(const QStringList&)>& each);
