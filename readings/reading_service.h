#pragma once
// Proposes readings (フリガナ) for names: candidates in half-width katakana, best first, each
// fitting the reading field. A company's legal form (株式会社, (株) …) is left out of the
// reading, and a name in Latin letters reads as its letters in upper case (one candidate). None
// when a part of the name cannot be read (a word neither the names table nor MeCab's
// dictionary holds, Latin letters beside kanji, digits, signs): the service never hands out a
// reading with kanji left in it or a reading it pieced together from guesses. Kana in a name
// are converted as they stand.
//
// The dictionaries are opened on the first call, once per process; calls may come from any
// thread.

#include <QByteArray>
#include <QString>
#include <QStringList>

// Candidates for a name in Unicode.
QStringList readingCandidates(const QString& name);

// The best candidate as the code page 932 bytes of a reading field, or an empty array.
QByteArray bestReadingCp932(const QString& name);

// Why the service gives no readings at all (its dictionaries could not be opened), or empty.
QString readingServiceError();
