#include "list_window.h"

#include "setup/session.h"
#include "window/optlist.h"

static void RegisterClasses(HINSTANCE inst)
{
    static bool done;
    if (done)
        return;
    WNDCLASSA wc = {};
    wc.hInstance = inst;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "KelbrineListTest";
    RegisterClassA(&wc);
    wc.hbrBackground = nullptr;
    wc.lpfnWndProc = ScboxWndProc;
    wc.lpszClassName = "OPLSTBOX";
    RegisterClassA(&wc);
    done = true;
}

ListWindow CreateListWindow()
{
    static HWND main;
    HINSTANCE inst = GetModuleHandleA(nullptr);
    RegisterClasses(inst);
    SetupSession *s = session;
    s->hInst = inst;
    s->charHeight = 16;
    s->charWidth = 9;
    s->btnFaceColor = RGB(192, 192, 192);
    const int h = s->charHeight;
    if (!main) {
        main = CreateWindowA("KelbrineListTest", "KELBRINE list", WS_CAPTION | WS_SYSMENU,
                             40, 40, 480, GetSystemMetrics(SM_CYCAPTION) + 25 * h - 20, nullptr,
                             nullptr, inst, nullptr);
        ShowWindow(main, SW_SHOWNORMAL);
    }
    s->hMainWnd = main;
    s->hFont = CreateFontA(h, s->charWidth, 0, 0, 400, 0, 0, 0, ANSI_CHARSET, 0, 0, 0,
                           FIXED_PITCH, "Courier");
    RECT c;
    GetClientRect(main, &c);
    int listTop = c.top + 5 * h / 2;
    HWND list = CreateWindowA("OPLSTBOX", "", WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_TABSTOP,
                              c.left + 17, listTop + 1, c.right - 33, 12 * h + 3 - listTop, main,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(IdOptionList)), inst,
                              nullptr);
    CreateWindowA("COMBOBOX", nullptr, WS_CHILD | WS_VISIBLE | WS_TABSTOP | CBS_DROPDOWNLIST | CBS_HASSTRINGS,
                  17, 2 * h + 1, 240, h, main,
                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(IdInstallSet)), inst, nullptr);
    CreateWindowA("EDIT", nullptr, WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, 18,
                  39 * h / 2, c.right - 36, h, main,
                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(IdInstallDir)), inst, nullptr);
    s->hOptionList = list;
    UpdateWindow(main);
    return ListWindow{ main, list };
}

void DestroyListControls(const ListWindow &w)
{
    DestroyWindow(w.list);
    DestroyWindow(GetDlgItem(w.main, IdInstallSet));
    DestroyWindow(GetDlgItem(w.main, IdInstallDir));
    DeleteObject(session->hFont);
    session->hFont = nullptr;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
}
