#include "app/core/settings.h"

#include "app/core/profile.h"
#include "phonebook/core/app_state.h"

#include <QDir>
#include <QFileInfo>

namespace {
const QString SECTION = QStringLiteral("VEMBLOR");
const QString PORTS_SECTION = QStringLiteral("PORTS");

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
        return;
    }
    const int port =
        parsePortNo(readProfileString(settingsFilePath(), SECTION, QStringLiteral("PORT_NO")));
    savedPortNo() = port;
    appState().portNo = port;
}

void saveSettings()
{
    const QString path = settingsFilePath();
    writeProfileString(path, SECTION, QStringLiteral("PORT_NO"), portDisplayName(savedPortNo()));
    writeProfileString(path, SECTION, QStringLiteral("PATH"), QDir::toNativeSeparators(startDir()));
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
