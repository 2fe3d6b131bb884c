#pragma once
// Reads the cards of a vCard 2.1, 3.0 or 4.0 file as smartphones and address-book services
// write them into contacts: names, the readings the exporters use, numbers, mail addresses,
// the note, the group and the secret flag. Every other property that carries data is named in
// the contact's droppedProperties.

#include "exchange/core/contact_read_result.h"
#include "exchange/core/contact_text_encoding.h"

// The first keep cards are read; the cards after them are only counted (leftOut), so their
// content is neither decoded nor held.
ContactReadResult readVCardContacts(const ContactBytes& file, std::size_t keep);
