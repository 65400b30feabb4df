#include "sysconfig/systemfile.h"

#include <limits.h>
#include <string.h>

namespace {
int writeLimit = -1;
bool noAtomicReplace = false;
}

void SetEditWriteLimit(int bytes)
{
    writeLimit = bytes;
}

void SetEditNoAtomicReplace(bool on)
{
    noAtomicReplace = on;
}

int ReadTextFile(HANDLE file, char *buffer, int maximum)
{
    SetFilePointer(file, 0, nullptr, FILE_BEGIN);
    int got = 0;
    while (got < maximum) {
        DWORD want = static_cast<DWORD>(maximum - got < 512 ? maximum - got : 512);
        DWORD n = 0;
        if (!ReadFile(file, buffer + got, want, &n, nullptr) || n == 0)
            break;
        got += static_cast<int>(n);
    }
    // Writing back a text that stopped short would cut the file.
    if (got < maximum)
        return -1;
    int total = 0;
    for (int i = 0; i < got; i++) {
        char c = buffer[i];
        if (c == 0x1A)
            break;
        if (c == '\r' && i + 1 < got && buffer[i + 1] == '\n')
            continue;
        buffer[total++] = c;
    }
    return total;
}

// Writes one piece; false when it did not go to disk in full.
static bool WritePiece(HANDLE file, const char *piece, int n, int &onDisk)
{
    int allowed = n;
    if (writeLimit >= 0 && onDisk + n > writeLimit)
        allowed = writeLimit > onDisk ? writeLimit - onDisk : 0;
    DWORD written = 0;
    if (allowed > 0 && !WriteFile(file, piece, static_cast<DWORD>(allowed), &written, nullptr))
        written = 0;
    onDisk += static_cast<int>(written);
    return static_cast<int>(written) == n;
}

int WriteTextFile(HANDLE file, const char *buffer, int count)
{
    SetFilePointer(file, 0, nullptr, FILE_BEGIN);
    char piece[512];
    int n = 0;
    int onDisk = 0;
    for (int i = 0; i < count; i++) {
        if (n >= static_cast<int>(sizeof piece) - 1) {
            if (!WritePiece(file, piece, n, onDisk))
                return onDisk;
            n = 0;
        }
        if (buffer[i] == '\n')
            piece[n++] = '\r';
        piece[n++] = buffer[i];
    }
    if (n > 0)
        WritePiece(file, piece, n, onDisk);
    return onDisk;
}

bool OpenEditFile(const char *path, bool create, EditFile &ef)
{
    memset(&ef, 0, sizeof ef);
    ef.file = INVALID_HANDLE_VALUE;
    CopyStr(ef.path, path, sizeof ef.path);
    DWORD attributes = GetFileAttributesA(path);
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        return false;
    // Nobody else may write the file while its text is being edited here.
    ef.file = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                          create ? OPEN_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (ef.file == INVALID_HANDLE_VALUE)
        return false;
    DWORD high = 0;
    DWORD length = GetFileSize(ef.file, &high);
    bool ok = !(length == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) && high == 0 &&
              length <= static_cast<DWORD>(INT_MAX - EditSpare);
    if (ok) {
        ef.buf.size = static_cast<int>(length) + EditSpare;
        ef.buf.hMem = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, static_cast<SIZE_T>(ef.buf.size));
        ef.buf.text = ef.buf.hMem ? static_cast<char *>(GlobalLock(ef.buf.hMem)) : nullptr;
        ef.buf.total = ef.buf.text ? ReadTextFile(ef.file, ef.buf.text, static_cast<int>(length)) : -1;
        ok = ef.buf.total >= 0;
    }
    if (!ok)
        FinishEditFile(ef, false);
    return ok;
}

// The directory part of path with its final backslash ("." when none), into
// dir of MAX_PATH bytes.
static void DirectoryOf(const char *path, char *dir)
{
    size_t len = static_cast<size_t>(AfterLastBackslash(path) - path);
    if (len == 0 && path[0] && path[1] == ':')
        len = 2;
    if (len == 0 || len >= MAX_PATH) {
        CopyStr(dir, len == 0 ? "." : "", MAX_PATH);
        return;
    }
    CopyStr(dir, path, len + 1);
}

// Renames the complete new file over the old one: in one step where the
// platform can, else through a backup name so that one of the two whole
// files always carries a name.
static bool PutInPlace(const char *fresh, const char *path, const char *dir)
{
    if (!noAtomicReplace) {
        if (MoveFileExA(fresh, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        if (GetLastError() != ERROR_CALL_NOT_IMPLEMENTED)
            return false;
    }
    char backup[MAX_PATH];
    if (!GetTempFileNameA(dir, "KBO", 0, backup))
        return false;
    DeleteFileA(backup);
    if (!MoveFileA(path, backup))
        return false;
    if (!MoveFileA(fresh, path)) {
        MoveFileA(backup, path);
        return false;
    }
    DeleteFileA(backup);
    return true;
}

static bool WriteInPlace(EditFile &ef)
{
    char dir[MAX_PATH];
    char fresh[MAX_PATH];
    DirectoryOf(ef.path, dir);
    if (!dir[0] || !GetTempFileNameA(dir, "KBN", 0, fresh))
        return false;
    HANDLE out = CreateFileA(fresh, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                             nullptr);
    bool ok = out != INVALID_HANDLE_VALUE;
    if (ok) {
        const EditBuffer &eb = ef.buf;
        int expected = eb.total;
        for (int i = 0; i < eb.total; i++)
            expected += eb.text[i] == '\n';
        ok = WriteTextFile(out, eb.text, eb.total) == expected && FlushFileBuffers(out);
        ok = CloseHandle(out) && ok;
    }
    if (ok) {
        // A changed file is due for backup; hidden and system stay as they were.
        DWORD old = GetFileAttributesA(ef.path);
        DWORD kept = old == INVALID_FILE_ATTRIBUTES
                         ? 0
                         : old & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
        ok = SetFileAttributesA(fresh, kept | FILE_ATTRIBUTE_ARCHIVE);
    }
    // The old file must be closed before another can take its name.
    CloseHandle(ef.file);
    ef.file = INVALID_HANDLE_VALUE;
    ok = ok && PutInPlace(fresh, ef.path, dir);
    if (!ok)
        DeleteFileA(fresh);
    return ok;
}

bool FinishEditFile(EditFile &ef, bool write)
{
    bool ok = !write || (ef.file != INVALID_HANDLE_VALUE && ef.buf.text && WriteInPlace(ef));
    if (ef.file != INVALID_HANDLE_VALUE)
        CloseHandle(ef.file);
    ef.file = INVALID_HANDLE_VALUE;
    if (ef.buf.hMem) {
        if (ef.buf.text)
            GlobalUnlock(ef.buf.hMem);
        GlobalFree(ef.buf.hMem);
    }
    ef.buf = EditBuffer();
    return ok;
}
