#pragma once
// The demo: the simulated handset, holding the sample phone book, on a pseudo-terminal that
// stands in for one COM port while this object lives, so 読み込み and 書き込み can be tried
// without a handset. The pseudo-terminal never reaches the settings file.

#include "device/emulator/pty_handset.h"

class DemoHandset {
public:
    DemoHandset();
    // Ends the override of the port and stops the handset.
    ~DemoHandset();
    DemoHandset(const DemoHandset&) = delete;
    DemoHandset& operator=(const DemoHandset&) = delete;

    // Starts the handset behind port index; false when no pseudo-terminal could be had.
    bool attach(int portIndex);
    PtyHandset& handset() { return handset_; }

private:
    PtyHandset handset_;
    int portIndex_ = -1;
};
