#pragma once
// What the readers of smartphone and address-book files hand to the import: the contacts in
// file order, or why the file cannot be imported.

#include "exchange/core/contact_card.h"

#include <QString>

#include <vector>

enum class ContactReadError {
    None,
    UnknownEncoding, // not text in an encoding the import knows (binary, UTF-32, bad UTF-16)
    LineTooLong,     // line: the physical line
    Truncated,       // the file ends inside a card or inside a quoted CSV field
    UnknownCharset,  // a CHARSET parameter no decoder knows; detail: the name
    HeaderNotRecognised,
    HeaderWithoutNumberOrAddress, // a CSV header with a name but no number or address column
    NotAVCard,                    // a file named as a vCard that does not start as one
};

struct ContactReadResult {
    std::vector<ContactCard> cards; // no more than the reader was asked to keep
    int leftOut = 0;                // the contacts after those, counted but not read
    ContactReadError error = ContactReadError::None;
    int line = 0;
    QString detail;

    bool ok() const { return error == ContactReadError::None; }
};
