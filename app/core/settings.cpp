#include "app/core/settings.h"

#include "app/core/profile.h"
#include "phonebook/core/app_state.h"

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

// Gives the transfer keys the file lacks their defaults; the keys it has stay as they are.
void addMissingTransferKeys()
{
    const QString path = settingsFilePath();
    const TransferOptions defaults;
    for (const TransferKey& key : TRANSFER_KEYS) {
        const QString name = QString::fromLatin1(key.key);
        if (!findProfileString(path, TRANSFER_SECTION, name))
            writeProfileString(path, TRANSFER_SECTION, name, flagText(defaults.*key.member));
    }
}

// The device that stands behind the port in use, whichever it is; empty for none.
QString& portInUseOverride()
{
    static QString device;
    return device;
}
} // namespace

QString& startDir()
{
    static QString dir;
    return dir;
}

int& savedPortNo()
{
    static int port = 0;
    return port;
}

QString settingsFilePath()
{
    return QDir(startDir()).filePath(QStringLiteral("Vemblor.ini"));
}

void loadSettings()
{
    startDir() = QDir::currentPath();
    if (!QFileInfo::exists(settingsFilePath())) {
        savedPortNo() = 0;
        saveSettings();
    } else {
        const int port =
            parsePortNo(readProfileString(settingsFilePath(), SECTION, QStringLiteral("PORT_NO")));
        savedPortNo() = port;
        appState().portNo = port;
    }
    addMissingTransferKeys();
}

void saveSettings()
{
    const QString path = settingsFilePath();
    writeProfileString(path, SECTION, QStringLiteral("PORT_NO"), portDisplayName(savedPortNo()));
    writeProfileString(path, SECTION, QStringLiteral("PATH"), QDir::toNativeSeparators(startDir()));
}

TransferOptions loadTransferOptions()
{
    const QString path = settingsFilePath();
    TransferOptions options;
    for (const TransferKey& key : TRANSFER_KEYS) {
        const QString value =
            readProfileString(path, TRANSFER_SECTION, QString::fromLatin1(key.key));
        if (value == QLatin1String("0") || value == QLatin1String("1"))
            options.*key.member = value == QLatin1String("1");
    }
    options.backupDir = QDir(startDir()).filePath(QStringLiteral("backup"));
    return options;
}

bool saveTransferOptions(const TransferOptions& options)
{
    const QString path = settingsFilePath();
    bool written = true;
    for (const TransferKey& key : TRANSFER_KEYS)
        written &= writeProfileString(path, TRANSFER_SECTION, QString::fromLatin1(key.key),
                                      flagText(options.*key.member));
    return written;
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

QString portDevicePath(int index)
{
    if (!portInUseOverride().isEmpty() && index == appState().portNo)
        return portInUseOverride();
    const QString mapped =
        readProfileString(settingsFilePath(), PORTS_SECTION, portDisplayName(index));
    if (!mapped.isEmpty())
        return mapped;
#ifdef Q_OS_WIN
    return QStringLiteral("\\\\.\\COM%1").arg(index + 1);
#else
    return QStringLiteral("/dev/ttyS%1").arg(index);
#endif
}

void overridePortInUse(const QString& device)
{
    portInUseOverride() = device;
}
