#include <doctest.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include "edit_helpers.h"
#include "testutil.h"

std::vector<std::string> FilesIn(const std::string &dir)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (strcmp(fd.cFileName, ".") && strcmp(fd.cFileName, ".."))
            names.push_back(fd.cFileName);
    } while (FindNextFileA(h, &fd));
    FindClose(h);
    std::sort(names.begin(), names.end());
    return names;
}

SystemFilesGuard::SystemFilesGuard()
{
    char dir[MAX_PATH];
    GetWindowsDirectoryA(dir, sizeof dir);
    windows = dir;
    root = windows.substr(0, 2);
    for (const char *name : {"CONFIG.SYS", "CONFIG.ADD", "AUTOEXEC.BAT", "AUTOEXEC.ADD"})
        saved.push_back({root + "\\" + name, false, 0, ""});
    for (const char *name : {"SYSTEM.INI", "SYSTEM.ADD", "WIN.INI", "WIN.ADD"})
        saved.push_back({windows + "\\" + name, false, 0, ""});
    for (Saved &s : saved) {
        s.attributes = GetFileAttributesA(s.path.c_str());
        s.existed = s.attributes != INVALID_FILE_ATTRIBUTES;
        if (!s.existed)
            continue;
        s.bytes = ReadBytes(s.path);
        // A removed file comes back under the name it had, in its letter case.
        WIN32_FIND_DATAA fd;
        HANDLE h = FindFirstFileA(s.path.c_str(), &fd);
        if (h != INVALID_HANDLE_VALUE) {
            s.path = s.path.substr(0, s.path.rfind('\\') + 1) + fd.cFileName;
            FindClose(h);
        }
    }
}

SystemFilesGuard::~SystemFilesGuard()
{
    for (const Saved &s : saved) {
        SetFileAttributesA(s.path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(s.path.c_str());
        if (!s.existed)
            continue;
        WriteBytes(s.path, s.bytes);
        SetFileAttributesA(s.path.c_str(), s.attributes);
    }
}

void SystemFilesGuard::Remove(const std::string &path)
{
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path.c_str());
}

namespace {
struct EditCase {
    const char *name;
    std::vector<EditOp> ops;
    const char *before; // written with CR LF
    const char *after;
};
}

// Each case: the file before (CR LF on disk), the commands, the file after.
static const EditCase editCases[] = {
    // CONFIG.SYS
    {"a DEVICE line is replaced in place by its driver's file name",
     {{AddConf, "DEVICE=C:\\NEW\\EMM386.EXE"}},
     "FILES=30\nDEVICE=C:\\DOS\\HIMEM.SYS\nDEVICE=C:\\DOS\\EMM386.EXE NOEMS\nBUFFERS=20\n",
     "FILES=30\nDEVICE=C:\\DOS\\HIMEM.SYS\nDEVICE=C:\\NEW\\EMM386.EXE\nBUFFERS=20\n"},
    {"keys match in any letter case", {{AddConf, "FILES=40"}},
     "files=30\nBUFFERS=20\n", "FILES=40\nBUFFERS=20\n"},
    {"DEVICEHIGH replaces DEVICE of the same driver",
     {{AddConf, "DEVICEHIGH=C:\\APP\\APP.SYS /B"}},
     "DEVICE=C:\\OLD\\APP.SYS /A\nFILES=30\n", "DEVICEHIGH=C:\\APP\\APP.SYS /B\nFILES=30\n"},
    {"a SET line is known by its variable", {{AddConf, "SET TEMP=D:\\TMP"}},
     "SET PATH=C:\\DOS\nSET TEMP=C:\\TEMP\n", "SET PATH=C:\\DOS\nSET TEMP=D:\\TMP\n"},
    {"a new line goes before the last STACKS line", {{AddConf, "DEVICE=C:\\A\\B.SYS"}},
     "STACKS=9,256\nFILES=30\nSTACKS=0,0\nBUFFERS=20\n",
     "STACKS=9,256\nFILES=30\nDEVICE=C:\\A\\B.SYS\nSTACKS=0,0\nBUFFERS=20\n"},
    {"a new line follows the last non-empty line, the blank lines after it",
     {{AddConf, "BUFFERS=20"}}, "FILES=30\n\n\n", "FILES=30\nBUFFERS=20\n\n\n"},
    {"a last line without line end", {{AddConf, "BUFFERS=20"}}, "FILES=30",
     "FILES=30\nBUFFERS=20"},
    {"an empty file", {{AddConf, "BUFFERS=20"}}, "", "\nBUFFERS=20"},
    {"adding the same line twice leaves one copy",
     {{AddConf, "DEVICE=C:\\APP\\APP.SYS"}, {AddConf, "DEVICE=C:\\APP\\APP.SYS"}},
     "FILES=30\n", "FILES=30\nDEVICE=C:\\APP\\APP.SYS\n"},
    {"';' lines are whole-line keys", {{AddConf, ";new note"}, {AddConf, ";old note"}},
     ";old note\nFILES=30\n", ";old note\nFILES=30\n;new note\n"},
    {"DELCONF removes the first line of the same driver",
     {{DelConf, "DEVICE=C:\\ANY\\EMM386.EXE"}},
     "DEVICE=C:\\DOS\\HIMEM.SYS\nDEVICE=C:\\DOS\\EMM386.EXE RAM\nDEVICEHIGH=C:\\X\\EMM386.EXE\n",
     "DEVICE=C:\\DOS\\HIMEM.SYS\nDEVICEHIGH=C:\\X\\EMM386.EXE\n"},
    {"DELCONF of a last line without line end", {{DelConf, "B=9"}}, "A=1\nB=2", "A=1\n"},
    {"DELCONF of a key that is not there", {{DelConf, "LASTDRIVE=Z"}}, "FILES=30\n",
     "FILES=30\n"},

    {"an empty line neither replaces nor deletes a line with an empty key",
     {{AddAuto, ""}, {DelAuto, ""}, {AddConf, ""}, {DelConf, ""}}, " indented\n=x\n",
     " indented\n=x\n"},

    // AUTOEXEC.BAT
    {"ADDAUTO goes directly before WIN", {{AddAuto, "LH C:\\X\\TSR.EXE"}},
     "@ECHO OFF\nPATH C:\\DOS\nWIN\n", "@ECHO OFF\nPATH C:\\DOS\nLH C:\\X\\TSR.EXE\nWIN\n"},
    {"before the last of WIN and WINA, known by file name",
     {{AddAuto, "C:\\X\\TSR.EXE"}}, "WIN\nREM\nC:\\WINDOWS\\WINA /3\n\n",
     "WIN\nREM\nC:\\X\\TSR.EXE\nC:\\WINDOWS\\WINA /3\n\n"},
    {"before a WIN that is the first line", {{AddAuto, "LH C:\\X\\TSR.EXE"}}, "WIN\n",
     "LH C:\\X\\TSR.EXE\nWIN\n"},
    {"LH and a plain line of the same program", {{AddAuto, "C:\\NEW\\MOUSE.COM"}},
     "LH C:\\DOS\\MOUSE.COM /Y\nWIN\n", "C:\\NEW\\MOUSE.COM\nWIN\n"},
    {"DELAUTO of a REM line takes only that line",
     {{DelAuto, "REM hello"}}, "REM hello world\nrem HELLO\nREM hello\n",
     "REM hello world\nREM hello\n"},
    {"DELAUTO by file name whatever the parameters", {{DelAuto, "C:\\DOS\\SMARTDRV.EXE /Q"}},
     "@ECHO OFF\nC:\\WINDOWS\\SMARTDRV.EXE /X 2048\nSMARTDRV.EXE\n", "@ECHO OFF\nSMARTDRV.EXE\n"},

    // PATH
    {"ADDPATH twice, the second in other case with ';'",
     {{AddPath, "C:\\APP"}, {AddPath, "c:\\app;"}}, "PATH C:\\DOS\n",
     "PATH C:\\DOS;C:\\APP;\n"},
    {"ADDPATH to a line ending in ';'", {{AddPath, "C:\\APP"}}, "path C:\\DOS;\nWIN\n",
     "path C:\\DOS;C:\\APP;\nWIN\n"},
    {"ADDPATH without a PATH line goes before WIN", {{AddPath, "C:\\APP;"}},
     "@ECHO OFF\n\nWIN\n", "@ECHO OFF\nPATH C:\\APP;\n\nWIN\n"},
    {"PATH=... and SET PATH=... are not PATH lines", {{AddPath, "C:\\APP"}},
     "PATH=C:\\DOS\nSET PATH=C:\\DOS\n", "PATH=C:\\DOS\nSET PATH=C:\\DOS\nPATH C:\\APP;\n"},
    {"only the first PATH line is looked at", {{AddPath, "C:\\APP"}},
     "PATH C:\\DOS\nPATH C:\\APP\n", "PATH C:\\DOS;C:\\APP;\nPATH C:\\APP\n"},
    {"DELPATH of the middle entry", {{DelPath, "C:\\APP"}},
     "PATH C:\\DOS;C:\\APP;C:\\WIN\n", "PATH C:\\DOS;C:\\WIN;\n"},
    {"DELPATH of the last entry, other case", {{DelPath, "c:\\app;"}},
     "PATH C:\\DOS;C:\\APP\n", "PATH C:\\DOS;\n"},
    {"DELPATH of the single entry", {{DelPath, "C:\\APP"}}, "PATH C:\\APP\n", "PATH \n"},
    {"DELPATH of a directory not on the PATH", {{DelPath, "C:\\APP"}},
     "PATH C:\\DOS;C:\\APPS\n", "PATH C:\\DOS;C:\\APPS\n"},
    {"DELPATH leaves PATH=... alone", {{DelPath, "C:\\APP"}}, "PATH=C:\\APP\n",
     "PATH=C:\\APP\n"},

    // INI sections
    {"a [386Enh] device line goes at the end of its section, once",
     {{AddIni, "device=C:\\APP\\APPVXD.386", "386Enh"}, {AddIni, "device=C:\\APP\\APPVXD.386", "386Enh"}},
     "[boot]\nshell=progman.exe\n\n[386Enh]\ndevice=*vmm32\ndevice=C:\\X\\VX.386\n\n[NonWindowsApp]\nx=1\n",
     "[boot]\nshell=progman.exe\n\n[386Enh]\ndevice=*vmm32\ndevice=C:\\X\\VX.386\n"
     "device=C:\\APP\\APPVXD.386\n\n[NonWindowsApp]\nx=1\n"},
    {"device lines of the same driver file replace each other",
     {{AddIni, "device=C:\\NEW\\VX.386", "386Enh"}},
     "[386Enh]\ndevice=*vmm32\ndevice=C:\\X\\VX.386\nPaging=on\n",
     "[386Enh]\ndevice=*vmm32\ndevice=C:\\NEW\\VX.386\nPaging=on\n"},
    {"the same key in another section is not touched", {{AddIni, "Key=2", "b"}},
     "[a]\nKey=1\n[b]\nOther=1\n", "[a]\nKey=1\n[b]\nOther=1\nKey=2\n"},
    {"a header matches in any case", {{AddIni, "Key=1", "386Enh"}}, "[386enh]\nA=1\n",
     "[386enh]\nA=1\nKey=1\n"},
    {"a header with a trailing blank does not match", {{AddIni, "Key=1", "386Enh"}},
     "[386Enh] \nA=1\n", "[386Enh] \nA=1\n\n[386Enh]\nKey=1\n"},
    {"a new section and its removal give the file back",
     {{AddIni, "Key=1", "AppSection"}, {DelIni, "Key=1", "AppSection"}},
     "[windows]\nload=\nrun=\n", "[windows]\nload=\nrun=\n"},
    {"a new section without line end at the end of the file",
     {{AddIni, "Key=1", "AppSection"}}, "[windows]\nload=",
     "[windows]\nload=\n\n[AppSection]\nKey=1"},
    {"and its removal leaves the old last line ended",
     {{AddIni, "Key=1", "AppSection"}, {DelIni, "Key=1", "AppSection"}}, "[windows]\nload=",
     "[windows]\nload=\n"},
    {"an empty line adds just the section, once",
     {{AddIni, "", "App"}, {AddIni, "", "App"}}, "[w]\nk=1\n", "[w]\nk=1\n\n[App]\n"},
    {"an empty section goes again", {{DelIni, "", "App"}}, "[w]\nk=1\n\n[App]\n", "[w]\nk=1\n"},
    {"a new section in an empty file", {{AddIni, "Key=1", "App"}}, "", "\n\n[App]\nKey=1"},
    {"DELWSYS leaves a section that still holds keys", {{DelIni, "b=9", "s"}},
     "[s]\na=1\nb=2\nc=3\n", "[s]\na=1\nc=3\n"},
    {"an emptied section in the middle goes with its blank lines",
     {{DelIni, "x=1", "a"}}, "[w]\nk=1\n\n[a]\nx=1\n\n[b]\ny=1\n", "[w]\nk=1\n\n[b]\ny=1\n"},
    {"an emptied first and only section leaves an empty file", {{DelIni, "x=1", "a"}},
     "[a]\nx=1\n", ""},
    {"a section of blanks and tabs is taken out", {{DelIni, "nothing=0", "a"}},
     "[w]\nk=1\n[a]\n  \t\n", "[w]\nk=1"},
    {"DELWINI of a missing section changes nothing", {{DelIni, "Key=1", "App"}},
     "[windows]\nload=\n", "[windows]\nload=\n"},
    {"DELWINI only looks inside its section", {{DelIni, "Key=1", "b"}},
     "[a]\nKey=1\n[b]\nKey2=1\n", "[a]\nKey=1\n[b]\nKey2=1\n"},
};

TEST_CASE("System file edits give exactly the expected file")
{
    for (const EditCase &c : editCases) {
        INFO(c.name);
        ScratchDir dir("cfg");
        std::string path = dir / "CONFIG.SYS";
        REQUIRE(WriteBytes(path, Crlf(c.before)));
        for (const EditOp &op : c.ops)
            RunEdit(path, op);
        CHECK(ReadBytes(path) == Crlf(c.after));
        CHECK(FilesIn(dir.path) == std::vector<std::string>{"CONFIG.SYS"});
    }
}

TEST_CASE("Text mode: CR LF, lone LF and CR, Ctrl-Z, NUL bytes and long lines")
{
    struct RawCase {
        const char *name;
        EditOp op;
        std::string before, after;
    };
    std::string longRem = "REM " + std::string(600, 'a');
    std::string remPrefix = "REM " + std::string(507, 'a');
    // The largest growth of one edit: a header and a line of 511 bytes each.
    std::string longSection(509, 's');
    std::string longKeyLine = "K=" + std::string(509, 'v');
    std::string longLine = "DEVICE=C:\\" + std::string(700, 'x') + ".SYS";
    std::string big;
    for (int i = 0; i < 3000; i++) {
        char line[32];
        wsprintfA(line, "LINE%05d=1\r\n", i);
        big += line;
    }
    const RawCase cases[] = {
        {"lone LF lines are written with CR LF", {AddConf, "C=3"}, "A=1\nB=2\n",
         "A=1\r\nB=2\r\nC=3\r\n"},
        {"a lone CR stays", {AddConf, "C=3"}, "A=1\rX\r\n", "A=1\rX\r\nC=3\r\n"},
        {"a final Ctrl-Z ends the text", {AddConf, "C=3"}, "A=1\r\nB=2\r\n\x1A",
         "A=1\r\nB=2\r\nC=3\r\n"},
        {"a Ctrl-Z in the middle ends the text", {AddConf, "C=3"}, "A=1\r\n\x1A" "B=2\r\n",
         "A=1\r\nC=3\r\n"},
        {"NUL bytes are kept", {AddConf, "C=3"}, std::string("A\0=1\r\nB=2\r\n", 11),
         std::string("A\0=1\r\nB=2\r\nC=3\r\n", 16)},
        {"a long line is compared by its first 511 bytes and removed whole",
         {DelAuto, remPrefix.c_str()}, "X\r\n" + longRem + "\r\nY\r\n",
         "X\r\nY\r\n"},
        {"a long line that does not match is kept whole", {AddConf, "DEVICE=C:\\Z.SYS"},
         longLine + "\r\n", longLine + "\r\nDEVICE=C:\\Z.SYS\r\n"},
        {"a long line is replaced whole", {AddConf, "DEVICE=C:\\NEW\\Y.SYS"},
         "DEVICE=C:\\DOS\\Y.SYS " + std::string(600, 'p') + "\r\nF=1\r\n",
         "DEVICE=C:\\NEW\\Y.SYS\r\nF=1\r\n"},
        {"a file over 32000 bytes", {AddConf, "NEW=1"}, big, big + "NEW=1\r\n"},
        {"a section beginning with a long line of blanks is kept", {DelIni, "nothing=0", "a"},
         "[a]\r\n" + std::string(560, ' ') + "x\r\n", "[a]\r\n" + std::string(560, ' ') + "x\r\n"},
        {"a new section of 511 bytes with a line of 511 bytes in an empty file",
         {AddIni, longKeyLine.c_str(), longSection.c_str()}, "",
         "\r\n\r\n[" + longSection + "]\r\n" + longKeyLine},
        {"a PATH line over 511 bytes keeps its tail", {AddPath, "C:\\APP"},
         "PATH " + std::string(600, 'd') + ";C:\\TAIL\r\n",
         "PATH " + std::string(600, 'd') + ";C:\\TAIL;C:\\APP;\r\n"},
    };
    for (const RawCase &c : cases) {
        INFO(c.name);
        ScratchDir dir("raw");
        std::string path = dir / "AUTOEXEC.BAT";
        REQUIRE(WriteBytes(path, c.before));
        RunEdit(path, c.op);
        CHECK(ReadBytes(path) == c.after);
    }
}

TEST_CASE("Additions to a missing file go to its addition file; deletions create nothing")
{
    struct AddFileCase {
        const char *file;
        EditOp op;
        const char *addFile;  // null: nothing is created
        const char *contents; // of the addition file, without CR
    };
    const AddFileCase cases[] = {
        {"CONFIG.SYS", {AddConf, "DEVICE=C:\\APP\\APP.SYS"}, "CONFIG.ADD", "\nDEVICE=C:\\APP\\APP.SYS"},
        {"CONFIG.SYS", {DelConf, "DEVICE=C:\\APP\\APP.SYS"}, nullptr, nullptr},
        {"AUTOEXEC.BAT", {AddAuto, "C:\\APP\\START.EXE"}, "AUTOEXEC.ADD", "\nC:\\APP\\START.EXE"},
        {"AUTOEXEC.BAT", {DelAuto, "C:\\APP\\START.EXE"}, nullptr, nullptr},
        {"AUTOEXEC.BAT", {AddPath, "C:\\APP"}, "AUTOEXEC.ADD", "\nPATH C:\\APP;"},
        {"AUTOEXEC.BAT", {DelPath, "C:\\APP"}, nullptr, nullptr},
        {"WIN.INI", {AddIni, "Key=1", "App"}, "WIN.ADD", "\n\n[App]\nKey=1"},
        {"SYSTEM.INI", {DelIni, "Key=1", "App"}, nullptr, nullptr},
    };
    for (const AddFileCase &c : cases) {
        INFO(c.file);
        CAPTURE(c.op.kind);
        ScratchDir dir("add");
        RunEdit(dir / c.file, c.op);
        if (!c.addFile) {
            CHECK(FilesIn(dir.path).empty());
            continue;
        }
        CHECK(FilesIn(dir.path) == std::vector<std::string>{c.addFile});
        CHECK(ReadBytes(dir / c.addFile) == Crlf(c.contents));
    }

    SUBCASE("later additions go on in the addition file")
    {
        ScratchDir dir("add2");
        AddSystemLineAt((dir / "CONFIG.SYS").c_str(), '=', nullptr, "FILES=30");
        AddSystemLineAt((dir / "CONFIG.SYS").c_str(), '=', nullptr, "BUFFERS=20");
        AddSystemLineAt((dir / "CONFIG.SYS").c_str(), '=', nullptr, "FILES=40");
        CHECK(ReadBytes(dir / "CONFIG.ADD") == Crlf("\nFILES=40\nBUFFERS=20"));
        CHECK(FilesIn(dir.path) == std::vector<std::string>{"CONFIG.ADD"});
    }
}

TEST_CASE("Line keys")
{
    struct KeyCase {
        char delim;
        const char *line, *key;
    };
    const KeyCase cases[] = {
        {'=', "DEVICE=C:\\DOS\\EMM386.EXE NOEMS", "EMM386.EXE"},
        {' ', "LH C:\\DOS\\MOUSE.COM", "MOUSE.COM"},
        {' ', "C:\\WINDOWS\\SMARTDRV.EXE /X", "SMARTDRV.EXE"},
        {'=', "FILES=40", "FILES"},
        {' ', "SET PATH=C:\\DOS", "SET PATH"},
        {' ', "SET X\\Y=1", "SET X\\Y"},
        {' ', "rem a\\b", "rem a\\b"},
        {'=', ";C:\\x=1", ";C:\\x=1"},
        {'=', "DEVICE", ""},
        {' ', "CALL", ""},
        // A double-byte character whose second byte is a backslash is no separator.
        {'=', "DEVICE=C:\\APP\\\x95\x5C.SYS", "\x95\x5C.SYS"},
    };
    for (const KeyCase &c : cases) {
        INFO(c.line);
        char key[TextBufSize];
        GetLineKey(c.delim, c.line, key);
        CHECK(std::string(key) == c.key);
    }
    // ASCII letters fold; the bytes of a double-byte character do not.
    CHECK(KeysEqual("Emm386.exe", "EMM386.EXE"));
    CHECK_FALSE(KeysEqual("\x82\x61", "\x82\x41"));
    CHECK(KeysEqual("\x82\x61x", "\x82\x61X"));
    CHECK_FALSE(KeysEqual("FILES", "FILES="));
}

TEST_CASE("Field and line cutting stop at 511 bytes")
{
    std::string longText = std::string(600, 'k') + "=v";
    char out[TextBufSize + 1];
    out[TextBufSize] = 0x55;
    int pos = 0;
    CHECK(CutField('=', pos, longText.c_str(), out) == TextMax);
    CHECK(pos == 600);
    CHECK(strlen(out) == TextMax);
    CHECK(out[TextBufSize] == 0x55);
    pos = 700;
    CHECK(CutField('=', pos, longText.c_str(), out) == 0);
    CHECK(pos == 700);

    std::string buffer = std::string(40000, 'L') + "\nx";
    pos = 0;
    CHECK(NextBufferLine(pos, buffer.data(), static_cast<int>(buffer.size()), out) == 32000);
    CHECK(pos == 40000);
    CHECK(strlen(out) == TextMax);
    CHECK(out[TextBufSize] == 0x55);
    pos = 40001;
    CHECK(NextBufferLine(pos, buffer.data(), static_cast<int>(buffer.size()), out) == 1);
    pos++;
    CHECK(NextBufferLine(pos, buffer.data(), static_cast<int>(buffer.size()), out) == -1);
    CHECK(out[0] == 0);
}

TEST_CASE("An edit that does not fit the buffer is refused")
{
    char text[16] = "abcdef";
    EditBuffer eb = {nullptr, text, 6, 10};
    CHECK_FALSE(ReplaceText(eb, 3, 0, "12345", 5));
    CHECK(eb.total == 6);
    CHECK(memcmp(text, "abcdef", 6) == 0);
    CHECK(ReplaceText(eb, 3, 1, "12345", 5));
    CHECK(std::string(text, eb.total) == "abc12345ef");
    CHECK_FALSE(ReplaceText(eb, 8, 3, "", 0));
}

TEST_CASE("Addition file names")
{
    char name[TextBufSize];
    MakeAddFileName("C:\\CONFIG.SYS", name);
    CHECK(std::string(name) == "C:\\CONFIG.ADD");
    MakeAddFileName("C:\\WINDOWS\\SYSTEM.INI", name);
    CHECK(std::string(name) == "C:\\WINDOWS\\SYSTEM.ADD");
    CopyStr(name, "C:\\AUTOEXEC.BAT", sizeof name);
    MakeAddFileName(name, name);
    CHECK(std::string(name) == "C:\\AUTOEXEC.ADD");
}

TEST_CASE("The script operations edit the real system files named by their templates")
{
    SessionFixture fixture;
    SystemFilesGuard guard;
    std::string config = guard.root + "\\CONFIG.SYS";
    std::string autoexec = guard.root + "\\AUTOEXEC.BAT";
    REQUIRE(WriteBytes(config, "FILES=30\r\n"));
    REQUIRE(WriteBytes(autoexec, "@ECHO OFF\r\nWIN\r\n"));
    AddSystemLine("$R\\\\CONFIG.SYS", '=', nullptr, "DEVICE=C:\\APP\\APP.SYS");
    AddPathEntry("$R\\\\AUTOEXEC.BAT", "C:\\APP");
    CHECK(ReadBytes(config) == "FILES=30\r\nDEVICE=C:\\APP\\APP.SYS\r\n");
    CHECK(ReadBytes(autoexec) == "@ECHO OFF\r\nPATH C:\\APP;\r\nWIN\r\n");
    DeleteSystemLine("$R\\\\CONFIG.SYS", '=', nullptr, "DEVICE=C:\\APP\\APP.SYS");
    DeletePathEntry("$R\\\\AUTOEXEC.BAT", "C:\\APP");
    CHECK(ReadBytes(config) == "FILES=30\r\n");
    CHECK(ReadBytes(autoexec) == "@ECHO OFF\r\nPATH \r\nWIN\r\n");

    // The platform's own profile reader sees the new WIN.INI section, and
    // the file is the same as before once it is gone again.
    std::string winIni = guard.windows + "\\WIN.INI";
    REQUIRE(WriteBytes(winIni, "[windows]\r\nload=\r\n\r\n[OtherApp]\r\nName=(None)\r\n"));
    AddSystemLine("$W\\\\WIN.INI", '=', "KelbrineTest", "Key=Value one");
    char value[64];
    GetPrivateProfileStringA("KelbrineTest", "Key", "", value, sizeof value, winIni.c_str());
    CHECK(std::string(value) == "Value one");
    GetPrivateProfileStringA("OtherApp", "Name", "", value, sizeof value, winIni.c_str());
    CHECK(std::string(value) == "(None)");
    DeleteSystemLine("$W\\\\WIN.INI", '=', "KelbrineTest", "Key=");
    CHECK(ReadBytes(winIni) == "[windows]\r\nload=\r\n\r\n[OtherApp]\r\nName=(None)\r\n");
}
