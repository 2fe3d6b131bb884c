// libFuzzer target for 連絡先の取り込み: any bytes either import into entries that all pass the
// record check, one report per entry, or end with a message and leave the book as it was; no
// imported text holds a control or user-defined (private-use) character the input did not hold,
// whatever charset the import read a value in.
// ./exchange/contact_import_fuzz -dict=exchange/fuzz/contact.dict tests/data/contacts
// tests/data/exports

#include "exchange/core/contact_import.h"
#include "phonebook/core/cp932_text.h"
#include "phonebook/core/record_check.h"

#include <cstdint>
#include <cstring>

namespace {

// Whether the input holds c as it stands: the byte of a control character (a tab also as the
// quoted-printable "=09" or "=9"), the UTF-8 or code page 932 bytes of any other.
bool inputHolds(const QByteArray& input, QChar c)
{
    if (c.unicode() < 0x80) {
        const char byte = static_cast<char>(c.unicode());
        return input.contains(byte) ||
               (byte == '\t' && (input.contains("=09") || input.contains("=9")));
    }
    const QString text(c);
    const auto cp932 = toCp932(text);
    return input.contains(text.toUtf8()) || (cp932 && input.contains(*cp932));
}

// Whether field holds a control or private-use character the input did not hold; a memo
// keeps the file's line breaks as CR LF.
bool holdsForeignCharacter(const QByteArray& input, const char* field, bool memo)
{
    for (QChar c : fromCp932(field)) {
        const QChar::Category category = c.category();
        if (category != QChar::Other_Control && category != QChar::Other_PrivateUse)
            continue;
        if (memo && (c == QLatin1Char('\r') || c == QLatin1Char('\n')))
            continue;
        if (!inputHolds(input, c))
            return true;
    }
    return false;
}

bool entryHoldsForeignCharacter(const QByteArray& input, const TelEntry& entry)
{
    bool foreign = holdsForeignCharacter(input, entry.name, false) ||
                   holdsForeignCharacter(input, entry.furigana, false) ||
                   holdsForeignCharacter(input, entry.memo, true);
    for (const TelNumber& slot : entry.tel)
        foreign = foreign || holdsForeignCharacter(input, slot.number, false);
    for (const MailAddress& slot : entry.mail)
        foreign = foreign || holdsForeignCharacter(input, slot.address, false);
    return foreign;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static TelBook* book = new TelBook{};
    clearBook(*book);
    std::strcpy(book->entries[0].name, "before");
    std::strcpy(book->entries[0].furigana, "before");
    book->count = 1;
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const ContactImportResult result =
        importContacts(bytes, *book, QDateTime(QDate(2024, 1, 15), QTime(9, 30)),
                       [](const QString& name) { return name.toUtf8().left(8); });
    if (!result.ok) {
        if (result.message.isEmpty() || book->count != 1 ||
            std::strcmp(book->entries[0].name, "before") != 0)
            __builtin_trap();
        return 0;
    }
    if (book->count == 0 || book->count > MAX_TEL_ENTRIES ||
        result.report.entries.size() != book->count || !checkBook(*book).ok())
        __builtin_trap();
    for (std::uint32_t i = 0; i < book->count; ++i)
        if (entryHoldsForeignCharacter(bytes, book->entries[i]))
            __builtin_trap();
    return 0;
}
