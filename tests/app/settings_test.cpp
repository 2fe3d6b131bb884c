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

struct Flags {
    bool backup;
    bool verify;
    bool fast;
};

void expectFlags(const TransferOptions& options, Flags flags)
{
    EXPECT_EQ(options.backup, flags.backup);
    EXPECT_EQ(options.verify, flags.verify);
    EXPECT_EQ(options.fast, flags.fast);
}

TEST_F(Settings, FirstStartWritesTheTransferDefaults)
{
    loadSettings();
    EXPECT_EQ(QString::fromUtf8(readFile(ini())),
              QStringLiteral("[VEMBLOR]\nPORT_NO=COM1\nPATH=%1\n"
                             "[TRANSFER]\nBACKUP=1\nVERIFY=1\nFAST=0\n")
                  .arg(QDir::toNativeSeparators(dir.path())));
    const TransferOptions options = loadTransferOptions();
    expectFlags(options, {true, true, false});
    EXPECT_EQ(options.backupDir, dir.filePath(QStringLiteral("backup")));
}

TEST_F(Settings, AnExistingFileGetsOnlyTheTransferKeysItLacks)
{
    const char* before = "; comment\n[PORTS]\nCOM3=/dev/ttyUSB0\n[transfer]\nFAST=1\n\n"
                         "[VEMBLOR]\nPORT_NO=COM2\nOTHER=x\n";
    writeAll(ini(), before);
    loadSettings();
    const QByteArray after = readFile(ini());
    EXPECT_EQ(after, QByteArray("; comment\n[PORTS]\nCOM3=/dev/ttyUSB0\n[transfer]\nFAST=1\n"
                                "BACKUP=1\nVERIFY=1\n\n[VEMBLOR]\nPORT_NO=COM2\nOTHER=x\n"));
    EXPECT_EQ(appState().portNo, 1);
    expectFlags(loadTransferOptions(), {true, true, true});
    loadSettings(); // the next start finds every key
    EXPECT_EQ(readFile(ini()), after);
}

TEST_F(Settings, TransferValuesFromTheFile)
{
    const std::pair<const char*, Flags> cases[] = {
        {"BACKUP=0\nVERIFY=0\nFAST=1\n", {false, false, true}},
        {"BACKUP=1\nVERIFY=1\nFAST=0\n", {true, true, false}},
        {"backup = 0\nFast= 1 \n", {false, true, true}},
        // Anything but 0 or 1 keeps the default rather than guessing.
        {"BACKUP=no\nVERIFY=\nFAST=2\n", {true, true, false}},
        {"BACKUP=00\nVERIFY=-1\nFAST=1x\n", {true, true, false}},
        {"", {true, true, false}},
    };
    for (const auto& [keys, flags] : cases) {
        SCOPED_TRACE(keys);
        writeAll(ini(), (QByteArray("[VEMBLOR]\nPORT_NO=COM1\n[TRANSFER]\n") + keys).constData());
        expectFlags(loadTransferOptions(), flags);
    }
}

TEST_F(Settings, SavedTransferOptionsComeBackAndTheRestStays)
{
    writeAll(ini(),
             "[VEMBLOR]\nPORT_NO=COM4\n[TRANSFER]\nVERIFY=1\nNOTE=kept\n[PORTS]\nCOM4=/dev/x\n");
    loadSettings();
    const Flags saved[] = {{false, true, true}, {true, false, false}, {false, false, false}};
    for (Flags flags : saved) {
        TransferOptions options;
        options.backup = flags.backup;
        options.verify = flags.verify;
        options.fast = flags.fast;
        options.backupDir = QStringLiteral("/elsewhere"); // not a setting
        ASSERT_TRUE(saveTransferOptions(options));
        const TransferOptions loaded = loadTransferOptions();
        expectFlags(loaded, flags);
        EXPECT_EQ(loaded.backupDir, dir.filePath(QStringLiteral("backup")));
    }
    const QString text = QString::fromUtf8(readFile(ini()));
    EXPECT_TRUE(text.contains(QStringLiteral("NOTE=kept\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("[PORTS]\nCOM4=/dev/x\n")));
    EXPECT_TRUE(text.startsWith(QStringLiteral("[VEMBLOR]\nPORT_NO=COM4\n")));
    for (const char* key : {"BACKUP=", "VERIFY=", "FAST=", "[TRANSFER]"})
        EXPECT_EQ(text.count(QString::fromLatin1(key)), 1) << key;
    EXPECT_FALSE(text.contains(QStringLiteral("elsewhere")));
}

TEST_F(Settings, SavingTransferOptionsThatCannotBeWrittenSaysSo)
{
    ASSERT_TRUE(QDir().mkdir(ini())); // a folder where the file should be
    EXPECT_FALSE(saveTransferOptions(TransferOptions{}));
}

} // namespace
