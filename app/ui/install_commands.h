#pragma once
// The list window's command table filled with the commands of the editor, the file exchange and
// the handset link, the latter on the ports of settings, which must outlive the commands.

#include "phonebook/ui/list_commands.h"

class Settings;

ListCommands programListCommands(const Settings& settings);
