#pragma once
// Fills the list window's command table with the commands of the editor, the file exchange and
// the handset link.
void installListCommands();
