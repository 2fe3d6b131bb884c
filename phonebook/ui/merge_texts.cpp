#include "phonebook/ui/merge_texts.h"

#include "phonebook/core/cp932_text.h"

#include <QHash>

namespace {

QString fieldText(const QString& field)
{
    static const QHash<QString, QString> texts{
        {QStringLiteral("number"), QStringLiteral("電話番号")},
        {QStringLiteral("address"), QStringLiteral("メール")},
        {QStringLiteral("name"), QStringLiteral("名前")},
        {QStringLiteral("furigana"), QStringLiteral("フリガナ")},
        {QStringLiteral("memo"), QStringLiteral("メモ")},
        {QStringLiteral("group"), QStringLiteral("グループ")},
        {QStringLiteral("secret"), QStringLiteral("シークレット")},
    };
    return texts.value(field, field);
}

} // namespace

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
    const QString format =
        note.kind == MergeNoteKind::Overflow
            ? QStringLiteral("「%1」: %2「%3」は空きがないため入りません")
            : QStringLiteral("「%1」: %2「%3」は電話帳の値と食い違うため入りません");
    return format.arg(entryNameText(held), fieldText(note.field), note.value);
}
