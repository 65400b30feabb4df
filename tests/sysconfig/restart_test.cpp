#include <doctest.h>

#include <string>
#include <vector>

#include "actions/mesgbox.h"
#include "edit_helpers.h"
#include "setup/texts.h"
#include "sysconfig/restart.h"
#include "testutil.h"

namespace {
// A session with the texts start-up would have loaded; the message box
// seam is cleared before and after.
struct ReportFixture : SessionFixture {
    explicit ReportFixture(int languageOffset)
    {
        session->languageOffset = languageOffset;
        for (int id = 1001; id <= 1039; id++)
            AddText(id);
        LoadLangString(306, session->buttonCaptions[306 - 303], ButtonCaptionSize);
        MesgBoxResetSeam();
    }
    ~ReportFixture() { MesgBoxResetSeam(); }
};

std::vector<std::string> ShownTexts()
{
    std::vector<std::string> texts;
    for (int i = 0; i < MesgBoxCallCount(); i++) {
        const MesgBoxCall *call = MesgBoxCallAt(i);
        CHECK(std::string(call->caption) == "Message");
        CHECK(call->style == 0x40);
        texts.push_back(call->text);
    }
    return texts;
}

const char *const NoRestart = "Setup is complete.\nUnnecessary Reset Computer.";
const char *const WindowsRestart = "Windows files is changed.\nNecessary Reset Windows.";
const char *const ComputerRestart = "System files is changed.\nNecessary Reset Computer.";
}

TEST_CASE("The restart report follows the files the script edited")
{
    enum { Config = 1, Autoexec = 2, SystemIni = 4, WinIni = 8 };
    struct ReportCase {
        const char *name;
        int edited;  // change flags set
        int present; // system files that exist
        int added;   // addition files that exist
        std::vector<std::string> texts;
    };
    const ReportCase cases[] = {
        {"nothing edited", 0, Config | Autoexec | SystemIni | WinIni, 0, {NoRestart}},
        {"WIN.INI only", WinIni, Config | Autoexec | SystemIni | WinIni, 0, {WindowsRestart}},
        {"SYSTEM.INI only", SystemIni, SystemIni | WinIni, 0, {WindowsRestart}},
        {"WIN.INI and CONFIG.SYS", WinIni | Config, Config | WinIni, 0, {ComputerRestart}},
        {"AUTOEXEC.BAT", Autoexec, Autoexec, 0, {ComputerRestart}},
        {"a missing AUTOEXEC.BAT with its addition file", Autoexec, SystemIni | WinIni, Autoexec,
         {"Cannot find 'AUTOEXEC.BAT' file.\nPlease refer to 'AUTOEXEC.ADD' document.", NoRestart}},
        {"a missing CONFIG.SYS without addition file", Config, SystemIni | WinIni, 0,
         {"Cannot find 'CONFIG.SYS' file.\nPlease refer to attached document.", NoRestart}},
        {"a missing CONFIG.SYS does not hide the WIN.INI change", Config | WinIni, WinIni, 0,
         {"Cannot find 'CONFIG.SYS' file.\nPlease refer to attached document.", WindowsRestart}},
        {"all four missing, told in order", Config | Autoexec | SystemIni | WinIni, 0, SystemIni | WinIni,
         {"Cannot find 'CONFIG.SYS' file.\nPlease refer to attached document.",
          "Cannot find 'AUTOEXEC.BAT' file.\nPlease refer to attached document.",
          "Cannot find 'SYSTEM.INI' file.\nPlease refer to 'SYSTEM.ADD' document.",
          "Cannot find 'WIN.INI' file.\nPlease refer to 'WIN.ADD' document.", NoRestart}},
    };
    for (const ReportCase &c : cases) {
        INFO(c.name);
        ReportFixture fixture(100);
        SystemFilesGuard guard;
        const char *files[4][2] = {{"CONFIG.SYS", "CONFIG.ADD"}, {"AUTOEXEC.BAT", "AUTOEXEC.ADD"},
                                   {"SYSTEM.INI", "SYSTEM.ADD"}, {"WIN.INI", "WIN.ADD"}};
        for (int i = 0; i < 4; i++) {
            std::string dir = i < 2 ? guard.root : guard.windows;
            std::string file = dir + "\\" + files[i][0];
            std::string add = dir + "\\" + files[i][1];
            if (c.present & (1 << i))
                REQUIRE(WriteBytes(file, "x\r\n"));
            else
                guard.Remove(file);
            if (c.added & (1 << i))
                REQUIRE(WriteBytes(add, "x\r\n"));
            else
                guard.Remove(add);
        }
        session->configSysChanged = (c.edited & Config) != 0;
        session->autoexecBatChanged = (c.edited & Autoexec) != 0;
        session->systemIniChanged = (c.edited & SystemIni) != 0;
        session->winIniChanged = (c.edited & WinIni) != 0;
        MesgBoxResetSeam();
        MesgBoxQueueAnswer(IDOK);
        for (size_t i = 1; i < c.texts.size(); i++)
            MesgBoxQueueAnswer(IDOK);
        CHECK(ShowRestartReport() == IDOK);
        CHECK(ShownTexts() == c.texts);
        // A flag stays set only for a file that was edited and exists.
        CHECK(session->configSysChanged == ((c.edited & c.present & Config) != 0));
        CHECK(session->winIniChanged == ((c.edited & c.present & WinIni) != 0));
    }
}

TEST_CASE("A script run on a machine without AUTOEXEC.BAT and CONFIG.SYS")
{
    ReportFixture fixture(100);
    SystemFilesGuard guard;
    for (const char *name : {"CONFIG.SYS", "CONFIG.ADD", "AUTOEXEC.BAT", "AUTOEXEC.ADD"})
        guard.Remove(guard.root + "\\" + name);
    // ADDAUTO and DELCONF as the interpreter runs them.
    AddSystemLine("$R\\\\AUTOEXEC.BAT", ' ', nullptr, "C:\\APP\\START.EXE");
    session->autoexecBatChanged = 1;
    DeleteSystemLine("$R\\\\CONFIG.SYS", '=', nullptr, "DEVICE=C:\\APP\\APP.SYS");
    session->configSysChanged = 1;
    CHECK(ReadBytes(guard.root + "\\AUTOEXEC.ADD") == "\r\nC:\\APP\\START.EXE");
    CHECK_FALSE(FileExists(guard.root + "\\AUTOEXEC.BAT"));
    CHECK_FALSE(FileExists(guard.root + "\\CONFIG.ADD"));
    // The answer of the final box is handed back.
    MesgBoxResetSeam();
    MesgBoxQueueAnswer(IDOK);
    MesgBoxQueueAnswer(IDOK);
    MesgBoxQueueAnswer(IDCANCEL);
    CHECK(ShowRestartReport() == IDCANCEL);
    CHECK(ShownTexts() == std::vector<std::string>{
                              "Cannot find 'CONFIG.SYS' file.\nPlease refer to attached document.",
                              "Cannot find 'AUTOEXEC.BAT' file.\nPlease refer to 'AUTOEXEC.ADD' document.",
                              NoRestart});
}

TEST_SUITE("japanese")
{
    TEST_CASE("The restart report in Japanese")
    {
        ReportFixture fixture(0);
        SystemFilesGuard guard;
        guard.Remove(guard.root + "\\CONFIG.SYS");
        guard.Remove(guard.root + "\\CONFIG.ADD");
        REQUIRE(WriteBytes(guard.windows + "\\WIN.INI", "[windows]\r\n"));
        session->configSysChanged = 1;
        session->winIniChanged = 1;
        MesgBoxResetSeam();
        MesgBoxQueueAnswer(IDOK);
        MesgBoxQueueAnswer(IDOK);
        ShowRestartReport();
        REQUIRE(MesgBoxCallCount() == 2);
        CHECK(std::string(MesgBoxCallAt(0)->text) ==
              "CONFIG.SYS \xCC\xA7\xB2\xD9\x82\xAA\x8C\x9F\x8Fo\x82\xC5\x82\xAB\x82\xDC\x82\xB9\x82\xF1"
              "\x82\xC5\x82\xB5\x82\xBD\x81" "B\n\x93Y\x95t\xC4\xDE\xB7\xAD\xD2\xDD\xC4\x82\xF0\x8C\xB3"
              "\x82\xC9\xCC\xA7\xB2\xD9\x82\xF0\x8F" "C\x90\xB3\x82\xB5\x82\xC4\x89\xBA\x82\xB3\x82\xA2\x81" "B");
        CHECK(std::string(MesgBoxCallAt(1)->text) ==
              "\xB3\xB2\xDD\xC4\xDE\xA9\xBD\xDE\xCC\xA7\xB2\xD9\x82\xAA\x95\xCF\x8DX\x82\xB3\x82\xEA\x82"
              "\xDC\x82\xB5\x82\xBD\x81" "B\n\xB3\xB2\xDD\xC4\xDE\xA9\xBD\xDE\x82\xCC\x8D\xC4\x8BN\x93\xAE"
              "\x82\xAA\x95K\x97v\x82\xC5\x82\xB7\x81" "B");
        CHECK(std::string(MesgBoxCallAt(1)->caption) == "\xD2\xAF\xBE\xB0\xBC\xDE");
        CHECK(MesgBoxCallAt(1)->style == 0x40);
    }
}
