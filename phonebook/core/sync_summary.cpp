#include "phonebook/core/sync_summary.h"

#include "phonebook/core/cp932_text.h"
#include "phonebook/core/sync_fields.h"
#include "phonebook/core/tel_book.h"

#include <algorithm>

namespace {

QString nameOf(const TelEntry& entry)
{
    const QString name = fromCp932(entry.name);
    return name.isEmpty() ? QStringLiteral("（名前なし）") : name;
}

int countOf(const std::vector<SyncChange>& changes, SyncChange::Kind kind)
{
    int count = 0;
    for (const SyncChange& change : changes)
        count += change.kind == kind ? 1 : 0;
    return count;
}

QString tooManyText(std::size_t count)
{
    return QStringLiteral("同期した電話帳は %1件になり、%2件を越えます。"
                          "携帯電話に入れる項目を選んでから同期してください。")
        .arg(count)
        .arg(MAX_TEL_ENTRIES);
}

} // namespace

QString changeCountsText(const std::vector<SyncChange>& changes)
{
    return QStringLiteral("追加 %1件、変更 %2件、削除 %3件")
        .arg(countOf(changes, SyncChange::Kind::Added))
        .arg(countOf(changes, SyncChange::Kind::Changed))
        .arg(countOf(changes, SyncChange::Kind::Deleted));
}

QStringList changeLines(const std::vector<SyncChange>& changes)
{
    QStringList lines;
    for (const SyncChange& change : changes) {
        switch (change.kind) {
        case SyncChange::Kind::Added:
            lines << QStringLiteral("追加: ") + nameOf(change.entry);
            break;
        case SyncChange::Kind::Changed: {
            QStringList fields;
            for (const SyncField field : change.fields)
                fields << QString::fromUtf8(syncFieldText(field));
            lines << QStringLiteral("変更: %1（%2）")
                         .arg(nameOf(change.entry), fields.join(QStringLiteral("、")));
            break;
        }
        case SyncChange::Kind::Deleted:
            lines << QStringLiteral("削除: ") + nameOf(change.entry);
            break;
        }
    }
    return lines;
}

QString conflictText(const SyncPlan& plan, const SyncConflict& conflict)
{
    const SyncPerson& person = plan.people[conflict.person];
    return QStringLiteral("%1 の%2: 携帯電話「%3」／パソコン「%4」")
        .arg(nameOf(person.merged), QString::fromUtf8(syncFieldText(conflict.field)),
             fieldValueText(person.handsetSide, conflict.field),
             fieldValueText(person.merged, conflict.field));
}

QString syncStopMessage(const SyncPlan& plan, const QString& backupHint)
{
    QString reason;
    switch (plan.stop) {
    case SyncStop::None:
        return {};
    case SyncStop::TooMany:
        return tooManyText(plan.people.size());
    case SyncStop::HandsetEmpty:
        reason = QStringLiteral("携帯電話の電話帳が空になっています（前回の同期では %1件）。")
                     .arg(plan.stateCount);
        break;
    case SyncStop::HandsetLostEntries:
        reason = QStringLiteral("携帯電話の電話帳から、前回同期した %1件のうち %2件がなくなって"
                                "います。")
                     .arg(plan.stateCount)
                     .arg(plan.lostFromState);
        break;
    }
    return reason +
           QStringLiteral("\n書き込みの途中で止まったか、電話帳が消えた可能性があるため、同期を"
                          "中止しました。パソコンの電話帳からは何も削除していません。\n"
                          "バックアップから書き戻すと、携帯電話の電話帳を元に戻せます。") +
           (backupHint.isEmpty() ? QString() : QStringLiteral("\n") + backupHint);
}

QString slowSyncNote(const SyncPlan& plan)
{
    if (!plan.slowSync)
        return {};
    return plan.hadState
               ? QStringLiteral("携帯電話の電話帳が前回の同期の記録とほとんど合わないため（別の"
                                "携帯電話か、初期化された携帯電話）、両方の電話帳を合わせます。"
                                "削除はしません。")
               : QStringLiteral("この機種の同期の記録がないため、両方の電話帳を合わせます。"
                                "削除はしません。");
}

QString tooManyMessage(const SyncResult& result)
{
    return tooManyText(std::max(result.handsetBook.size(), result.pcBook.size()));
}
