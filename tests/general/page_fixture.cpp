#include "page_fixture.h"

#include "setup/session.h"

std::vector<RowDraw> rowDraws;

// Enough of the option list for the model: a scrolling container whose
// owner-drawn rows only note that they were drawn.
static LRESULT CALLBACK TestListProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DRAWITEM) {
        HWND row = reinterpret_cast<DRAWITEMSTRUCT *>(lParam)->hwndItem;
        rowDraws.push_back(RowDraw{ row, session && row == session->hFocusItem });
        return TRUE;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

static void RegisterTestClasses(HINSTANCE inst)
{
    static bool done;
    if (done)
        return;
    WNDCLASSA wc = {};
    wc.hInstance = inst;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "KelbrineTestMain";
    RegisterClassA(&wc);
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = TestListProc;
    wc.lpszClassName = "OPLSTBOX";
    RegisterClassA(&wc);
    done = true;
}

static HWND MainWindow(HINSTANCE inst)
{
    static HWND main;
    if (!main) {
        main = CreateWindowA("KelbrineTestMain", "KELBRINE", WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                             40, 40, 480, GetSystemMetrics(SM_CYCAPTION) + 25 * 16 - 20, nullptr,
                             nullptr, inst, nullptr);
        ShowWindow(main, SW_SHOWNORMAL);
    }
    return main;
}

PageFixture::PageFixture(const std::string &setupText, int languageOffset)
{
    HINSTANCE inst = GetModuleHandleA(nullptr);
    RegisterTestClasses(inst);
    session->languageOffset = languageOffset;
    session->charHeight = 16;
    session->charWidth = languageOffset ? 9 : 8;
    const int h = session->charHeight;
    main = MainWindow(inst);
    font = CreateFontA(h, session->charWidth, 0, 0, 400, 0, 0, 0,
                       languageOffset ? ANSI_CHARSET : SHIFTJIS_CHARSET, 0, 0, 0, FIXED_PITCH,
                       languageOffset ? "Courier" : "MS Gothic");
    RECT c;
    GetClientRect(main, &c);
    int listTop = static_cast<int>(c.top + 2.5 * h);
    list = CreateWindowA("OPLSTBOX", "", WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_TABSTOP,
                         c.left + 16 + 1, listTop + 1, (c.right - 17) - (c.left + 16),
                         (c.top + 12 * h + 3) - listTop, main,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(IdOptionList)), inst, nullptr);
    setList = CreateWindowA("COMBOBOX", nullptr,
                            WS_CHILD | WS_VISIBLE | WS_TABSTOP | CBS_DROPDOWNLIST | CBS_HASSTRINGS,
                            17, 2 * h + 1, 240, h, main,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(IdInstallSet)), inst, nullptr);
    dirEdit = CreateWindowA("EDIT", nullptr, WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, 18,
                            static_cast<int>(19.5 * h), c.right - 36, h, main,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(IdInstallDir)), inst, nullptr);
    SendMessageA(setList, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
    SendMessageA(dirEdit, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
    UpdateWindow(main);

    session->hInst = inst;
    session->hMainWnd = main;
    session->hOptionList = list;
    session->page = PageDirectory;
    SetSetupText(setupText);
}

PageFixture::~PageFixture()
{
    // The page controls go; the main window stays for the next test (showing
    // and hiding a top-level window under a bare X server is slow).
    DestroyWindow(list);
    DestroyWindow(setList);
    DestroyWindow(dirEdit);
    DeleteObject(font);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
}

std::string WindowText(HWND window)
{
    char text[1024];
    int n = GetWindowTextA(window, text, sizeof text);
    return std::string(text, n > 0 ? n : 0);
}

POINT ChildPos(HWND child)
{
    RECT r;
    GetWindowRect(child, &r);
    POINT p = { r.left, r.top };
    ScreenToClient(GetParent(child), &p);
    return p;
}

RECT UpdateBox(HWND window)
{
    RECT r = {};
    if (!GetUpdateRect(window, &r, FALSE))
        SetRectEmpty(&r);
    return r;
}

bool SameRect(const RECT &a, const RECT &b)
{
    return EqualRect(&a, &b) != 0;
}

bool NothingToPaint(HWND window)
{
    RECT r;
    return !GetUpdateRect(window, &r, FALSE);
}
