#pragma once
// The list window's 携帯電話と同期: the handset's book and the window's book brought together
// through a preview the user confirms.

#include "device/core/transfer_options.h"

class CTelListDlg;
class QString;

// Reads the handset, plans the sync against the state kept in options.syncStateDir and shows
// the preview. OK writes the handset's new book with its backup and check; only once the check
// passed does the merged book replace the window's book (one step 元に戻す takes back) and the
// state get replaced. キャンセル, a stop by the guards, a failed read or write change neither
// side. A model that can only be read syncs handset → PC.
void syncWithHandset(CTelListDlg& list, const QString& device, const TransferOptions& options);
