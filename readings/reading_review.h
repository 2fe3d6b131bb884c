#pragma once
// Readings to make anew from names: the entries of a book whose reading is not one the reading
// service reads from their name, each with the reading it proposes instead.

#include "phonebook/core/tel_book.h"

#include <QString>

#include <vector>

struct ReadingChange {
    int index; // slot in the book
    QString name;
    QString reading;  // the entry's reading now
    QString proposed; // the best reading made from the name
    bool chosen;      // proposed for change without asking: the reading says nothing of the name
};

// True when the reading is what an import puts in place of a missing one: the first number or,
// without one, the first address, or the time of the import ("2024/05/01/ 09:30"); or empty.
bool readingIsPlaceholder(const TelEntry& entry);

// The entries whose name the service can read and whose reading is none of its candidates
// (blanks aside). Those with a placeholder reading are chosen; a reading the user may have typed
// on purpose is listed but not chosen.
std::vector<ReadingChange> proposeReadingChanges(const TelBook& book);

// Writes the proposed reading of every chosen change into the book; returns how many.
int applyReadingChanges(TelBook& book, const std::vector<ReadingChange>& changes);
