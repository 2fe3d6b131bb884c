// vemblor-cli sync against vemblor-cli emulate: what it prints, what it writes and when it
// writes nothing.

#include "phonebook/core/cp932_text.h"
#include "tests/device/cli_process.h"
#include "tests/device/qt_printers.h"
#include "tests/support/book_fixtures.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QString utf8(const char* text)
{
    return QString::fromUtf8(text);
}

QByteArray contentOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(CliSync, FirstSyncMergesTheSecondFindsNothingAndADryRunWritesNothing)
{
    QTemporaryDir dir;
    const QString pcPath = dir.filePath(QStringLiteral("book.vcf"));
    const QString handsetPath = dir.filePath(QStringLiteral("handset.vcf"));
    const QString dumpPath = dir.filePath(QStringLiteral("dump.vcf"));
    writeBook(pcPath, *makeBook({{"青木一郎", "ｱｵｷｲﾁﾛｳ", {"09011110001"}},
                                 {"伊藤二郎", "ｲﾄｳｼﾞﾛｳ", {"09011110002"}}}));
    writeBook(handsetPath, *makeBook({{"上野三郎", "ｳｴﾉｻﾌﾞﾛｳ", {"09011110003"}}}));
    const QString state = dir.filePath(QStringLiteral("sync/VN650R.state"));
    {
        Emulator emulator(
            {QStringLiteral("--book"), handsetPath, QStringLiteral("--dump"), dumpPath});
        ASSERT_FALSE(emulator.device.isEmpty());
        const QStringList sync = {QStringLiteral("sync"), QStringLiteral("--port"), emulator.device,
                                  pcPath, QStringLiteral("--fast")};

        const Result first = runCli(sync + QStringList{QStringLiteral("--yes")}, dir.path());
        EXPECT_EQ(first.status, 0) << first.out.toStdString() << first.err.toStdString();
        EXPECT_TRUE(
            first.out.contains(utf8("この機種の同期の記録がないため、両方の電話帳を合わせます。"
                                    "削除はしません。")));
        EXPECT_TRUE(
            first.out.contains(utf8("携帯電話の変更 → パソコン: 追加 1件、変更 0件、削除 0件\n"
                                    "  追加: 上野三郎\n")));
        EXPECT_TRUE(
            first.out.contains(utf8("パソコンの変更 → 携帯電話: 追加 2件、変更 0件、削除 0件\n")));
        EXPECT_TRUE(first.out.endsWith(utf8("同期しました。\n")));
        EXPECT_EQ(readBook(pcPath)->count, 3u);
        const QByteArray stateAfterFirst = contentOf(state);
        EXPECT_FALSE(stateAfterFirst.isEmpty());

        const QString report = dir.filePath(QStringLiteral("r.json"));
        const Result second =
            runCli(sync + QStringList{QStringLiteral("--report"), report}, dir.path());
        EXPECT_EQ(second.status, 0);
        EXPECT_TRUE(second.out.endsWith(utf8("変更なし\n"))) << second.out.toStdString();
        EXPECT_EQ(
            QJsonDocument::fromJson(contentOf(report)).object().value(QStringLiteral("outcome")),
            QStringLiteral("unchanged"));

        // A new entry on the PC: the dry run shows it going to the handset and writes nothing.
        auto grown = readBook(pcPath);
        grown->entries[grown->count++] = makeEntry({"江藤四郎", "ｴﾄｳｼﾛｳ", {"09011110004"}});
        writeBook(pcPath, *grown);
        const QByteArray pcBefore = contentOf(pcPath);
        const Result dry = runCli(
            sync + QStringList{QStringLiteral("--dry-run"), QStringLiteral("--yes")}, dir.path());
        EXPECT_EQ(dry.status, 0);
        EXPECT_TRUE(
            dry.out.contains(utf8("パソコンの変更 → 携帯電話: 追加 1件、変更 0件、削除 0件\n"
                                  "  追加: 江藤四郎\n")))
            << dry.out.toStdString();
        EXPECT_FALSE(dry.out.contains(utf8("全件消去")));
        EXPECT_EQ(contentOf(pcPath), pcBefore);
        EXPECT_EQ(contentOf(state), stateAfterFirst);

        // Without --yes the erase is declined: the state stays as it was.
        const Result declined = runCli(sync, dir.path());
        EXPECT_EQ(declined.status, 1);
        EXPECT_EQ(contentOf(state), stateAfterFirst);
    }
    EXPECT_EQ(readBook(dumpPath)->count, 3u);
}

void syncWithConflict(const QString& model)
{
    QTemporaryDir dir;
    const QString pcPath = dir.filePath(QStringLiteral("book.vcf"));
    const QString handsetPath = dir.filePath(QStringLiteral("handset.vcf"));
    const EntryFields other = {"伊藤二郎", "ｲﾄｳｼﾞﾛｳ", {"09011110002"}};
    writeBook(pcPath, *makeBook({{"青木一郎", "ｱｵｷｲﾁﾛｳ", {"09011110001"}, {}, "前のメモ"}, other}));
    {
        // The first sync, with equal books, makes the state.
        Emulator emulator({QStringLiteral("--book"), pcPath, QStringLiteral("--model"), model});
        const Result first = runCli({QStringLiteral("sync"), QStringLiteral("--port"),
                                     emulator.device, pcPath, QStringLiteral("--fast")},
                                    dir.path());
        ASSERT_EQ(first.status, 0) << first.out.toStdString() << first.err.toStdString();
        EXPECT_TRUE(first.out.endsWith(utf8("変更なし\n")));
    }
    // Since then each side wrote a memo of its own.
    writeBook(handsetPath,
              *makeBook({{"青木一郎", "ｱｵｷｲﾁﾛｳ", {"09011110001"}, {}, "携帯のメモ"}, other}));
    writeBook(pcPath,
              *makeBook({{"青木一郎", "ｱｵｷｲﾁﾛｳ", {"09011110001"}, {}, "パソコンのメモ"}, other}));
    const QByteArray pcBefore = contentOf(pcPath);
    const QByteArray stateBefore =
        contentOf(dir.filePath(QStringLiteral("sync/%1.state").arg(model)));
    Emulator emulator({QStringLiteral("--book"), handsetPath, QStringLiteral("--model"), model});
    const QStringList sync = {QStringLiteral("sync"),   QStringLiteral("--port"),
                              emulator.device,          pcPath,
                              QStringLiteral("--fast"), QStringLiteral("--yes")};

    const Result asked = runCli(sync, dir.path());
    EXPECT_EQ(asked.status, 1);
    EXPECT_TRUE(asked.out.contains(utf8(
        "競合: 1か所\n  青木一郎 のメモ: 携帯電話「携帯のメモ」／パソコン「パソコンのメモ」\n")))
        << asked.out.toStdString();
    EXPECT_FALSE(asked.out.contains(utf8("全件消去")));
    EXPECT_EQ(contentOf(pcPath), pcBefore);
    EXPECT_EQ(contentOf(dir.filePath(QStringLiteral("sync/%1.state").arg(model))), stateBefore);

    const Result chosen = runCli(
        sync + QStringList{QStringLiteral("--conflicts"), QStringLiteral("handset")}, dir.path());
    EXPECT_EQ(chosen.status, 0) << chosen.out.toStdString() << chosen.err.toStdString();
    // The handset keeps its memo: only the PC changes.
    EXPECT_TRUE(chosen.out.contains(utf8("携帯電話の変更 → パソコン: 追加 0件、変更 1件、削除 0件\n"
                                         "  変更: 青木一郎（メモ）\n")));
    // A model that can only be read has no section for the handset.
    EXPECT_EQ(
        chosen.out.contains(utf8("パソコンの変更 → 携帯電話: 追加 0件、変更 0件、削除 0件\n")),
        model == QLatin1String("VN650R"));
    EXPECT_EQ(fromCp932(readBook(pcPath)->entries[0].memo), utf8("携帯のメモ"));
}

TEST(CliSync, ConflictsAreListedAndWrittenOnlyOnceChosen)
{
    // A model that can only be read syncs one way, but its conflicts are chosen all the same.
    for (const char* model : {"VN650R", "VN540R"}) {
        SCOPED_TRACE(model);
        syncWithConflict(QString::fromLatin1(model));
    }
}

TEST(CliSync, BadUsageIsRefused)
{
    QTemporaryDir dir;
    const QString book = dir.filePath(QStringLiteral("b.vcf"));
    for (const QStringList& arguments :
         {QStringList{QStringLiteral("sync"), book},
          QStringList{QStringLiteral("sync"), QStringLiteral("--port"), QStringLiteral("/dev/null"),
                      book, QStringLiteral("--conflicts"), QStringLiteral("mine")}}) {
        const Result result = runCli(arguments, dir.path());
        EXPECT_EQ(result.status, 2) << arguments.join(QLatin1Char(' ')).toStdString();
    }
}

} // namespace
