#include "device/core/transfer_steps.h"

#include "device/core/transfer_host.h"
#include "device/core/written_book_check.h"
#include "phonebook/core/record_check.h"

#include <QDir>

#include <algorithm>

namespace {

const char ERASE_QUESTION[] = "電話帳全件消去します。よろしいですか？";

// The entries of book that break a field rule, named one a line (the first few of them), so
// that the user can answer No and mend them before they reach the handset. Empty when every
// entry passes.
QString entriesToMend(const TelBook& book)
{
    constexpr std::size_t NAMED = 5;
    const std::vector<int> failing = entriesBreakingRules(book);
    if (failing.empty())
        return {};
    QString text =
        QStringLiteral("\n次の%1件は入力の決まりに合っていません。先に直すには「いいえ」を"
                       "選んでください。")
            .arg(failing.size());
    for (std::size_t i = 0; i < failing.size() && i < NAMED; ++i) {
        const TelEntry& entry = book.entries[failing[i]];
        text += QStringLiteral("\n・") + entryProblem(entry, failing[i], failingFields(entry));
    }
    if (failing.size() > NAMED)
        text += QStringLiteral("\n（ほか%1件）").arg(failing.size() - NAMED);
    return text;
}

} // namespace

QString stepLabel(const TransferSession& session, int entries)
{
    QString name;
    switch (session.phase) {
    case PHASE_BACKUP:
        name = QStringLiteral("バックアップ中");
        break;
    case PHASE_VERIFY:
        name = QStringLiteral("確認中");
        break;
    case PHASE_COPY:
        name = QStringLiteral("書き込み中"); // the only copy with steps before or after it
        break;
    }
    return entries < 0 ? name : QStringLiteral("%1（%2件）").arg(name).arg(entries);
}

QString eraseQuestion(const TransferSession& session)
{
    const std::uint32_t entries = session.book ? std::min(session.book->count, MAX_TEL_ENTRIES) : 0;
    QString question =
        QString::fromUtf8(ERASE_QUESTION) + QStringLiteral("\n%1件を書き込みます。").arg(entries);
    if (session.book)
        question += entriesToMend(*session.book);
    if (!session.backupTaken)
        return question;
    if (session.backupPath.isEmpty())
        return question +
               QStringLiteral("\n携帯電話の電話帳は空でした（バックアップはありません）。");
    return question +
           QStringLiteral("\n消去の前に、携帯電話の電話帳を次のファイルに保存しました。\n") +
           QDir::toNativeSeparators(session.backupPath);
}

std::unique_ptr<TelBook> takeStagedBook(TransferSession& session)
{
    std::unique_ptr<TelBook> book = std::move(session.staging);
    book->count = static_cast<std::uint32_t>(session.entryIndex);
    return book;
}

void keepBackup(TransferSession& session, TransferHost& host)
{
    const BackupResult result = host.keepBackup(*takeStagedBook(session), session.backupRecords);
    if (!result.saved) {
        session.failureShown = true;
        host.showMessage(withStopNote(
            session, QStringLiteral("携帯電話の電話帳のバックアップを保存できませんでした。\n") +
                         result.error));
        return;
    }
    session.backupPath = result.path;
    session.backupTaken = true;
    session.nextPhaseDue = true;
}

void checkWrittenBook(TransferSession& session, TransferHost& host)
{
    const std::unique_ptr<TelBook> readBack = takeStagedBook(session);
    const TelBook& written = *session.book;
    const std::vector<EntryDifference> differences =
        compareWrittenBook(written, *readBack, session.modelName);
    const int writtenCount = static_cast<int>(std::min(written.count, MAX_TEL_ENTRIES));
    const int readBackCount = static_cast<int>(readBack->count);
    // The count the handset reports is part of what was written: a handset that reports more
    // or fewer entries than it serves does not hold the book as written.
    const bool countMatches = session.deviceCount == writtenCount;
    if (differences.empty() && writtenCount == readBackCount && countMatches) {
        session.completed = true;
        host.showDone(QString::fromUtf8(VERIFIED_MESSAGE));
        return;
    }
    session.checkDiffered = true;
    session.failureShown = true;
    QString text = describeDifferences(differences, writtenCount, readBackCount);
    if (!countMatches)
        text += QStringLiteral("\n携帯電話が答えた件数は %1件、書き込んだ件数は %2件です。")
                    .arg(session.deviceCount)
                    .arg(writtenCount);
    host.showMessage(text);
}
