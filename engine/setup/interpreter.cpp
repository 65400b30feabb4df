#include "setup/interpreter.h"

#include <string.h>

#include "actions/mesgbox.h"
#include "setup/commands.h"
#include "setup/scanvalue.h"
#include "setup/session.h"
#include "setup/setupfile.h"
#include "setup/texts.h"
#include "sysconfig/restart.h"
#include "window/options.h"

// -2 as the selector's fields hold it.
static const unsigned NotANumber = 0u - 2u;

LineSelector ParseLineSelector(const char *line, int &length)
{
    int len = static_cast<int>(strlen(line));
    // Unsigned arithmetic: a long run of digits wraps instead of overflowing.
    unsigned value[2] = { 0, 0 };
    unsigned place[2] = { 1, 1 };
    int field = 0;
    int i = len - 1;
    for (; i >= 0; i--) {
        char c = line[i];
        if (c == ' ') {
            if (field == 1)
                break;
            field = 1;
        } else if (c >= '0' && c <= '9') {
            if (static_cast<int>(value[field]) >= 0) {
                value[field] += static_cast<unsigned>(c - '0') * place[field];
                place[field] *= 10;
            } else {
                value[field] = NotANumber;
                if (field == 0)
                    value[1] = NotANumber;
                break;
            }
        } else if (c == '-') {
            value[field] = 0u - value[field];
        } else {
            value[field] = NotANumber;
            if (field == 0)
                value[1] = NotANumber;
            break;
        }
    }
    if (len == 0) {
        length = 0;
        return { -1, -1 };
    }
    length = len - 1 - (i < 0 ? -1 : i);
    if (value[0] == NotANumber && value[1] != NotANumber) {
        unsigned t = value[0];
        value[0] = value[1];
        value[1] = t;
    }
    return { static_cast<short>(value[1]), static_cast<short>(value[0]) };
}

static bool RowChecked(int id)
{
    if (!session->hOptionList)
        return false;
    HWND row = GetDlgItem(session->hOptionList, id);
    return row && GetItemChecked(row);
}

bool IsLineSelected(int mode, int option)
{
    if (mode >= 0 && !RowChecked(IdFirstMode + mode))
        return false;
    if (option < 0)
        return true;
    return RowChecked(IdFirstOption + option);
}

// Reads the next line of the script that has a first word, skipping empty
// lines and lines that start with a blank. pos is left after the blank that
// ended the word. Returns false at the end of the section; readPos then
// stands at the start of the line that ended it, so every later step stops
// there too.
static bool NextScriptLine(char *line, char *word, int &pos)
{
    int &readPos = session->readPos;
    for (;;) {
        int len = ReadSetupLine(readPos, line);
        if (len == -1)
            return false;
        if (line[0] == '[') {
            readPos -= len;
            return false;
        }
        readPos++;
        if (len == 0 || line[0] == 0)
            continue;
        pos = 0;
        if (ScanValue(' ', pos, line, word) <= 0)
            continue;
        pos++;
        return true;
    }
}

// Opens a new group g when it has commands and its label changed. Groups
// beyond the last entry are joined to it, so a script with more disk labels
// than entries still counts every command.
static void CloseGroup(int &g, int &t, char *previous, const char *current)
{
    session->groupSteps[g] = t;
    if (g < MaxDiskGroups - 1) {
        g++;
        t = 0;
    }
    CopyStr(previous, current, TextBufSize);
}

int CountScriptSteps()
{
    SetupSession *s = session;
    s->readPos = (s->installKind >= 1 && s->installKind <= 3) ? s->scriptPos[0] : s->scriptPos[1];
    char current[TextBufSize] = "#", previous[TextBufSize] = "#";
    int g = 0, t = 0, n = 0;
    for (int i = 0; i < MaxDiskGroups; i++)
        s->groupSteps[i] = 0;
    char line[TextBufSize], word[TextBufSize], label[TextBufSize];
    int pos;
    while (NextScriptLine(line, word, pos)) {
        if (word[0] == ':') {
            pos = 1;
            if (ScanValue(' ', pos, line, label) <= 0)
                continue;
            if (n > 0 && strcmp(current, previous) != 0)
                CloseGroup(g, t, previous, current);
            t += n;
            n = 0;
            CopyStr(current, label, TextBufSize);
        } else {
            int selLen;
            LineSelector sel = ParseLineSelector(line, selLen);
            if (IsLineSelected(sel.mode, sel.option) && FindCommand(word))
                n++;
        }
    }
    if (n > 0 && strcmp(current, previous) != 0)
        CloseGroup(g, t, previous, current);
    s->groupSteps[g] = n + t;
    s->lastGroup = g;
    int total = 0;
    for (int i = 0; i <= s->lastGroup; i++)
        total += s->groupSteps[i];
    return total;
}

int GroupOfStep(int step)
{
    int sum = 0;
    for (int i = 0; i <= session->lastGroup && i < MaxDiskGroups; i++) {
        sum += session->groupSteps[i];
        if (sum >= step)
            return i;
    }
    return 0;
}

// Asks whether to abort the installation; true when the user said Yes.
static bool ConfirmAbort()
{
    char text[TextBufSize];
    GetText(1001, text);
    return MesgBox(text, ButtonCaption(307), 0x144) == IDYES;
}

// Makes the directory of the disk group current, asking for the disk when it
// cannot be entered. Returns false when the user aborted the installation.
static bool EnterGroupDirectory(const char *label)
{
    char path[TextBufSize] = "";
    if (strlen(session->sourceDir) >= 3) {
        CopyStr(path, session->sourceDir, TextBufSize);
        if (label[0] != '#') {
            char *slash = strrchr(path, '\\');
            if (slash) {
                slash[1] = 0;
                AppendStr(path, label, TextBufSize);
            } else {
                CopyStr(path, label, TextBufSize);
            }
        }
    }
    if (path[0] && SetCurrentDirectoryA(path))
        return true;
    char text[TextBufSize], format[TextBufSize];
    if (label[0] == '#') {
        GetText(1003, text);
    } else {
        GetText(1002, format);
        FormatStr(text, sizeof text, format, label);
    }
    for (;;) {
        int answer = MesgBox(text, ButtonCaption(306), 0x41);
        if (answer == IDOK)
            return true;
        if (answer == IDCANCEL && ConfirmAbort())
            return false;
    }
}

static void InvalidateProgressArea(int topRows, double bottomRows, int dx, int dy)
{
    RECT rc;
    GetClientRect(session->hMainWnd, &rc);
    int top = rc.top, left = rc.left;
    SetRect(&rc, left + 16, top + topRows * session->charHeight, rc.right - 17,
            top + static_cast<int>(bottomRows * session->charHeight));
    InflateRect(&rc, -dx, -dy);
    InvalidateRect(session->hMainWnd, &rc, FALSE);
}

// Ends the run: the main window closes, busy stays set.
static void EndRun()
{
    PostMessageA(session->hMainWnd, WM_CLOSE, 0, 0);
}

void RunScriptStep()
{
    SetupSession *s = session;
    s->stepCounter++;
    s->busy = 1;
    if (s->stepCounter > s->stepTotal) {
        ShowRestartReport();
        EndRun();
        return;
    }
    char label[TextBufSize] = "#";
    char description[TextBufSize] = "";
    if (s->readPos == -1) {
        s->busy = 0;
        return;
    }
    InvalidateProgressArea(15, 20.5, 10, s->charHeight / 2 + 2);
    int oldGroup = s->currentGroup;
    s->currentGroup = GroupOfStep(s->stepCounter);
    bool newGroup = s->currentGroup != oldGroup;
    if (newGroup || s->stepCounter == 1)
        InvalidateProgressArea(2, 14, 8, s->charHeight);

    char line[TextBufSize], word[TextBufSize];
    int pos;
    while (NextScriptLine(line, word, pos)) {
        if (word[0] == ':') {
            int at = 1;
            ScanValue(' ', at, line, label);
            at++;
            ScanValue('\n', at, line, description);
            continue;
        }
        int selLen;
        LineSelector sel = ParseLineSelector(line, selLen);
        if (!IsLineSelected(sel.mode, sel.option))
            continue;
        if ((newGroup || s->stepCounter == 1) && description[0])
            CopyStr(s->commentText, description, TextBufSize);
        if (newGroup && !EnterGroupDirectory(label)) {
            EndRun();
            return;
        }
        const ScriptCommand *command = FindCommand(word);
        if (command) {
            if (RunCommand(*command, line, pos, selLen) == ResultAbort) {
                EndRun();
                return;
            }
            break;
        }
    }
    UpdateWindow(s->hMainWnd);
    s->busy = 0;
}
