// A main window like the engine's (480 wide, caption + 380 high, the UI
// font, the picture strips, icons and texts) whose painting is the engine's
// own, and screenshots of it read back from the screen.
#pragma once

#include <windows.h>

#include <vector>

#include "testutil.h"

struct PaintEnv : SessionFixture {
    HWND host = nullptr;
    PaintEnv();
    ~PaintEnv();
    // An owner-drawn child button of the host.
    HWND AddButton(const char *caption, int id, int x, int y, int w, int h);
    // Sets the page and its rectangles the way the page switch does.
    void SetPage(int page);
    // Repaints the host and its children now.
    void Repaint();
};

// The screen's pixels over a window's client area.
struct Shot {
    int width = 0, height = 0;
    std::vector<COLORREF> pixels;
    explicit Shot(HWND hwnd);
    COLORREF at(int x, int y) const;
};

COLORREF Face();
COLORREF Highlight();
COLORREF Shadow();
COLORREF Inverted(COLORREF c);
constexpr COLORREF Black = RGB(0, 0, 0);
