#include <vector>

#include "actions/dirops.h"
#include "actions_fixture.h"

TEST_CASE("MKDIR: an existing entry is taken as there, one new level is made")
{
    ActionFixture f;
    std::string made = f / "NEW", file = f / "FILE.TXT";
    WriteBytes(file, "x");
    Answers({});
    CHECK(MakeDir(f.dir.path.c_str()) == ResultGoOn);
    CHECK(MakeDir(file.c_str()) == ResultGoOn);
    CHECK(MakeDir(made.c_str()) == ResultGoOn);
    CHECK((Attributes(made) & FILE_ATTRIBUTE_DIRECTORY) != 0);
    CHECK(MesgBoxCallCount() == 0);
}

TEST_CASE("MKDIR: answers at the 1007 prompt for a directory whose parent is missing")
{
    struct Row {
        const char *name;
        std::vector<int> answers;
        int result;
        int calls;
    } rows[] = {
        {"Ignore", {IDIGNORE}, ResultSkip, 1},
        {"Abort then Yes", {IDABORT, IDYES}, ResultAbort, 2},
        {"Abort then No tries again", {IDABORT, IDNO}, ResultSkip, 3},
        {"Retry tries again", {IDRETRY, IDRETRY}, ResultSkip, 3},
        {"Enter goes on", {IDOK}, ResultGoOn, 1},
        {"a closed box gives 0", {0}, ResultClosed, 1},
    };
    for (const Row &r : rows) {
        CAPTURE(r.name);
        ActionFixture f;
        std::string dir = f / "MISSING\\B";
        Answers(r.answers);
        CHECK(MakeDir(dir.c_str()) == r.result);
        REQUIRE(MesgBoxCallCount() == r.calls);
        CHECK(AskedText(0) == Formatted(1007, dir));
        CHECK(AskedText(0) == "Create '" + dir + "' Directory is Failed.\nAccess is denied or directory name is invalid.");
        CHECK(AskedCaption(0) == "Message");
        CHECK(AskedStyle(0) == 0x42);
        if (r.answers[0] == IDABORT) {
            CheckAbortQuestion(1);
        }
        CHECK(!FileExists(dir));
    }
}

TEST_CASE("RMDIR removes only an empty directory")
{
    ActionFixture f;
    std::string empty = f / "EMPTY", full = f / "FULL";
    CreateDirectoryA(empty.c_str(), nullptr);
    CreateDirectoryA(full.c_str(), nullptr);
    WriteBytes(full + "\\A.TXT", "a");
    RemoveDir(empty.c_str());
    RemoveDir(full.c_str());
    CHECK(!FileExists(empty));
    CHECK(FileExists(full + "\\A.TXT"));
}

TEST_CASE("REMOVE leaves files without an extension, read-only files and subdirectories")
{
    ActionFixture f;
    std::string app = f / "APP";
    CreateDirectoryA(app.c_str(), nullptr);
    CreateDirectoryA((app + "\\SUB.DIR").c_str(), nullptr);
    for (const char *name : {"A.TXT", "B.DLL", "NOEXT", "RO.TXT", "HID.TXT", "SUB.DIR\\IN.TXT"})
        WriteBytes(app + "\\" + name, name);
    SetFileAttributesA((app + "\\RO.TXT").c_str(), FILE_ATTRIBUTE_READONLY);
    SetFileAttributesA((app + "\\HID.TXT").c_str(), FILE_ATTRIBUTE_HIDDEN);
    std::string pattern = app + "\\*.*";
    RemoveFiles(pattern.c_str(), false);
    CHECK(!FileExists(app + "\\A.TXT"));
    CHECK(!FileExists(app + "\\B.DLL"));
    CHECK(!FileExists(app + "\\HID.TXT"));
    CHECK(FileExists(app + "\\NOEXT"));
    CHECK(FileExists(app + "\\RO.TXT"));
    CHECK(FileExists(app + "\\SUB.DIR\\IN.TXT"));
    std::string status = session->statusText;
    CHECK(status.find("Remove '" + app + "\\") == 0);

    std::string one = app + "\\*.DLL";
    WriteBytes(app + "\\C.DLL", "c");
    RemoveFiles(one.c_str(), false);
    CHECK(std::string(session->statusText) == Formatted(1023, app + "\\C.DLL"));
    CHECK(!FileExists(app + "\\C.DLL"));
}

TEST_CASE("XREMOVE removes a whole tree, and gives up on one it cannot empty")
{
    ActionFixture f;
    std::string app = f / "APP";
    for (const char *d : {"", "\\SUB", "\\SUB\\DEEP", "\\EMPTY"})
        CreateDirectoryA((app + d).c_str(), nullptr);
    for (const char *name : {"A.TXT", "SUB\\B.TXT", "SUB\\DEEP\\C.TXT"})
        WriteBytes(app + "\\" + name, name);
    RemoveTree(app.c_str());
    CHECK(!FileExists(app));

    for (const char *d : {"", "\\SUB", "\\GOES"})
        CreateDirectoryA((app + d).c_str(), nullptr);
    for (const char *name : {"A.TXT", "SUB\\STAYS", "GOES\\D.TXT"})
        WriteBytes(app + "\\" + name, name);
    RemoveTree(app.c_str());
    CHECK(FileExists(app + "\\SUB\\STAYS"));
    CHECK(!FileExists(app + "\\A.TXT"));
    CHECK(!FileExists(app + "\\GOES"));

    std::string missing = f / "NONE";
    RemoveTree(missing.c_str());
    CHECK(!FileExists(missing));
}

TEST_CASE("SETATTRIBUTE: keywords anywhere in the text, in any case")
{
    const DWORD R = FILE_ATTRIBUTE_READONLY, H = FILE_ATTRIBUTE_HIDDEN, S = FILE_ATTRIBUTE_SYSTEM,
                A = FILE_ATTRIBUTE_ARCHIVE, T = FILE_ATTRIBUTE_TEMPORARY, N = FILE_ATTRIBUTE_NORMAL;
    struct Row {
        const char *keywords;
        DWORD bits;
    } rows[] = {
        {"readonly,hidden", R | H}, {"HIDDEN+READONLY", R | H}, {"archive", A},
        {"ReadOnlyArchive", R | A}, {"system|hidden", S | H},   {"temporary", T},
        {"normal", N},              {"bogus", 0},               {"", 0},
        {"read-only", 0},
    };
    for (const Row &r : rows) {
        CAPTURE(r.keywords);
        CHECK(AttributeBits(r.keywords) == r.bits);
    }
    // Wine reports the archive bit on every file, so it is not looked at.
    const DWORD looked = R | H | S | T;
    struct FileRow {
        const char *keywords;
        DWORD after;
    } files[] = {{"readonly,hidden", R | H}, {"archive", 0}, {"bogus", 0}, {"normal", 0}, {"system", S}};
    for (const FileRow &r : files) {
        CAPTURE(r.keywords);
        ActionFixture f;
        std::string path = f / "F.TXT";
        WriteBytes(path, "f");
        SetFileAttributesA(path.c_str(), A | R);
        std::string pattern = f / "*.TXT";
        SetAttributes(pattern.c_str(), r.keywords);
        CHECK((Attributes(path) & looked) == r.after);
        CHECK(std::string(session->statusText) == Formatted(1016, path));
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

TEST_CASE("SETATTRIBUTE never reaches a file that is system but not hidden")
{
    ActionFixture f;
    const DWORD R = FILE_ATTRIBUTE_READONLY, H = FILE_ATTRIBUTE_HIDDEN, S = FILE_ATTRIBUTE_SYSTEM;
    struct Row {
        const char *name;
        DWORD before;
        DWORD after;
    } rows[] = {
        {"PLAIN.SYS", 0, R},
        {"HIDDEN.SYS", H, R},
        {"SYSTEM.SYS", S, S},
        {"BOTH.SYS", S | H, R},
        {"NOEXT", 0, 0},
    };
    for (const Row &r : rows) {
        WriteBytes(f / r.name, r.name);
        if (r.before)
            SetFileAttributesA((f / r.name).c_str(), r.before);
    }
    CreateDirectoryA((f / "DIR.SYS").c_str(), nullptr);
    std::string pattern = f / "*.*";
    SetAttributes(pattern.c_str(), "readonly");
    for (const Row &r : rows) {
        CAPTURE(r.name);
        CHECK((Attributes(f / r.name) & (R | H | S)) == r.after);
    }
    CHECK((Attributes(f / "DIR.SYS") & R) == 0);
    for (const Row &r : rows)
        SetFileAttributesA((f / r.name).c_str(), FILE_ATTRIBUTE_NORMAL);
}

namespace {

// A main window with the install directory field, as the directory page has.
struct DirectoryPage {
    HWND edit;
    DirectoryPage()
    {
        session->hMainWnd = CreateWindowA("STATIC", "KELBRINE", WS_OVERLAPPEDWINDOW, 0, 0, 300, 100,
                                          nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        edit = CreateWindowA("EDIT", "", WS_CHILD | ES_AUTOHSCROLL, 0, 0, 200, 20, session->hMainWnd,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(IdInstallDir)),
                             GetModuleHandleA(nullptr), nullptr);
        SendMessageA(edit, EM_LIMITTEXT, 0, 0);
    }
    ~DirectoryPage()
    {
        DestroyWindow(session->hMainWnd);
        session->hMainWnd = nullptr;
    }
    int Check(const std::string &text, int kind, int freeKB)
    {
        SetWindowTextA(edit, text.c_str());
        session->installKind = kind;
        session->freeKB = freeKB;
        Answers({});
        return ValidateInstallDir();
    }
};

} // namespace

TEST_CASE("The directory page checks the install directory")
{
    ActionFixture f;
    DirectoryPage page;
    std::string existing = f.dir.path;
    std::string absent = f / "APP";
    struct Row {
        std::string text;
        int kind;
        int freeKB;
        int valid;
        std::string named; // the directory text 1033 names
    } rows[] = {
        {"C:\\APP\\", 1, 1000, 1, ""},           // an install set: C:\ is checked
        {"C:\\APP", 3, 1000, 1, ""},
        {"C:\\APP\\", 1, 0, 0, "C:\\"},          // free space unknown
        {"C:", 2, 1000, 1, ""},                  // a bare drive is its root
        {"C:\\", 4, 1000, 1, ""},
        {absent + "\\", 1, 1000, 1, ""},
        {absent + "\\", 4, 1000, 0, absent},     // a delete set: the directory itself
        {existing, 5, 1000, 1, ""},
        {absent + "\\SUB", 2, 1000, 0, absent},
        {"C:\\A:B", 1, 1000, 0, "C:\\A:B"},
        {"C:\\A*B", 1, 1000, 0, "C:\\A*B"},
        {"C:\\A?B\\", 1, 1000, 0, "C:\\A?B"},
        {"C:\\A<B", 4, 1000, 0, "C:\\A<B"},
        {"C:/APP", 1, 1000, 0, "C:/APP"},
        {"", 1, 1000, 0, ""},
        {"Q:\\NOWHERE\\APP", 1, 1000, 0, "Q:\\NOWHERE"},
    };
    for (const Row &r : rows) {
        CAPTURE(r.text); CAPTURE(r.kind);
        CHECK(page.Check(r.text, r.kind, r.freeKB) == r.valid);
        if (r.valid) {
            CHECK(MesgBoxCallCount() == 0);
            continue;
        }
        REQUIRE(MesgBoxCallCount() == 1);
        CHECK(AskedText(0) == Formatted(1033, r.named));
        CHECK(AskedCaption(0) == "Message");
        CHECK(AskedStyle(0) == 0x40);
    }
    // The field gives at most 510 bytes; a longer text is checked cut.
    std::string longText = "C:\\" + std::string(600, 'x');
    CHECK(page.Check(longText, 4, 1000) == 0);
    CHECK(AskedText(0) == Formatted(1033, longText.substr(0, 510)));
}

TEST_SUITE("japanese")
{
    TEST_CASE("The directory page takes a double-byte character ending in 0x5C as one character")
    {
        ActionFixture f;
        session->languageOffset = 0;
        DirectoryPage page;
        // 表 is 0x95 0x5C in code page 932; its second byte is no separator.
        const std::string hyo = "\x95\x5C";
        std::string dir = f / hyo;
        REQUIRE(CreateDirectoryA(dir.c_str(), nullptr));
        CHECK(page.Check(dir, 4, 1000) == 1);
        CHECK(page.Check(dir + "\\", 4, 1000) == 1);
        CHECK(page.Check(dir + "\\NEW", 1, 1000) == 1);
        CHECK(page.Check(dir + "\\NEW\\", 1, 1000) == 1);
        // The set's last level is cut at the last real separator only.
        std::string absent = f / ("NO" + hyo);
        CHECK(page.Check(absent, 4, 1000) == 0);
        CHECK(AskedText(0) == Formatted(1033, absent));
        // 0x81 0x81 (＝) followed by "*": the "*" is still seen.
        CHECK(page.Check(f / "\x81\x81*", 1, 1000) == 0);
    }
}
