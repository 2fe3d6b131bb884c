#include "app/cli/sync_command.h"

#include "app/cli/book_file.h"
#include "app/cli/cli_arguments.h"
#include "app/cli/cli_commands.h"
#include "app/cli/handset_transfer.h"
#include "app/cli/stop_signals.h"
#include "device/core/handset_sync.h"
#include "exchange/core/whole_file.h"
#include "phonebook/core/cp932_text.h"
#include "phonebook/core/sync_fields.h"
#include "phonebook/core/sync_summary.h"
#include "phonebook/core/tel_book.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>
#include <memory>

namespace {

constexpr const char* SYNC_USAGE =
    "Usage: vemblor-cli sync --port PORT BOOK.vcf [--dry-run] [--report R.json]\n"
    "       [--conflicts ask|pc|handset|keep-both] [--yes] [--fast]";

struct ConflictPolicy {
    bool known = true;
    bool ask = false; // the conflicts are listed and nothing is written
    ConflictChoice choice = ConflictChoice::Pc;
};

ConflictPolicy policyNamed(const QString& name)
{
    if (name.isEmpty() || name == QLatin1String("ask"))
        return {true, true, ConflictChoice::Pc};
    if (name == QLatin1String("pc"))
        return {true, false, ConflictChoice::Pc};
    if (name == QLatin1String("handset"))
        return {true, false, ConflictChoice::Handset};
    if (name == QLatin1String("keep-both"))
        return {true, false, ConflictChoice::Both};
    return {false, false, ConflictChoice::Pc};
}

QJsonArray changesJson(const std::vector<SyncChange>& changes)
{
    QJsonArray array;
    for (const SyncChange& change : changes) {
        static const char* const KINDS[] = {"added", "changed", "deleted"};
        QJsonArray fields;
        for (const SyncField field : change.fields)
            fields.append(QString::fromUtf8(syncFieldText(field)));
        array.append(QJsonObject{
            {QStringLiteral("kind"), QString::fromLatin1(KINDS[static_cast<int>(change.kind)])},
            {QStringLiteral("name"), fromCp932(change.entry.name)},
            {QStringLiteral("fields"), fields}});
    }
    return array;
}

// What the sync found and did, for --report.
struct SyncReport {
    QString model;
    const SyncPlan* plan = nullptr;
    const SyncResult* result = nullptr;
    QString outcome; // "unchanged", "synced", "dry-run", "stopped", "conflicts", "failed"

    QByteArray json() const
    {
        QJsonObject root{{QStringLiteral("model"), model}, {QStringLiteral("outcome"), outcome}};
        if (plan) {
            root.insert(QStringLiteral("slowSync"), plan->slowSync);
            QJsonArray conflicts;
            for (const SyncConflict& conflict : plan->conflicts) {
                const SyncPerson& person = plan->people[conflict.person];
                conflicts.append(QJsonObject{
                    {QStringLiteral("name"), fromCp932(person.merged.name)},
                    {QStringLiteral("field"), QString::fromUtf8(syncFieldText(conflict.field))},
                    {QStringLiteral("handset"), fieldValueText(person.handsetSide, conflict.field)},
                    {QStringLiteral("pc"), fieldValueText(person.merged, conflict.field)}});
            }
            root.insert(QStringLiteral("conflicts"), conflicts);
        }
        if (result) {
            root.insert(QStringLiteral("toHandset"), changesJson(result->toHandset));
            root.insert(QStringLiteral("toPc"), changesJson(result->toPc));
        }
        return QJsonDocument(root).toJson();
    }
};

bool writeReport(const QString& path, const SyncReport& report)
{
    if (path.isEmpty())
        return true;
    if (writeWholeFile(path, report.json()))
        return true;
    printError(QStringLiteral("vemblor-cli: ファイル %1 に書き込めません。")
                   .arg(QDir::toNativeSeparators(path)));
    return false;
}

// The newest backup of the folder, for the message of a sync that stopped.
QString newestBackupHint(const QString& folder)
{
    const QFileInfoList backups =
        QDir(folder).entryInfoList({QStringLiteral("handset-*.vcf")}, QDir::Files, QDir::Time);
    if (backups.isEmpty())
        return {};
    return QStringLiteral("最新のバックアップ: %1 （vemblor-cli restore で書き戻せます）")
        .arg(QDir::toNativeSeparators(backups.first().filePath()));
}

void printSection(const QString& title, const std::vector<SyncChange>& changes)
{
    printOut(title + QStringLiteral(": ") + changeCountsText(changes));
    for (const QString& line : changeLines(changes))
        printOut(QStringLiteral("  ") + line);
}

} // namespace

int runSync(const QStringList& arguments)
{
    const QString port = QStringLiteral("--port");
    const QString reportOption = QStringLiteral("--report");
    const QString conflictsOption = QStringLiteral("--conflicts");
    const QString dryRun = QStringLiteral("--dry-run");
    const QString yes = QStringLiteral("--yes");
    const QString fast = QStringLiteral("--fast");
    const auto parsed =
        parseCliArguments(arguments, {port, reportOption, conflictsOption}, {dryRun, yes, fast});
    const ConflictPolicy policy =
        parsed ? policyNamed(parsed->values.value(conflictsOption)) : ConflictPolicy{false};
    if (!parsed || parsed->files.size() != 1 || !parsed->values.contains(port) || !policy.known) {
        std::fprintf(stderr, "%s\n", SYNC_USAGE);
        return CLI_USAGE;
    }
    const QString bookPath = parsed->files.first();
    const QString reportPath = parsed->values.value(reportOption);

    // A PC book that does not exist yet is an empty one: the first sync fills it.
    auto pcBook = std::make_unique<TelBook>();
    clearBook(*pcBook);
    if (QFileInfo::exists(bookPath) && !loadBookFile(bookPath, *pcBook))
        return CLI_FAILED;
    const std::span<const TelEntry> pc(pcBook->entries, pcBook->count);

    TransferOptions options;
    options.backupDir = QDir::current().filePath(QStringLiteral("backup"));
    options.fast = parsed->has(fast);
    PrintedTransfer view(parsed->has(yes));
    HandsetSync sync(portDevice(parsed->values[port]),
                     QDir::current().filePath(QStringLiteral("sync")), options, view);
    const StopSignals stopSignals([&sync] {
        if (!sync.transferRunning())
            return;
        sync.stop();
        printOut(QStringLiteral("中断しました。"));
    });
    SyncReport report;
    // Ends the command with outcome in the report; a report that cannot be written fails it.
    const auto finish = [&report, &reportPath](const char* outcome, int status) {
        report.outcome = QString::fromLatin1(outcome);
        return writeReport(reportPath, report) || status != CLI_OK ? status : CLI_FAILED;
    };
    if (!sync.read())
        return finish("failed", CLI_FAILED);
    report.model = sync.model();
    printOut(QStringLiteral("携帯電話の電話帳: %1件（機種 %2）")
                 .arg(sync.handsetBook().size())
                 .arg(sync.model()));
    if (!sync.state().problem.isEmpty())
        printOut(sync.state().problem);
    if (!sync.writable())
        printOut(QString::fromUtf8(READ_ONLY_SYNC_NOTE));

    const SyncPlan plan = sync.plan(pc);
    report.plan = &plan;
    if (plan.stop != SyncStop::None) {
        printError(QStringLiteral("vemblor-cli: ") +
                   syncStopMessage(plan, newestBackupHint(options.backupDir)));
        return finish("stopped", CLI_FAILED);
    }
    if (const QString note = slowSyncNote(plan); !note.isEmpty())
        printOut(note);
    if (!plan.conflicts.empty()) {
        printOut(QStringLiteral("競合: %1か所").arg(plan.conflicts.size()));
        for (const SyncConflict& conflict : plan.conflicts)
            printOut(QStringLiteral("  ") + conflictText(plan, conflict));
    }
    // Without a choice the preview shows the PC's values; nothing is written.
    const SyncResult result = sync.resolve(plan, pc, sameChoiceForAll(plan, policy.choice));
    report.result = &result;
    if (result.tooMany) {
        printError(QStringLiteral("vemblor-cli: ") + tooManyMessage(result));
        return finish("stopped", CLI_FAILED);
    }
    if (sync.nothingToDo(plan, result)) {
        printOut(QStringLiteral("変更なし"));
        QString error;
        if (!parsed->has(dryRun) && sync.writeHandset(result).succeeded() && !sync.saveState(error))
            printError(QStringLiteral("vemblor-cli: ") + error);
        return finish("unchanged", CLI_OK);
    }
    printSection(QStringLiteral("携帯電話の変更 → パソコン"), result.toPc);
    if (sync.writable())
        printSection(QStringLiteral("パソコンの変更 → 携帯電話"), result.toHandset);
    if (parsed->has(dryRun)) {
        printOut(QStringLiteral("--dry-run のため、何も書き込みませんでした。"));
        return finish("dry-run", CLI_OK);
    }
    if (policy.ask && !plan.conflicts.empty()) {
        printError(QStringLiteral("vemblor-cli: 競合があるため同期しませんでした。"
                                  "--conflicts pc|handset|keep-both で選んでください。"));
        return finish("conflicts", CLI_FAILED);
    }

    const SyncCommit commit = sync.writeHandset(result);
    if (!commit.succeeded()) {
        printError(QStringLiteral("vemblor-cli: ") + QString::fromUtf8(SYNC_STOPPED_MESSAGE));
        const int status = exitStatus(commit.outcome);
        return finish("failed", status == CLI_OK ? CLI_FAILED : status);
    }
    if (!result.toPc.empty()) {
        // The state stays as it was: the next sync carries the handset's changes again.
        if (!saveBookFile(bookPath, *bookOf(result.pcBook)))
            return finish("failed", CLI_FAILED);
    }
    QString error;
    if (!sync.saveState(error)) {
        printError(QStringLiteral("vemblor-cli: ") + error);
        return finish("failed", CLI_FAILED);
    }
    printOut(QStringLiteral("同期しました。"));
    return finish("synced", CLI_OK);
}
