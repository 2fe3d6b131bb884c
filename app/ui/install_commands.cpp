#include "app/ui/install_commands.h"

#include "phonebook/ui/edit_commands.h"
#include "phonebook/ui/list_commands.h"

void installListCommands()
{
    [[maybe_unused]] ListCommands& commands = listCommands();
    commands.edit = runEditCommand;
    commands.add = runAddCommand;
}
