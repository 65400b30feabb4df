#include "actions/fileutil.h"

#include <string.h>

#include "actions/mesgbox.h"
#include "actions/patterns.h"
#include "setup/session.h"
#include "setup/texts.h"
#include "window/paint.h"

bool JoinPath(char *out, const char *dirOf, const char *name, const char *tail)
{
    size_t dirLen = DirPrefixLength(dirOf);
    size_t nameLen = strlen(name), tailLen = strlen(tail);
    if (dirLen + nameLen + tailLen > TextMax) {
        out[0] = 0;
        return false;
    }
    memmove(out, dirOf, dirLen);
    memcpy(out + dirLen, name, nameLen);
    memcpy(out + dirLen + nameLen, tail, tailLen + 1);
    return true;
}

bool PathExists(const char *path)
{
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

bool SameName(const char *a, const char *b)
{
    for (;; a++, b++) {
        char x = *a >= 'A' && *a <= 'Z' ? *a + 32 : *a;
        char y = *b >= 'A' && *b <= 'Z' ? *b + 32 : *b;
        if (x != y)
            return false;
        if (!x)
            return true;
    }
}

static bool FileIdentity(const char *path, BY_HANDLE_FILE_INFORMATION *info)
{
    HANDLE h = CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    bool ok = GetFileInformationByHandle(h, info) != 0;
    CloseHandle(h);
    return ok;
}

bool SameFile(const char *a, const char *b)
{
    if (SameName(a, b))
        return true;
    BY_HANDLE_FILE_INFORMATION x, y;
    return FileIdentity(a, &x) && FileIdentity(b, &y) &&
           x.dwVolumeSerialNumber == y.dwVolumeSerialNumber &&
           x.nFileIndexHigh == y.nFileIndexHigh && x.nFileIndexLow == y.nFileIndexLow;
}

static bool ToDosTime(const FILETIME &utc, DosTime *out)
{
    FILETIME local;
    return FileTimeToLocalFileTime(&utc, &local) &&
           FileTimeToDosDateTime(&local, &out->date, &out->time);
}

bool ReadDosTime(HANDLE file, DosTime *out)
{
    FILETIME written;
    return GetFileTime(file, nullptr, nullptr, &written) && ToDosTime(written, out);
}

// Read from the directory entry rather than an open file, so that a file
// another program holds open still has a time.
bool ReadPathDosTime(const char *path, DosTime *out)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    return GetFileAttributesExA(path, GetFileExInfoStandard, &data) &&
           ToDosTime(data.ftLastWriteTime, out);
}

void WriteDosTime(HANDLE file, const DosTime &t)
{
    FILETIME local, utc;
    if (DosDateTimeToFileTime(t.date, t.time, &local) && LocalFileTimeToFileTime(&local, &utc))
        SetFileTime(file, nullptr, nullptr, &utc);
}

void WritePathDosTime(const char *path, const DosTime &t)
{
    HANDLE h = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return;
    WriteDosTime(h, t);
    CloseHandle(h);
}

void ShowStatus(int textId, const char *a, const char *b)
{
    char format[TextBufSize];
    GetText(textId, format);
    FormatStr(session->statusText, TextBufSize, format, a, b);
    RedrawStatus(session->hMainWnd);
}

int AskWithPath(int textId, const char *arg, int style)
{
    char format[TextBufSize], text[TextBufSize];
    GetText(textId, format);
    FormatStr(text, sizeof text, format, arg);
    return MesgBox(text, ButtonCaption(306), style);
}

bool ConfirmAbort()
{
    char text[TextBufSize];
    GetText(1001, text);
    return MesgBox(text, ButtonCaption(307), 0x144) == IDYES;
}
