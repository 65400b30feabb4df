// The launcher's picture loader and path rules, checked without a window:
// sound files load at their size, every damaged one is refused before the
// platform's loader sees it.
#include <doctest.h>

#include <string>

#include "form.h"
#include "picture.h"
#include "testutil.h"

namespace {

void PutWord(std::string &s, size_t at, unsigned v)
{
    s[at] = (char)(v & 0xFF);
    s[at + 1] = (char)(v >> 8 & 0xFF);
}
void PutDword(std::string &s, size_t at, unsigned v)
{
    PutWord(s, at, v & 0xFFFF);
    PutWord(s, at + 2, v >> 16);
}

// A bitmap file with the common header; colours entries in its table.
std::string Bitmap(int width, int height, int bitCount, unsigned colours = 0)
{
    unsigned entries = colours ? colours : (bitCount <= 8 ? 1u << bitCount : 0);
    unsigned stride = (unsigned)((width * bitCount + 31) / 32 * 4);
    unsigned offBits = 14 + 40 + entries * 4;
    std::string s(offBits + stride * (unsigned)(height < 0 ? -height : height), '\x55');
    s[0] = 'B';
    s[1] = 'M';
    PutDword(s, 2, (unsigned)s.size());
    PutDword(s, 6, 0);
    PutDword(s, 10, offBits);
    PutDword(s, 14, 40);
    PutDword(s, 18, (unsigned)width);
    PutDword(s, 22, (unsigned)height);
    PutWord(s, 26, 1);
    PutWord(s, 28, (unsigned)bitCount);
    PutDword(s, 30, BI_RGB);
    PutDword(s, 34, 0);
    PutDword(s, 38, 2835);
    PutDword(s, 42, 2835);
    PutDword(s, 46, colours);
    PutDword(s, 50, 0);
    return s;
}

// An old-style bitmap with the 12-byte header and a 3-byte colour table.
std::string CoreBitmap()
{
    std::string s(14 + 12 + 2 * 3 + 4 * 2, '\0');
    s[0] = 'B';
    s[1] = 'M';
    PutDword(s, 2, (unsigned)s.size());
    PutDword(s, 10, 14 + 12 + 6);
    PutDword(s, 14, 12);
    PutWord(s, 18, 5);
    PutWord(s, 20, 2);
    PutWord(s, 22, 1);
    PutWord(s, 24, 1);
    return s;
}

// An icon file of one 16 x 16 image of 32 bits a pixel.
std::string Icon()
{
    const unsigned image = 40 + 16 * 16 * 4 + 4 * 16;
    std::string s(6 + 16 + image, '\0');
    PutWord(s, 2, 1);
    PutWord(s, 4, 1);
    s[6] = 16;
    s[7] = 16;
    PutWord(s, 10, 1);
    PutWord(s, 12, 32);
    PutDword(s, 14, image);
    PutDword(s, 18, 22);
    PutDword(s, 22, 40);
    PutDword(s, 26, 16);
    PutDword(s, 30, 32);
    PutWord(s, 34, 1);
    PutWord(s, 36, 32);
    for (size_t i = 22 + 40; i < 22 + 40 + 16 * 16 * 4; i += 4)
        s[i + 3] = '\xFF';  // opaque
    return s;
}

PictureResult Load(const ScratchDir &dir, const char *name, const std::string &bytes, Picture *picture)
{
    REQUIRE(WriteBytes(dir / name, bytes));
    return LoadPicture((dir / name).c_str(), picture);
}

// The file with one field replaced: a 16-bit word or a 32-bit one.
std::string With(std::string s, size_t at, unsigned value, bool word = false)
{
    if (word)
        PutWord(s, at, value);
    else
        PutDword(s, at, value);
    return s;
}

struct Damaged {
    const char *name;
    std::string bytes;
};

// Each file, and each cut of good at every step bytes, is refused and
// leaves no picture behind.
template <size_t N>
void CheckRefused(const char *fileName, const std::string &good, size_t step, const Damaged (&rows)[N])
{
    ScratchDir dir("pic");
    for (size_t length = 0; length < good.size(); length += step) {
        CAPTURE(length);
        Picture picture;
        CHECK(Load(dir, fileName, good.substr(0, length), &picture) == PictureInvalid);
        CHECK((picture.hBitmap == nullptr && picture.hIcon == nullptr));
    }
    for (const Damaged &row : rows) {
        CAPTURE(row.name);
        Picture picture;
        CHECK(Load(dir, fileName, row.bytes, &picture) == PictureInvalid);
        CHECK((picture.hBitmap == nullptr && picture.hIcon == nullptr));
    }
}

} // namespace

TEST_CASE("sound bitmaps and icons load at their own size")
{
    ScratchDir dir("pic");
    struct Row {
        const char *name;
        std::string bytes;
        int width, height;
        bool palette;
    } rows[] = {
        {"true colour", Bitmap(3, 2, 24), 3, 2, false},
        {"top-down", Bitmap(3, -2, 24), 3, 2, false},
        {"256 colours", Bitmap(7, 5, 8), 7, 5, true},
        {"short colour table", Bitmap(9, 4, 4, 3), 9, 4, true},
        {"16 bits", Bitmap(4, 4, 16), 4, 4, false},
        {"old header", CoreBitmap(), 5, 2, true},
    };
    for (const Row &row : rows) {
        CAPTURE(row.name);
        Picture picture;
        REQUIRE(Load(dir, "pic.BMP", row.bytes, &picture) == PictureLoaded);
        CHECK(picture.hBitmap != nullptr);
        CHECK(picture.width == row.width);
        CHECK(picture.height == row.height);
        CHECK((picture.hPalette != nullptr) == row.palette);
        FreePicture(&picture);
    }
    Picture icon;
    REQUIRE(Load(dir, "pic.ico", Icon(), &icon) == PictureLoaded);
    CHECK(icon.hIcon != nullptr);
    CHECK(icon.width == 16);
    CHECK(icon.height == 16);
    FreePicture(&icon);
}

TEST_CASE("damaged bitmaps are refused")
{
    std::string good = Bitmap(3, 2, 24);
    std::string paletted = Bitmap(7, 5, 8);
    std::string rle = With(Bitmap(7, 5, 8), 30, BI_RLE8);
    const Damaged rows[] = {
        {"not BM", With(good, 0, 'X', true)},
        {"zero width", With(good, 18, 0)},
        {"negative width", With(good, 18, (unsigned)-3)},
        {"zero height", With(good, 22, 0)},
        {"two planes", With(good, 26, 2, true)},
        {"7 bits a pixel", With(good, 28, 7, true)},
        {"JPEG inside", With(good, 30, BI_JPEG)},
        {"unknown header size", With(good, 14, 200)},
        {"more colours than bits allow", With(paletted, 46, 300)},
        {"pixels before the colour table ends", With(paletted, 10, 14 + 40 + 16)},
        {"pixels beyond the file", With(good, 10, 0x7FFFFFF0)},
        {"taller than the file", With(good, 22, 100000)},
        {"top-down RLE", With(rle, 22, (unsigned)-5)},
        {"RLE of 60000 x 60000", With(With(rle, 18, 60000), 22, 60000)},
        {"RLE with 4 bits a pixel", With(rle, 28, 4, true)},
    };
    CheckRefused("bad.bmp", good, 1, rows);
}

TEST_CASE("damaged icons are refused")
{
    std::string good = Icon();
    const Damaged rows[] = {
        {"no images", With(good, 2, 1)},  // type 1, count 0
        {"a cursor file", With(good, 2, 2 | 1 << 16)},
        {"image inside the directory", With(good, 18, 10)},
        {"image beyond the file", With(good, 18, 0x7FFFFFF0)},
        {"image larger than the file", With(good, 14, 0x10000)},
        {"image too small for its pixels", With(good, 30, 64)},  // 32 rows of colour and mask
        {"a bitmap header of another size", With(good, 22, 12)},
        {"compressed image", With(good, 38, BI_RLE8)},
    };
    CheckRefused("bad.ico", good, 7, rows);
}

TEST_CASE("the extension chooses the loader")
{
    ScratchDir dir("pic");
    Picture picture;
    CHECK(Load(dir, "pic.gif", Bitmap(2, 2, 24), &picture) == PictureUnknownType);
    CHECK(Load(dir, "pic", Bitmap(2, 2, 24), &picture) == PictureUnknownType);
    CHECK(Load(dir, "pic.ico", Bitmap(2, 2, 24), &picture) == PictureInvalid);
    CHECK(Load(dir, "pic.bmp", Icon(), &picture) == PictureInvalid);
    REQUIRE(CreateDirectoryA((dir / "d.bmp").c_str(), nullptr));
    CHECK(LoadPicture((dir / "d.bmp\\pic").c_str(), &picture) == PictureUnknownType);
    CHECK(LoadPicture((dir / "absent.bmp").c_str(), &picture) == PictureUnreadable);
    CHECK(LoadPicture((dir / "d.bmp").c_str(), &picture) == PictureUnreadable);
}

TEST_CASE("a directory is everything before the last backslash or colon")
{
    struct Row {
        const char *path, *dir;
    } rows[] = {
        {"D:\\INSTALL.EXE", "D:\\"},
        {"D:\\SETUP\\KELBRINE.EXE", "D:\\SETUP"},
        {"D:\\", "D:\\"},
        {"D:KELBRINE.EXE", "D:"},
        {"\\\\server\\share\\INSTALL.EXE", "\\\\server\\share"},
        {"D:\\SETUP\\", "D:\\SETUP"},
        {"KELBRINE.EXE", ""},
        {"", ""},
    };
    for (const Row &row : rows) {
        CAPTURE(row.path);
        char dir[LauncherText];
        ExtractFileDir(row.path, dir, sizeof dir);
        CHECK(std::string(dir) == row.dir);
    }
    std::string longPath(600, 'a');
    longPath[2] = '\\';
    longPath[550] = '\\';
    char dir[LauncherText] = "x";
    ExtractFileDir(longPath.c_str(), dir, sizeof dir);
    CHECK(std::string(dir).empty());
}

TEST_CASE("a joined path that does not fit is empty, never cut")
{
    char small[8];
    CHECK(JoinText(small, sizeof small, "D:", "\\", "AB.E"));
    CHECK(std::string(small) == "D:\\AB.E");
    CHECK_FALSE(JoinText(small, sizeof small, "D:", "\\", "AB.EX"));
    CHECK(std::string(small).empty());
    CHECK_FALSE(FileFound(small));
    CHECK_FALSE(FileFound("C:\\windows\\"));
    CHECK(FileFound("C:\\windows"));
    CHECK(FileFound("C:\\windows\\system32\\*.dll"));
}

TEST_SUITE("japanese")
{
    TEST_CASE("Shift-JIS trail bytes are not path delimiters")
    {
        REQUIRE(GetACP() == 932);
        // 表 is 0x95 0x5C and ソ 0x83 0x5C.
        struct Row {
            const char *path, *dir;
        } rows[] = {
            {"D:\\\x95\x5C\\INSTALL.EXE", "D:\\\x95\x5C"},
            {"D:\\SETUP\\\x95\x5C.EXE", "D:\\SETUP"},
            {"D:\\\x83\x5C\x83\x74\x83\x67", "D:\\"},
            {"\x95\x5C", ""},
        };
        for (const Row &row : rows) {
            CAPTURE(row.path);
            char dir[LauncherText];
            ExtractFileDir(row.path, dir, sizeof dir);
            CHECK(std::string(dir) == row.dir);
        }
        ScratchDir dir("pic");
        Picture picture;
        CHECK(Load(dir, "\x95\x5C.bmp", Bitmap(2, 2, 24), &picture) == PictureLoaded);
        FreePicture(&picture);
    }
}
