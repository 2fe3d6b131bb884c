// libFuzzer target for 連絡先の取り込み: any bytes either import into entries that all pass the
// record check, one report per entry, or end with a message and leave the book as it was.
// ./exchange/contact_import_fuzz -dict=exchange/fuzz/contact.dict tests/data/contacts
// tests/data/exports

#include "exchange/core/contact_import.h"
#include "phonebook/core/record_check.h"

#include <cstdint>
#include <cstring>

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
    return 0;
}
