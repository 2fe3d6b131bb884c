// vemblor-cli convert with a CSV input: every real-world CSV file of the corpus with a column
// mapping that suits its layout, and the message its data calls for.

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString FURIGANA_BAD =
    QStringLiteral("フリガナに不正な文字があるためインポートを中止しました");
const QString TEL1_BAD = QStringLiteral("電話番号１に不正な文字があるためインポートを中止しました");
const QString BROKEN = QStringLiteral("CSVファイルに異常がある為、インポート処理を終了します。");
const QString MISSING = QStringLiteral("電話番号１またはメールアドレス１が設定されていません");

struct CorpusCase {
    const char* file;
    const char* map;
    const char* deleteRows; // nullptr: no option
    int exitCode;
    QString message;        // the one line printed; empty for none
    int count;              // entries written; -1 when nothing may be written (a failed
                            // record check never writes)
    QString firstName = {}; // checked when not empty
};

void PrintTo(const CorpusCase& c, std::ostream* out)
{
    *out << c.file;
}

class CsvCorpus : public testing::TestWithParam<CorpusCase> {};

TEST_P(CsvCorpus, ConvertsWithTheMessageItsDataCallsFor)
{
    const CorpusCase& c = GetParam();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString out = dir.filePath(QStringLiteral("out.json"));
    QStringList arguments = {QStringLiteral("convert"),
                             QStringLiteral(VEMBLOR_CORPUS "/csv/") + QString::fromUtf8(c.file),
                             out, QStringLiteral("--map"), QString::fromUtf8(c.map)};
    if (c.deleteRows)
        arguments << QStringLiteral("--delete-rows") << QString::fromUtf8(c.deleteRows);

    QProcess process;
    process.start(QStringLiteral(VEMBLOR_CLI), arguments);
    ASSERT_TRUE(process.waitForFinished(30000));
    ASSERT_EQ(process.exitStatus(), QProcess::NormalExit); // no crash
    const QString err = QString::fromUtf8(process.readAllStandardError()).trimmed();
    EXPECT_EQ(process.exitCode(), c.exitCode) << err.toStdString();
    QFile written(out);
    if (c.message == FURIGANA_BAD || c.message == TEL1_BAD) {
        // The record check failed: it names the entry, and nothing is written.
        EXPECT_TRUE(err.contains(QStringLiteral("件目 ")) && err.contains(c.message))
            << err.toStdString();
        EXPECT_FALSE(written.exists());
        return;
    }
    EXPECT_EQ(err, c.message);

    if (c.count < 0) {
        EXPECT_FALSE(written.exists());
        return;
    }
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QJsonObject root = QJsonDocument::fromJson(written.readAll()).object();
    EXPECT_EQ(root.value(QStringLiteral("count")).toInt(), c.count);
    if (!c.firstName.isEmpty()) {
        EXPECT_EQ(root.value(QStringLiteral("entries"))
                      .toArray()
                      .at(0)
                      .toObject()
                      .value(QStringLiteral("name"))
                      .toString(),
                  c.firstName);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, CsvCorpus,
    testing::Values(
        // CR-only line ends: one line, its third field holds the CR.
        CorpusCase{"horde-cr-only-line-endings.csv", "name=0,furigana=1,tel1=2", nullptr, 1,
                   TEL1_BAD, 1, QStringLiteral("one")},
        // The quoted newline cuts the record; the piece after it has no reading.
        CorpusCase{"horde-outlook-embedded-quotes-newline.csv",
                   "name=3,furigana=1,tel1=31,mail1=57", "0", 1, FURIGANA_BAD, 2},
        // Quotes stay in the cells, so the quoted number breaks the number rule.
        CorpusCase{"horde-outlook-full-header-multiline-notes.csv",
                   "name=3,furigana=1,tel1=31,mail1=57", "0", 1, TEL1_BAD, 4,
                   QStringLiteral("\"Smith\"")},
        CorpusCase{"roundcube-google-gmail-export-yomi.csv", "name=0,furigana=5,mail1=28", "0", 1,
                   FURIGANA_BAD, 6},
        CorpusCase{"roundcube-thunderbird-all-fields.csv", "name=2,furigana=3,tel1=7,mail1=4", "0",
                   1, TEL1_BAD, 1, QStringLiteral("Displayname")},
        CorpusCase{"thunderbird-basic-addressbook-header.csv", "name=2,furigana=0,tel1=6,mail1=4",
                   "0", 0, QString(), 1, QStringLiteral("John Doe")},
        // The third record's reading holds UTF-8 bytes (an ellipsis).
        CorpusCase{"thunderbird-export-quoted-comma-newline.csv",
                   "name=2,furigana=1,tel1=7,mail1=4", "0", 1, FURIGANA_BAD, 3,
                   QStringLiteral("contact number one")},
        CorpusCase{"thunderbird-no-header.csv", "name=0,furigana=1,mail1=3", nullptr, 0, QString(),
                   2, QStringLiteral("John Doe")},
        CorpusCase{"thunderbird-quoted-fields-crlf.csv", "name=2,furigana=26,tel1=7", "0", 1,
                   TEL1_BAD, 1, QStringLiteral("\"Acer America\"")},
        // Semicolons do not separate: the reading column stays empty.
        CorpusCase{"thunderbird-semicolon-separated.csv", "name=0,furigana=1,mail1=2", "0", 1,
                   FURIGANA_BAD, 2},
        // A kanji reading; the Shift-JIS name comes through unchanged.
        CorpusCase{"thunderbird-shiftjis-addressbook.csv", "name=2,furigana=1,mail1=4", "0", 1,
                   FURIGANA_BAD, 1, QStringLiteral("名無しの権兵衛")},
        // Tab-separated lines are single cells, so their reading is empty.
        CorpusCase{"thunderbird-tab-comma-mixed.csv", "name=0,furigana=1,mail1=4", nullptr, 1,
                   FURIGANA_BAD, 4, QStringLiteral("1")},
        CorpusCase{"thunderbird-utf16le-addressbook.csv", "name=0,furigana=1,mail1=4", "0", 1,
                   BROKEN, -1},
        // Without number 1 or address 1 the rows are not taken.
        CorpusCase{"thunderbird-no-header.csv", "name=0,furigana=1,mail2=3", nullptr, 1, MISSING,
                   -1}),
    [](const testing::TestParamInfo<CorpusCase>& info) {
        QString name = QString::fromUtf8(info.param.file).section(QLatin1Char('.'), 0, 0);
        name.remove(QLatin1Char('-'));
        return name.toStdString() + std::to_string(info.index);
    });

TEST(CsvCli, BadOptionsAreUsageErrors)
{
    const QString input = QStringLiteral(VEMBLOR_CORPUS "/csv/thunderbird-no-header.csv");
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("out.json"));
    const QStringList bad[] = {
        {QStringLiteral("--map"), QStringLiteral("nam=0")},
        {QStringLiteral("--map"), QStringLiteral("name=256")},
        {QStringLiteral("--map"), QStringLiteral("name")},
        {QStringLiteral("--delete-rows"), QStringLiteral("1,x")},
        {QStringLiteral("--delete-rows"), QStringLiteral("1000")},
        {QStringLiteral("--columns"), QStringLiteral("1")},
        {QStringLiteral("--map")},
    };
    for (const QStringList& options : bad) {
        QProcess process;
        process.start(QStringLiteral(VEMBLOR_CLI),
                      QStringList{QStringLiteral("convert"), input, out} + options);
        ASSERT_TRUE(process.waitForFinished(30000));
        EXPECT_EQ(process.exitCode(), 2) << options.join(QLatin1Char(' ')).toStdString();
        EXPECT_FALSE(QFile::exists(out));
    }
}

TEST(CsvCli, LaterMapEntriesMoveACategoryAndDeletedRowsGo)
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("out.json"));
    QProcess process;
    // furigana first on column 0, then moved to column 1 as a second header click would.
    process.start(QStringLiteral(VEMBLOR_CLI),
                  {QStringLiteral("convert"),
                   QStringLiteral(VEMBLOR_CORPUS "/csv/thunderbird-no-header.csv"), out,
                   QStringLiteral("--map"), QStringLiteral("furigana=0,name=2,furigana=1,mail1=3"),
                   QStringLiteral("--delete-rows"), QStringLiteral("0,7")});
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    QFile file(out);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QJsonObject root = QJsonDocument::fromJson(file.readAll()).object();
    ASSERT_EQ(root.value(QStringLiteral("count")).toInt(), 1);
    const QJsonObject entry = root.value(QStringLiteral("entries")).toArray().at(0).toObject();
    EXPECT_EQ(entry.value(QStringLiteral("name")).toString(), QStringLiteral("Doe"));
    EXPECT_EQ(entry.value(QStringLiteral("furigana")).toString(), QStringLiteral("Jane"));
}

// Without a reading column the readings are proposed from the names, as the dialog does.
TEST(CsvCli, WithoutAReadingColumnTheReadingsComeFromTheNames)
{
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("in.csv"));
    const QString out = dir.filePath(QStringLiteral("out.json"));
    QFile file(in);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("\x8E\x52\x93\x63\x91\xBE\x98\x59,0312345678\r\n"); // 山田太郎
    file.close();
    QProcess process;
    process.start(QStringLiteral(VEMBLOR_CLI),
                  {QStringLiteral("convert"), in, out, QStringLiteral("--map"),
                   QStringLiteral("name=0,tel1=1")});
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    QFile written(out);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QJsonObject entry = QJsonDocument::fromJson(written.readAll())
                                  .object()
                                  .value(QStringLiteral("entries"))
                                  .toArray()
                                  .at(0)
                                  .toObject();
    EXPECT_EQ(entry.value(QStringLiteral("furigana")).toString(), QStringLiteral("ﾔﾏﾀﾞﾀﾛｳ"));
}

} // namespace
