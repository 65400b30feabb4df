// The launcher's one window: a picture on the left, up to eight buttons that
// start what install.ini names, and Cancel.
#pragma once

#include <windows.h>

#include "picture.h"

// The launcher's paths and texts; longer values than this are cut by the
// profile reader long before (titles) or refused (paths that do not fit).
const int LauncherText = 512;
const int ButtonCount = 8;

// Control ids: Button1 ... Button8 are IdButton1 + 0 ... 7; Cancel has the
// id IDCANCEL, so that Escape and closing the window act as Cancel.
const int IdButton1 = 101;

struct TForm1 {
    HWND hWnd;
    HWND pnlBMP;
    HWND Image1;
    HWND Button[ButtonCount];
    HWND btnCancel;
    HFONT hFont;
    Picture picture;
    char ExeDir[LauncherText];
    char IniFile[LauncherText];
    // RunFile[0] ... RunFile[7]: what Button1 ... Button8 start.
    char RunFile[ButtonCount][LauncherText];
};

extern TForm1 Form1;

// Builds the window with its controls (hidden). False when the window
// system refused.
bool CreateForm1(HINSTANCE instance);
// Reads install.ini into the members and controls. False when the picture
// could not be loaded; the user has then been told and the program ends.
bool FormCreate();
void ShowForm1(int showCommand);
void DestroyForm1();

void ButtonClick(int n);
void btnCancelClick();

// dir = everything before the last backslash or colon of path; the backslash
// of a drive root ("D:\") stays. Shift-JIS aware.
void ExtractFileDir(const char *path, char *dir, size_t size);
// dst = a + b + c when it fits in size bytes; otherwise dst is emptied and
// the result is false, so that a cut path is never used.
bool JoinText(char *dst, size_t size, const char *a, const char *b = "", const char *c = "");
// A name exists when a directory search for it finds something.
bool FileFound(const char *name);
