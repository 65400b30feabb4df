#include "sysconfig/restart.h"

#include "actions/mesgbox.h"
#include "setup/session.h"
#include "setup/texts.h"
#include "sysconfig/configsys.h"

namespace {
constexpr int InfoStyle = MB_ICONINFORMATION | MB_OK;
}

int CheckSystemFile(const char *pathTemplate, const char *shownName, const char *addName)
{
    char path[TextBufSize];
    ExpandPathTemplate(pathTemplate, path);
    if (path[0] && GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES)
        return 1;
    char addPath[TextBufSize];
    MakeAddFileName(path, addPath);
    char format[TextBufSize];
    char text[TextBufSize];
    if (path[0] && GetFileAttributesA(addPath) != INVALID_FILE_ATTRIBUTES) {
        GetText(1031, format);
        FormatStr(text, sizeof text, format, shownName, addName);
    } else {
        GetText(1032, format);
        FormatStr(text, sizeof text, format, shownName);
    }
    MesgBox(text, ButtonCaption(306), InfoStyle);
    return 0;
}

int ShowRestartReport()
{
    SetupSession *s = session;
    // CONFIG.SYS and AUTOEXEC.BAT are reported before the INI files.
    if (s->configSysChanged)
        s->configSysChanged = CheckSystemFile("$R\\\\CONFIG.SYS", "CONFIG.SYS", "CONFIG.ADD");
    if (s->autoexecBatChanged)
        s->autoexecBatChanged = CheckSystemFile("$R\\\\AUTOEXEC.BAT", "AUTOEXEC.BAT", "AUTOEXEC.ADD");
    if (s->systemIniChanged)
        s->systemIniChanged = CheckSystemFile("$W\\\\SYSTEM.INI", "SYSTEM.INI", "SYSTEM.ADD");
    if (s->winIniChanged)
        s->winIniChanged = CheckSystemFile("$W\\\\WIN.INI", "WIN.INI", "WIN.ADD");
    int id = 1030;
    if (s->configSysChanged || s->autoexecBatChanged)
        id = 1029;
    else if (s->winIniChanged || s->systemIniChanged)
        id = 1028;
    char text[TextBufSize];
    GetText(id, text);
    return MesgBox(text, ButtonCaption(306), InfoStyle);
}
