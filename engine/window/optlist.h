// The option list: the scrolling container of the mode and option rows.
#pragma once

#include <windows.h>

// Window procedure of the class "OPLSTBOX".
extern "C" __declspec(dllexport) LRESULT CALLBACK ScboxWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
