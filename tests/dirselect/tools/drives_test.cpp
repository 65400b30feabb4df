// Cases on drives mapped by drives.sh: C: and Z: of the prefix, D: a RAM
// disk, E: a CD-ROM, F: a network drive, G: a floppy, H: to K: fixed disks
// (all empty), and M: a small tree with two earlier installations, a file
// in its root and two links pointing back up the tree.
#include <doctest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "dir_window.h"
#include "window/dirselect.h"

static std::vector<std::string> Found()
{
    std::vector<std::string> found;
    for (int i = 0; i < session->foundDirCount; i++)
        found.push_back(session->foundDirs[i]);
    std::sort(found.begin(), found.end());
    return found;
}

TEST_CASE("CreateDriveButtons: one letter more than there are drives, eight to a row")
{
    DirWindow w;
    CreateDriveButtons();
    // Eleven drives: A to L are looked at. A, B and L hold nothing yet get
    // a button; M and Z get none.
    const char *captions[] = { "DA:", "DB:", "DC:", "MD:", "OE:", "NF:",
                               "dG:", "DH:", "DI:", "DJ:", "DK:", "DL:" };
    CHECK(session->lastDriveButton == 11);
    for (int k = 0; k < 12; k++) {
        CAPTURE(k);
        HWND button = GetDlgItem(w.main, IdFirstDrive + k);
        REQUIRE(button);
        char text[16];
        GetWindowTextA(button, text, sizeof text);
        CHECK(std::string(text) == captions[k]);
        RECT r;
        GetWindowRect(button, &r);
        MapWindowPoints(nullptr, w.main, reinterpret_cast<POINT *>(&r), 2);
        // The second row is the Folder button's, the first grows above it.
        CHECK(r.left == 20 + 41 * (k % 8));
        CHECK(r.top == (k < 8 ? 16 : 17) * 16);
        CHECK(r.right - r.left == 35);
        CHECK(r.bottom - r.top == 16);
        LONG style = GetWindowLongA(button, GWL_STYLE);
        CHECK((style & (WS_VISIBLE | WS_TABSTOP | BS_TYPEMASK)) == (WS_TABSTOP | BS_OWNERDRAW));
    }
    CHECK_FALSE(GetDlgItem(w.main, IdFirstDrive + 12));
}

TEST_CASE("SearchInstallDir: the whole drive of the field, else the current drive")
{
    DirWindow w;
    CopyStr(session->searchKey, "app.exe", TextBufSize);
    const std::vector<std::string> installations = { "M:\\old\\app", "M:\\older\\Bin" };
    HCURSOR cross = LoadCursor(nullptr, IDC_CROSS);
    SetCursor(cross);
    w.SetField("M:\\New App");
    CHECK(SearchInstallDir());
    // The links back up the tree are not followed: nothing is found twice.
    CHECK(Found() == installations);
    CHECK(GetCursor() == cross);

    w.SetField("m:");
    CopyStr(session->searchKey, "ROOT.TXT,nothing", TextBufSize);
    CHECK(SearchInstallDir());
    CHECK(Found() == std::vector<std::string>{ "m:" });

    CopyStr(session->searchKey, "app.exe", TextBufSize);
    {
        CurrentDir in("M:\\older");
        for (const char *field : { "\\New App", "" }) {
            w.SetField(field);
            CHECK(SearchInstallDir());
            CHECK(Found() == installations);
        }
    }
    w.SetField("D:\\New App");
    CHECK_FALSE(SearchInstallDir());
    CHECK(session->foundDirCount == 0);
}

TEST_CASE("SelectDrive shows the first installation found; Folder cycles through them")
{
    DirWindow w;
    CopyStr(session->searchKey, "app.exe", TextBufSize);
    w.SetField("C:\\Program Files\\New App");
    SelectDrive('M' - 'A');
    REQUIRE(session->foundDirCount == 2);
    std::string first = session->foundDirs[0], second = session->foundDirs[1];
    CHECK(w.Field() == first);
    NextFoundDir();
    CHECK(w.Field() == second);
    NextFoundDir();
    CHECK(w.Field() == first);

    // A letter without a drive: no space, no search; what was found stays.
    NextFoundDir();
    SelectDrive('Q' - 'A');
    CHECK(w.Field() == "Q" + second.substr(1));
    CHECK(session->freeKB == 0);
    CHECK(session->foundDirCount == 2);
    CHECK(session->shownDirIndex == 0);

    // An empty drive: the search finds nothing and the field keeps the path.
    SelectDrive('H' - 'A');
    CHECK(w.Field() == "H" + second.substr(1));
    CHECK(session->freeKB > 0);
    CHECK(session->foundDirCount == 0);
    NextFoundDir();
    CHECK(w.Field() == "H" + second.substr(1));
}
