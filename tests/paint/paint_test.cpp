// Painting of the main window and its owner-drawn controls, checked on
// screenshots at the pixels the layout fixes.
#include <doctest.h>

#include <string.h>

#include "bmpfile.h"
#include "paintenv.h"
#include "setup/texts.h"
#include "window/options.h"
#include "window/paint.h"

namespace {

// Draws a control the way WM_DRAWITEM would with the given state.
void DrawWithState(HWND control, UINT state)
{
    HDC hdc = GetDC(control);
    DrawOwnerButton(ODA_DRAWENTIRE, state, control, hdc);
    ReleaseDC(control, hdc);
}

bool HasBlack(const Shot &s, int x0, int y0, int x1, int y1)
{
    for (int y = y0; y < y1; y++)
        for (int x = x0; x < x1; x++)
            if (s.at(x, y) == Black)
                return true;
    return false;
}

} // namespace

TEST_CASE("the header shows the logo and version pictures through their masks and an etched line")
{
    PaintEnv env;
    env.SetPage(PageProgress);
    env.Repaint();
    Shot s(env.host);
    // Logo at (1, 1): its background stays the face colour, the letters are navy.
    CHECK(s.at(1, 1) == Face());
    CHECK(s.at(1 + 4, 1) == RGB(0, 0, 128));
    // Version picture at (R - 51, 1), dark red letters.
    CHECK(s.at(s.width - 51, 1) == Face());
    CHECK(s.at(s.width - 51 + 5, 1) == RGB(128, 0, 0));
    // Etched line under the header.
    CHECK(s.at(10, 16 + 1) == Shadow());
    CHECK(s.at(10, 16 + 2) == Highlight());
    CHECK(s.at(0, 16 + 1) == Face());
}

TEST_CASE("progress bar fill")
{
    PaintEnv env;
    env.SetPage(PageProgress);
    RECT bar = session->rcList;
    InflateRect(&bar, -10, -(16 / 2 + 2));
    bar.top = bar.bottom - 16;
    int width = bar.right - bar.left;
    int mid = (bar.top + bar.bottom) / 2;

    {
        INFO("a third of the steps fills a third");
        session->stepCounter = 1;
        session->stepTotal = 3;
        env.Repaint();
        Shot s(env.host);
        int edge = bar.left + width / 3;
        CHECK(s.at(bar.left, bar.top) == Black);
        CHECK(s.at(edge - 1, mid) == Black);
        CHECK(s.at(edge, mid) == Face());
        CHECK(s.at(bar.right - 1, mid) == Black); // the frame
        CHECK(s.at(bar.right - 2, mid) == Face());
    }
    {
        INFO("no steps leaves the bar empty");
        session->stepCounter = 0;
        session->stepTotal = 0;
        env.Repaint();
        Shot s(env.host);
        CHECK(s.at(bar.left, mid) == Black);
        CHECK(s.at(bar.left + 1, mid) == Face());
        CHECK(s.at(bar.right - 1, mid) == Black);
    }
    {
        INFO("more steps than counted never fill beyond the bar");
        session->stepCounter = 7;
        session->stepTotal = 3;
        env.Repaint();
        Shot s(env.host);
        CHECK(s.at(bar.right - 2, mid) == Black);
        CHECK(s.at(bar.right, mid) == Face());
    }
}

TEST_CASE("ten disk groups: ten disks spread along the comment area, the current one different")
{
    PaintEnv env;
    env.SetPage(PageProgress);
    session->lastGroup = 9;
    for (int g = 0; g <= 9; g++)
        session->groupSteps[g] = 2;
    session->currentGroup = 3;
    env.Repaint();
    Shot s(env.host);
    RECT c = session->rcText;
    InflateRect(&c, -8, -16);
    int span = c.right - c.left - 16;
    int offset = (span / 10 - 32) / 2 > 0 ? (span / 10 - 32) / 2 : 0;
    for (int i = 1; i <= 10; i++) {
        int x = c.left + offset + span * (i - 1) / 10;
        CAPTURE(i);
        // The disk's body left of its label: navy, the current one dark red.
        CHECK(s.at(x + 4, c.bottom - 32 + 14) == (i == 4 ? RGB(128, 0, 0) : RGB(0, 0, 128)));
        CHECK(s.at(x, c.bottom - 32) == Face()); // transparent corner
    }
}

TEST_CASE("the status line is redrawn at once on the progress page only")
{
    PaintEnv env;
    env.SetPage(PageProgress);
    env.Repaint();
    RECT rc = session->rcList;
    InflateRect(&rc, -10, -(16 / 2 + 2));
    rc.bottom = rc.top + 32;
    HDC hdc = GetDC(env.host);
    FillRect(hdc, &rc, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    ReleaseDC(env.host, hdc);
    session->statusText[0] = 0;

    session->page = PageOptions;
    RedrawStatus(env.host);
    GdiFlush();
    CHECK(Shot(env.host).at(rc.left + 2, rc.top + 2) == Black);

    session->page = PageProgress;
    RedrawStatus(env.host);
    GdiFlush();
    Shot s(env.host);
    CHECK(s.at(rc.left + 2, rc.top + 2) == Face());
    CHECK(s.at(rc.right - 1, rc.bottom - 1) == Face());
}

TEST_CASE("push buttons: edges, the focused button's double border, the mnemonic and the pressed look")
{
    PaintEnv env;
    HWND focused = env.AddButton("B&OK", 1, 20, 60, 100, 26);
    HWND plain = env.AddButton("BOK", 2, 140, 60, 100, 26);
    HWND mnemonic = env.AddButton("B&OK", 3, 260, 60, 100, 26);
    SetFocus(focused);
    env.Repaint();

    Shot f(focused), p(plain), m(mnemonic);
    // Outer edge: shadow top and left, highlight right and bottom.
    CHECK(f.at(0, 12) == Shadow());
    CHECK(f.at(50, 0) == Shadow());
    CHECK(f.at(99, 12) == Highlight());
    CHECK(f.at(50, 25) == Highlight());
    // One black border, two when focused, then the raised inner edge.
    CHECK(f.at(1, 12) == Black);
    CHECK(f.at(2, 12) == Black);
    CHECK(f.at(97, 12) == Black);
    CHECK(f.at(3, 12) == Highlight());
    CHECK(m.at(1, 12) == Black);
    CHECK(m.at(2, 12) == Highlight());
    CHECK(m.at(97, 12) == Shadow());
    CHECK(m.at(10, 12) == Face());

    // "OK" is 18 pixels wide: x = (100 - 18) / 2 - 1 = 40, plus 3 with a
    // mnemonic; the underline of "O" is black at y 19, highlight at y 20.
    CHECK(m.at(43, 19) == Black);
    CHECK(m.at(51, 19) == Black);
    CHECK(m.at(44, 20) == Highlight());
    CHECK(m.at(52, 20) == Highlight());
    CHECK(m.at(43, 20) == Face());
    CHECK(p.at(43, 20) == Face());
    bool shifted = true;
    for (int y = 5; y < 19; y++)
        for (int x = 30; x < 70; x++)
            shifted = shifted && m.at(x + 3, y) == p.at(x, y);
    CHECK(shifted);
    CHECK(HasBlack(p, 30, 5, 70, 19));

    DrawWithState(plain, ODS_SELECTED);
    Shot pressed(plain);
    // The area inside the black border is inverted, the border and the
    // outer edge are not.
    CHECK(pressed.at(10, 12) == Inverted(Face()));
    CHECK(pressed.at(2, 12) == Inverted(Highlight()));
    CHECK(pressed.at(97, 12) == Inverted(Shadow()));
    CHECK(pressed.at(98, 12) == Black);
    CHECK(pressed.at(99, 12) == Highlight());
}

TEST_CASE("cells of rows and drive buttons")
{
    PaintEnv env;
    HWND row = env.AddButton("COption one\t 10 KB", 1000, 8, 200, 416, 16);
    HWND grey = env.AddButton("cGrey", 1001, 8, 220, 416, 16);
    HWND radio = env.AddButton("rRed", 1002, 8, 240, 416, 16);
    HWND drive = env.AddButton("DC:", 1606, 8, 260, 60, 16);
    env.Repaint();

    {
        INFO("an unchecked row shows the left cell through its mask");
        Shot s(row);
        CHECK(s.at(0, 0) == Face());              // outside the mask
        CHECK(s.at(1, 1) == Black);               // frame
        CHECK(s.at(3, 3) == RGB(255, 255, 255));  // opaque white inside
        CHECK(s.at(11, 4) == RGB(128, 128, 128)); // grey tick
        CHECK(s.at(300, 8) == Face());            // not the current row
    }
    {
        INFO("pressing an unchecked row shows the right (checked) cell");
        DrawWithState(row, ODS_SELECTED);
        Shot s(row);
        CHECK(s.at(11, 4) == Black);
        CHECK(s.at(300, 8) == Face());
    }
    {
        INFO("a checked row shows the right cell, and the left one while pressed");
        REQUIRE(AddOptionItem(row, 10, 1, 8, 0));
        DrawWithState(row, 0);
        CHECK(Shot(row).at(11, 4) == Black);
        DrawWithState(row, ODS_SELECTED);
        CHECK(Shot(row).at(11, 4) == RGB(128, 128, 128));
        SetItemChecked(row, 0);
        DrawWithState(row, 0);
        CHECK(Shot(row).at(11, 4) == RGB(128, 128, 128));
    }
    {
        INFO("grey-framed cells: dark red tick and red dot in the right column");
        Shot before(grey);
        CHECK(before.at(1, 1) == RGB(128, 128, 128));
        CHECK(before.at(11, 4) == RGB(128, 128, 128));
        DrawWithState(grey, ODS_SELECTED);
        DrawWithState(radio, ODS_SELECTED);
        CHECK(Shot(grey).at(11, 4) == RGB(128, 0, 0));
        CHECK(Shot(radio).at(7, 6) == RGB(255, 0, 0));
    }
    {
        INFO("the current row is inverted right of its cell");
        session->hFocusItem = row;
        DrawWithState(row, 0);
        Shot s(row);
        CHECK(s.at(17, 8) == Inverted(Face()));
        CHECK(s.at(415, 8) == Inverted(Face()));
        CHECK(s.at(16, 8) == Face());
        CHECK(s.at(11, 4) == RGB(128, 128, 128));
    }
    {
        INFO("a row that gains the focus gets a dotted frame and becomes the current row");
        session->hFocusItem = nullptr;
        DrawWithState(row, ODS_FOCUS);
        CHECK(session->hFocusItem == row);
        Shot s(row);
        // Frame and text area are inverted together; the dotted frame
        // alternates along the top edge.
        CHECK(s.at(17, 0) != s.at(18, 0));
        CHECK(s.at(300, 8) == Inverted(Face()));
        session->hFocusItem = nullptr;
        DrawWithState(row, 0);
    }
    {
        INFO("a pressed drive button shows the greyed cell and an inverted caption");
        Shot normal(drive);
        CHECK(normal.at(10, 8) == RGB(0, 255, 0)); // the drive's light
        CHECK(normal.at(50, 8) == Face());
        DrawWithState(drive, ODS_SELECTED);
        Shot s(drive);
        CHECK(s.at(10, 8) == RGB(192, 192, 192));
        CHECK(s.at(50, 8) == Inverted(Face()));
        CHECK(session->hFocusItem == nullptr);
    }
    {
        INFO("sizes after a tab end at the last character cell");
        // 416 / 9 - 2 = 44 columns; the 43 shown characters end at 18 + 43 * 9.
        Shot s(row);
        CHECK(HasBlack(s, 405 - 9, 0, 405, 16));
        CHECK_FALSE(HasBlack(s, 405, 0, 416, 16));
        SetWindowTextA(row, "COption one 10 KB");
        DrawWithState(row, 0);
        Shot untabbed(row);
        CHECK(HasBlack(untabbed, 18, 0, 18 + 16 * 9, 16));
        CHECK_FALSE(HasBlack(untabbed, 18 + 16 * 9, 0, 416, 16));
    }
    {
        INFO("a row's mnemonic is underlined under its letter");
        SetWindowTextA(row, "CA&lpha");
        DrawWithState(row, 0);
        Shot s(row);
        CHECK(s.at(18 + 9, 15) == Black);
        CHECK(s.at(18 + 17, 15) == Black);
    }
}

TEST_CASE("directory page: the edit field's frame, the comment frame and the free space")
{
    PaintEnv env;
    RECT c;
    GetClientRect(env.host, &c);
    CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 18, 312, c.right - 36, 16,
                    env.host, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IdInstallDir)),
                    session->hInst, nullptr);
    env.SetPage(PageDirectory);
    session->freeKB = 2048;
    env.Repaint();
    Shot s(env.host);
    // The field's client area (18, 312)-(R - 18, 328): a black box one
    // pixel outside it, an engraved edge one further out.
    CHECK(s.at(17, 320) == Black);
    CHECK(s.at(16, 320) == Shadow());
    CHECK(s.at(100, 311) == Black);
    CHECK(s.at(100, 310) == Shadow());
    CHECK(s.at(100, 328) == Black);
    CHECK(s.at(100, 329) == Highlight());
    CHECK(s.at(c.right - 18, 320) == Black);
    CHECK(s.at(c.right - 17, 320) == Highlight());
    const RECT &t = session->rcText;
    CHECK(s.at(t.left, t.top + 40) == Shadow());
    CHECK(s.at(t.left + 1, t.top + 40) == Highlight());
    const RECT &d = session->rcDisk;
    CHECK(HasBlack(s, d.left, d.top, d.right, d.top + 16));
}

TEST_CASE("options page: engraved frames and embossed labels")
{
    PaintEnv env;
    env.SetPage(PageOptions);
    env.Repaint();
    Shot s(env.host);
    const RECT &list = session->rcList;
    CHECK(s.at(list.left, list.top + 5) == Shadow());
    CHECK(s.at(list.left + 1, list.top + 5) == Highlight());
    CHECK(s.at(list.right, list.top + 5) == Shadow());
    CHECK(s.at(list.right + 1, list.top + 5) == Highlight());

    // "Option:" at (16, list.top - 18): black glyphs with a highlight copy
    // one pixel down and right.
    int x0 = 16, y0 = list.top - 16 - 2;
    int black = 0, lit = 0;
    bool embossed = true;
    for (int y = y0; y < y0 + 16; y++) {
        for (int x = x0; x < x0 + 7 * 9; x++) {
            if (s.at(x, y) == Black) {
                black++;
                COLORREF below = s.at(x + 1, y + 1);
                embossed = embossed && below != Face();
            } else if (s.at(x, y) == Highlight()) {
                lit++;
            }
        }
    }
    CHECK(black > 10);
    CHECK(lit > 10);
    CHECK(embossed);
}

TEST_CASE("COVER.BMP is centred in its frame on the cover page")
{
    ScratchDir dir("cover");
    for (int bits : {8, 24}) {
        CAPTURE(bits);
        REQUIRE(WriteBytes(dir / "COVER.BMP", QuadrantBmp(40, 30, bits)));
        CurrentDir here(dir.path);
        PaintEnv env;
        REQUIRE(session->hCoverBmp != nullptr);
        CreateDibPalette(static_cast<const BITMAPINFOHEADER *>(GlobalLock(session->hCoverBmp)),
                         &session->hCoverPalette, &session->coverColors);
        GlobalUnlock(session->hCoverBmp);
        CHECK(session->hCoverPalette != nullptr);
        CHECK(session->coverColors == 256);
        env.SetPage(PageCover);
        env.Repaint();
        CHECK(QueryNewPalette(env.host) == 0);
        CHECK(PaletteChanged(env.host, nullptr) == 0);

        Shot s(env.host);
        const RECT &t = session->rcText;
        int x = (t.left + t.right - 40) / 2, y = (t.top + t.bottom - 30) / 2;
        CHECK(s.at(x + 1, y + 1) == RGB(255, 0, 0));
        CHECK(s.at(x + 40, y + 1) == RGB(0, 255, 0));
        CHECK(s.at(x + 1, y + 30) == RGB(0, 0, 255));
        CHECK(s.at(x + 40, y + 30) == RGB(255, 255, 0));
        CHECK(s.at(x + 21, y + 16) == RGB(255, 255, 0));
        CHECK(s.at(x + 20, y + 15) == RGB(255, 0, 0));
        CHECK(s.at(x, y) == Shadow());
        CHECK(s.at(x + 1, y + 31) == Highlight());
        CHECK(s.at(x + 41, y + 10) == Highlight());
        CHECK(s.at(x - 1, y + 10) == Face());
    }
}

TEST_CASE("without COVER.BMP the cover page shows the header only")
{
    ScratchDir dir("nocover");
    CurrentDir here(dir.path);
    PaintEnv env;
    CHECK(session->hCoverBmp == nullptr);
    env.SetPage(PageCover);
    env.Repaint();
    Shot s(env.host);
    bool plain = true;
    for (int y = 20; y < s.height; y += 3)
        for (int x = 0; x < s.width; x += 3)
            plain = plain && s.at(x, y) == Face();
    CHECK(plain);
}
