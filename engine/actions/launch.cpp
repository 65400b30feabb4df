#include "actions/launch.h"

#include <string.h>

#include "actions/mesgbox.h"
#include "setup/session.h"
#include "window/keyfilter.h"

int ShowCommandOf(const char *keyword)
{
    static const struct {
        const char *name;
        int show;
    } table[] = {
        { "HIDE", SW_HIDE },
        { "MINIMIZE", SW_MINIMIZE },
        { "RESTORE", SW_RESTORE },
        { "SHOW", SW_SHOW },
        { "SHOWMAXIMIZED", SW_SHOWMAXIMIZED },
        { "SHOWMINIMIZED", SW_SHOWMINIMIZED },
        { "SHOWNA", SW_SHOWNA },
        { "SHOWNOACTIVATE", SW_SHOWNOACTIVATE },
        { "SHOWNORMAL", SW_SHOWNORMAL },
    };
    for (const auto &entry : table)
        if (lstrcmpiA(keyword, entry.name) == 0)
            return entry.show;
    return SW_SHOWNORMAL;
}

static void ReportLaunchFailure(const char *commandLine, long code)
{
    char text[TextBufSize];
    FormatStr(text, sizeof text, session->launchFailFormat, commandLine, static_cast<int>(code));
    MesgBox(text, ButtonCaption(306), 0x40);
}

void RunProgram(const char *commandLine, const char *keyword)
{
    UINT result = WinExec(commandLine, ShowCommandOf(keyword));
    if (result < 32)
        ReportLaunchFailure(commandLine, result);
}

void RunProgramSync(const char *commandLine, const char *keyword)
{
    STARTUPINFOA startup;
    memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(ShowCommandOf(keyword));
    PROCESS_INFORMATION process;
    char cmd[TextBufSize];
    CopyStr(cmd, commandLine, sizeof cmd); // CreateProcessA may write into it
    if (!CreateProcessA(nullptr, cmd, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        ReportLaunchFailure(commandLine, static_cast<long>(GetLastError()));
        return;
    }
    session->childRunning = 1;
    HWND main = session->hMainWnd;
    // Sleeps until the child ends or a message arrives instead of polling;
    // stops when a WM_CLOSE for the main window is at the head of its
    // messages, leaving it queued.
    for (;;) {
        DWORD code = 0;
        if (!GetExitCodeProcess(process.hProcess, &code) || code != STILL_ACTIVE)
            break;
        MSG msg;
        if (main && PeekMessageA(&msg, main, 0, 0, PM_NOREMOVE)) {
            if (msg.message == WM_CLOSE)
                break;
            if (GetMessageA(&msg, main, 0, 0) > 0)
                FilterMessage(&msg);
            continue;
        }
        MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, INFINITE, QS_ALLINPUT);
    }
    session->childRunning = 0;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}
