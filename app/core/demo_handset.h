#pragma once
// The demo: the simulated handset, holding the sample phone book, on a pseudo-terminal that
// stands in for the COM port in use (also one chosen later in the port dialog) while this object
// lives, so 読み込み and 書き込み can be tried without a handset. The pseudo-terminal never
// reaches the settings file.

#include "device/emulator/pty_handset.h"

class Settings;

class DemoHandset {
public:
    // settings: whose port in use the handset stands behind; it must outlive this object.
    explicit DemoHandset(Settings& settings);
    // Ends the override of the port and stops the handset.
    ~DemoHandset();
    DemoHandset(const DemoHandset&) = delete;
    DemoHandset& operator=(const DemoHandset&) = delete;

    // Starts the handset behind the port in use; false when no pseudo-terminal could be had.
    bool attach();
    PtyHandset& handset() { return handset_; }

private:
    Settings& settings_;
    PtyHandset handset_;
    bool attached_ = false;
};
