// The main window: its pages, the push-button commands, the start of the
// script run and the release of everything at the end.
#pragma once

#include <windows.h>

extern "C" __declspec(dllexport) LRESULT CALLBACK SetupWndProc(HWND hwnd, UINT msg, WPARAM wParam,
                                                               LPARAM lParam);
// Switches to page p (creating the controls the first time); returns the
// page shown.
int ShowPage(int p);
// Asks for confirmation and starts the script run.
void StartInstall();
