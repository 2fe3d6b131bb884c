#pragma once
// Reads a CSV file with a header row, as address-book services and mail programs export it, in
// English or Japanese headers: the header decides what each column holds. A header that names
// no name column is not recognised, and one that names no number and no address column is
// refused (the user then assigns the columns by hand in CSV インポート). Rows blank in every
// cell are left out.

#include "exchange/core/contact_read_result.h"
#include "exchange/core/contact_text_encoding.h"

// The first keep rows become contacts; the rows after them are only counted (leftOut).
ContactReadResult readCsvContacts(const ContactBytes& file, std::size_t keep);
