// The per-file status lines reach the screen at once, inside the action,
// not at the main window's next paint.
#include <functional>

#include "actions/dirops.h"
#include "actions/fileops.h"
#include "actions_fixture.h"

namespace {

LRESULT CALLBACK BlankProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_PAINT) { // paints nothing: only the redraw can show text
        PAINTSTRUCT ps;
        BeginPaint(hwnd, &ps);
        EndPaint(hwnd, &ps);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// A shown window on the progress page whose status area is white.
struct ProgressWindow {
    HFONT font;
    ProgressWindow()
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = BlankProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        wc.lpszClassName = "KbStatusTest";
        RegisterClassA(&wc);
        session->hMainWnd = CreateWindowA("KbStatusTest", "status", WS_POPUP | WS_VISIBLE, 0, 0,
                                          400, 200, nullptr, nullptr, wc.hInstance, nullptr);
        font = CreateFontA(16, 9, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "Courier");
        session->hFont = font;
        session->charHeight = 16;
        session->btnFaceColor = RGB(192, 192, 192);
        session->page = PageProgress;
        SetRect(&session->rcList, 20, 20, 380, 150);
        Pump();
    }
    ~ProgressWindow()
    {
        DestroyWindow(session->hMainWnd);
        session->hMainWnd = nullptr;
        DeleteObject(font);
    }
    static void Pump()
    {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
    }
    void Whiten()
    {
        HDC dc = GetDC(session->hMainWnd);
        RECT all = {0, 0, 400, 200};
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        ReleaseDC(session->hMainWnd, dc);
    }
    // Black and face-coloured pixels of the status rectangle on screen.
    void Count(int *black, int *face)
    {
        RECT rc = {30, 30, 370, 62}; // rcList less 10 and h / 2 + 2, two lines high
        int w = rc.right - rc.left, h = rc.bottom - rc.top;
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = w;
        bi.bmiHeader.biHeight = -h;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        void *bits = nullptr;
        HDC screen = GetDC(session->hMainWnd);
        HDC mem = CreateCompatibleDC(screen);
        HBITMAP dib = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ old = SelectObject(mem, dib);
        BitBlt(mem, 0, 0, w, h, screen, rc.left, rc.top, SRCCOPY);
        GdiFlush();
        *black = *face = 0;
        const DWORD *px = static_cast<const DWORD *>(bits);
        for (int i = 0; i < w * h; i++) {
            DWORD c = px[i] & 0xFFFFFF;
            *black += c == 0;
            *face += c == 0xC0C0C0;
        }
        SelectObject(mem, old);
        DeleteObject(dib);
        DeleteDC(mem);
        ReleaseDC(session->hMainWnd, screen);
    }
};

} // namespace

TEST_CASE("Copy, move, remove and attribute status lines are drawn at once")
{
    ActionFixture f;
    ProgressWindow window;
    std::string src = f / "SRC.TXT";
    struct Row {
        const char *name;
        std::function<void()> act;
        std::string status;
    } rows[] = {
        {"copy", [&] { CopyFiles((f / "COPY.TXT").c_str(), src.c_str(), false, false); },
         Formatted(1004, src, f / "COPY.TXT")},
        {"move", [&] { MoveFiles((f / "MOVED.TXT").c_str(), (f / "COPY.TXT").c_str()); },
         Formatted(1039, f / "COPY.TXT", f / "MOVED.TXT")},
        {"attributes", [&] { SetAttributes((f / "MOVED.TXT").c_str(), "hidden"); },
         Formatted(1016, f / "MOVED.TXT")},
        {"remove", [&] { RemoveFiles((f / "MOVED.TXT").c_str(), false); },
         Formatted(1023, f / "MOVED.TXT")},
    };
    WriteBytes(src, "s");
    for (const Row &r : rows) {
        CAPTURE(r.name);
        window.Whiten();
        int black, face;
        window.Count(&black, &face);
        REQUIRE(black == 0);
        Answers({});
        r.act();
        CHECK(MesgBoxCallCount() == 0);
        CHECK(std::string(session->statusText) == r.status);
        window.Count(&black, &face);
        CHECK(black > 20);
        CHECK(face > 1000);
    }
    CHECK(!FileExists(f / "MOVED.TXT"));
}
