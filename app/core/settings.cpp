#include "app/core/settings.h"

#include "app/core/profile.h"

#include <QDir>
#include <QFileInfo>

namespace {
const QString SECTION = QStringLiteral("VEMBLOR");
const QString PORTS_SECTION = QStringLiteral("PORTS");
const QString TRANSFER_SECTION = QStringLiteral("TRANSFER");

// The transfer keys, each with the member of TransferOptions it holds.
struct TransferKey {
    const char* key;
    bool TransferOptions::*member;
};
constexpr TransferKey TRANSFER_KEYS[] = {
    {"BACKUP", &TransferOptions::backup},
    {"VERIFY", &TransferOptions::verify},
    {"FAST", &TransferOptions::fast},
};

QString flagText(bool on)
{
    return on ? QStringLiteral("1") : QStringLiteral("0");
}
} // namespace

// Gives the transfer keys the file lacks their defaults, in one write; the keys it has stay as
// they are. A file that cannot be written keeps lacking them, and the defaults apply.
void Settings::addMissingTransferKeys() const
{
    const QString path = filePath();
    const TransferOptions defaults;
    ProfileEntries missing;
    for (const TransferKey& key : TRANSFER_KEYS) {
        const QString name = QString::fromLatin1(key.key);
        if (!findProfileString(path, TRANSFER_SECTION, name))
            missing.append({name, flagText(defaults.*key.member)});
    }
    if (!missing.isEmpty())
        writeProfileStrings(path, TRANSFER_SECTION, missing);
}

QString Settings::filePath() const
{
    return QDir(folder_).filePath(QStringLiteral("Vemblor.ini"));
}

QString Settings::fileProblem() const
{
    switch (profileStatus(filePath())) {
    case ProfileStatus::Missing:
    case ProfileStatus::Readable:
        break;
    case ProfileStatus::TooLarge:
        return QStringLiteral(
            "設定ファイル Vemblor.ini が1MBを超えている為、読み込みません。"
            "既定の設定（COM1、転送設定の既定値）を使い、ファイルは変更しません。");
    case ProfileStatus::NotAFile:
        return QStringLiteral(
            "設定ファイル Vemblor.ini が通常のファイルではない為、読み込みません。"
            "既定の設定（COM1、転送設定の既定値）を使います。");
    case ProfileStatus::NotText:
        return QStringLiteral(
            "設定ファイル Vemblor.ini の文字コードが分からない為、読み込みません。"
            "既定の設定（COM1、転送設定の既定値）を使い、ファイルは変更しません。");
    case ProfileStatus::Unreadable:
        return QStringLiteral("設定ファイル Vemblor.ini を読めない為、"
                              "既定の設定（COM1、転送設定の既定値）を使います。");
    }
    return QString();
}

void Settings::load()
{
    folder_ = QDir::currentPath();
    problem_ = fileProblem();
    if (!problem_.isEmpty()) {
        portNo_ = 0;
        return;
    }
    if (!QFileInfo::exists(filePath())) {
        portNo_ = 0;
        save();
    } else {
        const int port =
            parsePortNo(readProfileString(filePath(), SECTION, QStringLiteral("PORT_NO")));
        portNo_ = port;
        portInUse_ = port;
    }
    addMissingTransferKeys();
}

void Settings::save()
{
    writeProfileStrings(filePath(), SECTION,
                        {{QStringLiteral("PORT_NO"), portDisplayName(portNo_)},
                         {QStringLiteral("PATH"), QDir::toNativeSeparators(folder_)}});
}

TransferOptions Settings::transferOptions() const
{
    const QString path = filePath();
    TransferOptions options;
    for (const TransferKey& key : TRANSFER_KEYS) {
        const QString value =
            readProfileString(path, TRANSFER_SECTION, QString::fromLatin1(key.key));
        if (value == QLatin1String("0") || value == QLatin1String("1"))
            options.*key.member = value == QLatin1String("1");
    }
    options.backupDir = QDir(folder_).filePath(QStringLiteral("backup"));
    options.syncStateDir = QDir(folder_).filePath(QStringLiteral("sync"));
    return options;
}

bool Settings::saveTransferOptions(const TransferOptions& options) const
{
    const QString path = filePath();
    ProfileEntries entries;
    for (const TransferKey& key : TRANSFER_KEYS)
        entries.append({QString::fromLatin1(key.key), flagText(options.*key.member)});
    return writeProfileStrings(path, TRANSFER_SECTION, entries);
}

QString portDisplayName(int index)
{
    return QStringLiteral("COM%1").arg(index + 1);
}

int parsePortNo(const QString& value)
{
    if (value.size() <= 3)
        return 0;
    bool ok = false;
    const int number = value.mid(3).toInt(&ok);
    if (!ok || number < 1 || number > PORT_COUNT)
        return 0;
    return number - 1;
}

QString Settings::portDevicePath(int index) const
{
    if (!portInUseOverride_.isEmpty() && index == portInUse_)
        return portInUseOverride_;
    return configuredDevicePath(index);
}

QString Settings::configuredDevicePath(int index) const
{
    const QString mapped = readProfileString(filePath(), PORTS_SECTION, portDisplayName(index));
    return mapped.isEmpty() ? defaultDevicePath(index) : mapped;
}

int Settings::portForDevice(const QString& device, const QStringList& present)
{
    QStringList mapped;
    for (int index = 0; index < PORT_COUNT; ++index)
        mapped << readProfileString(filePath(), PORTS_SECTION, portDisplayName(index));
    if (const int index = static_cast<int>(mapped.indexOf(device)); index >= 0)
        return index;
    for (int index = 0; index < PORT_COUNT; ++index)
        if (mapped[index].isEmpty() && defaultDevicePath(index) == device)
            return index;
    for (int index = 0; index < PORT_COUNT; ++index) {
        if (!mapped[index].isEmpty() || present.contains(defaultDevicePath(index)))
            continue;
        return writeProfileString(filePath(), PORTS_SECTION, portDisplayName(index), device) ? index
                                                                                             : -1;
    }
    return -1;
}

QString defaultDevicePath(int index)
{
#ifdef Q_OS_WIN
    return QStringLiteral("\\\\.\\COM%1").arg(index + 1);
#else
    return QStringLiteral("/dev/ttyS%1").arg(index);
#endif
}
