#pragma once
// Whether the phone book holds changes that would be lost on exit. The book as it was last
// saved, imported or read from the handset is remembered by a fingerprint of its entries' fields,
// so every way of changing the book counts (the editor, 削除, commands added later) without each
// of them having to report it, and a change undone, or an entry stored as it was, is no change.

#include <QByteArray>

struct TelBook;

// What the unsaved-changes rule compares: the entries in use as they are shown, saved and
// written, so a byte behind a field's end or the kind of a free slot makes no difference.
QByteArray bookFingerprint(const TelBook& book);
