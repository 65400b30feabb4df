#include "actions/dirops.h"

#include <windows.h>
#include <string.h>

#include "actions/fileutil.h"
#include "actions/mesgbox.h"
#include "actions/patterns.h"
#include "setup/session.h"

int MakeDir(const char *dir)
{
    if (PathExists(dir))
        return ResultGoOn;
    for (;;) {
        if (CreateDirectoryA(dir, nullptr))
            return ResultGoOn;
        int answer = AskWithPath(1007, dir, MB_ABORTRETRYIGNORE | MB_ICONINFORMATION);
        if (answer == IDABORT) {
            if (ConfirmAbort())
                return ResultAbort;
        } else if (answer != IDRETRY) {
            return answer;
        }
    }
}

void RemoveDir(const char *dir)
{
    RemoveDirectoryA(dir);
}

void RemoveFiles(const char *pattern, bool recurse)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        char path[TextBufSize];
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (!recurse || found.cFileName[0] == '.')
                continue;
            char inner[TextBufSize];
            if (!JoinPath(path, pattern, found.cFileName) ||
                !JoinPath(inner, pattern, found.cFileName, "\\*.*"))
                continue;
            RemoveFiles(inner, true);
            RemoveDirectoryA(path);
        } else if (JoinPath(path, pattern, found.cFileName) && WildcardMatch(pattern, path)) {
            ShowStatus(1023, path);
            DeleteFileA(path);
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

void RemoveTree(const char *dir)
{
    if (!PathExists(dir))
        return;
    char inner[TextBufSize];
    CopyStr(inner, dir, sizeof inner);
    AppendStr(inner, "\\*.*", sizeof inner);
    // A pass may leave a directory behind while its contents go; give the
    // tree a fixed number of passes and then leave what will not go.
    for (int pass = 0; pass < 32; pass++) {
        RemoveFiles(inner, true);
        if (RemoveDirectoryA(dir))
            return;
    }
}

DWORD AttributeBits(const char *keywords)
{
    static const struct {
        const char *word;
        DWORD bit;
    } table[] = {
        {"ARCHIVE", FILE_ATTRIBUTE_ARCHIVE}, {"NORMAL", FILE_ATTRIBUTE_NORMAL},
        {"HIDDEN", FILE_ATTRIBUTE_HIDDEN},   {"READONLY", FILE_ATTRIBUTE_READONLY},
        {"SYSTEM", FILE_ATTRIBUTE_SYSTEM},   {"TEMPORARY", FILE_ATTRIBUTE_TEMPORARY},
    };
    char upper[TextBufSize];
    CopyStr(upper, keywords, sizeof upper);
    for (char *p = upper; *p; p++)
        if (*p >= 'a' && *p <= 'z')
            *p -= 32;
    DWORD bits = 0;
    for (const auto &k : table)
        if (strstr(upper, k.word))
            bits |= k.bit;
    return bits;
}

void SetAttributes(const char *pattern, const char *keywords)
{
    DWORD bits = AttributeBits(keywords);
    // The platform reads "no attribute" as "leave them"; normal is the
    // documented way to clear them all.
    DWORD value = bits ? bits : FILE_ATTRIBUTE_NORMAL;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        // The search asks for hidden files and directories besides normal
        // ones, so an entry that is system but neither of those is not
        // reached: setup files rely on that to leave system files alone.
        const DWORD special = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY;
        const DWORD asked = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DIRECTORY;
        DWORD attrs = found.dwFileAttributes;
        if ((attrs & special) && !(attrs & asked))
            continue;
        if (attrs & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        char path[TextBufSize];
        if (JoinPath(path, pattern, found.cFileName) && WildcardMatch(pattern, path)) {
            ShowStatus(1016, path);
            SetFileAttributesA(path, value);
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

// Position of the last single-byte "\" at or after from, or -1; the second
// byte of a double-byte character may be a "\" and is no separator.
static int LastBackslash(const char *text, int from)
{
    int last = -1;
    for (int i = 0; text[i]; i++) {
        if (IsDBCSLeadByte(static_cast<BYTE>(text[i])) && text[i + 1]) {
            i++;
            continue;
        }
        if (text[i] == '\\' && i >= from)
            last = i;
    }
    return last;
}

static bool ValidDirBytes(const char *text)
{
    for (int i = 0; text[i]; i++) {
        if (IsDBCSLeadByte(static_cast<BYTE>(text[i])) && text[i + 1]) {
            i++;
            continue;
        }
        if ((text[i] == ':' && i > 1) || strchr("*?/<>", text[i]))
            return false;
    }
    return true;
}

int ValidateInstallDir()
{
    char text[TextBufSize];
    text[0] = 0;
    GetDlgItemTextA(session->hMainWnd, IdInstallDir, text, TextMax);
    int len = static_cast<int>(strlen(text));
    if (len > 0 && LastBackslash(text, 0) == len - 1)
        text[--len] = 0;
    if (ValidDirBytes(text)) {
        // An install set's script creates the last level itself, so only
        // its parent has to be there.
        if (session->installKind >= 1 && session->installKind <= 3) {
            int cut = LastBackslash(text, 1);
            if (cut >= 0)
                text[cut] = 0;
        }
        len = static_cast<int>(strlen(text));
        if (len > 0 && text[len - 1] == ':')
            AppendStr(text, "\\", sizeof text);
        if (session->freeKB > 0 && PathExists(text))
            return 1;
    }
    AskWithPath(1033, text, MB_OK | MB_ICONINFORMATION);
    return 0;
}
