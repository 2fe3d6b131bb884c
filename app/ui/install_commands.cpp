#include "app/ui/install_commands.h"

#include "app/core/settings.h"
#include "device/ui/device_commands.h"
#include "exchange/ui/csv_import_command.h"
#include "exchange/ui/vcard_commands.h"
#include "phonebook/core/app_state.h"
#include "phonebook/ui/edit_commands.h"
#include "phonebook/ui/list_commands.h"

namespace {

// The transfer options of the program: backup beside the settings file, check, normal pace.
TransferOptions transferOptions()
{
    TransferOptions options;
    options.backupDir = startDir() + QStringLiteral("/backup");
    return options;
}

} // namespace

void installListCommands()
{
    ListCommands& commands = listCommands();
    commands.save = saveBook;
    commands.saveAs = saveBookAs;
    commands.importVCard = importVCard;
    commands.importCsv = importCsv;
    commands.edit = runEditCommand;
    commands.add = runAddCommand;
    commands.deviceRead = [](CTelListDlg& list) {
        readFromHandset(list, portDevicePath(appState().portNo), transferOptions());
    };
    commands.deviceWrite = [](CTelListDlg& list) {
        writeToHandset(list, portDevicePath(appState().portNo), transferOptions());
    };
}
