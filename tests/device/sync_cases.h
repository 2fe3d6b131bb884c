#pragma once
// The classic cases of a sync, each with the state, the handset's book, the PC book, the choice
// for conflicts and the books both sides must end with; the books written as entries of a few
// made-up people.

#include "device/core/written_book_check.h"
#include "phonebook/core/cp932_text.h"
#include "phonebook/core/sync_result.h"
#include "tests/support/book_fixtures.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

using Book = std::vector<TelEntry>;

inline StoredFormOf storedOn(const char* model)
{
    return [model](const TelEntry& entry) { return storedForm(entry, 0, model); };
}

inline const StoredFormOf STORED = storedOn("VN650R");

inline TelEntry aoki()
{
    return makeEntry({"青木一郎", "ｱｵｷｲﾁﾛｳ", {"09011110001"}, {"aoki@example.jp"}, "メモA"});
}
inline TelEntry ito()
{
    return makeEntry({"伊藤二郎", "ｲﾄｳｼﾞﾛｳ", {"09011110002"}});
}
inline TelEntry ueno()
{
    return makeEntry({"上野三郎", "ｳｴﾉｻﾌﾞﾛｳ", {"09011110003"}});
}
inline TelEntry eto()
{
    return makeEntry({"江藤四郎", "ｴﾄｳｼﾛｳ", {"09011110004"}});
}
inline TelEntry newcomer()
{
    return makeEntry({"大野五郎", "ｵｵﾉｺﾞﾛｳ", {"08022220005"}, {"ono@example.jp"}});
}

inline TelEntry withNumber(TelEntry entry, int slot, const char* number)
{
    setField(entry.tel[slot].number, NUMBER_FIELD_SIZE, number);
    return entry;
}
inline TelEntry withMemo(TelEntry entry, const char* memo)
{
    setField(entry.memo, MEMO_FIELD_SIZE, memo);
    return entry;
}
inline TelEntry withAddress(TelEntry entry, int slot, const char* address)
{
    setField(entry.mail[slot].address, ADDRESS_FIELD_SIZE, address);
    return entry;
}

inline Book base()
{
    return {aoki(), ito(), ueno(), eto()};
}

inline Book without(Book book, std::size_t at)
{
    book.erase(book.begin() + static_cast<std::ptrdiff_t>(at));
    return book;
}
inline Book replaced(Book book, std::size_t at, const TelEntry& entry)
{
    book[at] = entry;
    return book;
}
inline Book plus(Book book, const TelEntry& entry)
{
    book.push_back(entry);
    return book;
}

inline Book stored(const Book& book)
{
    Book result;
    for (const TelEntry& entry : book)
        result.push_back(STORED(entry));
    return result;
}

inline std::string describe(const Book& book)
{
    std::string text;
    for (const TelEntry& entry : book)
        text += QString::fromUtf8("[%1 %2 %3 %4]")
                    .arg(fromCp932(entry.name), QString::fromLatin1(entry.tel[0].number),
                         QString::fromLatin1(entry.tel[1].number), fromCp932(entry.memo))
                    .toStdString();
    return text;
}

inline bool sameBook(const Book& a, const Book& b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](const TelEntry& x, const TelEntry& y) {
               return std::memcmp(&x, &y, sizeof x) == 0;
           });
}

struct SyncCase {
    const char* label;
    Book state;
    Book handset; // as the handset holds it
    Book pc;
    ConflictChoice choice;
    Book expectedHandset;
    Book expectedPc;
};

inline std::vector<SyncCase> classicCases()
{
    const TelEntry aokiNumber = withNumber(aoki(), 0, "09099990001");
    const TelEntry aokiMemo = withMemo(aoki(), "新しいメモ");
    const TelEntry aokiBoth = withMemo(aokiNumber, "新しいメモ");
    const TelEntry itoChanged = withAddress(ito(), 0, "ito@example.jp");
    const TelEntry memoHandset = withMemo(aoki(), "携帯のメモ");
    const TelEntry memoPc = withMemo(aoki(), "パソコンのメモ");
    const TelEntry aokiTwoNumbers = withNumber(aoki(), 1, "0312345678");
    const TelEntry aokiOtherNumber = withNumber(aoki(), 1, "0611112222");
    const TelEntry aokiThreeNumbers = withNumber(aokiTwoNumbers, 2, "0611112222");
    return {
        {"added on the handset", base(), plus(base(), newcomer()), base(), ConflictChoice::Pc,
         plus(base(), newcomer()), plus(base(), newcomer())},
        {"added on the PC", base(), base(), plus(base(), newcomer()), ConflictChoice::Pc,
         plus(base(), newcomer()), plus(base(), newcomer())},
        {"deleted on the handset, unchanged on the PC", base(), without(base(), 1), base(),
         ConflictChoice::Pc, without(base(), 1), without(base(), 1)},
        {"deleted on the PC, unchanged on the handset", base(), base(), without(base(), 2),
         ConflictChoice::Pc, without(base(), 2), without(base(), 2)},
        {"deleted on the handset, changed on the PC", base(), without(base(), 1),
         replaced(base(), 1, itoChanged), ConflictChoice::Pc, plus(without(base(), 1), itoChanged),
         replaced(base(), 1, itoChanged)},
        {"deleted on both", base(), without(base(), 3), without(base(), 3), ConflictChoice::Pc,
         without(base(), 3), without(base(), 3)},
        {"different fields changed on each side", base(), replaced(base(), 0, aokiNumber),
         replaced(base(), 0, aokiMemo), ConflictChoice::Pc, replaced(base(), 0, aokiBoth),
         replaced(base(), 0, aokiBoth)},
        {"numbers added on each side merge as a set", base(), replaced(base(), 0, aokiTwoNumbers),
         replaced(base(), 0, aokiOtherNumber), ConflictChoice::Pc,
         replaced(base(), 0, withNumber(withNumber(aoki(), 1, "0611112222"), 2, "0312345678")),
         replaced(base(), 0, withNumber(withNumber(aoki(), 1, "0611112222"), 2, "0312345678"))},
        {"a number removed on one side goes", replaced(base(), 0, aokiThreeNumbers),
         replaced(base(), 0, aokiTwoNumbers), replaced(base(), 0, aokiThreeNumbers),
         ConflictChoice::Pc, replaced(base(), 0, aokiTwoNumbers),
         replaced(base(), 0, aokiTwoNumbers)},
        {"the same field changed differently, the PC's value", base(),
         replaced(base(), 0, memoHandset), replaced(base(), 0, memoPc), ConflictChoice::Pc,
         replaced(base(), 0, memoPc), replaced(base(), 0, memoPc)},
        {"the same field changed differently, the handset's value", base(),
         replaced(base(), 0, memoHandset), replaced(base(), 0, memoPc), ConflictChoice::Handset,
         replaced(base(), 0, memoHandset), replaced(base(), 0, memoHandset)},
        {"the same field changed differently, both kept", base(), replaced(base(), 0, memoHandset),
         replaced(base(), 0, memoPc), ConflictChoice::Both,
         Book{memoPc, memoHandset, ito(), ueno(), eto()},
         Book{memoPc, memoHandset, ito(), ueno(), eto()}},
        {"the same person added on both", base(), plus(base(), newcomer()),
         plus(base(), newcomer()), ConflictChoice::Pc, plus(base(), newcomer()),
         plus(base(), newcomer())},
        {"nothing changed", base(), base(), base(), ConflictChoice::Pc, base(), base()},
    };
}
