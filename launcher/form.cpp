// The launcher window. Its layout is fixed in pixels at 96 dots per inch and
// scaled with the screen; install.ini fills in the caption, the picture and
// the buttons, and any button click ends the program.
#include "form.h"

#include <shellapi.h>

TForm1 Form1;

namespace {

const char PanelClass[] = "KelbrinePanel";
const char ImageClass[] = "KelbrineImage";

struct Place {
    int left, top, width, height;
};

const Place FormClient = {0, 0, 536, 305};
const Place PanelPlace = {8, 8, 281, 289};
const Place ImagePlace = {2, 2, 277, 285};  // inside the panel's bevel of 2
const int ButtonLeft = 296, ButtonWidth = 233, ButtonHeight = 25;
const int ButtonTop[ButtonCount] = {8, 40, 72, 104, 136, 168, 200, 232};
const int CancelTop = 272;

int dpi = 96;

int Scale(int pixels) { return MulDiv(pixels, dpi, 96); }

HWND CreateChild(const char *className, const char *caption, DWORD style, HWND parent, int id,
                 const Place &place)
{
    return CreateWindowExA(0, className, caption, WS_CHILD | style, Scale(place.left),
                           Scale(place.top), Scale(place.width), Scale(place.height), parent,
                           (HMENU)(INT_PTR)id, GetModuleHandleA(NULL), NULL);
}

// A lowered bevel two pixels wide: shadow on the top and left edges,
// highlight on the bottom and right, as a 3D frame is drawn line by line.
void DrawLoweredBevel(HDC dc, RECT r, int width)
{
    HPEN shadow = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW));
    HPEN highlight = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNHIGHLIGHT));
    HGDIOBJ old = SelectObject(dc, shadow);
    r.right--;
    r.bottom--;
    for (int i = 0; i < width; i++) {
        POINT topLeft[3] = {{r.left, r.bottom}, {r.left, r.top}, {r.right, r.top}};
        POINT bottomRight[3] = {{r.right, r.top}, {r.right, r.bottom}, {r.left - 1, r.bottom}};
        SelectObject(dc, shadow);
        Polyline(dc, topLeft, 3);
        SelectObject(dc, highlight);
        Polyline(dc, bottomRight, 3);
        InflateRect(&r, -1, -1);
    }
    SelectObject(dc, old);
    DeleteObject(shadow);
    DeleteObject(highlight);
}

LRESULT CALLBACK PanelWndProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(wnd, &ps);
        RECT r;
        GetClientRect(wnd, &r);
        DrawLoweredBevel(dc, r, Scale(2));
        EndPaint(wnd, &ps);
        return 0;
    }
    return DefWindowProcA(wnd, message, wParam, lParam);
}

// Realizes the picture's palette in the image window; a foreground
// realization may change the system palette, so the image is redrawn.
bool RealizePicturePalette(bool background)
{
    if (!Form1.picture.hPalette)
        return false;
    HDC dc = GetDC(Form1.Image1);
    HPALETTE old = SelectPalette(dc, Form1.picture.hPalette, background);
    UINT changed = RealizePalette(dc);
    SelectPalette(dc, old, TRUE);
    ReleaseDC(Form1.Image1, dc);
    if (changed)
        InvalidateRect(Form1.Image1, NULL, TRUE);
    return changed != 0;
}

LRESULT CALLBACK ImageWndProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(wnd, &ps);
        HPALETTE old = NULL;
        if (Form1.picture.hPalette) {
            old = SelectPalette(dc, Form1.picture.hPalette, FALSE);
            RealizePalette(dc);
        }
        DrawPicture(dc, &Form1.picture);
        if (old)
            SelectPalette(dc, old, TRUE);
        EndPaint(wnd, &ps);
        return 0;
    }
    return DefWindowProcA(wnd, message, wParam, lParam);
}

INT_PTR CALLBACK Form1DlgProc(HWND wnd, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_COMMAND: {
        int id = LOWORD(wParam);
        if (HIWORD(wParam) != BN_CLICKED)
            return FALSE;
        if (id == IDCANCEL)
            btnCancelClick();
        else if (id >= IdButton1 && id < IdButton1 + ButtonCount)
            ButtonClick(id - IdButton1);
        return TRUE;
    }
    case WM_QUERYNEWPALETTE:
        SetWindowLongPtrA(wnd, DWLP_MSGRESULT, RealizePicturePalette(false));
        return TRUE;
    case WM_PALETTECHANGED:
        if ((HWND)wParam != wnd && (HWND)wParam != Form1.Image1)
            RealizePicturePalette(true);
        return TRUE;
    }
    return FALSE;
}

bool RegisterChildClass(const char *name, WNDPROC proc)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.hCursor = LoadCursor(NULL, IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    wc.lpszClassName = name;
    return RegisterClassA(&wc) != 0;
}

// The profile reader's 255-byte buffer: longer values are cut to 254 bytes.
void ReadIni(const char *section, const char *key, char (&value)[256])
{
    GetPrivateProfileStringA(section, key, "", value, 255, Form1.IniFile);
}

// The picture could not be loaded: the user is told, and the program ends.
void ReportPictureFailure(const char *fileName, PictureResult result)
{
    char text[1024], caption[256];
    if (result == PictureUnknownType)
        wsprintfA(text, "The picture \"%s\" cannot be shown: only bitmaps (.bmp) and icons (.ico) "
                        "can be shown.", fileName);
    else if (result == PictureUnreadable)
        wsprintfA(text, "The picture \"%s\" cannot be opened.", fileName);
    else
        wsprintfA(text, "The picture \"%s\" cannot be shown: the file is damaged or not a picture.",
                  fileName);
    GetWindowTextA(Form1.hWnd, caption, sizeof caption);
    MessageBoxA(NULL, text, caption, MB_OK | MB_ICONSTOP | MB_SETFOREGROUND);
}

} // namespace

bool JoinText(char *dst, size_t size, const char *a, const char *b, const char *c)
{
    size_t la = lstrlenA(a), lb = lstrlenA(b), lc = lstrlenA(c);
    if (la + lb + lc >= size) {
        dst[0] = '\0';
        return false;
    }
    CopyMemory(dst, a, la);
    CopyMemory(dst + la, b, lb);
    CopyMemory(dst + la + lb, c, lc + 1);
    return true;
}

void ExtractFileDir(const char *path, char *dir, size_t size)
{
    int last = -1, beforeLast = -1, previous = -1;
    for (int i = 0; path[i];) {
        if (path[i] == '\\' || path[i] == ':') {
            last = i;
            beforeLast = previous;
        }
        previous = i;
        i += IsDBCSLeadByte((BYTE)path[i]) && path[i + 1] ? 2 : 1;
    }
    int length = last + 1;
    // The backslash after "D:" or after another backslash is part of the
    // directory name; any other final backslash is not.
    if (last > 0 && path[last] == '\\' &&
        !(beforeLast == last - 1 && (path[beforeLast] == '\\' || path[beforeLast] == ':')))
        length = last;
    if ((size_t)length >= size)
        length = 0;  // never a cut directory name
    CopyMemory(dir, path, length);
    dir[length] = '\0';
}

bool FileFound(const char *name)
{
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA(name, &data);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    FindClose(search);
    return true;
}

bool CreateForm1(HINSTANCE instance)
{
    if (!RegisterChildClass(PanelClass, PanelWndProc) || !RegisterChildClass(ImageClass, ImageWndProc))
        return false;

    // A dialog window with a caption but no system menu and no minimise or
    // maximise box; its size is set in pixels below.
    alignas(4) WORD tmpl[12] = {};
    DWORD style = WS_POPUP | WS_CAPTION | DS_MODALFRAME | WS_CLIPCHILDREN;
    tmpl[0] = LOWORD(style);
    tmpl[1] = HIWORD(style);
    tmpl[2] = LOWORD(WS_EX_APPWINDOW);
    tmpl[3] = HIWORD(WS_EX_APPWINDOW);
    Form1.hWnd = CreateDialogIndirectParamA(instance, (LPCDLGTEMPLATEA)tmpl, NULL, Form1DlgProc, 0);
    if (!Form1.hWnd)
        return false;
    SetWindowTextA(Form1.hWnd, "Install");

    HDC screen = GetDC(NULL);
    dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(NULL, screen);
    if (dpi <= 0)
        dpi = 96;

    // 12-pixel characters of the Japanese proportional gothic face.
    Form1.hFont = CreateFontW(-Scale(12), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                              OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                              DEFAULT_PITCH | FF_DONTCARE,
                              L"\xFF2D\xFF33 \xFF30\x30B4\x30B7\x30C3\x30AF");

    // Created in the tab order: the panel, Button1 ... Button8, Cancel.
    Form1.pnlBMP = CreateChild(PanelClass, "", WS_VISIBLE | WS_CLIPCHILDREN, Form1.hWnd, 0, PanelPlace);
    Form1.Image1 = CreateChild(ImageClass, "", WS_VISIBLE, Form1.pnlBMP, 0, ImagePlace);
    for (int n = 0; n < ButtonCount; n++) {
        char caption[16];
        wsprintfA(caption, "Button%d", n + 1);
        Place place = {ButtonLeft, ButtonTop[n], ButtonWidth, ButtonHeight};
        Form1.Button[n] = CreateChild("BUTTON", caption, WS_TABSTOP | BS_PUSHBUTTON, Form1.hWnd,
                                      IdButton1 + n, place);
    }
    Place cancel = {ButtonLeft, CancelTop, ButtonWidth, ButtonHeight};
    Form1.btnCancel = CreateChild("BUTTON", "&Cancel", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
                                  Form1.hWnd, IDCANCEL, cancel);
    if (!Form1.pnlBMP || !Form1.Image1 || !Form1.btnCancel)
        return false;
    for (int n = 0; n < ButtonCount; n++) {
        if (!Form1.Button[n])
            return false;
        SendMessageA(Form1.Button[n], WM_SETFONT, (WPARAM)Form1.hFont, FALSE);
    }
    SendMessageA(Form1.btnCancel, WM_SETFONT, (WPARAM)Form1.hFont, FALSE);

    // Centred on the screen with a client area of the fixed size.
    RECT r = {0, 0, Scale(FormClient.width), Scale(FormClient.height)};
    AdjustWindowRectEx(&r, GetWindowLongA(Form1.hWnd, GWL_STYLE), FALSE,
                       GetWindowLongA(Form1.hWnd, GWL_EXSTYLE));
    int width = r.right - r.left, height = r.bottom - r.top;
    SetWindowPos(Form1.hWnd, NULL, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    return true;
}

bool FormCreate()
{
    char module[LauncherText];
    DWORD length = GetModuleFileNameA(NULL, module, sizeof module);
    // A program path that does not fit leaves every member empty: nothing is
    // read and nothing can be started, as without install.ini.
    if (length == 0 || length >= sizeof module - 1)
        return true;
    ExtractFileDir(module, Form1.ExeDir, sizeof Form1.ExeDir);
    char *last = CharPrevA(Form1.ExeDir, Form1.ExeDir + lstrlenA(Form1.ExeDir));
    if (*last == '\\' && !IsDBCSLeadByte((BYTE)*last))
        *last = '\0';  // a drive root "D:\" becomes "D:"
    if (!JoinText(Form1.IniFile, sizeof Form1.IniFile, Form1.ExeDir, "\\install.ini"))
        return true;

    char value[256];
    ReadIni("COMMON", "TITLE", value);
    if (value[0])
        SetWindowTextA(Form1.hWnd, value);

    // The picture name is used as written: a relative name is relative to
    // the current directory.
    ReadIni("COMMON", "BITMAP", value);
    if (FileFound(value)) {
        PictureResult result = LoadPicture(value, &Form1.picture);
        if (result != PictureLoaded) {
            ReportPictureFailure(value, result);
            return false;
        }
    }

    for (int n = 0; n < ButtonCount; n++) {
        char section[16];
        wsprintfA(section, "BUTTON%d", n + 1);
        ReadIni(section, "TITLE", value);
        if (!value[0])
            continue;
        SetWindowTextA(Form1.Button[n], value);
        ReadIni(section, "RUN", value);
        JoinText(Form1.RunFile[n], sizeof Form1.RunFile[n], Form1.ExeDir, "\\", value);
        ShowWindow(Form1.Button[n], SW_SHOW);
    }
    return true;
}

void ShowForm1(int showCommand)
{
    ShowWindow(Form1.hWnd, showCommand);
    UpdateWindow(Form1.hWnd);
    // The first visible button of the tab order takes the focus.
    HWND first = GetNextDlgTabItem(Form1.hWnd, NULL, FALSE);
    if (first)
        SendMessageA(Form1.hWnd, WM_NEXTDLGCTL, (WPARAM)first, TRUE);
}

void DestroyForm1()
{
    if (Form1.hWnd)
        DestroyWindow(Form1.hWnd);
    if (Form1.hFont)
        DeleteObject(Form1.hFont);
    FreePicture(&Form1.picture);
}

// The target is started with its own directory as the working directory;
// whether it started is not examined: the launcher closes either way.
void ButtonClick(int n)
{
    const char *target = Form1.RunFile[n];
    if (FileFound(target)) {
        char dir[LauncherText];
        ExtractFileDir(target, dir, sizeof dir);
        ShellExecuteA(Form1.hWnd, NULL, target, "", dir, SW_SHOWNORMAL);
    }
    PostQuitMessage(0);
}

void btnCancelClick() { PostQuitMessage(0); }
