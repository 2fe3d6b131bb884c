// The export for smartphones writes no placeholder of the import's completion as data: no
// "****" number to dial, and no reading that is a time stamp, a number or an address.

#include "exchange/core/smartphone_csv_writer.h"
#include "exchange/core/smartphone_vcard_writer.h"
#include "exchange/core/vcard_reader.h"
#include "phonebook/core/completion_placeholders.h"

#include <QDateTime>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

const QDateTime IMPORT_TIME(QDate(2024, 1, 15), QTime(9, 30));

TelEntry entry(const char* name, const char* number, const char* address)
{
    TelEntry e{};
    std::strcpy(e.name, name);
    std::strcpy(e.tel[0].number, number);
    std::strcpy(e.mail[0].address, address);
    return e;
}

struct PlaceholderCase {
    const char* what;
    TelEntry entry;      // before the completion
    bool readingWritten; // the reading after the completion reaches the export
    const char* telLine; // a TEL line the vCard must hold, or nullptr for none at all
};

TEST(SmartphonePlaceholders, CompletionsFillingsAreLeftOut)
{
    TelEntry reading = entry("Yamada", "0312345678", "");
    std::strcpy(reading.furigana, "\xD4\xCF\xC0\xDE"); // ﾔﾏﾀﾞ
    const std::string longAddress = std::string(40, 'a') + "@example.jp";
    const PlaceholderCase cases[] = {
        {"nothing: time-stamp reading and name, four stars", entry("", "", ""), false, nullptr},
        {"a name alone: four stars", entry("Yamada", "", ""), false, nullptr},
        {"reading copied from the number", entry("Yamada", "0312345678", ""), false,
         "TEL;TYPE=VOICE:0312345678"},
        {"reading copied from the address", entry("Yamada", "", "y@example.jp"), false, nullptr},
        {"reading cut from a long address", entry("Yamada", "", longAddress.c_str()), false,
         nullptr},
        {"a reading of its own", reading, true, "TEL;TYPE=VOICE:0312345678"},
    };
    for (const PlaceholderCase& c : cases) {
        TelEntry completed = c.entry;
        completeImportedEntry(completed, IMPORT_TIME);
        TelBook book{};
        book.entries[0] = completed;
        book.count = 1;

        const QString vcard = QString::fromUtf8(smartphoneVCard(book));
        EXPECT_FALSE(vcard.contains(QStringLiteral("****"))) << c.what;
        EXPECT_EQ(vcard.contains(QStringLiteral("X-PHONETIC-LAST-NAME:")), c.readingWritten)
            << c.what;
        EXPECT_EQ(vcard.contains(QStringLiteral("SORT-STRING:")), c.readingWritten) << c.what;
        if (c.telLine) {
            EXPECT_TRUE(vcard.contains(QString::fromUtf8(c.telLine))) << c.what;
        } else {
            EXPECT_FALSE(vcard.contains(QStringLiteral("\r\nTEL"))) << c.what;
        }
        EXPECT_TRUE(vcard.contains(QStringLiteral("\r\nFN:"))) << c.what; // the name stays

        const QStringList rows =
            QString::fromUtf8(smartphoneCsv(book)).split(QStringLiteral("\r\n"));
        ASSERT_GE(rows.size(), 2) << c.what;
        EXPECT_FALSE(rows[1].contains(QStringLiteral("****"))) << c.what;
        const QStringList fields = rows[1].split(QLatin1Char(','));
        EXPECT_EQ(fields.value(3).isEmpty(), !c.readingWritten) << c.what;     // Phonetic Last Name
        EXPECT_EQ(fields.value(14).isEmpty(), c.telLine == nullptr) << c.what; // Phone 1 - Value
    }
}

TEST(SmartphonePlaceholders, ReadingsThatOnlyAPlaceholderHolds)
{
    const struct {
        const char* reading;
        bool placeholder;
    } cases[] = {
        {"2024/01/15/ 09:30", true},
        {"0312345678", true},
        {"*#110", true},
        {"a@example.jp", true},
        {"\xD4\xCF\xC0\xDE", false},
        {"SMITH JOHN", false},
        {"7\xB2\xDA\xCC\xDE\xDD", false}, // 7ｲﾚﾌﾞﾝ
        {"2024/01/15", false},
    };
    for (const auto& c : cases) {
        TelEntry e = entry("x", "0900000000", "");
        std::strcpy(e.furigana, c.reading);
        EXPECT_EQ(isCompletionReading(e), c.placeholder) << c.reading;
    }
}

} // namespace
