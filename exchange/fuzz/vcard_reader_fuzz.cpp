// libFuzzer target: any bytes given to the vCard reader end in one of its results, with a book
// whose every field stays NUL-terminated and whose unused slots stay zero.

#include "exchange/core/vcard_reader.h"

#include <QBuffer>

#include <cstdint>
#include <cstring>

namespace {

// Cancels at the polls the input's first byte picks and answers alternately, so the cancel
// paths are reached as well.
class FuzzHost final : public FileTaskHost {
public:
    explicit FuzzHost(std::uint8_t seed) : seed_(seed) {}
    bool pollCancel() override { return seed_ != 0 && ++polls_ % seed_ == 0; }
    bool askYesNo(const QString&) override { return ++questions_ % 3 == 0; }
    void showMessage(const QString&) override {}

private:
    std::uint8_t seed_;
    unsigned polls_ = 0;
    unsigned questions_ = 0;
};

class FixedClock final : public LocalClock {
public:
    QDateTime now() const override { return QDateTime(QDate(2024, 1, 15), QTime(9, 30)); }
};

template <std::size_t N> bool terminated(const char (&field)[N])
{
    return std::memchr(field, 0, N) != nullptr;
}

bool sound(const TelBook& book)
{
    if (book.count > MAX_TEL_ENTRIES)
        return false;
    static const TelEntry zero{};
    for (std::uint32_t i = 0; i < MAX_TEL_ENTRIES; ++i) {
        const TelEntry& entry = book.entries[i];
        if (i >= book.count) {
            if (std::memcmp(&entry, &zero, sizeof zero) != 0)
                return false;
            continue;
        }
        bool ok = terminated(entry.name) && terminated(entry.furigana) && terminated(entry.memo) &&
                  entry.furigana[0] != '\0' && entry.name[0] != '\0';
        for (const TelNumber& slot : entry.tel)
            ok = ok && terminated(slot.number);
        for (const MailAddress& slot : entry.mail)
            ok = ok && terminated(slot.address);
        if (!ok)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static TelBook* book = new TelBook{};
    clearBook(*book);
    QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    FuzzHost host(size ? data[0] % 7 : 0);
    const int result = readVCard(buffer, host, *book, FixedClock());
    const bool known = result == FILE_TASK_DONE || result == FILE_TASK_FAILED ||
                       result == FILE_TASK_ENDED || result == FILE_TASK_BAD_VERSION;
    if (!known || !sound(*book) || (result != FILE_TASK_DONE && book->count != 0))
        __builtin_trap();
    return 0;
}
