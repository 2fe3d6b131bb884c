#include "app/ui/install_commands.h"

#include "exchange/ui/csv_import_command.h"
#include "phonebook/ui/list_commands.h"

void installListCommands() {
    ListCommands& commands = listCommands();
    commands.importCsv = importCsv;
}
