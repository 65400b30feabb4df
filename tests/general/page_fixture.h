// A main window with the controls of the directory and option pages (the
// install-set list, the directory field and the option list with its
// scroll bar) laid out as the engine's page builder does, on a real
// top-level window.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "testutil.h"

struct PageFixture : SessionFixture {
    HWND main = nullptr;
    HWND setList = nullptr;
    HWND dirEdit = nullptr;
    HWND list = nullptr;
    HFONT font = nullptr;

    // setupText becomes the session's setup text; nothing is parsed yet.
    explicit PageFixture(const std::string &setupText, int languageOffset = 100);
    ~PageFixture();

    HWND Row(int id) const { return GetDlgItem(list, id); }
};

// Rows drawn by the option list since the last clear, each with whether it
// was the highlighted row (hFocusItem) when it was drawn.
struct RowDraw { HWND row; bool highlighted; };
extern std::vector<RowDraw> rowDraws;

std::string WindowText(HWND window);
// Top left corner of a child inside its parent's client area.
POINT ChildPos(HWND child);
// The update region's bounding box of window, or an empty rectangle.
RECT UpdateBox(HWND window);
bool NothingToPaint(HWND window);
bool SameRect(const RECT &a, const RECT &b);
