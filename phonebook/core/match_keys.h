#pragma once
// The keys by which two entries are recognised as the same person. They are made only for
// comparing and are never stored: an entry keeps its fields exactly as they were written.

#include <QString>

// The national number a stored or typed number dials: full-width digits made ASCII, everything
// from the first pause (P) on set aside, separators dropped, a leading caller-ID prefix (184 or
// 186) dropped, and a leading +81 or 01081 turned into the trunk 0 (not doubled when the number
// already carries it). Empty when nothing dialable is left, and for the "****" the import writes
// for an entry without a number.
QString numberMatchKey(const QString& number);

// numberMatchKey with the pause (P) and what follows it kept, upper case and without separators,
// for telling whether a book already holds a number: 0312345678P101 and 0312345678P202 reach one
// person through one line, yet each is a number of its own. Empty as numberMatchKey is.
QString numberDialForm(const QString& number);

// Free dial and navigation numbers (0120, 0570, 0800) are shared by everyone who calls a company,
// so an equal one says little about the person.
bool isServiceNumber(const QString& numberKey);

// A fixed line: a national number that is neither a mobile, PHS or IP number (0x0 with x from 5
// to 9) nor a service number. Families share one, so it only identifies a person when no other
// entry holds it.
bool isLandline(const QString& numberKey);

// A reading as compared: half-width kana made full-width, katakana made hiragana, blanks removed.
// The caller compares two of these with the Japanese collator.
QString readingMatchText(const QString& reading);

// A name as compared: NFKC, blanks removed, Latin letters case-folded.
QString nameMatchKey(const QString& name);

// nameMatchKey with the variant kanji of family names (髙/高, 﨑/崎, 邊/邉/辺, …) made one. Two
// names equal only under this key are a hint, not the same name.
QString nameVariantKey(const QString& nameKey);

// An address as compared: the domain lower-cased, the part before the @ kept as it is, carrier
// addresses with ".." or ".@" included. Empty for an empty address.
QString addressMatchKey(const QString& address);
