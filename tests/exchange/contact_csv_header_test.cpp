// The header words of CSV files that people make by hand or with spreadsheets, beside those the
// exporters write, and the files whose header gives nothing to dial or write to.

#include "exchange/core/contact_import.h"
#include "phonebook/core/cp932_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {

const QDateTime IMPORT_TIME(QDate(2024, 1, 15), QTime(9, 30));

struct HeaderCase {
    const char* csv; // UTF-8, a header and one row
    const char* furigana;
    const char* number; // slot 1
    TelKind kind;
    const char* address; // slot 1
};

std::unique_ptr<TelBook> imported(const char* csv, ContactImportResult& result)
{
    auto book = std::make_unique<TelBook>();
    result = importContacts(QByteArray(csv), *book, IMPORT_TIME);
    return book;
}

TEST(ContactCsvHeaders, WordsPeopleUseBesideTheExportersOwn)
{
    const HeaderCase cases[] = {
        {"名前,よみ,携帯\r\n山田太郎,やまだたろう,090-1234-5678\r\n", "ﾔﾏﾀﾞﾀﾛｳ", "09012345678",
         TEL_MOBILE, ""},
        {"氏名,ふりがな,携帯番号,メール\r\n山田太郎,やまだ たろう,09012345678,t@example.jp\r\n",
         "ﾔﾏﾀﾞ ﾀﾛｳ", "09012345678", TEL_MOBILE, "t@example.jp"},
        {"姓,名,フリガナ(姓),フリガナ(名),電話\r\n山田,太郎,ヤマダ,タロウ,0312345678\r\n",
         "ﾔﾏﾀﾞﾀﾛｳ", "0312345678", TEL_PHONE, ""},
        // Hiragana reading columns of the family and given names.
        {"姓,名,せい,めい,自宅\r\n山田,太郎,やまだ,たろう,0312345678\r\n", "ﾔﾏﾀﾞﾀﾛｳ", "0312345678",
         TEL_PHONE, ""},
        {"Name,Yomi,TEL,E-mail\r\nA,ｴｰ,0312345678,a@example.jp\r\n", "ｴｰ", "0312345678", TEL_PHONE,
         "a@example.jp"},
        {"Name,Tel,e-mail\r\nA,0312345678,a@example.jp\r\n", "", "0312345678", TEL_PHONE,
         "a@example.jp"},
        {"名前,Eメール\r\n山田,y@example.jp\r\n", "", "", TEL_PHONE, "y@example.jp"},
        {"名前,Mail\r\n山田,y@example.jp\r\n", "", "", TEL_PHONE, "y@example.jp"},
        // Full-width and half-width forms, and numbered columns.
        {"名前,ﾌﾘｶﾞﾅ（姓）,ＴＥＬ１,メール２\r\n山田,ﾔﾏﾀﾞ,0312345678,y@example.jp\r\n", "ﾔﾏﾀﾞ",
         "0312345678", TEL_PHONE, "y@example.jp"},
    };
    for (const HeaderCase& c : cases) {
        ContactImportResult result;
        const auto book = imported(c.csv, result);
        ASSERT_TRUE(result.ok) << c.csv << result.message.toStdString();
        ASSERT_EQ(book->count, 1u) << c.csv;
        const TelEntry& entry = book->entries[0];
        if (c.furigana[0]) {
            EXPECT_EQ(fromCp932(entry.furigana), QString::fromUtf8(c.furigana)) << c.csv;
        }
        EXPECT_EQ(fromCp932(entry.tel[0].number), QString::fromUtf8(c.number[0]    ? c.number
                                                                    : c.address[0] ? ""
                                                                                   : "****"))
            << c.csv;
        if (c.number[0]) {
            EXPECT_EQ(entry.tel[0].kind, c.kind) << c.csv;
        }
        EXPECT_EQ(fromCp932(entry.mail[0].address), QString::fromUtf8(c.address)) << c.csv;
        ASSERT_EQ(result.report.entries.size(), 1u);
        for (const auto& change : result.report.entries[0].changes)
            EXPECT_NE(change.kind, ChangeKind::Dropped)
                << c.csv << " " << change.text.toStdString();
    }
}

// A header with a name but no number and no address column would give entries that hold only
// the completion's "****": the import is refused and sends the user to CSV インポート.
TEST(ContactCsvHeaders, NoNumberAndNoAddressColumnIsRefused)
{
    for (const char* csv : {"名前,フリガナ,住所\r\n山田,ﾔﾏﾀﾞ,東京都\r\n",
                            "Name,Notes,Labels\r\nA,note,friends\r\n", "名前\r\n山田\r\n"}) {
        auto book = std::make_unique<TelBook>();
        std::strcpy(book->entries[0].name, "keep");
        book->count = 1;
        const ContactImportResult result = importContacts(QByteArray(csv), *book, IMPORT_TIME);
        EXPECT_FALSE(result.ok) << csv;
        EXPECT_EQ(result.message,
                  QStringLiteral("CSVファイルの見出し行に電話番号とメールアドレスの列がない為、"
                                 "取り込みを終了します。列を手で割り当てるには「CSV "
                                 "インポート」を使ってください。"))
            << csv;
        EXPECT_EQ(book->count, 1u) << csv;
        EXPECT_STREQ(book->entries[0].name, "keep") << csv;
    }
}

// Rows of empty cells, as spreadsheets leave them, are not contacts named after the time.
TEST(ContactCsvHeaders, BlankRowsAreSkipped)
{
    ContactImportResult result;
    const auto book =
        imported("名前,電話\r\n山田,0311112222\r\n,\r\n , \r\n,,\r\n佐藤,0333334444\r\n"
                 ",\r\n",
                 result);
    ASSERT_TRUE(result.ok) << result.message.toStdString();
    ASSERT_EQ(book->count, 2u);
    EXPECT_EQ(fromCp932(book->entries[0].name), QStringLiteral("山田"));
    EXPECT_EQ(fromCp932(book->entries[1].name), QStringLiteral("佐藤"));
    EXPECT_EQ(result.report.cardCount, 2);

    // Only blank rows: no contact at all.
    ContactImportResult empty;
    const auto none = imported("名前,電話\r\n,\r\n,\r\n", empty);
    EXPECT_FALSE(empty.ok);
    EXPECT_EQ(empty.message, QStringLiteral("連絡先ファイルに電話帳のデータがありません。"));
}

} // namespace
