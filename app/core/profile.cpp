#include "app/core/profile.h"

#include "exchange/core/whole_file.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>

namespace {

constexpr QByteArrayView UTF8_MARK = "\xEF\xBB\xBF";
constexpr const char* SHIFT_JIS = "windows-31j";

// A physical line: its text runs from start to end, its line end (CR LF, LF, or none for the
// last line of a file that does not end in one) from end to next.
struct Line {
    qsizetype start = 0;
    qsizetype end = 0;
    qsizetype next = 0;
    QString text;
};

struct Profile {
    ProfileStatus status = ProfileStatus::Missing;
    QByteArray bytes;
    QByteArray encoding = "UTF-8"; // or SHIFT_JIS
    QByteArray lineEnd = "\n";     // as the file's first line ends
    QList<Line> lines;
};

ProfileStatus readBytes(const QString& filePath, QByteArray* bytes)
{
    const QFileInfo info(filePath); // follows links
    if (!info.exists())
        return ProfileStatus::Missing;
    if (!info.isFile())
        return ProfileStatus::NotAFile;
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly))
        return ProfileStatus::Unreadable;
    if (file.isSequential())
        return ProfileStatus::NotAFile;
    // One byte past the limit tells a file at the limit from a larger one.
    *bytes = file.read(MAX_PROFILE_FILE + 1);
    if (file.error() != QFileDevice::NoError)
        return ProfileStatus::Unreadable;
    if (bytes->size() > MAX_PROFILE_FILE)
        return ProfileStatus::TooLarge;
    // NUL bytes: UTF-16 or UTF-32, which the file's lines cannot be found in byte by byte.
    if (bytes->contains('\0'))
        return ProfileStatus::NotText;
    return ProfileStatus::Readable;
}

Profile readProfile(const QString& filePath)
{
    Profile profile;
    profile.status = readBytes(filePath, &profile.bytes);
    if (profile.status != ProfileStatus::Readable) {
        profile.bytes.clear();
        return profile;
    }
    const QByteArray& bytes = profile.bytes;
    const qsizetype first = bytes.startsWith(UTF8_MARK) ? UTF8_MARK.size() : 0;
    QStringDecoder utf8(QStringDecoder::Utf8);
    utf8.decode(QByteArrayView(bytes).sliced(first));
    if (first == 0 && utf8.hasError())
        profile.encoding = SHIFT_JIS;
    QStringDecoder decoder(profile.encoding.constData());
    bool lineEndSeen = false;
    for (qsizetype start = first; start < bytes.size();) {
        const qsizetype lf = bytes.indexOf('\n', start);
        Line line;
        line.start = start;
        line.next = lf < 0 ? bytes.size() : lf + 1;
        line.end = lf < 0 ? bytes.size() : lf;
        while (line.end > start && bytes[line.end - 1] == '\r')
            --line.end;
        if (lf >= 0 && !lineEndSeen) {
            profile.lineEnd = bytes.sliced(line.end, line.next - line.end);
            lineEndSeen = true;
        }
        decoder.resetState();
        line.text = decoder.decode(QByteArrayView(bytes).sliced(start, line.end - start));
        profile.lines.append(line);
        start = line.next;
    }
    return profile;
}

// text in the file's encoding, or nothing when the encoding cannot hold it.
std::optional<QByteArray> encoded(const Profile& profile, const QString& text)
{
    QStringEncoder encoder(profile.encoding.constData());
    const QByteArray bytes = encoder.encode(text);
    QStringDecoder decoder(profile.encoding.constData());
    if (encoder.hasError() || QString(decoder.decode(bytes)) != text)
        return std::nullopt;
    return bytes;
}

bool isSectionHeader(const QString& line, QString* name)
{
    const QString trimmed = line.trimmed();
    if (!trimmed.startsWith(QLatin1Char('[')) || !trimmed.endsWith(QLatin1Char(']')))
        return false;
    *name = trimmed.mid(1, trimmed.size() - 2).trimmed();
    return true;
}

// The key of a "KEY=value" line, or an empty string for any other line.
QString keyOf(const QString& line, QString* value = nullptr)
{
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq <= 0)
        return {};
    if (value)
        *value = line.mid(eq + 1).trimmed();
    return line.left(eq).trimmed();
}

bool sameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Read-only by the mode bits as well as for the program: running as root, the system would let
// a read-only file be replaced, but the user made it read-only to keep it as it is.
bool isReadOnly(const QString& filePath)
{
    const QFileInfo info(filePath);
    return !info.permissions().testFlag(QFileDevice::WriteOwner) || !info.isWritable();
}

// A change of the file's bytes: those from start to end give way to bytes.
struct Edit {
    qsizetype start;
    qsizetype end;
    QByteArray bytes;
};

// New lines at the end of the file go in place, so the file keeps its owner and links; a failed
// write is cut back to the old end.
bool appendInPlace(const QString& filePath, qsizetype oldSize, const QByteArray& tail)
{
    QFile file(filePath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    if (file.write(tail) == tail.size() && file.flush())
        return true;
    file.resize(oldSize);
    return false;
}

} // namespace

ProfileStatus profileStatus(const QString& filePath)
{
    QByteArray bytes;
    return readBytes(filePath, &bytes);
}

std::optional<QString> findProfileString(const QString& filePath, const QString& section,
                                         const QString& key)
{
    bool inSection = false;
    for (const Line& line : readProfile(filePath).lines) {
        QString name;
        if (isSectionHeader(line.text, &name)) {
            inSection = sameName(name, section);
            continue;
        }
        QString value;
        if (inSection && sameName(keyOf(line.text, &value), key))
            return value;
    }
    return std::nullopt;
}

QString readProfileString(const QString& filePath, const QString& section, const QString& key,
                          const QString& fallback)
{
    return findProfileString(filePath, section, key).value_or(fallback);
}

bool writeProfileStrings(const QString& filePath, const QString& section,
                         const ProfileEntries& entries)
{
    const Profile profile = readProfile(filePath);
    if (profile.status != ProfileStatus::Missing && profile.status != ProfileStatus::Readable)
        return false;
    if (profile.status == ProfileStatus::Readable && isReadOnly(filePath))
        return false;

    QList<Edit> edits;
    QList<bool> written(entries.size(), false);
    const Line* last = nullptr; // the section's last line that is not blank
    bool inSection = false;
    for (const Line& line : profile.lines) {
        QString name;
        if (isSectionHeader(line.text, &name)) {
            if (inSection)
                break; // only the first section of the name is written
            inSection = sameName(name, section);
            if (inSection)
                last = &line;
            continue;
        }
        if (!inSection)
            continue;
        if (!line.text.trimmed().isEmpty())
            last = &line;
        const QString key = keyOf(line.text);
        for (qsizetype i = 0; i < entries.size(); ++i) {
            if (written[i] || !sameName(key, entries[i].first))
                continue;
            const auto bytes =
                encoded(profile, entries[i].first + QLatin1Char('=') + entries[i].second);
            if (!bytes)
                return false;
            edits.append({line.start, line.end, *bytes});
            written[i] = true;
            break;
        }
    }

    QString added;
    const QString lineEnd = QString::fromLatin1(profile.lineEnd);
    for (qsizetype i = 0; i < entries.size(); ++i)
        if (!written[i])
            added += entries[i].first + QLatin1Char('=') + entries[i].second + lineEnd;
    qsizetype at = profile.bytes.size();
    if (!added.isEmpty()) {
        const Line* after =
            last ? last : (profile.lines.isEmpty() ? nullptr : &profile.lines.last());
        if (!last)
            added.prepend(QLatin1Char('[') + section + QLatin1Char(']') + lineEnd);
        if (after) {
            at = after->next;
            if (after->next == after->end)
                added.prepend(lineEnd); // the file's last line had no line end
        }
        const auto bytes = encoded(profile, added);
        if (!bytes)
            return false;
        edits.append({at, at, *bytes});
    }

    if (profile.status == ProfileStatus::Readable && edits.size() == 1 &&
        edits[0].start == profile.bytes.size())
        return appendInPlace(filePath, profile.bytes.size(), edits[0].bytes);
    QByteArray result;
    qsizetype from = 0;
    for (const Edit& edit : edits) {
        result += QByteArrayView(profile.bytes).sliced(from, edit.start - from);
        result += edit.bytes;
        from = edit.end;
    }
    result += QByteArrayView(profile.bytes).sliced(from);
    return writeWholeFile(filePath, result);
}

bool writeProfileString(const QString& filePath, const QString& section, const QString& key,
                        const QString& value)
{
    return writeProfileStrings(filePath, section, {{key, value}});
}
