#pragma once
// A sync plan in the user's words: the changes on each side, the conflicts, why a sync stopped
// and when it merges without deleting. The command-line tool prints them; the preview shows the
// same texts.

#include "phonebook/core/sync_result.h"

#include <QString>
#include <QStringList>

// "追加 2件、変更 1件、削除 0件".
QString changeCountsText(const std::vector<SyncChange>& changes);

// One line per change: "追加: 山田太郎", "変更: 山田太郎（メモ、電話番号）", "削除: 山田太郎".
QStringList changeLines(const std::vector<SyncChange>& changes);

// "山田太郎 のメモ: 携帯電話「…」／パソコン「…」".
QString conflictText(const SyncPlan& plan, const SyncConflict& conflict);

// Why the plan stopped (empty when it did not); backupHint names where the backup is.
QString syncStopMessage(const SyncPlan& plan, const QString& backupHint);

// Said when the books are merged without deletions; empty otherwise.
QString slowSyncNote(const SyncPlan& plan);

// The message of a result that would hold more entries than the handset does.
QString tooManyMessage(const SyncResult& result);

// Said when the handset's model can be read but not written: the sync goes one way.
inline constexpr const char* READ_ONLY_SYNC_NOTE =
    "この機種の電話帳は読み出しだけできるため、携帯電話 → パソコンの一方向で同期します。";
// Said when a sync stopped before its end: neither the PC's book nor the state was changed.
inline constexpr const char* SYNC_STOPPED_MESSAGE =
    "同期を中止しました。パソコンの電話帳と同期の記録は変えていません。";
