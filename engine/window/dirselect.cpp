#include "window/dirselect.h"

#include "setup/scanvalue.h"
#include "setup/session.h"
#include "setup/setupfile.h"
#include "window/options.h"

enum {
    DriveButtonWidth = 35, DriveButtonHeight = 16, DriveButtonStep = 41,
    DriveButtonLeft = 20, DriveButtonRightmost = 328, ButtonsPerRow = 8,
    FolderRow = 17, DriveLetters = 26
};

// Picture kind of a drive button by drive type; 0 means no button.
static char DriveKind(UINT type)
{
    switch (type) {
    case DRIVE_UNKNOWN:
        return 0;
    case DRIVE_REMOVABLE:
        return 'd';
    case DRIVE_REMOTE:
        return 'N';
    case DRIVE_CDROM:
        return 'O';
    case DRIVE_RAMDISK:
        return 'M';
    default:
        return 'D';
    }
}

void CreateDriveButtons()
{
    SetupSession *s = session;
    // Each type is asked once, so both walks see the same drives even if a
    // disk comes or goes meanwhile.
    UINT types[DriveLetters];
    int drives = 0;
    for (int i = 0; i < DriveLetters; i++) {
        char root[4] = { static_cast<char>('A' + i), ':', '\\', 0 };
        types[i] = GetDriveTypeA(root);
        if (types[i] != DRIVE_UNKNOWN && types[i] != DRIVE_NO_ROOT_DIR)
            drives++;
    }
    // One letter more than there are drives is looked at: drives lettered
    // without gaps (a floppy, the hard disks, the CD-ROM) all get a button.
    int last = drives < DriveLetters ? drives : DriveLetters - 1;
    s->lastDriveButton = -1;
    for (int i = 0; i <= last; i++)
        if (DriveKind(types[i]))
            s->lastDriveButton++;

    int x = DriveButtonLeft;
    int y = (FolderRow - s->lastDriveButton / ButtonsPerRow) * s->charHeight;
    int k = 0;
    for (int i = 0; i <= last; i++) {
        char kind = DriveKind(types[i]);
        if (!kind)
            continue;
        char caption[4] = { kind, static_cast<char>('A' + i), ':', 0 };
        CreateWindowA("BUTTON", caption, WS_CHILD | WS_TABSTOP | BS_OWNERDRAW, x, y,
                      DriveButtonWidth, DriveButtonHeight, s->hMainWnd,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(IdFirstDrive + k)), s->hInst,
                      nullptr);
        k++;
        x += DriveButtonStep;
        if (x > DriveButtonRightmost) {
            x = DriveButtonLeft;
            y += s->charHeight;
        }
    }
}

// File names compared as the file system does: ASCII letters without case,
// the two bytes of a Shift-JIS character exactly (its second byte may look
// like a letter).
static bool SameFileName(const char *a, const char *b)
{
    while (*a && *b) {
        if (IsLeadByte(static_cast<unsigned char>(*a))) {
            if (a[0] != b[0] || a[1] != b[1])
                return false;
            if (!a[1])
                return true;
            a += 2;
            b += 2;
            continue;
        }
        char ca = *a >= 'a' && *a <= 'z' ? static_cast<char>(*a - 32) : *a;
        char cb = *b >= 'a' && *b <= 'z' ? static_cast<char>(*b - 32) : *b;
        if (ca != cb)
            return false;
        a++;
        b++;
    }
    return *a == *b;
}

// Records directory once for every name of the SEARCHKEY list that equals
// name. The list is separated by commas; a name in double quotes may hold
// commas. True when the list of found directories is full.
static bool RecordMatches(const char *directory, const char *name)
{
    SetupSession *s = session;
    if (s->foundDirCount >= MaxFoundDirs)
        return true;
    const char *list = s->searchKey;
    int pos = 0;
    for (;;) {
        for (int skipped = 0;
             skipped < TextBufSize && (list[pos] == ' ' || list[pos] == '\t' || list[pos] == ',');
             skipped++)
            pos++;
        char delim = ',';
        if (list[pos] == '"') {
            delim = '"';
            pos++;
        }
        char key[TextBufSize];
        if (ScanValue(delim, pos, list, key) <= 0)
            return false;
        if (SameFileName(key, name)) {
            CopyStr(s->foundDirs[s->foundDirCount], directory, TextBufSize);
            if (++s->foundDirCount >= MaxFoundDirs)
                return true;
        }
        if (list[pos])
            pos++;
    }
}

// Entries the search sees: hidden ones too, but not those marked only as
// system files.
static bool Seen(const WIN32_FIND_DATAA &entry)
{
    DWORD special = entry.dwFileAttributes &
                    (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY);
    return special != FILE_ATTRIBUTE_SYSTEM;
}

static bool IsSubdirectory(const WIN32_FIND_DATAA &entry)
{
    return (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && entry.cFileName[0] != '.';
}

bool SearchDirTree(const char *directory, const char *pattern)
{
    char path[TextBufSize];
    // A path cut to fit would name another directory: what does not fit is
    // not searched.
    if (FormatStr(path, sizeof path, "%s\\%s", directory, pattern) >= TextBufSize)
        return false;
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA(path, &entry);
    if (find == INVALID_HANDLE_VALUE)
        return false;
    bool subdirectories = false;
    bool full = false;
    do {
        if (!Seen(entry))
            continue;
        if (IsSubdirectory(entry))
            subdirectories = true;
        full = RecordMatches(directory, entry.cFileName);
    } while (!full && FindNextFileA(find, &entry));
    FindClose(find);
    if (full || !subdirectories)
        return full;

    find = FindFirstFileA(path, &entry);
    if (find == INVALID_HANDLE_VALUE)
        return false;
    do {
        // Links and junctions are not followed: one pointing back up the
        // tree would make the walk endless.
        if (!Seen(entry) || !IsSubdirectory(entry) ||
            (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
            continue;
        char sub[TextBufSize];
        if (FormatStr(sub, sizeof sub, "%s\\%s", directory, entry.cFileName) >= TextBufSize)
            continue;
        full = SearchDirTree(sub, pattern);
    } while (!full && FindNextFileA(find, &entry));
    FindClose(find);
    return full;
}

bool SearchInstallDir()
{
    SetupSession *s = session;
    s->foundDirCount = 0;
    if (!s->searchKey[0])
        return false;
    char field[4] = "";
    GetDlgItemTextA(s->hMainWnd, IdInstallDir, field, sizeof field);
    char letter;
    if (field[0] && field[1] == ':') {
        letter = field[0];
        if (!(letter >= 'A' && letter <= 'Z') && !(letter >= 'a' && letter <= 'z'))
            return false;
    } else {
        char current[MAX_PATH];
        DWORD len = GetCurrentDirectoryA(sizeof current, current);
        // A current directory without a drive letter (a network path)
        // names no drive to search.
        if (len < 2 || len >= sizeof current || current[1] != ':')
            return false;
        letter = current[0];
    }
    char drive[3] = { letter, ':', 0 };
    HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    SearchDirTree(drive, "*.*");
    SetCursor(previous);
    return s->foundDirCount > 0;
}

void SelectDrive(int drive)
{
    SetupSession *s = session;
    if (drive < 0 || drive >= DriveLetters)
        return;
    char text[TextBufSize] = "";
    GetDlgItemTextA(s->hMainWnd, IdInstallDir, text, TextMax);
    if (text[0] == 0 || text[1] != ':')
        CopyStr(text, "A:\\", sizeof text);
    text[0] = static_cast<char>('A' + drive);
    SetDlgItemTextA(s->hMainWnd, IdInstallDir, text);
    UpdateFreeKB();
    s->shownDirIndex = 0;
    if (s->freeKB > 0 && SearchInstallDir())
        SetDlgItemTextA(s->hMainWnd, IdInstallDir, s->foundDirs[s->shownDirIndex]);
}

void NextFoundDir()
{
    SetupSession *s = session;
    if (s->foundDirCount <= 1)
        return;
    if (++s->shownDirIndex >= s->foundDirCount || s->shownDirIndex < 0)
        s->shownDirIndex = 0;
    SetDlgItemTextA(s->hMainWnd, IdInstallDir, s->foundDirs[s->shownDirIndex]);
}
