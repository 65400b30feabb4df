// Painting of the main window and its owner-drawn controls, checked on
// screenshots at the pixels the layout fixes.
#include <doctest.h>

#include <string.h>

#include "paintenv.h"
#include "setup/texts.h"
#include "window/paint.h"

namespace {

// True when the region holds a pixel of colour c.

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

    SUBCASE("a third of the steps fills a third")
    {
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
    SUBCASE("no steps leaves the bar empty")
    {
        session->stepCounter = 0;
        session->stepTotal = 0;
        env.Repaint();
        Shot s(env.host);
        CHECK(s.at(bar.left, mid) == Black);
        CHECK(s.at(bar.left + 1, mid) == Face());
        CHECK(s.at(bar.right - 1, mid) == Black);
    }
    SUBCASE("more steps than counted never fill beyond the bar")
    {
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
