#include "window/mainwnd.h"

#include <string.h>

#include "actions/dirops.h"
#include "actions/mesgbox.h"
#include "setup/general.h"
#include "setup/interpreter.h"
#include "setup/session.h"
#include "setup/setupfile.h"
#include "setup/texts.h"
#include "window/dirselect.h"
#include "window/options.h"
#include "window/paint.h"

enum { ScriptTimer = 1, ScriptTimerPeriod = 50 };

static HWND CreateChild(const char *cls, const char *caption, DWORD style, int x, int y, int w,
                        int h, int id)
{
    return CreateWindowExA(0, cls, caption, WS_CHILD | style, x, y, w, h, session->hMainWnd,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), session->hInst,
                           nullptr);
}

// The child controls, in creation order, which is also the tab order.
static void CreateControls()
{
    SetupSession *s = session;
    int h = s->charHeight;
    RECT rc;
    GetClientRect(s->hMainWnd, &rc);
    DWORD button = WS_TABSTOP | BS_OWNERDRAW;
    int buttonY = 365 - (h + 10);
    CreateChild("BUTTON", ButtonCaption(303), button, 240, buttonY, 100, h + 10, IdOk);
    CreateChild("BUTTON", ButtonCaption(304), button, 360, buttonY, 100, h + 10, IdCancel);
    CreateChild("BUTTON", ButtonCaption(305), button, 360, buttonY, 100, h + 10, IdAbort);
    CreateChild("BUTTON", ButtonCaption(317), button, 380, 17 * h, 80, h + 10, IdFolder);
    RECT list;
    SetRect(&list, rc.left + 16, static_cast<int>(rc.top + 2.5 * h), rc.right - 17,
            rc.top + 12 * h + 3);
    OffsetRect(&list, 1, 1);
    s->hOptionList = CreateChild("OPLSTBOX", "", WS_BORDER | WS_VSCROLL | WS_TABSTOP, list.left,
                                 list.top, list.right - list.left, list.bottom - list.top,
                                 IdOptionList);
    HWND combo = CreateChild("COMBOBOX", nullptr, WS_TABSTOP | CBS_DROPDOWNLIST | CBS_HASSTRINGS,
                             17, 2 * h + 1, 240, h, IdInstallSet);
    CreateDriveButtons();
    HWND edit = CreateChild("EDIT", nullptr, WS_TABSTOP | ES_AUTOHSCROLL, 18,
                            static_cast<int>(19.5 * h), rc.right - 36, h, IdInstallDir);
    SendMessageA(combo, WM_SETFONT, reinterpret_cast<WPARAM>(s->hFont), 0);
    SendMessageA(edit, WM_SETFONT, reinterpret_cast<WPARAM>(s->hFont), 0);
}

static void ShowControl(int id, bool show)
{
    HWND control = GetDlgItem(session->hMainWnd, id);
    if (control)
        ShowWindow(control, show ? SW_SHOW : SW_HIDE);
}

// The rectangles the painter draws into, for page p.
static void ComputeRects(int p)
{
    SetupSession *s = session;
    RECT rc;
    GetClientRect(s->hMainWnd, &rc);
    int L = rc.left, T = rc.top, R = rc.right, h = s->charHeight, w = s->charWidth;
    switch (p) {
    case PageCover:
        SetRect(&s->rcText, L + 16, T + 2 * h, R - 17, static_cast<int>(T + 20.5 * h));
        break;
    case PageDirectory:
        SetRect(&s->rcText, L + 16, T + 5 * h, R - 17, T + 13 * h);
        SetRect(&s->rcDisk, R - 33 * w - 2, T + 13 * h + 7, R - 18, T + 14 * h + 7);
        break;
    case PageOptions:
        SetRect(&s->rcText, L + 16, static_cast<int>(T + 13.5 * h + 1), R - 17,
                static_cast<int>(T + 20.5 * h));
        SetRect(&s->rcList, L + 16, static_cast<int>(T + 2.5 * h), R - 17, T + 12 * h + 3);
        SetRect(&s->rcDisk, R - 39 * w - 2, T + 12 * h + 7, R - 18, T + 13 * h + 7);
        break;
    case PageProgress:
        SetRect(&s->rcText, L + 16, T + 2 * h, R - 17, T + 14 * h);
        SetRect(&s->rcList, L + 16, T + 15 * h, R - 17, static_cast<int>(T + 20.5 * h));
        break;
    }
}

int ShowPage(int p)
{
    SetupSession *s = session;
    if (s->page == PageNone) {
        CreateControls();
        ParseGeneralSection();
        if (s->freeKB > 0 && SearchInstallDir())
            SetDlgItemTextA(s->hMainWnd, IdInstallDir, s->foundDirs[s->shownDirIndex]);
    }
    if (!s->showCoverPage && p == PageCover)
        p = PageDirectory;

    SetFocus(s->hMainWnd);
    ShowControl(IdOk, p != PageProgress);
    ShowControl(IdCancel, p != PageProgress);
    ShowControl(IdAbort, p == PageProgress);
    bool directory = p == PageDirectory;
    ShowControl(IdInstallDir, directory);
    ShowControl(IdInstallSet, directory);
    ShowControl(IdFolder, directory);
    for (int k = 0; k <= s->lastDriveButton; k++)
        ShowControl(IdFirstDrive + k, directory);
    ShowControl(IdOptionList, p == PageOptions);
    if (p != PageCover)
        s->commentText[0] = 0;
    if (p == PageDirectory) {
        ShowComment(CommentSet, s->installSetIndex);
    } else if (p == PageOptions) {
        ShowItemComment(s->focusItemId);
    }
    SetFocus(GetDlgItem(s->hMainWnd, p == PageProgress ? IdAbort : IdOk));
    ComputeRects(p);
    InvalidateRect(s->hMainWnd, nullptr, FALSE);
    s->page = static_cast<short>(p);
    return p;
}

static int AskSpace(int id, int style)
{
    char format[TextBufSize], text[TextBufSize];
    GetText(id, format);
    FormatStr(text, sizeof text, format, static_cast<long>(session->needKB),
              static_cast<long>(session->freeKB));
    return MesgBox(text, ButtonCaption(306), style);
}

void StartInstall()
{
    SetupSession *s = session;
    if (s->stepCounter != -1)
        return;
    GetDlgItemTextA(s->hMainWnd, IdInstallDir, s->installDir, TextMax);
    UpdateNeedKB();
    UpdateFreeKB();
    bool installing = s->installKind >= 1 && s->installKind <= 3;
    if (installing) {
        if (s->needKB >= s->freeKB) {
            AskSpace(1014, 0x40);
            return;
        }
        if (AskSpace(1013, 0x41) == IDCANCEL)
            return;
    } else if (AskSpace(1015, 0x41) == IDCANCEL) {
        return;
    }
    s->stepCounter = 0;
    s->currentGroup = 0;
    s->stepTotal = CountScriptSteps();
    s->readPos = s->scriptPos[installing ? 0 : 1];
    SetTimer(s->hMainWnd, ScriptTimer, ScriptTimerPeriod, nullptr);
    ShowPage(PageProgress);
}

static void AskAbort()
{
    SetupSession *s = session;
    // Asked during a step (a program being waited for), the step is still
    // running afterwards: only the state from before the question comes back.
    int wasBusy = s->busy;
    s->busy = 1;
    char text[TextBufSize];
    GetText(1001, text);
    if (MesgBox(text, ButtonCaption(307), 0x144) == IDYES)
        PostMessageA(s->hMainWnd, WM_CLOSE, 0, 0);
    // The window may be gone once the box is closed.
    if (session)
        session->busy = wasBusy;
}

static void OnCommand(WPARAM wParam)
{
    SetupSession *s = session;
    int id = LOWORD(wParam);
    switch (id) {
    case IdOk:
        if (s->page == PageCover) {
            ShowPage(PageDirectory);
        } else if (s->page == PageDirectory) {
            if (ValidateInstallDir()) {
                if (s->installKind == 3 || s->installKind == 5)
                    ShowPage(PageOptions);
                else
                    StartInstall();
            }
        } else if (s->page == PageOptions) {
            StartInstall();
        }
        return;
    case IdCancel:
        if (s->page == PageCover || s->page == PageDirectory)
            SendMessageA(s->hMainWnd, WM_CLOSE, 0, 0);
        else if (s->page == PageOptions)
            ShowPage(PageDirectory);
        return;
    case IdAbort:
        AskAbort();
        return;
    case IdInstallDir:
        UpdateFreeKB();
        return;
    case IdInstallSet: {
        int index = static_cast<int>(SendDlgItemMessageA(s->hMainWnd, IdInstallSet, CB_GETCURSEL, 0, 0));
        if (index != CB_ERR && index != s->installSetIndex) {
            s->installSetIndex = index;
            ApplyInstallSet();
        }
        ShowComment(CommentSet, s->installSetIndex);
        return;
    }
    case IdFolder:
        NextFoundDir();
        return;
    }
    // Drive buttons act on a plain click only.
    if (wParam >= IdFirstDrive && static_cast<int>(wParam) <= IdFirstDrive + s->lastDriveButton) {
        char caption[TextBufSize] = "";
        GetDlgItemTextA(s->hMainWnd, static_cast<int>(wParam), caption, TextMax);
        if (caption[0] && caption[1])
            SelectDrive(caption[1] - 'A');
    }
}

// Releases everything the session owns, in the order it was built up.
static void ReleaseSession()
{
    SetupSession *s = session;
    DeleteObject(s->hFont);
    struct Strip {
        HDC dc;
        HBITMAP bitmap, previous;
    } strips[] = {
        { s->hdc1001, s->hbm1001, s->hbmPrev1001 }, { s->hdc1002, s->hbm1002, s->hbmPrev1002 },
        { s->hdc1003, s->hbm1003, s->hbmPrev1003 }, { s->hdc1011, s->hbm1011, s->hbmPrev1011 },
        { s->hdc1012, s->hbm1012, s->hbmPrev1012 }, { s->hdc1013, s->hbm1013, s->hbmPrev1013 },
    };
    for (const Strip &strip : strips) {
        if (strip.dc) {
            SelectObject(strip.dc, strip.previous);
            DeleteDC(strip.dc);
        }
        if (strip.bitmap)
            DeleteObject(strip.bitmap);
    }
    if (s->hResPalette)
        DeleteObject(s->hResPalette);
    if (s->hCoverPalette)
        DeleteObject(s->hCoverPalette);
    if (s->hPatternBmp)
        DeleteObject(s->hPatternBmp);
    if (s->hIcon2001)
        DestroyIcon(s->hIcon2001);
    if (s->hIcon2002)
        DestroyIcon(s->hIcon2002);
    FreeResources();
    FreeSetupText();
    if (s->hItems)
        GlobalFree(s->hItems);
    s->hItems = nullptr;
    FreeSession();
}

LRESULT CALLBACK SetupWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    SetupSession *s = session;
    switch (msg) {
    case WM_CREATE:
        return 0;
    case WM_DESTROY:
        if (s)
            ReleaseSession();
        PostQuitMessage(0);
        return 0;
    case WM_MOVE:
        // The whole window repaints after every move.
        RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
        return 0;
    case WM_ACTIVATE:
        if (s) {
            if (LOWORD(wParam) == WA_INACTIVE)
                s->hSavedFocus = GetFocus();
            else if (s->hSavedFocus)
                SetFocus(s->hSavedFocus);
        }
        return 0;
    case WM_PAINT:
        PaintMainWindow(hwnd);
        return 0;
    case WM_CLOSE:
        if (s) {
            if (s->childRunning) {
                PostMessageA(hwnd, WM_CLOSE, 0, 0);
                return 0;
            }
            if (s->stepCounter >= 0)
                KillTimer(hwnd, ScriptTimer);
            s->hMainWnd = nullptr;
        }
        DestroyWindow(hwnd);
        return 0;
    case WM_QUERYENDSESSION:
        return 1;
    case WM_ENDSESSION:
        return 0;
    case WM_DRAWITEM: {
        const DRAWITEMSTRUCT *item = reinterpret_cast<const DRAWITEMSTRUCT *>(lParam);
        DrawOwnerButton(item->itemAction, item->itemState, item->hwndItem, item->hDC);
        return 0;
    }
    case WM_COMMAND:
        if (s)
            OnCommand(wParam);
        return 0;
    case WM_TIMER:
        if (s && s->stepCounter >= 0 && !s->busy)
            RunScriptStep();
        return 0;
    case WM_QUERYNEWPALETTE:
        return s ? QueryNewPalette(hwnd) : 0;
    case WM_PALETTECHANGED:
        return s ? PaletteChanged(hwnd, reinterpret_cast<HWND>(wParam)) : 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}
