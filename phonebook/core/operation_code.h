#pragma once
// The list-window commands that run a longer task; the progress window and the handset
// transfer name their task after it.

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
