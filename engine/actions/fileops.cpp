#include "actions/fileops.h"

#include <windows.h>
#include <lzexpand.h>
#include <string.h>

#include "actions/dirops.h"
#include "actions/fileutil.h"
#include "actions/mesgbox.h"
#include "actions/patterns.h"
#include "setup/session.h"

// Asks for a missing source until it is there. ResultGoOn when it is,
// ResultAbort or ResultSkip when the user gave up on it.
static int WaitForSource(const char *src)
{
    while (!PathExists(src)) {
        int answer = AskWithPath(1012, src, MB_ABORTRETRYIGNORE | MB_ICONHAND | MB_DEFBUTTON2);
        if (answer == IDABORT && ConfirmAbort())
            return ResultAbort;
        if (answer == IDIGNORE)
            return ResultSkip;
        // Retry, Enter, a closed box or a declined abort: look again.
    }
    return ResultGoOn;
}

// The overwrite question for an existing dest. A newer destination is
// always asked and never offers All.
static int AskOverwrite(const char *dest, const char *src, bool withAbort)
{
    int order = CompareFileDates(dest, src);
    int style;
    int textId;
    if (order > 0) {
        textId = 1009;
        style = withAbort ? MB_OKCANCELABORT : MB_OKCANCEL;
    } else {
        if (session->overwriteAll)
            return ResultGoOn;
        textId = order < 0 ? 1010 : 1011;
        style = withAbort ? MB_OKALLCANCELABORT : MB_OKALLCANCEL;
    }
    for (;;) {
        int answer = AskWithPath(textId, dest, style | MB_ICONINFORMATION);
        if (answer == IDALL) {
            session->overwriteAll = 1;
            return ResultGoOn;
        }
        if (answer == IDCANCEL)
            return withAbort ? ResultSkip : ResultAbort;
        if (answer != IDABORT || !withAbort)
            return answer;
        if (ConfirmAbort())
            return ResultAbort;
    }
}

int CheckTarget(const char *dest, const char *src, bool withAbort)
{
    int r = WaitForSource(src);
    if (r != ResultGoOn)
        return r;
    if (!PathExists(dest))
        return ResultGoOn;
    return AskOverwrite(dest, src, withAbort);
}

int CompareFileDates(const char *a, const char *b)
{
    DosTime ta, tb;
    bool hasA = ReadPathDosTime(a, &ta), hasB = ReadPathDosTime(b, &tb);
    if (!hasA || !hasB)
        return hasA == hasB ? 0 : hasA ? -1 : 1;
    // The date word holds year, month, day and the time word hour, minute,
    // 2-second count, each from the most significant bits down, so the
    // first field that differs decides the order of the two words.
    DWORD x = static_cast<DWORD>(ta.date) << 16 | ta.time;
    DWORD y = static_cast<DWORD>(tb.date) << 16 | tb.time;
    return x > y ? 1 : x < y ? -1 : 0;
}

// srcPath = the found entry name, dstPath = the destination destPattern
// gives it. False when the entry does not match the source pattern, or a
// path does not fit in 511 bytes (a cut path would name another file).
static bool EntryPaths(char *srcPath, char *dstPath, const char *srcPattern,
                       const char *destPattern, const char *name)
{
    if (!JoinPath(srcPath, srcPattern, name) || !WildcardMatch(srcPattern, srcPath))
        return false;
    char full[2 * TextBufSize];
    CopyStr(full, name, sizeof full);
    ApplyPattern(destPattern, full, sizeof full);
    if (strlen(full) > TextMax)
        return false;
    CopyStr(dstPath, full, TextBufSize);
    return true;
}

// Writes the status line and asks what CheckTarget asks. ResultSkip when the
// entry stays as it is: skipped, the question closed without an answer, or
// the entry is its own destination however the two paths are spelt (it is
// never deleted or overwritten by itself).
static int ConfirmEntry(int statusId, const char *srcPath, const char *dstPath)
{
    ShowStatus(statusId, srcPath, dstPath);
    int r = CheckTarget(dstPath, srcPath, true);
    if (r == ResultAbort)
        return ResultAbort;
    if (r == ResultSkip || r == ResultClosed || SameFile(dstPath, srcPath))
        return ResultSkip;
    return ResultGoOn;
}

// The expanded-name rule: a compressed file copied under its own name (into
// a directory) takes the name recorded in its header, APP.EX_ -> APP.EXE; a
// destination pattern that gives another name wins.
static void UseExpandedName(char *dstPath, const char *srcPath, const char *entryName)
{
    size_t prefix = DirPrefixLength(dstPath);
    const char *destName = dstPath + prefix;
    const char *dot = strrchr(destName, '.');
    if (!SameName(destName, entryName) || strlen(destName) > 12 || !dot || dot == destName ||
        dot - destName > 8)
        return;
    char expanded[2 * TextBufSize];
    char source[TextBufSize];
    CopyStr(source, srcPath, sizeof source);
    size_t srcPrefix = DirPrefixLength(srcPath);
    if (strlen(source) >= OFS_MAXPATHNAME && srcPrefix > 0) {
        // The header is read through a 128-byte file name; the short form
        // of a long directory gets there.
        char dir[TextBufSize], shortDir[TextBufSize];
        CopyStr(dir, srcPath, srcPrefix + 1);
        DWORD n = GetShortPathNameA(dir, shortDir, sizeof shortDir);
        if (n == 0 || n >= sizeof shortDir || !JoinPath(source, shortDir, entryName))
            return;
    }
    if (GetExpandedNameA(source, expanded) < 0)
        return;
    const char *newName = expanded + DirPrefixLength(expanded);
    if (SameName(newName, entryName))
        return;
    char result[TextBufSize];
    if (JoinPath(result, dstPath, newName))
        CopyStr(dstPath, result, TextBufSize);
}

// The user agreed to replace path, so a read-only file is replaced too.
static void ClearReadOnly(const char *path)
{
    DWORD attrs = GetFileAttributesA(path);
    if (attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_READONLY) &&
        !(attrs & FILE_ATTRIBUTE_DIRECTORY))
        SetFileAttributesA(path, attrs & ~FILE_ATTRIBUTE_READONLY);
}

// LZOpenFileA keeps the name in an OFSTRUCT of 128 bytes; a longer path is
// opened by itself and handed to the LZ functions.
static INT OpenLz(char *path, WORD mode)
{
    OFSTRUCT of;
    if (strlen(path) < OFS_MAXPATHNAME)
        return LZOpenFileA(path, &of, mode);
    if (mode & OF_CREATE)
        return _lcreat(path, 0);
    HFILE file = _lopen(path, mode);
    if (file == HFILE_ERROR)
        return -1;
    INT lz = LZInit(file);
    if (lz < 0)
        _lclose(file);
    return lz;
}

static bool ExpandFile(const char *src, const char *dst)
{
    char source[TextBufSize], target[TextBufSize];
    CopyStr(source, src, sizeof source);
    CopyStr(target, dst, sizeof target);
    INT hSource = OpenLz(source, OF_READ | OF_SHARE_DENY_WRITE);
    if (hSource < 0)
        return false;
    INT hTarget = OpenLz(target, OF_CREATE | OF_WRITE);
    if (hTarget < 0) {
        LZClose(hSource);
        return false;
    }
    // The header records the expanded length; a broken body comes out short.
    LONG expected = LZSeek(hSource, 0, 2);
    LZSeek(hSource, 0, 0);
    LONG copied = LZCopy(hSource, hTarget);
    LZClose(hSource);
    LZClose(hTarget);
    return copied >= 0 && (expected < 0 || copied == expected);
}

// Copies or expands src to dst. The bytes go to a new file beside dst that
// replaces dst only when it is complete, so a failed copy (a broken
// compressed file, a full disk) leaves the old dst as it was. True when dst
// now holds the copy.
static bool CopyOneFile(const char *src, const char *dst, bool expand)
{
    char dir[TextBufSize], temp[MAX_PATH];
    size_t prefix = DirPrefixLength(dst);
    if (prefix)
        CopyStr(dir, dst, prefix + 1);
    else
        CopyStr(dir, ".", sizeof dir);
    bool viaTemp = prefix < MAX_PATH - 14 && GetTempFileNameA(dir, "kbc", 0, temp) != 0;
    const char *target = viaTemp ? temp : dst;
    if (!viaTemp)
        ClearReadOnly(dst);
    bool ok = expand ? ExpandFile(src, target) : CopyFileA(src, target, FALSE) != 0;
    if (!viaTemp)
        return ok;
    if (ok) {
        ClearReadOnly(dst);
        ok = MoveFileExA(temp, dst, MOVEFILE_REPLACE_EXISTING) != 0;
    }
    if (!ok)
        DeleteFileA(temp);
    return ok;
}

int CopyFiles(const char *destPattern, const char *srcPattern, bool expand, bool recurse)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(srcPattern, &found);
    if (search == INVALID_HANDLE_VALUE)
        return ResultGoOn;
    int result = ResultGoOn;
    do {
        const char *name = found.cFileName;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (!recurse || name[0] == '.')
                continue;
            char destDir[TextBufSize], destInner[TextBufSize], srcInner[TextBufSize];
            if (!JoinPath(destDir, destPattern, name) ||
                !JoinPath(destInner, destPattern, name, "\\*.*") ||
                !JoinPath(srcInner, srcPattern, name, "\\*.*"))
                continue;
            result = MakeDir(destDir);
            if (result == ResultGoOn)
                result = CopyFiles(destInner, srcInner, expand, true);
            if (result != ResultGoOn)
                break;
            continue;
        }
        char srcPath[TextBufSize], dstPath[TextBufSize];
        if (!EntryPaths(srcPath, dstPath, srcPattern, destPattern, name))
            continue;
        if (expand)
            UseExpandedName(dstPath, srcPath, name);
        int r = ConfirmEntry(1004, srcPath, dstPath);
        if (r == ResultAbort) {
            result = ResultAbort;
            break;
        }
        if (r == ResultSkip)
            continue;
        DosTime time;
        bool hasTime = ReadPathDosTime(srcPath, &time);
        // A failed copy leaves the old file as it was, attributes and time too.
        if (!CopyOneFile(srcPath, dstPath, expand))
            continue;
        SetFileAttributesA(dstPath, FILE_ATTRIBUTE_NORMAL);
        if (hasTime)
            WritePathDosTime(dstPath, time);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return result;
}

int CopyTree(const char *destDir, const char *srcDir, bool expand)
{
    if (!PathExists(srcDir))
        return ResultGoOn;
    if (!PathExists(destDir)) {
        int r = MakeDir(destDir);
        if (r != ResultGoOn)
            return r;
    }
    char destAll[TextBufSize], srcAll[TextBufSize];
    CopyStr(destAll, destDir, sizeof destAll);
    AppendStr(destAll, "\\*.*", sizeof destAll);
    CopyStr(srcAll, srcDir, sizeof srcAll);
    AppendStr(srcAll, "\\*.*", sizeof srcAll);
    return CopyFiles(destAll, srcAll, expand, true);
}

void AppendFile(const char *dest, const char *src)
{
    // A file joined onto itself would grow for as long as there is disk.
    if (SameFile(dest, src))
        return;
    bool existed = PathExists(dest);
    HANDLE in = CreateFileA(src, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
    if (in == INVALID_HANDLE_VALUE)
        return;
    HANDLE out = CreateFileA(dest, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE) {
        CloseHandle(in);
        return;
    }
    DosTime time;
    bool hasTime = ReadDosTime(existed ? out : in, &time);
    SetFilePointer(out, 0, nullptr, FILE_END);
    char buffer[2048] = {};
    bool whole = true;
    for (;;) {
        DWORD got = 0, put = 0;
        if (!ReadFile(in, buffer, sizeof buffer, &got, nullptr)) {
            whole = false;
            break;
        }
        if (got == 0)
            break;
        if (!WriteFile(out, buffer, got, &put, nullptr) || put != got) {
            whole = false;
            break;
        }
    }
    if (hasTime)
        WriteDosTime(out, time);
    CloseHandle(out);
    CloseHandle(in);
    // The part is consumed only when all of it arrived.
    if (whole)
        DeleteFileA(src);
}

int MoveFiles(const char *destPattern, const char *srcPattern)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(srcPattern, &found);
    if (search == INVALID_HANDLE_VALUE)
        return ResultGoOn;
    int result = ResultGoOn;
    do {
        const char *name = found.cFileName;
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name[0] == '.')
            continue;
        char srcPath[TextBufSize], dstPath[TextBufSize];
        if (!EntryPaths(srcPath, dstPath, srcPattern, destPattern, name))
            continue;
        int r = ConfirmEntry(1039, srcPath, dstPath);
        if (r == ResultAbort) {
            result = ResultAbort;
            break;
        }
        if (r == ResultSkip)
            continue;
        DosTime time;
        bool hasTime = ReadPathDosTime(srcPath, &time);
        bool moved;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            moved = MoveFileA(srcPath, dstPath) != 0;
        } else {
            // Replacing in one step keeps the old destination should the
            // move fail.
            ClearReadOnly(dstPath);
            moved = MoveFileExA(srcPath, dstPath, MOVEFILE_REPLACE_EXISTING) != 0;
        }
        if (moved && hasTime)
            WritePathDosTime(dstPath, time);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return result;
}

int MergeSource(const char *dest, const char *src, bool first)
{
    if (first) {
        int r = WaitForSource(src);
        if (r == ResultAbort)
            return ResultAbort;
        bool itself = SameFile(dest, src);
        if (r == ResultGoOn && !itself && PathExists(dest) &&
            AskOverwrite(dest, src, false) != ResultGoOn)
            return ResultSkip;
        if (!itself)
            DeleteFileA(dest);
    }
    AppendFile(dest, src);
    return ResultGoOn;
}
