#pragma once
// The program's windows with a title bar, each opened on the shared state (and the settings it
// is handed) as its command opens it, with a command on its menu bar (none for a window without a
// menu bar).

#include "app/core/settings.h"
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
    std::function<std::unique_ptr<QDialog>(Settings&)> open;
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

// The CSV dialog on csv, filling a book of its own on 決定.
inline std::unique_ptr<QDialog> openCsvDialog(CsvImport& csv)
{
    static TelBook assigned;
    return std::make_unique<CCsvEdit>(csv, assigned);
}

// The CSV dialog on an empty import of its own, which goes with the dialog.
inline std::unique_ptr<QDialog> openCsvDialog()
{
    auto csv = std::make_shared<CsvImport>();
    auto dialog = openCsvDialog(*csv);
    QObject::connect(dialog.get(), &QObject::destroyed, [csv] {});
    return dialog;
}

inline std::vector<ProgramWindow> programWindows()
{
    return {
        {"main window", [](Settings& settings) { return std::make_unique<CVemblorDlg>(settings); },
         ID_MAIN_EXIT},
        {"list window", [](Settings&) { return openListWindow(); }, ID_LIST_CANCEL},
        {"entry editor", [](Settings&) { return std::make_unique<CTelEditDlg>(); }, ID_EDIT_DECIDE},
        {"CSV dialog", [](Settings&) { return openCsvDialog(); }, ID_CSV_DELETE},
        {"port dialog", [](Settings& settings) { return std::make_unique<CPortDlg>(settings); }},
        {"version dialog", [](Settings&) { return std::make_unique<CVersionDlg>(); }},
    };
}
