#pragma once
// One contact as a smartphone or an address-book service exported it, in Unicode and before it
// is fitted into the fixed fields of an entry. Both the vCard and the header-row CSV readers
// produce it; the fitting step (contact_fit.h) turns it into a TelEntry.

#include "phonebook/core/tel_entry.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

struct ContactNumber {
    QString value; // as written in the file ("+81 90-1234-5678", "tel:+1-418-…")
    TelKind kind = TEL_PHONE;
    bool preferred = false;
};

struct ContactMail {
    QString address;
    MailKind kind = MAIL_UNSPECIFIED;
    bool preferred = false;
};

// A value whose bytes did not fit its CHARSET, or the file's encoding when it named none, and
// the charset it was read in instead.
struct CharsetGuess {
    QString property; // "N", "NOTE", …
    QByteArray charset;
    bool labelled = false; // it had a CHARSET parameter
};

struct ContactCard {
    QString familyName;
    QString givenName;
    QString middleName;
    QString prefix; // "Dr.", "Prof."
    QString suffix; // "Jr.", "PhD"
    QString formattedName;
    QString organization; // the company, names a card that has no person's name
    QString departments;  // ORG's further parts
    // The reading in any kana the file used; the family and given parts when the file keeps
    // them apart, otherwise the whole reading in phoneticFamily.
    QString phoneticFamily;
    QString phoneticGiven;
    std::vector<ContactNumber> numbers;
    std::vector<ContactMail> mails;
    QString note;
    std::optional<int> group; // from a "グループN" category or label
    bool secret = false;
    // Properties or columns that carried data the book has no field for ("ADR", "Birthday").
    QStringList droppedProperties;
    std::vector<CharsetGuess> charsetGuesses;
};
