#pragma once
// The list window's commands for smartphones and address-book services: 連絡先の取り込み…
// replaces the book with the contacts of a file and shows what the import changed;
// スマートフォン用に書き出し… writes the book as vCard 3.0 or CSV.

#include "exchange/core/contact_completion.h"

class CTelListDlg;

// proposer, when given, offers readings for contacts whose file gave none.
void importContacts(CTelListDlg& list, const ReadingProposer& proposer = {});
void exportForSmartphones(CTelListDlg& list);
