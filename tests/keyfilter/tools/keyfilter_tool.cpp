// The engine's real main window on KELBRINE.INI of the current directory,
// run through the engine's own message handling step, for a script that
// types into it with real keys. Printed (screen coordinates):
//   edit X Y / row ID X Y / free X Y   the directory field, the option rows
//                                      and a spot of the window free of controls
//   ready
//   command ID focus FOCUSID class CLASS    each WM_COMMAND of the main window
//   close                                   its WM_CLOSE
//   key VK focus ID page P item ID checks XYZ edit TEXT
//                                           after each key (not Shift, Ctrl, Alt)
//   exit
#include <windows.h>

#include <stdio.h>

#include <string>

#include "setup/session.h"
#include "window/keyfilter.h"
#include "window/options.h"
#include "window/startup.h"

static WNDPROC engineProc;

static int FocusId()
{
    return GetDlgCtrlID(GetFocus());
}

static LRESULT CALLBACK Logging(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_COMMAND) {
        char cls[32] = "";
        GetClassNameA(GetFocus(), cls, sizeof cls);
        printf("command %d focus %d class %s\n", LOWORD(wParam), FocusId(), cls);
        fflush(stdout);
    } else if (msg == WM_CLOSE) {
        printf("close\n");
        fflush(stdout);
    }
    return CallWindowProcA(engineProc, hwnd, msg, wParam, lParam);
}

static void PrintCenter(const char *name, HWND wnd)
{
    RECT r;
    GetWindowRect(wnd, &r);
    printf("%s %ld %ld\n", name, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

static void PrintState(WPARAM key)
{
    if (!session) {
        printf("key %d gone\n", static_cast<int>(key));
    } else {
        char checks[4] = "";
        for (int i = 0; i < 3; i++) {
            HWND row = GetDlgItem(session->hOptionList, IdFirstOption + i);
            checks[i] = row && GetItemChecked(row) ? '1' : '0';
        }
        char edit[TextBufSize] = "";
        GetDlgItemTextA(session->hMainWnd, IdInstallDir, edit, sizeof edit);
        printf("key %d focus %d page %d item %d checks %s edit %s\n", static_cast<int>(key),
               FocusId(), session->page, session->focusItemId, checks, edit);
    }
    fflush(stdout);
}

int main()
{
    HINSTANCE hInst = GetModuleHandleA(nullptr);
    char dir[MAX_PATH];
    GetCurrentDirectoryA(sizeof dir, dir);
    std::string commandLine = "\"" + std::string(dir) + "\\KELBRINE.EXE\"";
    if (!RegisterClasses(hInst) || !InitInstance(hInst, commandLine.c_str()))
        return 1;
    HWND main = session->hMainWnd;
    engineProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(main, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Logging)));
    UpdateWindow(main);
    PrintCenter("edit", GetDlgItem(main, IdInstallDir));
    for (int i = 0; i < 3; i++) {
        char name[16];
        snprintf(name, sizeof name, "row %d", IdFirstOption + i);
        PrintCenter(name, GetDlgItem(session->hOptionList, IdFirstOption + i));
    }
    POINT free = { 6, 6 };
    ClientToScreen(main, &free);
    printf("free %ld %ld\nready\n", free.x, free.y);
    fflush(stdout);

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        FilterMessage(&msg);
        if ((msg.message == WM_KEYUP || msg.message == WM_SYSKEYUP) && msg.wParam != VK_SHIFT &&
            msg.wParam != VK_CONTROL && msg.wParam != VK_MENU)
            PrintState(msg.wParam);
    }
    printf("exit\n");
    fflush(stdout);
    return 0;
}
