#pragma once
// Splits CSV text into records of fields as RFC 4180 and the exporters write it: comma
// separators, CR LF, LF or CR record ends, double-quoted fields that hold commas, doubled quotes
// and line breaks. (The CSV reader of CSV インポート knows no quoting, as the handsets' PC programs
// wrote; this one is for files with a header row.)

#include <QList>
#include <QString>
#include <QStringList>

struct CsvRecords {
    QList<QStringList> records;     // blank lines left out
    bool unterminatedQuote = false; // the text ended inside a quoted field
    int quoteLine = 0;              // the line where that field began, from 1
};

CsvRecords splitCsvRecords(const QString& text);
