#include "phonebook/core/book_changes.h"

#include "phonebook/core/tel_book.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QCryptographicHash>

#include <algorithm>
#include <cstring>

namespace {

void addByte(QCryptographicHash& hash, std::uint8_t byte)
{
    hash.addData(QByteArrayView(reinterpret_cast<const char*>(&byte), 1));
}

// The text of a field up to its end, after its length so that neighbouring fields cannot run
// into each other; what lies behind the terminating NUL is no part of the entry.
void addText(QCryptographicHash& hash, const char* field, std::size_t size)
{
    const std::size_t length = strnlen(field, size);
    addByte(hash, static_cast<std::uint8_t>(length));
    hash.addData(QByteArrayView(field, static_cast<qsizetype>(length)));
}

} // namespace

// The kind of a free slot is left out, as the importers and the editor give it different values.
QByteArray bookFingerprint(const TelBook& book)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    const std::uint32_t count = std::min(book.count, MAX_TEL_ENTRIES);
    for (std::uint32_t i = 0; i < count; ++i) {
        const TelEntry& entry = book.entries[i];
        addText(hash, entry.name, sizeof entry.name);
        addText(hash, entry.furigana, sizeof entry.furigana);
        addByte(hash, entry.group);
        addByte(hash, entry.secret);
        for (const TelNumber& slot : entry.tel) {
            addText(hash, slot.number, sizeof slot.number);
            if (slot.number[0])
                addByte(hash, slot.kind);
        }
        for (const MailAddress& slot : entry.mail) {
            addText(hash, slot.address, sizeof slot.address);
            if (slot.address[0])
                addByte(hash, slot.kind);
        }
        addText(hash, entry.memo, sizeof entry.memo);
    }
    return hash.result();
}
