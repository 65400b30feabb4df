#include <doctest.h>
#include <string.h>

#include <string>

#include "page_fixture.h"
#include "setup/general.h"
#include "setup/texts.h"
#include "window/options.h"

static const char WorkedExample[] =
    "[GENERAL]\r\n"
    "LANGUAGE=ENGLISH\r\n"
    "INSTALLDIR=$R\\\\TOOL\r\n"
    "INSTALLSET1=Typical,SI,0,1\r\n"
    "INSTALLSET2=Custom,CI,0,-1\r\n"
    "INSTALLSET3=Remove,SD\r\n"
    "INSTALLMODE0=Program files,2048\r\n"
    "INSTALLMODE1=Minimal files,512\r\n"
    "OPTION0=Help files,300\r\n"
    "OPTION1=Samples,1500\r\n"
    "SCOMMENT1=Program and samples\r\n"
    "SCOMMENT2=Choose the parts yourself\r\n"
    "SCOMMENT3=Removes the tool\r\n"
    "OCOMMENT0=Online help\r\n";

static std::string ComboEntry(HWND combo, int i)
{
    char text[TextBufSize] = "";
    SendMessageA(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
    return text;
}

// The list's entries joined with "|".
static std::string ComboEntries(HWND combo)
{
    std::string all;
    int count = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; i++)
        all += (i ? "|" : "") + ComboEntry(combo, i);
    return all;
}

// Checked states of the given rows as a string of 0 and 1.
static std::string Checks(const PageFixture &f, std::initializer_list<int> ids)
{
    std::string s;
    for (int id : ids)
        s += GetItemChecked(f.Row(id)) ? '1' : '0';
    return s;
}

static void SelectSet(int index)
{
    session->installSetIndex = index;
    ApplyInstallSet();
}

TEST_CASE("The documented [GENERAL] example on the real page controls")
{
    PageFixture f(WorkedExample);
    ParseGeneralSection();

    CHECK(ComboEntries(f.setList) == "Typical|Custom|Remove");
    CHECK(SendMessageA(f.setList, CB_GETCURSEL, 0, 0) == 0);
    RECT combo;
    GetWindowRect(f.setList, &combo);
    CHECK(combo.right - combo.left == 9 * (7 + 5) - 3); // longest name "Typical"
    RECT dropped;
    SendMessageA(f.setList, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
    // The height given covers the closed box and its list.
    CHECK((dropped.bottom - dropped.top) + (combo.bottom - combo.top) == 16 * (3 + 2));

    CHECK(WindowText(f.dirEdit) == "C:\\TOOL");

    struct Row { int id; const char *caption; int y; };
    const Row rows[] = {
        { 1300, "RProgram files\t  2.0 MB", 2 },
        { 1301, "RMinimal files\t  512 KB", 21 },
        { 1000, "CHelp files\t  300 KB", 59 },
        { 1001, "CSamples\t  1.5 MB", 78 },
    };
    REQUIRE(session->itemCount == 4);
    for (int i = 0; i < 4; i++) {
        CAPTURE(rows[i].id);
        HWND row = f.Row(rows[i].id);
        REQUIRE(row != nullptr);
        CHECK(WindowText(row) == rows[i].caption);
        POINT p = ChildPos(row);
        CHECK(p.x == 8);
        CHECK(p.y == rows[i].y);
        RECT r;
        GetWindowRect(row, &r);
        CHECK(r.right - r.left == 416);
        CHECK(r.bottom - r.top == 16);
        CHECK((GetWindowLongA(row, GWL_STYLE) & BS_TYPEMASK) == BS_OWNERDRAW);
        CHECK(GetItemPos(row).x == 8);
        CHECK(GetItemPos(row).y == rows[i].y);
    }
    CHECK(GetItemSize(f.Row(1300)) == 2048);
    CHECK(GetItemSize(f.Row(1001)) == 1500);
    CHECK(session->focusItemId == 1300);
    CHECK(session->hFocusItem == f.Row(1300));
    CHECK(session->maxModeIndex == 1);
    CHECK(session->maxOptionIndex == 1);

    int lo = -1, hi = -1;
    GetScrollRange(f.list, SB_VERT, &lo, &hi);
    CHECK(lo == 0);
    CHECK(hi == 19 * 4);

    // Typical: no option page, mode 0 as a radio button, option 1.
    CHECK(session->installKind == 1);
    CHECK(session->selectedMode == 0);
    CHECK(Checks(f, { 1300, 1301, 1000, 1001 }) == "1001");
    CHECK(session->needKB == 2048 + 1500);

    SelectSet(1); // Custom: option page, mode 0 and every option
    CHECK(session->installKind == 3);
    CHECK(Checks(f, { 1300, 1301, 1000, 1001 }) == "1011");
    CHECK(WindowText(f.Row(1301))[0] == 'R');
    CHECK(session->needKB == 2048 + 300 + 1500);

    SelectSet(2); // Remove: delete script, nothing checked, check boxes
    CHECK(session->installKind == 4);
    CHECK(session->selectedMode == -2);
    CHECK(Checks(f, { 1300, 1301, 1000, 1001 }) == "0000");
    CHECK(WindowText(f.Row(1300)) == "CProgram files\t  2.0 MB");
    CHECK(WindowText(f.Row(1301)) == "CMinimal files\t  512 KB");
    CHECK(session->needKB == 0);

    ShowComment(CommentSet, 1);
    CHECK(std::string(session->commentText) == "Choose the parts yourself");
    ShowComment(CommentSet, 0);
    CHECK(std::string(session->commentText) == "Program and samples");
    ShowComment(CommentOption, 0);
    CHECK(std::string(session->commentText) == "Online help");
    ShowComment(CommentOption, 1); // none: the last comment stays
    CHECK(std::string(session->commentText) == "Online help");
    ShowComment(CommentMode, 0);
    CHECK(std::string(session->commentText) == "Online help");
    CHECK(session->commentKeyPos[CommentMode] == -1);
    CHECK(session->scriptPos[0] == -1);
    CHECK(session->scriptPos[1] == -1);
}

TEST_CASE("KeyWithIndex")
{
    struct Case { const char *key; const char *name; int result; int index; };
    const Case cases[] = {
        { "OPTIONAL", "OPTION", 1, 0 },
        { "OPTION256", "OPTION", 0, 0 },
        { "OPTION255", "OPTION", 1, 255 },
        { "OPTION-1", "OPTION", 0, 0 },
        { "OPTION+7", "OPTION", 1, 7 },
        { "INSTALLMODE12345", "INSTALLMODE", 0, 0 },
        { "INSTALLMODE1234", "INSTALLMODE", 0, 0 }, // 1234 is beyond 255
        { "INSTALLMODE0012", "INSTALLMODE", 1, 12 },
        { "OPTION 5", "OPTION", 1, 5 },
        { "OPTION5 ", "OPTION", 1, 5 },
        { "OPTION", "OPTION", 0, 0 },
        { "option1", "OPTION", 0, 0 },
        { "OCOMMENT3", "OPTION", 0, 0 },
        { "ABCDEFGHIJKLMNOPQ12", "ABCDEFGHIJKLMNOPQ", 1, 12 }, // 19 bytes
        { "ABCDEFGHIJKLMNOPQR12", "ABCDEFGHIJKLMNOPQR", 0, 0 }, // 20 bytes
    };
    for (const Case &c : cases) {
        CAPTURE(c.key);
        int index = 99;
        CHECK(KeyWithIndex(c.key, c.name, index) == c.result);
        CHECK(index == c.index);
    }
}

TEST_CASE("Size texts after the tab")
{
    PageFixture f("[GENERAL]\n"
                  "OPTION0=None\n"
                  "OPTION1=Zero,0\n"
                  "OPTION2=KB,1024\n"
                  "OPTION3=MB,1025\n"
                  "OPTION4=Small,7\n"
                  "OPTION5=Huge,99999999999\n"
                  "OPTION6=Spaced,  12abc\n");
    ParseGeneralSection();
    CHECK(WindowText(f.Row(1000)) == "CNone");
    CHECK(WindowText(f.Row(1001)) == "CZero");
    CHECK(WindowText(f.Row(1002)) == "CKB\t 1024 KB");
    CHECK(WindowText(f.Row(1003)) == "CMB\t  1.0 MB");
    CHECK(WindowText(f.Row(1004)) == "CSmall\t    7 KB");
    CHECK(WindowText(f.Row(1005)) == "CHuge\t2097152.0 MB"); // saturated, not wrapped
    CHECK(WindowText(f.Row(1006)) == "CSpaced\t   12 KB");
    CHECK(GetItemSize(f.Row(1000)) == 0);
    CHECK(GetItemSize(f.Row(1003)) == 1025);
    CHECK(GetItemSize(f.Row(1006)) == 12);
}

TEST_CASE("Row placement: options before modes overlap them, gaps and duplicates")
{
    PageFixture f("[GENERAL]\n"
                  "OPTION0=Early option\n"
                  "INSTALLMODE0=First,10\n"
                  "INSTALLMODE0=Second,20\n"
                  "INSTALLMODE2=Third\n"
                  "OPTION3=Late option\n"
                  "OPTION3=Again\n"
                  "OPTION7=\n"
                  "INSTALLMODE9\n");
    ParseGeneralSection();
    REQUIRE(session->itemCount == 4);
    CHECK(ChildPos(f.Row(1000)).y == 2); // placed as if there were no modes
    CHECK(ChildPos(f.Row(1300)).y == 2);
    CHECK(ChildPos(f.Row(1302)).y == 2 * 19 + 2);
    CHECK(ChildPos(f.Row(1003)).y == 3 * 19 + 2 + 4 * 19); // after modes 0..2 and a gap
    // Without install sets the modes are unchecked check boxes.
    CHECK(WindowText(f.Row(1300)) == "CFirst\t   10 KB");
    CHECK(WindowText(f.Row(1003)) == "CLate option");
    CHECK(f.Row(1007) == nullptr); // no label, no row
    CHECK(f.Row(1309) == nullptr);
    CHECK(session->maxModeIndex == 2);
    CHECK(session->maxOptionIndex == 3);
    // The first row read is the current one.
    CHECK(session->focusItemId == 1000);
    CHECK(session->hFocusItem == f.Row(1000));
    // Records follow the file, not the numbers.
    CHECK(GetNeighbourItem(f.Row(1000), false) == f.Row(1300));
    CHECK(GetNeighbourItem(f.Row(1300), false) == f.Row(1302));
    CHECK(GetNeighbourItem(f.Row(1302), false) == f.Row(1003));
    CHECK(GetNeighbourItem(f.Row(1003), false) == nullptr);
    CHECK(GetNeighbourItem(f.Row(1000), true) == nullptr);
    CHECK(GetNeighbourItem(f.Row(1003), true) == f.Row(1302));
    CHECK(GetNeighbourItem(f.main, true) == nullptr);
    int lo, hi;
    GetScrollRange(f.list, SB_VERT, &lo, &hi);
    CHECK(hi == 19 * (4 + 3));
}

TEST_CASE("Install sets are read anywhere after [GENERAL]; script positions")
{
    std::string text = "[DELETE-SCRIPT]\n"
                       "REMOVE=X\n"
                       "[GENERAL]\n"
                       "INSTALLSET1=First,SI\n"
                       "INSTALLSET2=,SD\n"
                       "INSTALLSET3=Bare\n"
                       "\n"
                       "[INSTALL-SCRIPT]\n"
                       "INSTALLSET9=Late,CD,-1\n"
                       "[INSTALL-SCRIPT]\n";
    PageFixture f(text);
    ParseGeneralSection();
    CHECK(ComboEntries(f.setList) == "First|Bare|Late");
    char def[TextBufSize];
    GetText(2003, def);
    CHECK(std::string(def) == "CD,-1");
    GetText(2002, def);
    CHECK(std::string(def) == ""); // a name without a comma has no fields
    SelectSet(1);
    CHECK(session->installKind == 3);
    CHECK(session->selectedMode == -2);
    SelectSet(2);
    CHECK(session->installKind == 5);
    // The first header after [GENERAL], and only such one.
    CHECK(session->scriptPos[0] == static_cast<int>(text.find("INSTALLSET9")));
    CHECK(session->scriptPos[1] == -1);
}

TEST_CASE("INSTALLDIR, SEARCHKEY and COVERPAGE: the last non-empty value wins")
{
    struct Case { const char *lines; const char *dir; const char *searchKey; int cover; };
    const Case cases[] = {
        { "", "C:\\", "", 0 },
        { "INSTALLDIR=D:\\\\APP,junk\n", "D:\\APP", "", 0 },
        { "INSTALLDIR=\"D:\\\\A,B\"\n", "D:\\A,B", "", 0 },
        { "INSTALLDIR=$W\\\\APP\nINSTALLDIR=\n", "C:\\windows\\APP", "", 0 },
        { "INSTALLDIR =D:\\\\X\n", "C:\\", "", 0 }, // blank before "=": no such key
        { "SEARCHKEY=APP\\\\BIN\\\\TOOL.EXE\nSEARCHKEY=\n", "C:\\", "APP\\BIN\\TOOL.EXE", 0 },
        { "COVERPAGE=true\n", "C:\\", "", 1 },
        { "COVERPAGE=TRUE\n", "C:\\", "", 1 },
        { "COVERPAGE=YES\n", "C:\\", "", 0 },
        { "COVERPAGE=TRUE\nCOVERPAGE=\n", "C:\\", "", 1 },
        { "COVERPAGE=True\nCOVERPAGE=no\n", "C:\\", "", 0 },
        { "coverpage=TRUE\n", "C:\\", "", 0 },
    };
    for (const Case &c : cases) {
        CAPTURE(c.lines);
        PageFixture f(std::string("[GENERAL]\n") + c.lines);
        ParseGeneralSection();
        CHECK(WindowText(f.dirEdit) == c.dir);
        CHECK(std::string(session->searchKey) == c.searchKey);
        CHECK(session->showCoverPage == c.cover);
    }
}

TEST_CASE("Without [GENERAL] nothing is read and nothing applied")
{
    PageFixture f("[GENERAL] \nINSTALLSET1=A,SI\nOPTION0=X\n[INSTALL-SCRIPT]\n");
    SetWindowTextA(f.dirEdit, "KEEP");
    ParseGeneralSection();
    CHECK(WindowText(f.dirEdit) == "KEEP");
    CHECK(ComboEntries(f.setList) == "");
    CHECK(session->itemCount == 0);
    CHECK(session->installKind == 0);
    CHECK(session->scriptPos[0] == -1);
    CHECK(session->freeDrive == -1);
}

TEST_CASE("Long names and many rows stay within their buffers")
{
    // Every $W grows to the Windows directory: far beyond 511 bytes.
    std::string longName;
    for (int i = 0; i < 200; i++)
        longName += "$W";
    std::string windows(4096, 0);
    windows.resize(GetWindowsDirectoryA(&windows[0], 4096));
    std::string expanded;
    while (expanded.size() < 600)
        expanded += windows;
    std::string text = "[GENERAL]\nINSTALLSET1=" + longName + ",SI,-1\nINSTALLMODE0=" + longName +
                       ",100\n";
    for (int n = 0; n < 25; n++)
        text += "OPTION" + std::to_string(n) + "=Option " + std::to_string(n) + "," +
                std::to_string(n + 1) + "\n";
    text += "INSTALLSET2=" + std::string(300, 'x') + "," + std::string(400, '5') + "\n";
    PageFixture f(text);
    ParseGeneralSection();
    REQUIRE(session->itemCount == 26);
    CHECK(GlobalSize(session->hItems) >= 30 * sizeof(OptionItem));
    CHECK(WindowText(f.Row(1300)) == "C" + expanded.substr(0, 510)); // set 0 has mode -1
    CHECK(ComboEntry(f.setList, 0) == expanded.substr(0, 511));
    RECT combo;
    GetWindowRect(f.setList, &combo);
    CHECK(combo.right - combo.left == 9 * 56 - 3);
    for (int n = 0; n < 25; n++) {
        HWND row = f.Row(1000 + n);
        REQUIRE(row != nullptr);
        CHECK(GetItemSize(row) == n + 1);
        CHECK(GetItemPos(row).y == n * 19 + 2 + 2 * 19);
    }
    CHECK(session->installKind == 1);
    CHECK(session->needKB == 100); // set 0: every mode, no option
    SelectSet(1); // a line cut at 511 bytes: the kind field is all that is left
    CHECK(session->installKind == 3);
}

TEST_SUITE("japanese")
{
    TEST_CASE("Shift-JIS labels and comments keep their bytes")
    {
        // "ソフト" (its first trail byte is a backslash) and "説明".
        const std::string soft = "\x83\x5C\x83\x74\x83\x67";
        const std::string text = "[GENERAL]\r\nINSTALLSET1=" + soft + ",CI,-1,0\r\nOPTION0=" + soft +
                                 ",300\r\nOCOMMENT0=\x90\xE0\x96\xBE\\n" + soft + "\r\n";
        PageFixture f(text, 0);
        ParseGeneralSection();
        CHECK(ComboEntry(f.setList, 0) == soft);
        CHECK(WindowText(f.Row(1000)) == "C" + soft + "\t  300 KB");
        CHECK(GetItemChecked(f.Row(1000)) == 1);
        ShowComment(CommentOption, 0);
        CHECK(std::string(session->commentText) == "\x90\xE0\x96\xBE\r\n" + soft);
    }
}
