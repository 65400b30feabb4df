// The key table of the filter on plain windows of the test's own: what is
// consumed while the session record exists, and that everything passes
// once it is gone.
#include <doctest.h>

#include "setup/session.h"
#include "testutil.h"
#include "window/keyfilter.h"

namespace {

int keysSeen, okCommands;

LRESULT CALLBACK Recording(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN)
        keysSeen++;
    if (msg == WM_COMMAND && LOWORD(wParam) == IDOK)
        okCommands++;
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

struct Windows {
    HWND main, child;
    Windows()
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = Recording;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "KbFilterTest";
        RegisterClassA(&wc);
        main = CreateWindowExA(0, "KbFilterTest", "", WS_OVERLAPPED, 0, 0, 200, 100, nullptr,
                               nullptr, wc.hInstance, nullptr);
        child = CreateWindowExA(0, "KbFilterTest", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0, 50,
                                20, main, reinterpret_cast<HMENU>(7), wc.hInstance, nullptr);
        keysSeen = okCommands = 0;
    }
    ~Windows() { DestroyWindow(main); }
    void key(UINT message, WPARAM key)
    {
        MSG msg = {};
        msg.hwnd = child;
        msg.message = message;
        msg.wParam = key;
        FilterMessage(&msg);
    }
};

}

TEST_CASE("Enter is IDOK to the main window while the session exists, and passes once it is gone")
{
    Windows w;
    {
        SessionFixture fixture;
        session->hMainWnd = w.main;
        w.key(WM_KEYDOWN, VK_RETURN);
        CHECK(okCommands == 1);
        CHECK(keysSeen == 0);
        w.key(WM_KEYDOWN, VK_SPACE); // left to the focused control
        CHECK(keysSeen == 1);
        w.key(WM_SYSKEYDOWN, VK_F4); // no mnemonic: dispatched
        CHECK(keysSeen == 2);
    }
    if (session)
        FreeSession();
    REQUIRE(session == nullptr);
    keysSeen = okCommands = 0;
    for (WPARAM key : { WPARAM(VK_RETURN), WPARAM(VK_ESCAPE), WPARAM(VK_TAB), WPARAM('A') })
        w.key(WM_KEYDOWN, key);
    w.key(WM_SYSKEYDOWN, 'A');
    CHECK(keysSeen == 5);
    CHECK(okCommands == 0);
}
