// Picture files come from the medium and may hold any bytes. The platform's
// loader trusts the sizes in a file's headers, so every header is checked
// against the real file size first, and pictures too large for any screen
// are refused before the loader allocates them.
#include "picture.h"

#include <stdint.h>

namespace {

// The panel shows 277 x 285 pixels; anything far beyond a screen is refused.
const int64_t MaxPicturePixels = 32 * 1024 * 1024;

uint16_t Word(const BYTE *p) { return (uint16_t)(p[0] | p[1] << 8); }
uint32_t Dword(const BYTE *p) { return (uint32_t)Word(p) | (uint32_t)Word(p + 2) << 16; }

bool ReadAt(HANDLE file, DWORD offset, void *buffer, DWORD size)
{
    DWORD got = 0;
    return SetFilePointer(file, (LONG)offset, NULL, FILE_BEGIN) == offset &&
           ReadFile(file, buffer, size, &got, NULL) && got == size;
}

// The extension of name after its last dot, if the dot follows the last path
// delimiter. Shift-JIS trail bytes may equal '\' and are skipped.
const char *Extension(const char *name)
{
    const char *dot = NULL;
    for (const char *p = name; *p; p++) {
        if (IsDBCSLeadByte((BYTE)*p) && p[1]) {
            p++;
        } else if (*p == '\\' || *p == ':') {
            dot = NULL;
        } else if (*p == '.') {
            dot = p;
        }
    }
    return dot ? dot : "";
}

bool ValidDibFormat(int bitCount, uint32_t compression, bool bottomUp)
{
    switch (compression) {
    case BI_RGB:
        return bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16 ||
               bitCount == 24 || bitCount == 32;
    case BI_RLE8: return bitCount == 8 && bottomUp;
    case BI_RLE4: return bitCount == 4 && bottomUp;
    case BI_BITFIELDS: return bitCount == 16 || bitCount == 32;
    default: return false;
    }
}

bool BitmapFileIsSound(HANDLE file, DWORD fileSize)
{
    BYTE head[14 + 40];
    if (fileSize < 14 + 12 || !ReadAt(file, 0, head, 14 + 12) || head[0] != 'B' || head[1] != 'M')
        return false;
    uint32_t offBits = Dword(head + 10);
    uint32_t infoSize = Dword(head + 14);
    int64_t width, height;
    int bitCount, planes, entrySize;
    uint32_t compression = BI_RGB, colorsUsed = 0, masks = 0;
    if (infoSize == 12) {  // the old OS/2 header
        width = Word(head + 18);
        height = Word(head + 20);
        planes = Word(head + 22);
        bitCount = Word(head + 24);
        entrySize = 3;
    } else if (infoSize >= 40 && infoSize <= 124 && fileSize >= 14 + 40 &&
               ReadAt(file, 0, head, 14 + 40)) {
        width = (int32_t)Dword(head + 18);
        height = (int32_t)Dword(head + 22);
        planes = Word(head + 26);
        bitCount = Word(head + 28);
        compression = Dword(head + 30);
        colorsUsed = Dword(head + 46);
        entrySize = 4;
        if (compression == BI_BITFIELDS && infoSize == 40)
            masks = 12;
    } else {
        return false;
    }
    if (width <= 0 || height == 0 || planes != 1 || !ValidDibFormat(bitCount, compression, height > 0))
        return false;
    int64_t rows = height < 0 ? -height : height;
    if (width * rows > MaxPicturePixels)
        return false;
    if (bitCount <= 8 && colorsUsed > (1u << bitCount))
        return false;
    int64_t entries = colorsUsed ? colorsUsed : (bitCount <= 8 ? 1 << bitCount : 0);
    int64_t tableEnd = 14 + (int64_t)infoSize + masks + entries * entrySize;
    if (offBits < tableEnd || offBits >= fileSize)
        return false;
    if (compression == BI_RLE8 || compression == BI_RLE4)
        return true;  // the decoder stops at the end of the data it is given
    int64_t stride = (width * bitCount + 31) / 32 * 4;
    return offBits + stride * rows <= fileSize;
}

// An icon file: a directory of images, each a PNG stream or a bitmap header
// followed by its colour table, colour bits and mask bits.
bool IconFileIsSound(HANDLE file, DWORD fileSize)
{
    BYTE head[6];
    if (!ReadAt(file, 0, head, 6) || Word(head) != 0 || Word(head + 2) != 1 || Word(head + 4) == 0)
        return false;
    int count = Word(head + 4);
    DWORD directoryEnd = 6 + 16 * (DWORD)count;
    if (directoryEnd > fileSize)
        return false;
    for (int i = 0; i < count; i++) {
        BYTE entry[16], info[40];
        if (!ReadAt(file, 6 + 16 * i, entry, 16))
            return false;
        uint32_t bytes = Dword(entry + 8), offset = Dword(entry + 12);
        if (offset < directoryEnd || offset > fileSize || bytes > fileSize - offset || bytes < 40 ||
            !ReadAt(file, offset, info, 40))
            return false;
        if (Dword(info) == 0x474E5089)  // "\x89PNG": the loader parses it
            continue;
        int64_t width = (int32_t)Dword(info + 4), height = (int32_t)Dword(info + 8);
        int bitCount = Word(info + 14);
        uint32_t colorsUsed = Dword(info + 32);
        if (Dword(info) != 40 || width <= 0 || width > 1024 || height <= 0 || height > 2048 ||
            Dword(info + 16) != BI_RGB || !ValidDibFormat(bitCount, BI_RGB, true) ||
            (bitCount <= 8 && colorsUsed > (1u << bitCount)))
            return false;
        int64_t entries = colorsUsed ? colorsUsed : (bitCount <= 8 ? 1 << bitCount : 0);
        int64_t rows = height / 2;  // the height counts colour and mask rows
        int64_t need = 40 + entries * 4 + (width * bitCount + 31) / 32 * 4 * rows +
                       (width + 31) / 32 * 4 * rows;
        if (need > bytes)
            return false;
    }
    return true;
}

void MakePalette(Picture *picture)
{
    RGBQUAD colours[256];
    HDC dc = CreateCompatibleDC(NULL);
    HGDIOBJ old = SelectObject(dc, picture->hBitmap);
    UINT count = GetDIBColorTable(dc, 0, 256, colours);
    SelectObject(dc, old);
    DeleteDC(dc);
    if (count == 0)
        return;
    struct {
        WORD version, entries;
        PALETTEENTRY entry[256];
    } palette = {0x300, (WORD)count, {}};
    for (UINT i = 0; i < count; i++)
        palette.entry[i] = {colours[i].rgbRed, colours[i].rgbGreen, colours[i].rgbBlue, 0};
    picture->hPalette = CreatePalette((LOGPALETTE *)&palette);
}

} // namespace

PictureResult LoadPicture(const char *fileName, Picture *picture)
{
    *picture = Picture();
    const char *extension = Extension(fileName);
    bool bitmap = lstrcmpiA(extension, ".bmp") == 0;
    if (!bitmap && lstrcmpiA(extension, ".ico") != 0)
        return PictureUnknownType;

    HANDLE file = CreateFileA(fileName, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return PictureUnreadable;
    DWORD high = 0;
    DWORD size = GetFileSize(file, &high);
    bool sound = high == 0 && size != INVALID_FILE_SIZE &&
                 (bitmap ? BitmapFileIsSound(file, size) : IconFileIsSound(file, size));
    CloseHandle(file);
    if (!sound)
        return PictureInvalid;

    if (bitmap) {
        picture->hBitmap = (HBITMAP)LoadImageA(NULL, fileName, IMAGE_BITMAP, 0, 0,
                                               LR_LOADFROMFILE | LR_CREATEDIBSECTION);
        BITMAP info;
        if (!picture->hBitmap || !GetObjectA(picture->hBitmap, sizeof info, &info)) {
            FreePicture(picture);
            return PictureInvalid;
        }
        picture->width = info.bmWidth;
        picture->height = info.bmHeight;
        MakePalette(picture);
    } else {
        picture->hIcon = (HICON)LoadImageA(NULL, fileName, IMAGE_ICON, 0, 0, LR_LOADFROMFILE);
        ICONINFO parts;
        if (!picture->hIcon || !GetIconInfo(picture->hIcon, &parts)) {
            FreePicture(picture);
            return PictureInvalid;
        }
        BITMAP info = {};
        GetObjectA(parts.hbmColor ? parts.hbmColor : parts.hbmMask, sizeof info, &info);
        picture->width = info.bmWidth;
        picture->height = parts.hbmColor ? info.bmHeight : info.bmHeight / 2;
        if (parts.hbmColor)
            DeleteObject(parts.hbmColor);
        DeleteObject(parts.hbmMask);
    }
    return PictureLoaded;
}

void DrawPicture(HDC dc, const Picture *picture)
{
    if (picture->hBitmap) {
        HDC source = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(source, picture->hBitmap);
        BitBlt(dc, 0, 0, picture->width, picture->height, source, 0, 0, SRCCOPY);
        SelectObject(source, old);
        DeleteDC(source);
    } else if (picture->hIcon) {
        DrawIconEx(dc, 0, 0, picture->hIcon, picture->width, picture->height, 0, NULL, DI_NORMAL);
    }
}

void FreePicture(Picture *picture)
{
    if (picture->hBitmap)
        DeleteObject(picture->hBitmap);
    if (picture->hIcon)
        DestroyIcon(picture->hIcon);
    if (picture->hPalette)
        DeleteObject(picture->hPalette);
    *picture = Picture();
}
