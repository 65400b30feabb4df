// The keyboard filter that gives the main window dialog-like keys, and the
// mnemonic keys of captions marked with "&".
#pragma once

#include <windows.h>

// The message handling step of every message loop of the engine: filters
// the keys, then translates and dispatches what it does not consume.
void FilterMessage(MSG *msg);
// Presses the control or option row whose caption marks the character of
// key with "&". Returns whether one was found.
bool HandleMnemonic(WPARAM key);
HWND FindTabMnemonic(char c);
HWND FindItemMnemonic(char c);
