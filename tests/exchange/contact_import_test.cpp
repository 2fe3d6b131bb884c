// The import of each exporter's shape, field by field, with the report it must give.

#include "exchange/core/contact_import.h"
#include "phonebook/core/cp932_text.h"
#include "phonebook/core/record_check.h"
#include "tests/exchange/entry_slot_texts.h"

#include <QFile>

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace {

const QDateTime IMPORT_TIME(QDate(2024, 1, 15), QTime(9, 30));

struct ExpectedEntry {
    std::string name;
    std::string furigana;
    int group;
    int secret;
    std::vector<SlotText> tel;
    std::vector<SlotText> mail;
    std::string memo;
};

using Change = std::tuple<int, ChangeKind, std::string>; // entry index, kind, field

struct FixtureCase {
    const char* file;
    std::vector<ExpectedEntry> entries;
    std::set<Change> changes;
};

std::ostream& operator<<(std::ostream& out, const FixtureCase& c)
{
    return out << c.file;
}

std::string text(const char* field)
{
    return fromCp932(field).toStdString();
}

QByteArray fixture(const char* name)
{
    QFile file(QStringLiteral(VEMBLOR_TEST_DATA "/contacts/") + QString::fromUtf8(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    return file.readAll();
}

constexpr auto DROPPED = ChangeKind::Dropped;
constexpr auto FOLDED = ChangeKind::Folded;
constexpr auto FILLED = ChangeKind::Filled;
constexpr auto DECODED = ChangeKind::Decoded;

const FixtureCase CASES[] = {
    {"smartphone-3.0.vcf",
     {{"山田太郎",
       "ﾔﾏﾀﾞﾀﾛｳ",
       0,
       0,
       {{TEL_MOBILE, "09012345678"}, {TEL_PHONE, "0312345678"}, {TEL_FAX, "0398765432"}},
       {{MAIL_UNSPECIFIED, "taro@example.jp"}, {MAIL_OFFICE_PC, "t.yamada@example.co.jp"}},
       "打ち合わせは火曜, 水曜\r\n駅前～本社"}},
     {{0, DROPPED, "電話番号4"}, {0, FOLDED, "メモ"}, {0, DROPPED, "その他"}}},
    {"service-3.0.vcf",
     {{"John Smith",
       "ｽﾐｽ ｼﾞｮﾝ",
       3,
       1,
       {{TEL_OFFICE, "01016505550100"}, {TEL_MOBILE, "01016505550199"}},
       {{MAIL_UNSPECIFIED, "jsmith@example.com"},
        {MAIL_UNSPECIFIED, "john@example.com"},
        {MAIL_OFFICE_PC, "john.smith@example.org"}},
       ""},
      {"株式会社見本", "0120000000", 0, 0, {{TEL_PHONE, "0120000000"}}, {}, ""}},
     {{0, DROPPED, "メールアドレス4"},
      {0, DROPPED, "名前"},
      {0, DROPPED, "その他"},
      {1, FILLED, "フリガナ"}}},
    {"handset-2.1-utf8-qp.vcf",
     {{"佐藤花子",
       "ｻﾄｳﾊﾅｺ",
       0,
       0,
       {{TEL_MOBILE, "09011112222"}, {TEL_PHONE, "0312340000"}},
       {{MAIL_UNSPECIFIED, "hanako@example.jp"}},
       "メモ：①番の件"}},
     {}},
    // A quoted-printable soft break whose next line is also folded: the blank before an escape
    // belongs to the fold, a blank before plain text is data.
    {"handset-2.1-qp-folded-soft-break.vcf",
     {{"山田太郎", "ﾔﾏﾀﾞﾀﾛｳ", 0, 0, {{TEL_MOBILE, "09012345678"}}, {}, "Hello world"}},
     {}},
    {"card-4.0.vcf",
     {{"鈴木一郎",
       "ｽｽﾞｷｲﾁﾛｳ",
       0,
       0,
       {{TEL_MOBILE, "09055550002"}, {TEL_OFFICE, "0355550001P12"}},
       {{MAIL_OFFICE_PC, "ichiro@example.co.jp"}},
       "9時～17時"}},
     {{0, DROPPED, "電話番号"}, {0, FOLDED, "メモ"}}},
    {"service.csv",
     {{"田中次郎",
       "ﾀﾅｶｼﾞﾛｳ",
       2,
       0,
       {{TEL_MOBILE, "09022223333"}, {TEL_MOBILE, "08044445555"}, {TEL_FAX, "0333334444"}},
       {{MAIL_UNSPECIFIED, "jiro@example.jp"}, {MAIL_OFFICE_PC, "tanaka@example.co.jp"}},
       "月曜休み, 要連絡\r\n内線は２番"},
      {"Anne Brown", "010442079460000", 0, 0, {{TEL_PHONE, "010442079460000"}}, {}, ""}},
     {{0, DROPPED, "その他"}, {1, DROPPED, "その他"}, {1, FILLED, "フリガナ"}}},
    {"mail-en.csv",
     {{"Mary Jones",
       "0311110000",
       0,
       1,
       {{TEL_FAX, "0311110000"}, {TEL_OFFICE, "0311112222"}, {TEL_MOBILE, "09099990000"}},
       {{MAIL_UNSPECIFIED, "mary@example.com"}},
       ""}},
     {{0, FILLED, "フリガナ"}}},
    {"mail-ja.csv",
     {{"高橋美咲",
       "ﾀｶﾊｼﾐｻｷ",
       0,
       0,
       {{TEL_MOBILE, "09077778888"}, {TEL_PHONE, "0451234567"}},
       {{MAIL_UNSPECIFIED, "misaki@example.jp"}, {MAIL_UNSPECIFIED, "m.takahashi@example.co.jp"}},
       "表計算ソフトの表"}},
     {{0, DROPPED, "その他"}}},
    // Latin-1 without CHARSET beside Shift-JIS without CHARSET: each value is read as what its
    // bytes can be, and the accented letters keep their base letters.
    {"desktop-2.1-latin1-no-charset.vcf",
     {{"Hans Muller", "010491711234567", 0, 0, {{TEL_MOBILE, "010491711234567"}}, {}, ""},
      {"Erik Spasslund", "040123456", 0, 0, {{TEL_PHONE, "040123456"}}, {}, ""},
      {"Jorg Tocken", "0221987654", 0, 0, {{TEL_PHONE, "0221987654"}}, {}, "Grusse aus Koln"},
      {"山田太郎", "ﾔﾏﾀﾞ ﾀﾛｳ", 0, 0, {{TEL_MOBILE, "09012345678"}}, {}, ""}},
     {{0, DECODED, "文字コード"},
      {0, FOLDED, "名前"},
      {0, FILLED, "フリガナ"},
      {1, DECODED, "文字コード"},
      {1, FOLDED, "名前"},
      {1, FILLED, "フリガナ"},
      {2, DECODED, "文字コード"},
      {2, FOLDED, "名前"},
      {2, FOLDED, "メモ"},
      {2, FILLED, "フリガナ"}}},
    // CHARSET=UTF-8 on Windows-1252 bytes: read as Windows-1252, not as kanji.
    {"mislabelled-2.1-utf8-latin1.vcf",
     {{"Andre Dupont", "01033123456789", 0, 0, {{TEL_OFFICE, "01033123456789"}}, {}, "3eme etage"}},
     {{0, DECODED, "文字コード"},
      {0, FOLDED, "名前"},
      {0, FOLDED, "メモ"},
      {0, FILLED, "フリガナ"}}},
    // The same in CSV, field by field: a Windows-1252 row beside a Shift-JIS one.
    {"mail-latin1-sjis.csv",
     {{"Jorg Tocken", "01711234567", 0, 0, {{TEL_MOBILE, "01711234567"}}, {}, "Grusse, Strasse 3"},
      {"山田太郎", "09012345678", 0, 0, {{TEL_MOBILE, "09012345678"}}, {}, ""}},
     {{0, DECODED, "文字コード"},
      {0, FOLDED, "名前"},
      {0, FOLDED, "メモ"},
      {0, FILLED, "フリガナ"},
      {1, FILLED, "フリガナ"}}},
    // Accents folded; a company card named after the company; a name of nothing but
    // characters the handset lacks named by the completion; the Japanese one of a name's
    // alternatives names the entry and the phonetic one reads it; prefix, suffix and a
    // differing FN reported when left out.
    {"names-4.0.vcf",
     {{"Zoe O", "0104722334455", 0, 0, {{TEL_PHONE, "0104722334455"}}, {}, ""},
      {"株式会社見本", "0355550000", 0, 0, {{TEL_OFFICE, "0355550000"}}, {}, ""},
      {"09000001111", "09000001111", 0, 0, {{TEL_PHONE, "09000001111"}}, {}, ""},
      {"山田太郎", "ﾔﾏﾀﾞﾀﾛｳ", 0, 0, {{TEL_PHONE, "09022223333"}}, {}, ""},
      {"佐藤花子", "ｻﾄｳﾊﾅｺ", 0, 0, {{TEL_PHONE, "09044445555"}}, {}, ""},
      {"John Smith", "01014185550100", 0, 0, {{TEL_PHONE, "01014185550100"}}, {}, ""}},
     {{0, FOLDED, "名前"},
      {0, FILLED, "フリガナ"},
      {1, FILLED, "フリガナ"},
      {2, DROPPED, "名前"},
      {2, FILLED, "フリガナ"},
      {2, FILLED, "名前"},
      {5, DROPPED, "名前"},
      {5, DROPPED, "その他"},
      {5, FILLED, "フリガナ"}}},
};

class ContactFixtures : public testing::TestWithParam<FixtureCase> {};

TEST_P(ContactFixtures, ImportsEveryFieldWithTheExpectedReport)
{
    const FixtureCase& c = GetParam();
    auto book = std::make_unique<TelBook>();
    const ContactImportResult result = importContacts(fixture(c.file), *book, IMPORT_TIME);
    ASSERT_TRUE(result.ok) << result.message.toStdString();
    ASSERT_EQ(book->count, c.entries.size());
    for (std::size_t i = 0; i < c.entries.size(); ++i) {
        SCOPED_TRACE(i);
        const TelEntry& entry = book->entries[i];
        const ExpectedEntry& expected = c.entries[i];
        EXPECT_EQ(text(entry.name), expected.name);
        EXPECT_EQ(text(entry.furigana), expected.furigana);
        EXPECT_EQ(entry.group, expected.group);
        EXPECT_EQ(entry.secret, expected.secret);
        EXPECT_EQ(filledSlotTexts(entry, SlotList::Tel), expected.tel);
        EXPECT_EQ(filledSlotTexts(entry, SlotList::Mail), expected.mail);
        EXPECT_EQ(text(entry.memo), expected.memo);
        EXPECT_TRUE(checkEntry(entry).ok());
    }
    std::set<Change> changes;
    for (const EntryReport& entry : result.report.entries)
        for (const FieldChange& change : entry.changes)
            changes.insert({entry.index, change.kind, change.field.toStdString()});
    EXPECT_EQ(changes, c.changes);
}

INSTANTIATE_TEST_SUITE_P(Exporters, ContactFixtures, testing::ValuesIn(CASES));

// The report names what it guessed and what it left out, not just the field.
TEST(ContactReport, NamesTheCharsetGuessedAndTheNamePartsLeftOut)
{
    auto book = std::make_unique<TelBook>();
    const struct {
        const char* file;
        std::vector<const char*> phrases;
    } cases[] = {
        {"mislabelled-2.1-utf8-latin1.vcf", {"N、NOTE", "Windows-1252", "「é」を「e」"}},
        {"desktop-2.1-latin1-no-charset.vcf", {"文字コードの指定がなく", "「ß」を「ss」"}},
        {"names-4.0.vcf",
         {"「Dr.」", "「Jr.」", "「Johnny Smith」", "名前のない連絡先として扱いました"}},
    };
    for (const auto& c : cases) {
        const ContactImportResult result = importContacts(fixture(c.file), *book, IMPORT_TIME);
        ASSERT_TRUE(result.ok) << c.file;
        const QString text = result.report.text();
        for (const char* phrase : c.phrases)
            EXPECT_TRUE(text.contains(QString::fromUtf8(phrase)))
                << c.file << " lacks " << phrase << "\n"
                << text.toStdString();
    }
}

// Whatever the decoding, no control character and no user-defined character enters the book.
TEST(ContactReport, NoControlOrUserDefinedCharacterEntersTheBook)
{
    const QByteArray files[] = {
        // Latin-1 letters that code page 932 would read as user-defined characters or kana.
        "BEGIN:VCARD\r\nN:T\xF6"
        "cken;\xC5sa\r\nTEL:1\r\nEND:VCARD\r\n",
        // A CHARSET of Shift-JIS on a user-defined character, and a control byte.
        "BEGIN:VCARD\r\nN;CHARSET=SHIFT_JIS:\xF0\x40"
        "A\x01"
        "B\r\nTEL:1\r\nEND:VCARD\r\n",
        // UTF-8 private-use characters (old carriers' pictographs) and DEL.
        "BEGIN:VCARD\r\nFN:\xEE\x80\x80Taro\x7F\r\nNOTE:a\xEE\x81\x81\r\nTEL:1\r\nEND:VCARD\r\n",
    };
    for (const QByteArray& file : files) {
        auto book = std::make_unique<TelBook>();
        const ContactImportResult result = importContacts(file, *book, IMPORT_TIME);
        ASSERT_TRUE(result.ok) << file.toStdString();
        const TelEntry& entry = book->entries[0];
        for (const char* field : {entry.name, entry.furigana, entry.memo})
            for (QChar c : fromCp932(field))
                EXPECT_TRUE(c.category() != QChar::Other_Control &&
                            c.category() != QChar::Other_PrivateUse)
                    << file.toStdString() << ": U+" << std::hex << int(c.unicode());
        EXPECT_NE(fromCp932(entry.name).trimmed(), QString()) << file.toStdString();
    }
}

} // namespace
