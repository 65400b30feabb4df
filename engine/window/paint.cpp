#include "window/paint.h"

#include <stdlib.h>
#include <string.h>

#include "setup/session.h"
#include "setup/texts.h"
#include "window/options.h"

void FillFace(HDC hdc, const RECT *rc)
{
    HBRUSH brush = CreateSolidBrush(session->btnFaceColor);
    FillRect(hdc, rc, brush);
    DeleteObject(brush);
}

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

// Bytes from the start of the header to the pixels: the header and the
// colour table the file really holds (not the colour cube a 24-bit picture
// is shown through).
size_t PixelOffset(const BITMAPINFOHEADER *header)
{
    return sizeof(BITMAPINFOHEADER) + 4 * static_cast<size_t>(DibColorCount(header));
}

// A picture W x H inside an engraved frame whose top left corner is (x, y).
void DrawFramedPicture(HDC hdc, const Pens &pens, const BITMAPINFOHEADER *header, int x, int y)
{
    int w = header->biWidth, h = header->biHeight;
    RECT frame = {x, y, x + w, y + h};
    DrawFrame3D(hdc, &frame, pens.shadow, pens.highlight);
    SetDIBitsToDevice(hdc, x + 1, y + 1, w, h, 0, 0, 0, h,
                      reinterpret_cast<const BYTE *>(header) + PixelOffset(header),
                      reinterpret_cast<const BITMAPINFO *>(header), DIB_RGB_COLORS);
}

void DrawBlackText(HDC hdc, const char *text, RECT rc)
{
    SetTextColor(hdc, RGB(0, 0, 0));
    SetBkMode(hdc, TRANSPARENT);
    DrawTextA(hdc, text, -1, &rc, DT_WORDBREAK);
}

void DrawLabel(HDC hdc, int id, int x, int y)
{
    char text[TextBufSize];
    GetText(id, text);
    DrawEmbossedText(hdc, x, y, text, static_cast<int>(strlen(text)));
}

// The comment inside its frame.
RECT CommentRect()
{
    RECT rc = session->rcText;
    InflateRect(&rc, -10, -(session->charHeight / 2 + 2));
    return rc;
}

// The status text's two lines at the top of the status area.
RECT StatusRect()
{
    RECT rc = session->rcList;
    InflateRect(&rc, -10, -(session->charHeight / 2 + 2));
    rc.bottom = rc.top + 2 * session->charHeight;
    return rc;
}

void PaintCover(HDC hdc, const Pens &pens)
{
    if (!session->hCoverBmp)
        return;
    const BITMAPINFOHEADER *header = static_cast<const BITMAPINFOHEADER *>(GlobalLock(session->hCoverBmp));
    if (!header)
        return;
    const RECT &t = session->rcText;
    DrawFramedPicture(hdc, pens, header, (t.left + t.right - header->biWidth) / 2,
                      (t.top + t.bottom - header->biHeight) / 2);
    GlobalUnlock(session->hCoverBmp);
}

void PaintDirectoryPage(HWND hwnd, HDC hdc, const Pens &pens, const RECT &client)
{
    int h = session->charHeight;
    RECT e;
    HWND edit = GetDlgItem(hwnd, IdInstallDir);
    if (edit && GetClientRect(edit, &e)) {
        OffsetRect(&e, 18, static_cast<int>(19.5 * h));
        e.left--;
        e.top--;
        SelectObject(hdc, pens.black);
        DrawLine(hdc, e.left, e.top, e.left, e.bottom + 1);
        DrawLine(hdc, e.left, e.top, e.right + 1, e.top);
        DrawLine(hdc, e.left, e.bottom, e.right + 1, e.bottom);
        DrawLine(hdc, e.right, e.top, e.right, e.bottom + 1);
        InflateRect(&e, 1, 1);
        SelectObject(hdc, pens.shadow);
        DrawLine(hdc, e.left, e.top, e.left, e.bottom + 1);
        DrawLine(hdc, e.left, e.top, e.right + 1, e.top);
        SelectObject(hdc, pens.highlight);
        DrawLine(hdc, e.left, e.bottom, e.right + 1, e.bottom);
        DrawLine(hdc, e.right, e.top, e.right, e.bottom + 1);
    }

    if (session->bmpResBits) {
        const BITMAPINFOHEADER *header = static_cast<const BITMAPINFOHEADER *>(session->bmpResBits);
        DrawFramedPicture(hdc, pens, header, client.right - 16 - header->biWidth - 1,
                          static_cast<int>(1.5 * h + 1));
    }

    DrawBlackText(hdc, session->commentText, CommentRect());
    DrawFrame3D(hdc, &session->rcText, pens.shadow, pens.highlight);

    DrawLabel(hdc, 101, client.left + 24, session->rcText.top - h / 2);
    DrawLabel(hdc, 103, client.left + 16, client.top + 18 * h + 4);

    char format[TextBufSize], text[TextBufSize];
    GetText(106, format);
    FormatStr(text, sizeof text, format, session->freeKB / 1024.0);
    DrawEmbossedText(hdc, session->rcDisk.left, session->rcDisk.top, text, static_cast<int>(strlen(text)));
}

void PaintOptionsPage(HDC hdc, const Pens &pens, const RECT &client)
{
    int h = session->charHeight;
    DrawFrame3D(hdc, &session->rcText, pens.shadow, pens.highlight);
    DrawFrame3D(hdc, &session->rcList, pens.shadow, pens.highlight);
    DrawLabel(hdc, 102, client.left + 16, session->rcList.top - h - 2);
    DrawLabel(hdc, 101, client.left + 24, session->rcText.top - h / 2);
    DrawBlackText(hdc, session->commentText, CommentRect());

    char format[TextBufSize], text[TextBufSize];
    GetText(105, format);
    FormatStr(text, sizeof text, format, session->needKB / 1024.0, session->freeKB / 1024.0);
    DrawEmbossedText(hdc, session->rcDisk.left, session->rcDisk.top, text, static_cast<int>(strlen(text)));
}

void PaintProgressPage(HDC hdc, const Pens &pens)
{
    int h = session->charHeight;
    DrawFrame3D(hdc, &session->rcText, pens.shadow, pens.highlight);
    DrawFrame3D(hdc, &session->rcList, pens.shadow, pens.highlight);

    RECT s = session->rcList;
    InflateRect(&s, -10, -(h / 2 + 2));
    DrawBlackText(hdc, session->statusText, StatusRect());

    HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    RECT bar = {s.left, s.bottom - h, s.right, s.bottom};
    FrameRect(hdc, &bar, black);
    if (session->stepTotal > 0) {
        long long width = bar.right - bar.left;
        long long done = width * session->stepCounter / session->stepTotal;
        if (done > width)
            done = width;
        if (done > 0) {
            RECT fill = {bar.left, bar.top, bar.left + static_cast<int>(done), bar.bottom};
            FillRect(hdc, &fill, black);
        }
    }

    RECT c = session->rcText;
    InflateRect(&c, -8, -h);
    RECT comment = {c.left, c.top, c.right, c.bottom - h - 32};
    DrawBlackText(hdc, session->commentText, comment);

    // One disk per group with steps; the current one in its own form.
    int last = session->lastGroup < MaxDiskGroups ? session->lastGroup : MaxDiskGroups - 1;
    int n = 0, k = 0;
    for (int g = 0; g <= last; g++) {
        if (session->groupSteps[g] > 0) {
            n++;
            if (g <= session->currentGroup)
                k++;
        }
    }
    if (n > 0) {
        int span = c.right - c.left - 16;
        int slot = span / n;
        int offset = (slot - 32) / 2 > 0 ? (slot - 32) / 2 : 0;
        for (int i = 1; i <= n; i++) {
            HICON icon = i == k ? session->hIcon2002 : session->hIcon2001;
            if (icon)
                DrawIcon(hdc, c.left + offset + span * (i - 1) / n, c.bottom - 32, icon);
        }
    }
}

HPALETTE PagePalette()
{
    if (session->page == PageCover)
        return session->hCoverPalette;
    if (session->page == PageDirectory)
        return session->hResPalette;
    return nullptr;
}

// Selects and realises the page's palette in the window's context; returns
// the number of entries that changed, or -1 when the page has no palette.
// UpdateColors is applied to those changes when asked for.
int RealizePagePalette(HWND hwnd, bool updateColors)
{
    HPALETTE palette = PagePalette();
    if (!palette)
        return -1;
    HDC hdc = GetDC(hwnd);
    HPALETTE old = SelectPalette(hdc, palette, FALSE);
    UINT changed = RealizePalette(hdc);
    if (changed != GDI_ERROR && changed > 0 && updateColors)
        UpdateColors(hdc);
    SelectPalette(hdc, old, FALSE);
    ReleaseDC(hwnd, hdc);
    return changed == GDI_ERROR ? 0 : static_cast<int>(changed);
}

} // namespace

void LoadResources()
{
    HRSRC res = FindResourceA(session->hInst, MAKEINTRESOURCEA(1001), reinterpret_cast<LPCSTR>(RT_DIALOG));
    session->hMsgBoxTemplate = res ? LoadResource(session->hInst, res) : nullptr;

    res = FindResourceA(session->hInst, MAKEINTRESOURCEA(1004), reinterpret_cast<LPCSTR>(RT_BITMAP));
    session->hBmpRes = res ? LoadResource(session->hInst, res) : nullptr;
    session->bmpResBits = session->hBmpRes ? LockResource(session->hBmpRes) : nullptr;

    session->hCoverBmp = LoadDibFile("COVER.BMP");

    for (int id = 101; id <= 106; id++)
        AddText(id);
    for (int id = 1001; id <= 1049; id++)
        AddText(id);
}

void FreeResources()
{
    if (session->hMsgBoxTemplate)
        FreeResource(session->hMsgBoxTemplate);
    session->hMsgBoxTemplate = nullptr;
    if (session->hBmpRes)
        FreeResource(session->hBmpRes);
    session->hBmpRes = nullptr;
    session->bmpResBits = nullptr;
    if (session->hCoverBmp)
        GlobalFree(session->hCoverBmp);
    session->hCoverBmp = nullptr;
    if (session->hTextStore)
        FreeTextStore();
}

bool LoadStripBitmap(HDC hdc, int id, int width, int height,
                     HBITMAP *bitmap, HDC *memDC, HBITMAP *previous)
{
    *bitmap = nullptr;
    *memDC = nullptr;
    *previous = nullptr;
    HBITMAP loaded = LoadBitmapA(session->hInst, MAKEINTRESOURCEA(id));
    if (!loaded)
        return false;
    HDC source = CreateCompatibleDC(hdc);
    HBITMAP sourcePrev = static_cast<HBITMAP>(SelectObject(source, loaded));
    HBITMAP strip = CreateCompatibleBitmap(hdc, width, height);
    HDC dc = strip ? CreateCompatibleDC(hdc) : nullptr;
    if (dc) {
        *previous = static_cast<HBITMAP>(SelectObject(dc, strip));
        BitBlt(dc, 0, 0, width, height, source, 0, 0, SRCCOPY);
        *bitmap = strip;
        *memDC = dc;
    } else if (strip) {
        DeleteObject(strip);
    }
    SelectObject(source, sourcePrev);
    DeleteDC(source);
    DeleteObject(loaded);
    return *memDC != nullptr;
}

// COVER.BMP comes from the medium, so it is checked before anything trusts
// it: it must be a "BM" file of at least 14 bytes whose size field covers a
// 40-byte header and whose file really holds that many bytes; the header
// must be 40 bytes, the picture at least 1 x 1 pixels, bottom-up, one plane,
// uncompressed at 1, 4, 8, 16, 24 or 32 bits per pixel, with at most 256
// colour-table entries; and the colour table and every scan line must lie
// inside the block the size field declares.
HGLOBAL LoadDibFile(const char *fileName)
{
    HANDLE file = CreateFileA(fileName, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return nullptr;
    BYTE head[14];
    DWORD got = 0;
    HGLOBAL block = nullptr;
    if (ReadFile(file, head, sizeof head, &got, nullptr) && got == sizeof head && head[0] == 'B' && head[1] == 'M') {
        DWORD declared;
        memcpy(&declared, head + 2, 4);
        LARGE_INTEGER fileSize;
        if (declared >= 14 + sizeof(BITMAPINFOHEADER) && GetFileSizeEx(file, &fileSize) &&
            static_cast<ULONGLONG>(fileSize.QuadPart) >= declared) {
            DWORD size = declared - 14;
            block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
            void *bits = block ? GlobalLock(block) : nullptr;
            bool ok = bits && ReadFile(file, bits, size, &got, nullptr) && got == size;
            if (ok) {
                const BITMAPINFOHEADER *h = static_cast<const BITMAPINFOHEADER *>(bits);
                WORD depth = h->biBitCount;
                bool depthOk = depth == 1 || depth == 4 || depth == 8 || depth == 16 || depth == 24 || depth == 32;
                ok = h->biSize == sizeof(BITMAPINFOHEADER) && h->biWidth > 0 && h->biHeight > 0 &&
                     h->biPlanes == 1 && depthOk && h->biCompression == BI_RGB && h->biClrUsed <= 256;
                if (ok) {
                    ULONGLONG stride = (static_cast<ULONGLONG>(h->biWidth) * depth + 31) / 32 * 4;
                    ULONGLONG need = PixelOffset(h) + stride * static_cast<ULONGLONG>(h->biHeight);
                    ok = need <= size;
                }
            }
            if (bits)
                GlobalUnlock(block);
            if (!ok && block) {
                GlobalFree(block);
                block = nullptr;
            }
        }
    }
    CloseHandle(file);
    return block;
}

int DibColorCount(const BITMAPINFOHEADER *header)
{
    if (header->biClrUsed != 0)
        return static_cast<int>(header->biClrUsed & 0xFFFF);
    switch (header->biBitCount) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    default: return 0;
    }
}

void CreateDibPalette(const BITMAPINFOHEADER *picture, HPALETTE *palette, unsigned short *count)
{
    *palette = nullptr;
    *count = 0;
    if (!picture || picture->biSize != sizeof(BITMAPINFOHEADER))
        return;
    int n = DibColorCount(picture);
    bool cube = n == 0 && picture->biBitCount == 24;
    if (cube)
        n = 256;
    if (n == 0)
        return;
    LOGPALETTE *log = static_cast<LOGPALETTE *>(calloc(1, sizeof(LOGPALETTE) + n * sizeof(PALETTEENTRY)));
    if (!log)
        return;
    log->palVersion = 0x300;
    log->palNumEntries = static_cast<WORD>(n);
    const RGBQUAD *table = reinterpret_cast<const RGBQUAD *>(picture + 1);
    for (int i = 0; i < n; i++) {
        PALETTEENTRY &e = log->palPalEntry[i];
        if (cube) {
            // 8 reds, 8 greens, 4 blues.
            e.peRed = static_cast<BYTE>((i % 8) * 32);
            e.peGreen = static_cast<BYTE>((i / 8 % 8) * 32);
            e.peBlue = static_cast<BYTE>((i / 64) * 64);
        } else {
            e.peRed = table[i].rgbRed;
            e.peGreen = table[i].rgbGreen;
            e.peBlue = table[i].rgbBlue;
        }
        e.peFlags = 0;
    }
    *palette = CreatePalette(log);
    free(log);
    if (*palette)
        *count = static_cast<unsigned short>(n);
}

void PaintMainWindow(HWND hwnd)
{
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwnd, &ps);
    HPALETTE palette = PagePalette();
    HPALETTE oldPalette = nullptr;
    if (palette) {
        oldPalette = SelectPalette(hdc, palette, FALSE);
        RealizePalette(hdc);
    }

    Pens pens = MakePens();
    HFONT oldFont = static_cast<HFONT>(SelectObject(hdc, session->hFont));
    HPEN oldPen = static_cast<HPEN>(SelectObject(hdc, pens.black));
    HBRUSH oldBrush = static_cast<HBRUSH>(SelectObject(hdc, GetStockObject(BLACK_BRUSH)));
    SetBkColor(hdc, session->btnFaceColor);
    RECT client;
    GetClientRect(hwnd, &client);
    FillFace(hdc, &client);

    int h = session->charHeight;
    BlitMasked(hdc, 1, 1, 120, 16, session->hdc1001, session->hdc1011, 0, 0, 0);
    BlitMasked(hdc, client.right - 51, 1, 50, 16, session->hdc1003, session->hdc1013, 0, 0, 0);
    SelectObject(hdc, pens.shadow);
    DrawLine(hdc, client.left + 1, client.top + h + 1, client.right - 1, client.top + h + 1);
    SelectObject(hdc, pens.highlight);
    DrawLine(hdc, client.left + 1, client.top + h + 2, client.right - 1, client.top + h + 2);

    switch (session->page) {
    case PageCover: PaintCover(hdc, pens); break;
    case PageDirectory: PaintDirectoryPage(hwnd, hdc, pens, client); break;
    case PageOptions: PaintOptionsPage(hdc, pens, client); break;
    case PageProgress: PaintProgressPage(hdc, pens); break;
    default: break;
    }

    SelectObject(hdc, oldPen);
    SelectObject(hdc, oldFont);
    SelectObject(hdc, oldBrush);
    if (palette)
        SelectPalette(hdc, oldPalette, FALSE);
    DeletePens(pens);
    EndPaint(hwnd, &ps);
}

void RedrawStatus(HWND hwnd)
{
    if (session->page != PageProgress)
        return;
    HDC hdc = GetDC(hwnd);
    HFONT oldFont = static_cast<HFONT>(SelectObject(hdc, session->hFont));
    RECT rc = StatusRect();
    FillFace(hdc, &rc);
    DrawBlackText(hdc, session->statusText, rc);
    SelectObject(hdc, oldFont);
    ReleaseDC(hwnd, hdc);
}

LRESULT QueryNewPalette(HWND hwnd)
{
    if (RealizePagePalette(hwnd, false) > 0)
        InvalidateRect(hwnd, nullptr, TRUE);
    return 0;
}

LRESULT PaletteChanged(HWND hwnd, HWND changedBy)
{
    if (changedBy != hwnd)
        RealizePagePalette(hwnd, true);
    return 0;
}

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
