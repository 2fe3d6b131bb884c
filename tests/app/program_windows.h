#pragma once
// The program's windows with a title bar, each opened on the shared state as its command opens
// it, with a command on its menu bar (none for a window without a menu bar).

#include "app/ui/main_dlg.h"
#include "app/ui/port_dlg.h"
#include "app/ui/version_dlg.h"
#include "exchange/ui/csv_edit_dlg.h"
#include "phonebook/ui/tel_edit_dlg.h"
#include "phonebook/ui/tel_list_dlg.h"

#include <functional>
#include <memory>
#include <vector>

struct ProgramWindow {
    const char* name;
    std::function<std::unique_ptr<QDialog>()> open;
    int command = 0;
};

// The CSV dialog on an empty import of its own, which goes with the dialog.
inline std::unique_ptr<QDialog> openCsvDialog()
{
    auto csv = std::make_shared<CsvImport>();
    auto dialog = std::make_unique<CCsvEdit>(*csv);
    QObject::connect(dialog.get(), &QObject::destroyed, [csv] {});
    return dialog;
}

inline std::vector<ProgramWindow> programWindows()
{
    return {
        {"main window", [] { return std::make_unique<CVemblorDlg>(); }, ID_MAIN_EXIT},
        {"list window", [] { return std::make_unique<CTelListDlg>(); }, ID_LIST_CANCEL},
        {"entry editor", [] { return std::make_unique<CTelEditDlg>(); }, ID_EDIT_DECIDE},
        {"CSV dialog", openCsvDialog, ID_CSV_DELETE},
        {"port dialog", [] { return std::make_unique<CPortDlg>(); }},
        {"version dialog", [] { return std::make_unique<CVersionDlg>(); }},
    };
}
