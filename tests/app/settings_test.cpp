#include "app/core/profile.h"
#include "app/core/settings.h"
#include "phonebook/core/app_state.h"
#include "tests/support/start_dir_test.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

void writeAll(const QString& path, const char* text)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
}

using Settings = StartDirTest;

TEST_F(Settings, FirstStartCreatesTheFileWithCom1AndThePath)
{
    loadSettings();
    EXPECT_EQ(startDir(), dir.path());
    EXPECT_EQ(appState().portNo, 0);
    EXPECT_EQ(readProfileString(ini(), QStringLiteral("VEMBLOR"), QStringLiteral("PORT_NO")),
              QStringLiteral("COM1"));
    EXPECT_EQ(readProfileString(ini(), QStringLiteral("VEMBLOR"), QStringLiteral("PATH")),
              QDir::toNativeSeparators(dir.path()));
    EXPECT_TRUE(QString::fromUtf8(readFile(ini())).startsWith(QStringLiteral("[VEMBLOR]\n")));
}

TEST_F(Settings, PortNumberFromTheFile)
{
    writeAll(ini(), "[VEMBLOR]\r\nPORT_NO=COM7\r\nPATH=C:\\old\r\n");
    loadSettings();
    EXPECT_EQ(appState().portNo, 6);
    EXPECT_EQ(savedPortNo(), 6);
}

TEST(PortNumber, MalformedValuesFallBackToCom1)
{
    const std::pair<const char*, int> cases[] = {
        {"COM1", 0},  {"COM50", 49}, {"COM7", 6},           {"", 0},
        {"CO", 0},    {"COM", 0},    {"COM0", 0},           {"COM51", 0},
        {"COM-3", 0}, {"COMx", 0},   {"COM99999999999", 0},
    };
    for (auto [text, index] : cases)
        EXPECT_EQ(parsePortNo(QString::fromUtf8(text)), index) << text;
}

TEST_F(Settings, SavingKeepsOtherSectionsAndKeys)
{
    writeAll(ini(), "; comment\n[PORTS]\nCOM3=/dev/ttyUSB0\n[vemblor]\nPORT_NO=COM2\nOTHER=1\n");
    loadSettings();
    EXPECT_EQ(appState().portNo, 1);
    savedPortNo() = 2;
    saveSettings();
    const QString text = QString::fromUtf8(readFile(ini()));
    EXPECT_TRUE(text.contains(QStringLiteral("; comment\n[PORTS]\nCOM3=/dev/ttyUSB0\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("PORT_NO=COM3\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("OTHER=1\n")));
    EXPECT_EQ(text.count(QStringLiteral("PORT_NO")), 1);
    EXPECT_EQ(portDevicePath(2), QStringLiteral("/dev/ttyUSB0"));
    EXPECT_EQ(portDevicePath(0), QStringLiteral("/dev/ttyS0"));
    EXPECT_EQ(portDevicePath(49), QStringLiteral("/dev/ttyS49"));
}

TEST_F(Settings, OverriddenPortInUseComesBeforeTheFileAndIsNeverSaved)
{
    writeAll(ini(), "[PORTS]\nCOM3=/dev/ttyUSB0\n[VEMBLOR]\nPORT_NO=COM3\n");
    loadSettings();
    overridePortInUse(QStringLiteral("/dev/pts/7"));
    EXPECT_EQ(portDevicePath(2), QStringLiteral("/dev/pts/7"));
    EXPECT_EQ(portDevicePath(1), QStringLiteral("/dev/ttyS1"));
    savedPortNo() = 2;
    saveSettings();
    EXPECT_FALSE(QString::fromUtf8(readFile(ini())).contains(QStringLiteral("/dev/pts")));
    // The override goes with the port in use.
    appState().portNo = 1;
    EXPECT_EQ(portDevicePath(1), QStringLiteral("/dev/pts/7"));
    EXPECT_EQ(portDevicePath(2), QStringLiteral("/dev/ttyUSB0"));
    overridePortInUse(QString());
    EXPECT_EQ(portDevicePath(1), QStringLiteral("/dev/ttyS1"));
}

} // namespace
