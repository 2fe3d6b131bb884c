#include "exchange/core/merge_report.h"

#include "phonebook/core/cp932_text.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

const char* noteKindText(MergeNoteKind kind)
{
    switch (kind) {
    case MergeNoteKind::Overflow:
        return "overflow";
    case MergeNoteKind::Conflict:
        return "conflict";
    case MergeNoteKind::LeftOut:
        return "left-out";
    case MergeNoteKind::Replaced:
        break;
    }
    return "replaced";
}

bool holdsEntry(MergeNoteKind kind)
{
    return kind == MergeNoteKind::LeftOut || kind == MergeNoteKind::Replaced;
}

QJsonObject entryJson(const TelEntry& entry)
{
    QJsonArray numbers;
    for (const TelNumber& tel : entry.tel)
        if (tel.number[0])
            numbers.append(fromCp932(tel.number));
    QJsonArray addresses;
    for (const MailAddress& mail : entry.mail)
        if (mail.address[0])
            addresses.append(fromCp932(mail.address));
    return QJsonObject{
        {QStringLiteral("name"), fromCp932(entry.name)},
        {QStringLiteral("furigana"), fromCp932(entry.furigana)},
        {QStringLiteral("group"), entry.group},
        {QStringLiteral("secret"), entry.secret},
        {QStringLiteral("numbers"), numbers},
        {QStringLiteral("addresses"), addresses},
        {QStringLiteral("memo"), fromCp932(entry.memo)},
    };
}

QJsonObject noteJson(const MergeNote& note)
{
    QJsonObject json{
        {QStringLiteral("kind"), QString::fromLatin1(noteKindText(note.kind))},
        {QStringLiteral("incoming"), note.incoming},
        {QStringLiteral("book"), note.book},
    };
    if (note.kind != MergeNoteKind::Replaced)
        json.insert(QStringLiteral("class"), QString::fromUtf8(matchClassText(note.match)));
    if (holdsEntry(note.kind)) {
        json.insert(QStringLiteral("entry"), entryJson(note.entry));
    } else {
        json.insert(QStringLiteral("field"), note.field);
        json.insert(QStringLiteral("value"), note.value);
    }
    return json;
}

QJsonObject classCounts(const MergeOutcome& outcome)
{
    QJsonObject counts;
    for (int c = 0; c < static_cast<int>(outcome.classes.size()); ++c)
        counts.insert(QString::fromUtf8(matchClassText(static_cast<MatchClass>(c))),
                      outcome.classes[c]);
    return counts;
}

} // namespace

QByteArray mergeReportToJson(const QString& mode, const std::vector<MergeFileOutcome>& files)
{
    QJsonArray inputs;
    for (const MergeFileOutcome& file : files) {
        QJsonArray notes;
        for (const MergeNote& note : file.outcome.notes)
            notes.append(noteJson(note));
        inputs.append(QJsonObject{
            {QStringLiteral("file"), file.file},
            {QStringLiteral("classes"), classCounts(file.outcome)},
            {QStringLiteral("added"), file.outcome.added},
            {QStringLiteral("updated"), file.outcome.updated},
            {QStringLiteral("count"), static_cast<qint64>(file.outcome.resultCount)},
            {QStringLiteral("notes"), notes},
        });
    }
    const QJsonObject root{{QStringLiteral("mode"), mode}, {QStringLiteral("inputs"), inputs}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

QStringList mergeReportLines(const std::vector<MergeFileOutcome>& files)
{
    QStringList lines;
    for (const MergeFileOutcome& file : files) {
        const MergeOutcome& o = file.outcome;
        QStringList counts;
        for (int c = 0; c < static_cast<int>(o.classes.size()); ++c)
            counts << QStringLiteral("%1 %2")
                          .arg(QString::fromUtf8(matchClassText(static_cast<MatchClass>(c))))
                          .arg(o.classes[c]);
        // One arg() for all: a "%3" in the file's name must stay as it is.
        lines << QStringLiteral("%1: %2; 追加 %3件、更新 %4件、合計 %5件")
                     .arg(file.file, counts.join(QStringLiteral("、")), QString::number(o.added),
                          QString::number(o.updated), QString::number(o.resultCount));
        for (const MergeNote& note : o.notes) {
            if (note.kind == MergeNoteKind::LeftOut)
                lines << QStringLiteral("  取り込まなかった (%1): %2")
                             .arg(QString::fromUtf8(matchClassText(note.match)),
                                  fromCp932(note.entry.name));
            else if (note.kind == MergeNoteKind::Replaced)
                lines << QStringLiteral("  置き換えで消えた: %1").arg(fromCp932(note.entry.name));
            else
                lines
                    << QStringLiteral("  ") +
                           (note.book >= 0
                                ? QStringLiteral("電話帳の%1件目").arg(note.book + 1)
                                : QStringLiteral("取り込むデータの%1件目").arg(note.incoming + 1)) +
                           QStringLiteral(": ") + mergeNoteReason(note);
        }
    }
    return lines;
}
