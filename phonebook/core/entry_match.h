#pragma once
// Which entries of an incoming book are people the open book already holds, and how far the two
// agree. The matching only reads the entries; what to do with a pair is the caller's choice.

#include "phonebook/core/tel_entry.h"

#include <span>
#include <vector>

enum class MatchClass {
    Same,   // 同じ: taking the incoming entry would change nothing in the book entry
    Update, // 更新: same name and reading and a shared strong number or an address; fields differ
    Confirm,   // 確認: as Update, but group, secret or memo conflict, or the numbers or addresses
               //       of both would not fit in the slots of one entry
    MaybeSame, // 同じ人かも: an equal name or reading, or a shared number that families or
               //       companies share, but not enough for the same person; never taken unasked
    New,       // 新規: no entry of the book is this person
};

struct EntryMatch {
    int incoming; // position in the incoming entries
    int book;     // position in the book, -1 for MatchClass::New
    MatchClass kind;
};

// One result per incoming entry, in the incoming order. Each book entry pairs with at most one
// incoming entry and each incoming entry with at most one book entry: the pairs with the best
// score are taken first, ties in book and then incoming order, so identical entries that both
// sides hold several times pair up one to one.
std::vector<EntryMatch> matchEntries(std::span<const TelEntry> book,
                                     std::span<const TelEntry> incoming);

struct EntryPair {
    int first;       // the earlier entry of the book
    int second;      // the later one
    MatchClass kind; // the class the later entry would have when merged into the earlier one
};

// Every pair of entries of one book that are or may be the same person, ordered by first and
// then second.
std::vector<EntryPair> matchingPairs(std::span<const TelEntry> book);

// The text of a class as the merge lists it ("同じ", "更新", "確認", "同じ人かも", "新規").
const char* matchClassText(MatchClass kind);
