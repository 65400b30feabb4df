// WINEXEC and WINEXECSYNC with a real program of ours (tools/child.cpp) and
// the engine's real main window.
#include <doctest.h>

#include <string>

#include "actions/launch.h"
#include "actions/mesgbox.h"
#include "setup/interpreter.h"
#include "setup/session.h"
#include "script/medium.h"

namespace {

const char general[] = "[GENERAL]\nLANGUAGE=ENGLISH\nINSTALLSET1=Typical,SI,-2\n";

// LCHILD.EXE lies beside this test program.
std::string Child()
{
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string dir = path;
    return dir.substr(0, dir.rfind('\\')) + "\\LCHILD.EXE";
}

// A path as a setup file writes it, each backslash twice.
std::string Doubled(const std::string &path)
{
    std::string out;
    for (char c : path) {
        out += c;
        if (c == '\\')
            out += c;
    }
    return out;
}

std::string WaitForText(const std::string &path, int tenths = 100)
{
    for (int i = 0; i < tenths && !FileExists(path); i++)
        Sleep(100);
    return ReadBytes(path);
}

// Watches the main window during a wait: counts the paints and the ticks of
// a timer of its own, which invalidates the window and hands each tick's
// number to the test's action.
struct Watch {
    static constexpr UINT_PTR Timer = 77;
    static Watch *current;
    WNDPROC original = nullptr;
    int paints = 0, ticks = 0, ticksWhileRunning = 0;
    void (*action)(int tick) = nullptr;

    explicit Watch(void (*act)(int tick)) : action(act)
    {
        current = this;
        HWND main = session->hMainWnd;
        original = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(main, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Proc)));
        SetTimer(main, Timer, 20, nullptr);
    }
    ~Watch()
    {
        if (session && session->hMainWnd) {
            KillTimer(session->hMainWnd, Timer);
            SetWindowLongPtrA(session->hMainWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        }
        current = nullptr;
    }
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
    {
        Watch *w = current;
        if (msg == WM_PAINT)
            w->paints++;
        if (msg == WM_TIMER && wParam == Timer) {
            w->ticks++;
            if (session && session->childRunning)
                w->ticksWhileRunning++;
            InvalidateRect(hwnd, nullptr, FALSE);
            w->action(w->ticks);
            return 0;
        }
        return CallWindowProcA(w->original, hwnd, msg, wParam, lParam);
    }
};
Watch *Watch::current = nullptr;

std::string goFile;

void CreateGoFile()
{
    WriteBytes(goFile, "go");
}

// The system menu's Close, as a user would choose it.
void CloseFromSystemMenu()
{
    PostMessageA(session->hMainWnd, WM_SYSCOMMAND, SC_CLOSE, 0);
}

bool CloseQueued()
{
    MSG msg;
    return PeekMessageA(&msg, session->hMainWnd, WM_CLOSE, WM_CLOSE, PM_NOREMOVE) != 0;
}

}

TEST_CASE("ShowCommandOf knows the show keywords in any case")
{
    const struct {
        const char *keyword;
        int show;
    } rows[] = {
        { "HIDE", SW_HIDE }, { "hide", SW_HIDE }, { "Minimize", SW_MINIMIZE },
        { "restore", SW_RESTORE }, { "SHOW", SW_SHOW }, { "showMaximized", SW_SHOWMAXIMIZED },
        { "SHOWMINIMIZED", SW_SHOWMINIMIZED }, { "ShowNA", SW_SHOWNA },
        { "shownoactivate", SW_SHOWNOACTIVATE }, { "SHOWNORMAL", SW_SHOWNORMAL },
        { "SHOWMAXIMISED", SW_SHOWNORMAL }, { "SHOWN", SW_SHOWNORMAL }, { "", SW_SHOWNORMAL },
    };
    for (const auto &row : rows) {
        CAPTURE(row.keyword);
        CHECK(ShowCommandOf(row.keyword) == row.show);
    }
}

TEST_CASE("The started program receives the show command of the keyword")
{
    Medium medium(general);
    medium.start();
    const struct {
        const char *keyword;
        const char *recorded;
    } rows[] = {
        { "showmaximized", "flags 1 show 3" }, { "HIDE", "flags 1 show 0" },
        { "Minimize", "flags 1 show 6" }, { "SHOWNOACTIVATE", "flags 1 show 4" },
        { "showmaximised", "flags 1 show 1" },
    };
    for (const auto &row : rows) {
        CAPTURE(row.keyword);
        std::string out = medium.path("show.txt");
        DeleteFileA(out.c_str());
        std::string cmd = "\"" + Child() + "\" show " + out;
        RunProgramSync(cmd.c_str(), row.keyword);
        CHECK(ReadBytes(out) == row.recorded); // written before the wait ended
    }
    std::string out = medium.path("winexec.txt");
    std::string cmd = "\"" + Child() + "\" show " + out;
    RunProgram(cmd.c_str(), "ShowMinimized");
    CHECK(WaitForText(out) == "flags 1 show 2");
}

TEST_CASE("WINEXECSYNC waits for the program while the window keeps painting")
{
    Medium medium(std::string(general) + "[INSTALL-SCRIPT]\n");
    medium.start();
    UpdateWindow(session->hMainWnd);
    goFile = medium.path("go");
    std::string done = medium.path("done");
    std::string cmd = "\"" + Child() + "\" wait " + goFile + " " + done;

    // The program ends only once the window has seen ten ticks of the wait.
    Watch watch([](int tick) {
        if (tick == 10)
            CreateGoFile();
    });
    RunProgramSync(cmd.c_str(), "SHOW");
    CHECK(ReadBytes(done) == "done");
    CHECK(watch.ticks >= 10);
    CHECK(watch.ticksWhileRunning == watch.ticks);
    CHECK(watch.paints >= 5);
    CHECK(session->childRunning == 0);
    CHECK(!CloseQueued());
}

TEST_CASE("Closing the window during WINEXECSYNC ends the wait; the program runs on")
{
    Medium medium(std::string(general) + "[INSTALL-SCRIPT]\n");
    medium.start();
    goFile = medium.path("go");
    std::string done = medium.path("done");
    std::string cmd = "\"" + Child() + "\" wait " + goFile + " " + done;
    {
        Watch watch([](int tick) {
            if (tick == 5)
                CloseFromSystemMenu();
        });
        RunProgramSync(cmd.c_str(), "HIDE");
        CHECK(watch.ticks >= 5);
        CHECK(watch.ticks < 100);
    }
    CHECK(session != nullptr); // not closed under the waiting action
    CHECK(session->childRunning == 0);
    CHECK(CloseQueued());
    CHECK(!FileExists(done));
    CreateGoFile();
    CHECK(WaitForText(done) == "done");
    medium.pumpUntilClosed();
    CHECK(session == nullptr);
}

TEST_CASE("A program that cannot be started is reported with its error code and the script goes on")
{
    Medium medium(std::string(general) +
                  "[INSTALL-SCRIPT]\n"
                  "WINEXEC \"C:\\\\windows\\\\KBMISSING.EXE /x\" SHOW\n"
                  "WINEXECSYNC \"C:\\\\windows\\\\KBMISSING.EXE\" show\n"
                  "MKDIR $A\n");
    std::string app = medium.path("APP");
    medium.start();
    medium.startInstall(app);
    MesgBoxResetSeam();
    for (int i = 0; i < 3; i++)
        MesgBoxQueueAnswer(IDOK);
    CHECK(medium.runToEnd() == 4);
    REQUIRE(MesgBoxCallCount() == 3);
    CHECK(std::string(MesgBoxCallAt(0)->text) == ">C:\\windows\\KBMISSING.EXE /x is Failed. \nERRCODE = 2");
    CHECK(std::string(MesgBoxCallAt(0)->caption) == "Message");
    CHECK(MesgBoxCallAt(0)->style == 0x40);
    CHECK(std::string(MesgBoxCallAt(1)->text) == ">C:\\windows\\KBMISSING.EXE is Failed. \nERRCODE = 2");
    CHECK(MesgBoxCallAt(1)->style == 0x40);
    CHECK(session->childRunning == 0);
    CHECK(FileExists(app));
}

TEST_CASE("Abort answered No during WINEXECSYNC starts no second step while the program runs")
{
    Medium medium(std::string(general) + "[INSTALL-SCRIPT]\n"
                  "WINEXECSYNC \"" + Doubled(Child()) + " wait $A\\\\go $A\\\\done\" SHOW\n"
                  "MKDIR $A\\\\NEXT\n");
    std::string app = medium.path("APP");
    CreateDirectoryA(app.c_str(), nullptr);
    medium.start();
    medium.startInstall(app);
    MesgBoxResetSeam();
    SetTimer(session->hMainWnd, 1, 50, nullptr); // the script's own ticks go on meanwhile
    goFile = app + "\\go";
    {
        // The Abort button, answered No; later the program may end.
        Watch watch([](int tick) {
            if (tick == 3) {
                MesgBoxQueueAnswer(IDNO);
                SendMessageA(session->hMainWnd, WM_COMMAND, IdAbort, 0);
            } else if (tick == 20) {
                CreateGoFile();
            }
        });
        RunScriptStep();
    }
    KillTimer(session->hMainWnd, 1);
    REQUIRE(MesgBoxCallCount() == 1);
    CHECK(std::string(MesgBoxCallAt(0)->caption) == "Abort");
    CHECK(ReadBytes(app + "\\done") == "done");
    CHECK(session->stepCounter == 1);
    CHECK(!FileExists(app + "\\NEXT"));
    CHECK(session->busy == 0);
}
