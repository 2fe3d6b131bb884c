#include "app/core/profile.h"

#include <QFile>
#include <QSaveFile>
#include <QStringList>

namespace {

QStringList readLines(const QString& filePath)
{
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    for (QString& line : lines)
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    if (!lines.isEmpty() && lines.constLast().isEmpty())
        lines.removeLast();
    return lines;
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

} // namespace

std::optional<QString> findProfileString(const QString& filePath, const QString& section,
                                         const QString& key)
{
    bool inSection = false;
    for (const QString& line : readLines(filePath)) {
        QString name;
        if (isSectionHeader(line, &name)) {
            inSection = sameName(name, section);
            continue;
        }
        QString value;
        if (inSection && sameName(keyOf(line, &value), key))
            return value;
    }
    return std::nullopt;
}

QString readProfileString(const QString& filePath, const QString& section, const QString& key,
                          const QString& fallback)
{
    return findProfileString(filePath, section, key).value_or(fallback);
}

bool writeProfileString(const QString& filePath, const QString& section, const QString& key,
                        const QString& value)
{
    QStringList lines = readLines(filePath);
    const QString entry = key + QLatin1Char('=') + value;
    qsizetype sectionEnd = -1; // index after the last line of the section, once found
    bool inSection = false;
    bool written = false;
    for (qsizetype i = 0; i < lines.size() && !written; ++i) {
        QString name;
        if (isSectionHeader(lines[i], &name)) {
            if (inSection)
                break;
            inSection = sameName(name, section);
            if (inSection)
                sectionEnd = i + 1;
            continue;
        }
        if (!inSection)
            continue;
        if (sameName(keyOf(lines[i]), key)) {
            lines[i] = entry;
            written = true;
        } else if (!lines[i].trimmed().isEmpty()) {
            sectionEnd = i + 1;
        }
    }
    if (!written) {
        if (sectionEnd < 0) {
            lines << QLatin1Char('[') + section + QLatin1Char(']') << entry;
        } else {
            lines.insert(sectionEnd, entry);
        }
    }
    QSaveFile file(filePath);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(lines.join(QLatin1Char('\n')).toUtf8() + '\n');
    return file.commit();
}
