#include <doctest.h>
#include <limits.h>
#include <string.h>

#include <string>

#include "page_fixture.h"
#include "setup/general.h"
#include "window/options.h"

// Three modes and three options; each case below is one more install set.
static const char RowsSection[] = "[GENERAL]\n"
                                  "INSTALLMODE0=Full,100\n"
                                  "INSTALLMODE1=Lean,200\n"
                                  "INSTALLMODE2=Tiny,400\n"
                                  "OPTION0=Help,10\n"
                                  "OPTION1=Demo,20\n"
                                  "OPTION2=Fonts,40\n"
                                  "INSTALLSET0=Radio,SD,1\n";

static std::string States(const PageFixture &f, int base)
{
    std::string s;
    for (int n = 0; n < 3; n++)
        s += GetItemChecked(f.Row(base + n)) ? '1' : '0';
    return s;
}

static std::string Letters(const PageFixture &f)
{
    std::string s;
    for (int n = 0; n < 3; n++)
        s += WindowText(f.Row(1300 + n))[0];
    return s;
}

static void SelectSet(int index)
{
    session->installSetIndex = index;
    ApplyInstallSet();
}

TEST_CASE("ApplyInstallSet: kind, mode and option fields")
{
    struct Case { const char *fields; int kind; int mode; const char *modes; const char *letters; const char *options; };
    const Case cases[] = {
        { "SI,-1", 1, -1, "111", "CCC", "000" },
        { "MI,-2", 2, -2, "000", "CCC", "000" },
        { "CD", 5, -2, "000", "CCC", "000" },
        { "SD,2", 4, 2, "001", "RRR", "000" },
        { "CI,0,2,-1,5", 3, 0, "100", "RRR", "111" },
        { "CI,-2,1,-1", 3, -2, "000", "CCC", "111" },
        { "XX,2,1", 3, 2, "001", "RRR", "010" },
        { "si,0", 3, 0, "100", "RRR", "000" },
        { "SI,,1", 1, -2, "000", "CCC", "000" },
        { "SI,1,300,2,9,,0", 1, 1, "010", "RRR", "001" },
        { "CI,7", 3, 7, "000", "RRR", "000" },
        { "SI,-7,0", 1, -7, "000", "CCC", "100" },
        { "Bare", 3, -2, "000", "CCC", "000" },
    };
    std::string text = RowsSection;
    for (const Case &c : cases)
        text += std::string("INSTALLSET1=Set,") + c.fields + "\n";
    text += "INSTALLSET1=Nameless\n";
    PageFixture f(text);
    ParseGeneralSection();
    const int sizes[] = { 100, 200, 400 }, optionSizes[] = { 10, 20, 40 };
    for (int i = 0; i < static_cast<int>(sizeof cases / sizeof cases[0]); i++) {
        const Case &c = cases[i];
        CAPTURE(c.fields);
        SelectSet(0); // radio rows, mode 1 checked
        REQUIRE(Letters(f) == "RRR");
        SelectSet(i + 1);
        CHECK(session->installKind == c.kind);
        CHECK(session->selectedMode == c.mode);
        CHECK(States(f, 1300) == c.modes);
        CHECK(Letters(f) == c.letters);
        CHECK(States(f, 1000) == c.options);
        int need = 0;
        for (int n = 0; n < 3; n++)
            need += (c.modes[n] == '1' ? sizes[n] : 0) + (c.options[n] == '1' ? optionSizes[n] : 0);
        CHECK(session->needKB == need);
    }
    // A name with no comma: an empty field list.
    SelectSet(static_cast<int>(sizeof cases / sizeof cases[0]) + 1);
    CHECK(session->installKind == 3);
    CHECK(session->selectedMode == -2);
    CHECK(States(f, 1300) + States(f, 1000) == "000000");
}

TEST_CASE("Choosing a set again discards the user's clicks")
{
    PageFixture f(std::string(RowsSection) + "INSTALLSET1=Custom,CI,0,1\n");
    ParseGeneralSection();
    SelectSet(1);
    REQUIRE(States(f, 1300) + States(f, 1000) == "100010");
    SetItemChecked(f.Row(1000), 1);
    SetItemChecked(f.Row(1001), 0);
    SetItemChecked(f.Row(1302), 1);
    UpdateNeedKB();
    CHECK(session->needKB == 100 + 400 + 10);
    SelectSet(1);
    CHECK(States(f, 1300) + States(f, 1000) == "100010");
    CHECK(session->needKB == 120);
}

TEST_CASE("Records: windows without one read as empty and are ignored")
{
    PageFixture f(RowsSection);
    ParseGeneralSection();
    HWND stranger = f.dirEdit;
    CHECK(GetItemSize(stranger) == 0);
    CHECK(GetItemChecked(stranger) == 0);
    CHECK(GetItemPos(stranger).x == 0);
    CHECK(GetItemPos(stranger).y == 0);
    SetItemChecked(stranger, 1);
    CHECK(GetItemChecked(stranger) == 0);
    CHECK(GetNeighbourItem(stranger, false) == nullptr);
    CHECK(GetItemChecked(nullptr) == 0);

    rowDraws.clear();
    SetItemChecked(f.Row(1001), 1); // a row is redrawn as soon as its state changes
    CHECK(GetItemChecked(f.Row(1001)) == 1);
    REQUIRE(rowDraws.size() == 1);
    CHECK(rowDraws[0].row == f.Row(1001));

    // Records grow ten at a time and keep what they held.
    int before = session->itemCount;
    HWND extra[14];
    for (int i = 0; i < 14; i++) {
        extra[i] = CreateWindowA("BUTTON", "Cx", WS_CHILD | BS_OWNERDRAW, 8, 0, 10, 10, f.list,
                                 nullptr, nullptr, nullptr);
        REQUIRE(AddOptionItem(extra[i], i * 3, i % 2, 8, 500 + i));
    }
    CHECK(session->itemCount == before + 14);
    CHECK(GlobalSize(session->hItems) >= 20 * sizeof(OptionItem));
    for (int i = 0; i < 14; i++) {
        CHECK(GetItemSize(extra[i]) == i * 3);
        CHECK(GetItemChecked(extra[i]) == i % 2);
        CHECK(GetItemPos(extra[i]).y == 500 + i);
    }
    CHECK(GetItemSize(f.Row(1302)) == 400);
    CHECK(GetNeighbourItem(extra[0], true) == f.Row(1002));
}

TEST_CASE("SetFocusItem moves the highlight; UpdateNeedKB redraws the space line on page 2")
{
    PageFixture f(RowsSection);
    ParseGeneralSection();
    CHECK(session->hFocusItem == f.Row(1300));
    rowDraws.clear();
    SetFocusItem(1001);
    CHECK(session->focusItemId == 1001);
    CHECK(session->hFocusItem == f.Row(1001));
    // Both rows are redrawn at once: the old one plain, the new one highlighted.
    REQUIRE(rowDraws.size() == 2);
    CHECK(rowDraws[0].row == f.Row(1300));
    CHECK_FALSE(rowDraws[0].highlighted);
    CHECK(rowDraws[1].row == f.Row(1001));
    CHECK(rowDraws[1].highlighted);
    rowDraws.clear();
    SetFocusItem(1001); // already current: nothing redrawn
    CHECK(rowDraws.empty());
    SetFocusItem(1250); // no such row
    CHECK(session->focusItemId == 1250);
    CHECK(session->hFocusItem == nullptr);

    session->rcDisk = RECT{ 100, 200, 300, 216 };
    session->page = PageOptions;
    ValidateRect(f.main, nullptr);
    SetItemChecked(f.Row(1002), 1);
    UpdateNeedKB();
    CHECK(session->needKB == 200 + 40);
    CHECK(SameRect(UpdateBox(f.main), session->rcDisk));

    ValidateRect(f.main, nullptr);
    UpdateNeedKB(); // unchanged: nothing to redraw
    CHECK(NothingToPaint(f.main));
    session->page = PageDirectory;
    SetItemChecked(f.Row(1002), 0);
    UpdateNeedKB();
    CHECK(session->needKB == 200);
    CHECK(NothingToPaint(f.main));
}

TEST_CASE("ScrollToFocusItem keeps the current row among the eight shown")
{
    std::string text = "[GENERAL]\n";
    for (int n = 0; n < 20; n++)
        text += "OPTION" + std::to_string(n) + "=Row " + std::to_string(n) + "\n";
    PageFixture f(text);
    ParseGeneralSection();
    int lo, hi;
    GetScrollRange(f.list, SB_VERT, &lo, &hi);
    REQUIRE(hi == 19 * 19);

    struct Step { int id; int pos; };
    const Step steps[] = {
        { 1007, 0 },       // row 7 is the last one shown
        { 1008, 19 },      // one below: one row down
        { 1015, 8 * 19 },  // row 15 becomes the bottom row
        { 1010, 8 * 19 },  // shown already
        { 1002, 2 * 19 },  // above: it becomes the top row
        { 1019, 12 * 19 },
    };
    for (const Step &s : steps) {
        CAPTURE(s.id);
        SetFocusItem(s.id);
        ScrollToFocusItem();
        CHECK(GetScrollPos(f.list, SB_VERT) == s.pos);
        // The rows move with the contents.
        CHECK(ChildPos(f.Row(s.id)).y == GetItemPos(f.Row(s.id)).y - s.pos);
        CHECK(ChildPos(f.Row(1000)).y == 2 - s.pos);
    }

    // A position off the row grid, as the scroll box leaves it: the rows still
    // end up where the position says.
    int old = GetScrollPos(f.list, SB_VERT);
    SetScrollPos(f.list, SB_VERT, 30, TRUE);
    ScrollWindow(f.list, 0, old - 30, nullptr, nullptr);
    SetFocusItem(1015);
    ScrollToFocusItem();
    CHECK(GetScrollPos(f.list, SB_VERT) == 8 * 19);
    CHECK(ChildPos(f.Row(1015)).y == 15 * 19 + 2 - 8 * 19);
}

TEST_CASE("ShowComment: lookup rules and the redrawn area")
{
    struct Case { const char *lines; int kind; int number; const char *comment; };
    const Case cases[] = {
        // SCOMMENT lines count by place, whatever their numbers.
        { "SCOMMENT5=five\nSCOMMENT7=seven\nSCOMMENT9=nine\n", CommentSet, 0, "five" },
        { "SCOMMENT5=five\nSCOMMENT7=seven\nSCOMMENT9=nine\n", CommentSet, 2, "nine" },
        { "SCOMMENT5=five\nSCOMMENT7=seven\nSCOMMENT9=nine\n", CommentSet, 3, "(old)" },
        { "SCOMMENT1=,x\nSCOMMENT2=two\n", CommentSet, 0, "(old)" },
        { "SCOMMENT1=one\nOPTION0=A\nSCOMMENT2=two\n", CommentSet, 1, "two" },
        // MCOMMENT and OCOMMENT by number.
        { "MCOMMENT2=a,b\nMCOMMENT1=b\n", CommentMode, 1, "b" },
        { "MCOMMENT2=a,b\nMCOMMENT1=b\n", CommentMode, 2, "a" },
        { "OCOMMENT1=\nOCOMMENT1=second\n", CommentOption, 1, "second" },
        { "OCOMMENT1=Line\\none\n", CommentOption, 1, "Line\r\none" },
        { "OCOMMENT0=a\nOCOMMENT300=x\nOCOMMENT1=b\n", CommentOption, 1, "b" },
        // The block ends at an empty line (CR LF ones too) or a header.
        { "OCOMMENT0=a\n\nOCOMMENT1=b\n", CommentOption, 1, "(old)" },
        { "OCOMMENT0=a\r\n\r\nOCOMMENT1=b\r\n", CommentOption, 1, "(old)" },
        { "OCOMMENT0=a\n[INSTALL-SCRIPT]\nOCOMMENT1=b\n", CommentOption, 1, "(old)" },
        { "OCOMMENT0=a\n", CommentMode, 0, "(old)" },
    };
    for (const Case &c : cases) {
        CAPTURE(c.lines);
        CAPTURE(c.number);
        PageFixture f(std::string("[GENERAL]\nINSTALLSET0=Only,CD\n") + c.lines);
        ParseGeneralSection();
        CopyStr(session->commentText, "(old)", TextBufSize);
        session->rcText = RECT{ 16, 80, 463, 208 };
        session->readPos = 7;
        ValidateRect(f.main, nullptr);
        ShowComment(c.kind, c.number);
        CHECK(std::string(session->commentText) == c.comment);
        CHECK(session->readPos == 7);
        if (strcmp(c.comment, "(old)") == 0) {
            CHECK(NothingToPaint(f.main));
        } else {
            RECT expected = { 26, 90, 453, 198 };
            CHECK(SameRect(UpdateBox(f.main), expected));
        }
    }
}

// Free kilobytes of a root as the platform's 64-bit query gives them.
static long long FreeKBOf(const char *root)
{
    ULARGE_INTEGER available, total, free;
    if (!GetDiskFreeSpaceExA(root, &available, &total, &free))
        return 0;
    long long kb = static_cast<long long>(free.QuadPart >> 10);
    return kb > INT_MAX ? INT_MAX : kb;
}

static bool Near(long long a, long long b)
{
    return a - b < 64 * 1024 && b - a < 64 * 1024; // other programs write meanwhile
}

TEST_CASE("UpdateFreeKB measures the drive the directory field names")
{
    PageFixture f("[GENERAL]\nINSTALLDIR=C:\\\\TOOL\nINSTALLSET0=A,SI\n");
    ParseGeneralSection();
    CHECK(session->freeDrive == 3);
    CHECK(session->freeKB > 0);
    CHECK(Near(session->freeKB, FreeKBOf("C:\\")));

    session->rcDisk = RECT{ 50, 220, 440, 236 };
    session->freeKB = 12345; // whatever was measured stays until the drive changes
    SetWindowTextA(f.dirEdit, "c:\\OTHER\\PLACE");
    UpdateFreeKB();
    CHECK(session->freeKB == 12345);

    ValidateRect(f.main, nullptr);
    SetWindowTextA(f.dirEdit, "Z:\\usr");
    UpdateFreeKB();
    CHECK(session->freeDrive == 26);
    CHECK(Near(session->freeKB, FreeKBOf("Z:\\")));
    CHECK(SameRect(UpdateBox(f.main), session->rcDisk));

    ValidateRect(f.main, nullptr);
    SetWindowTextA(f.dirEdit, "1:\\TOOL");
    UpdateFreeKB();
    CHECK(session->freeDrive == -1);
    CHECK(session->freeKB == 0);
    CHECK(SameRect(UpdateBox(f.main), session->rcDisk));

    // No letter: the current directory's drive.
    char cwd[MAX_PATH];
    GetCurrentDirectoryA(sizeof cwd, cwd);
    SetWindowTextA(f.dirEdit, "TOOL");
    UpdateFreeKB();
    CHECK(session->freeDrive == (cwd[0] | 0x20) - 'a' + 1);

    // A letter without a drive gives 0; off pages 1 and 2 nothing is redrawn.
    DWORD drives = GetLogicalDrives();
    int unused = 25;
    while (unused > 2 && (drives & (1u << unused)))
        unused--;
    char path[] = "?:\\X";
    path[0] = static_cast<char>('A' + unused);
    session->page = PageProgress;
    session->freeKB = 777;
    ValidateRect(f.main, nullptr);
    SetWindowTextA(f.dirEdit, path);
    UpdateFreeKB();
    CHECK(session->freeDrive == unused + 1);
    CHECK(session->freeKB == 0);
    CHECK(NothingToPaint(f.main));
}
