// The model behind the option list: one record per mode or option row, the
// current row, install sets applied to the rows, comments and disk space.
#pragma once

#include <windows.h>

#include "setup/session.h"

// Mode and option numbers run from 0 to this.
enum { LastItemNumber = 255 };

// Row ids: 1000 + n for option n, 1300 + n for install mode n. INT_PTR so
// that a whole WM_COMMAND wParam can be tested.
inline bool IsOptionId(INT_PTR id) { return id >= IdFirstOption && id <= IdFirstOption + LastItemNumber; }
inline bool IsModeId(INT_PTR id) { return id >= IdFirstMode && id <= IdFirstMode + LastItemNumber; }
// Distance between the tops of two rows of the option list.
inline int RowPitch() { return session->charHeight + 3; }

// Comment kinds of ShowComment.
enum { CommentMode = 0, CommentSet = 1, CommentOption = 2 };

// One row of the option list, kept in the movable block hItems in creation
// order (the order of the lines in [GENERAL]).
struct OptionItem {
    HWND window;
    int sizeKB;
    int checked;
    int x;
    int y; // inside the list, unscrolled
};

// Appends a record; false when the block cannot grow.
bool AddOptionItem(HWND window, int sizeKB, int checked, int x, int y);
// Windows without a record read as size 0, position (0, 0), unchecked.
int GetItemSize(HWND window);
POINT GetItemPos(HWND window);
int GetItemChecked(HWND window);
// Stores the state and repaints the row at once; no record, no effect.
void SetItemChecked(HWND window, int checked);
// The row before (previous) or after window in creation order, or null.
HWND GetNeighbourItem(HWND window, bool previous);
// Makes the row with control id current and moves the highlight to it.
void SetFocusItem(int id);
// Scrolls the option list so that the current row is among the eight shown.
void ScrollToFocusItem();
// Sums the sizes of the checked rows into needKB.
void UpdateNeedKB();
// Applies the install set selected by installSetIndex to the rows.
void ApplyInstallSet();
// Shows the comment of mode, install set or option number; without one the
// comment text stays as it was.
void ShowComment(int kind, int number);
// Shows the comment of the mode or option row with control id; other ids
// show nothing.
void ShowItemComment(int id);
// Measures the free space of the drive named by the directory field when
// that drive differs from the last one measured.
void UpdateFreeKB();
