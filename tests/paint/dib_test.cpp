// Reading COVER.BMP and making its palette: good pictures are taken, every
// malformed one is refused without reading outside the file or the block.
#include <doctest.h>

#include <functional>

#include "bmpfile.h"
#include "testutil.h"
#include "window/paint.h"

namespace {

// File offsets of the fields the cases change.
enum { SizeField = 2, HeaderSize = 14, Width = 18, Height = 22, Planes = 26, Depth = 28,
       Compression = 30, ClrUsed = 46 };

struct Loaded {
    HGLOBAL block;
    explicit Loaded(const std::string &path) : block(LoadDibFile(path.c_str())) {}
    ~Loaded() { if (block) GlobalFree(block); }
};

} // namespace

TEST_CASE("LoadDibFile takes good pictures and refuses malformed ones")
{
    SessionFixture fixture;
    ScratchDir dir("dib");
    const std::string good8 = QuadrantBmp(6, 4, 8);
    const std::string good24 = QuadrantBmp(5, 3, 24);

    struct Case {
        const char *name;
        std::function<std::string()> make;
        bool taken;
    };
    const Case cases[] = {
        {"256 colours", [&] { return good8; }, true},
        {"24 bits, no colour table", [&] { return good24; }, true},
        {"trailing bytes after the declared size", [&] { return good8 + "junk"; }, true},
        {"4 bits with 3 colours used", [&] {
             // 7 x 2 pixels at 4 bits: 4-byte rows, 3 table entries.
             std::string f = good8.substr(0, 54);
             Poke16(f, Depth, 4);
             Poke32(f, ClrUsed, 3);
             f.append(12, '\x11');
             f.append(8, '\0');
             Poke32(f, Width, 7);
             Poke32(f, Height, 2);
             Poke32(f, SizeField, static_cast<DWORD>(f.size()));
             return f;
         }, true},
        {"empty file", [] { return std::string(); }, false},
        {"13 bytes", [&] { return good8.substr(0, 13); }, false},
        {"not BM", [&] { std::string f = good8; f[1] = 'A'; return f; }, false},
        {"size field smaller than the header", [&] { std::string f = good8; Poke32(f, SizeField, 53); return f; }, false},
        {"size field 0", [&] { std::string f = good8; Poke32(f, SizeField, 0); return f; }, false},
        {"size field beyond the file", [&] { std::string f = good8; Poke32(f, SizeField, static_cast<DWORD>(f.size() + 1)); return f; }, false},
        {"size field of 4 GB", [&] { std::string f = good8; Poke32(f, SizeField, 0xFFFFFFFF); return f; }, false},
        {"size field cutting the colour table", [&] { std::string f = good8; Poke32(f, SizeField, 14 + 40 + 100); return f; }, false},
        {"size field cutting the last scan line", [&] { std::string f = good8; Poke32(f, SizeField, static_cast<DWORD>(f.size() - 1)); return f; }, false},
        {"12-byte core header", [&] { std::string f = good8; Poke32(f, HeaderSize, 12); return f; }, false},
        {"124-byte header", [&] { std::string f = good8; Poke32(f, HeaderSize, 124); return f; }, false},
        {"height beyond the pixels", [&] { std::string f = good8; Poke32(f, Height, 5); return f; }, false},
        {"width beyond the pixels", [&] { std::string f = good24; Poke32(f, Width, 100000); return f; }, false},
        {"huge width and height", [&] { std::string f = good24; Poke32(f, Width, 0x7FFFFFFF); Poke32(f, Height, 0x7FFFFFFF); return f; }, false},
        {"top-down (negative height)", [&] { std::string f = good8; Poke32(f, Height, static_cast<DWORD>(-4)); return f; }, false},
        {"width 0", [&] { std::string f = good8; Poke32(f, Width, 0); return f; }, false},
        {"two planes", [&] { std::string f = good8; Poke16(f, Planes, 2); return f; }, false},
        {"depth 7", [&] { std::string f = good8; Poke16(f, Depth, 7); return f; }, false},
        {"run-length compressed", [&] { std::string f = good8; Poke32(f, Compression, BI_RLE8); return f; }, false},
        {"300 colours used", [&] { std::string f = good8; Poke32(f, ClrUsed, 300); return f; }, false},
        {"colours used beyond 16 bits", [&] { std::string f = good8; Poke32(f, ClrUsed, 0x10005); return f; }, false},
    };
    for (const Case &c : cases) {
        CAPTURE(c.name);
        std::string bytes = c.make();
        std::string path = dir / "COVER.BMP";
        REQUIRE(WriteBytes(path, bytes));
        Loaded loaded(path);
        CHECK((loaded.block != nullptr) == c.taken);
        if (loaded.block) {
            DWORD declared;
            memcpy(&declared, bytes.data() + 2, 4);
            CHECK(GlobalSize(loaded.block) >= declared - 14);
            CHECK(memcmp(GlobalLock(loaded.block), bytes.data() + 14, declared - 14) == 0);
            GlobalUnlock(loaded.block);
        }
    }
    CHECK(LoadDibFile((dir / "MISSING.BMP").c_str()) == nullptr);
}

TEST_CASE("DibColorCount")
{
    struct Row {
        DWORD clrUsed;
        WORD depth;
        int expected;
    };
    const Row rows[] = {
        {0, 1, 2}, {0, 4, 16}, {0, 8, 256}, {0, 24, 0}, {0, 16, 0}, {0, 32, 0},
        {3, 4, 3}, {100, 24, 100}, {0x10005, 8, 5},
    };
    for (const Row &r : rows) {
        BITMAPINFOHEADER h = {};
        h.biSize = sizeof h;
        h.biClrUsed = r.clrUsed;
        h.biBitCount = r.depth;
        CAPTURE(r.clrUsed);
        CAPTURE(r.depth);
        CHECK(DibColorCount(&h) == r.expected);
    }
}

TEST_CASE("CreateDibPalette")
{
    HPALETTE palette = reinterpret_cast<HPALETTE>(1);
    unsigned short count = 99;
    PALETTEENTRY e;

    SUBCASE("no picture")
    {
        CreateDibPalette(nullptr, &palette, &count);
        CHECK(palette == nullptr);
        CHECK(count == 0);
    }
    SUBCASE("the colour table of a 256-colour picture")
    {
        std::string f = QuadrantBmp(6, 4, 8);
        CreateDibPalette(reinterpret_cast<const BITMAPINFOHEADER *>(f.data() + 14), &palette, &count);
        REQUIRE(palette != nullptr);
        CHECK(count == 256);
        CHECK(GetPaletteEntries(palette, 0, 256, nullptr) == 256);
        REQUIRE(GetPaletteEntries(palette, 1, 1, &e) == 1); // red
        CHECK((e.peRed == 255 && e.peGreen == 0 && e.peBlue == 0 && e.peFlags == 0));
        REQUIRE(GetPaletteEntries(palette, 3, 1, &e) == 1); // blue
        CHECK((e.peRed == 0 && e.peGreen == 0 && e.peBlue == 255));
        REQUIRE(GetPaletteEntries(palette, 200, 1, &e) == 1);
        CHECK((e.peRed == 200 && e.peGreen == 200 && e.peBlue == 200));
        DeleteObject(palette);
    }
    SUBCASE("a 24-bit picture is shown through an 8 x 8 x 4 colour cube")
    {
        std::string f = QuadrantBmp(5, 3, 24);
        CreateDibPalette(reinterpret_cast<const BITMAPINFOHEADER *>(f.data() + 14), &palette, &count);
        REQUIRE(palette != nullptr);
        CHECK(count == 256);
        struct { int i, r, g, b; } cube[] = {{0, 0, 0, 0}, {9, 32, 32, 0}, {200, 0, 32, 192}, {255, 224, 224, 192}};
        for (auto &c : cube) {
            CAPTURE(c.i);
            REQUIRE(GetPaletteEntries(palette, c.i, 1, &e) == 1);
            CHECK((e.peRed == c.r && e.peGreen == c.g && e.peBlue == c.b));
        }
        DeleteObject(palette);
    }
    SUBCASE("a header that is not 40 bytes gets no palette")
    {
        std::string f = QuadrantBmp(6, 4, 8);
        Poke32(f, 14, 12);
        CreateDibPalette(reinterpret_cast<const BITMAPINFOHEADER *>(f.data() + 14), &palette, &count);
        CHECK(palette == nullptr);
        CHECK(count == 0);
    }
    SUBCASE("16 bits per pixel without a table: no palette")
    {
        std::string f = QuadrantBmp(5, 3, 24);
        Poke16(f, 28, 16);
        CreateDibPalette(reinterpret_cast<const BITMAPINFOHEADER *>(f.data() + 14), &palette, &count);
        CHECK(palette == nullptr);
        CHECK(count == 0);
    }
}
