// Drawing of the main window, its owner-drawn controls and the message box
// buttons, and the pictures that drawing uses.
#pragma once

#include <windows.h>

// Loads the message box template, bitmap 1004 and COVER.BMP, and fills the
// text store with the label and message texts.
void LoadResources();
// Releases what LoadResources acquired.
void FreeResources();

// Copies bitmap resource id into a width x height bitmap compatible with hdc,
// selected into a memory context of its own. Returns false (all outputs 0)
// when the resource or a GDI object cannot be had.
bool LoadStripBitmap(HDC hdc, int id, int width, int height,
                     HBITMAP *bitmap, HDC *memDC, HBITMAP *previous);

// Reads a BMP file into a movable block holding the file without its
// 14-byte file header; 0 when the file is missing or not a picture the
// engine can draw.
HGLOBAL LoadDibFile(const char *fileName);
// Number of colour-table entries the header announces.
int DibColorCount(const BITMAPINFOHEADER *header);
// Makes the palette of a picture (header, colour table, pixels). palette and
// count are 0 when the picture has none.
void CreateDibPalette(const BITMAPINFOHEADER *picture, HPALETTE *palette,
                      unsigned short *count);

// WM_PAINT of the main window.
void PaintMainWindow(HWND hwnd);
// Redraws the status text of the progress page at once.
void RedrawStatus(HWND hwnd);
// WM_DRAWITEM of the main window, the option list and the message box.
void DrawOwnerButton(UINT action, UINT state, HWND hwnd, HDC hdc);
// The palette messages of the main window; both return 0.
LRESULT QueryNewPalette(HWND hwnd);
LRESULT PaletteChanged(HWND hwnd, HWND changedBy);

// Fills rc with the button face colour of the system.
void FillFace(HDC hdc, const RECT *rc);
void DrawFrame3D(HDC hdc, const RECT *rc, HPEN firstPen, HPEN secondPen);
void DrawEmbossedText(HDC hdc, int x, int y, const char *text, int length);
// Line from (x1, y1) to (x2, y2), the end point not drawn.
void DrawLine(HDC hdc, int x1, int y1, int x2, int y2);
void DrawBox(HDC hdc, int left, int top, int right, int bottom);
