#include "paintenv.h"

#include "setup/texts.h"
#include "window/paint.h"

namespace {

LRESULT CALLBACK HostProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_PAINT:
        PaintMainWindow(hwnd);
        return 0;
    case WM_DRAWITEM: {
        const DRAWITEMSTRUCT *d = reinterpret_cast<const DRAWITEMSTRUCT *>(lParam);
        DrawOwnerButton(d->itemAction, d->itemState, d->hwndItem, d->hDC);
        return TRUE;
    }
    case WM_QUERYNEWPALETTE:
        return QueryNewPalette(hwnd);
    case WM_PALETTECHANGED:
        return PaletteChanged(hwnd, reinterpret_cast<HWND>(wParam));
    default:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

void Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

} // namespace

PaintEnv::PaintEnv()
{
    SetupSession *s = session;
    s->languageOffset = 100;
    s->charWidth = 9;
    s->charHeight = 16;
    s->btnFaceColor = GetSysColor(COLOR_BTNFACE);

    WNDCLASSA wc = {};
    wc.lpfnWndProc = HostProc;
    wc.hInstance = s->hInst;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = "PaintTestHost";
    RegisterClassA(&wc);
    host = CreateWindowExA(0, "PaintTestHost", "PaintTest", WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                           20, 20, 480, GetSystemMetrics(SM_CYCAPTION) + 25 * 16 - 20, nullptr,
                           nullptr, s->hInst, nullptr);
    s->hMainWnd = host;

    HDC hdc = GetDC(host);
    // The fixed-pitch hint keeps a substitute for Courier fixed-pitch where
    // the face itself is not installed; the column layout relies on it.
    s->hFont = CreateFontA(16, 9, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0,
                           FIXED_PITCH | FF_MODERN, "Courier");
    LoadResources();
    LoadStripBitmap(hdc, 1001, 120, 16, &s->hbm1001, &s->hdc1001, &s->hbmPrev1001);
    LoadStripBitmap(hdc, 1002, 32, 144, &s->hbm1002, &s->hdc1002, &s->hbmPrev1002);
    LoadStripBitmap(hdc, 1003, 50, 16, &s->hbm1003, &s->hdc1003, &s->hbmPrev1003);
    LoadStripBitmap(hdc, 1011, 120, 16, &s->hbm1011, &s->hdc1011, &s->hbmPrev1011);
    LoadStripBitmap(hdc, 1012, 32, 144, &s->hbm1012, &s->hdc1012, &s->hbmPrev1012);
    LoadStripBitmap(hdc, 1013, 50, 16, &s->hbm1013, &s->hdc1013, &s->hbmPrev1013);
    ReleaseDC(host, hdc);
    static const WORD checker[8] = {0x5555, 0xAAAA, 0x5555, 0xAAAA, 0x5555, 0xAAAA, 0x5555, 0xAAAA};
    s->hPatternBmp = CreateBitmap(16, 8, 1, 1, checker);
    s->hIcon2001 = CopyIcon(LoadIconA(s->hInst, MAKEINTRESOURCEA(2001)));
    s->hIcon2002 = CopyIcon(LoadIconA(s->hInst, MAKEINTRESOURCEA(2002)));
    ShowWindow(host, SW_SHOWNORMAL);
}

PaintEnv::~PaintEnv()
{
    SetupSession *s = session;
    DestroyWindow(host);
    Pump();
    HDC dcs[] = {s->hdc1001, s->hdc1002, s->hdc1003, s->hdc1011, s->hdc1012, s->hdc1013};
    HBITMAP bms[] = {s->hbm1001, s->hbm1002, s->hbm1003, s->hbm1011, s->hbm1012, s->hbm1013};
    HBITMAP prev[] = {s->hbmPrev1001, s->hbmPrev1002, s->hbmPrev1003,
                      s->hbmPrev1011, s->hbmPrev1012, s->hbmPrev1013};
    for (int i = 0; i < 6; i++) {
        if (!dcs[i])
            continue;
        SelectObject(dcs[i], prev[i]);
        DeleteDC(dcs[i]);
        DeleteObject(bms[i]);
    }
    if (s->hCoverPalette)
        DeleteObject(s->hCoverPalette);
    DeleteObject(s->hPatternBmp);
    DestroyIcon(s->hIcon2001);
    DestroyIcon(s->hIcon2002);
    DeleteObject(s->hFont);
    FreeResources();
    UnregisterClassA("PaintTestHost", s->hInst);
}

HWND PaintEnv::AddButton(const char *caption, int id, int x, int y, int w, int h)
{
    return CreateWindowExA(0, "BUTTON", caption, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW,
                           x, y, w, h, host, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           session->hInst, nullptr);
}

void PaintEnv::SetPage(int page)
{
    RECT c;
    GetClientRect(host, &c);
    int h = session->charHeight, w = session->charWidth;
    SetupSession *s = session;
    s->page = static_cast<short>(page);
    switch (page) {
    case PageCover:
        SetRect(&s->rcText, c.left + 16, c.top + 2 * h, c.right - 17, static_cast<int>(c.top + 20.5 * h));
        break;
    case PageDirectory:
        SetRect(&s->rcText, c.left + 16, c.top + 5 * h, c.right - 17, c.top + 13 * h);
        SetRect(&s->rcDisk, c.right - 33 * w - 2, c.top + 13 * h + 7, c.right - 18, c.top + 14 * h + 7);
        break;
    case PageOptions:
        SetRect(&s->rcText, c.left + 16, static_cast<int>(c.top + 13.5 * h + 1), c.right - 17,
                static_cast<int>(c.top + 20.5 * h));
        SetRect(&s->rcList, c.left + 16, static_cast<int>(c.top + 2.5 * h), c.right - 17, c.top + 12 * h + 3);
        SetRect(&s->rcDisk, c.right - 39 * w - 2, c.top + 12 * h + 7, c.right - 18, c.top + 13 * h + 7);
        break;
    case PageProgress:
        SetRect(&s->rcText, c.left + 16, c.top + 2 * h, c.right - 17, c.top + 14 * h);
        SetRect(&s->rcList, c.left + 16, c.top + 15 * h, c.right - 17, static_cast<int>(c.top + 20.5 * h));
        break;
    }
}

void PaintEnv::Repaint()
{
    RedrawWindow(host, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump();
    GdiFlush();
    Sleep(100);
}

Shot::Shot(HWND hwnd)
{
    // Drawing reaches the screen when the window's surface is flushed,
    // which happens as messages are processed.
    GdiFlush();
    for (int i = 0; i < 3; i++) {
        Pump();
        Sleep(40);
    }
    RECT rc;
    GetClientRect(hwnd, &rc);
    POINT origin = {0, 0};
    ClientToScreen(hwnd, &origin);
    width = rc.right;
    height = rc.bottom;
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void *bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP dib = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, dib);
    BitBlt(mem, 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY);
    GdiFlush();
    const DWORD *p = static_cast<const DWORD *>(bits);
    pixels.resize(static_cast<size_t>(width) * height);
    for (size_t i = 0; i < pixels.size(); i++)
        pixels[i] = RGB((p[i] >> 16) & 0xFF, (p[i] >> 8) & 0xFF, p[i] & 0xFF);
    SelectObject(mem, old);
    DeleteObject(dib);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
}

COLORREF Shot::at(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width || y >= height)
        return CLR_INVALID;
    return pixels[static_cast<size_t>(y) * width + x];
}

COLORREF Face() { return GetSysColor(COLOR_BTNFACE); }
COLORREF Highlight() { return GetSysColor(COLOR_BTNHIGHLIGHT); }
COLORREF Shadow() { return GetSysColor(COLOR_BTNSHADOW); }
COLORREF Inverted(COLORREF c) { return RGB(255 - GetRValue(c), 255 - GetGValue(c), 255 - GetBValue(c)); }
