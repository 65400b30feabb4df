// Whole scripts for the commands that reach outside the medium: compressed
// and tree copies, the registry, the system files with their change flags
// and the restart report, Program Manager and started programs.
#include <doctest.h>
#include <windows.h>
#include <ddeml.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "actions/mesgbox.h"
#include "setup/interpreter.h"
#include "setup/session.h"
#include "medium.h"

namespace {

const char general[] =
    "[GENERAL]\nLANGUAGE=ENGLISH\nINSTALLSET1=Typical,SI,-2,0\nOPTION0=Zero\nOPTION1=One\n";

// A file made by the outside compressor mscompress (tests/actions/fixtures).
std::string Fixture(const std::string &name)
{
    char dir[MAX_PATH];
    DWORD n = GetEnvironmentVariableA("KELBRINE_TESTS_DIR", dir, sizeof dir);
    REQUIRE(n > 0);
    std::string path = "Z:" + std::string(dir) + "/actions/fixtures/" + name;
    for (char &c : path)
        if (c == '/')
            c = '\\';
    return path;
}

std::string RegString(const char *key, const char *name)
{
    char value[256] = "";
    DWORD size = sizeof value;
    HKEY h;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_READ, &h) != ERROR_SUCCESS)
        return "<no key>";
    if (RegQueryValueExA(h, name, nullptr, nullptr, reinterpret_cast<BYTE *>(value), &size) != ERROR_SUCCESS)
        CopyStr(value, "<no value>", sizeof value);
    RegCloseKey(h);
    return value;
}

bool KeyExists(const char *key)
{
    HKEY h;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_READ, &h) != ERROR_SUCCESS)
        return false;
    RegCloseKey(h);
    return true;
}

bool Contains(const std::string &text, const std::string &part)
{
    return text.find(part) != std::string::npos;
}

// The real CONFIG.SYS, AUTOEXEC.BAT, SYSTEM.INI and WIN.INI of the prefix
// (and their addition files), put back byte for byte, with their attributes
// and times, when the object goes away.
struct SystemFiles {
    struct Saved {
        std::string path;
        bool existed = false;
        DWORD attributes = 0;
        FILETIME written = {};
        std::string bytes;
    };
    std::vector<Saved> saved;
    std::string root, windows;
    SystemFiles()
    {
        char dir[MAX_PATH];
        GetWindowsDirectoryA(dir, sizeof dir);
        windows = dir;
        root = windows.substr(0, 2);
        for (const char *name : { "CONFIG.SYS", "CONFIG.ADD", "AUTOEXEC.BAT", "AUTOEXEC.ADD",
                                  "SYSTEM.INI", "SYSTEM.ADD", "WIN.INI", "WIN.ADD" }) {
            saved.emplace_back();
            saved.back().path = (saved.size() <= 4 ? root : windows) + "\\" + name;
        }
        for (Saved &s : saved) {
            WIN32_FIND_DATAA fd;
            HANDLE h = FindFirstFileA(s.path.c_str(), &fd);
            if (h == INVALID_HANDLE_VALUE)
                continue;
            FindClose(h);
            s.existed = true;
            s.attributes = fd.dwFileAttributes;
            s.written = fd.ftLastWriteTime;
            s.bytes = ReadBytes(s.path);
            s.path = s.path.substr(0, s.path.rfind('\\') + 1) + fd.cFileName;
        }
    }
    ~SystemFiles()
    {
        // The profile functions keep WIN.INI and SYSTEM.INI cached.
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, nullptr);
        for (const Saved &s : saved) {
            SetFileAttributesA(s.path.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(s.path.c_str());
            if (!s.existed)
                continue;
            WriteBytes(s.path, s.bytes);
            HANDLE h = CreateFileA(s.path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
            if (h != INVALID_HANDLE_VALUE) {
                SetFileTime(h, nullptr, nullptr, &s.written);
                CloseHandle(h);
            }
            SetFileAttributesA(s.path.c_str(), s.attributes);
        }
    }
    void write(const std::string &path, const std::string &text)
    {
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        REQUIRE(WriteBytes(path, text));
    }
};

struct Flags {
    int config, autoexec, systemIni, winIni;
    bool operator==(const Flags &o) const
    {
        return config == o.config && autoexec == o.autoexec && systemIni == o.systemIni &&
               winIni == o.winIni;
    }
};

Flags ChangeFlags()
{
    return { session->configSysChanged, session->autoexecBatChanged, session->systemIniChanged,
             session->winIniChanged };
}

bool PostedClose()
{
    MSG msg;
    return PeekMessageA(&msg, session->hMainWnd, WM_CLOSE, WM_CLOSE, PM_NOREMOVE) != 0;
}

std::string LastBoxText()
{
    REQUIRE(MesgBoxCallCount() > 0);
    return MesgBoxCallAt(MesgBoxCallCount() - 1)->text;
}

bool ProgmanAnswers()
{
    DWORD inst = 0;
    if (DdeInitializeA(&inst, nullptr, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR)
        return false;
    HSZ name = DdeCreateStringHandleA(inst, "PROGMAN", CP_WINANSI);
    HCONV conv = DdeConnect(inst, name, name, nullptr);
    if (conv)
        DdeDisconnect(conv);
    DdeFreeStringHandle(inst, name);
    DdeUninitialize(inst);
    return conv != nullptr;
}

}

TEST_CASE("Compressed and tree copies, tree removal and registry keys from a script")
{
    const char *key = "Software\\KelbrineScript";
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\KelbrineScript\\Gone");
    RegDeleteKeyA(HKEY_CURRENT_USER, key);
    HKEY h;
    REQUIRE(RegCreateKeyA(HKEY_CURRENT_USER, "Software\\KelbrineScript\\Gone", &h) == ERROR_SUCCESS);
    RegCloseKey(h);

    Medium medium(std::string(general) +
        "[INSTALL-SCRIPT]\n"
        "MKDIR $A\n"
        "LZCOPY APP.EX_ $A\\\\\n"                          // arrives under its expanded name
        "LZCOPY APP.EX_ \"$A\\\\OTHER NAME.EXE\"\n"        // a destination name wins
        "XFLCOPY TREE $A\\\\TREE\n"
        "XLZCOPY PACKED $A\\\\PACKED\n"
        "XREMOVE $A\\\\OLD\n"
        "REGOPEN HKEY_CURRENT_USER Software\\\\KelbrineScript\n"
        "REGSETVALSZ Where \"opened\"\n"
        "REGCLOSE\n"
        "REGDELETE HKEY_CURRENT_USER \"Software\\\\KelbrineScript\\\\Gone\"\n"
        // The registry as the system's own tool reads it.
        "WINEXECSYNC \"cmd.exe /c reg query HKCU\\\\Software\\\\KelbrineScript /s >$A\\\\REG.TXT\" HIDE\n"
        "DELINIT\n");
    std::string original = ReadBytes(Fixture("APP.EXE"));
    std::string packed = ReadBytes(Fixture("APP.EX_"));
    REQUIRE(packed.compare(0, 4, "SZDD") == 0);
    medium.write("SETUP\\APP.EX_", packed);
    medium.write("SETUP\\TREE\\A.TXT", "a");
    medium.write("SETUP\\TREE\\SUB\\B.TXT", "b");
    medium.write("SETUP\\PACKED\\APP.EX_", packed);
    medium.write("SETUP\\PACKED\\SUB\\APP.EX_", packed);
    std::string app = medium.path("APP");
    medium.start();
    medium.startInstall(app);
    CHECK(session->stepTotal == 12);
    // A tree made before the run, for XREMOVE.
    CreateDirectoryA(app.c_str(), nullptr);
    medium.write("APP\\OLD\\X.TXT", "x");
    medium.write("APP\\OLD\\DEEP\\Y.TXT", "y");
    MesgBoxResetSeam();
    MesgBoxQueueAnswer(IDOK); // the report

    for (int i = 0; i < 3; i++)
        RunScriptStep();
    CHECK(ReadBytes(app + "\\APP.EXE") == original);
    CHECK(ReadBytes(app + "\\OTHER NAME.EXE") == original);
    RunScriptStep();
    CHECK(ReadBytes(app + "\\TREE\\A.TXT") == "a");
    CHECK(ReadBytes(app + "\\TREE\\SUB\\B.TXT") == "b");
    RunScriptStep();
    CHECK(ReadBytes(app + "\\PACKED\\APP.EXE") == original);
    CHECK(ReadBytes(app + "\\PACKED\\SUB\\APP.EXE") == original);
    CHECK(!FileExists(app + "\\PACKED\\APP.EX_"));
    RunScriptStep();
    CHECK(!FileExists(app + "\\OLD"));
    RunScriptStep();
    CHECK(std::string(session->statusText) == "HKEY_CURRENT_USER\\Software\\KelbrineScript registry key open.");
    RunScriptStep();
    RunScriptStep();
    CHECK(session->hRegKey == nullptr);
    RunScriptStep();
    CHECK(std::string(session->statusText) ==
          "HKEY_CURRENT_USER\\Software\\KelbrineScript\\Gone registry key delete.");
    RunScriptStep();
    CHECK(medium.runToEnd() == 2); // DELINIT, then the end
    CHECK(PostedClose());
    CHECK(LastBoxText() == "Setup is complete.\nUnnecessary Reset Computer.");

    CHECK(RegString(key, "Where") == "opened");
    std::string query = ReadBytes(app + "\\REG.TXT");
    CHECK(Contains(query, "Where"));
    CHECK(Contains(query, "REG_SZ"));
    CHECK(Contains(query, "opened"));
    CHECK(!Contains(query, "Gone"));
    CHECK(!KeyExists("Software\\KelbrineScript\\Gone"));
    CHECK(KeyExists(key));
    RegDeleteKeyA(HKEY_CURRENT_USER, key);
}

TEST_CASE("System file commands edit the real files, set their flags and lead to the restart report")
{
    SystemFiles files;
    const std::string config = files.root + "\\CONFIG.SYS", autoexec = files.root + "\\AUTOEXEC.BAT";
    const std::string systemIni = files.windows + "\\SYSTEM.INI", winIni = files.windows + "\\WIN.INI";
    files.write(config, "FILES=30\r\nDEVICE=C:\\OLD\\OLD.SYS\r\n");
    files.write(autoexec, "@ECHO OFF\r\nPATH C:\\WINDOWS;C:\\OLD\r\nC:\\OLD\\GO.EXE\r\n");
    files.write(systemIni, "[boot]\r\nshell=explorer.exe\r\n[386Enh]\r\ndevice=old.386\r\n");
    files.write(winIni, "[windows]\r\nrun=old.exe\r\n[Fonts]\r\n");
    for (const char *add : { "\\CONFIG.ADD", "\\AUTOEXEC.ADD" })
        DeleteFileA((files.root + add).c_str());
    for (const char *add : { "\\SYSTEM.ADD", "\\WIN.ADD" })
        DeleteFileA((files.windows + add).c_str());

    SUBCASE("every add and delete command, the INI ones first")
    {
        Medium medium(std::string(general) +
            "[INSTALL-SCRIPT]\n"
            "ADDWINI KelbrineTest Key=1\n"                   // unquoted line: nothing
            "ADDWSYS boot  \"kb.drv=KB.DRV\"\n"              // two blanks: nothing
            "ADDWINI KelbrineTest \"Key=1\"\n"
            "DELWINI windows \"run=old.exe\"\n"
            "ADDWSYS boot \"kb.drv=KB.DRV\"\n"
            "DELWSYS 386Enh \"device=old.386\"\n"
            "ADDCONF \"DEVICE=C:\\\\APP\\\\APP.SYS\"\n"
            "DELCONF \"DEVICE=C:\\\\OLD\\\\OLD.SYS\"\n"
            "ADDAUTO \"C:\\\\APP\\\\START.EXE\"\n"
            "DELAUTO \"C:\\\\OLD\\\\GO.EXE\"\n"
            "ADDPATH \"C:\\\\APP\"\n"
            "DELPATH \"C:\\\\OLD\"\n");
        medium.start();
        medium.startInstall(medium.path("APP"));
        MesgBoxResetSeam();
        MesgBoxQueueAnswer(IDOK); // the report
        struct Step {
            const char *status; // "" where nothing is to happen
            Flags flags;
        } steps[] = {
            { "", { 0, 0, 0, 0 } },
            { "", { 0, 0, 0, 0 } },
            { "'WIN.INI' editing...", { 0, 0, 0, 1 } },
            { "'WIN.INI' editing...", { 0, 0, 0, 1 } },
            { "'SYSTEM.INI' editing...", { 0, 0, 1, 1 } },
            { "'SYSTEM.INI' editing...", { 0, 0, 1, 1 } },
            { "'CONFIG.SYS' editing...", { 1, 0, 1, 1 } },
            { "'CONFIG.SYS' editing...", { 1, 0, 1, 1 } },
            { "'AUTOEXEC.BAT' editing...", { 1, 1, 1, 1 } },
            { "'AUTOEXEC.BAT' editing...", { 1, 1, 1, 1 } },
            { "'AUTOEXEC.BAT' editing...", { 1, 1, 1, 1 } },
            { "'AUTOEXEC.BAT' editing...", { 1, 1, 1, 1 } },
        };
        int n = 0;
        for (const Step &step : steps) {
            CAPTURE(n);
            session->statusText[0] = 0;
            RunScriptStep();
            CHECK(std::string(session->statusText) == step.status);
            CHECK(ChangeFlags() == step.flags);
            if (n == 1) {
                // The two commands that did nothing left the files alone.
                CHECK(!Contains(ReadBytes(winIni), "KelbrineTest"));
                CHECK(!Contains(ReadBytes(systemIni), "kb.drv"));
            }
            n++;
        }
        CHECK(MesgBoxCallCount() == 0);
        RunScriptStep();
        REQUIRE(MesgBoxCallCount() == 1);
        CHECK(LastBoxText() == "System files is changed.\nNecessary Reset Computer.");
        CHECK(PostedClose());

        std::string win = ReadBytes(winIni), sys = ReadBytes(systemIni);
        std::string conf = ReadBytes(config), autoBat = ReadBytes(autoexec);
        CHECK(Contains(win, "[KelbrineTest]\r\nKey=1"));
        CHECK(!Contains(win, "run=old.exe"));
        CHECK(Contains(sys, "[boot]\r\n"));
        CHECK(Contains(sys, "kb.drv=KB.DRV"));
        CHECK(!Contains(sys, "device=old.386"));
        CHECK(Contains(conf, "FILES=30"));
        CHECK(Contains(conf, "DEVICE=C:\\APP\\APP.SYS"));
        CHECK(!Contains(conf, "OLD.SYS"));
        CHECK(Contains(autoBat, "C:\\APP\\START.EXE"));
        CHECK(!Contains(autoBat, "GO.EXE"));
        CHECK(Contains(autoBat, "C:\\APP"));
        CHECK(!Contains(autoBat, "C:\\OLD"));
        CHECK(Contains(autoBat, "C:\\WINDOWS"));
    }
    SUBCASE("only an INI file edited: Windows is to be restarted")
    {
        Medium medium(std::string(general) +
            "[INSTALL-SCRIPT]\nADDWINI KelbrineTest \"Key=2\"\n");
        medium.start();
        medium.startInstall(medium.path("APP"));
        MesgBoxResetSeam();
        MesgBoxQueueAnswer(IDOK);
        CHECK(medium.runToEnd() == 2);
        CHECK(LastBoxText() == "Windows files is changed.\nNecessary Reset Windows.");
        CHECK(Contains(ReadBytes(winIni), "Key=2"));
        CHECK(ReadBytes(config) == "FILES=30\r\nDEVICE=C:\\OLD\\OLD.SYS\r\n");
    }
}

TEST_CASE("MERGE leaves a trailing selector alone even where a file of that name exists")
{
    Medium medium(std::string(general) +
                  "[INSTALL-SCRIPT]\nMKDIR $A\nMERGE $A\\\\JOINED.BIN P1 \"P 2\" 0\n");
    medium.write("SETUP\\P1", "one-");
    medium.write("SETUP\\P 2", "two");
    medium.write("SETUP\\0", "ZERO");
    std::string app = medium.path("APP");
    medium.start();
    medium.startInstall(app);
    CHECK(session->stepTotal == 2); // option 0 is checked
    MesgBoxResetSeam();
    MesgBoxQueueAnswer(IDOK);
    RunScriptStep();
    RunScriptStep();
    CHECK(std::string(session->statusText) == "Create '" + app + "\\JOINED.BIN' File.");
    CHECK(ReadBytes(app + "\\JOINED.BIN") == "one-two");
    CHECK(ReadBytes(medium.path("SETUP\\0")) == "ZERO");
    CHECK(!FileExists(medium.path("SETUP\\P1")));
}

// Runs in a program of its own (ctest entry script_progman): after the other
// cases of this program had run in the same process, Wine's shell stopped
// answering the PROGMAN conversation (not yet understood); alone it answers.
TEST_CASE("SNDPRG makes a group in the system's Program Manager" * doctest::skip())
{
    bool answers = false;
    for (int tries = 0; tries < 100 && !(answers = ProgmanAnswers()); tries++)
        Sleep(100);
    REQUIRE(answers);
    char programs[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, CSIDL_PROGRAMS, nullptr, 0, programs);
    std::string group = std::string(programs) + "\\Kb Script Group";
    RemoveTreeForTest(group);
    RemoveTreeForTest(std::string(programs) + "\\KbPlain");

    Medium medium(std::string(general) +
        "[INSTALL-SCRIPT]\n"
        "SNDPRG \"[CreateGroup(Kb Script Group)][AddItem(C:\\\\windows\\\\notepad.exe,Kb Note)]\"\n"
        // Plain, the command ends at the first blank.
        "SNDPRG [CreateGroup(KbPlain)][AddItem(C:\\\\windows\\\\regedit.exe,KbReg)] trailing words\n");
    medium.start();
    medium.startInstall(medium.path("APP"));
    MesgBoxResetSeam();
    MesgBoxQueueAnswer(IDOK);
    RunScriptStep();
    CHECK(std::string(session->statusText) == "Send Command to ProgramManager...");
    RunScriptStep();
    std::string link = ReadBytes(group + "\\Kb Note.lnk");
    CHECK(link.size() > 0x4C);
    CHECK(link.compare(0, 4, std::string("\x4C\0\0\0", 4)) == 0);
    CHECK(FileExists(std::string(programs) + "\\KbPlain\\KbReg.lnk"));
    CHECK(medium.runToEnd() == 1);
    RemoveTreeForTest(group);
    RemoveTreeForTest(std::string(programs) + "\\KbPlain");
}

TEST_CASE("WINEXECSYNC goes on only after the program ended; WINEXEC starts it and goes on")
{
    Medium medium(std::string(general) +
        "[INSTALL-SCRIPT]\n"
        "MKDIR $A\n"
        "WINEXECSYNC \"cmd.exe /c echo made>$A\\\\SYNC.TXT\" hide\n"
        "WINEXEC \"cmd.exe /c echo made>$A\\\\ASYNC.TXT\" Hide\n"
        "WINEXEC cmd.exe /c echo made>$A\\\\NEVER.TXT hide\n"); // not quoted: nothing
    std::string app = medium.path("APP");
    medium.start();
    medium.startInstall(app);
    MesgBoxResetSeam();
    MesgBoxQueueAnswer(IDOK);
    RunScriptStep();
    RunScriptStep();
    CHECK(std::string(session->statusText) == "> cmd.exe /c echo made>" + app + "\\SYNC.TXT execute...");
    CHECK(ReadBytes(app + "\\SYNC.TXT") == "made\r\n");
    CHECK(session->childRunning == 0);
    RunScriptStep();
    std::string async;
    for (int i = 0; i < 100 && (async = ReadBytes(app + "\\ASYNC.TXT")) != "made\r\n"; i++)
        Sleep(100);
    CHECK(async == "made\r\n");
    RunScriptStep();
    CHECK(medium.runToEnd() == 1);
    CHECK(MesgBoxCallCount() == 1); // only the report: every start succeeded
    Sleep(300);
    CHECK(!FileExists(app + "\\NEVER.TXT"));
}

TEST_CASE("A line that ends at its first word reads nothing left over from a longer line")
{
    SystemFiles files;
    const std::string winIni = files.windows + "\\WIN.INI";
    files.write(winIni, "[windows]\r\n");
    Medium medium(std::string(general) +
                  "[INSTALL-SCRIPT]\n"
                  "REM 1234KbStale \"K=9\"\n"
                  "ADDWINI\n"
                  "REM 1234567 Stale description\n"
                  ":DISK2\n"
                  "ADDINIT\n");
    CreateDirectoryA(medium.path("DISK2").c_str(), nullptr);
    medium.start();
    medium.startInstall(medium.path("APP"));
    MesgBoxResetSeam();
    MesgBoxQueueAnswer(IDOK);
    RunScriptStep();
    CHECK(session->winIniChanged == 0);
    CHECK(ReadBytes(winIni) == "[windows]\r\n");
    RunScriptStep();
    CHECK(session->currentGroup == 1);
    CHECK(std::string(session->commentText) == "");
    CHECK(medium.runToEnd() == 1);
    CHECK(LastBoxText() == "Setup is complete.\nUnnecessary Reset Computer.");
}

TEST_CASE("MERGE: Cancel at the overwrite question ends the command, an abort confirmed for a missing source the run")
{
    const std::string setup = std::string(general) +
        "[INSTALL-SCRIPT]\nMERGE $A\\\\JOINED.BIN P1 P2\nMKDIR $A\\\\LATER\n";
    SUBCASE("Cancel when asked to overwrite")
    {
        Medium medium(setup);
        medium.write("SETUP\\P1", "one");
        medium.write("SETUP\\P2", "two");
        medium.write("APP\\JOINED.BIN", "old");
        medium.start();
        medium.startInstall(medium.path("APP"));
        MesgBoxResetSeam();
        MesgBoxQueueAnswer(IDCANCEL);
        MesgBoxQueueAnswer(IDOK); // the report
        CHECK(medium.runToEnd() == 3);
        REQUIRE(MesgBoxCallCount() == 2);
        CHECK(ReadBytes(medium.path("APP\\JOINED.BIN")) == "old");
        CHECK(FileExists(medium.path("SETUP\\P1")));
        CHECK(FileExists(medium.path("APP\\LATER")));
    }
    SUBCASE("Abort and Yes when the first source is missing")
    {
        Medium medium(setup);
        medium.write("SETUP\\P2", "two");
        medium.write("APP\\JOINED.BIN", "old");
        medium.start();
        medium.startInstall(medium.path("APP"));
        MesgBoxResetSeam();
        MesgBoxQueueAnswer(IDABORT);
        MesgBoxQueueAnswer(IDYES);
        RunScriptStep();
        REQUIRE(MesgBoxCallCount() == 2);
        CHECK(MesgBoxCallAt(0)->style == 0x112);
        CHECK(session->busy == 1);
        CHECK(PostedClose());
        CHECK(ReadBytes(medium.path("APP\\JOINED.BIN")) == "old");
        CHECK(FileExists(medium.path("SETUP\\P2")));
        medium.pumpUntilClosed();
        CHECK(!FileExists(medium.path("APP\\LATER")));
    }
}
