#pragma once
// Fills the list window's command table with the commands of the editor, the file exchange and
// the handset link, the latter on the ports of settings, which must outlive the commands.

class Settings;

void installListCommands(const Settings& settings);
