#include "medium.h"

#include <doctest.h>

#include "actions/mesgbox.h"
#include "setup/interpreter.h"
#include "setup/session.h"
#include "window/mainwnd.h"
#include "window/startup.h"

Medium::Medium(const std::string &setupText)
{
    GetCurrentDirectoryA(sizeof savedDir, savedDir);
    setupDir = root / "SETUP";
    CreateDirectoryA(setupDir.c_str(), nullptr);
    write("SETUP\\KELBRINE.INI", setupText);
}

Medium::~Medium()
{
    if (session && session->hMainWnd)
        DestroyWindow(session->hMainWnd);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
    MesgBoxResetSeam();
    SetCurrentDirectoryA(savedDir);
}

void Medium::write(const std::string &relative, const std::string &bytes) const
{
    std::string full = root / relative;
    std::string dir = full.substr(0, full.rfind('\\'));
    CreateDirectoryA(dir.c_str(), nullptr);
    REQUIRE(WriteBytes(full, bytes));
}

void Medium::start()
{
    static bool registered = false;
    HINSTANCE hInst = GetModuleHandleA(nullptr);
    if (!registered)
        registered = RegisterClasses(hInst);
    std::string commandLine = "\"" + setupDir + "\\KELBRINE.EXE\" /x";
    REQUIRE(InitInstance(hInst, commandLine.c_str()));
}

void Medium::startInstall(const std::string &installDir)
{
    SetDlgItemTextA(session->hMainWnd, IdInstallDir, installDir.c_str());
    MesgBoxQueueAnswer(IDOK);
    StartInstall();
    REQUIRE(session->stepCounter == 0);
    KillTimer(session->hMainWnd, 1);
}

int Medium::runToEnd(int limit)
{
    int steps = 0;
    while (session && session->hMainWnd && steps < limit) {
        RunScriptStep();
        steps++;
        if (session->busy)
            break; // ended: the report was shown or the run aborted
    }
    return steps;
}

void Medium::pumpUntilClosed()
{
    MSG msg;
    for (int i = 0; i < 1000 && session; i++) {
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        else
            Sleep(1);
    }
}
