#include "device/core/sync_state.h"

#include "device/core/device_record.h"
#include "device/core/handset_records.h"
#include "device/core/written_book_check.h"
#include "exchange/core/whole_file.h"
#include "phonebook/core/tel_book.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <memory>

namespace {

// A full book of entries of at most three records each, with room to spare.
constexpr qint64 MAX_STATE_SIZE = 4 << 20;

QByteArray hashLine(const QByteArray& records)
{
    return "SHA256 " + QCryptographicHash::hash(records, QCryptographicHash::Sha256).toHex();
}

QByteArray recordLines(std::span<const TelEntry> entries)
{
    QByteArray text;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        SentParts sent;
        while (!sent.all()) {
            // The memo of a model without one is empty in the stored form already.
            DeviceRecord record = encodeEntryRecord(entries[i], static_cast<int>(i), "", sent);
            if (sent.all() && i + 1 == entries.size())
                record.bytes[RECORD_FLAGS_OFFSET] |= RECORD_LAST;
            text += entryFrame(record);
        }
    }
    return text;
}

} // namespace

std::vector<TelEntry> storedEntries(std::span<const TelEntry> entries, const QString& model)
{
    const QByteArray name = model.toLatin1();
    std::vector<TelEntry> stored;
    stored.reserve(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i)
        stored.push_back(storedForm(entries[i], static_cast<int>(i), name.constData()));
    return stored;
}

bool saveWrittenBookAsState(const QString& folder, const QString& model, const TelBook& written,
                            QString& error)
{
    const std::uint32_t count = std::min(written.count, MAX_TEL_ENTRIES);
    return saveSyncState(syncStatePath(folder, model),
                         storedEntries({written.entries, count}, model), error);
}

QString syncStatePath(const QString& folder, const QString& model)
{
    QString name;
    for (const QChar c : model)
        name += c.isLetterOrNumber() && c.unicode() < 0x80 ? c : QLatin1Char('_');
    return QDir(folder).filePath(name + QStringLiteral(".state"));
}

SyncState loadSyncState(const QString& path)
{
    SyncState state;
    QFile file(path);
    if (!file.exists())
        return state;
    const QString name = QDir::toNativeSeparators(path);
    const QString damaged = QStringLiteral("同期の記録 %1 が壊れているため使いません。").arg(name);
    // Only a plain file: opening a pipe would wait for a writer.
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
        state.problem = QStringLiteral("同期の記録 %1 を開けません。").arg(name);
        return state;
    }
    // Read with a limit: a pipe or a device in the state's place has no size to check first.
    const QByteArray text = file.read(MAX_STATE_SIZE + 1);
    if (text.size() > MAX_STATE_SIZE) {
        state.problem = damaged;
        return state;
    }
    const QByteArray header = QByteArray(SYNC_STATE_HEADER) + "\r\n";
    const qsizetype hashEnd = text.indexOf("\r\n", header.size());
    if (!text.startsWith(header) || hashEnd < 0) {
        state.problem = damaged;
        return state;
    }
    const QByteArray records = text.mid(hashEnd + 2);
    if (text.mid(header.size(), hashEnd - header.size()) != hashLine(records)) {
        state.problem = damaged;
        return state;
    }
    if (!records.isEmpty()) {
        auto book = std::make_unique<TelBook>();
        QString error;
        if (!readRecordsCopy(QByteArray(RECORDS_COPY_HEADER) + "\r\n" + records, *book, error)) {
            state.problem = damaged;
            return state;
        }
        state.entries.assign(book->entries, book->entries + book->count);
    }
    state.found = true;
    return state;
}

bool saveSyncState(const QString& path, std::span<const TelEntry> entries, QString& error)
{
    const QString name = QDir::toNativeSeparators(path);
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        error = QStringLiteral("同期の記録のフォルダを作れません: %1").arg(name);
        return false;
    }
    const QByteArray records = recordLines(entries);
    if (!writeWholeFile(path, QByteArray(SYNC_STATE_HEADER) + "\r\n" + hashLine(records) + "\r\n" +
                                  records)) {
        error = QStringLiteral("同期の記録 %1 を書き込めません。").arg(name);
        return false;
    }
    return true;
}
