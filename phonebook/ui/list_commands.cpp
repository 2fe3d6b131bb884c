#include "phonebook/ui/list_commands.h"

ListCommands& listCommands()
{
    static ListCommands table;
    return table;
}
