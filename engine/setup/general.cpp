#include "setup/general.h"

#include <limits.h>
#include <string.h>

#include "setup/scanvalue.h"
#include "setup/session.h"
#include "setup/setupfile.h"
#include "setup/texts.h"
#include "window/options.h"

// Indexed keys are short: a name, up to four bytes of number, under 20
// bytes in all.
enum { IndexedKeyLimit = 20, MaxIndexBytes = 4, RowX = 8, RowWidth = 416, MaxSetColumns = 56 };

const char *const CommentKeyNames[3] = { "MCOMMENT", "SCOMMENT", "OCOMMENT" };

int DecimalValue(const char *text)
{
    const char *p = text;
    while (*p == ' ' || (*p >= '\t' && *p <= '\r'))
        p++;
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        p++;
    }
    long long value = 0;
    for (; *p >= '0' && *p <= '9'; p++) {
        if (value <= INT_MAX)
            value = value * 10 + (*p - '0');
    }
    if (negative)
        value = -value;
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

int KeyWithIndex(const char *key, const char *name, int &index)
{
    index = 0;
    size_t keyLen = strlen(key);
    size_t nameLen = strlen(name);
    if (keyLen >= IndexedKeyLimit || keyLen <= nameLen || keyLen > nameLen + MaxIndexBytes)
        return 0;
    if (strncmp(key, name, nameLen) != 0)
        return 0;
    int n = DecimalValue(key + nameLen);
    if (n < 0 || n > LastItemNumber)
        return 0;
    index = n;
    return 1;
}

static bool EqualsIgnoringCase(const char *a, const char *b)
{
    for (; *a && *b; a++, b++) {
        char ca = (*a >= 'a' && *a <= 'z') ? static_cast<char>(*a - 32) : *a;
        char cb = (*b >= 'a' && *b <= 'z') ? static_cast<char>(*b - 32) : *b;
        if (ca != cb)
            return false;
    }
    return *a == *b;
}

// The size after the tab, right-aligned by the painter.
static void AppendSizeText(char *text, int sizeKB)
{
    char sizeText[32];
    if (sizeKB > 1024)
        FormatStr(sizeText, sizeof sizeText, "\t%5.1f MB", sizeKB / 1024.0);
    else
        FormatStr(sizeText, sizeof sizeText, "\t%5d KB", sizeKB);
    AppendStr(text, sizeText, TextBufSize);
}

// An INSTALLMODE or OPTION line: label, optional size, and its row in the
// option list. at stands after the "=".
static void ReadRowLine(const char *line, int at, int number, bool isMode)
{
    char label[TextBufSize];
    if (ScanValue(',', at, line, label) <= 0)
        return;
    at++;
    int &maxIndex = isMode ? session->maxModeIndex : session->maxOptionIndex;
    if (number > maxIndex)
        maxIndex = number;

    char text[TextBufSize] = { isMode ? 'R' : 'C', 0 };
    AppendStr(text, label, sizeof text);
    int pitch = session->charHeight + 3;
    int y = pitch * number + 2;
    int checked = 0;
    if (isMode) {
        if (session->selectedMode == -1)
            session->selectedMode = number;
        checked = session->selectedMode == number;
    } else if (session->maxModeIndex != -1) {
        // Options follow the modes known so far, after one empty row.
        y += pitch * (session->maxModeIndex + 2);
    }
    char field[TextBufSize];
    int sizeKB = 0;
    if (ScanValue(',', at, line, field) > 0) {
        sizeKB = DecimalValue(field);
        if (sizeKB != 0)
            AppendSizeText(text, sizeKB);
    }

    int id = (isMode ? IdFirstMode : IdFirstOption) + number;
    if (GetDlgItem(session->hOptionList, id))
        return;
    HWND row = CreateWindowA("BUTTON", text, WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, RowX, y,
                             RowWidth, session->charHeight, session->hOptionList,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), session->hInst,
                             nullptr);
    if (!row)
        return;
    // A row the model cannot hold would read as unchecked yet be shown.
    if (!AddOptionItem(row, sizeKB, checked, RowX, y)) {
        DestroyWindow(row);
        return;
    }
    if (session->focusItemId == -1)
        SetFocusItem(id);
}

void ParseGeneralSection()
{
    SetupSession *s = session;
    int setCount = 0;
    int longestName = 0;
    s->readPos = 0;
    s->maxModeIndex = s->maxOptionIndex = -1;
    s->selectedMode = -1;
    s->focusItemId = -1;
    s->scriptPos[0] = s->scriptPos[1] = -1;

    char directory[TextBufSize];
    int at = 0;
    ScanValue(',', at, "$R\\\\", directory);

    char line[TextBufSize];
    for (;;) {
        int len = ReadSetupLine(s->readPos, line);
        if (len == -1)
            return;
        s->readPos++;
        if (len > 0 && strcmp(line, "[GENERAL]") == 0)
            break;
    }

    HWND setList = GetDlgItem(s->hMainWnd, IdInstallSet);
    // Every line to the end counts: keys inside the script sections are
    // settings too, as setup files have come to rely on.
    for (;;) {
        int len = ReadSetupLine(s->readPos, line);
        if (len == -1)
            break;
        s->readPos++;
        if (len <= 0 || line[0] == '[') {
            if (s->scriptPos[0] == -1 && strcmp(line, "[INSTALL-SCRIPT]") == 0)
                s->scriptPos[0] = s->readPos;
            if (s->scriptPos[1] == -1 && strcmp(line, "[DELETE-SCRIPT]") == 0)
                s->scriptPos[1] = s->readPos;
            continue;
        }
        char key[TextBufSize], value[TextBufSize];
        at = 0;
        if (ScanValue('=', at, line, key) <= 0)
            continue;
        at++;
        int n;
        if (KeyWithIndex(key, "INSTALLSET", n)) {
            int nameLen = ScanValue(',', at, line, value);
            if (nameLen <= 0)
                continue;
            // A name the list refused would shift every later set's index.
            if (SendMessageA(setList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(value)) < 0)
                continue;
            setCount++;
            if (nameLen > longestName)
                longestName = nameLen;
            at++;
            if (ScanValue('\n', at, line, value) > 0)
                PutText(SetTextBase + setCount, value);
        } else if (KeyWithIndex(key, "INSTALLMODE", n)) {
            ReadRowLine(line, at, n, true);
        } else if (KeyWithIndex(key, "OPTION", n)) {
            ReadRowLine(line, at, n, false);
        } else if (strcmp(key, "INSTALLDIR") == 0) {
            char delim = ',';
            if (line[at] == '"') {
                at++;
                delim = '"';
            }
            if (ScanValue(delim, at, line, value) > 0)
                CopyStr(directory, value, sizeof directory);
        } else if (strcmp(key, "SEARCHKEY") == 0) {
            if (ScanValue('\n', at, line, value) > 0)
                CopyStr(s->searchKey, value, sizeof s->searchKey);
        } else if (strcmp(key, "COVERPAGE") == 0) {
            if (ScanValue('\n', at, line, value) > 0)
                s->showCoverPage = EqualsIgnoringCase(value, "TRUE") ? 1 : 0;
        } else {
            for (int kind = 2; kind >= 0; kind--) {
                if (KeyWithIndex(key, CommentKeyNames[kind], n)) {
                    if (s->commentKeyPos[kind] == -1)
                        s->commentKeyPos[kind] = s->readPos - len - 1;
                    break;
                }
            }
        }
    }

    if (directory[0])
        SetDlgItemTextA(s->hMainWnd, IdInstallDir, directory);
    if (setCount > 0) {
        int columns = longestName + 5;
        if (columns > MaxSetColumns)
            columns = MaxSetColumns;
        SetWindowPos(setList, nullptr, 0, 0, s->charWidth * columns - 3,
                     s->charHeight * (setCount + 2), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageA(setList, CB_SETCURSEL, 0, 0);
    }
    ApplyInstallSet();

    int rows = (s->maxModeIndex != -1 ? s->maxModeIndex + 2 : 0) +
               (s->maxOptionIndex != -1 ? s->maxOptionIndex : 0);
    SetScrollRange(s->hOptionList, SB_VERT, 0, (s->charHeight + 3) * rows, TRUE);
}
