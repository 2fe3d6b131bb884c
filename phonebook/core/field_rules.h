#pragma once
// Byte rules for the fields the handset is strict about. They look at single bytes and do not
// decode double-byte characters, so the lead byte of any full-width character is just a byte.

// Non-empty, and every byte printable ASCII (0x20-0x7E) or half-width katakana (0xA1-0xDF).
bool checkFurigana(const char* text);
// Every byte a digit, '*', '#' or upper-case 'P'; the empty text is valid.
bool checkTelNumber(const char* text);
// Every byte in 0x21-0x7E and none of ( ) , ; < = > [ ]; the empty text is valid.
bool checkMailAddress(const char* text);
