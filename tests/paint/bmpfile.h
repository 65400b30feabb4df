// BMP files built byte by byte for the picture tests.
#pragma once

#include <windows.h>

#include <string.h>

#include <string>
#include <vector>

// A bottom-up BI_RGB picture of width x height at depth bits (8 or 24) whose
// quadrants are red (top left), green (top right), blue (bottom left) and
// yellow (bottom right). An 8-bit picture carries a 256-entry colour table.
inline std::string QuadrantBmp(int width, int height, int bits)
{
    static const RGBQUAD colours[4] = {{0, 0, 255, 0}, {0, 255, 0, 0}, {255, 0, 0, 0}, {0, 255, 255, 0}};
    int tableSize = bits == 8 ? 256 : 0;
    int stride = (width * bits + 31) / 32 * 4;
    std::string pixels(static_cast<size_t>(stride) * height, '\0');
    for (int row = 0; row < height; row++) {
        int y = height - 1 - row; // bottom-up
        for (int x = 0; x < width; x++) {
            int q = (y < height / 2 ? 0 : 2) + (x < width / 2 ? 0 : 1);
            char *p = &pixels[static_cast<size_t>(row) * stride];
            if (bits == 8) {
                p[x] = static_cast<char>(q + 1);
            } else {
                p[3 * x] = static_cast<char>(colours[q].rgbBlue);
                p[3 * x + 1] = static_cast<char>(colours[q].rgbGreen);
                p[3 * x + 2] = static_cast<char>(colours[q].rgbRed);
            }
        }
    }
    std::vector<RGBQUAD> table(tableSize);
    for (int i = 0; i < tableSize; i++)
        table[i] = {static_cast<BYTE>(i), static_cast<BYTE>(i), static_cast<BYTE>(i), 0};
    for (int q = 0; q < 4 && q + 1 < tableSize; q++)
        table[q + 1] = colours[q];

    BITMAPINFOHEADER h = {};
    h.biSize = sizeof h;
    h.biWidth = width;
    h.biHeight = height;
    h.biPlanes = 1;
    h.biBitCount = static_cast<WORD>(bits);
    h.biCompression = BI_RGB;
    h.biSizeImage = static_cast<DWORD>(pixels.size());
    DWORD offset = 14 + sizeof h + 4 * tableSize;
    DWORD size = offset + static_cast<DWORD>(pixels.size());

    std::string file = "BM";
    file.append(reinterpret_cast<const char *>(&size), 4);
    file.append(4, '\0');
    file.append(reinterpret_cast<const char *>(&offset), 4);
    file.append(reinterpret_cast<const char *>(&h), sizeof h);
    file.append(reinterpret_cast<const char *>(table.data()), 4 * tableSize);
    file += pixels;
    return file;
}

// Overwrites a 16- or 32-bit field of a built file.
inline void Poke32(std::string &file, size_t at, DWORD value) { memcpy(&file[at], &value, 4); }
inline void Poke16(std::string &file, size_t at, WORD value) { memcpy(&file[at], &value, 2); }
