#pragma once
// The list window's command table filled with the commands of the editor, the file exchange and
// the handset link.

#include "phonebook/ui/list_commands.h"

ListCommands programListCommands();
