#include "exchange/core/import_report.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

bool EntryReport::has(ChangeKind kind) const
{
    return std::any_of(changes.begin(), changes.end(),
                       [kind](const FieldChange& change) { return change.kind == kind; });
}

const char* changeKindName(ChangeKind kind)
{
    switch (kind) {
    case ChangeKind::Cut:
        return "cut";
    case ChangeKind::Dropped:
        return "dropped";
    case ChangeKind::Folded:
        return "folded";
    case ChangeKind::Filled:
        return "filled";
    case ChangeKind::Proposed:
        return "proposed";
    case ChangeKind::Decoded:
        return "decoded";
    }
    return "";
}

QStringList ImportReport::lines() const
{
    QStringList lines;
    for (const EntryReport& entry : entries)
        for (const FieldChange& change : entry.changes)
            lines.append(
                QStringLiteral("%1件目 %2: %3").arg(entry.index + 1).arg(entry.name, change.text));
    if (leftOut > 0)
        lines.append(leftOutMessage(leftOut));
    return lines;
}

QString leftOutMessage(int leftOut)
{
    return QStringLiteral("電話帳は1000件までのため、%1件を取り込みませんでした。").arg(leftOut);
}

QString ImportReport::text() const
{
    QString text;
    for (const QString& line : lines())
        text += line + QStringLiteral("\r\n");
    return text;
}

QByteArray ImportReport::toJson() const
{
    QJsonArray list;
    for (const EntryReport& entry : entries) {
        if (entry.changes.empty())
            continue;
        QJsonArray changes;
        for (const FieldChange& change : entry.changes)
            changes.append(QJsonObject{
                {QStringLiteral("change"), QString::fromLatin1(changeKindName(change.kind))},
                {QStringLiteral("field"), change.field},
                {QStringLiteral("text"), change.text}});
        list.append(QJsonObject{{QStringLiteral("index"), entry.index},
                                {QStringLiteral("name"), entry.name},
                                {QStringLiteral("changes"), changes}});
    }
    const QJsonObject root{{QStringLiteral("cards"), cardCount},
                           {QStringLiteral("imported"), static_cast<int>(entries.size())},
                           {QStringLiteral("left_out"), leftOut},
                           {QStringLiteral("entries"), list}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}
