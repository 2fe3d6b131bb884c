#pragma once
// The check after a write: the handset's book, read back, against what was written. Each entry
// is compared as the record encoding stores it (fields cut to their records compare as cut, a
// memo the model never gets compares as empty, kinds the records cannot tell apart compare as
// the kind they are read back as).

#include "phonebook/core/tel_book.h"

#include <QString>

#include <vector>

struct EntryDifference {
    int entryNumber; // from 1, in the order written
    QString name;    // the name of the entry as written
    QString field;   // "電話番号2", "メモ" and so on
};

// The form in which the handset keeps entry (at index of the book) when it is written to
// model: the entry encoded into its records and decoded from them.
TelEntry storedForm(const TelEntry& entry, int index, const char* model);

// Every field in which the first min(written, readBack) entries differ, in order.
std::vector<EntryDifference> compareWrittenBook(const TelBook& written, const TelBook& readBack,
                                                const char* model);

// The message of a check that found differences (or another number of entries): at most
// shownLimit differences, then how many more there are.
QString describeDifferences(const std::vector<EntryDifference>& differences, int writtenCount,
                            int readBackCount, int shownLimit = 10);
