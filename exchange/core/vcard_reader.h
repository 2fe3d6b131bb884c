#pragma once
// Imports a vCard file into the phone book. It understands the program's own dialect and,
// loosely, vCard 2.1 files of other origin: properties are recognised by key words found
// anywhere in a line, every value is fitted into the fixed fields of an entry, and an entry
// that lacks a reading, a name or any number is completed. The book is replaced in one step
// at the end; every other way out leaves it as it was.

#include "exchange/core/file_task.h"
#include "exchange/core/local_clock.h"
#include "phonebook/core/tel_book.h"

#include <QDateTime>

class QIODevice;

// Shown by the command (or the command-line tool) when the reader returns FILE_TASK_FAILED.
inline constexpr const char* VCARD_IMPORT_FAILED_MESSAGE =
    "vCardファイルに異常がある為、インポート処理を終了します。";
// Shown by the command (or the command-line tool) when the reader returns
// FILE_TASK_BAD_VERSION.
inline constexpr const char* VCARD_BAD_VERSION_MESSAGE =
    "vCardのバージョンが異なる為、インポート処理を終了します。";

// Reads the cards of file into book (at most MAX_TEL_ENTRIES), asking host before each line
// whether to stop. A FileTaskResult: DONE (book replaced, or untouched when the file held no
// card, which the reader has said), FAILED (a line too long or unreadable), ENDED (stopped by
// the user), BAD_VERSION (a card of another version; the caller says so).
int readVCard(QIODevice& file, FileTaskHost& host, TelBook& book, const LocalClock& clock);

// Imports the file at path into book; FAILED when the file cannot be opened.
int readVCardFile(const QString& path, TelBook& book, FileTaskHost& host,
                  const LocalClock& clock = systemClock());

// Fills in what an imported entry lacks: a reading from its first number or address (or from
// time), the name from the reading, and "****" numbers when it has no number and no address.
void completeImportedEntry(TelEntry& entry, const QDateTime& time);
