#pragma once
// The application object: names the program, installs the key filter and the list window's
// commands, and runs the main window until it closes.

class CVemblorApp {
public:
    // Everything the program sets up before its first window, also used by the tests.
    static void initInstance();
    // Runs the main window modally; the program ends when it closes.
    static int run();
};
