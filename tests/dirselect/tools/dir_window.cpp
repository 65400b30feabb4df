#include "dir_window.h"

DirWindow::DirWindow()
{
    HINSTANCE inst = GetModuleHandleA(nullptr);
    static bool registered;
    if (!registered) {
        WNDCLASSA wc = {};
        wc.hInstance = inst;
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpfnWndProc = DefWindowProcA;
        wc.lpszClassName = "KelbrineDirTest";
        RegisterClassA(&wc);
        registered = true;
    }
    session->hInst = inst;
    session->charHeight = 16;
    session->charWidth = 9;
    session->page = PageDirectory;
    main = CreateWindowA("KelbrineDirTest", "KELBRINE", WS_CAPTION | WS_SYSMENU, 40, 40, 480, 420,
                         nullptr, nullptr, inst, nullptr);
    edit = CreateWindowA("EDIT", nullptr, WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, 18,
                         312, 440, 16, main,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(IdInstallDir)), inst, nullptr);
    session->hMainWnd = main;
}

DirWindow::~DirWindow()
{
    DestroyWindow(main);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
}

std::string DirWindow::Field() const
{
    char text[TextBufSize];
    int n = GetWindowTextA(edit, text, sizeof text);
    return std::string(text, n > 0 ? n : 0);
}
