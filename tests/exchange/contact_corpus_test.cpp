// Every real export of tests/data/exports imports as expected.json says, and the CSV files of
// the vCard/CSV corpus that have a header row import too (those without one are refused with
// the message that points to CSV インポート).

#include "exchange/core/contact_import.h"
#include "phonebook/core/cp932_text.h"
#include "phonebook/core/record_check.h"
#include "tests/exchange/entry_slot_texts.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <memory>
#include <set>

namespace {

const QDateTime IMPORT_TIME(QDate(2024, 1, 15), QTime(9, 30));
const QString EXPORTS = QStringLiteral(VEMBLOR_TEST_DATA "/exports/");

QByteArray readFile(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

QJsonArray expectedFiles()
{
    return QJsonDocument::fromJson(readFile(EXPORTS + QStringLiteral("expected.json")))
        .object()
        .value(QStringLiteral("files"))
        .toArray();
}

QString collapsed(const QString& text)
{
    return text.simplified();
}

// A number item of expected.json ({"number", "kind": [...]}) or an address (a string).
bool matches(const SlotText& slot, const QJsonValue& item)
{
    if (item.isString())
        return slot.text == item.toString().toStdString();
    const QJsonObject object = item.toObject();
    return slot.text == object.value(QStringLiteral("number")).toString().toStdString() &&
           object.value(QStringLiteral("kind")).toArray().contains(slot.kind);
}

bool anyMatches(const std::vector<SlotText>& filled, const QJsonValue& item)
{
    return std::any_of(filled.begin(), filled.end(),
                       [&](const SlotText& slot) { return matches(slot, item); });
}

void checkSlots(const std::vector<SlotText>& filled, const QJsonObject& expected,
                const char* prefix)
{
    const auto key = [prefix](const char* suffix) {
        return QString::fromLatin1(prefix) + QLatin1Char('_') + QString::fromLatin1(suffix);
    };
    if (expected.contains(key("first"))) {
        ASSERT_FALSE(filled.empty()) << prefix;
        EXPECT_TRUE(matches(filled.front(), expected.value(key("first"))))
            << prefix << " first: " << filled.front().text;
    }
    if (expected.contains(key("n"))) {
        EXPECT_EQ(static_cast<int>(filled.size()), expected.value(key("n")).toInt()) << prefix;
    }
    for (const QJsonValue item : expected.value(key("has")).toArray())
        EXPECT_TRUE(anyMatches(filled, item))
            << prefix << " lacks " << QJsonDocument(QJsonArray{item}).toJson().toStdString();
    const QJsonArray from = expected.value(key("from")).toArray();
    if (from.isEmpty())
        return;
    for (const SlotText& slot : filled) {
        EXPECT_TRUE(std::any_of(from.begin(), from.end(),
                                [&](const QJsonValue& item) { return matches(slot, item); }))
            << prefix << " has " << slot.text << " kind " << slot.kind;
    }
}

class RealExports : public testing::TestWithParam<int> {};

TEST_P(RealExports, ImportAsExpected)
{
    const QJsonObject expected = expectedFiles().at(GetParam()).toObject();
    const QString name = expected.value(QStringLiteral("file")).toString();
    SCOPED_TRACE(name.toStdString());
    auto book = std::make_unique<TelBook>();
    const ContactImportResult result = importContacts(readFile(EXPORTS + name), *book, IMPORT_TIME);
    if (!result.ok && expected.value(QStringLiteral("either")).toBool()) {
        EXPECT_EQ(result.message, QString::fromUtf8(CONTACT_HEADER_MESSAGE));
        EXPECT_EQ(book->count, 0u);
        return;
    }
    ASSERT_TRUE(result.ok) << result.message.toStdString();
    ASSERT_EQ(static_cast<int>(book->count), expected.value(QStringLiteral("count")).toInt());
    EXPECT_TRUE(checkBook(*book).ok());

    std::set<int> reported;
    for (const EntryReport& entry : result.report.entries)
        if (!entry.changes.empty())
            reported.insert(entry.index);
    for (const QJsonValue value : expected.value(QStringLiteral("entries")).toArray()) {
        const QJsonObject entryExpected = value.toObject();
        const int index = entryExpected.value(QStringLiteral("index")).toInt();
        SCOPED_TRACE(index);
        const TelEntry& entry = book->entries[index];
        if (entryExpected.contains(QStringLiteral("name"))) {
            QStringList names;
            for (const QJsonValue any : entryExpected.value(QStringLiteral("name"))
                                            .toObject()
                                            .value(QStringLiteral("any"))
                                            .toArray())
                names.append(collapsed(any.toString()));
            EXPECT_TRUE(names.contains(collapsed(fromCp932(entry.name))))
                << fromCp932(entry.name).toStdString();
        }
        checkSlots(filledSlotTexts(entry, SlotList::Tel), entryExpected, "tel");
        checkSlots(filledSlotTexts(entry, SlotList::Mail), entryExpected, "mail");
        if (entryExpected.contains(QStringLiteral("memo"))) {
            EXPECT_EQ(collapsed(fromCp932(entry.memo)),
                      collapsed(entryExpected.value(QStringLiteral("memo")).toString()));
        }
        if (entryExpected.value(QStringLiteral("report")).toBool()) {
            EXPECT_TRUE(reported.contains(index));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Exports, RealExports,
                         testing::Range(0, static_cast<int>(expectedFiles().size())));

TEST(RealExportsFolder, EveryFileIsListedInExpected)
{
    QStringList listed;
    for (const QJsonValue value : expectedFiles())
        listed.append(value.toObject().value(QStringLiteral("file")).toString());
    const QStringList files =
        QDir(EXPORTS).entryList({QStringLiteral("*.vcf"), QStringLiteral("*.csv")}, QDir::Files);
    ASSERT_FALSE(files.isEmpty());
    for (const QString& file : files)
        EXPECT_TRUE(listed.contains(file)) << file.toStdString();
}

// The vCard files of the corpus (handsets, PC programs, libraries; 2.1 and 3.0, Shift-JIS,
// UTF-8 and UTF-16 without a mark) import whole within the field rules.
TEST(VCardCorpus, EveryFileImportsWithinTheFieldRules)
{
    const QDir folder(QStringLiteral(VEMBLOR_CORPUS "/vcard"));
    const QStringList files = folder.entryList({QStringLiteral("*.vcf")}, QDir::Files);
    ASSERT_GE(files.size(), 30);
    for (const QString& file : files) {
        auto book = std::make_unique<TelBook>();
        const ContactImportResult result =
            importContacts(readFile(folder.filePath(file)), *book, IMPORT_TIME);
        EXPECT_TRUE(result.ok) << file.toStdString() << ": " << result.message.toStdString();
        EXPECT_GT(book->count, 0u) << file.toStdString();
        EXPECT_TRUE(checkBook(*book).ok()) << file.toStdString();
    }
}

struct CorpusCsv {
    const char* file;
    int count;        // -1: refused, the header is not recognised
    const char* name; // of the first entry
};

std::ostream& operator<<(std::ostream& out, const CorpusCsv& c)
{
    return out << c.file;
}

class HeaderRowCsv : public testing::TestWithParam<CorpusCsv> {};

TEST_P(HeaderRowCsv, ImportsOrPointsToCsvImport)
{
    const CorpusCsv& c = GetParam();
    auto book = std::make_unique<TelBook>();
    book->count = 1; // a book that a refused file must leave as it was
    std::strcpy(book->entries[0].name, "before");
    const ContactImportResult result =
        importContacts(readFile(QStringLiteral(VEMBLOR_CORPUS "/csv/") + QString::fromUtf8(c.file)),
                       *book, IMPORT_TIME);
    if (c.count < 0) {
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.message, QString::fromUtf8(CONTACT_HEADER_MESSAGE));
        EXPECT_EQ(book->count, 1u);
        EXPECT_STREQ(book->entries[0].name, "before");
        return;
    }
    ASSERT_TRUE(result.ok) << result.message.toStdString();
    EXPECT_EQ(static_cast<int>(book->count), c.count);
    EXPECT_EQ(fromCp932(book->entries[0].name), QString::fromUtf8(c.name));
    EXPECT_TRUE(checkBook(*book).ok());
}

INSTANTIATE_TEST_SUITE_P(
    Corpus, HeaderRowCsv,
    testing::Values(CorpusCsv{"roundcube-google-gmail-export-yomi.csv", 1, "Firstname Lastname"},
                    CorpusCsv{"thunderbird-basic-addressbook-header.csv", 1, "John Doe"},
                    CorpusCsv{"thunderbird-shiftjis-addressbook.csv", 1, "名無し権兵衛"},
                    CorpusCsv{"thunderbird-utf16le-addressbook.csv", 1, "John Doe"},
                    CorpusCsv{"thunderbird-quoted-fields-crlf.csv", 1, "Acer America"},
                    CorpusCsv{"thunderbird-export-quoted-comma-newline.csv", 2, "contact one"},
                    CorpusCsv{"roundcube-thunderbird-all-fields.csv", 1, "Firstname Lastname"},
                    CorpusCsv{"horde-outlook-full-header-multiline-notes.csv", 1, "John Smith"},
                    // No name at all: the completion fills it from the time.
                    CorpusCsv{"horde-outlook-embedded-quotes-newline.csv", 1, "2024/01/15/ 09:30"},
                    CorpusCsv{"thunderbird-no-header.csv", -1, ""},
                    CorpusCsv{"thunderbird-semicolon-separated.csv", -1, ""},
                    CorpusCsv{"thunderbird-tab-comma-mixed.csv", -1, ""},
                    CorpusCsv{"horde-cr-only-line-endings.csv", -1, ""}));

} // namespace
