// A medium in a scratch tree (SETUP with the setup file, sibling disk
// directories) and the real main window started on it, for running scripts
// step by step with scripted message box answers.
#pragma once

#include <string>

#include "testutil.h"

struct Medium {
    ScratchDir root{ "medium" };
    std::string setupDir;
    char savedDir[MAX_PATH];

    // setupText becomes SETUP\KELBRINE.INI.
    explicit Medium(const std::string &setupText);
    ~Medium();
    std::string path(const std::string &relative) const { return root / relative; }
    void write(const std::string &relative, const std::string &bytes) const;
    // Starts the engine's main window on the medium (the session record
    // included), as the program does.
    void start();
    // Sets the directory field, starts the installation (the confirmation
    // answered OK) and stops the timer so that steps run only when a test
    // calls RunScriptStep.
    void startInstall(const std::string &installDir);
    // Runs steps until the script has ended or was aborted; returns the
    // number of steps run.
    int runToEnd(int limit = 200);
    // Dispatches the thread's messages until the main window is gone.
    void pumpUntilClosed();
};
