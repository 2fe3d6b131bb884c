#pragma once
// State shared between the list window and the dialogs that carry out its commands.

#include <QString>

#include <cstdint>

enum OperationCode : std::int32_t {
    OP_NONE = 0,
    OP_NEW = 1,
    OP_IMPORT_VCARD = 2,
    OP_IMPORT_CSV = 3,
    OP_SAVE = 4,
    OP_SAVE_AS = 5,
    OP_EDIT = 6,
    OP_ADD = 7,
    OP_DELETE = 8,
    OP_DEVICE_WRITE = 9,
    OP_DEVICE_READ = 10,
};

struct AppState {
    OperationCode operation = OP_NONE; // the list-window command in progress
    std::int32_t selectedIndex = -1;   // entry the editor loads and stores; -1 = none
    std::int32_t resultFlag = 0;       // handed back by the transfer dialog
    std::int32_t portNo = 0;           // zero-based COM port index, 0 = COM1 ... 49 = COM50
    QString filePath;                  // current vCard file; empty = none
};

AppState& appState();

// Sets operation for the lifetime of a command and puts OP_NONE back on every way out.
class OperationScope {
public:
    explicit OperationScope(OperationCode code = OP_NONE) { appState().operation = code; }
    ~OperationScope() { appState().operation = OP_NONE; }
    OperationScope(const OperationScope&) = delete;
    OperationScope& operator=(const OperationScope&) = delete;
};
