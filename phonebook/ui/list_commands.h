#pragma once
// The list window's commands that other subsystems carry out (editor, files, handset). The
// application fills the table (app/ui/install_commands.cpp) and hands it to the window; a
// command left empty does nothing.

#include <functional>

class CTelListDlg;

struct ListCommands {
    using Command = std::function<void(CTelListDlg&)>;
    Command importVCard;          // vCard インポート
    Command importCsv;            // CSV インポート
    Command importContacts;       // 連絡先の取り込み…
    Command exportForSmartphones; // スマートフォン用に書き出し…
    Command save;                 // 保存
    Command saveAs;               // 名前を付けて保存
    Command edit;                 // 編集 and double-click on a row
    Command add;                  // 追加
    Command reviewReadings;       // フリガナを付け直す…
    Command tidyDuplicates;       // 重複の整理…
    Command deviceRead;           // 読み込み
    Command deviceWrite;          // 書き込み
    Command deviceSync;           // 携帯電話と同期
    Command restoreBackup;        // バックアップから書き戻す…
};
