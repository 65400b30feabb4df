#include "window/paint.h"

#include <string.h>

#include "setup/session.h"

#if __has_include("window/options.h")
#include "window/options.h"
#else
// Until the option rows keep records of their own, no window has one, and a
// window without a record reads as unchecked.
static int GetItemChecked(HWND) { return 0; }
#endif

namespace {

// The pens of one paint; made at its start and deleted at its end.
struct Pens {
    HPEN highlight;
    HPEN shadow;
    HPEN black;
};

Pens MakePens()
{
    Pens p;
    p.highlight = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNHIGHLIGHT));
    p.shadow = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW));
    p.black = static_cast<HPEN>(GetStockObject(BLACK_PEN));
    return p;
}

void DeletePens(const Pens &p)
{
    DeleteObject(p.highlight);
    DeleteObject(p.shadow);
}

void FillFace(HDC hdc, const RECT *rc)
{
    HBRUSH brush = CreateSolidBrush(session->btnFaceColor);
    FillRect(hdc, rc, brush);
    DeleteObject(brush);
}

// Cell row of the strip for a kind letter; -1 when the letter has none.
int CellRow(char kind)
{
    static const char kinds[] = "CRcrDdNOM";
    const char *p = kind ? strchr(kinds, kind) : nullptr;
    return p ? static_cast<int>(p - kinds) * 16 : -1;
}

// The transparent drawing of a picture: the mask whitens the opaque area,
// the picture (white background) is then ANDed in.
void BlitMasked(HDC hdc, int x, int y, int w, int h, HDC picture, HDC mask, int sx, int mx, int sy)
{
    if (!picture || !mask)
        return;
    BitBlt(hdc, x, y, w, h, mask, mx, sy, MERGEPAINT);
    BitBlt(hdc, x, y, w, h, picture, sx, sy, SRCAND);
}

void DrawPushButton(HDC hdc, const Pens &pens, RECT r, UINT state, const char *text, int len, int u)
{
    int w = session->charWidth;
    int h = session->charHeight;
    int width = r.right - r.left;
    FillFace(hdc, &r);

    SelectObject(hdc, pens.shadow);
    DrawLine(hdc, r.left, r.top, r.right, r.top);
    DrawLine(hdc, r.left, r.top, r.left, r.bottom);
    SelectObject(hdc, pens.highlight);
    DrawLine(hdc, r.right - 1, r.top, r.right - 1, r.bottom);
    DrawLine(hdc, r.left, r.bottom - 1, r.right, r.bottom - 1);

    InflateRect(&r, -1, -1);
    SelectObject(hdc, pens.black);
    DrawBox(hdc, r.left, r.top, r.right - 1, r.bottom - 1);
    if (state & ODS_FOCUS) {
        InflateRect(&r, -1, -1);
        DrawBox(hdc, r.left, r.top, r.right - 1, r.bottom - 1);
    }

    InflateRect(&r, -1, -1);
    SelectObject(hdc, pens.highlight);
    DrawLine(hdc, r.left, r.top, r.right, r.top);
    DrawLine(hdc, r.left, r.top, r.left, r.bottom);
    SelectObject(hdc, pens.shadow);
    DrawLine(hdc, r.right - 1, r.top, r.right - 1, r.bottom);
    DrawLine(hdc, r.left, r.bottom - 1, r.right, r.bottom - 1);

    int x = (width - w * len) / 2 - 1 + (u >= 0 ? 3 : 0);
    int y = ((h + 10) - h) / 2;
    DrawEmbossedText(hdc, x, y, text, len);

    if (u >= 0) {
        int x2 = x + w * u;
        SelectObject(hdc, pens.highlight);
        DrawLine(hdc, x2 + 1, h + 4, x2 + w + 1, h + 4);
        SelectObject(hdc, pens.black);
        DrawLine(hdc, x2, h + 3, x2 + w, h + 3);
    }

    if (state & ODS_SELECTED)
        InvertRect(hdc, &r);
}

void DrawCellControl(HDC hdc, const Pens &pens, RECT r, UINT state, HWND hwnd, char kind,
                     const char *text, int len, int u)
{
    int w = session->charWidth;
    FillFace(hdc, &r);
    bool pressed = (state & ODS_SELECTED) != 0;
    bool row = kind == 'C' || kind == 'R';

    int column = (GetItemChecked(hwnd) != 0) == pressed ? 0 : 16;
    BlitMasked(hdc, 0, 0, 16, 16, session->hdc1002, session->hdc1012, column, 0, CellRow(kind));

    RECT t = r;
    t.left = 17;
    SetTextColor(hdc, RGB(0, 0, 0));
    SetBkMode(hdc, TRANSPARENT);
    TextOutA(hdc, 18, 0, text, len);

    if (u >= 0) {
        SelectObject(hdc, pens.black);
        DrawLine(hdc, 18 + u * w, r.bottom - 1, 18 + u * w + w, r.bottom - 1);
    }

    if (state & ODS_FOCUS) {
        if (session->hPatternBmp) {
            HBRUSH dotted = CreatePatternBrush(session->hPatternBmp);
            FrameRect(hdc, &t, dotted);
            DeleteObject(dotted);
        }
        // A row that gains the keyboard focus becomes the list's current row.
        if (row && hwnd != session->hFocusItem) {
            if (session->hFocusItem)
                InvalidateRect(session->hFocusItem, nullptr, FALSE);
            session->hFocusItem = hwnd;
        }
    }

    if ((!row && pressed) || (row && hwnd == session->hFocusItem))
        InvertRect(hdc, &t);
}

} // namespace

void DrawLine(HDC hdc, int x1, int y1, int x2, int y2)
{
    MoveToEx(hdc, x1, y1, nullptr);
    LineTo(hdc, x2, y2);
}

void DrawBox(HDC hdc, int left, int top, int right, int bottom)
{
    DrawLine(hdc, left, top, right + 1, top);
    DrawLine(hdc, left, top, left, bottom + 1);
    DrawLine(hdc, right, top, right, bottom + 1);
    DrawLine(hdc, left, bottom, right + 1, bottom);
}

void DrawFrame3D(HDC hdc, const RECT *rc, HPEN firstPen, HPEN secondPen)
{
    int l = rc->left, t = rc->top, r = rc->right, b = rc->bottom;
    SelectObject(hdc, firstPen);
    DrawLine(hdc, l, t, l, b + 1);
    DrawLine(hdc, l, t, r + 1, t);
    DrawLine(hdc, l, b, r + 1, b);
    DrawLine(hdc, r, t, r, b + 1);
    SelectObject(hdc, secondPen);
    DrawLine(hdc, l + 1, t + 1, l + 1, b);
    DrawLine(hdc, l + 1, t + 1, r, t + 1);
    DrawLine(hdc, l, b + 1, r + 2, b + 1);
    DrawLine(hdc, r + 1, t, r + 1, b + 2);
}

void DrawEmbossedText(HDC hdc, int x, int y, const char *text, int length)
{
    SetTextColor(hdc, GetSysColor(COLOR_BTNHIGHLIGHT));
    SetBkMode(hdc, OPAQUE);
    TextOutA(hdc, x + 1, y + 1, text, length);
    SetTextColor(hdc, RGB(0, 0, 0));
    SetBkMode(hdc, TRANSPARENT);
    TextOutA(hdc, x, y, text, length);
}

void DrawOwnerButton(UINT action, UINT state, HWND hwnd, HDC hdc)
{
    RECT r;
    GetClientRect(hwnd, &r);
    Pens pens = MakePens();
    HFONT oldFont = static_cast<HFONT>(SelectObject(hdc, session->hFont));
    HPEN oldPen = static_cast<HPEN>(SelectObject(hdc, pens.black));
    SetBkColor(hdc, session->btnFaceColor);
    if (action & ODA_DRAWENTIRE)
        FillFace(hdc, &r);

    if (!(state & ODS_DISABLED)) {
        char caption[TextBufSize];
        int n = GetWindowTextA(hwnd, caption, 511);
        if (n < 0)
            n = 0;
        caption[n] = 0;
        int w = session->charWidth > 0 ? session->charWidth : 8;
        int cols = (r.right - r.left) / w - 2;

        // The last "&" marks the mnemonic; u indexes the displayed text,
        // which starts after the kind letter.
        int u = -1;
        if (const char *amp = strrchr(caption, '&')) {
            int a = static_cast<int>(amp - caption);
            memmove(caption + a, caption + a + 1, n - a);
            n--;
            u = a - 1;
        }

        // Sizes after a tab end at the last character cell of the control.
        if (const char *tab = strrchr(caption, '\t')) {
            int t = static_cast<int>(tab - caption);
            int pad = cols - n;
            if (pad > TextMax - n)
                pad = TextMax - n;
            if (pad > 0) {
                memmove(caption + t + 1 + pad, caption + t + 1, n - t);
                memset(caption + t, ' ', pad + 1);
                n += pad;
            }
        }

        char kind = caption[0];
        const char *text = caption + 1;
        int len = n > 0 ? n - 1 : 0;
        if (kind == 'B')
            DrawPushButton(hdc, pens, r, state, text, len, u);
        else if (CellRow(kind) >= 0)
            DrawCellControl(hdc, pens, r, state, hwnd, kind, text, len, u);
    }

    SelectObject(hdc, oldPen);
    SelectObject(hdc, oldFont);
    DeletePens(pens);
}
