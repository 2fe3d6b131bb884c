#include "app/core/profile.h"
#include "app/core/settings.h"
#include "tests/support/start_dir_test.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <functional>

namespace {

void writeAll(const QString& path, const char* text)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
}

using SettingsFile = StartDirTest;

TEST_F(SettingsFile, FirstStartCreatesTheFileWithCom1AndThePath)
{
    settings.load();
    EXPECT_EQ(settings.folder(), dir.path());
    EXPECT_EQ(settings.portInUse(), 0);
    EXPECT_EQ(readProfileString(ini(), QStringLiteral("VEMBLOR"), QStringLiteral("PORT_NO")),
              QStringLiteral("COM1"));
    EXPECT_EQ(readProfileString(ini(), QStringLiteral("VEMBLOR"), QStringLiteral("PATH")),
              QDir::toNativeSeparators(dir.path()));
    EXPECT_TRUE(QString::fromUtf8(readFile(ini())).startsWith(QStringLiteral("[VEMBLOR]\n")));
}

TEST_F(SettingsFile, PortNumberFromTheFile)
{
    writeAll(ini(), "[VEMBLOR]\r\nPORT_NO=COM7\r\nPATH=C:\\old\r\n");
    settings.load();
    EXPECT_EQ(settings.portInUse(), 6);
    EXPECT_EQ(settings.portNo(), 6);
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

TEST_F(SettingsFile, SavingKeepsOtherSectionsAndKeys)
{
    writeAll(ini(), "; comment\n[PORTS]\nCOM3=/dev/ttyUSB0\n[vemblor]\nPORT_NO=COM2\nOTHER=1\n");
    settings.load();
    EXPECT_EQ(settings.portInUse(), 1);
    settings.setPortNo(2);
    settings.save();
    const QString text = QString::fromUtf8(readFile(ini()));
    EXPECT_TRUE(text.contains(QStringLiteral("; comment\n[PORTS]\nCOM3=/dev/ttyUSB0\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("PORT_NO=COM3\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("OTHER=1\n")));
    EXPECT_EQ(text.count(QStringLiteral("PORT_NO")), 1);
    EXPECT_EQ(settings.portDevicePath(2), QStringLiteral("/dev/ttyUSB0"));
    EXPECT_EQ(settings.portDevicePath(0), QStringLiteral("/dev/ttyS0"));
    EXPECT_EQ(settings.portDevicePath(49), QStringLiteral("/dev/ttyS49"));
}

TEST_F(SettingsFile, OverriddenPortInUseComesBeforeTheFileAndIsNeverSaved)
{
    writeAll(ini(), "[PORTS]\nCOM3=/dev/ttyUSB0\n[VEMBLOR]\nPORT_NO=COM3\n");
    settings.load();
    settings.overridePortInUse(QStringLiteral("/dev/pts/7"));
    EXPECT_EQ(settings.portDevicePath(2), QStringLiteral("/dev/pts/7"));
    EXPECT_EQ(settings.portDevicePath(1), QStringLiteral("/dev/ttyS1"));
    settings.setPortNo(2);
    settings.save();
    EXPECT_FALSE(QString::fromUtf8(readFile(ini())).contains(QStringLiteral("/dev/pts")));
    // The override goes with the port in use.
    settings.setPortInUse(1);
    EXPECT_EQ(settings.portDevicePath(1), QStringLiteral("/dev/pts/7"));
    EXPECT_EQ(settings.portDevicePath(2), QStringLiteral("/dev/ttyUSB0"));
    settings.overridePortInUse(QString());
    EXPECT_EQ(settings.portDevicePath(1), QStringLiteral("/dev/ttyS1"));
}

// A device chosen from the system's list becomes a port through a PORTS entry, which the next
// start reads back: the choice needs no hand edit and survives a restart.
TEST_F(SettingsFile, ADeviceOfTheSystemIsMappedToAPortAndReadBack)
{
    settings.load();
    EXPECT_EQ(
        settings.portForDevice(QStringLiteral("/dev/ttyUSB0"), {QStringLiteral("/dev/ttyUSB0")}),
        0);
    settings.setPortNo(0);
    settings.save();
    EXPECT_EQ(readProfileString(ini(), QStringLiteral("PORTS"), QStringLiteral("COM1")),
              QStringLiteral("/dev/ttyUSB0"));
    Settings next;
    next.load();
    EXPECT_EQ(next.portDevicePath(next.portInUse()), QStringLiteral("/dev/ttyUSB0"));
}

TEST_F(SettingsFile, APortForADeviceKeepsEveryOtherPortAsItWas)
{
    writeAll(ini(), "[PORTS]\nCOM2=/dev/ttyACM0\n[VEMBLOR]\nPORT_NO=COM2\n"
                    "[TRANSFER]\nBACKUP=1\nVERIFY=1\nFAST=0\n");
    settings.load();
    const QStringList present = QString::fromUtf8("/dev/ttyS0 /dev/ttyACM0 /dev/ttyS2 /dev/ttyUSB0")
                                    .split(QLatin1Char(' '));
    // COM1 stands for /dev/ttyS0, which the system has, COM2 is mapped already and COM3 stands
    // for /dev/ttyS2: COM4 is the first port that hides nothing.
    EXPECT_EQ(settings.portForDevice(QStringLiteral("/dev/ttyUSB0"), present), 3);
    const QByteArray mapped = readFile(ini());
    EXPECT_EQ(QString::fromUtf8(mapped),
              QStringLiteral("[PORTS]\nCOM2=/dev/ttyACM0\nCOM4=/dev/ttyUSB0\n[VEMBLOR]\n"
                             "PORT_NO=COM2\n[TRANSFER]\nBACKUP=1\nVERIFY=1\nFAST=0\n"));
    // Devices that have a port already keep it, and nothing more is written.
    const std::pair<const char*, int> known[] = {
        {"/dev/ttyUSB0", 3}, {"/dev/ttyACM0", 1}, {"/dev/ttyS0", 0}, {"/dev/ttyS2", 2}};
    for (auto [device, index] : known)
        EXPECT_EQ(settings.portForDevice(QString::fromUtf8(device), present), index) << device;
    EXPECT_EQ(readFile(ini()), mapped);
}

TEST_F(SettingsFile, NoPortForADeviceWhenAllAreTakenOrTheFileIsReadOnly)
{
    QByteArray full = "[PORTS]\n";
    for (int index = 0; index < PORT_COUNT; ++index)
        full +=
            portDisplayName(index).toLatin1() + "=/dev/ttyACM" + QByteArray::number(index) + '\n';
    writeAll(ini(), full.constData());
    settings.load();
    EXPECT_EQ(settings.portForDevice(QStringLiteral("/dev/ttyUSB0"), {}), -1);
    EXPECT_FALSE(readFile(ini()).contains("ttyUSB0"));

    writeAll(ini(), "[VEMBLOR]\nPORT_NO=COM1\n[TRANSFER]\nBACKUP=1\nVERIFY=1\nFAST=0\n");
    const QByteArray before = readFile(ini());
    ASSERT_TRUE(QFile::setPermissions(ini(), QFileDevice::ReadOwner));
    EXPECT_EQ(settings.portForDevice(QStringLiteral("/dev/ttyUSB0"), {}), -1);
    EXPECT_EQ(readFile(ini()), before);
    QFile::setPermissions(ini(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
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

TEST_F(SettingsFile, FirstStartWritesTheTransferDefaults)
{
    settings.load();
    EXPECT_EQ(QString::fromUtf8(readFile(ini())),
              QStringLiteral("[VEMBLOR]\nPORT_NO=COM1\nPATH=%1\n"
                             "[TRANSFER]\nBACKUP=1\nVERIFY=1\nFAST=0\n")
                  .arg(QDir::toNativeSeparators(dir.path())));
    const TransferOptions options = settings.transferOptions();
    expectFlags(options, {true, true, false});
    EXPECT_EQ(options.backupDir, dir.filePath(QStringLiteral("backup")));
}

TEST_F(SettingsFile, AnExistingFileGetsOnlyTheTransferKeysItLacks)
{
    const char* before = "; comment\n[PORTS]\nCOM3=/dev/ttyUSB0\n[transfer]\nFAST=1\n\n"
                         "[VEMBLOR]\nPORT_NO=COM2\nOTHER=x\n";
    writeAll(ini(), before);
    settings.load();
    const QByteArray after = readFile(ini());
    EXPECT_EQ(after, QByteArray("; comment\n[PORTS]\nCOM3=/dev/ttyUSB0\n[transfer]\nFAST=1\n"
                                "BACKUP=1\nVERIFY=1\n\n[VEMBLOR]\nPORT_NO=COM2\nOTHER=x\n"));
    EXPECT_EQ(settings.portInUse(), 1);
    expectFlags(settings.transferOptions(), {true, true, true});
    settings.load(); // the next start finds every key
    EXPECT_EQ(readFile(ini()), after);
}

TEST_F(SettingsFile, TransferValuesFromTheFile)
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
        expectFlags(settings.transferOptions(), flags);
    }
}

TEST_F(SettingsFile, SavedTransferOptionsComeBackAndTheRestStays)
{
    writeAll(ini(),
             "[VEMBLOR]\nPORT_NO=COM4\n[TRANSFER]\nVERIFY=1\nNOTE=kept\n[PORTS]\nCOM4=/dev/x\n");
    settings.load();
    const Flags saved[] = {{false, true, true}, {true, false, false}, {false, false, false}};
    for (Flags flags : saved) {
        TransferOptions options;
        options.backup = flags.backup;
        options.verify = flags.verify;
        options.fast = flags.fast;
        options.backupDir = QStringLiteral("/elsewhere"); // not a setting
        ASSERT_TRUE(settings.saveTransferOptions(options));
        const TransferOptions loaded = settings.transferOptions();
        expectFlags(loaded, flags);
        EXPECT_EQ(loaded.backupDir, dir.filePath(QStringLiteral("backup")));
        EXPECT_EQ(loaded.syncStateDir, dir.filePath(QStringLiteral("sync")));
    }
    const QString text = QString::fromUtf8(readFile(ini()));
    EXPECT_TRUE(text.contains(QStringLiteral("NOTE=kept\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("[PORTS]\nCOM4=/dev/x\n")));
    EXPECT_TRUE(text.startsWith(QStringLiteral("[VEMBLOR]\nPORT_NO=COM4\n")));
    for (const char* key : {"BACKUP=", "VERIFY=", "FAST=", "[TRANSFER]"})
        EXPECT_EQ(text.count(QString::fromLatin1(key)), 1) << key;
    EXPECT_FALSE(text.contains(QStringLiteral("elsewhere")));
}

TEST_F(SettingsFile, SavingTransferOptionsThatCannotBeWrittenSaysSo)
{
    ASSERT_TRUE(QDir().mkdir(ini())); // a folder where the file should be
    EXPECT_FALSE(settings.saveTransferOptions(TransferOptions{}));
}

} // namespace

namespace {

// PATH=C:\電話帳\データ in Shift-JIS, as the program's Windows ancestors wrote it.
const QByteArray SJIS_PATH = "PATH=C:\\\x93\x64\x98\x62\x92\xA0\\\x83\x66\x81\x5B\x83\x5E";

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

// The missing transfer keys are added in the file's own encoding and line ends, at the end of
// its [TRANSFER] section (a new section at the end of the file when it has none); every other
// byte stays.
TEST_F(SettingsFile, MissingTransferKeysAreAddedAndEveryOtherByteStays)
{
    const struct {
        const char* what;
        QByteArray before;
        QByteArray after;
    } cases[] = {
        {"Shift-JIS CR LF, [TRANSFER] last",
         "[VEMBLOR]\r\nPORT_NO=COM2\r\n" + SJIS_PATH + "\r\n[TRANSFER]\r\nFAST=1\r\n",
         "[VEMBLOR]\r\nPORT_NO=COM2\r\n" + SJIS_PATH +
             "\r\n[TRANSFER]\r\nFAST=1\r\nBACKUP=1\r\nVERIFY=1\r\n"},
        {"Shift-JIS CR LF, no [TRANSFER], no line end at the end",
         "[VEMBLOR]\r\nPORT_NO=COM2\r\n" + SJIS_PATH,
         "[VEMBLOR]\r\nPORT_NO=COM2\r\n" + SJIS_PATH +
             "\r\n[TRANSFER]\r\nBACKUP=1\r\nVERIFY=1\r\nFAST=0\r\n"},
        {"Shift-JIS CR LF, [TRANSFER] first",
         "; \x83\x52\x83\x81\x83\x93\x83\x67\r\n[TRANSFER]\r\nVERIFY=0\r\n\r\n[VEMBLOR]\r\n"
         "PORT_NO=COM2\r\n" +
             SJIS_PATH + "\r\n",
         "; \x83\x52\x83\x81\x83\x93\x83\x67\r\n[TRANSFER]\r\nVERIFY=0\r\nBACKUP=1\r\nFAST=0\r\n"
         "\r\n[VEMBLOR]\r\nPORT_NO=COM2\r\n" +
             SJIS_PATH + "\r\n"},
        {"UTF-8 with a mark, CR LF",
         "\xEF\xBB\xBF[VEMBLOR]\r\nPORT_NO=COM2\r\nPATH=C:\\\xE9\x9B\xBB\xE8\xA9\xB1\r\n",
         "\xEF\xBB\xBF[VEMBLOR]\r\nPORT_NO=COM2\r\nPATH=C:\\\xE9\x9B\xBB\xE8\xA9\xB1\r\n"
         "[TRANSFER]\r\nBACKUP=1\r\nVERIFY=1\r\nFAST=0\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        writeBytes(ini(), c.before);
        settings.load();
        EXPECT_EQ(readFile(ini()), c.after);
        EXPECT_EQ(settings.portNo(), 1);
        EXPECT_TRUE(settings.problem().isEmpty());
        settings.load(); // the next start finds every key and writes nothing
        EXPECT_EQ(readFile(ini()), c.after);
    }
}

// Saving the port keeps the file's encoding too: the Shift-JIS path next to it survives.
TEST_F(SettingsFile, SavingThePortKeepsAShiftJisFile)
{
    const QByteArray before = "[VEMBLOR]\r\nPORT_NO=COM2\r\n" + SJIS_PATH +
                              "\r\n[TRANSFER]\r\nBACKUP=1\r\nVERIFY=1\r\nFAST=0\r\n";
    writeBytes(ini(), before);
    settings.load();
    settings.setPortNo(4);
    settings.save();
    QByteArray expected = before;
    expected.replace(SJIS_PATH, "PATH=" + QDir::toNativeSeparators(dir.path()).toUtf8());
    expected.replace("COM2", "COM5");
    EXPECT_EQ(readFile(ini()), expected);
}

// A read-only file is left as it is, also for root, whom the system would let replace it; the
// defaults then apply in memory.
TEST_F(SettingsFile, AReadOnlyFileIsLeftAsItIs)
{
    const QByteArray before = "[VEMBLOR]\r\nPORT_NO=COM4\r\n" + SJIS_PATH + "\r\n";
    writeBytes(ini(), before);
    const QFileDevice::Permissions readOnly =
        QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;
    // The mode bits alone; the "User" flags say what the process may do, which for root is all.
    const auto modeBits = [this] {
        return QFile::permissions(ini()) &
               ~(QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser);
    };
    ASSERT_TRUE(QFile::setPermissions(ini(), readOnly));
    const QDateTime modified = QFileInfo(ini()).lastModified();
    settings.load();
    EXPECT_EQ(readFile(ini()), before);
    EXPECT_EQ(QFileInfo(ini()).lastModified(), modified);
    EXPECT_EQ(modeBits(), readOnly);
    EXPECT_EQ(settings.portNo(), 3);
    expectFlags(settings.transferOptions(), {true, true, false});
    EXPECT_FALSE(settings.saveTransferOptions(TransferOptions{}));
    settings.setPortNo(0);
    settings.save();
    EXPECT_EQ(readFile(ini()), before);
    QFile::setPermissions(ini(), readOnly | QFileDevice::WriteOwner);
}

// A file larger than a settings file can be is not read (which took seconds) and not touched,
// and the program says so; the defaults apply. A file of the largest size is still read.
TEST_F(SettingsFile, AnOversizedFileIsNeitherReadNorTouched)
{
    const QByteArray head = "[VEMBLOR]\nPORT_NO=COM5\n";
    for (const qint64 size : {MAX_PROFILE_FILE, MAX_PROFILE_FILE + 1, qint64(20) << 20}) {
        SCOPED_TRACE(size);
        const QByteArray before = head + QByteArray(size - head.size() - 1, ';') + '\n';
        writeBytes(ini(), before);
        settings.load();
        if (size == MAX_PROFILE_FILE) {
            EXPECT_TRUE(settings.problem().isEmpty());
            EXPECT_EQ(settings.portNo(), 4);
            continue;
        }
        EXPECT_EQ(settings.problem(),
                  QStringLiteral("設定ファイル Vemblor.ini が1MBを超えている為、読み込みません。"
                                 "既定の設定（COM1、転送設定の既定値）を使い、"
                                 "ファイルは変更しません。"));
        EXPECT_EQ(settings.portNo(), 0);
        EXPECT_EQ(readFile(ini()), before);
        expectFlags(settings.transferOptions(), {true, true, false});
        EXPECT_FALSE(settings.saveTransferOptions(TransferOptions{}));
        settings.save();
        EXPECT_EQ(readFile(ini()), before);
    }
}

// UTF-16 (or anything with NUL bytes) cannot be searched line by line: not read, not touched.
TEST_F(SettingsFile, AFileInUtf16IsNeitherReadNorTouched)
{
    const QString text = QStringLiteral("[VEMBLOR]\r\nPORT_NO=COM5\r\n");
    const QByteArray before =
        QByteArray("\xFF\xFE") +
        QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    writeBytes(ini(), before);
    settings.load();
    EXPECT_FALSE(settings.problem().isEmpty());
    EXPECT_EQ(readFile(ini()), before);
}

// A folder or a pipe where the file should be is not read (a pipe would hold the start until
// something wrote to it) and stays as it is.
TEST_F(SettingsFile, SomethingOtherThanAFileIsNeitherReadNorTouched)
{
    const std::pair<const char*, std::function<bool()>> cases[] = {
        {"folder", [this] { return QDir().mkdir(ini()); }},
        {"pipe", [this] { return mkfifo(QFile::encodeName(ini()).constData(), 0644) == 0; }},
    };
    for (const auto& [what, make] : cases) {
        SCOPED_TRACE(what);
        ASSERT_TRUE(make());
        settings.load();
        EXPECT_EQ(
            settings.problem(),
            QStringLiteral("設定ファイル Vemblor.ini が通常のファイルではない為、読み込みません。"
                           "既定の設定（COM1、転送設定の既定値）を使います。"));
        EXPECT_EQ(settings.portNo(), 0);
        EXPECT_FALSE(QFileInfo(ini()).isFile());
        EXPECT_TRUE(QFileInfo::exists(ini()));
        EXPECT_EQ(settings.transferOptions().verify, true);
        ASSERT_TRUE(QDir().rmdir(ini()) || QFile::remove(ini()));
    }
}

} // namespace
