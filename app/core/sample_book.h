#pragma once
// A small phone book of made-up people, shown in the manual's pictures and held by the
// simulated handset of the demo.

#include "phonebook/core/tel_book.h"

// Replaces book by the sample entries.
void loadSampleBook(TelBook& book);
