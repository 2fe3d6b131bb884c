#include "device/core/handset_records.h"

#include <QDir>
#include <QFile>

#include <memory>

namespace {

// A copy holds at most a full book of entries of at most three records each.
constexpr qint64 MAX_RECORDS_COPY = 4 << 20;

} // namespace

QString recordsCopyPath(const QString& backupPath)
{
    QString path = backupPath;
    if (path.endsWith(QStringLiteral(".vcf"), Qt::CaseInsensitive))
        path.chop(4);
    return path + QStringLiteral(".records");
}

QByteArray recordsCopyText(const QList<QByteArray>& recordLines)
{
    QByteArray text = QByteArray(RECORDS_COPY_HEADER) + "\r\n";
    for (const QByteArray& line : recordLines)
        text += line + "\r\n";
    return text;
}

RecordFlags addRecordToBook(const DeviceRecord& record, TelBook& book, int& entryIndex,
                            RecordSlots& filled)
{
    const RecordFlags flags = decodeEntryRecord(record, book.entries[entryIndex], filled);
    if (!flags.continued) {
        entryIndex += 1;
        filled = RecordSlots{};
    }
    return flags;
}

bool readRecordsCopy(QByteArrayView text, TelBook& book, QString& error)
{
    QList<QByteArrayView> lines;
    for (qsizetype at = 0; at < text.size();) {
        qsizetype end = text.indexOf('\n', at);
        if (end < 0)
            end = text.size();
        QByteArrayView line = text.sliced(at, end - at);
        if (line.endsWith('\r'))
            line.chop(1);
        lines << line;
        at = end + 1;
    }
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    if (lines.isEmpty() || lines.first() != QByteArrayView(RECORDS_COPY_HEADER)) {
        error = QStringLiteral("携帯電話の電話帳の写しではありません。");
        return false;
    }
    auto read = std::make_unique<TelBook>();
    int entryIndex = 0;
    RecordSlots filled;
    bool lastRecord = false;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        DeviceRecord record;
        if (lastRecord || !parseRecordReply(lines[i], record)) {
            error = QStringLiteral("%1行目が電話帳のデータではありません。").arg(i + 1);
            return false;
        }
        if (entryIndex >= static_cast<int>(MAX_TEL_ENTRIES)) {
            error = QStringLiteral("電話帳登録件数が１０００件を越えています");
            return false;
        }
        lastRecord = addRecordToBook(record, *read, entryIndex, filled).lastRecord;
    }
    if (!lastRecord) {
        error = QStringLiteral("写しが途中で終わっています（最後のデータがありません）。");
        return false;
    }
    read->count = static_cast<std::uint32_t>(entryIndex);
    book = *read;
    return true;
}

bool readRecordsCopyFile(const QString& path, TelBook& book, QString& error)
{
    QFile file(path);
    const QString name = QDir::toNativeSeparators(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("ファイル %1 を開けません。").arg(name);
        return false;
    }
    if (file.size() > MAX_RECORDS_COPY) {
        error = QStringLiteral("%1 は携帯電話の電話帳の写しではありません。").arg(name);
        return false;
    }
    const QByteArray text = file.readAll();
    if (!readRecordsCopy(text, book, error)) {
        error = QStringLiteral("%1: %2").arg(name, error);
        return false;
    }
    return true;
}
