#pragma once
// Handset books with the entries a vCard file in the program's dialect does not bring back as
// they were: memos holding vCard words, groups 10-31, ";" in names and readings, entries without
// a number, secret entries, alongside full and sparse ones.

#include "phonebook/core/tel_book.h"
#include "tests/support/book_fixtures.h"

#include <cstring>
#include <memory>
#include <string>
#include <vector>

inline std::vector<TelEntry> entriesVCardLoses()
{
    std::vector<TelEntry> entries = {
        makeEntry({"版", "ﾊﾞﾝ", {"0311"}, {}, "VERSION:3.0"}),
        makeEntry({"電話", "ﾃﾞﾝﾜ", {"0322"}, {}, "TEL;CELL:09012345678"}),
        makeEntry({"番号", "ﾊﾞﾝｺﾞｳ", {"0333"}, {}, "X-GNO:5", 2}),
        makeEntry({"分類", "ﾌﾞﾝﾙｲ", {"0344"}, {}, "X-CLASS:PRIVATE"}),
        makeEntry({"音", "ｵﾄ", {"0355"}, {}, "SOUND;X-IRMC-N:ﾀﾞﾐｰ;;;;"}),
        makeEntry({"十", "ｼﾞｭｳ", {"0366"}, {}, "", 10}),
        makeEntry({"三十一", "ｻﾝｼﾞｭｳｲﾁ", {"0377"}, {}, "", 31}),
        makeEntry({"山田;太郎", "ﾔﾏﾀﾞ;ﾀﾛｳ", {"0388"}}),
        makeEntry({"番号なし", "ﾊﾞﾝｺﾞｳﾅｼ"}),
        makeEntry({"メールだけ", "ﾒｰﾙﾀﾞｹ", {}, {"only@example.jp"}, "BEGIN:VCARD", 17}),
    };
    TelEntry secret = makeEntry({"秘密", "ﾋﾐﾂ", {"0399"}, {}, "END:VCARD"});
    secret.secret = 1;
    entries.push_back(secret);
    return entries;
}

// count entries cycling through every shape, each made unique by its index.
inline std::unique_ptr<TelBook> everyShapeBook(int count)
{
    auto book = std::make_unique<TelBook>();
    const std::vector<TelEntry> awkward = entriesVCardLoses();
    for (int i = 0; i < count; ++i) {
        const std::string n = std::to_string(i);
        TelEntry entry{};
        switch (i % 4) {
        case 0: { // full: every field to its last byte
            const std::string digits = "0" + std::string(31 - n.size(), '9') + n;
            entry = makeEntry(
                {std::string(32 - n.size(), 'N') + n,
                 std::string(32 - n.size(), 'F') + n,
                 {digits, digits, digits},
                 {std::string(64 - n.size(), 'a') + n, "b" + n + "@x.jp", "c" + n + "@x.jp"},
                 std::string(100 - n.size(), 'm') + n,
                 i % 32});
            entry.tel[1].kind = static_cast<std::uint8_t>(i % TEL_KIND_COUNT);
            entry.tel[2].kind = TEL_FAX;
            entry.mail[1].kind = static_cast<std::uint8_t>(i % MAIL_KIND_COUNT);
            break;
        }
        case 1: // sparse: a name and its reading only
            entry = makeEntry({"名" + n, "ﾒｲ" + n});
            break;
        case 2: // a group past 9 and ";" in the name
            entry = makeEntry({"佐藤;" + n, "ｻﾄｳ;" + n, {"090" + n}, {}, "", 10 + i % 22});
            break;
        default:
            entry = awkward[static_cast<std::size_t>(i / 4) % awkward.size()];
            std::strncat(entry.name, n.c_str(), sizeof entry.name - 1 - std::strlen(entry.name));
            entry.secret = static_cast<std::uint8_t>(i % 8 == 3);
            break;
        }
        book->entries[book->count++] = entry;
    }
    return book;
}
