#pragma once
// Taking incoming entries into a book without losing what either holds: entries of people the
// book lacks are added, entries of people it has fill in what their book entry lacks, and what
// cannot be taken (a fourth number, a second memo, an entry the mode leaves out) is listed in the
// notes instead of being dropped.

#include "phonebook/core/entry_match.h"
#include "phonebook/core/tel_book.h"

#include <QString>

#include <array>
#include <span>
#include <vector>

enum class MergeMode {
    Safe,    // take 同じ, 更新 and 新規; leave 確認 and 同じ人かも out and list them
    AddOnly, // take only 新規; list every other entry that would change something
    Replace, // the incoming entries become the book; list the book entries that go
};

enum class MergeNoteKind {
    Overflow, // a number or address past the three slots of the entry
    Conflict, // a name, reading, group, secret flag or memo that differs from the book entry's,
              // which stays
    LeftOut,  // an incoming entry the mode did not take
    Replaced, // a book entry the incoming entries replaced
};

struct MergeNote {
    MergeNoteKind kind;
    MatchClass match; // the class of the pair (Replaced: MatchClass::New)
    int incoming;     // position in the incoming entries, -1 for Replaced
    int book;         // position in the book before the merge, -1 when the entry was added
    QString field;    // Overflow and Conflict: "number", "address", "name", "furigana", "memo",
                      // "group", "secret"
    QString value;    // Overflow and Conflict: the value that is not in the book
    TelEntry entry{}; // LeftOut and Replaced: the whole entry that is not in the book
};

// An Overflow or Conflict note in the user's words:
// "電話番号「0312345678」は空きがないため入りません".
QString mergeNoteReason(const MergeNote& note);

struct MergeOutcome {
    bool refused = false;          // the book would pass MAX_TEL_ENTRIES; it was left as it was
    std::uint32_t resultCount = 0; // entries the book holds (or would hold, when refused)
    std::array<int, 5> classes{};  // incoming entries per MatchClass (indexed by its value)
    int added = 0;
    int updated = 0;
    std::vector<EntryMatch> matches;
    std::vector<MergeNote> notes;
};

// True when the two entries hold the very same bytes.
bool sameEntry(const TelEntry& a, const TelEntry& b);

// The fields of incoming taken into bookEntry: numbers and addresses as sets (equal by their
// slot keys), the book's first and a "****" placeholder given up for a real number; group,
// memo and reading taken where the book entry has none (or only a reading the import made up).
// What does not fit or conflicts, such as another name or reading of a pair taken by hand, goes
// into notes (with incomingIndex and bookIndex); the book entry keeps its own.
void mergeEntryInto(TelEntry& bookEntry, const TelEntry& incoming, MatchClass match,
                    int incomingIndex, int bookIndex, std::vector<MergeNote>& notes);

// Merges incoming into book as mode says. When the result would hold more than MAX_TEL_ENTRIES
// entries, the book is left as it was and the outcome says refused.
MergeOutcome mergeIntoBook(TelBook& book, std::span<const TelEntry> incoming, MergeMode mode);
