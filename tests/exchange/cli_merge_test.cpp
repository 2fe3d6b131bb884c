// vemblor-cli merge: contact files taken into a book without replacing it.

#include "tests/exchange/cli_run.h"
#include "tests/exchange/contact_files.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

namespace {

using CliMerge = CliTest;

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QByteArray card(const char* name, const char* reading, const char* tel, const char* note = "")
{
    QByteArray text = "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:" + QByteArray(name) +
                      "\r\nN:" + QByteArray(name) +
                      ";;;;\r\nX-PHONETIC-LAST-NAME:" + QByteArray(reading) +
                      "\r\nTEL;TYPE=CELL:" + QByteArray(tel) + "\r\n";
    if (*note)
        text += "NOTE:" + QByteArray(note) + "\r\n";
    return text + "END:VCARD\r\n";
}

// The file without its revision lines, which carry the time it was written.
QByteArray withoutRevision(const QByteArray& vcard)
{
    QByteArray kept;
    for (const QByteArray& line : vcard.split('\n'))
        if (!line.startsWith("REV:"))
            kept += line + '\n';
    return kept;
}

QJsonObject firstInput(const QString& reportPath)
{
    const QJsonObject report = QJsonDocument::fromJson(readAll(reportPath)).object();
    return report.value(QStringLiteral("inputs")).toArray().at(0).toObject();
}

int classCount(const QJsonObject& input, const char* matchClass)
{
    return input.value(QStringLiteral("classes"))
        .toObject()
        .value(QString::fromUtf8(matchClass))
        .toInt(-1);
}

class CliMergeBook : public CliMerge {
protected:
    void SetUp() override
    {
        CliMerge::SetUp();
        writeFile(path("people.vcf"),
                  card("佐藤花子", "サトウハナコ", "090-1234-5678") +
                      card("山田太郎", "ヤマダタロウ", "090-1111-2222", "会社") +
                      card("鈴木一郎", "スズキイチロウ", "080-3333-4444"));
        const CliRun run = cli({QStringLiteral("import"), path("people.vcf"), path("book.vcf")});
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    }
};

TEST_F(CliMergeBook, MergingTheBookWithItselfOrItsExportChangesNothing)
{
    const QByteArray book = readAll(path("book.vcf"));
    ASSERT_EQ(cli({QStringLiteral("export"), path("book.vcf"), path("phone.vcf")}).exitCode, 0);
    for (const char* incoming : {"book.vcf", "phone.vcf"}) {
        const CliRun run = cli({QStringLiteral("merge"), path("book.vcf"), path(incoming),
                                path("out.vcf"), QStringLiteral("--report"), path("r.json")});
        ASSERT_EQ(run.exitCode, 0) << incoming << run.err.toStdString();
        const QJsonObject input = firstInput(path("r.json"));
        EXPECT_EQ(input.value(QStringLiteral("added")).toInt(-1), 0) << incoming;
        EXPECT_EQ(input.value(QStringLiteral("updated")).toInt(-1), 0) << incoming;
        EXPECT_EQ(classCount(input, "同じ"), 3) << incoming;
        EXPECT_EQ(withoutRevision(readAll(path("out.vcf"))), withoutRevision(book)) << incoming;
    }
    EXPECT_EQ(readAll(path("book.vcf")), book);
}

TEST_F(CliMergeBook, ModesTakeWhatTheySayAndListTheRest)
{
    writeFile(path("phone.vcf"),
              card("佐藤花子", "さとうはなこ", "+81 90 1234 5678", "大学の友人") + // 更新
                  card("山田太郎", "ﾔﾏﾀﾞﾀﾛｳ", "09011112222", "趣味の会") +         // 確認
                  card("鈴木一郎", "スズキイチロウ", "070-9999-0000") + // 同じ人かも
                  card("田中次郎", "タナカジロウ", "080-5555-6666"));   // 新規
    struct ModeCase {
        const char* mode;
        int count;
        int added;
        int updated;
        int notes;
    };
    const ModeCase cases[] = {
        {"safe", 4, 1, 1, 2},
        {"add-only", 4, 1, 0, 3},
        {"replace", 4, 4, 0, 3},
    };
    for (const ModeCase& c : cases) {
        const CliRun run =
            cli({QStringLiteral("merge"), path("book.vcf"), path("phone.vcf"), path("out.json"),
                 QStringLiteral("--mode"), QString::fromLatin1(c.mode), QStringLiteral("--report"),
                 path("r.json")});
        ASSERT_EQ(run.exitCode, 0) << c.mode << run.err.toStdString();
        const QJsonObject book = QJsonDocument::fromJson(readAll(path("out.json"))).object();
        EXPECT_EQ(book.value(QStringLiteral("count")).toInt(), c.count) << c.mode;
        const QJsonObject input = firstInput(path("r.json"));
        EXPECT_EQ(classCount(input, "更新"), 1) << c.mode;
        EXPECT_EQ(classCount(input, "確認"), 1) << c.mode;
        EXPECT_EQ(classCount(input, "同じ人かも"), 1) << c.mode;
        EXPECT_EQ(classCount(input, "新規"), 1) << c.mode;
        EXPECT_EQ(input.value(QStringLiteral("added")).toInt(), c.added) << c.mode;
        EXPECT_EQ(input.value(QStringLiteral("updated")).toInt(), c.updated) << c.mode;
        EXPECT_EQ(input.value(QStringLiteral("notes")).toArray().size(), c.notes) << c.mode;
    }
}

TEST_F(CliMergeBook, AnUnreadableIncomingFileWritesNothing)
{
    writeFile(path("out.vcf"), "old output\r\n");
    writeFile(path("phone.vcf"), card("田中次郎", "タナカジロウ", "080-5555-6666"));
    const QByteArray book = readAll(path("book.vcf"));
    for (const char* bad : {"missing.vcf", "../"}) {
        const CliRun run =
            cli({QStringLiteral("merge"), path("book.vcf"), path("phone.vcf"), path(bad),
                 path("out.vcf"), QStringLiteral("--report"), path("r.json")});
        EXPECT_EQ(run.exitCode, 1) << bad;
        EXPECT_FALSE(run.err.isEmpty()) << bad;
        EXPECT_EQ(readAll(path("out.vcf")), QByteArray("old output\r\n")) << bad;
        EXPECT_FALSE(QFile::exists(path("r.json"))) << bad;
        EXPECT_EQ(readAll(path("book.vcf")), book) << bad;
    }
}

TEST_F(CliMergeBook, AResultOverTheLimitIsRefused)
{
    QByteArray many;
    for (int i = 0; i < 998; ++i)
        many += card(QStringLiteral("人%1").arg(i).toUtf8().constData(), "ヒト",
                     QStringLiteral("090%1").arg(10000000 + i).toUtf8().constData());
    writeFile(path("many.vcf"), many);
    const CliRun run =
        cli({QStringLiteral("merge"), path("book.vcf"), path("many.vcf"), path("out.vcf")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("まとめると1001件になり、1000件を超えます")))
        << run.err.toStdString();
    EXPECT_FALSE(QFile::exists(path("out.vcf")));
}

TEST_F(CliMergeBook, AReportNamedAsTheOutputIsRefused)
{
    writeFile(path("in.vcf"), card("田中一郎", "タナカイチロウ", "090-5555-6666"));
    const CliRun run = cli({QStringLiteral("merge"), path("book.vcf"), path("in.vcf"),
                            path("out.json"), QStringLiteral("--report"), path("out.json")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("the report would be written over OUT")))
        << run.err.toStdString();
    EXPECT_FALSE(QFile::exists(path("out.json")));
}

TEST_F(CliMergeBook, WhenTheReportOrOutCannotBeWrittenNeitherIsLeftChanged)
{
    writeFile(path("in.vcf"), card("田中一郎", "タナカイチロウ", "090-5555-6666"));
    struct Case {
        const char* what;
        QString out;
        QString report;
        const char* earlierOut;    // nullptr: no file there before
        const char* earlierReport; // nullptr: no file there before
    } const cases[] = {
        {"an unwritable report, no OUT yet", path("out.vcf"), path("missing/r.json"), nullptr,
         nullptr},
        {"an unwritable report, OUT there", path("out.vcf"), path("missing/r.json"),
         "old output\r\n", nullptr},
        {"an unwritable OUT, no report yet", path("missing/out.vcf"), path("r.json"), nullptr,
         nullptr},
        {"an unwritable OUT, a report there", path("missing/out.vcf"), path("r.json"), nullptr,
         "old report\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(path("out.vcf"));
        QFile::remove(path("r.json"));
        if (c.earlierOut)
            writeFile(c.out, c.earlierOut);
        if (c.earlierReport)
            writeFile(c.report, c.earlierReport);
        const CliRun run = cli({QStringLiteral("merge"), path("book.vcf"), path("in.vcf"), c.out,
                                QStringLiteral("--report"), c.report});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_FALSE(run.err.isEmpty());
        for (const auto& [file, earlier] :
             {std::pair{c.out, c.earlierOut}, std::pair{c.report, c.earlierReport}}) {
            if (earlier)
                EXPECT_EQ(readAll(file), QByteArray(earlier)) << file.toStdString();
            else
                EXPECT_FALSE(QFile::exists(file)) << file.toStdString();
        }
    }
}

TEST_F(CliMergeBook, TheSummaryKeepsAFileNameWithPercentSigns)
{
    writeFile(path("in%3%1.vcf"), card("田中一郎", "タナカイチロウ", "090-5555-6666"));
    const CliRun run =
        cli({QStringLiteral("merge"), path("book.vcf"), path("in%3%1.vcf"), path("out.vcf")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("in%3%1.vcf: "))) << run.out.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("追加 1件、更新 0件、合計 4件")))
        << run.out.toStdString();
}

TEST_F(CliMergeBook, TheReportShowsANumberInFullWidthDigitsAsWritten)
{
    // A book file keeps a number as it was written: here full-width digits, in code page 932.
    QByteArray fullWidth;
    for (const char digit : QByteArray("09012345678"))
        fullWidth += QByteArray("\x82") + static_cast<char>(0x4F + (digit - '0'));
    QByteArray book = readAll(path("book.vcf"));
    ASSERT_TRUE(book.contains(":09012345678\r\n"));
    book.replace(":09012345678\r\n", ":" + fullWidth + "\r\n");
    writeFile(path("book.vcf"), book);
    writeFile(path("in.vcf"), card("田中一郎", "タナカイチロウ", "090-5555-6666"));
    const CliRun run = cli({QStringLiteral("merge"), path("book.vcf"), path("in.vcf"),
                            path("out.vcf"), QStringLiteral("--mode"), QStringLiteral("replace"),
                            QStringLiteral("--report"), path("r.json")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    QJsonArray hanakoNumbers;
    for (const QJsonValue note :
         firstInput(path("r.json")).value(QStringLiteral("notes")).toArray()) {
        const QJsonObject entry = note.toObject().value(QStringLiteral("entry")).toObject();
        if (entry.value(QStringLiteral("name")).toString() == QStringLiteral("佐藤花子"))
            hanakoNumbers = entry.value(QStringLiteral("numbers")).toArray();
    }
    EXPECT_EQ(hanakoNumbers, QJsonArray{QStringLiteral("０９０１２３４５６７８")})
        << QJsonDocument(hanakoNumbers).toJson().toStdString();
}

TEST_F(CliMerge, BadUsageIsRefused)
{
    EXPECT_EQ(cli({QStringLiteral("merge"), path("book.vcf"), path("out.vcf")}).exitCode, 2);
    EXPECT_EQ(cli({QStringLiteral("merge"), path("book.vcf"), path("in.vcf"), path("out.vcf"),
                   QStringLiteral("--mode"), QStringLiteral("all")})
                  .exitCode,
              2);
}

TEST_F(CliMerge, DuplicatesListsTheGroupsOfABookAsTextAndJson)
{
    writeFile(path("people.vcf"),
              card("佐藤花子", "サトウハナコ", "090-1234-5678") +
                  card("鈴木一郎", "スズキイチロウ", "080-3333-4444") +
                  card("佐藤花子", "さとうはなこ", "+81 90 1234 5678", "大学") + // 更新
                  card("佐藤花子", "サトウハナコ", "070-9999-0000"));            // 同じ人かも
    ASSERT_EQ(cli({QStringLiteral("import"), path("people.vcf"), path("book.vcf")}).exitCode, 0);
    const QByteArray book = readAll(path("book.vcf"));

    const CliRun text = cli({QStringLiteral("duplicates"), path("book.vcf")});
    ASSERT_EQ(text.exitCode, 0) << text.err.toStdString();
    EXPECT_EQ(text.out.trimmed(),
              QStringLiteral("1 佐藤花子 | 3 佐藤花子 (更新) | 4 佐藤花子 (同じ人かも)"));

    const CliRun json =
        cli({QStringLiteral("duplicates"), path("book.vcf"), QStringLiteral("--json")});
    ASSERT_EQ(json.exitCode, 0) << json.err.toStdString();
    const QJsonArray groups = QJsonDocument::fromJson(json.out.toUtf8())
                                  .object()
                                  .value(QStringLiteral("groups"))
                                  .toArray();
    ASSERT_EQ(groups.size(), 1);
    const QJsonArray others = groups[0].toObject().value(QStringLiteral("others")).toArray();
    ASSERT_EQ(others.size(), 2);
    EXPECT_EQ(others[0].toObject().value(QStringLiteral("entry")).toInt(), 3);
    EXPECT_TRUE(others[0].toObject().value(QStringLiteral("preselected")).toBool());
    EXPECT_FALSE(others[1].toObject().value(QStringLiteral("preselected")).toBool());
    EXPECT_EQ(readAll(path("book.vcf")), book); // only read

    struct BadCase {
        QStringList arguments;
        int exitCode;
    } const bad[] = {
        {{QStringLiteral("duplicates")}, 2},
        {{QStringLiteral("duplicates"), path("people.csv")}, 2},
        {{QStringLiteral("duplicates"), path("book.vcf"), QStringLiteral("--bogus")}, 2},
        {{QStringLiteral("duplicates"), path("missing.vcf")}, 1},
    };
    for (const BadCase& c : bad) {
        const CliRun run = cli(c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.arguments.join(u' ').toStdString();
        EXPECT_FALSE(run.err.isEmpty());
        EXPECT_TRUE(run.out.isEmpty());
    }
}

} // namespace
