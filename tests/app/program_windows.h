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

// The list window over a book of its own, as the main window hands its book down.
inline std::unique_ptr<QDialog> openListWindow()
{
    auto* document = new BookDocument;
    auto window = std::make_unique<CTelListDlg>(*document);
    document->setParent(window.get());
    return window;
}

// The CSV dialog filling a book of its own on 決定.
inline std::unique_ptr<QDialog> openCsvDialog()
{
    static TelBook assigned;
    return std::make_unique<CCsvEdit>(assigned);
}

inline std::vector<ProgramWindow> programWindows()
{
    return {
        {"main window", [] { return std::make_unique<CVemblorDlg>(); }, ID_MAIN_EXIT},
        {"list window", openListWindow, ID_LIST_CANCEL},
        {"entry editor", [] { return std::make_unique<CTelEditDlg>(); }, ID_EDIT_DECIDE},
        {"CSV dialog", openCsvDialog, ID_CSV_DELETE},
        {"port dialog", [] { return std::make_unique<CPortDlg>(); }},
        {"version dialog", [] { return std::make_unique<CVersionDlg>(); }},
    };
}
