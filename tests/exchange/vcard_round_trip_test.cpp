// Real vCard files of other origin, and books that go through the writer and back.

#include "exchange/core/contact_import.h"
#include "exchange/core/smartphone_csv_writer.h"
#include "exchange/core/smartphone_vcard_writer.h"
#include "exchange/core/text_conversions.h"
#include "exchange/core/vcard_reader.h"
#include "exchange/core/vcard_writer.h"
#include "tests/exchange/fault_sink.h"
#include "tests/exchange/fixed_clock.h"
#include "tests/exchange/scripted_host.h"
#include "tests/support/book_fixtures.h"

#include <QBuffer>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <random>

namespace {

const QString NO_CARDS = QStringLiteral("vCardファイルに電話帳のデータがありません。");

std::unique_ptr<TelBook> emptyBook()
{
    return std::make_unique<TelBook>();
}

int importBytes(const QByteArray& bytes, TelBook& book, ScriptedHost& host)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return readVCard(buffer, host, book, FixedClock());
}

QByteArray saveBytes(const TelBook& book)
{
    ScriptedHost host;
    FaultSink sink;
    EXPECT_EQ(writeVCard(book, sink, host, FixedClock().now()), FILE_TASK_DONE);
    EXPECT_TRUE(sink.committed);
    return sink.written;
}

struct CorpusFile {
    const char* name;
    int result;
    QString message;
    std::uint32_t count;
    std::function<void(const TelBook&)> check = nullptr;
};

QString text(const char* field)
{
    return fromCp932(field);
}

TEST(VCardCorpus, EveryFileImportsWithItsMessage)
{
    const CorpusFile files[] = {
        {"android-v21_complicated-multi-note-qp-photo.vcf",
         FILE_TASK_DONE,
         {},
         1,
         [](const TelBook& b) {
             EXPECT_STREQ(b.entries[0].tel[2].number, "0311111111"); // five TEL lines, three slots
             EXPECT_STREQ(b.entries[0].mail[1].address, "cell@example.com");
         }},
        {"android-v21_invalid_comment_line-begin-mixedcase.vcf", FILE_TASK_DONE, NO_CARDS, 0},
        {"android-v21_japanese_1-sjis-sound-halfwidth-kana.vcf",
         FILE_TASK_DONE,
         {},
         1,
         [](const TelBook& b) {
             EXPECT_EQ(text(b.entries[0].name), QStringLiteral("安藤ロイド"));
             EXPECT_EQ(text(b.entries[0].furigana), QStringLiteral("ｱﾝﾄﾞｳﾛｲﾄﾞ"));
         }},
        {"android-v21_japanese_2-sjis-qp-adr-note-softbreak.vcf",
         FILE_TASK_DONE,
         {},
         1,
         [](const TelBook& b) {
             EXPECT_EQ(text(b.entries[0].memo), QStringLiteral("メモ"));
             EXPECT_STREQ(b.entries[0].tel[2].number, "****");
         }},
        {"android-v21_multiple_entry-sjis-x-nec-phs-4tel.vcf", FILE_TASK_DONE, {}, 3},
        {"android-v21_winmo_65-x-class-x-reduction-no-tel.vcf",
         FILE_TASK_DONE,
         {},
         1,
         [](const TelBook& b) { EXPECT_STREQ(b.entries[0].name, "2024/01/15/ 09:30"); }},
        {"android-v30_japanese-sjis-version30.vcf", FILE_TASK_BAD_VERSION, QString(), 0},
        {"android-v30_simple-x-gno-class-version30.vcf", FILE_TASK_BAD_VERSION, QString(), 0},
        {"bitpim-mixed-evolution-palm-mozilla-apple.vcf", FILE_TASK_BAD_VERSION, QString(), 0},
        {"ezvcard-android-2.1-qp-utf8-multicard.vcf", FILE_TASK_DONE, {}, 6},
        {"ezvcard-gmail-3.0.vcf", FILE_TASK_BAD_VERSION, QString(), 0},
        {"ezvcard-iphone-ios5-3.0.vcf", FILE_TASK_BAD_VERSION, QString(), 0},
        {"ezvcard-ms-outlook-2.1-long-note-line.vcf", FILE_TASK_FAILED, {}, 0},
        {"ezvcard-outlook-2003-2.1-qp-note.vcf", FILE_TASK_DONE, {}, 1},
        {"gammu-many-lines-version-after-notes.vcf",
         FILE_TASK_DONE,
         {},
         1,
         [](const TelBook& b) { EXPECT_STREQ(b.entries[0].memo, "Test16"); }},
        {"gammu-qp-softbreak-then-empty-line.vcf", FILE_TASK_DONE, {}, 1},
        {"gammu-se-1-sonyericsson-2.1.vcf", FILE_TASK_DONE, {}, 1},
        {"gammu-se-3-sonyericsson-499-cards.vcf", FILE_TASK_DONE, {}, 499},
        {"gammu-yahoo-2.1-export.vcf", FILE_TASK_DONE, {}, 1},
        {"kcontacts-netscape-lowercase-2.1.vcf", FILE_TASK_DONE, NO_CARDS, 0},
        {"kcontacts-qp-utf8-multiline-note.vcf", FILE_TASK_DONE, {}, 5},
        {"roundcube-utf16-3.0.vcf", FILE_TASK_FAILED, {}, 0},
        {"symbian-imc-sample-version-last-logo.vcf", FILE_TASK_DONE, {}, 1},
        {"symbian-jp-aoki-sound-fullwidth-katakana.vcf",
         FILE_TASK_DONE,
         {},
         1,
         [](const TelBook& b) {
             EXPECT_EQ(text(b.entries[0].name), QStringLiteral("青木功"));
             EXPECT_EQ(text(b.entries[0].furigana), QStringLiteral("ｱｵｷｲｻｵ"));
             EXPECT_EQ(text(b.entries[0].memo), QStringLiteral("コメント"));
         }},
        {"symbian-jp-digit2-fullwidth-digits.vcf",
         FILE_TASK_DONE,
         {},
         1,
         [](const TelBook& b) { EXPECT_STREQ(b.entries[0].furigana, "333333555555"); }},
        {"symbian-jp-encoded5-sjis-outlook-qp-note.vcf",
         FILE_TASK_DONE,
         {},
         1,
         [](const TelBook& b) {
             EXPECT_EQ(text(b.entries[0].memo),
                       QStringLiteral(
                           "小西一弘のﾊﾟｰｿﾅﾙ情報です。\r\n他人には絶対譲渡をしてはいけません。"));
         }},
        {"symbian-jp-encoded6-sjis-sound-xgno-xclass.vcf",
         FILE_TASK_DONE,
         {},
         1,
         [](const TelBook& b) {
             EXPECT_EQ(text(b.entries[0].furigana), QStringLiteral("ﾔﾏﾀﾞﾀﾛｳ"));
         }},
        {"symbian-jp-iyenesc1-sjis-backslash-blanklines.vcf", FILE_TASK_DONE, {}, 1},
        {"symbian-jp-longest-hiragana-long-name.vcf",
         FILE_TASK_DONE,
         {},
         1,
         [](const TelBook& b) {
             EXPECT_EQ(text(b.entries[0].name), QStringLiteral("あいうえおかきくけこさしすせそた"));
             EXPECT_EQ(std::strlen(b.entries[0].furigana), 32u);
         }},
        {"symbian-jp-multiplesounds-yen-escape.vcf",
         FILE_TASK_DONE,
         {},
         1,
         [](const TelBook& b) { EXPECT_STREQ(b.entries[0].furigana, "Sound2-aSound2-b"); }},
        {"symbian-jp-nakai-sound-halfwidth-katakana.vcf", FILE_TASK_DONE, {}, 1},
        {"symbian-jp-perf-sjis-qp-lowercase-begin.vcf", FILE_TASK_DONE, NO_CARDS, 0},
        {"symbian-jp-prolongedsound-choonpu.vcf",
         FILE_TASK_DONE,
         {},
         1,
         [](const TelBook& b) {
             EXPECT_EQ(text(b.entries[0].furigana), QStringLiteral("ｷﾀｼﾞﾏｻﾌﾞﾛｰ"));
         }},
        {"symbian-jp-fullwidth-punctuation2.vcf",
         FILE_TASK_DONE,
         {},
         1,
         [](const TelBook& b) { EXPECT_STREQ(b.entries[0].furigana, ":;?:;?"); }},
        {"symbian-nokia9110-cr-only-lines.vcf", FILE_TASK_DONE, NO_CARDS, 0},
        {"symbian-outlook98-many-tel-types.vcf", FILE_TASK_DONE, {}, 1},
        {"symbian-palm5-qp-note-softbreak.vcf", FILE_TASK_DONE, {}, 1},
        {"thunderbird-becky-jp-mailer-3.0.vcf", FILE_TASK_BAD_VERSION, QString(), 0},
        {"thunderbird-becky-jp-mailer-no-version.vcf", FILE_TASK_DONE, {}, 1},
    };
    const QDir dir(QStringLiteral(VEMBLOR_CORPUS "/vcard"));
    EXPECT_EQ(dir.entryList(QDir::Files).size(), static_cast<qsizetype>(std::size(files)))
        << "a corpus file without an expectation";
    for (const CorpusFile& file : files) {
        SCOPED_TRACE(file.name);
        QFile input(dir.filePath(QString::fromUtf8(file.name)));
        ASSERT_TRUE(input.open(QIODevice::ReadOnly));
        auto book = emptyBook();
        ScriptedHost host;
        EXPECT_EQ(readVCard(input, host, *book, FixedClock()), file.result);
        EXPECT_EQ(host.shown, file.message.isEmpty() ? QStringList() : QStringList{file.message});
        EXPECT_EQ(book->count, file.count);
        if (file.check)
            file.check(*book);
    }
}

// The entries of book as the reader gives them back after a save, by the rules of the dialect:
// a group of 10 or more becomes 0, unknown kinds become the defaults, an office address that
// names another kind in capitals loses its kind, and incomplete entries are completed.
TelEntry expectedAfterSave(TelEntry entry)
{
    if (entry.group >= 10)
        entry.group = 0;
    for (TelNumber& slot : entry.tel)
        if (slot.kind > TEL_FAX)
            slot.kind = TEL_PHONE;
    for (MailAddress& slot : entry.mail) {
        if (slot.kind > MAIL_OFFICE_PC)
            slot.kind = MAIL_UNSPECIFIED;
        for (const char* word : {"INTERNET", "CELL", "PCS", "HOME"})
            if (slot.kind == MAIL_OFFICE_PC && std::strstr(slot.address, word))
                slot.kind = MAIL_UNSPECIFIED;
    }
    completeImportedEntry(entry, FixedClock().now());
    return entry;
}

void expectSameEntries(const TelBook& saved, const TelBook& read)
{
    ASSERT_EQ(read.count, saved.count);
    for (std::uint32_t i = 0; i < saved.count; ++i) {
        const TelEntry expected = expectedAfterSave(saved.entries[i]);
        EXPECT_EQ(std::memcmp(&read.entries[i], &expected, sizeof expected), 0)
            << "entry " << i << ": " << text(saved.entries[i].name).toStdString();
    }
}

TEST(VCardRoundTrip, EveryImportedCorpusBookReadsBackTheSame)
{
    const QDir dir(QStringLiteral(VEMBLOR_CORPUS "/vcard"));
    int books = 0;
    for (const QString& name : dir.entryList(QDir::Files)) {
        SCOPED_TRACE(name.toStdString());
        QFile input(dir.filePath(name));
        ASSERT_TRUE(input.open(QIODevice::ReadOnly));
        auto imported = emptyBook();
        ScriptedHost host;
        if (readVCard(input, host, *imported, FixedClock()) != FILE_TASK_DONE || !imported->count)
            continue;
        ++books;
        auto readBack = emptyBook();
        ASSERT_EQ(importBytes(saveBytes(*imported), *readBack, host), FILE_TASK_DONE);
        expectSameEntries(*imported, *readBack);
    }
    EXPECT_EQ(books, 27);
}

// Text from an alphabet without capital letters, so no key word of the reader can appear.
std::string randomText(std::mt19937& random, std::size_t maxBytes,
                       std::initializer_list<const char*> alphabet)
{
    const std::vector<std::string> pieces = [&] {
        std::vector<std::string> all;
        for (const char* utf8 : alphabet)
            for (const QChar c : QString::fromUtf8(utf8))
                all.push_back(toCp932(QString(c)).value_or(QByteArray()).toStdString());
        return all;
    }();
    std::string result;
    const std::size_t target = std::uniform_int_distribution<std::size_t>(0, maxBytes)(random);
    for (;;) {
        const std::string& piece = pieces[random() % pieces.size()];
        if (result.size() + piece.size() > target)
            return result;
        result += piece;
    }
}

TEST(VCardRoundTrip, AFullBookOfValidEntriesReadsBackUnchanged)
{
    std::mt19937 random(20240115);
    auto book = emptyBook();
    book->count = MAX_TEL_ENTRIES;
    for (TelEntry& entry : book->entries) {
        auto put = [](char* field, std::size_t size, const std::string& value) {
            std::memcpy(field, value.data(), std::min(value.size(), size - 1));
        };
        put(entry.name, sizeof entry.name,
            randomText(random, 32, {"表ソ山田太郎あいうアイウ abc123-_.,@ｱｲｳﾞ〜①Ⅰ"}));
        put(entry.furigana, sizeof entry.furigana,
            "\xB1" /* ｱ */ + randomText(random, 31, {"ｱｲｳｴｵｶﾞﾊﾟﾞﾟｰ abc0123(),-./"}));
        entry.group = static_cast<std::uint8_t>(random() % 10);
        entry.secret = static_cast<std::uint8_t>(random() % 2);
        for (TelNumber& slot : entry.tel) {
            slot.kind = static_cast<std::uint8_t>(random() % 5);
            put(slot.number, sizeof slot.number, randomText(random, 32, {"0123456789*#P"}));
        }
        for (MailAddress& slot : entry.mail) {
            slot.kind = static_cast<std::uint8_t>(random() % 2);
            put(slot.address, sizeof slot.address,
                randomText(random, 64, {"abcdefghijklmnopqrstuvwxyz0123456789@.-_+"}));
        }
        put(entry.memo, sizeof entry.memo,
            randomText(random, 100,
                       {"毎週月曜日の会議室で定例会議表ソ=\t\r\n abc;:123ｱｲｳ!\"#$%&'()~"}));
        entry = expectedAfterSave(entry); // complete entries, so nothing is filled in
    }
    auto readBack = emptyBook();
    ScriptedHost host;
    ASSERT_EQ(importBytes(saveBytes(*book), *readBack, host), FILE_TASK_DONE);
    EXPECT_TRUE(host.shown.isEmpty());
    EXPECT_EQ(std::memcmp(readBack.get(), book.get(), sizeof(TelBook)), 0);
    expectSameEntries(*book, *readBack);
}

struct Difference {
    const char* what;
    std::function<void(TelEntry&)> change;
    std::function<void(const TelEntry&)> check;
};

TEST(VCardRoundTrip, WhatTheDialectCannotCarryChangesAsDocumented)
{
    const Difference cases[] = {
        {"group 10", [](TelEntry& e) { e.group = 10; },
         [](const TelEntry& e) { EXPECT_EQ(e.group, 0); }},
        {"kinds outside their codes",
         [](TelEntry& e) {
             e.tel[0].kind = 9;
             e.mail[0].kind = 2;
             e.mail[1].kind = 3;
         },
         [](const TelEntry& e) {
             EXPECT_EQ(e.tel[0].kind, TEL_PHONE);
             EXPECT_EQ(e.mail[0].kind, MAIL_UNSPECIFIED);
             EXPECT_EQ(e.mail[1].kind, MAIL_UNSPECIFIED);
         }},
        {"an office address naming HOME",
         [](TelEntry& e) {
             setField(e.mail[0].address, ADDRESS_FIELD_SIZE, "HOME@example.jp");
             e.mail[0].kind = MAIL_OFFICE_PC;
         },
         [](const TelEntry& e) { EXPECT_EQ(e.mail[0].kind, MAIL_UNSPECIFIED); }},
        {"no reading, no name, no number", [](TelEntry& e) { e = TelEntry{}; },
         [](const TelEntry& e) {
             EXPECT_STREQ(e.furigana, "2024/01/15/ 09:30");
             EXPECT_STREQ(e.name, "2024/01/15/ 09:30");
             EXPECT_STREQ(e.tel[1].number, "****");
         }},
        {"a memo holding SOUND", [](TelEntry& e) { setField(e.memo, sizeof e.memo, "SOUNDｱ"); },
         [](const TelEntry& e) {
             EXPECT_STREQ(e.memo, "");
             EXPECT_STREQ(e.furigana, "SOUND=B1"); // the line's encoded value
         }},
        {"a memo holding TEL;", [](TelEntry& e) { setField(e.memo, sizeof e.memo, "TEL;1"); },
         [](const TelEntry& e) {
             EXPECT_STREQ(e.memo, "");
             EXPECT_STREQ(e.tel[2].number, "0311112222"); // the fourth TEL line has no slot
         }},
    };
    for (const Difference& c : cases) {
        SCOPED_TRACE(c.what);
        auto book = emptyBook();
        book->entries[0] = makeEntry({"山田", "ﾔﾏﾀﾞ", {"0311112222", "0311112222", "0311112222"}});
        book->count = 1;
        c.change(book->entries[0]);
        auto readBack = emptyBook();
        ScriptedHost host;
        ASSERT_EQ(importBytes(saveBytes(*book), *readBack, host), FILE_TASK_DONE);
        c.check(readBack->entries[0]);
    }

    // A memo holding VERSION: ends the whole import as a card of another version.
    auto book = emptyBook();
    book->entries[0] = makeEntry({"山田", "ﾔﾏﾀﾞ", {"03"}, {}, "VERSION:3"});
    book->count = 1;
    auto readBack = emptyBook();
    ScriptedHost host;
    EXPECT_EQ(importBytes(saveBytes(*book), *readBack, host), FILE_TASK_BAD_VERSION);
    EXPECT_TRUE(host.shown.isEmpty()); // the caller names the version
}

// A ";" or a backslash in a name or reading survives the program's own file; a double-byte
// character whose trail byte is a backslash (表, ソ) is no escape, and neither is the last
// backslash of a name.
TEST(VCardRoundTrip, SemicolonsAndBackslashesInNamesSurvive)
{
    const struct {
        const char* name; // UTF-8
        const char* furigana;
        const char* nLine; // the N line as written (code page 932 shown as UTF-8)
    } cases[] = {
        {"A;B", "ｴｰ;ﾋﾞｰ", "N;CHARSET=SHIFT_JIS:A\\;B;;;;"},
        {";", ";", "N;CHARSET=SHIFT_JIS:\\;;;;;"},
        {"A\\", "ｴｰ\\", "N;CHARSET=SHIFT_JIS:A\\\\;;;;"},
        {"A\\;B", "ｴｰ", "N;CHARSET=SHIFT_JIS:A\\\\\\;B;;;;"},
        {"A\\\\B", "ｴｰ", "N;CHARSET=SHIFT_JIS:A\\\\\\B;;;;"},
        {"C:\\dir", "ｴｰ", "N;CHARSET=SHIFT_JIS:C:\\dir;;;;"},
        {"表;ソ", "ﾋｮｳ", "N;CHARSET=SHIFT_JIS:表\\;ソ;;;;"},
        {"ソ", "ｿ", "N;CHARSET=SHIFT_JIS:ソ;;;;"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto book = emptyBook();
        book->entries[0] = makeEntry({c.name, c.furigana, {"0311112222"}});
        book->count = 1;
        const QByteArray saved = saveBytes(*book);
        EXPECT_TRUE(saved.contains(toCp932(QString::fromUtf8(c.nLine)).value() + "\r\n"));
        auto readBack = emptyBook();
        ScriptedHost host;
        ASSERT_EQ(importBytes(saved, *readBack, host), FILE_TASK_DONE);
        EXPECT_EQ(text(readBack->entries[0].name), QString::fromUtf8(c.name));
        EXPECT_EQ(text(readBack->entries[0].furigana), QString::fromUtf8(c.furigana));
    }
}

// Files of earlier versions, which wrote a name as it stood, read as they always did.
TEST(VCardRoundTrip, NamesOfEarlierFilesReadAsBefore)
{
    const struct {
        const char* nValue; // after "N;CHARSET=SHIFT_JIS:", UTF-8
        const char* name;
    } cases[] = {
        {"山田;;;;", "山田"},       {"A;B;;;;", "AB"}, {"Yamada;Taro;;;", "YamadaTaro"},
        {"A\\;;;;", "A\\"},         {"表;;;;", "表"},  {"ソ;;;;", "ソ"},
        {"C:\\dir;;;;", "C:\\dir"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nValue);
        const QByteArray file = "BEGIN:VCARD\r\nVERSION:2.1\r\nN;CHARSET=SHIFT_JIS:" +
                                toCp932(QString::fromUtf8(c.nValue)).value() +
                                "\r\nSOUND;X-IRMC-N;CHARSET=SHIFT_JIS:\xB1;;;;\r\n"
                                "TEL;PREF;VOICE:0311112222\r\nEND:VCARD\r\n";
        auto book = emptyBook();
        ScriptedHost host;
        ASSERT_EQ(importBytes(file, *book, host), FILE_TASK_DONE);
        EXPECT_EQ(text(book->entries[0].name), QString::fromUtf8(c.name));
    }
}

// The export reads the program's own file with 連絡先の取り込み's reader: a ";" in a name stays in
// the name, which is not taken apart into family and given names and put in another order.
TEST(VCardRoundTrip, ASemicolonInANameSurvivesTheExport)
{
    auto book = emptyBook();
    book->entries[0] = makeEntry({"Smith;John", "ｽﾐｽ", {"0311112222"}});
    book->count = 1;
    auto imported = emptyBook();
    const ContactImportResult result =
        importContacts(saveBytes(*book), *imported, FixedClock().now());
    ASSERT_TRUE(result.ok) << result.message.toStdString();
    EXPECT_EQ(text(imported->entries[0].name), QStringLiteral("Smith;John"));
    const QByteArray vcard = smartphoneVCard(*imported);
    EXPECT_TRUE(vcard.contains("\r\nN:Smith\\;John;;;;\r\n")) << vcard.toStdString();
    EXPECT_TRUE(vcard.contains("\r\nFN:Smith\\;John\r\n")) << vcard.toStdString();
    EXPECT_TRUE(smartphoneCsv(*imported).contains(",Smith;John,"))
        << smartphoneCsv(*imported).toStdString();
}

} // namespace
