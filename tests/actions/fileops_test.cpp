#include <set>
#include <vector>

#include "actions/fileops.h"
#include "actions/fileutil.h"
#include "actions_fixture.h"

namespace {

std::set<std::string> Listing(const std::string &dir)
{
    std::set<std::string> names;
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE)
        return names;
    do {
        std::string n = fd.cFileName;
        if (n != "." && n != "..")
            names.insert(n);
    } while (FindNextFileA(h, &fd));
    FindClose(h);
    return names;
}

// A destination older, of the same date or newer than its source.
enum Age { Older, Same, Newer };

void MakePair(const std::string &dest, const std::string &src, Age age)
{
    WriteBytes(src, "new contents");
    WriteBytes(dest, "old contents");
    SetLocalTime(src, 2001, 6, 15, 12, 0, 0);
    if (age == Older)
        SetLocalTime(dest, 2001, 6, 15, 11, 59, 58);
    else if (age == Same)
        SetLocalTime(dest, 2001, 6, 15, 12, 0, 1); // same 2-second step
    else
        SetLocalTime(dest, 2001, 6, 15, 12, 0, 2);
}

} // namespace

TEST_CASE("CompareFileDates compares DOS date and time to two seconds")
{
    ActionFixture f;
    std::string a = f / "A.TXT", b = f / "B.TXT";
    WriteBytes(a, "a");
    WriteBytes(b, "b");
    struct Row {
        int y, mo, d, h, mi, s;
        int expected;
    } rows[] = {
        {2001, 6, 15, 12, 0, 0, 0},   {2001, 6, 15, 12, 0, 1, 0},  {2001, 6, 15, 12, 0, 2, 1},
        {2001, 6, 15, 11, 59, 59, -1}, {2001, 6, 16, 0, 0, 0, 1},  {2001, 5, 31, 23, 59, 58, -1},
        {2002, 1, 1, 0, 0, 0, 1},      {1999, 12, 31, 23, 59, 58, -1},
    };
    SetLocalTime(b, 2001, 6, 15, 12, 0, 0);
    for (const Row &r : rows) {
        CAPTURE(r.y); CAPTURE(r.mo); CAPTURE(r.d); CAPTURE(r.h); CAPTURE(r.mi); CAPTURE(r.s);
        SetLocalTime(a, r.y, r.mo, r.d, r.h, r.mi, r.s);
        CHECK(CompareFileDates(a.c_str(), b.c_str()) == r.expected);
        CHECK(CompareFileDates(b.c_str(), a.c_str()) == -r.expected);
    }
    // A file without a readable time counts as the later one.
    std::string gone = f / "GONE.TXT";
    CHECK(CompareFileDates(gone.c_str(), a.c_str()) == 1);
    CHECK(CompareFileDates(a.c_str(), gone.c_str()) == -1);
    CHECK(CompareFileDates(gone.c_str(), gone.c_str()) == 0);
}

TEST_CASE("CheckTarget: the overwrite question by age, button set and overwriteAll")
{
    struct Row {
        Age age;
        bool withAbort;
        int overwriteAll;
        int textId; // 0: no question
        int style;
    } rows[] = {
        {Newer, true, 0, 1009, 0x46}, {Newer, false, 0, 1009, 0x41},
        {Newer, true, 1, 1009, 0x46}, {Newer, false, 1, 1009, 0x41},
        {Older, true, 0, 1010, 0x47}, {Older, false, 0, 1010, 0x43},
        {Same, true, 0, 1011, 0x47},  {Same, false, 0, 1011, 0x43},
        {Older, true, 1, 0, 0},       {Same, false, 1, 0, 0},
    };
    for (const Row &r : rows) {
        CAPTURE(r.age); CAPTURE(r.withAbort); CAPTURE(r.overwriteAll);
        ActionFixture f;
        std::string dest = f / "DEST.DLL", src = f / "SRC.DLL";
        MakePair(dest, src, r.age);
        session->overwriteAll = r.overwriteAll;
        Answers({IDOK});
        CHECK(CheckTarget(dest.c_str(), src.c_str(), r.withAbort) == ResultGoOn);
        if (r.textId == 0) {
            CHECK(MesgBoxCallCount() == 0);
            continue;
        }
        REQUIRE(MesgBoxCallCount() == 1);
        CHECK(AskedText(0) == Formatted(r.textId, dest));
        CHECK(AskedCaption(0) == "Message");
        CHECK(AskedStyle(0) == r.style);
    }
}

TEST_CASE("CheckTarget: answers at the overwrite question")
{
    struct Row {
        const char *name;
        Age age;
        bool withAbort;
        std::vector<int> answers;
        int result;
        int overwriteAll;
    } rows[] = {
        {"OK overwrites", Older, true, {IDOK}, ResultGoOn, 0},
        {"Enter overwrites", Newer, true, {IDOK}, ResultGoOn, 0},
        {"All overwrites and is remembered", Same, true, {IDALL}, ResultGoOn, 1},
        {"Cancel of a copy skips the file", Older, true, {IDCANCEL}, ResultSkip, 0},
        {"Cancel without Abort ends (MERGE)", Older, false, {IDCANCEL}, ResultAbort, 0},
        {"Abort then Yes aborts", Newer, true, {IDABORT, IDYES}, ResultAbort, 0},
        {"Abort then No asks again", Older, true, {IDABORT, IDNO, IDOK}, ResultGoOn, 0},
        {"closing the box is passed on", Older, true, {0}, ResultClosed, 0},
    };
    for (const Row &r : rows) {
        CAPTURE(r.name);
        ActionFixture f;
        std::string dest = f / "DEST.DLL", src = f / "SRC.DLL";
        MakePair(dest, src, r.age);
        Answers(r.answers);
        CHECK(CheckTarget(dest.c_str(), src.c_str(), r.withAbort) == r.result);
        CHECK(MesgBoxCallCount() == int(r.answers.size()));
        CHECK(session->overwriteAll == r.overwriteAll);
        for (size_t i = 0; i < r.answers.size(); i++) {
            if (i > 0 && r.answers[i - 1] == IDABORT) {
                CheckAbortQuestion(int(i));
            } else {
                CHECK(AskedText(int(i)) == AskedText(0));
            }
        }
        // CheckTarget only asks; the files are untouched.
        CHECK(ReadBytes(dest) == "old contents");
    }
}

TEST_CASE("CheckTarget: the missing-file prompt asks until the file is there or given up")
{
    struct Row {
        const char *name;
        std::vector<int> answers; // Ignore is queued after them
        int result;
        int calls;
    } rows[] = {
        {"Ignore", {IDIGNORE}, ResultSkip, 1},
        {"Abort then Yes", {IDABORT, IDYES}, ResultAbort, 2},
        {"Abort then No tests again", {IDABORT, IDNO}, ResultSkip, 3},
        {"Retry, Enter and a closed box test again", {IDRETRY, IDOK, 0}, ResultSkip, 4},
    };
    for (const Row &r : rows) {
        CAPTURE(r.name);
        ActionFixture f;
        std::string src = f / "PART1.DAT", dest = f / "ALL.DAT";
        Answers(r.answers);
        CHECK(CheckTarget(dest.c_str(), src.c_str(), true) == r.result);
        REQUIRE(MesgBoxCallCount() == r.calls);
        CHECK(AskedText(0) == Formatted(1012, src));
        CHECK(AskedStyle(0) == 0x112);
        CHECK(AskedCaption(0) == "Message");
        CHECK(AskedText(r.calls - 1) == (r.result == ResultAbort ? Text(1001) : Formatted(1012, src)));
    }
}

TEST_CASE("FLCOPY: *.* and * against names with and without a dot")
{
    struct Row {
        const char *pattern;
        std::set<std::string> copied;
    } rows[] = {
        {"*.*", {"READ.ME", "A.TXT", "B.C.D"}},
        {"*", {"README"}},
        {"*.TXT", {"A.TXT"}},
        {"READ*", {"README"}},
        {"?.TXT", {}},
        {"NOTHING.*", {}},
    };
    for (const Row &r : rows) {
        CAPTURE(r.pattern);
        ActionFixture f;
        CreateDirectoryA((f / "SRC").c_str(), nullptr);
        CreateDirectoryA((f / "DST").c_str(), nullptr);
        CreateDirectoryA((f / "SRC\\SUB.DIR").c_str(), nullptr);
        for (const char *name : {"README", "READ.ME", "A.TXT", "B.C.D"})
            WriteBytes(f / "SRC" / name, name);
        Answers({});
        std::string src = f / "SRC" / r.pattern, dst = f / "DST\\";
        CHECK(CopyFiles(dst.c_str(), src.c_str(), false, false) == ResultGoOn);
        CHECK(Listing(f / "DST") == r.copied);
        for (const std::string &name : r.copied)
            CHECK(ReadBytes(f / "DST" / name) == name);
        CHECK(MesgBoxCallCount() == 0);
    }
}

TEST_CASE("FLCOPY: a copy has normal attributes, the source's time and its status line")
{
    ActionFixture f;
    std::string src = f / "SRC.TXT";
    WriteBytes(src, "contents");
    SetLocalTime(src, 2003, 4, 5, 6, 7, 9);
    SetFileAttributesA(src.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);
    std::string dst = f / "*.BAK";
    Answers({});
    CHECK(CopyFiles(dst.c_str(), src.c_str(), false, false) == ResultGoOn);
    std::string copy = f / "SRC.BAK";
    CHECK(ReadBytes(copy) == "contents");
    // (Wine reports the archive bit on every file, so it is not looked at.)
    CHECK((Attributes(copy) & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) == 0);
    CHECK(LocalTimeOf(copy) == "2003-04-05 06:07:08");
    CHECK(std::string(session->statusText) == Formatted(1004, src, copy));
    CHECK(std::string(session->statusText) == "'" + src + "' to '" + copy + "' copying...");
    // The source keeps its attributes.
    CHECK((Attributes(src) & FILE_ATTRIBUTE_READONLY) != 0);
    // A second copy meets its own, same-date copy and asks about it; OK
    // overwrites the read-only destination it found.
    SetFileAttributesA(copy.c_str(), FILE_ATTRIBUTE_READONLY);
    SetFileAttributesA(src.c_str(), FILE_ATTRIBUTE_NORMAL);
    WriteBytes(src, "changed!");
    SetLocalTime(src, 2003, 4, 5, 6, 7, 9);
    Answers({IDOK});
    CHECK(CopyFiles(dst.c_str(), src.c_str(), false, false) == ResultGoOn);
    CHECK(MesgBoxCallCount() == 1);
    CHECK(AskedText(0) == Formatted(1011, copy));
    CHECK(ReadBytes(copy) == "changed!");
}

TEST_CASE("FLCOPY: Cancel skips one file, Abort then Yes stops the copy")
{
    ActionFixture f;
    CreateDirectoryA((f / "SRC").c_str(), nullptr);
    CreateDirectoryA((f / "DST").c_str(), nullptr);
    for (const char *name : {"A.TXT", "B.TXT"}) {
        MakePair(f / "DST" / name, f / "SRC" / name, Older);
    }
    std::string src = f / "SRC\\*.*", dst = f / "DST\\";
    Answers({IDCANCEL, IDOK});
    CHECK(CopyFiles(dst.c_str(), src.c_str(), false, false) == ResultGoOn);
    REQUIRE(MesgBoxCallCount() == 2);
    // The first file asked about was cancelled, the second copied.
    std::string first = AskedText(0).find("A.TXT") != std::string::npos ? "A.TXT" : "B.TXT";
    std::string second = first == "A.TXT" ? "B.TXT" : "A.TXT";
    CHECK(ReadBytes(f / "DST" / first) == "old contents");
    CHECK(ReadBytes(f / "DST" / second) == "new contents");

    // A question closed with its close box overwrites nothing.
    MakePair(f / "DST\\A.TXT", f / "SRC\\A.TXT", Older);
    MakePair(f / "DST\\B.TXT", f / "SRC\\B.TXT", Older);
    Answers({0, 0});
    CHECK(CopyFiles(dst.c_str(), src.c_str(), false, false) == ResultGoOn);
    CHECK(MesgBoxCallCount() == 2);
    CHECK(ReadBytes(f / "DST\\A.TXT") == "old contents");
    CHECK(ReadBytes(f / "DST\\B.TXT") == "old contents");

    Answers({IDABORT, IDYES});
    CHECK(CopyFiles(dst.c_str(), src.c_str(), false, false) == ResultAbort);
    CHECK(MesgBoxCallCount() == 2);
    CHECK(ReadBytes(f / "DST\\A.TXT") == "old contents");
    CHECK(ReadBytes(f / "DST\\B.TXT") == "old contents");
}

TEST_CASE("FLCOPY: after All, older and same-date files are overwritten silently, newer ones asked")
{
    ActionFixture f;
    MakePair(f / "OLD.DST", f / "OLD.SRC", Older);
    MakePair(f / "SAME.DST", f / "SAME.SRC", Same);
    MakePair(f / "NEW.DST", f / "NEW.SRC", Newer);
    auto copy = [&](const char *stem) {
        std::string src = f / (std::string(stem) + ".SRC"), dst = f / (std::string(stem) + ".DST");
        return CopyFiles(dst.c_str(), src.c_str(), false, false);
    };
    Answers({IDALL});
    CHECK(copy("OLD") == ResultGoOn);
    CHECK(AskedStyle(0) == 0x47);
    CHECK(session->overwriteAll == 1);
    Answers({});
    CHECK(copy("SAME") == ResultGoOn);
    CHECK(MesgBoxCallCount() == 0);
    Answers({IDCANCEL});
    CHECK(copy("NEW") == ResultGoOn);
    REQUIRE(MesgBoxCallCount() == 1);
    CHECK(AskedText(0) == Formatted(1009, f / "NEW.DST"));
    CHECK(AskedStyle(0) == 0x46);
    CHECK(ReadBytes(f / "OLD.DST") == "new contents");
    CHECK(ReadBytes(f / "SAME.DST") == "new contents");
    CHECK(ReadBytes(f / "NEW.DST") == "old contents");
}

TEST_CASE("FLCOPY and LZCOPY of a file onto itself leave it intact")
{
    for (bool expand : {false, true}) {
        CAPTURE(expand);
        ActionFixture f;
        std::string path = f / "KEEP.TXT";
        WriteBytes(path, "precious");
        for (std::string dst : {f / "keep.txt", f / ".\\KEEP.TXT", f / "SUB\\..\\KEEP.TXT"}) {
            CAPTURE(dst);
            CreateDirectoryA((f / "SUB").c_str(), nullptr);
            Answers({IDOK});
            CHECK(CopyFiles(dst.c_str(), path.c_str(), expand, false) == ResultGoOn);
            CHECK(MesgBoxCallCount() == 1);
            CHECK(AskedText(0) == Formatted(1011, dst));
            CHECK(ReadBytes(path) == "precious");
        }
    }
}

TEST_CASE("LZCOPY expands files made by mscompress and names them by the expanded-name rule")
{
    std::string original = ReadBytes(Fixture("APP.EXE"));
    std::string packed = ReadBytes(Fixture("APP.EX_"));
    REQUIRE(original.size() > 1000);
    REQUIRE(packed.substr(0, 4) == "SZDD");
    REQUIRE(packed.size() < original.size());
    struct Row {
        const char *sourceName;
        const char *destPattern; // below DST
        const char *arrives;
    } rows[] = {
        {"APP.EX_", "\\", "APP.EXE"},
        {"APP.EX_", "\\*.*", "APP.EXE"},
        {"APP.EX_", "\\*.EX_", "APP.EXE"},
        {"APP.EX_", "\\NEW.EXE", "NEW.EXE"},
        {"APP.EX_", "\\*.BIN", "APP.BIN"},
        {"ABCDEFGH.EX_", "\\", "ABCDEFGH.EXE"},        // last dot at 8, 12 bytes
        {"ABCDEFGHIJ.EX_", "\\", "ABCDEFGHIJ.EX_"},    // last dot past 8
        {"ABCDEFGH.LONG_", "\\", "ABCDEFGH.LONG_"},    // 14 bytes
        {"A.B.EX_", "\\", "A.B.EXE"},
    };
    for (const Row &r : rows) {
        CAPTURE(r.sourceName); CAPTURE(r.destPattern);
        ActionFixture f;
        CreateDirectoryA((f / "DST").c_str(), nullptr);
        std::string src = f / r.sourceName;
        WriteBytes(src, packed);
        SetLocalTime(src, 2004, 2, 29, 23, 59, 59);
        std::string dst = f / "DST" + r.destPattern;
        Answers({});
        CHECK(CopyFiles(dst.c_str(), src.c_str(), true, false) == ResultGoOn);
        CHECK(MesgBoxCallCount() == 0);
        CHECK(Listing(f / "DST") == std::set<std::string>{r.arrives});
        CHECK(ReadBytes(f / "DST" / r.arrives) == original);
        CHECK(LocalTimeOf(f / "DST" / r.arrives) == "2004-02-29 23:59:58");
        CHECK(std::string(session->statusText) == Formatted(1004, src, f / "DST" / r.arrives));
    }
}

TEST_CASE("LZCOPY and FLCOPY work in paths longer than the platform's old 128-byte file names")
{
    ActionFixture f;
    std::string deep = f / std::string(100, 'L');
    CreateDirectoryA(deep.c_str(), nullptr);
    deep = deep / std::string(100, 'M');
    REQUIRE(CreateDirectoryA(deep.c_str(), nullptr));
    std::string src = deep / "APP.EX_";
    WriteBytes(src, ReadBytes(Fixture("APP.EX_")));
    Answers({});
    std::string dst = deep + "\\";
    CHECK(CopyFiles(dst.c_str(), src.c_str(), true, false) == ResultGoOn);
    CHECK(Listing(deep) == std::set<std::string>{"APP.EX_", "APP.EXE"});
    CHECK(ReadBytes(deep / "APP.EXE") == ReadBytes(Fixture("APP.EXE")));
    std::string plainDst = deep / "COPY.EX_";
    CHECK(CopyFiles(plainDst.c_str(), src.c_str(), false, false) == ResultGoOn);
    CHECK(ReadBytes(plainDst) == ReadBytes(src));
}

TEST_CASE("LZCOPY: an uncompressed file comes out unchanged, a broken one leaves the old file")
{
    ActionFixture f;
    std::string plain = f / "PLAIN.TXT";
    WriteBytes(plain, std::string("plain\0bytes", 11));
    std::string out = f / "OUT.TXT";
    Answers({});
    CHECK(CopyFiles(out.c_str(), plain.c_str(), true, false) == ResultGoOn);
    CHECK(ReadBytes(out) == std::string("plain\0bytes", 11));

    // A compressed file cut short: its header promises more than it holds.
    std::string packed = ReadBytes(Fixture("APP.EX_"));
    std::string broken = f / "BROKEN.EX_";
    WriteBytes(broken, packed.substr(0, packed.size() / 2));
    std::string old = f / "BROKEN.EXE";
    WriteBytes(old, "the old program");
    SetLocalTime(old, 1999, 9, 9, 9, 9, 10);
    SetFileAttributesA(old.c_str(), FILE_ATTRIBUTE_HIDDEN);
    Answers({IDOK});
    CHECK(CopyFiles(old.c_str(), broken.c_str(), true, false) == ResultGoOn);
    CHECK(MesgBoxCallCount() == 1);
    CHECK(ReadBytes(old) == "the old program");
    CHECK(LocalTimeOf(old) == "1999-09-09 09:09:10");
    CHECK((Attributes(old) & FILE_ATTRIBUTE_HIDDEN) != 0);
    // No temporary file is left behind either.
    CHECK(Listing(f.dir.path) == std::set<std::string>{"PLAIN.TXT", "OUT.TXT", "BROKEN.EX_", "BROKEN.EXE"});
}

TEST_CASE("XFLCOPY and XLZCOPY walk the tree with *.*")
{
    for (bool expand : {false, true}) {
        CAPTURE(expand);
        ActionFixture f;
        std::string s = f / "SRC";
        for (const char *d : {"", "\\SUB", "\\SUB\\DEEP", "\\EMPTY", "\\.HIDDEN", "\\NOEXTDIR"})
            CreateDirectoryA((s + d).c_str(), nullptr);
        for (const char *name : {"A.TXT", "NOEXT", "SUB\\B.TXT", "SUB\\NOEXT2", "SUB\\DEEP\\C.TXT",
                                 ".HIDDEN\\D.TXT", "NOEXTDIR\\E.TXT"})
            WriteBytes(s + "\\" + name, name);
        WriteBytes(s + "\\SUB\\APP.EX_", ReadBytes(Fixture("APP.EX_")));
        // A same-date copy already there: Cancel skips it, the rest goes on.
        CreateDirectoryA((f / "DST").c_str(), nullptr);
        CreateDirectoryA((f / "DST\\SUB").c_str(), nullptr);
        MakePair(f / "DST\\SUB\\B.TXT", s + "\\SUB\\B.TXT", Same);
        Answers({IDCANCEL});
        std::string d = f / "DST";
        CHECK(CopyTree(d.c_str(), s.c_str(), expand) == ResultGoOn);
        CHECK(MesgBoxCallCount() == 1);
        CHECK(Listing(d) == std::set<std::string>{"A.TXT", "SUB", "EMPTY", "NOEXTDIR"});
        CHECK(Listing(d + "\\SUB") == std::set<std::string>{"B.TXT", "DEEP", expand ? "APP.EXE" : "APP.EX_"});
        CHECK(Listing(d + "\\SUB\\DEEP") == std::set<std::string>{"C.TXT"});
        CHECK(Listing(d + "\\EMPTY").empty());
        CHECK(ReadBytes(d + "\\SUB\\B.TXT") == "old contents");
        CHECK(ReadBytes(d + "\\SUB\\DEEP\\C.TXT") == "SUB\\DEEP\\C.TXT");
        CHECK(ReadBytes(d + "\\NOEXTDIR\\E.TXT") == "NOEXTDIR\\E.TXT");
        if (expand)
            CHECK(ReadBytes(d + "\\SUB\\APP.EXE") == ReadBytes(Fixture("APP.EXE")));
    }
}

TEST_CASE("XFLCOPY: a missing source does nothing, a missing destination parent asks 1007")
{
    ActionFixture f;
    std::string s = f / "SRC", missing = f / "NONE";
    CreateDirectoryA(s.c_str(), nullptr);
    WriteBytes(s + "\\A.TXT", "a");
    std::string d = f / "DST";
    Answers({});
    CHECK(CopyTree(d.c_str(), missing.c_str(), false) == ResultGoOn);
    CHECK(!FileExists(d));
    CHECK(MesgBoxCallCount() == 0);

    std::string orphan = f / "NOPARENT\\DST";
    struct Row {
        std::vector<int> answers;
        int result;
    } rows[] = {{{IDIGNORE}, ResultSkip}, {{IDABORT, IDYES}, ResultAbort}, {{IDABORT, IDNO, IDIGNORE}, ResultSkip}};
    for (const Row &r : rows) {
        CAPTURE(r.result);
        Answers(r.answers);
        CHECK(CopyTree(orphan.c_str(), s.c_str(), false) == r.result);
        CHECK(MesgBoxCallCount() == int(r.answers.size()));
        CHECK(AskedText(0) == Formatted(1007, orphan));
        CHECK(AskedStyle(0) == 0x42);
        CHECK(!FileExists(orphan));
    }
}

TEST_CASE("XFLCOPY: a file where a subdirectory belongs is taken as there; the walk goes on")
{
    ActionFixture f;
    std::string s = f / "SRC", d = f / "DST";
    CreateDirectoryA(s.c_str(), nullptr);
    CreateDirectoryA((s + "\\SUB").c_str(), nullptr);
    WriteBytes(s + "\\SUB\\B.TXT", "b");
    CreateDirectoryA(d.c_str(), nullptr);
    WriteBytes(d + "\\SUB", "a file where the directory belongs");
    CreateDirectoryA((s + "\\SUB2").c_str(), nullptr);
    Answers({});
    CHECK(CopyTree(d.c_str(), s.c_str(), false) == ResultGoOn);
    CHECK(FileExists(d + "\\SUB2"));
}

TEST_CASE("XFLCOPY: Ignore at a subdirectory's 1007 prompt ends the whole tree copy with 5")
{
    ActionFixture f;
    std::string s = f / "SRC", d = f / "DSTFILE";
    for (const char *sub : {"", "\\ONE", "\\TWO"})
        CreateDirectoryA((s + sub).c_str(), nullptr);
    WriteBytes(s / "ONE" / "A.TXT", "a");
    WriteBytes(s / "TWO" / "B.TXT", "b");
    // The destination is a file, so no subdirectory can be made in it.
    WriteBytes(d, "a file");
    Answers({IDIGNORE});
    CHECK(CopyTree(d.c_str(), s.c_str(), false) == ResultSkip);
    REQUIRE(MesgBoxCallCount() == 1);
    CHECK(AskedText(0).find("Create '" + d + "\\") == 0);
    CHECK(ReadBytes(d) == "a file");
}

TEST_CASE("MERGE joins its parts byte-exact with the first part's time and deletes them")
{
    ActionFixture f;
    std::string dest = f / "ALL.DAT";
    std::string parts[3] = {f / "P1.DAT", f / "P2.DAT", f / "P3.DAT"};
    std::string bytes[3] = {std::string(3000, 'a') + std::string("\0\x01", 2), "second\r\n", std::string(2048, 'c')};
    for (int i = 0; i < 3; i++)
        WriteBytes(parts[i], bytes[i]);
    SetLocalTime(parts[0], 2005, 7, 8, 9, 10, 11);
    SetLocalTime(parts[1], 2006, 1, 1, 0, 0, 0);
    WriteBytes(dest, "an older version that is longer than nothing");
    SetLocalTime(dest, 2004, 1, 1, 0, 0, 0);
    Answers({IDOK});
    for (int i = 0; i < 3; i++)
        CHECK(MergeSource(dest.c_str(), parts[i].c_str(), i == 0) == ResultGoOn);
    REQUIRE(MesgBoxCallCount() == 1);
    CHECK(AskedText(0) == Formatted(1010, dest));
    CHECK(AskedStyle(0) == 0x43);
    CHECK(ReadBytes(dest) == bytes[0] + bytes[1] + bytes[2]);
    CHECK(LocalTimeOf(dest) == "2005-07-08 09:10:10");
    for (const std::string &p : parts)
        CHECK(!FileExists(p));
}

TEST_CASE("MERGE: the first part's questions")
{
    struct Row {
        const char *name;
        bool firstMissing;
        std::vector<int> answers;
        int firstResult;
        const char *destAfter; // "" = missing
    } rows[] = {
        // Ignore: the old destination goes, the later parts make a new one.
        {"missing first part, Ignore", true, {IDIGNORE}, ResultGoOn, "twothree"},
        // A confirmed abort ends the installation, the destination stays.
        {"missing first part, Abort then Yes", true, {IDABORT, IDYES}, ResultAbort, "old"},
        {"overwrite question, Cancel", false, {IDCANCEL}, ResultSkip, "old"},
        {"overwrite question closed", false, {0}, ResultSkip, "old"},
        {"overwrite question, All", false, {IDALL}, ResultGoOn, "onetwothree"},
    };
    for (const Row &r : rows) {
        CAPTURE(r.name);
        ActionFixture f;
        std::string dest = f / "ALL.DAT", p1 = f / "P1.DAT", p2 = f / "P2.DAT", p3 = f / "P3.DAT";
        WriteBytes(dest, "old");
        SetLocalTime(dest, 2000, 1, 1, 0, 0, 0);
        if (!r.firstMissing)
            WriteBytes(p1, "one");
        WriteBytes(p2, "two");
        WriteBytes(p3, "three");
        Answers(r.answers);
        int result = MergeSource(dest.c_str(), p1.c_str(), true);
        CHECK(result == r.firstResult);
        CHECK(MesgBoxCallCount() == int(r.answers.size()));
        if (result == ResultGoOn) {
            MergeSource(dest.c_str(), p2.c_str(), false);
            MergeSource(dest.c_str(), p3.c_str(), false);
        }
        CHECK(ReadBytes(dest) == r.destAfter);
        CHECK(FileExists(p2) == (result != ResultGoOn));
    }
}

TEST_CASE("MERGE: a later missing part is passed over, a part that is the destination is kept")
{
    ActionFixture f;
    std::string dest = f / "ALL.DAT", p1 = f / "P1.DAT", gone = f / "GONE.DAT";
    WriteBytes(p1, "one");
    Answers({});
    CHECK(MergeSource(dest.c_str(), p1.c_str(), true) == ResultGoOn);
    CHECK(MergeSource(dest.c_str(), gone.c_str(), false) == ResultGoOn);
    CHECK(MesgBoxCallCount() == 0);
    CHECK(ReadBytes(dest) == "one");
    // MERGE ALL.DAT ALL.DAT P2.DAT: the destination neither vanishes nor
    // grows into itself.
    WriteBytes(f / "P2.DAT", "two");
    std::string self = f / "all.dat";
    CHECK(MergeSource(dest.c_str(), self.c_str(), true) == ResultGoOn);
    CHECK(MergeSource(dest.c_str(), self.c_str(), false) == ResultGoOn);
    CHECK(MergeSource(dest.c_str(), (f / "P2.DAT").c_str(), false) == ResultGoOn);
    CHECK(MesgBoxCallCount() == 0);
    CHECK(ReadBytes(dest) == "onetwo");
}

TEST_CASE("AppendFile: the time of an existing destination stays; a part that cannot be read stays")
{
    ActionFixture f;
    std::string dest = f / "D.DAT", src = f / "S.DAT";
    WriteBytes(dest, "head");
    SetLocalTime(dest, 2001, 1, 1, 1, 1, 2);
    WriteBytes(src, "tail");
    SetLocalTime(src, 2009, 9, 9, 9, 9, 8);
    AppendFile(dest.c_str(), src.c_str());
    CHECK(ReadBytes(dest) == "headtail");
    CHECK(LocalTimeOf(dest) == "2001-01-01 01:01:02");
    CHECK(!FileExists(src));

    WriteBytes(src, "locked");
    HANDLE lock = CreateFileA(src.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    REQUIRE(lock != INVALID_HANDLE_VALUE);
    AppendFile(dest.c_str(), src.c_str());
    CloseHandle(lock);
    CHECK(ReadBytes(dest) == "headtail");
    CHECK(ReadBytes(src) == "locked");
}

TEST_CASE("FLMOVE moves matching entries and keeps their time")
{
    ActionFixture f;
    CreateDirectoryA((f / "SRC").c_str(), nullptr);
    CreateDirectoryA((f / "DST").c_str(), nullptr);
    WriteBytes(f / "SRC\\A.TXT", "a");
    WriteBytes(f / "SRC\\NOEXT", "n");
    SetLocalTime(f / "SRC\\A.TXT", 2002, 2, 2, 2, 2, 3);
    std::string src = f / "SRC\\*.TXT", dst = f / "DST\\*.BAK";
    Answers({});
    CHECK(MoveFiles(dst.c_str(), src.c_str()) == ResultGoOn);
    CHECK(Listing(f / "SRC") == std::set<std::string>{"NOEXT"});
    CHECK(Listing(f / "DST") == std::set<std::string>{"A.BAK"});
    CHECK(LocalTimeOf(f / "DST\\A.BAK") == "2002-02-02 02:02:02");
    CHECK(std::string(session->statusText) == Formatted(1039, f / "SRC\\A.TXT", f / "DST\\A.BAK"));
    CHECK(MesgBoxCallCount() == 0);

    // A pattern that matches a directory moves the directory.
    CreateDirectoryA((f / "SRC\\TREE.D").c_str(), nullptr);
    WriteBytes(f / "SRC\\TREE.D\\IN.TXT", "in");
    std::string dirSrc = f / "SRC\\TREE.D", dirDst = f / "DST\\MOVED.D";
    CHECK(MoveFiles(dirDst.c_str(), dirSrc.c_str()) == ResultGoOn);
    CHECK(ReadBytes(f / "DST\\MOVED.D\\IN.TXT") == "in");
    CHECK(!FileExists(dirSrc));
}

TEST_CASE("FLMOVE onto an existing file asks; onto itself it leaves the file alone")
{
    struct Row {
        const char *name;
        std::vector<int> answers;
        int overwriteAll;
        const char *destAfter;
        bool sourceStays;
    } rows[] = {
        {"OK replaces", {IDOK}, 0, "new contents", false},
        {"Cancel keeps both", {IDCANCEL}, 0, "old contents", true},
        {"Abort then Yes keeps both", {IDABORT, IDYES}, 0, "old contents", true},
    };
    for (const Row &r : rows) {
        CAPTURE(r.name);
        ActionFixture f;
        MakePair(f / "D.TXT", f / "S.TXT", Older);
        SetFileAttributesA((f / "D.TXT").c_str(), FILE_ATTRIBUTE_READONLY);
        Answers(r.answers);
        std::string src = f / "S.TXT", dst = f / "D.TXT";
        MoveFiles(dst.c_str(), src.c_str());
        CHECK(AskedText(0) == Formatted(1010, dst));
        CHECK(AskedStyle(0) == 0x47);
        CHECK(ReadBytes(dst) == r.destAfter);
        CHECK(FileExists(src) == r.sourceStays);
    }
    for (int all : {0, 1}) {
        CAPTURE(all);
        ActionFixture f;
        std::string path = f / "SELF.TXT";
        WriteBytes(path, "myself");
        session->overwriteAll = all;
        for (std::string dst : {f / "self.txt", f / "SELF.TXT", f / ".\\Self.Txt"}) {
            CAPTURE(dst);
            Answers({IDOK});
            CHECK(MoveFiles(dst.c_str(), path.c_str()) == ResultGoOn);
            CHECK(MesgBoxCallCount() == (all ? 0 : 1));
            if (!all)
                CHECK(AskedText(0) == Formatted(1011, dst));
            CHECK(ReadBytes(path) == "myself");
            CHECK(Listing(f.dir.path) == std::set<std::string>{"SELF.TXT"});
        }
    }
}

TEST_CASE("JoinPath refuses a path that does not fit rather than cut it")
{
    char out[TextBufSize];
    std::string pattern = std::string(500, 'd') + "\\*.*"; // prefix of 501 bytes
    CHECK(JoinPath(out, pattern.c_str(), "NAME.TXTXX"));   // 511 bytes
    CHECK(std::string(out) == std::string(500, 'd') + "\\NAME.TXTXX");
    CHECK(!JoinPath(out, pattern.c_str(), "NAME.TXTXXX"));
    CHECK(std::string(out).empty());
    CHECK(JoinPath(out, pattern.c_str(), "NAME.T", "\\*.*"));
    CHECK(!JoinPath(out, pattern.c_str(), "NAME.TX", "\\*.*"));
    CHECK(JoinPath(out, "*.*", "A.B", "\\*.*"));
    CHECK(std::string(out) == "A.B\\*.*");
}
