#include "window/optlist.h"

#include "setup/session.h"
#include "window/options.h"
#include "window/paint.h"

enum { PageRows = 8 };

// The arrow keys walk the rows in the order the setup file defines them,
// which need not be the order they are drawn in.
static void MoveToNeighbour(HWND list, bool previous)
{
    HWND row = GetNeighbourItem(GetDlgItem(list, session->focusItemId), previous);
    if (!row)
        return;
    int id = GetDlgCtrlID(row);
    SetFocus(row);
    SetFocusItem(id);
    ShowItemComment(id);
    ScrollToFocusItem();
}

static void ClickRow(HWND list, int id)
{
    SetupSession *s = session;
    // Only a row can be clicked; an id without one must not move the mode.
    HWND row = GetDlgItem(list, id);
    if (!row)
        return;
    if (IsOptionId(id)) {
        SetItemChecked(row, !GetItemChecked(row));
        UpdateNeedKB();
        SetFocusItem(id);
        ShowComment(CommentOption, id - IdFirstOption);
    } else if (s->selectedMode >= 0) {
        // Radio rows: the click moves the one checked mode.
        if (id - IdFirstMode != s->selectedMode) {
            HWND selected = GetDlgItem(list, IdFirstMode + s->selectedMode);
            SetItemChecked(selected, !GetItemChecked(selected));
            SetItemChecked(row, !GetItemChecked(row));
            s->selectedMode = id - IdFirstMode;
            UpdateNeedKB();
        }
        SetFocusItem(id);
        ShowComment(CommentMode, s->selectedMode);
    } else {
        SetItemChecked(row, !GetItemChecked(row));
        UpdateNeedKB();
        SetFocusItem(id);
        ShowComment(CommentMode, id - IdFirstMode);
    }
}

static void Scroll(HWND list, int request, int thumb)
{
    int pitch = RowPitch();
    int low, high;
    GetScrollRange(list, SB_VERT, &low, &high);
    int p = GetScrollPos(list, SB_VERT);
    int pos = p;
    switch (request) {
    case SB_LINEUP:
        if (p > low)
            pos = p - pitch;
        break;
    case SB_LINEDOWN:
        if (p < high)
            pos = p + pitch;
        break;
    case SB_PAGEUP:
        if (p > low)
            pos = p - PageRows * pitch;
        break;
    case SB_PAGEDOWN:
        if (p < high)
            pos = p + PageRows * pitch;
        break;
    case SB_THUMBPOSITION:
        pos = thumb;
        break;
    case SB_TOP:
        pos = low;
        break;
    case SB_BOTTOM:
        pos = high;
        break;
    default:
        // The list follows the box only once it is released.
        break;
    }
    if (pos < low)
        pos = low;
    if (pos > high)
        pos = high;
    if (pos == p)
        return;
    SetScrollPos(list, SB_VERT, pos, TRUE);
    // The rows are child windows and move with the contents.
    ScrollWindow(list, 0, p - pos, nullptr, nullptr);
}

static void HorizontalLine(HDC hdc, int width, int y)
{
    MoveToEx(hdc, 0, y, nullptr);
    LineTo(hdc, width, y);
}

// The background, a line in the empty row between the modes and the
// options, and a line for every row number the setup file left out.
static void PaintList(HWND list)
{
    SetupSession *s = session;
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(list, &ps);
    RECT client;
    GetClientRect(list, &client);
    FillFace(hdc, &client);

    int pitch = RowPitch();
    int top = GetScrollPos(list, SB_VERT);
    int half = pitch / 2;
    int optionsTop = 0;
    if (s->maxModeIndex != -1) {
        HorizontalLine(hdc, client.right, (s->maxModeIndex + 1) * pitch + half - top);
        optionsTop = (s->maxModeIndex + 2) * pitch;
    }
    for (int i = 0; i < s->maxModeIndex; i++)
        if (!GetDlgItem(list, IdFirstMode + i))
            HorizontalLine(hdc, client.right, i * pitch + half - top);
    for (int i = 0; i < s->maxOptionIndex; i++)
        if (!GetDlgItem(list, IdFirstOption + i))
            HorizontalLine(hdc, client.right, i * pitch + half - top + optionsTop);
    EndPaint(list, &ps);
}

LRESULT CALLBACK ScboxWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!session)
        return DefWindowProcA(hwnd, message, wParam, lParam);
    switch (message) {
    case WM_SETFOCUS: {
        // The list hands the keyboard focus on to its current row.
        ScrollToFocusItem();
        HWND row = GetDlgItem(hwnd, session->focusItemId);
        if (row)
            SetFocus(row);
        return 0;
    }
    case WM_KEYDOWN:
        if (wParam == VK_LEFT || wParam == VK_UP)
            MoveToNeighbour(hwnd, true);
        else if (wParam == VK_RIGHT || wParam == VK_DOWN)
            MoveToNeighbour(hwnd, false);
        return 0;
    case WM_PAINT:
        PaintList(hwnd);
        return 0;
    case WM_DRAWITEM: {
        const DRAWITEMSTRUCT *item = reinterpret_cast<const DRAWITEMSTRUCT *>(lParam);
        DrawOwnerButton(item->itemAction, item->itemState, item->hwndItem, item->hDC);
        return 0;
    }
    case WM_COMMAND:
        // The whole word is compared: only the plain click notification
        // reaches a row id.
        if (session->page == PageOptions && (IsOptionId(static_cast<INT_PTR>(wParam)) || IsModeId(static_cast<INT_PTR>(wParam))))
            ClickRow(hwnd, static_cast<int>(wParam));
        return 0;
    case WM_VSCROLL:
        Scroll(hwnd, LOWORD(wParam), HIWORD(wParam));
        return 0;
    default:
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}
