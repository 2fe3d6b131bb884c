#pragma once
// The remembered settings, kept in "Vemblor.ini" in the directory the program was started in:
// the COM port (section "VEMBLOR", keys PORT_NO and PATH) and how transfers run (section
// "TRANSFER", keys BACKUP, VERIFY and FAST, each "1" or "0"). Section "PORTS" may map a port
// name to a device, for example COM3=/dev/ttyUSB0.

#include "device/core/transfer_options.h"

#include <QString>

constexpr int PORT_COUNT = 50; // COM1 ... COM50

// The working directory captured by loadSettings; the manual is looked for there too.
QString& startDir();
// The port index last read from or written to the settings file.
int& savedPortNo();

QString settingsFilePath();

// Reads the settings file of the current working directory, or creates it with COM1; the
// transfer keys missing from it are added with their defaults.
void loadSettings();
// Writes PORT_NO from savedPortNo and PATH from startDir.
void saveSettings();

// The transfer options of the settings file, with backupDir the folder "backup" beside it. A
// key that is missing or neither "0" nor "1" gives its default.
TransferOptions loadTransferOptions();
// Writes BACKUP, VERIFY and FAST (backupDir is not a setting); false when the file could not be
// written.
bool saveTransferOptions(const TransferOptions& options);

// "COM1" ... "COM50" for 0 ... 49.
QString portDisplayName(int index);
// The index of a PORT_NO value: "COM7" gives 6. A missing, short, malformed or out-of-range
// value gives 0 (COM1), so no index outside 0-49 ever reaches a port.
int parsePortNo(const QString& value);
// The device behind a port index: the override when it is the port in use, then the PORTS entry of
// the settings file, otherwise \\.\COMn on Windows and /dev/ttyS(n-1) elsewhere.
QString portDevicePath(int index);
// Puts device behind the port in use (AppState.portNo), whichever port that is now or is chosen
// later, ahead of the settings file and never written to it (the demo's simulated handset); an
// empty device ends the override.
void overridePortInUse(const QString& device);
