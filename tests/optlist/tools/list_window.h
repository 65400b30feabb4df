// A real top-level window holding the controls the option list works with:
// the install-set list, the directory field and the option list itself
// (class "OPLSTBOX" with the engine's window procedure and its scroll bar),
// placed as on the options page. The session record must exist.
#pragma once

#include <windows.h>

struct ListWindow {
    HWND main;
    HWND list;
};

// Creates the windows (the main window only once per process) and stores
// them, the font and the character size in the session record.
ListWindow CreateListWindow();
// Destroys the controls and the font; the main window stays for reuse.
void DestroyListControls(const ListWindow &w);
