#include "setup/commands.h"

#include <string.h>

#include "actions/dirops.h"
#include "actions/fileops.h"
#include "actions/launch.h"
#include "actions/progman.h"
#include "setup/scanvalue.h"
#include "setup/session.h"
#include "setup/texts.h"
#include "sysconfig/configsys.h"
#include "sysconfig/registry.h"

namespace {

// How a command's arguments are written.
enum ArgForm {
    NoArgs,       // ADDINIT, DELINIT, REGCLOSE
    OneArg,       // plain or quoted
    QuotedArg,    // quoted only
    TwoArgs,      // plain or quoted, separator, plain or quoted
    PlainKeyword, // plain or quoted, separator, plain keyword
    QuotedKeyword,// quoted only, separator, plain keyword
    SectionLine,  // plain section, one byte, quoted line
    MergeArgs     // destination, then sources
};

// What the status text is formatted with.
enum StatusArgs { StatusNone, StatusPlain, StatusFirst, StatusBoth };

using Action = int (*)(const char *a, const char *b);

}

struct ScriptCommand {
    const char *name;
    ArgForm form;
    int statusId; // 0: the action writes its own status
    StatusArgs statusArgs;
    Action action;
    int SetupSession::*changeFlag;
    bool abortEndsRun;
};

namespace {

int DoMakeDir(const char *dir, const char *) { return MakeDir(dir); }
int DoMove(const char *src, const char *dst) { return MoveFiles(dst, src); }
int DoCopy(const char *src, const char *dst) { return CopyFiles(dst, src, false, false); }
int DoLzCopy(const char *src, const char *dst) { return CopyFiles(dst, src, true, false); }
int DoTreeCopy(const char *src, const char *dst) { return CopyTree(dst, src, false); }
int DoLzTreeCopy(const char *src, const char *dst) { return CopyTree(dst, src, true); }
int DoSendProgman(const char *cmd, const char *) { SendProgman(cmd); return ResultGoOn; }
int DoSetAttributes(const char *pattern, const char *keyword) { SetAttributes(pattern, keyword); return ResultGoOn; }
int DoWinExec(const char *cmd, const char *keyword) { RunProgram(cmd, keyword); return ResultGoOn; }
int DoWinExecSync(const char *cmd, const char *keyword) { RunProgramSync(cmd, keyword); return ResultGoOn; }
int DoRemove(const char *pattern, const char *) { RemoveFiles(pattern, false); return ResultGoOn; }
int DoRemoveTree(const char *dir, const char *) { RemoveTree(dir); return ResultGoOn; }
int DoRemoveDir(const char *dir, const char *) { RemoveDir(dir); return ResultGoOn; }
int DoNothing(const char *, const char *) { return ResultGoOn; }
int DoRegOpen(const char *root, const char *key) { RegistryOpen(root, key); return ResultGoOn; }
int DoRegCreate(const char *root, const char *key) { RegistryCreate(root, key); return ResultGoOn; }
int DoRegDelete(const char *root, const char *key) { RegistryDelete(root, key); return ResultGoOn; }
int DoRegClose(const char *, const char *) { RegistryClose(); return ResultGoOn; }
int DoRegSetDword(const char *name, const char *number)
{
    RegistrySetDword(name, RegistryNumber(number));
    return ResultGoOn;
}
int DoRegSetString(const char *name, const char *text) { RegistrySetString(name, text); return ResultGoOn; }

// System files, as path templates with each backslash written twice.
const char ConfigSys[] = "$R\\\\CONFIG.SYS";
const char AutoexecBat[] = "$R\\\\AUTOEXEC.BAT";
const char SystemIni[] = "$W\\\\SYSTEM.INI";
const char WinIni[] = "$W\\\\WIN.INI";

int DoAddConf(const char *line, const char *) { AddSystemLine(ConfigSys, '=', nullptr, line); return ResultGoOn; }
int DoAddAuto(const char *line, const char *) { AddSystemLine(AutoexecBat, ' ', nullptr, line); return ResultGoOn; }
int DoAddPath(const char *dir, const char *) { AddPathEntry(AutoexecBat, dir); return ResultGoOn; }
int DoAddWSys(const char *sec, const char *line) { AddSystemLine(SystemIni, '=', sec, line); return ResultGoOn; }
int DoAddWIni(const char *sec, const char *line) { AddSystemLine(WinIni, '=', sec, line); return ResultGoOn; }
int DoDelConf(const char *line, const char *) { DeleteSystemLine(ConfigSys, '=', nullptr, line); return ResultGoOn; }
int DoDelAuto(const char *line, const char *) { DeleteSystemLine(AutoexecBat, ' ', nullptr, line); return ResultGoOn; }
int DoDelPath(const char *dir, const char *) { DeletePathEntry(AutoexecBat, dir); return ResultGoOn; }
int DoDelWSys(const char *sec, const char *line) { DeleteSystemLine(SystemIni, '=', sec, line); return ResultGoOn; }
int DoDelWIni(const char *sec, const char *line) { DeleteSystemLine(WinIni, '=', sec, line); return ResultGoOn; }

// In the order the interpreter compares the command word.
const ScriptCommand commands[] = {
    { "MKDIR", OneArg, 1005, StatusFirst, DoMakeDir, nullptr, true },
    { "FLMOVE", TwoArgs, 0, StatusNone, DoMove, nullptr, true },
    { "FLCOPY", TwoArgs, 0, StatusNone, DoCopy, nullptr, true },
    { "LZCOPY", TwoArgs, 0, StatusNone, DoLzCopy, nullptr, true },
    { "XFLCOPY", TwoArgs, 0, StatusNone, DoTreeCopy, nullptr, true },
    { "XLZCOPY", TwoArgs, 0, StatusNone, DoLzTreeCopy, nullptr, true },
    { "MERGE", MergeArgs, 1006, StatusFirst, nullptr, nullptr, true },
    { "SNDPRG", OneArg, 1008, StatusPlain, DoSendProgman, nullptr, false },
    { "SETATTRIBUTE", PlainKeyword, 0, StatusNone, DoSetAttributes, nullptr, false },
    { "WINEXEC", QuotedKeyword, 1017, StatusFirst, DoWinExec, nullptr, false },
    { "WINEXECSYNC", QuotedKeyword, 1017, StatusFirst, DoWinExecSync, nullptr, false },
    { "ADDCONF", QuotedArg, 1018, StatusPlain, DoAddConf, &SetupSession::configSysChanged, false },
    { "ADDAUTO", QuotedArg, 1019, StatusPlain, DoAddAuto, &SetupSession::autoexecBatChanged, false },
    { "ADDPATH", QuotedArg, 1019, StatusPlain, DoAddPath, &SetupSession::autoexecBatChanged, false },
    { "ADDWSYS", SectionLine, 1021, StatusPlain, DoAddWSys, &SetupSession::systemIniChanged, false },
    { "ADDWINI", SectionLine, 1020, StatusPlain, DoAddWIni, &SetupSession::winIniChanged, false },
    { "ADDINIT", NoArgs, 0, StatusNone, DoNothing, nullptr, false },
    { "RMDIR", OneArg, 1022, StatusFirst, DoRemoveDir, nullptr, false },
    { "REMOVE", OneArg, 1023, StatusFirst, DoRemove, nullptr, false },
    { "XREMOVE", OneArg, 1023, StatusFirst, DoRemoveTree, nullptr, false },
    { "DELCONF", QuotedArg, 1024, StatusPlain, DoDelConf, &SetupSession::configSysChanged, false },
    { "DELAUTO", QuotedArg, 1025, StatusPlain, DoDelAuto, &SetupSession::autoexecBatChanged, false },
    { "DELPATH", QuotedArg, 1025, StatusPlain, DoDelPath, &SetupSession::autoexecBatChanged, false },
    { "DELWSYS", SectionLine, 1027, StatusPlain, DoDelWSys, &SetupSession::systemIniChanged, false },
    { "DELWINI", SectionLine, 1026, StatusPlain, DoDelWIni, &SetupSession::winIniChanged, false },
    { "DELINIT", NoArgs, 0, StatusNone, DoNothing, nullptr, false },
    { "REGOPEN", TwoArgs, 1034, StatusBoth, DoRegOpen, nullptr, false },
    { "REGCLOSE", NoArgs, 1035, StatusPlain, DoRegClose, nullptr, false },
    { "REGCREATE", TwoArgs, 1034, StatusBoth, DoRegCreate, nullptr, false },
    { "REGDELETE", TwoArgs, 1036, StatusBoth, DoRegDelete, nullptr, false },
    { "REGSETVALDW", TwoArgs, 1037, StatusFirst, DoRegSetDword, nullptr, false },
    { "REGSETVALSZ", TwoArgs, 1038, StatusFirst, DoRegSetString, nullptr, false },
};

// One argument, plain or quoted: a leading quote makes the closing quote
// (not an escaped one) its end, otherwise the next blank.
int TakeArg(const char *line, int &pos, char *arg, bool quotedOnly = false)
{
    arg[0] = 0;
    if (pos < 0 || pos >= static_cast<int>(strlen(line)))
        return 0;
    if (line[pos] == '"') {
        pos++;
        return ScanValue('"', pos, line, arg);
    }
    if (quotedOnly)
        return 0;
    return ScanValue(' ', pos, line, arg);
}

// Between two arguments: the blank after a plain field or the closing quote
// of a quoted one, then one more blank if there is one.
void SkipSeparator(const char *line, int &pos)
{
    if (line[pos])
        pos++;
    if (line[pos] == ' ')
        pos++;
}

void WriteStatus(const ScriptCommand &command, const char *a, const char *b)
{
    if (!command.statusId)
        return;
    char format[TextBufSize];
    GetText(command.statusId, format);
    switch (command.statusArgs) {
    case StatusFirst:
        FormatStr(session->statusText, TextBufSize, format, a);
        break;
    case StatusBoth:
        FormatStr(session->statusText, TextBufSize, format, a, b);
        break;
    default:
        CopyStr(session->statusText, format, TextBufSize);
        break;
    }
}

// MERGE destination source...: joins the sources into the destination. The
// first source's check may refuse the overwrite, which ends the command; an
// abort confirmed there ends the run. The number a line may end with is its
// selector, not a source.
int RunMerge(const char *line, int pos, int selectorLength)
{
    char dest[TextBufSize], source[TextBufSize];
    if (TakeArg(line, pos, dest) <= 0)
        return ResultGoOn; // nothing sound to join into
    char format[TextBufSize];
    GetText(1006, format);
    FormatStr(session->statusText, TextBufSize, format, dest);
    int end = static_cast<int>(strlen(line)) - selectorLength;
    pos++;
    int count = 0;
    while (pos < end) {
        if (line[pos] == ' ')
            pos++;
        if (TakeArg(line, pos, source) > 0) {
            int result = MergeSource(dest, source, count == 0);
            if (result == ResultAbort)
                return ResultAbort;
            if (result == ResultSkip)
                return ResultGoOn;
            count++;
        }
        pos++;
    }
    return ResultGoOn;
}

}

const ScriptCommand *FindCommand(const char *word)
{
    for (const ScriptCommand &command : commands)
        if (strcmp(word, command.name) == 0)
            return &command;
    return nullptr;
}

int RunCommand(const ScriptCommand &command, const char *line, int pos, int selectorLength)
{
    if (command.form == MergeArgs)
        return RunMerge(line, pos, selectorLength);

    char a[TextBufSize] = "", b[TextBufSize] = "";
    switch (command.form) {
    case NoArgs:
        break;
    case OneArg:
        if (TakeArg(line, pos, a) <= 0)
            return ResultGoOn;
        break;
    case QuotedArg:
        if (TakeArg(line, pos, a, true) <= 0)
            return ResultGoOn;
        break;
    case TwoArgs:
    case PlainKeyword:
    case QuotedKeyword:
        if (TakeArg(line, pos, a, command.form == QuotedKeyword) <= 0)
            return ResultGoOn;
        SkipSeparator(line, pos);
        if (command.form == TwoArgs ? TakeArg(line, pos, b) <= 0 : ScanValue(' ', pos, line, b) <= 0)
            return ResultGoOn;
        break;
    case SectionLine:
        if (ScanValue(' ', pos, line, a) <= 0)
            return ResultGoOn;
        if (line[pos])
            pos++;
        if (line[pos] != '"' || TakeArg(line, pos, b, true) <= 0)
            return ResultGoOn;
        break;
    case MergeArgs:
        break;
    }
    WriteStatus(command, a, b);
    int result = command.action(a, b);
    if (command.changeFlag)
        session->*command.changeFlag = 1;
    if (result == ResultAbort && !command.abortEndsRun)
        result = ResultGoOn;
    return result;
}
