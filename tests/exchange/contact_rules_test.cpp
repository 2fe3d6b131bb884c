// The small rules beneath 連絡先の取り込み and スマートフォン用に書き出し, case by case.

#include "exchange/core/contact_fit.h"
#include "exchange/core/contact_text_encoding.h"
#include "exchange/core/csv_records.h"
#include "exchange/core/smartphone_vcard_writer.h"
#include "exchange/core/vcard_content_lines.h"
#include "phonebook/core/cp932_text.h"
#include "phonebook/core/dialable_number.h"
#include "phonebook/core/reading_kana.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

struct CsvRecords {
    QList<QStringList> records;
    bool unterminatedQuote = false;
    int quoteLine = 0;
};

CsvRecords splitCsvRecords(const QString& text)
{
    CsvRecords csv;
    const CsvEnd end = forEachCsvRecord(text, [&](const QStringList& record) {
        csv.records.append(record);
        return true;
    });
    csv.unterminatedQuote = end.unterminatedQuote;
    csv.quoteLine = end.quoteLine;
    return csv;
}

QList<VCardContentLine> splitVCardLines(QByteArrayView bytes)
{
    QList<VCardContentLine> lines;
    forEachVCardLine(bytes, [&](const VCardContentLine& line) {
        lines.append(line);
        return true;
    });
    return lines;
}

QString u(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

TEST(DialableNumber, CleansWhatSmartphonesWrite)
{
    const struct {
        const char* value;
        const char* number; // nullptr: not a number
    } cases[] = {
        {"090-1234-5678", "09012345678"},
        {"(03) 1234.5678", "0312345678"},
        {"+81 90-1234-5678", "09012345678"},
        {"+81 (0)3 1234 5678", "0312345678"}, // the trunk 0 after +81 is not doubled
        {"+1-418-656-9254", "01014186569254"},
        {"tel:+81-3-5555-0001;ext=12", "0355550001P12"},
        {"tel:1", "1"},
        {"０９０ １２３４ ５６７８", "09012345678"},
        {"0351/123456", "0351123456"},
        {"*123#", "*123#"},
        {"03-1234-5678p99", "0312345678P99"},
        {"03-1234-5678,99", "0312345678P99"},
        {"sip:ichiro@example.jp", nullptr},
        {"+49 MOBIL", nullptr},
        {"zentrale", nullptr},
        {" - ", nullptr},
        {"", nullptr},
        {"03+1234", nullptr},
    };
    for (const auto& c : cases) {
        const auto number = toDialableNumber(u(c.value));
        if (c.number)
            EXPECT_EQ(number.value_or(u("<none>")), u(c.number)) << c.value;
        else
            EXPECT_FALSE(number.has_value()) << c.value << " gave " << number->toStdString();
    }
}

TEST(ReadingKana, MakesHalfWidthKatakana)
{
    const struct {
        const char* reading;
        const char* halfWidth;
        const char* dropped;
    } cases[] = {
        {"やまだ たろう", "ﾔﾏﾀﾞ ﾀﾛｳ", ""},
        {"ヤマダ\u3000タロウ", "ﾔﾏﾀﾞ ﾀﾛｳ", ""},
        {"ガギグゲゴ パピプペポ", "ｶﾞｷﾞｸﾞｹﾞｺﾞ ﾊﾟﾋﾟﾌﾟﾍﾟﾎﾟ", ""},
        {"ヴァイオリン", "ｳﾞｧｲｵﾘﾝ", ""},
        {"ゔ", "ｳﾞ", ""},
        {"サブロー", "ｻﾌﾞﾛｰ", ""},
        {"ヮヰヱヵヶ", "ﾜｲｴｶｹ", ""},
        {"ｱｲｳ", "ｱｲｳ", ""},
        {"ＡＢＣ１２３", "ABC123", ""},
        {"「ア」・。、", "｢ｱ｣･｡､", ""},
        {"山田たろう", "ﾀﾛｳ", "山田"},
        {"Smith, John", "Smith, John", ""},
    };
    for (const auto& c : cases) {
        const HalfWidthReading reading = toHalfWidthReading(u(c.reading));
        EXPECT_EQ(reading.text, u(c.halfWidth)) << c.reading;
        EXPECT_EQ(reading.dropped, u(c.dropped)) << c.reading;
    }
}

TEST(ReadingKana, FullWidthFormReadsBackToTheSameHalfWidthReading)
{
    for (const char* halfWidth : {"ﾔﾏﾀﾞ ﾀﾛｳ", "ｳﾞｧｲｵﾘﾝ", "ﾊﾟﾋﾟﾌﾟﾍﾟﾎﾟ", "ｻﾌﾞﾛｰ", "｢ｱ｣･｡､", "ﾞﾟ",
                                  "ABC 12", "2024/01/15/ 09:30"}) {
        const QString full = toFullWidthReading(u(halfWidth));
        EXPECT_EQ(toHalfWidthReading(full).text, u(halfWidth)) << halfWidth;
    }
    EXPECT_EQ(toFullWidthReading(u("ﾔﾏﾀﾞ ﾀﾛｳ")), u("ヤマダ タロウ"));
}

TEST(CsvRecords, SplitsAsRfc4180)
{
    const struct {
        const char* text;
        QList<QStringList> records;
    } cases[] = {
        {"a,b\r\nc,d\r\n", {{u("a"), u("b")}, {u("c"), u("d")}}},
        {"a,b\nc,d", {{u("a"), u("b")}, {u("c"), u("d")}}},
        {"a,b\rc,d\r", {{u("a"), u("b")}, {u("c"), u("d")}}},
        {"\"x, y\",\"say \"\"hi\"\"\"\n", {{u("x, y"), u("say \"hi\"")}}},
        {"\"two\r\nlines\",z\r\n", {{u("two\r\nlines"), u("z")}}},
        {"a,,\n\n\nb", {{u("a"), u(""), u("")}, {u("b")}}},
        {"ab\"c,d", {{u("ab\"c"), u("d")}}},
    };
    for (const auto& c : cases) {
        const CsvRecords csv = splitCsvRecords(u(c.text));
        EXPECT_FALSE(csv.unterminatedQuote) << c.text;
        EXPECT_EQ(csv.records, c.records) << c.text;
    }
}

TEST(CsvRecords, AQuoteLeftOpenIsTruncation)
{
    const CsvRecords csv = splitCsvRecords(u("a,b\nc,\"open\nnever closed\n"));
    EXPECT_TRUE(csv.unterminatedQuote);
    EXPECT_EQ(csv.quoteLine, 2);
}

TEST(VCardContentLines, JoinsFoldsAndSoftBreaksAndTakesLinesApart)
{
    const QList<VCardContentLine> lines =
        splitVCardLines("BEGIN:VCARD\r\r\n"
                        "item1.EMAIL;type=INTERNET;type=pref:a@\r\n"
                        " example.jp\r\n"
                        "NOTE;ENCODING=QUOTED-PRINTABLE;CHARSET=UTF-8:=E3=81=82=\r\n"
                        "=E3=81=84\r\n"
                        "TEL;VALUE=uri;TYPE=\"work,voice\";PREF=1:tel:+1-418\r\n"
                        "TEL;CELL;VOICE:090\r\n"
                        "\r\n"
                        "ADR;LABEL=\"a^nb:c\":;;x\n"
                        "END:VCARD");
    ASSERT_EQ(lines.size(), 7);
    EXPECT_EQ(lines[0].name, "BEGIN");
    EXPECT_EQ(lines[1].group, "ITEM1");
    EXPECT_EQ(lines[1].name, "EMAIL");
    EXPECT_EQ(lines[1].value, "a@example.jp");
    EXPECT_EQ(lines[1].types(), (QList<QByteArray>{"INTERNET", "PREF"}));
    EXPECT_TRUE(lines[1].isPreferred());
    EXPECT_EQ(lines[2].value, "=E3=81=82=E3=81=84");
    EXPECT_TRUE(lines[2].isQuotedPrintable());
    EXPECT_EQ(lines[3].types(), (QList<QByteArray>{"WORK", "VOICE"}));
    EXPECT_EQ(lines[3].value, "tel:+1-418");
    EXPECT_TRUE(lines[3].isPreferred());
    EXPECT_EQ(lines[4].types(), (QList<QByteArray>{"CELL", "VOICE"}));
    EXPECT_FALSE(lines[4].isPreferred());
    EXPECT_EQ(lines[5].param("LABEL").value_or("?"), "a\nb:c");
    EXPECT_EQ(lines[5].value, ";;x");
    EXPECT_EQ(lines[5].lineNumber, 9);
}

TEST(VCardContentLines, ASoftBreakBeforeTheEndOfTheCardDoesNotSwallowIt)
{
    const QList<VCardContentLine> lines =
        splitVCardLines("NOTE;ENCODING=QUOTED-PRINTABLE:abc=\nEND:VCARD\n");
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[1].name, "END");
}

TEST(ContactEncoding, FindsTheEncodingOfAFile)
{
    const struct {
        QByteArray file;
        const char* charset; // nullptr: refused
        QByteArray bytes;
    } cases[] = {
        {"\xEF\xBB\xBF\xE3\x81\x82", "UTF-8", "\xE3\x81\x82"},
        {"\xE3\x81\x82", "UTF-8", "\xE3\x81\x82"},
        {QByteArray("\xFF\xFE\x42\x30", 4), "UTF-8", "\xE3\x81\x82"},
        {QByteArray("\xFE\xFF\x30\x42", 4), "UTF-8", "\xE3\x81\x82"},
        {"\x82\xA0", "windows-31j", "\x82\xA0"},
        {"\xE3\x81", "windows-31j", "\xE3\x81"}, // a cut UTF-8 sequence is not UTF-8
        {"\xC0\xAF", "windows-31j", "\xC0\xAF"}, // nor an overlong one
        {QByteArray("\0B\0E\x30\x42", 6), "UTF-8", "BE\xE3\x81\x82"},
        {QByteArray("B\0E\0\x42\x30", 6), "UTF-8", "BE\xE3\x81\x82"},
        {QByteArray("\xFF\xFE\x00\x00", 4), nullptr, ""},
        {QByteArray("BEGIN:VCARD\0\0", 13), nullptr, ""},
        {QByteArray("\xFF\xFE\x42", 3), nullptr, ""},
    };
    for (const auto& c : cases) {
        const auto detected = detectContactEncoding(c.file);
        if (!c.charset) {
            EXPECT_FALSE(detected.has_value()) << c.file.toHex().toStdString();
            continue;
        }
        ASSERT_TRUE(detected.has_value()) << c.file.toHex().toStdString();
        EXPECT_EQ(detected->charset, c.charset) << c.file.toHex().toStdString();
        EXPECT_EQ(detected->bytes, c.bytes) << c.file.toHex().toStdString();
    }
    EXPECT_EQ(knownCharset("shift_jis").value_or("?"), "windows-31j");
    EXPECT_FALSE(knownCharset("X-NO-SUCH-CHARSET").has_value());
}

TEST(ContactEncoding, ReadsEachValueByWhatItsBytesCanBe)
{
    const struct {
        QByteArray bytes;
        const char* charset;
        bool labelled;
        const char* text;
        const char* guessed;
    } cases[] = {
        // A file that is not UTF-8: Shift-JIS when it reads as Japanese, else UTF-8, else
        // Windows-1252.
        {"\x8E\x52\x93\x63", "windows-31j", false, "山田", ""},
        {"\xD4\xCF\xC0\xDE \xC0\xDB\xB3", "windows-31j", false, "ﾔﾏﾀﾞ ﾀﾛｳ", ""},
        {"ABC\x8A\x94\x8E\xAE\x89\xEF\x8E\xD0", "windows-31j", false, "ABC株式会社", ""},
        {"M\xFCller", "windows-31j", false, "Müller", "windows-1252"},
        {"Spa\xDFlund", "windows-31j", false, "Spaßlund", "windows-1252"},
        {"T\xF6"
         "cken",
         "windows-31j", false, "Töcken", "windows-1252"},
        {"M\xDCLLER", "windows-31j", false, "MÜLLER", "windows-1252"},
        {"Zo\xEB", "windows-31j", false, "Zoë", "windows-1252"},
        {"\xE3\x81\x82", "windows-31j", false, "あ", "UTF-8"},
        // Kanji between ASCII letters and digits stay kanji.
        {"3\x8C\x8Emtg", "windows-31j", false, "3月mtg", ""},
        {"2024\x94\x4Esep", "windows-31j", false, "2024年sep", ""},
        // Labelled UTF-8 on other bytes: a handset's Shift-JIS, else Windows-1252.
        {"3\xE8me \xE9tage", "UTF-8", true, "3ème étage", "windows-1252"},
        {"\x8E\x52\x93\x63", "UTF-8", true, "山田", "windows-31j"},
        {"caf\xC3\xA9", "UTF-8", true, "café", ""},
        // Other labels are taken as they stand; 0x81 is not a character of Windows-1252.
        {"\xE9", "ISO-8859-1", true, "é", ""},
        {"\x80\x81", "UTF-8", true, "€\uFFFD", "windows-1252"},
    };
    for (const auto& c : cases) {
        const DecodedValue value = decodeContactValue(c.bytes, c.charset, c.labelled);
        EXPECT_EQ(value.text, QString::fromUtf8(c.text)) << c.bytes.toHex().toStdString();
        EXPECT_EQ(value.guessed, QByteArray(c.guessed)) << c.bytes.toHex().toStdString();
    }
}

TEST(ContactEncoding, FindsTheFirstLineTooLong)
{
    QByteArray file = "short\n";
    file += QByteArray(MAX_CONTACT_LINE + 1, 'x');
    EXPECT_EQ(firstTooLongLine(file), 2);
    EXPECT_EQ(firstTooLongLine(QByteArray(MAX_CONTACT_LINE, 'x') + "\r\nok"), 0);
}

TEST(FitText, FoldsDropsAndCutsOnACharacterBoundary)
{
    const struct {
        const char* text;
        std::size_t fieldSize;
        const char* stored;
        std::vector<ChangeKind> changes;
    } cases[] = {
        {"山田太郎", 33, "山田太郎", {}},
        {"9時〜17時", 33, "9時～17時", {ChangeKind::Folded}},
        // Accented Latin letters and ligatures keep their base letters.
        {"Müller", 33, "Muller", {ChangeKind::Folded}},
        {"Spaßlund Zoë Øre Æsir", 33, "Spasslund Zoe Ore AEsir", {ChangeKind::Folded}},
        {"🍣寿司", 33, "寿司", {ChangeKind::Dropped}},
        // Control characters and user-defined characters never reach a field.
        {"A\x01"
         "B\x7F\uE000C",
         33,
         "ABC",
         {ChangeKind::Dropped}},
        // 表 (95 5C) ends the cut: its trail byte is a backslash, and the lead byte goes too.
        {"ABC表", 5, "ABC", {ChangeKind::Cut}},
        {"ソソソ", 6, "ソソ", {ChangeKind::Cut}},
        {"〜🍣〜〜〜〜〜〜〜〜〜〜〜〜〜〜〜〜",
         33,
         "～～～～～～～～～～～～～～～～",
         {ChangeKind::Folded, ChangeKind::Dropped, ChangeKind::Cut}},
    };
    for (const auto& c : cases) {
        char field[101];
        EntryReport report;
        fitText(u(c.text), field, c.fieldSize, u("名前"), report);
        EXPECT_EQ(fromCp932(field), u(c.stored)) << c.text;
        std::vector<ChangeKind> kinds;
        for (const FieldChange& change : report.changes)
            kinds.push_back(change.kind);
        EXPECT_EQ(kinds, c.changes) << c.text;
    }
}

TEST(JoinNameParts, NoBlankBetweenJapaneseNamesOneBetweenLatin)
{
    EXPECT_EQ(joinNameParts({u("山田"), u("太郎")}), u("山田太郎"));
    EXPECT_EQ(joinNameParts({u("John"), u(" "), u("Smith")}), u("John Smith"));
    EXPECT_EQ(joinNameParts({u("ｽｽﾞｷ"), u("ｲﾁﾛｳ")}), u("ｽｽﾞｷｲﾁﾛｳ"));
    EXPECT_EQ(joinNameParts({u(""), u("Cher")}), u("Cher"));
}

TEST(SmartphoneVCard, EscapesAndFoldsAsRfc2426Asks)
{
    EXPECT_EQ(escapeVCardText(u("a,b;c\\d\r\ne\nf")), u("a\\,b\\;c\\\\d\\ne\\nf"));
    const QByteArray line = QString(u("NOTE:") + QString(40, QChar(u'あ'))).toUtf8();
    const QByteArray folded = foldVCardLine(line);
    const QList<QByteArray> physical = folded.split('\n');
    for (const QByteArray& part : physical)
        EXPECT_LE(part.size(), 76) << part.toStdString(); // 75 octets and the CR
    // Joined again (CR LF and the blank removed) the line is whole, each character intact.
    QByteArray joined = folded;
    joined.replace("\r\n ", "");
    EXPECT_EQ(joined, line + "\r\n");
    EXPECT_TRUE(isValidUtf8(physical[0]));
}

} // namespace
