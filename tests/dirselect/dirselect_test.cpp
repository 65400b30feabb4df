#include <doctest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "testutil.h"
#include "tools/dir_window.h"
#include "window/dirselect.h"

static std::vector<std::string> Found()
{
    std::vector<std::string> found;
    for (int i = 0; i < session->foundDirCount; i++)
        found.push_back(session->foundDirs[i]);
    return found;
}

static std::vector<std::string> Sorted(std::vector<std::string> v)
{
    std::sort(v.begin(), v.end());
    return v;
}

static void MakeDir(const std::string &path)
{
    REQUIRE(CreateDirectoryA(path.c_str(), nullptr));
}

static void MakeFile(const std::string &path, DWORD attributes = FILE_ATTRIBUTE_NORMAL)
{
    REQUIRE(WriteBytes(path, "x"));
    REQUIRE(SetFileAttributesA(path.c_str(), attributes));
    if (attributes != FILE_ATTRIBUTE_NORMAL)
        REQUIRE((GetFileAttributesA(path.c_str()) & attributes) == attributes);
}

static bool Search(const std::string &dir, const char *key)
{
    CopyStr(session->searchKey, key, TextBufSize);
    session->foundDirCount = 0;
    return SearchDirTree(dir.c_str(), "*.*");
}

TEST_CASE("SearchDirTree: the names of the list, without case, hidden entries too")
{
    SessionFixture s;
    ScratchDir t("search");
    MakeDir(t / "app");
    MakeFile(t / "app\\APP.EXE");
    MakeFile(t / "app\\app.ini");
    MakeDir(t / "other");
    MakeFile(t / "other\\readme.txt");
    MakeFile(t / "other\\\x83\x41pp.txt"); // a katakana letter, then "pp.txt"
    MakeDir(t / "hidden");
    SetFileAttributesA((t / "hidden").c_str(), FILE_ATTRIBUTE_HIDDEN);
    MakeFile(t / "hidden\\app.exe", FILE_ATTRIBUTE_HIDDEN);
    MakeDir(t / "sys");
    SetFileAttributesA((t / "sys").c_str(), FILE_ATTRIBUTE_SYSTEM);
    MakeFile(t / "sys\\app.exe", FILE_ATTRIBUTE_SYSTEM);
    MakeFile(t / "sys\\app.ini", FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_HIDDEN);
    MakeFile(t / "sys\\my, app.txt", FILE_ATTRIBUTE_READONLY);

    struct Case { const char *key; std::vector<std::string> found; };
    const Case cases[] = {
        // A file marked only as a system file is not seen; with the hidden
        // mark it is.
        { "app.exe", { t / "app", t / "hidden" } },
        { "App.Ini", { t / "app", t / "sys" } },
        // Two names of one directory record it twice.
        { "APP.EXE,app.ini", { t / "app", t / "app", t / "hidden", t / "sys" } },
        { "  , ,readme.txt", { t / "other" } },
        // A directory's own name is found in its parent.
        { "other", { t.path } },
        { "\"my, app.txt\"", { t / "sys" } },
        { "zzz,\"my, app.txt\" , other", { t.path, t / "sys" } },
        { "my", {} },
        // The second byte of a double-byte letter is compared exactly.
        { "\x83\x61pp.txt", {} },
        { "\x83\x41PP.TXT", { t / "other" } },
        { "app", { t.path } },
        { "", {} },
        // Blanks and commas between names are skipped; an empty name in
        // quotes ends the list.
        { "zzz,,readme.txt", { t / "other" } },
        { "\"\",readme.txt", {} },
    };
    for (const Case &c : cases) {
        std::string key = c.key;
        CAPTURE(key);
        CHECK_FALSE(Search(t.path, c.key));
        CHECK(Sorted(Found()) == Sorted(c.found));
    }
}

TEST_CASE("SearchDirTree: depth first, a directory before its subdirectories, stop at five")
{
    SessionFixture s;
    ScratchDir t("deep");
    // One chain of seven directories, each holding the file: the five
    // nearest the top are recorded, in order, and the search ends there.
    std::string dir = t.path;
    std::vector<std::string> chain;
    for (int n = 0; n < 7; n++) {
        chain.push_back(dir);
        MakeFile(dir + "\\setup.log");
        dir += "\\d" + std::to_string(n);
        MakeDir(dir);
    }
    CHECK(Search(t.path, "SETUP.LOG"));
    CHECK(Found() == std::vector<std::string>(chain.begin(), chain.begin() + 5));
    CHECK_FALSE(Search(chain[3], "setup.log"));
    CHECK(Found() == std::vector<std::string>(chain.begin() + 3, chain.end()));
    // A list already full takes nothing more.
    session->foundDirCount = 5;
    CHECK(SearchDirTree(chain[6].c_str(), "*.*"));
    CHECK(session->foundDirCount == 5);
    // Five matches in one directory: full at the fifth.
    CHECK(Search(chain[6], "setup.log,SETUP.LOG,setup.log,Setup.Log,setup.log,setup.log"));
    CHECK(Found() == std::vector<std::string>(5, chain[6]));
}

TEST_CASE("SearchDirTree: paths that do not fit are not searched")
{
    SessionFixture s;
    CopyStr(session->searchKey, "app.exe", TextBufSize);
    std::string longDir = "C:\\" + std::string(TextBufSize - 4, 'a');
    CHECK_FALSE(SearchDirTree(longDir.c_str(), "*.*"));
    CHECK(session->foundDirCount == 0);
    ScratchDir t("long");
    MakeFile(t / "app.exe");
    CHECK_FALSE(SearchDirTree(t.path.c_str(), std::string(TextBufSize, '*').c_str()));
    CHECK(session->foundDirCount == 0);
}

TEST_CASE("SearchInstallDir: no SEARCHKEY, or a field naming no drive, searches nothing")
{
    DirWindow w;
    ScratchDir t("nokey");
    MakeFile(t / "app.exe");
    session->foundDirCount = 3;
    w.SetField(t.path);
    CHECK_FALSE(SearchInstallDir());
    CHECK(session->foundDirCount == 0);
    CopyStr(session->searchKey, "app.exe", TextBufSize);
    for (const char *field : { "1:\\APP", "::", "\x82:\\APP" }) {
        CAPTURE(std::string(field));
        session->foundDirCount = 3;
        w.SetField(field);
        CHECK_FALSE(SearchInstallDir());
        CHECK(session->foundDirCount == 0);
    }
}

TEST_CASE("SelectDrive: the field's drive letter changes; a search finding nothing leaves it")
{
    DirWindow w;
    struct Case { const char *field; int drive; const char *result; };
    const Case cases[] = {
        { "C:\\Program Files\\App", 25, "Z:\\Program Files\\App" },
        { "z:", 2, "C:" },
        { "\\APP", 2, "C:\\" },
        { "", 25, "Z:\\" },
        { "A", 2, "C:\\" },
        { "C:\\APP", 26, "C:\\APP" },
        { "C:\\APP", -1, "C:\\APP" },
    };
    for (const Case &c : cases) {
        CAPTURE(std::string(c.field));
        w.SetField(c.field);
        session->shownDirIndex = 3;
        SelectDrive(c.drive);
        CHECK(w.Field() == c.result);
        CHECK(session->shownDirIndex == (c.drive >= 0 && c.drive < 26 ? 0 : 3));
    }
}

TEST_CASE("NextFoundDir: cycles through two or more found directories")
{
    DirWindow w;
    w.SetField("C:\\APP");
    for (int count : { 0, 1 }) {
        session->foundDirCount = count;
        CopyStr(session->foundDirs[0], "C:\\OLD", TextBufSize);
        NextFoundDir();
        CHECK(w.Field() == "C:\\APP");
        CHECK(session->shownDirIndex == 0);
    }
    const char *dirs[] = { "C:\\ONE", "D:\\TWO", "E:\\THREE" };
    for (int i = 0; i < 3; i++)
        CopyStr(session->foundDirs[i], dirs[i], TextBufSize);
    session->foundDirCount = 3;
    std::vector<std::string> shown;
    for (int n = 0; n < 4; n++) {
        NextFoundDir();
        shown.push_back(w.Field());
    }
    CHECK(shown == std::vector<std::string>{ "D:\\TWO", "E:\\THREE", "C:\\ONE", "D:\\TWO" });
}
