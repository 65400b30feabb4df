#include <doctest.h>

#include <string>
#include <vector>

#include "testutil.h"
#include "tools/list_window.h"
#include "setup/general.h"
#include "window/options.h"

// The option list on a real window, its rows made from a [GENERAL] text.
struct ListFixture : SessionFixture {
    ListWindow w;
    explicit ListFixture(const std::string &text)
    {
        w = CreateListWindow();
        session->languageOffset = 100;
        SetSetupText(text);
        ParseGeneralSection();
        session->page = PageOptions;
    }
    ~ListFixture() { DestroyListControls(w); }
    HWND Row(int id) const { return GetDlgItem(w.list, id); }
    std::string States(int base, int count) const
    {
        std::string s;
        for (int n = 0; n < count; n++)
            s += GetItemChecked(Row(base + n)) ? '1' : '0';
        return s;
    }
    int ScrollPos() const { return GetScrollPos(w.list, SB_VERT); }
    void Scroll(int request, int thumb = 0)
    {
        SendMessageA(w.list, WM_VSCROLL, MAKEWPARAM(request, thumb), 0);
    }
    void Key(WPARAM key) { SendMessageA(w.list, WM_KEYDOWN, key, 0); }
};

static int RowTop(HWND row)
{
    RECT r;
    GetWindowRect(row, &r);
    POINT p = { r.left, r.top };
    ScreenToClient(GetParent(row), &p);
    return p.y;
}

static const char ModesAndOptions[] = "[GENERAL]\n"
                                      "INSTALLMODE0=Full,100\n"
                                      "INSTALLMODE1=Lean,200\n"
                                      "INSTALLMODE2=Tiny,400\n"
                                      "OPTION0=Help,10\n"
                                      "OPTION1=Demo,20\n"
                                      "OPTION2=Fonts,40\n"
                                      "INSTALLSET0=Radio,CI,1\n"
                                      "INSTALLSET1=Checks,CI,-2\n"
                                      "MCOMMENT0=Full comment\n"
                                      "MCOMMENT1=Lean comment\n"
                                      "MCOMMENT2=Tiny comment\n"
                                      "OCOMMENT0=Help comment\n"
                                      "OCOMMENT1=Demo comment\n"
                                      "OCOMMENT2=Fonts comment\n";

TEST_CASE("Clicks on rows: radio and check modes, options, only on the options page")
{
    const int dbl = BN_DOUBLECLICKED << 16, setFocus = BN_SETFOCUS << 16;
    struct Case {
        const char *what; int set; int page; std::vector<int> clicks;
        const char *modes; const char *options; int mode; int focus; const char *comment; int needKB;
    };
    const Case cases[] = {
        { "radio: another mode", 0, 2, { 1302 }, "001", "000", 2, 1302, "Tiny comment", 400 },
        { "radio: the selected mode again", 0, 2, { 1301 }, "010", "000", 1, 1301, "Lean comment", 200 },
        { "radio: two moves", 0, 2, { 1302, 1300 }, "100", "000", 0, 1300, "Full comment", 100 },
        { "check: two modes", 1, 2, { 1300, 1302 }, "101", "000", -2, 1302, "Tiny comment", 500 },
        { "check: one mode twice", 1, 2, { 1301, 1301 }, "000", "000", -2, 1301, "Lean comment", 0 },
        { "options", 0, 2, { 1000, 1002 }, "010", "101", 1, 1002, "Fonts comment", 250 },
        { "an option twice", 0, 2, { 1001, 1001 }, "010", "000", 1, 1001, "Demo comment", 200 },
        { "directory page", 0, 1, { 1302, 1000 }, "010", "000", 1, 1300, "", 200 },
        { "progress page", 1, 3, { 1300, 1000 }, "000", "000", -2, 1300, "", 0 },
        { "other notifications", 0, 2, { 1302 | dbl, 1000 | setFocus }, "010", "000", 1, 1300, "", 200 },
        { "ids without a row", 0, 2, { 1303, 1003, 1256, 1556 }, "010", "000", 1, 1300, "", 200 },
    };
    for (const Case &c : cases) {
        std::string what = c.what;
        CAPTURE(what);
        ListFixture f(ModesAndOptions);
        session->installSetIndex = c.set;
        ApplyInstallSet();
        session->page = static_cast<short>(c.page);
        for (int id : c.clicks)
            SendMessageA(f.w.list, WM_COMMAND, static_cast<WPARAM>(id),
                         reinterpret_cast<LPARAM>(f.Row(id & 0xFFFF)));
        CHECK(f.States(1300, 3) == c.modes);
        CHECK(f.States(1000, 3) == c.options);
        CHECK(session->selectedMode == c.mode);
        CHECK(session->focusItemId == c.focus);
        CHECK(session->hFocusItem == f.Row(c.focus));
        CHECK(std::string(session->commentText) == c.comment);
        CHECK(session->needKB == c.needKB);
    }
}

TEST_CASE("Arrow keys follow the order of the lines, not the drawing order")
{
    ListFixture f("[GENERAL]\nOPTION0=A,1\nOPTION2=C,1\nOPTION1=B,1\n"
                  "OCOMMENT0=first\nOCOMMENT1=second\nOCOMMENT2=third\n");
    REQUIRE(session->focusItemId == 1000);
    SetFocus(f.w.list);
    CHECK(GetFocus() == f.Row(1000));
    struct Step { WPARAM key; int focus; const char *comment; };
    const Step steps[] = {
        { VK_DOWN, 1002, "third" }, { VK_RIGHT, 1001, "second" }, { VK_DOWN, 1001, "second" },
        { VK_UP, 1002, "third" },   { VK_LEFT, 1000, "first" },   { VK_UP, 1000, "first" },
        { VK_SPACE, 1000, "first" }, { 'B', 1000, "first" },     { VK_NEXT, 1000, "first" },
    };
    for (const Step &s : steps) {
        CAPTURE(s.key);
        f.Key(s.key);
        CHECK(session->focusItemId == s.focus);
        CHECK(session->hFocusItem == f.Row(s.focus));
        CHECK(GetFocus() == f.Row(s.focus));
        CHECK(std::string(session->commentText) == s.comment);
    }
    CHECK(f.States(1000, 3) == "000");
}

TEST_CASE("Moving past the eighth row scrolls the list; the focus brings the current row back")
{
    std::string text = "[GENERAL]\nINSTALLMODE0=Only,1\n";
    for (int n = 0; n < 12; n++)
        text += "OPTION" + std::to_string(n) + "=Part,1\n";
    ListFixture f(text);
    const int pitch = 19;
    SetFocus(f.w.list);
    // Mode 0, the empty row, options 0..5 fill the eight rows shown.
    for (int n = 0; n < 6; n++)
        f.Key(VK_DOWN);
    CHECK(session->focusItemId == 1005);
    CHECK(f.ScrollPos() == 0);
    f.Key(VK_DOWN);
    CHECK(f.ScrollPos() == pitch);
    CHECK(RowTop(f.Row(1006)) == 8 * pitch + 2 - pitch);
    f.Scroll(SB_TOP);
    CHECK(f.ScrollPos() == 0);
    // Focus returning to the list scrolls the current row into view.
    SetFocus(f.w.main);
    SetFocus(f.w.list);
    CHECK(GetFocus() == f.Row(1006));
    CHECK(f.ScrollPos() == pitch);
    for (int n = 0; n < 7; n++)
        f.Key(VK_UP);
    CHECK(session->focusItemId == 1300);
    CHECK(f.ScrollPos() == 0);
    CHECK(RowTop(f.Row(1300)) == 2);
}

TEST_CASE("Scroll requests: lines, pages of eight rows, the released thumb, top and bottom")
{
    std::string text = "[GENERAL]\n";
    for (int n = 0; n < 20; n++)
        text += "OPTION" + std::to_string(n) + "=Part,1\n";
    ListFixture f(text);
    int low = -1, high = -1;
    GetScrollRange(f.w.list, SB_VERT, &low, &high);
    REQUIRE(low == 0);
    REQUIRE(high == 19 * 19);
    struct Case { int from; int request; int thumb; int to; };
    const Case cases[] = {
        { 0, SB_LINEDOWN, 0, 19 },     { 0, SB_LINEUP, 0, 0 },        { 10, SB_LINEUP, 0, 0 },
        { 350, SB_LINEDOWN, 0, 361 },  { 361, SB_LINEDOWN, 0, 361 },  { 0, SB_PAGEDOWN, 0, 152 },
        { 300, SB_PAGEDOWN, 0, 361 },  { 361, SB_PAGEUP, 0, 209 },    { 100, SB_PAGEUP, 0, 0 },
        { 0, SB_THUMBPOSITION, 100, 100 }, { 0, SB_THUMBPOSITION, 1000, 361 },
        { 0, SB_THUMBTRACK, 100, 0 },  { 57, SB_ENDSCROLL, 0, 57 },   { 200, SB_TOP, 0, 0 },
        { 5, SB_BOTTOM, 0, 361 },
    };
    for (const Case &c : cases) {
        CAPTURE(c.from);
        CAPTURE(c.request);
        f.Scroll(SB_THUMBPOSITION, c.from);
        REQUIRE(f.ScrollPos() == c.from);
        f.Scroll(c.request, c.thumb);
        CHECK(f.ScrollPos() == c.to);
        // The rows moved with the contents.
        CHECK(RowTop(f.Row(1000)) == 2 - c.to);
        CHECK(RowTop(f.Row(1019)) == 19 * 19 + 2 - c.to);
    }
}

// The rows of column x of the list's client area that are black.
static std::vector<int> BlackRows(HWND list, int x)
{
    RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    RECT c;
    GetClientRect(list, &c);
    HDC hdc = GetDC(list);
    std::vector<int> rows;
    for (int y = 0; y < c.bottom; y++) {
        COLORREF pixel = GetPixel(hdc, x, y);
        if (pixel == RGB(0, 0, 0))
            rows.push_back(y);
        else
            REQUIRE(pixel == RGB(192, 192, 192));
    }
    ReleaseDC(list, hdc);
    return rows;
}

TEST_CASE("Separator lines: between modes and options, and for every missing row")
{
    struct Case { const char *what; const char *lines; std::vector<int> black; std::vector<int> scrolled; };
    const Case cases[] = {
        { "modes and options with gaps",
          "INSTALLMODE0=A,1\nINSTALLMODE2=B,1\nOPTION0=C,1\nOPTION1=D,1\nOPTION3=E,1\n",
          { 28, 66, 123 }, { 9, 47, 104 } },
        { "options only", "OPTION0=C,1\nOPTION2=D,1\nOPTION3=E,1\n", { 28 }, { 9 } },
        { "no gaps", "INSTALLMODE0=A,1\nINSTALLMODE1=B,1\nOPTION0=C,1\n", { 47 }, { 28 } },
    };
    for (const Case &c : cases) {
        std::string what = c.what;
        CAPTURE(what);
        ListFixture f(std::string("[GENERAL]\n") + c.lines);
        CHECK(BlackRows(f.w.list, 3) == c.black);
        // The lines cross the whole list.
        RECT client;
        GetClientRect(f.w.list, &client);
        HDC hdc = GetDC(f.w.list);
        for (int y : c.black)
            CHECK(GetPixel(hdc, client.right - 1, y) == RGB(0, 0, 0));
        ReleaseDC(f.w.list, hdc);
        f.Scroll(SB_LINEDOWN);
        CHECK(BlackRows(f.w.list, 3) == c.scrolled);
    }
}
