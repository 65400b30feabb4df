// Reads what the running installer shows, for the end-to-end scripts that
// drive it with real keys and clicks; it never sends input itself.
//
//   e2e_probe                       what is on the screen now
//   e2e_probe render STYLE TEXT CAPTION [ja]
//                                   shows one engine message box with that
//                                   text, as a reference picture to compare
//                                   the installer's own boxes with
//   e2e_probe close TITLE           asks the top-level window TITLE to close
//                                   (a Program Manager group's folder window)
//
// Lines printed by the first form:
//   main X Y W H                    the installer's client area on the screen
//   ctl ID PARENT VISIBLE X Y W H CLASS TEXT
//                                   every control, relative to the client area
//   focus ID                        the control holding the keyboard focus
//   box HWND X Y W H TITLE          a visible message box's client area
//   btn ID X Y W H TEXT             its buttons, relative to its client area
//   colors FACE SHADOW HIGHLIGHT FRAME
//                                   the 3D colours the pages are drawn in and
//                                   the colour of a window border
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "actions/mesgbox.h"
#include "setup/session.h"
#include "window/startup.h"
#include "setup/texts.h"

namespace {

struct Parent {
    HWND top;
    bool box;
};

void ClientOnScreen(HWND hwnd, RECT *r)
{
    GetClientRect(hwnd, r);
    MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT *>(r), 2);
}

BOOL CALLBACK PrintChild(HWND child, LPARAM param)
{
    const Parent *p = reinterpret_cast<const Parent *>(param);
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, p->top, reinterpret_cast<POINT *>(&r), 2);
    char text[512] = "";
    DWORD_PTR got = 0;
    // Another process's window: its text comes through the message.
    SendMessageTimeoutA(child, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                        SMTO_ABORTIFHUNG, 2000, &got);
    for (char *c = text; *c; c++)
        if (*c == '\n' || *c == '\r' || *c == '\t')
            *c = ' ';
    if (p->box) {
        printf("btn %d %ld %ld %ld %ld %s\n", GetDlgCtrlID(child), r.left, r.top,
               r.right - r.left, r.bottom - r.top, text);
        return TRUE;
    }
    char cls[64];
    GetClassNameA(child, cls, sizeof cls);
    HWND parent = GetParent(child);
    printf("ctl %d %d %d %ld %ld %ld %ld %s %s\n", GetDlgCtrlID(child),
           parent == p->top ? 0 : GetDlgCtrlID(parent), IsWindowVisible(child) ? 1 : 0, r.left,
           r.top, r.right - r.left, r.bottom - r.top, cls, text);
    return TRUE;
}

BOOL CALLBACK FindBox(HWND hwnd, LPARAM found)
{
    char cls[32];
    GetClassNameA(hwnd, cls, sizeof cls);
    if (!strcmp(cls, "#32770") && IsWindowVisible(hwnd) &&
        GetWindowThreadProcessId(hwnd, nullptr) != GetCurrentThreadId()) {
        *reinterpret_cast<HWND *>(found) = hwnd;
        return FALSE;
    }
    return TRUE;
}

// RRGGBB, as a screenshot tool writes colours.
unsigned long Rgb(int index)
{
    COLORREF c = GetSysColor(index);
    return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

int Show()
{
    printf("colors %06lX %06lX %06lX %06lX\n", Rgb(COLOR_BTNFACE), Rgb(COLOR_BTNSHADOW),
           Rgb(COLOR_BTNHIGHLIGHT), Rgb(COLOR_WINDOWFRAME));
    RECT r;
    HWND main = FindWindowA("KELBRINE", nullptr);
    if (main) {
        ClientOnScreen(main, &r);
        printf("main %ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
        Parent p = {main, false};
        EnumChildWindows(main, PrintChild, reinterpret_cast<LPARAM>(&p));
        GUITHREADINFO gui = {};
        gui.cbSize = sizeof gui;
        if (GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &gui))
            printf("focus %d\n", gui.hwndFocus ? GetDlgCtrlID(gui.hwndFocus) : 0);
    }
    HWND box = nullptr;
    EnumWindows(FindBox, reinterpret_cast<LPARAM>(&box));
    if (box) {
        char title[512] = "";
        GetWindowTextA(box, title, sizeof title);
        ClientOnScreen(box, &r);
        printf("box %lu %ld %ld %ld %ld %s\n",
               static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(box)), r.left, r.top,
               r.right - r.left, r.bottom - r.top, title);
        Parent p = {box, true};
        EnumChildWindows(box, PrintChild, reinterpret_cast<LPARAM>(&p));
    }
    fflush(stdout);
    return 0;
}

// "\n" written as two characters in the argument is a line break.
void Unescape(char *s)
{
    char *out = s;
    for (; *s; s++) {
        if (s[0] == '\\' && s[1] == 'n') {
            *out++ = '\n';
            s++;
        } else {
            *out++ = *s;
        }
    }
    *out = 0;
}

DWORD renderThread;

// Tells the script once the reference box is on the screen.
DWORD WINAPI WatchRender(LPVOID)
{
    HWND box = nullptr;
    while (!box) {
        Sleep(50);
        EnumThreadWindows(renderThread, [](HWND hwnd, LPARAM found) -> BOOL {
            char cls[32];
            GetClassNameA(hwnd, cls, sizeof cls);
            if (strcmp(cls, "#32770") || !IsWindowVisible(hwnd))
                return TRUE;
            *reinterpret_cast<HWND *>(found) = hwnd;
            return FALSE;
        }, reinterpret_cast<LPARAM>(&box));
    }
    Sleep(300); // let it paint
    printf("ready\n");
    fflush(stdout);
    return 0;
}

int Render(int argc, char **argv)
{
    if (argc < 5)
        return 2;
    bool japanese = argc > 5 && !strcmp(argv[5], "ja");
    AllocSession(GetModuleHandleA(nullptr));
    SetInitialValues();
    session->languageOffset = japanese ? 0 : 100;
    session->btnFaceColor = GetSysColor(COLOR_BTNFACE);
    LoadLanguageTexts();
    session->hFont = CreateUiFont();
    Unescape(argv[3]);
    renderThread = GetCurrentThreadId();
    CloseHandle(CreateThread(nullptr, 0, WatchRender, nullptr, 0, nullptr));
    int result = MesgBox(argv[3], argv[4], static_cast<int>(strtol(argv[2], nullptr, 16)));
    printf("result %d\n", result);
    fflush(stdout);
    DeleteObject(session->hFont);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc > 2 && !strcmp(argv[1], "close")) {
        HWND hwnd = FindWindowA(nullptr, argv[2]);
        if (hwnd)
            PostMessageA(hwnd, WM_CLOSE, 0, 0);
        return hwnd ? 0 : 1;
    }
    if (argc > 1 && !strcmp(argv[1], "render"))
        return Render(argc, argv);
    return Show();
}
