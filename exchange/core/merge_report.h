#pragma once
// What a merge did, as JSON for scripts and as the lines the import's report shows: the counts
// per class, the entries added and updated, and every number, address, memo or entry that is
// not in the merged book (overflow, conflicts, entries left out or replaced).

#include "phonebook/core/book_merge.h"

#include <QByteArray>
#include <QStringList>

struct MergeFileOutcome {
    QString file; // the incoming file the outcome is of
    MergeOutcome outcome;
};

QByteArray mergeReportToJson(const QString& mode, const std::vector<MergeFileOutcome>& files);

// One line per incoming file with its counts, then one line per note.
QStringList mergeReportLines(const std::vector<MergeFileOutcome>& files);
