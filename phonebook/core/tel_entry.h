#pragma once
// One phone book entry as the handset and the vCard files know it: Shift-JIS (code page 932)
// bytes in fixed NUL-terminated fields, so a field of width N holds at most N-1 bytes of text.

#include <cstddef>
#include <cstdint>

constexpr std::size_t NAME_FIELD_SIZE = 33;
constexpr std::size_t FURIGANA_FIELD_SIZE = 33;
constexpr std::size_t NUMBER_FIELD_SIZE = 33;
constexpr std::size_t ADDRESS_FIELD_SIZE = 65;
constexpr std::size_t MEMO_FIELD_SIZE = 101;
constexpr int TEL_SLOTS = 3;
constexpr int MAIL_SLOTS = 3;

enum TelKind : std::uint8_t {
    TEL_PHONE = 0,
    TEL_MOBILE = 1,
    TEL_PHS = 2,
    TEL_OFFICE = 3,
    TEL_FAX = 4,
};

constexpr int TEL_KIND_COUNT = 5;

enum MailKind : std::uint8_t {
    MAIL_UNSPECIFIED = 0,
    MAIL_OFFICE_PC = 1,
};
// The mail kind codes an entry may hold; the ones past MAIL_OFFICE_PC have no text.
constexpr int MAIL_KIND_COUNT = 4;

struct TelNumber {
    std::uint8_t kind;              // a TelKind code; ignored while number is empty
    char number[NUMBER_FIELD_SIZE]; // empty = free slot
};

struct MailAddress {
    std::uint8_t kind;                // a MailKind code (0-3); ignored while address is empty
    char address[ADDRESS_FIELD_SIZE]; // empty = free slot
};

struct TelEntry {
    char name[NAME_FIELD_SIZE];
    char furigana[FURIGANA_FIELD_SIZE]; // half-width katakana reading; never empty when valid
    std::uint8_t group;
    std::uint8_t secret; // 1 = secret
    TelNumber tel[TEL_SLOTS];
    MailAddress mail[MAIL_SLOTS];
    char memo[MEMO_FIELD_SIZE];
};

// The record is a plain byte layout with no gaps between fields.
static_assert(sizeof(TelNumber) == 34);
static_assert(sizeof(MailAddress) == 66);
static_assert(sizeof(TelEntry) == 33 + 33 + 1 + 1 + 3 * 34 + 3 * 66 + 101);

// Kind texts as the list and the editor show them (UTF-8); empty for a code without a text.
const char* telKindText(std::uint8_t kind);
const char* mailKindText(std::uint8_t kind);
