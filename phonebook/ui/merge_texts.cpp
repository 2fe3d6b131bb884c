#include "phonebook/ui/merge_texts.h"

#include "phonebook/core/cp932_text.h"

QString entryNameText(const TelEntry& entry)
{
    const QString name = fromCp932(entry.name);
    return name.isEmpty() ? QStringLiteral("（名前なし）") : name;
}

QString differenceText(const FieldDifference& difference)
{
    const QString none = QStringLiteral("（なし）");
    return QStringLiteral("%1 → %2").arg(difference.book.isEmpty() ? none : difference.book,
                                         difference.incoming);
}

QString mergeNoteText(const MergeNote& note, const TelEntry& held)
{
    return QStringLiteral("「%1」: %2").arg(entryNameText(held), mergeNoteReason(note));
}
