// Start-up of the engine: window classes, the main window with its font and
// pictures, and the message loop.
#pragma once

#include <windows.h>

bool RegisterClasses(HINSTANCE hInst);
// The start-up sequence; false when the session cannot be set up.
bool InitInstance(HINSTANCE hInst, const char *commandLine);
// The program directory of a command line: the program path up to its last
// backslash, a root keeping its backslash ("A:\"); "" without a backslash.
void SourceDirOf(const char *commandLine, char *dir);
// The cell size, button captions and failure format of the language the
// setup file chose (languageOffset).
void LoadLanguageTexts();
// The one UI font of the chosen language.
HFONT CreateUiFont();
// Runs the message loop until WM_QUIT; returns its wParam.
int RunMessageLoop();
