#pragma once
// The steps around a write: the handset's book kept before the erase, and read back and
// compared after the write. The conversation itself is in transfer_session.

#include "device/core/transfer_session.h"

#include <QString>

#include <memory>

class TransferHost;

// "バックアップ中", "書き込み中" or "確認中", with the number of entries when it is known.
QString stepLabel(const TransferSession& session, int entries = -1);

// The erase question, naming the file the handset's book was kept in (or saying it was empty).
QString eraseQuestion(const TransferSession& session);

// The entries read so far (entryIndex of them) as a book of their own; the staging is emptied.
std::unique_ptr<TelBook> takeStagedBook(TransferSession& session);

// The backup read is complete: the host keeps it; on success the write follows.
void keepBackup(TransferSession& session, TransferHost& host);

// The read-back is complete: the success message when it matches what was written, else the
// differences.
void checkWrittenBook(TransferSession& session, TransferHost& host);
