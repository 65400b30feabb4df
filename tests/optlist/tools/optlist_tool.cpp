// Shows the option list with rows from KELBRINE.INI of the current
// directory on the options page, for a script that drives it with real
// clicks and keys. Printed at the start (screen coordinates):
//   list X Y                      the list's client origin
//   vscroll L T R B ARROW THUMBTOP THUMBBOTTOM   its scroll bar
//   ready
// and once Escape is pressed:
//   modes STATES / options STATES  checked states, 1 or 0 per row
//   focus ID / keyfocus ID / scroll POS / need KB / top ID Y
#include <windows.h>

#include <stdio.h>

#include "list_window.h"
#include "setup/general.h"
#include "setup/session.h"
#include "setup/setupfile.h"
#include "window/options.h"

static void PrintStates(const char *name, HWND list, int base)
{
    printf("%s ", name);
    for (int n = 0; n <= LastItemNumber; n++) {
        HWND row = GetDlgItem(list, base + n);
        if (row)
            putchar(GetItemChecked(row) ? '1' : '0');
    }
    putchar('\n');
}

int main()
{
    if (!AllocSession(GetModuleHandleA(nullptr)) || !SetInitialValues())
        return 1;
    ListWindow w = CreateListWindow();
    LoadSetupFile();
    ParseGeneralSection();
    session->page = PageOptions;
    SetFocus(w.list);
    UpdateWindow(w.main);

    POINT origin = { 0, 0 };
    ClientToScreen(w.list, &origin);
    printf("list %ld %ld\n", origin.x, origin.y);
    SCROLLBARINFO bar = {};
    bar.cbSize = sizeof bar;
    GetScrollBarInfo(w.list, OBJID_VSCROLL, &bar);
    printf("vscroll %ld %ld %ld %ld %d %d %d\n", bar.rcScrollBar.left, bar.rcScrollBar.top,
           bar.rcScrollBar.right, bar.rcScrollBar.bottom, bar.dxyLineButton, bar.xyThumbTop,
           bar.xyThumbBottom);
    printf("ready\n");
    fflush(stdout);

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE)
            break;
        // As the engine's keyboard filter does: arrow keys of a row go to
        // the list.
        if (msg.message == WM_KEYDOWN && msg.wParam >= VK_LEFT && msg.wParam <= VK_DOWN) {
            HWND parent = GetParent(GetFocus());
            if (parent && parent != w.main)
                msg.hwnd = parent;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }

    PrintStates("modes", w.list, IdFirstMode);
    PrintStates("options", w.list, IdFirstOption);
    printf("focus %d\n", session->focusItemId);
    printf("keyfocus %d\n", GetDlgCtrlID(GetFocus()));
    printf("scroll %d\n", GetScrollPos(w.list, SB_VERT));
    printf("need %d\n", session->needKB);
    RECT r;
    GetWindowRect(GetDlgItem(w.list, IdFirstOption), &r);
    printf("top 1000 %ld\n", r.top - origin.y);
    fflush(stdout);
    return 0;
}
