#pragma once
// Reads a CSV file with a header row, as address-book services and mail programs export it, in
// English or Japanese headers: the header decides what each column holds. A header that names
// no name column, or nothing beside the name, is not recognised (the user then assigns the
// columns by hand in CSV インポート).

#include "exchange/core/contact_read_result.h"
#include "exchange/core/contact_text_encoding.h"

// The first keep rows become contacts; the rows after them are only counted (leftOut).
ContactReadResult readCsvContacts(const ContactBytes& file, std::size_t keep);
