#pragma once
// The serial port the program uses.

#include <cstdint>

struct AppState {
    std::int32_t portNo = 0; // zero-based COM port index, 0 = COM1 ... 49 = COM50
};

AppState& appState();
