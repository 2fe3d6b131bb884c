#include "phonebook/core/tel_book.h"

#include <cstring>

void clearBook(TelBook& book)
{
    std::memset(&book, 0, sizeof book);
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
