#include "app/ui/install_commands.h"

#include "device/ui/device_commands.h"
#include "phonebook/ui/list_commands.h"

void installListCommands()
{
    [[maybe_unused]] ListCommands& commands = listCommands();
    commands.deviceRead = readFromHandset;
    commands.deviceWrite = writeToHandset;
}
