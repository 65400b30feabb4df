// The launcher's picture: a bitmap or an icon file, loaded by the platform's
// image loader after its headers were checked against the file's real size.
#pragma once

#include <windows.h>

struct Picture {
    HBITMAP hBitmap;
    HICON hIcon;
    HPALETTE hPalette;  // the colour table of a bitmap of up to 256 colours
    int width;
    int height;
};

enum PictureResult {
    PictureLoaded,
    PictureUnknownType,  // the extension names no picture type we load
    PictureUnreadable,   // the file cannot be opened
    PictureInvalid,      // the file's contents are not a picture of its type
};

// The type comes from the extension: .bmp a bitmap, .ico an icon.
PictureResult LoadPicture(const char *fileName, Picture *picture);
// Draws the picture at its own size with its top left corner at 0, 0.
void DrawPicture(HDC dc, const Picture *picture);
void FreePicture(Picture *picture);
