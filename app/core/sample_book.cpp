#include "app/core/sample_book.h"

#include "phonebook/core/cp932_text.h"

namespace {

struct SampleEntry {
    const char* name;
    const char* furigana;
    int group;
    std::uint8_t kinds[TEL_SLOTS];
    const char* numbers[TEL_SLOTS];
    const char* address;
    const char* memo;
};

// clang-format off
const SampleEntry SAMPLES[] = {
    {"山田太郎", "ﾔﾏﾀﾞ ﾀﾛｳ", 1, {TEL_MOBILE, TEL_PHONE, TEL_PHONE},
     {"09012345678", "0312345678", ""}, "taro.yamada@example.jp", "大学の同期"},
    {"佐藤花子", "ｻﾄｳ ﾊﾅｺ", 2, {TEL_MOBILE, TEL_OFFICE, TEL_FAX},
     {"08098765432", "0667891234", "0667891235"}, "hanako@example.co.jp", ""},
    {"鈴木一郎", "ｽｽﾞｷ ｲﾁﾛｳ", 0, {TEL_PHONE, TEL_PHONE, TEL_PHONE},
     {"0451112222", "", ""}, "", "町内会長"},
    {"高橋美咲", "ﾀｶﾊｼ ﾐｻｷ", 3, {TEL_PHS, TEL_PHONE, TEL_PHONE},
     {"07011223344", "", ""}, "misaki@example.ne.jp", ""},
    {"歯科クリニック", "ｼｶ ｸﾘﾆｯｸ", 5, {TEL_OFFICE, TEL_PHONE, TEL_PHONE},
     {"0520001111", "", ""}, "", "予約は平日のみ"},
};
// clang-format on

void store(char* field, std::size_t size, const char* utf8)
{
    storeCp932(QString::fromUtf8(utf8), field, size);
}

} // namespace

void loadSampleBook(TelBook& book)
{
    clearBook(book);
    for (const SampleEntry& sample : SAMPLES) {
        TelEntry& entry = book.entries[book.count++];
        store(entry.name, sizeof entry.name, sample.name);
        store(entry.furigana, sizeof entry.furigana, sample.furigana);
        entry.group = static_cast<std::uint8_t>(sample.group);
        for (int s = 0; s < TEL_SLOTS; ++s) {
            entry.tel[s].kind = sample.kinds[s];
            store(entry.tel[s].number, NUMBER_FIELD_SIZE, sample.numbers[s]);
        }
        store(entry.mail[0].address, ADDRESS_FIELD_SIZE, sample.address);
        store(entry.memo, sizeof entry.memo, sample.memo);
    }
}
