#pragma once
// The remembered settings, kept in "Vemblor.ini" in the directory the program was started in:
// the COM port (section "VEMBLOR", keys PORT_NO and PATH) and how transfers run (section
// "TRANSFER", keys BACKUP, VERIFY and FAST, each "1" or "0"). Section "PORTS" may map a port
// name to a device, for example COM3=/dev/ttyUSB0.

#include "device/core/serial_devices.h"
#include "device/core/transfer_options.h"

#include <QString>
#include <QStringList>

constexpr int PORT_COUNT = 50; // COM1 ... COM50

// The settings the program runs with: the folder of the settings file, the port last read from or
// written to it, and the device that may stand in for the port in use. The program makes one and
// hands it to the windows and commands that need the port or the folder.
class Settings {
public:
    // Settings whose folder is taken by load().
    Settings() = default;
    // Settings of the file in folder, read on use without load() (nothing is created).
    explicit Settings(const QString& folder) : folder_(folder) {}

    // Takes the current working directory as the folder and reads its settings file, or creates
    // it with COM1; the transfer keys missing from it are added with their defaults in the file's
    // own encoding and line ends. A file that cannot be written is left as it is, and a file that
    // is not read (problem() says why) is not touched at all: the defaults apply in memory.
    void load();
    // Writes PORT_NO from portNo() and PATH from folder().
    void save();

    // The folder of Vemblor.ini, where the program also keeps its backups and looks for the manual.
    const QString& folder() const { return folder_; }
    QString filePath() const;
    // Why the settings file is not read (larger than a settings file can be, no file, not text),
    // for the user; empty when it can be read or does not exist yet.
    QString fileProblem() const;

    // The transfer options of the settings file, with backupDir the folder "backup" beside it. A
    // key that is missing or neither "0" nor "1" gives its default.
    TransferOptions transferOptions() const;
    // Writes BACKUP, VERIFY and FAST (backupDir is not a setting); false when the file could not
    // be written.
    bool saveTransferOptions(const TransferOptions& options) const;

    // The index (0-49) of the port last read from or written to the settings file.
    int portNo() const { return portNo_; }
    void setPortNo(int index) { portNo_ = index; }
    // The index of the port in use: portNo() once loaded, and the port chosen in the port
    // dialog while it is tested.
    int portInUse() const { return portInUse_; }
    void setPortInUse(int index) { portInUse_ = index; }
    // Why load did not read the file, or empty.
    const QString& problem() const { return problem_; }

    // The device behind a port index: the override when it is the port in use, then the PORTS
    // entry of the settings file, otherwise \\.\COMn on Windows and /dev/ttyS(n-1) elsewhere.
    QString portDevicePath(int index) const;
    // Puts device behind the port in use (portInUse()), whichever port that is now or is
    // chosen later, ahead of the settings file and never written to it (the demo's simulated
    // handset); an empty device ends the override.
    void overridePortInUse(const QString& device) { portInUseOverride_ = device; }

    // The port whose device is device, so that a device chosen from the system's list is
    // remembered as a port: the first port the PORTS section maps to it, else the port whose
    // default device it is (when no PORTS entry redirects that port), else the first port without
    // a PORTS entry whose default device is none of present (so no device the system has loses
    // its port), which is then mapped to device in the settings file. -1 when every port is
    // taken or the entry could not be written.
    int portForDevice(const QString& device, const QStringList& present);

    // The serial devices the system has; tests give pseudo-terminals instead.
    QList<SerialDevice> serialDevices() const { return serialDevices_(); }
    void setSerialDeviceSource(SerialDeviceSource source) { serialDevices_ = std::move(source); }

private:
    void addMissingTransferKeys() const;
    // The PORTS entry of the port, or its default device; the override left out.
    QString configuredDevicePath(int index) const;

    QString folder_;
    SerialDeviceSource serialDevices_ = systemSerialDevices;
    int portNo_ = 0;
    int portInUse_ = 0;
    QString portInUseOverride_;
    QString problem_;
};

// The device of a port no PORTS entry maps: \\.\COMn on Windows, /dev/ttyS(n-1) elsewhere.
QString defaultDevicePath(int index);

// "COM1" ... "COM50" for 0 ... 49.
QString portDisplayName(int index);
// The index of a PORT_NO value: "COM7" gives 6. A missing, short, malformed or out-of-range
// value gives 0 (COM1), so no index outside 0-49 ever reaches a port.
int parsePortNo(const QString& value);
