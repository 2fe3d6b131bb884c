#include "phonebook/core/tel_book.h"

#include <algorithm>
#include <cstring>

void clearBook(TelBook& book)
{
    std::memset(&book, 0, sizeof book);
}

std::unique_ptr<TelBook> bookOf(std::span<const TelEntry> entries)
{
    auto book = std::make_unique<TelBook>();
    clearBook(*book);
    const std::size_t count = std::min<std::size_t>(entries.size(), MAX_TEL_ENTRIES);
    std::copy_n(entries.begin(), count, book->entries);
    book->count = static_cast<std::uint32_t>(count);
    return book;
}

void removeEntry(TelBook& book, std::uint32_t index)
{
    if (index >= book.count)
        return;
    --book.count;
    if (index != book.count)
        std::memmove(&book.entries[index], &book.entries[index + 1],
                     (book.count - index) * sizeof(TelEntry));
    std::memset(&book.entries[book.count], 0, sizeof(TelEntry));
}
