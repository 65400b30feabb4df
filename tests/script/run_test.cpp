#include <doctest.h>
#include <string.h>

#include <string>

#include "actions/mesgbox.h"
#include "setup/interpreter.h"
#include "setup/session.h"
#include "medium.h"

static const char general[] =
    "[GENERAL]\nLANGUAGE=ENGLISH\nINSTALLSET1=Typical,SI,-2,0\nOPTION0=Zero\nOPTION1=One\n";

static std::string RegString(const char *key, const char *name)
{
    char value[256] = "";
    DWORD size = sizeof value;
    HKEY h;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_READ, &h) != ERROR_SUCCESS)
        return "<no key>";
    RegQueryValueExA(h, name, nullptr, nullptr, reinterpret_cast<BYTE *>(value), &size);
    RegCloseKey(h);
    return value;
}

static bool Posted(UINT message)
{
    MSG msg;
    return PeekMessageA(&msg, session->hMainWnd, message, message, PM_NOREMOVE) != 0;
}

TEST_CASE("A whole install script runs command by command across two disks")
{
    Medium medium(std::string(general) +
        "[INSTALL-SCRIPT]\n"
        "MKDIR \"$A\"\n"
        "MKDIR  \"$A\\\\NEVER\"\n"                          // two blanks: nothing
        "FLCOPY \"READ ME.TXT\" $A\\\\README.TXT\n"         // quoted source, plain destination
        "REM a comment line\n"
        ":DISK2 Program files\n"
        "FLCOPY DATA.BIN $A\\\\DATA.BIN 0\n"                // option 0 checked
        "FLCOPY DATA.BIN $A\\\\SKIPPED.BIN 1\n"             // option 1 not checked
        "MERGE $A\\\\JOINED.BIN PART1 PART2 PART3 0\n"      // trailing selector, not a source
        "FLMOVE $A\\\\DATA.BIN $A\\\\MOVED.BIN\n"
        "SETATTRIBUTE $A\\\\MOVED.BIN READONLY\n"
        ":# back\n"
        "REGCREATE HKEY_CURRENT_USER Software\\\\KelbrineTest\\\\Run\n"
        "REGSETVALSZ Name \"say \\\"hi\\\", then go\"\n"  // escaped quotes, comma, blanks
        "REGSETVALDW Count \"0x10\"\n"
        "REGCLOSE\n"
        "ADDWINI KelbrineTest  \"Key=1\"\n"                // two blanks: nothing
        "ADDINIT\n"
        "WINEXEC \"notepad.exe\"\n"                        // no show keyword: nothing
        "REMOVE $A\\\\README.TXT\n"
        "RMDIR $A\\\\EMPTY\n");
    medium.write("SETUP\\READ ME.TXT", "readme");
    medium.write("DISK2\\DATA.BIN", "data");
    medium.write("DISK2\\PART1", "one-");
    medium.write("DISK2\\PART2", "two-");
    medium.write("DISK2\\PART3", "three");
    std::string app = medium.path("APP");
    medium.start();
    CHECK(session->page == PageDirectory);
    MesgBoxResetSeam();
    medium.startInstall(app);
    CHECK(session->stepTotal == 16);
    CreateDirectoryA((app + "\\EMPTY").c_str(), nullptr);
    MesgBoxQueueAnswer(IDOK); // the end-of-run report

    // Step by step: the disk group's description reaches the comment area
    // with the first command of its group.
    RunScriptStep();
    CHECK(session->stepCounter == 1);
    CHECK(std::string(session->statusText) == "Create '" + app + "' Directory.");
    RunScriptStep(); // MKDIR with two blanks does nothing
    CHECK(!FileExists(app + "\\NEVER"));
    RunScriptStep();
    CHECK(FileExists(app + "\\README.TXT"));
    CHECK(session->currentGroup == 0);
    RunScriptStep();
    CHECK(session->currentGroup == 1);
    CHECK(std::string(session->commentText) == "Program files");
    int steps = 4 + medium.runToEnd();
    CHECK(steps == 17);
    CHECK(session->busy == 1);
    CHECK(Posted(WM_CLOSE));

    CHECK(!FileExists(app + "\\NEVER"));
    CHECK(!FileExists(app + "\\README.TXT"));
    CHECK(!FileExists(app + "\\SKIPPED.BIN"));
    CHECK(!FileExists(app + "\\EMPTY"));
    CHECK(ReadBytes(app + "\\JOINED.BIN") == "one-two-three");
    CHECK(!FileExists(app + "\\DATA.BIN"));
    CHECK(ReadBytes(app + "\\MOVED.BIN") == "data");
    CHECK((GetFileAttributesA((app + "\\MOVED.BIN").c_str()) & FILE_ATTRIBUTE_READONLY) != 0);
    SetFileAttributesA((app + "\\MOVED.BIN").c_str(), FILE_ATTRIBUTE_NORMAL);
    CHECK(RegString("Software\\KelbrineTest\\Run", "Name") == "say \"hi\", then go");
    DWORD count = 0, size = sizeof count;
    CHECK(RegGetValueA(HKEY_CURRENT_USER, "Software\\KelbrineTest\\Run", "Count", RRF_RT_REG_DWORD,
                       nullptr, &count, &size) == ERROR_SUCCESS);
    CHECK(count == 16);
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\KelbrineTest\\Run");
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\KelbrineTest");
    char ini[16] = "";
    GetProfileStringA("KelbrineTest", "Key", "", ini, sizeof ini);
    CHECK(std::string(ini) == "");

    // The only question was the report: no file was edited.
    REQUIRE(MesgBoxCallCount() >= 2);
    const MesgBoxCall *report = MesgBoxCallAt(MesgBoxCallCount() - 1);
    CHECK(std::string(report->text) == "Setup is complete.\nUnnecessary Reset Computer.");
    medium.pumpUntilClosed();
    CHECK(session == nullptr);
}

TEST_CASE("Disk prompts: OK goes on in the same directory, Cancel and Yes end the run")
{
    const std::string setup = std::string(general) +
        "[INSTALL-SCRIPT]\nADDINIT\n:DISK9 Second disk\nADDINIT\nADDINIT\n";
    SUBCASE("OK")
    {
        Medium medium(setup);
        medium.start();
        medium.startInstall(medium.path("APP"));
        MesgBoxResetSeam();
        MesgBoxQueueAnswer(IDCANCEL); // first answer Cancel, then No, then OK
        MesgBoxQueueAnswer(IDNO);
        MesgBoxQueueAnswer(IDOK);
        RunScriptStep();
        char before[MAX_PATH];
        GetCurrentDirectoryA(sizeof before, before);
        RunScriptStep();
        REQUIRE(MesgBoxCallCount() == 3);
        CHECK(std::string(MesgBoxCallAt(0)->text) == "Please change disk 'DISK9' disk...\nand Press Enter.");
        CHECK(std::string(MesgBoxCallAt(0)->caption) == "Message");
        CHECK(MesgBoxCallAt(0)->style == 0x41);
        CHECK(std::string(MesgBoxCallAt(1)->caption) == "Abort");
        CHECK(MesgBoxCallAt(1)->style == 0x144);
        CHECK(session->busy == 0);
        CHECK(session->stepCounter == 2);
        char after[MAX_PATH];
        GetCurrentDirectoryA(sizeof after, after);
        CHECK(std::string(after) == before);
        // Within the same group the directory is not changed again.
        RunScriptStep();
        CHECK(MesgBoxCallCount() == 3);
    }
    SUBCASE("Cancel and Yes")
    {
        Medium medium(setup);
        medium.start();
        medium.startInstall(medium.path("APP"));
        MesgBoxResetSeam();
        MesgBoxQueueAnswer(IDCANCEL);
        MesgBoxQueueAnswer(IDYES);
        RunScriptStep();
        RunScriptStep();
        CHECK(MesgBoxCallCount() == 2);
        CHECK(session->busy == 1);
        CHECK(Posted(WM_CLOSE));
        medium.pumpUntilClosed();
        CHECK(session == nullptr);
    }
    SUBCASE("the disk directory exists: no prompt, it becomes current")
    {
        Medium medium(setup);
        CreateDirectoryA(medium.path("DISK9").c_str(), nullptr);
        medium.start();
        medium.startInstall(medium.path("APP"));
        MesgBoxResetSeam();
        MesgBoxQueueAnswer(IDOK);
        RunScriptStep();
        RunScriptStep();
        CHECK(MesgBoxCallCount() == 0);
        char dir[MAX_PATH];
        GetCurrentDirectoryA(sizeof dir, dir);
        CHECK(lstrcmpiA(dir, medium.path("DISK9").c_str()) == 0);
    }
}

TEST_CASE("A confirmed abort in a copy ends the run and leaves busy set")
{
    Medium medium(std::string(general) +
                  "[INSTALL-SCRIPT]\nFLCOPY SRC.TXT $A\\\\X.TXT\nMKDIR $A\\\\LATER\n");
    medium.write("SETUP\\SRC.TXT", "new");
    medium.write("APP\\X.TXT", "old");
    medium.start();
    medium.startInstall(medium.path("APP"));
    MesgBoxResetSeam();
    MesgBoxQueueAnswer(IDABORT); // overwrite question: Abort
    MesgBoxQueueAnswer(IDYES);   // abort the installation: Yes
    RunScriptStep();
    REQUIRE(MesgBoxCallCount() == 2);
    CHECK((MesgBoxCallAt(0)->style & 7) >= MB_OKCANCELABORT);
    CHECK(std::string(MesgBoxCallAt(1)->caption) == "Abort");
    CHECK(session->busy == 1);
    CHECK(session->stepCounter == 1);
    CHECK(Posted(WM_CLOSE));
    CHECK(ReadBytes(medium.path("APP\\X.TXT")) == "old");
    medium.pumpUntilClosed();
    CHECK(!FileExists(medium.path("APP\\LATER")));
}

TEST_CASE("A missing script section ends at the first tick with the report")
{
    Medium medium(std::string(general) + "[DELETE-SCRIPT]\nMKDIR $A\n");
    medium.start();
    medium.startInstall(medium.path("APP"));
    CHECK(session->stepTotal == 0);
    MesgBoxResetSeam();
    MesgBoxQueueAnswer(IDOK);
    RunScriptStep();
    CHECK(MesgBoxCallCount() == 1);
    CHECK(std::string(MesgBoxCallAt(0)->text) == "Setup is complete.\nUnnecessary Reset Computer.");
    CHECK(session->busy == 1);
    CHECK(Posted(WM_CLOSE));
}
