// Files that cannot be imported end with a clear message and leave the book as it was; what
// the import can still make sense of is kept within the book's limits.

#include "exchange/core/contact_import.h"
#include "phonebook/core/cp932_text.h"
#include "phonebook/core/record_check.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {

const QDateTime IMPORT_TIME(QDate(2024, 1, 15), QTime(9, 30));

QString u(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

std::unique_ptr<TelBook> bookWithOneEntry()
{
    auto book = std::make_unique<TelBook>();
    std::strcpy(book->entries[0].name, "keep");
    std::strcpy(book->entries[0].furigana, "keep");
    book->count = 1;
    return book;
}

QByteArray card(const QByteArray& body)
{
    return "BEGIN:VCARD\r\nVERSION:3.0\r\n" + body + "END:VCARD\r\n";
}

TEST(ContactBadFiles, EndWithAMessageAndLeaveTheBook)
{
    // A picture: its header, then bytes of every value.
    QByteArray binary("\x89PNG\r\n\x1A\n", 8);
    for (int i = 0; i < 4096; ++i)
        binary += static_cast<char>((i * 37) & 0xFF);
    const struct {
        const char* what;
        QByteArray file;
        const char* message;
    } cases[] = {
        {"binary", binary, "連絡先ファイルの文字コードが分からない為、取り込みを終了します。"},
        {"UTF-32",
         QByteArray("\xFF\xFE\x00\x00"
                    "B\0\0\0",
                    8),
         "連絡先ファイルの文字コードが分からない為、取り込みを終了します。"},
        {"truncated vCard", card("FN:A\r\n") + "BEGIN:VCARD\r\nFN:B\r\nTEL:1",
         "連絡先ファイルが途中で終わっている為（5行目からの連絡先）、取り込みを終了します。"},
        {"truncated CSV", "Name,Mobile Phone\r\nA,\"090",
         "連絡先ファイルが途中で終わっている為（2行目からの連絡先）、取り込みを終了します。"},
        {"10 MB line", card("NOTE:" + QByteArray(10 << 20, 'x') + "\r\n"),
         "連絡先ファイルの3行目が長すぎる為、取り込みを終了します。"},
        {"unknown charset", card("FN;CHARSET=X-NO-SUCH:abc\r\n"),
         "連絡先ファイルの3行目の文字コード「X-NO-SUCH」が分からない為、取り込みを終了します。"},
        {"empty", "", "連絡先ファイルに電話帳のデータがありません。"},
        {"header only", "Name,Mobile Phone\r\n", "連絡先ファイルに電話帳のデータがありません。"},
        {"no card", "BEGIN:VCARDX\r\n", "連絡先ファイルに電話帳のデータがありません。"},
        {"unknown header", "Vorname,Nachname\r\nA,B\r\n", CONTACT_HEADER_MESSAGE},
    };
    for (const auto& c : cases) {
        auto book = bookWithOneEntry();
        const ContactImportResult result = importContacts(c.file, *book, IMPORT_TIME);
        EXPECT_FALSE(result.ok) << c.what;
        EXPECT_EQ(result.message, u(c.message)) << c.what;
        EXPECT_EQ(book->count, 1u) << c.what;
        EXPECT_STREQ(book->entries[0].name, "keep") << c.what;
    }
}

TEST(ContactBadFiles, AFileThatCannotBeOpenedIsSaid)
{
    QTemporaryDir dir;
    auto book = bookWithOneEntry();
    const ContactImportResult result =
        importContactsFile(dir.filePath(QStringLiteral("missing.vcf")), *book);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.message, u("連絡先ファイルを開けません。"));
    EXPECT_EQ(book->count, 1u);
}

// A file named as a vCard that does not begin as one is a broken vCard, not a CSV file
// without a header; the same text under a CSV name is still read as CSV.
TEST(ContactBadFiles, AVCardNameWithoutBeginIsABrokenVCard)
{
    const QString broken = QStringLiteral(VEMBLOR_TEST_DATA "/contacts/broken-no-begin.vcf");
    QTemporaryDir dir;
    const QString upper = dir.filePath(QStringLiteral("BROKEN.VCF"));
    const QString csv = dir.filePath(QStringLiteral("broken.csv"));
    ASSERT_TRUE(QFile::copy(broken, upper));
    ASSERT_TRUE(QFile::copy(broken, csv));
    const struct {
        QString path;
        const char* message;
    } cases[] = {
        {broken, CONTACT_BROKEN_VCARD_MESSAGE},
        {upper, CONTACT_BROKEN_VCARD_MESSAGE},
        {csv, CONTACT_HEADER_MESSAGE},
    };
    for (const auto& c : cases) {
        auto book = bookWithOneEntry();
        const ContactImportResult result = importContactsFile(c.path, *book);
        EXPECT_FALSE(result.ok) << c.path.toStdString();
        EXPECT_EQ(result.message, u(c.message)) << c.path.toStdString();
        EXPECT_STREQ(book->entries[0].name, "keep");
    }
}

TEST(ContactBadFiles, ThePhotoOfAThousandLinesIsSkippedWhole)
{
    QByteArray photo = "PHOTO;ENCODING=b;TYPE=JPEG:";
    for (int i = 0; i < 20000; ++i)
        photo += QByteArray(74, 'A') + "\r\n ";
    const QByteArray file = card("N:Doe;Jane;;;\r\n" + photo + "AA\r\nTEL:03-1234-5678\r\n");
    auto book = std::make_unique<TelBook>();
    const ContactImportResult result = importContacts(file, *book, IMPORT_TIME);
    ASSERT_TRUE(result.ok) << result.message.toStdString();
    EXPECT_STREQ(book->entries[0].name, "Jane Doe");
    EXPECT_STREQ(book->entries[0].tel[0].number, "0312345678");
}

TEST(ContactBadFiles, CardsBeyondTheThousandthAreLeftOutAndReported)
{
    QByteArray file;
    for (int i = 0; i < 1005; ++i)
        file +=
            card("FN:Card " + QByteArray::number(i) + "\r\nTEL:" + QByteArray::number(i) + "\r\n");
    auto book = std::make_unique<TelBook>();
    const ContactImportResult result = importContacts(file, *book, IMPORT_TIME);
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(book->count, MAX_TEL_ENTRIES);
    EXPECT_STREQ(book->entries[999].name, "Card 999");
    EXPECT_EQ(result.report.cardCount, 1005);
    EXPECT_EQ(result.report.leftOut, 5);
    EXPECT_EQ(result.report.lines().last(),
              u("電話帳は1000件までのため、5件を取り込みませんでした。"));
    EXPECT_TRUE(checkBook(*book).ok());
}

// Only the cards the book keeps are read: those after the thousandth are counted from their
// BEGIN and END lines, so what they hold (even a charset no decoder knows, or a card nested in
// them) neither costs memory nor stops the import. A file that ends inside one is still cut off.
TEST(ContactBadFiles, CardsAfterTheThousandthAreCountedWithoutBeingRead)
{
    QByteArray kept;
    for (int i = 0; i < 1000; ++i)
        kept += card("FN:Card " + QByteArray::number(i) + "\r\n");
    const QByteArray unknownCharset = card("FN;CHARSET=X-NONSENSE:x\r\n");
    const QByteArray nested = card("AGENT:\r\nBEGIN:VCARD\r\nFN:Agent\r\nEND:VCARD\r\nFN:y\r\n");
    const struct {
        const char* what;
        QByteArray rest;
        int leftOut; // -1: the import fails with message
        const char* message;
    } cases[] = {
        {"unknown charset", unknownCharset + card("FN:z\r\n"), 2, nullptr},
        {"nested card", nested + nested, 2, nullptr},
        {"cut off", nested + "BEGIN:VCARD\r\nFN:w\r\n", -1,
         "連絡先ファイルが途中で終わっている為（4009行目からの連絡先）、取り込みを終了します。"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto book = bookWithOneEntry();
        const ContactImportResult result = importContacts(kept + c.rest, *book, IMPORT_TIME);
        if (c.leftOut < 0) {
            EXPECT_FALSE(result.ok);
            EXPECT_EQ(result.message, u(c.message));
            EXPECT_STREQ(book->entries[0].name, "keep");
            continue;
        }
        ASSERT_TRUE(result.ok) << result.message.toStdString();
        EXPECT_EQ(book->count, MAX_TEL_ENTRIES);
        EXPECT_STREQ(book->entries[999].name, "Card 999");
        EXPECT_EQ(result.report.cardCount, 1000 + c.leftOut);
        EXPECT_EQ(result.report.leftOut, c.leftOut);
        EXPECT_EQ(result.report.entries.size(), 1000u);
    }
}

TEST(ContactBadFiles, CsvRowsAfterTheThousandthAreCounted)
{
    QByteArray file = "Name,Mobile Phone\r\n";
    for (int i = 0; i < 1003; ++i)
        file += "Row " + QByteArray::number(i) + ",090" + QByteArray::number(10000000 + i) + "\r\n";
    auto book = std::make_unique<TelBook>();
    const ContactImportResult result = importContacts(file, *book, IMPORT_TIME);
    ASSERT_TRUE(result.ok) << result.message.toStdString();
    EXPECT_EQ(book->count, MAX_TEL_ENTRIES);
    EXPECT_STREQ(book->entries[999].name, "Row 999");
    EXPECT_EQ(result.report.cardCount, 1003);
    EXPECT_EQ(result.report.leftOut, 3);
    EXPECT_EQ(result.report.lines().last(),
              u("電話帳は1000件までのため、3件を取り込みませんでした。"));
}

TEST(ContactBadFiles, WhatBreaksTheFieldRulesNeverReachesTheBook)
{
    const QByteArray file = card("N:;;;;\r\nFN:" + QByteArray("\xF0\x9F\x98\x80", 4) +
                                 "\r\n"
                                 "X-PHONETIC-LAST-NAME:漢字だけ\r\n"
                                 "EMAIL:a b@example.jp\r\nEMAIL:ok@example.jp\r\nEMAIL:" +
                                 QByteArray(60, 'a') +
                                 "@example.jp\r\n"
                                 "TEL:+81 (0)90 1234 5678\r\nTEL:phone\r\n");
    auto book = std::make_unique<TelBook>();
    const ContactImportResult result = importContacts(file, *book, IMPORT_TIME);
    ASSERT_TRUE(result.ok);
    const TelEntry& entry = book->entries[0];
    EXPECT_TRUE(checkEntry(entry).ok());
    // The emoji has no code page 932 form; the reading keeps its kana; the name comes from it.
    EXPECT_EQ(fromCp932(entry.furigana), u("ﾀﾞｹ"));
    EXPECT_EQ(fromCp932(entry.name), u("ﾀﾞｹ"));
    EXPECT_STREQ(entry.tel[0].number, "09012345678");
    EXPECT_STREQ(entry.tel[1].number, "");
    EXPECT_STREQ(entry.mail[0].address, "ok@example.jp");
    EXPECT_STREQ(entry.mail[1].address, "");
    EXPECT_EQ(result.report.entries[0].changes.size(),
              6u); // name, reading, 2 mails, number, name filled
}

TEST(ContactImport, AskedProposerFillsOnlyAMissingReadingAndIsReportedAsProposed)
{
    const QByteArray file = card("N:山田;太郎;;;\r\nTEL:0312345678\r\n") +
                            card("N:鈴木;一郎;;;\r\nX-PHONETIC-LAST-NAME:すずき\r\n");
    int asked = 0;
    const ReadingProposer proposer = [&asked](const QString& name) {
        ++asked;
        return name == QString::fromUtf8("山田太郎") ? QByteArray("\xD4\xCF\xC0\xDE")
                                                     : QByteArray();
    };
    auto book = std::make_unique<TelBook>();
    const ContactImportResult result = importContacts(file, *book, IMPORT_TIME, proposer);
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(fromCp932(book->entries[0].furigana), u("ﾔﾏﾀﾞ"));
    EXPECT_TRUE(result.report.entries[0].has(ChangeKind::Proposed));
    EXPECT_FALSE(result.report.entries[0].has(ChangeKind::Filled));
    EXPECT_EQ(fromCp932(book->entries[1].furigana), u("ｽｽﾞｷ"));
}

TEST(ContactImport, AProposalThatBreaksTheReadingRuleIsNotTaken)
{
    auto book = std::make_unique<TelBook>();
    const ContactImportResult result =
        importContacts(card("N:山田;太郎;;;\r\nTEL:0312345678\r\n"), *book, IMPORT_TIME,
                       [](const QString&) { return toCp932(QString::fromUtf8("やまだ")).value(); });
    ASSERT_TRUE(result.ok);
    EXPECT_STREQ(book->entries[0].furigana, "0312345678");
    EXPECT_TRUE(result.report.entries[0].has(ChangeKind::Filled));
}

TEST(ImportReport, JsonListsEveryChangeByEntry)
{
    ImportReport report;
    report.cardCount = 3;
    report.entries.resize(2);
    report.entries[1].index = 1;
    report.entries[1].name = u("山田");
    report.entries[1].add(ChangeKind::Cut, u("メモ"), u("メモを切り詰めました"));
    const QByteArray json = report.toJson();
    EXPECT_TRUE(json.contains("\"index\": 1"));
    EXPECT_TRUE(json.contains("\"change\": \"cut\""));
    EXPECT_TRUE(json.contains("\"imported\": 2"));
    EXPECT_FALSE(json.contains("\"index\": 0")); // an entry without changes is not listed
    EXPECT_EQ(report.lines(), QStringList{u("2件目 山田: メモを切り詰めました")});
}

} // namespace
