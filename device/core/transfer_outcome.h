#pragma once
// How a transfer ended, as a value: what the dialog and the command-line tool report and what
// the tool's exit status comes from.

#include <cstdint>

enum class TransferOutcome : std::uint8_t {
    Copied,                // the read or the write completed
    Verified,              // the write completed and reading it back gave the same book
    CheckFoundDifferences, // the write went through but the book read back differs
    WrittenNotChecked,     // every entry was written, but the read-back for the check failed
    CopiedLeftInDataMode,  // the copy completed, but leaving data-transfer mode failed after it
    Failed,                // the transfer ended with a failure message
    Stopped,               // the transfer was cancelled from outside
};

// True for the outcomes that are a whole copy (Copied, Verified, CopiedLeftInDataMode).
inline bool bookCopied(TransferOutcome outcome)
{
    return outcome == TransferOutcome::Copied || outcome == TransferOutcome::Verified ||
           outcome == TransferOutcome::CopiedLeftInDataMode;
}
