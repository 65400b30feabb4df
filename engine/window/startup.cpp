#include "window/startup.h"

#include <string.h>

#include "setup/session.h"
#include "setup/setupfile.h"
#include "setup/texts.h"
#include "window/keyfilter.h"
#include "window/mainwnd.h"
#include "window/optlist.h"
#include "window/paint.h"

// The main window's class name and title, text 1 of the string table.
static char mainClassName[10];

// "ＭＳ ゴシック" in code page 932.
static const char japaneseFace[] = "\x82\x6C\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4E";

bool RegisterClasses(HINSTANCE hInst)
{
    LoadStringA(hInst, 1, mainClassName, sizeof mainClassName);
    WNDCLASSA wc;
    memset(&wc, 0, sizeof wc);
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = SetupWndProc;
    wc.hInstance = hInst;
    wc.hIcon = LoadIconA(hInst, MAKEINTRESOURCEA(1));
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = mainClassName;
    if (!RegisterClassA(&wc))
        return false;
    wc.lpfnWndProc = ScboxWndProc;
    wc.hIcon = nullptr;
    wc.lpszClassName = "OPLSTBOX";
    return RegisterClassA(&wc) != 0;
}

void SourceDirOf(const char *commandLine, char *dir)
{
    const char *p = commandLine;
    char end = ' ';
    if (*p == '"') {
        p++;
        end = '"';
    }
    int lastSlash = 0;
    int i = 0;
    for (; i < TextMax && p[i] && p[i] != end; i++)
        if (p[i] == '\\')
            lastSlash = i;
    if (lastSlash > 0 && p[lastSlash - 1] == ':')
        lastSlash++; // a root keeps its backslash
    memcpy(dir, p, lastSlash);
    dir[lastSlash] = 0;
}

void LoadLanguageTexts()
{
    SetupSession *s = session;
    s->charWidth = s->languageOffset ? 9 : 8;
    s->charHeight = 16;
    for (int i = 0; i < ButtonCaptionCount; i++)
        LoadLangString(303 + i, s->buttonCaptions[i], 16);
    LoadLangString(318, s->launchFailFormat, 64);
}

HFONT CreateUiFont()
{
    SetupSession *s = session;
    bool japanese = s->languageOffset == 0;
    return CreateFontA(s->charHeight, s->charWidth, 0, 0, FW_NORMAL, 0, 0, 0,
                       japanese ? SHIFTJIS_CHARSET : ANSI_CHARSET, 0, 0, 0,
                       // Asking for a fixed pitch keeps the columns of the
                       // option list where a system lacks the named face.
                       FIXED_PITCH | FF_MODERN, japanese ? japaneseFace : "Courier");
}

static HICON CopyIconResource(HINSTANCE hInst, int id)
{
    HICON loaded = LoadIconA(hInst, MAKEINTRESOURCEA(id));
    if (!loaded)
        return nullptr;
    HICON copy = CopyIcon(loaded);
    DestroyIcon(loaded);
    return copy;
}

bool InitInstance(HINSTANCE hInst, const char *commandLine)
{
    if (!AllocSession(hInst))
        return false;
    SetupSession *s = session;
    SourceDirOf(commandLine, s->sourceDir);
    if (s->sourceDir[0])
        SetCurrentDirectoryA(s->sourceDir);
    LoadSetupFile();
    LoadLanguageTexts();

    int height = GetSystemMetrics(SM_CYCAPTION) + 25 * s->charHeight - 20;
    RECT desk;
    GetWindowRect(GetDesktopWindow(), &desk);
    s->hMainWnd = CreateWindowExA(0, mainClassName, mainClassName,
                                  WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, (desk.right - 480) / 2,
                                  (desk.bottom - height) / 2, 480, height, nullptr, nullptr, hInst,
                                  nullptr);
    if (!s->hMainWnd)
        return false;
    HDC dc = GetDC(s->hMainWnd);
    s->hFont = CreateUiFont();
    HGDIOBJ oldFont = SelectObject(dc, s->hFont);
    LoadResources();
    if (s->bmpResBits)
        CreateDibPalette(static_cast<const BITMAPINFOHEADER *>(s->bmpResBits), &s->hResPalette,
                         &s->resColors);
    if (s->hCoverBmp) {
        const BITMAPINFOHEADER *cover = static_cast<const BITMAPINFOHEADER *>(GlobalLock(s->hCoverBmp));
        CreateDibPalette(cover, &s->hCoverPalette, &s->coverColors);
        GlobalUnlock(s->hCoverBmp);
    }
    LoadStripBitmap(dc, 1001, 120, 16, &s->hbm1001, &s->hdc1001, &s->hbmPrev1001);
    LoadStripBitmap(dc, 1002, 32, 144, &s->hbm1002, &s->hdc1002, &s->hbmPrev1002);
    LoadStripBitmap(dc, 1003, 50, 16, &s->hbm1003, &s->hdc1003, &s->hbmPrev1003);
    LoadStripBitmap(dc, 1011, 120, 16, &s->hbm1011, &s->hdc1011, &s->hbmPrev1011);
    LoadStripBitmap(dc, 1012, 32, 144, &s->hbm1012, &s->hdc1012, &s->hbmPrev1012);
    LoadStripBitmap(dc, 1013, 50, 16, &s->hbm1013, &s->hdc1013, &s->hbmPrev1013);
    static const WORD checker[8] = { 0x5555, 0xAAAA, 0x5555, 0xAAAA,
                                     0x5555, 0xAAAA, 0x5555, 0xAAAA };
    s->hPatternBmp = CreateBitmap(16, 8, 1, 1, checker);
    s->hIcon2001 = CopyIconResource(hInst, 2001);
    s->hIcon2002 = CopyIconResource(hInst, 2002);
    SelectObject(dc, oldFont);
    ReleaseDC(s->hMainWnd, dc);
    s->btnFaceColor = GetSysColor(COLOR_BTNFACE);
    if (!SetInitialValues())
        return false;
    ShowPage(PageCover);
    ShowWindow(s->hMainWnd, SW_SHOWNORMAL);
    return true;
}

int RunMessageLoop()
{
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
        FilterMessage(&msg);
    return static_cast<int>(msg.wParam);
}
