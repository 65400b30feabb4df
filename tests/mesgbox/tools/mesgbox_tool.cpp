// Shows one real message box and reports what it looks like and what it
// answered, for the script that drives it with real keys and clicks.
//
//   mesgbox_tool STYLE [TEXT|-] [CAPTION|-] [ja]
//
// STYLE is hexadecimal; "-" leaves text or caption out; "ja" picks the
// Japanese captions. Printed lines:
//   client X Y W H          the box's client area on the screen
//   window W H              the box's outer size
//   title TEXT
//   button ID X Y W H TEXT  each button, relative to the client area
//   focus ID                the button holding the focus when it opened
//   result N                what MesgBox returned
//   kept T C                bytes of text and caption the box kept
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "actions/mesgbox.h"
#include "setup/session.h"
#include "window/startup.h"
#include "setup/texts.h"

namespace {

DWORD mainThread;

BOOL CALLBACK FindBox(HWND hwnd, LPARAM found)
{
    char cls[32];
    GetClassNameA(hwnd, cls, sizeof cls);
    if (!strcmp(cls, "#32770") && IsWindowVisible(hwnd)) {
        *reinterpret_cast<HWND *>(found) = hwnd;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK PrintButton(HWND child, LPARAM box)
{
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, reinterpret_cast<HWND>(box), reinterpret_cast<POINT *>(&r), 2);
    char text[64];
    GetWindowTextA(child, text, sizeof text);
    printf("button %d %ld %ld %ld %ld %s\n", GetDlgCtrlID(child), r.left, r.top,
           r.right - r.left, r.bottom - r.top, text);
    return TRUE;
}

DWORD WINAPI Watch(LPVOID)
{
    HWND box = nullptr;
    while (!box) {
        Sleep(50);
        EnumThreadWindows(mainThread, FindBox, reinterpret_cast<LPARAM>(&box));
    }
    Sleep(300); // let it finish opening
    RECT client, outer;
    GetClientRect(box, &client);
    MapWindowPoints(box, nullptr, reinterpret_cast<POINT *>(&client), 2);
    GetWindowRect(box, &outer);
    printf("client %ld %ld %ld %ld\n", client.left, client.top, client.right - client.left,
           client.bottom - client.top);
    printf("window %ld %ld\n", outer.right - outer.left, outer.bottom - outer.top);
    char title[512];
    GetWindowTextA(box, title, sizeof title);
    printf("title %s\n", title);
    EnumChildWindows(box, PrintButton, reinterpret_cast<LPARAM>(box));
    GUITHREADINFO gui = {};
    gui.cbSize = sizeof gui;
    GetGUIThreadInfo(mainThread, &gui);
    printf("focus %d\n", gui.hwndFocus ? GetDlgCtrlID(gui.hwndFocus) : 0);
    fflush(stdout);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2)
        return 2;
    int style = static_cast<int>(strtol(argv[1], nullptr, 16));
    const char *text = argc > 2 && strcmp(argv[2], "-") ? argv[2] : nullptr;
    const char *caption = argc > 3 && strcmp(argv[3], "-") ? argv[3] : nullptr;
    bool japanese = argc > 4 && !strcmp(argv[4], "ja");

    // The start-up values the box relies on.
    AllocSession(GetModuleHandleA(nullptr));
    SetInitialValues();
    session->languageOffset = japanese ? 0 : 100;
    session->btnFaceColor = GetSysColor(COLOR_BTNFACE);
    LoadLanguageTexts();
    session->hFont = CreateUiFont();

    mainThread = GetCurrentThreadId();
    CloseHandle(CreateThread(nullptr, 0, Watch, nullptr, 0, nullptr));
    int result = MesgBox(text, caption, style);
    printf("result %d\n", result);
    printf("kept %d %d\n", static_cast<int>(strlen(session->msgBoxText)),
           static_cast<int>(strlen(session->msgBoxCaption)));
    fflush(stdout);
    DeleteObject(session->hFont);
    return 0;
}
