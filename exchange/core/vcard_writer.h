#pragma once
// Saves the phone book as one vCard 2.1 file in the program's own dialect: Shift-JIS, CR LF,
// fifteen kinds of lines per card, every line present even when its field is empty, and the
// memo quoted-printable encoded with soft line breaks.

#include "exchange/core/file_task.h"
#include "exchange/core/local_clock.h"
#include "phonebook/core/tel_book.h"

#include <QByteArray>
#include <QDateTime>

#include <string>
#include <string_view>
#include <vector>

class SaveSink;

// Shown by the save commands (or the command-line tool) when the writer returns
// FILE_TASK_FAILED.
inline constexpr const char* SAVE_FAILED_MESSAGE = "保存処理で異常がある為、処理を終了します。";

// "REV:" and the local time of the save as YYYYMMDDThhmmssZ (the Z stands although the time is
// local, as the files the handsets exchange carry it).
QByteArray vcardRevisionLine(const QDateTime& localTime);

// The NOTE line of a memo (its Shift-JIS bytes) and its continuation lines, without line ends.
std::vector<QByteArray> vcardMemoLines(const QByteArray& memo);

// One entry's card, every line ending in CR LF.
QByteArray vcardCard(const TelEntry& entry, const QByteArray& revisionLine);
// The same card appended to out, which a save reuses for every card.
void appendVCardCard(std::string& out, const TelEntry& entry, std::string_view revisionLine);

// Builds every card of book, then writes them to sink, asking host before each entry in both
// phases whether to stop. A FileTaskResult: DONE, FAILED (the sink could not be opened; the
// caller tells the user) or ENDED (stopped, or a write failed and its reason was shown).
int writeVCard(const TelBook& book, SaveSink& sink, FileTaskHost& host, const QDateTime& startTime);

// Saves book to path; NOTHING when there is no path.
int writeVCardFile(const QString& path, const TelBook& book, FileTaskHost& host,
                   const LocalClock& clock = systemClock());
