#include "app/cli/handset_commands.h"
#include "app/cli/handset_transfer.h"

#include "app/cli/book_file.h"
#include "app/cli/cli_arguments.h"
#include "app/cli/cli_commands.h"
#include "app/cli/stop_signals.h"
#include "app/core/settings.h"
#include "device/core/backup_book.h"
#include "device/core/transfer_driver.h"
#include "device/core/transfer_view.h"

#include <QDir>
#include <QRegularExpression>

#include <cstdio>

#ifdef VEMBLOR_SIMULATED_HANDSET
#include "device/emulator/pty_handset.h"

#include <csignal>
#endif

namespace {

int usage(const char* text)
{
    std::fprintf(stderr, "Usage: vemblor-cli %s\n", text);
    return CLI_USAGE;
}

} // namespace

// "COM1" ... "COM50" as the settings file of the working directory maps them; anything else is
// taken as the device itself.
QString portDevice(const QString& port)
{
    static const QRegularExpression comName(QStringLiteral("^COM([1-9]|[1-4][0-9]|50)$"));
    const QRegularExpressionMatch match = comName.match(port);
    if (!match.hasMatch())
        return port;
    const Settings settings(QDir::currentPath());
    if (const QString problem = settings.fileProblem(); !problem.isEmpty())
        printError(QStringLiteral("vemblor-cli: ") + problem);
    return settings.portDevicePath(match.captured(1).toInt() - 1);
}

void PrintedTransfer::showMessage(const QString& text)
{
    printOut(text);
}

bool PrintedTransfer::askYesNo(const QString& text)
{
    printOut(text + (yes_ ? QStringLiteral(" はい") : QStringLiteral(" いいえ")));
    return yes_;
}

void PrintedTransfer::showBackupSaved(const QString& path)
{
    printOut(QStringLiteral("バックアップ: ") + QDir::toNativeSeparators(path));
}

namespace {

// Runs the transfer; a stop signal ends it as the cancel button would.
TransferOutcome runStoppable(TransferDriver& driver, const QString& port)
{
    const StopSignals stopSignals([&driver] {
        if (!driver.isRunning())
            return;
        driver.stop();
        printOut(withStopNote(driver.session(), QStringLiteral("中断しました。")));
    });
    return driver.run(portDevice(port));
}

} // namespace

int exitStatus(TransferOutcome outcome)
{
    switch (outcome) {
    case TransferOutcome::Copied:
    case TransferOutcome::Verified:
        return CLI_OK;
    case TransferOutcome::CopiedLeftInDataMode:
        printError(QStringLiteral(
            "vemblor-cli: 電話帳はコピーできましたが、携帯電話がデータ転送モードの"
            "ままになっている可能性があります。携帯電話の電源を入れ直してください。"));
        return CLI_LEFT_IN_DATA_MODE;
    case TransferOutcome::WrittenNotChecked:
        return CLI_WRITTEN_NOT_CHECKED;
    case TransferOutcome::CheckFoundDifferences:
    case TransferOutcome::Failed:
    case TransferOutcome::Stopped:
        break;
    }
    return CLI_FAILED;
}

int runRead(const QStringList& arguments)
{
    const QString fast = QStringLiteral("--fast");
    const auto parsed = parseCliArguments(arguments, {QStringLiteral("--port")}, {fast});
    if (!parsed || parsed->files.size() != 1 || !parsed->values.contains(QStringLiteral("--port")))
        return usage("read --port PORT OUT.vcf [--fast]");
    TransferOptions options = plainTransfer();
    options.fast = parsed->flags.contains(fast);
    PrintedTransfer view(false);
    TransferDriver driver(OP_DEVICE_READ, options, view);
    const int status = exitStatus(runStoppable(driver, parsed->values[QStringLiteral("--port")]));
    // A complete copy is saved even when only leaving data-transfer mode failed after it.
    const std::unique_ptr<TelBook> book = driver.takeReadBook();
    if (!book)
        return status;
    return saveBookFile(parsed->files.first(), *book) ? status : CLI_FAILED;
}

int runWrite(const QStringList& arguments)
{
    const QString backup = QStringLiteral("--backup");
    const QString noBackup = QStringLiteral("--no-backup");
    const QString verify = QStringLiteral("--verify");
    const QString noVerify = QStringLiteral("--no-verify");
    const QString fast = QStringLiteral("--fast");
    const auto parsed =
        parseCliArguments(arguments, {QStringLiteral("--port"), backup},
                          {QStringLiteral("--yes"), noBackup, verify, noVerify, fast});
    if (!parsed || parsed->files.size() != 1 ||
        !parsed->values.contains(QStringLiteral("--port")) ||
        (parsed->values.contains(backup) && parsed->flags.contains(noBackup)) ||
        (parsed->flags.contains(verify) && parsed->flags.contains(noVerify)))
        return usage("write --port PORT BOOK.vcf [--yes] [--backup FILE | --no-backup] "
                     "[--verify | --no-verify] [--fast]");
    auto book = std::make_unique<TelBook>();
    if (!loadBookFile(parsed->files.first(), *book))
        return CLI_FAILED;
    TransferOptions options;
    options.backup = !parsed->flags.contains(noBackup);
    options.backupDir = QDir::current().filePath(QStringLiteral("backup"));
    options.backupFile = parsed->values.value(backup);
    options.verify = !parsed->flags.contains(noVerify);
    options.fast = parsed->flags.contains(fast);
    options.syncStateDir = QDir::current().filePath(QStringLiteral("sync"));
    PrintedTransfer view(parsed->flags.contains(QStringLiteral("--yes")));
    TransferDriver driver(OP_DEVICE_WRITE, options, view, book.get());
    return exitStatus(runStoppable(driver, parsed->values[QStringLiteral("--port")]));
}

int runRestore(const QStringList& arguments)
{
    const QString fast = QStringLiteral("--fast");
    const auto parsed =
        parseCliArguments(arguments, {QStringLiteral("--port")}, {QStringLiteral("--yes"), fast});
    if (!parsed || parsed->files.size() != 1 || !parsed->values.contains(QStringLiteral("--port")))
        return usage("restore --port PORT BACKUP [--yes] [--fast]");
    // The backup is read whole before the handset is touched: a file that holds no phone book
    // erases nothing.
    auto book = std::make_unique<TelBook>();
    const BackupBook backup = loadBackupBook(parsed->files.first(), *book);
    if (!backup.loaded) {
        printError(QStringLiteral("vemblor-cli: ") + backup.error);
        return CLI_FAILED;
    }
    printOut(QStringLiteral("書き戻す電話帳: %1件（%2）")
                 .arg(book->count)
                 .arg(backup.exactCopy ? QStringLiteral("携帯電話から読んだままの写しから")
                                       : QStringLiteral("連絡先ファイルとして読み込み")));
    TransferOptions options;
    options.backupDir = QDir::current().filePath(QStringLiteral("backup"));
    options.fast = parsed->flags.contains(fast);
    PrintedTransfer view(parsed->flags.contains(QStringLiteral("--yes")));
    TransferDriver driver(OP_DEVICE_WRITE, options, view, book.get());
    return exitStatus(runStoppable(driver, parsed->values[QStringLiteral("--port")]));
}

#ifndef VEMBLOR_SIMULATED_HANDSET
int runEmulate(const QStringList&)
{
    printError(QStringLiteral("vemblor-cli: emulate is not available: this build has no simulated "
                              "handset"));
    return CLI_FAILED;
}
#else
int runEmulate(const QStringList& arguments)
{
    const char* const text = "emulate [--model NAME] [--fail STEP[:N]] [--silent STEP[:N]] "
                             "[--hang-up STEP[:N]] [--corrupt N] [--book FILE.vcf] "
                             "[--dump FILE.vcf]";
    const QString model = QStringLiteral("--model");
    const QString fail = QStringLiteral("--fail");
    const QString silent = QStringLiteral("--silent");
    const QString hangUp = QStringLiteral("--hang-up");
    const QString corrupt = QStringLiteral("--corrupt");
    const QString book = QStringLiteral("--book");
    const QString dump = QStringLiteral("--dump");
    const auto parsed =
        parseCliArguments(arguments, {model, fail, silent, hangUp, corrupt, book, dump}, {});
    if (!parsed || !parsed->files.isEmpty())
        return usage(text);

    HandsetOptions options;
    if (parsed->values.contains(model)) {
        options.model = parsed->values[model].toLatin1();
        if (options.model.isEmpty() || options.model.size() > 9)
            return usage(text);
    }
    if (parsed->values.contains(corrupt)) {
        bool ok = false;
        options.corruptEntry = parsed->values[corrupt].toInt(&ok);
        if (!ok || options.corruptEntry < 1)
            return usage(text);
    }
    for (auto [option, fault] :
         {std::pair{fail, &options.failAt}, std::pair{silent, &options.silentFrom},
          std::pair{hangUp, &options.hangUpAt}}) {
        if (!parsed->values.contains(option))
            continue;
        const std::optional<HandsetFault> parsedFault = parseHandsetFault(parsed->values[option]);
        if (!parsedFault) {
            printError(QStringLiteral("vemblor-cli: steps are ") + handsetStepNames());
            return usage(text);
        }
        *fault = *parsedFault;
    }

    PtyHandset handset(options);
    if (parsed->values.contains(book)) {
        auto entries = std::make_unique<TelBook>();
        if (!loadBookFile(parsed->values[book], *entries))
            return CLI_FAILED;
        handset.withHandset([&](SimulatedHandset& h) { h.holdBook(*entries); });
    }

    // The handset serves until the emulator is interrupted or terminated; the signals are
    // taken here, not by the serving thread.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    if (!handset.start()) {
        printError(QStringLiteral("vemblor-cli: no pseudo-terminal available"));
        return CLI_FAILED;
    }
    printOut(handset.devicePath());
    std::fflush(stdout);
    int signal = 0;
    sigwait(&stopSignals, &signal);
    handset.stop();

    if (!parsed->values.contains(dump))
        return CLI_OK;
    auto entries = std::make_unique<TelBook>();
    handset.withHandset([&](SimulatedHandset& h) { h.copyBook(*entries); });
    return saveBookFile(parsed->values[dump], *entries) ? CLI_OK : CLI_FAILED;
}
#endif
