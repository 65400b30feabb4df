#include "window/options.h"

#include <limits.h>
#include <string.h>

#include "setup/general.h"
#include "setup/scanvalue.h"
#include "setup/session.h"
#include "setup/setupfile.h"
#include "setup/texts.h"

enum { RecordsPerStep = 10, VisibleRows = 8 };

static OptionItem *LockItems()
{
    return session->hItems ? static_cast<OptionItem *>(GlobalLock(session->hItems)) : nullptr;
}

static void UnlockItems()
{
    GlobalUnlock(session->hItems);
}

static int IndexOf(const OptionItem *items, HWND window)
{
    if (!window)
        return -1;
    for (int i = 0; i < session->itemCount; i++)
        if (items[i].window == window)
            return i;
    return -1;
}

// Copies the record of window; false when it has none.
static bool ReadItem(HWND window, OptionItem &item)
{
    OptionItem *items = LockItems();
    if (!items)
        return false;
    int i = IndexOf(items, window);
    if (i >= 0)
        item = items[i];
    UnlockItems();
    return i >= 0;
}

static HWND ItemWindow(int index)
{
    OptionItem *items = LockItems();
    if (!items)
        return nullptr;
    HWND window = index >= 0 && index < session->itemCount ? items[index].window : nullptr;
    UnlockItems();
    return window;
}

static void RepaintNow(HWND window)
{
    if (!window)
        return;
    InvalidateRect(window, nullptr, FALSE);
    UpdateWindow(window);
}

bool AddOptionItem(HWND window, int sizeKB, int checked, int x, int y)
{
    int count = session->itemCount + 1;
    SIZE_T needed = count * sizeof(OptionItem);
    if (!session->hItems || GlobalSize(session->hItems) < needed) {
        SIZE_T bytes = ((count - 1) / RecordsPerStep * RecordsPerStep + RecordsPerStep) *
                       sizeof(OptionItem);
        HGLOBAL block = session->hItems
            ? GlobalReAlloc(session->hItems, bytes, GMEM_MOVEABLE | GMEM_ZEROINIT)
            : GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
        if (!block)
            return false;
        session->hItems = block;
    }
    OptionItem *items = LockItems();
    if (!items)
        return false;
    items[count - 1] = OptionItem{ window, sizeKB, checked, x, y };
    UnlockItems();
    session->itemCount = count;
    return true;
}

int GetItemSize(HWND window)
{
    OptionItem item;
    return ReadItem(window, item) ? item.sizeKB : 0;
}

POINT GetItemPos(HWND window)
{
    OptionItem item;
    POINT pos = { 0, 0 };
    if (ReadItem(window, item)) {
        pos.x = item.x;
        pos.y = item.y;
    }
    return pos;
}

int GetItemChecked(HWND window)
{
    OptionItem item;
    return ReadItem(window, item) ? item.checked : 0;
}

void SetItemChecked(HWND window, int checked)
{
    OptionItem *items = LockItems();
    if (!items)
        return;
    int i = IndexOf(items, window);
    if (i >= 0)
        items[i].checked = checked;
    UnlockItems();
    if (i >= 0)
        RepaintNow(window);
}

HWND GetNeighbourItem(HWND window, bool previous)
{
    OptionItem *items = LockItems();
    if (!items)
        return nullptr;
    int i = IndexOf(items, window);
    HWND neighbour = nullptr;
    if (i >= 0) {
        int j = previous ? i - 1 : i + 1;
        if (j >= 0 && j < session->itemCount)
            neighbour = items[j].window;
    }
    UnlockItems();
    return neighbour;
}

void SetFocusItem(int id)
{
    session->focusItemId = id;
    HWND row = GetDlgItem(session->hOptionList, id);
    HWND old = session->hFocusItem;
    if (row == old)
        return;
    // The painter highlights hFocusItem, so it must name the new row before
    // the old one is redrawn plain.
    session->hFocusItem = row;
    RepaintNow(old);
    RepaintNow(row);
}

void ScrollToFocusItem()
{
    HWND list = session->hOptionList;
    int pitch = RowPitch();
    POINT pos = GetItemPos(GetDlgItem(list, session->focusItemId));
    int row = (pos.y - 2) / pitch;
    int oldPos = GetScrollPos(list, SB_VERT);
    int top = oldPos / pitch;
    if (row >= top && row <= top + VisibleRows - 1)
        return;
    int newTop = row > top + VisibleRows - 1 ? row - (VisibleRows - 1) : row;
    SetScrollPos(list, SB_VERT, newTop * pitch, TRUE);
    // The rows move by what the position really moved (it may have been off
    // the row grid, or clamped to the range), so they stay where painted.
    ScrollWindow(list, 0, oldPos - GetScrollPos(list, SB_VERT), nullptr, nullptr);
}

void UpdateNeedKB()
{
    long long sum = 0;
    OptionItem *items = LockItems();
    if (items) {
        for (int i = 0; i < session->itemCount; i++)
            if (items[i].checked)
                sum += items[i].sizeKB;
        UnlockItems();
    }
    int needKB = sum > INT_MAX ? INT_MAX : sum < INT_MIN ? INT_MIN : static_cast<int>(sum);
    if (needKB == session->needKB)
        return;
    session->needKB = needKB;
    if (session->page == PageOptions)
        InvalidateRect(session->hMainWnd, &session->rcDisk, FALSE);
}

// Rewrites a row's kind letter (R radio, C check) when it changes.
static void SetKindLetter(HWND row, char letter)
{
    char caption[TextBufSize];
    GetWindowTextA(row, caption, sizeof caption);
    if (caption[0] && caption[0] != letter) {
        caption[0] = letter;
        SetWindowTextA(row, caption);
    }
}

void ApplyInstallSet()
{
    SetupSession *s = session;
    char definition[TextBufSize], field[TextBufSize];
    GetText(SetTextBase + 1 + static_cast<short>(s->installSetIndex), definition);

    // A set replaces whatever the user clicked before.
    for (int i = 0; i < s->itemCount; i++)
        SetItemChecked(ItemWindow(i), 0);

    static const char *const kinds[] = { "SI", "MI", "CI", "SD", "CD" };
    s->installKind = 3;
    int at = 0;
    bool more = ScanValue(',', at, definition, field) > 0;
    if (more) {
        for (int k = 0; k < 5; k++)
            if (strcmp(field, kinds[k]) == 0)
                s->installKind = k + 1;
        at++;
        more = ScanValue(',', at, definition, field) > 0;
    }
    s->selectedMode = more ? DecimalValue(field) : -2;

    // Mode rows are radio buttons with one selected mode, check boxes
    // otherwise; their letters follow every set so the look matches the
    // click behaviour.
    for (int i = 0; i < s->itemCount; i++) {
        HWND row = ItemWindow(i);
        int id = GetDlgCtrlID(row);
        if (!IsModeId(id))
            continue;
        if (s->selectedMode == -1 || s->selectedMode == id - IdFirstMode)
            SetItemChecked(row, 1);
        SetKindLetter(row, s->selectedMode >= 0 ? 'R' : 'C');
    }

    while (more) {
        at++;
        if (ScanValue(',', at, definition, field) <= 0)
            break;
        int n = DecimalValue(field);
        if (n == -1) {
            for (int i = 0; i < s->itemCount; i++) {
                HWND row = ItemWindow(i);
                if (IsOptionId(GetDlgCtrlID(row)))
                    SetItemChecked(row, 1);
            }
            break;
        }
        // Only option numbers: 1000 + 300 would be the row of mode 0.
        if (n >= 0 && n <= LastItemNumber)
            SetItemChecked(GetDlgItem(s->hOptionList, IdFirstOption + n), 1);
    }

    UpdateNeedKB();
    UpdateFreeKB();
}

void ShowComment(int kind, int number)
{
    SetupSession *s = session;
    if (kind < CommentMode || kind > CommentOption || s->commentKeyPos[kind] == -1)
        return;
    // A position of its own: readPos belongs to whoever reads the script.
    int pos = s->commentKeyPos[kind];
    int counted = 0;
    char line[TextBufSize], key[TextBufSize], value[TextBufSize];
    for (;;) {
        int len = ReadSetupLine(pos, line);
        pos++;
        // An empty line (a lone CR included) or a section header ends the block.
        if (len == -1 || line[0] == 0 || line[0] == '[')
            return;
        int at = 0, n;
        ScanValue('=', at, line, key);
        if (!KeyWithIndex(key, CommentKeyNames[kind], n))
            continue;
        bool fits = kind == CommentSet ? counted == number : n == number;
        counted++;
        if (!fits)
            continue;
        at++;
        if (ScanValue(',', at, line, value) <= 0)
            continue;
        CopyStr(s->commentText, value, sizeof s->commentText);
        RECT area = s->rcText;
        InflateRect(&area, -10, -(s->charHeight / 2 + 2));
        InvalidateRect(s->hMainWnd, &area, FALSE);
        return;
    }
}

// Drive number (A = 1) of the current directory; 0 when it has no letter.
static int CurrentDrive()
{
    char dir[TextBufSize];
    DWORD len = GetCurrentDirectoryA(sizeof dir, dir);
    if (len < 2 || len >= sizeof dir || dir[1] != ':')
        return 0;
    char c = dir[0];
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 1;
    if (c >= 'A' && c <= 'Z')
        return c - 'A' + 1;
    return 0;
}

static int FreeKBOfDrive(int drive)
{
    char root[4] = { static_cast<char>('A' + drive - 1), ':', '\\', 0 };
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
    // An empty floppy drive must read as 0 KB, not ask for a disk.
    UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS);
    BOOL ok = GetDiskFreeSpaceA(drive > 0 ? root : nullptr, &sectorsPerCluster, &bytesPerSector,
                                &freeClusters, &clusters);
    SetErrorMode(oldMode);
    if (!ok)
        return 0;
    // Disks beyond 4 GB would wrap in 32 bits; the figure is kept whole and
    // capped at what the field holds.
    unsigned long long clusterBytes =
        static_cast<unsigned long long>(sectorsPerCluster) * bytesPerSector;
    unsigned long long kb;
    if (clusterBytes != 0 && freeClusters > ULLONG_MAX / clusterBytes)
        kb = ULLONG_MAX;
    else
        kb = (clusterBytes * freeClusters) >> 10;
    return kb > INT_MAX ? INT_MAX : static_cast<int>(kb);
}

void UpdateFreeKB()
{
    SetupSession *s = session;
    char start[4] = "";
    GetDlgItemTextA(s->hMainWnd, IdInstallDir, start, sizeof start);
    int drive = CurrentDrive();
    if (start[0] && start[1] == ':') {
        char c = start[0];
        if (c >= 'A' && c <= 'Z')
            drive = c - 'A' + 1;
        else if (c >= 'a' && c <= 'z')
            drive = c - 'a' + 1;
        else
            drive = -1;
    }
    if (drive == s->freeDrive)
        return;
    int kb = drive == -1 ? 0 : FreeKBOfDrive(drive);
    if (kb != s->freeKB) {
        s->freeKB = kb;
        if (s->page == PageDirectory || s->page == PageOptions)
            InvalidateRect(s->hMainWnd, &s->rcDisk, FALSE);
    }
    s->freeDrive = drive;
}

void ShowItemComment(int id)
{
    if (IsOptionId(id))
        ShowComment(CommentOption, id - IdFirstOption);
    else if (IsModeId(id))
        ShowComment(CommentMode, id - IdFirstMode);
}
