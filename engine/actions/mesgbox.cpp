#include "actions/mesgbox.h"

#include "setup/session.h"
#include "window/paint.h"

namespace {

constexpr int TemplateId = 1001;

struct BoxButton {
    int captionId; // Japanese text id; the session holds the chosen language
    int id;
};

struct ButtonSet {
    int count;
    int x[4];
    BoxButton buttons[4];
};

const BoxButton Ok = {313, IDOK}, Cancel = {314, IDCANCEL}, Abort = {308, IDABORT},
                Retry = {309, IDRETRY}, Ignore = {310, IDIGNORE}, Yes = {311, IDYES},
                No = {312, IDNO}, All = {315, IDALL}, SingleOk = {316, IDOK};

const ButtonSet buttonSets[8] = {
    {1, {129}, {SingleOk}},
    {2, {73, 185}, {Ok, Cancel}},
    {3, {17, 129, 241}, {Abort, Retry, Ignore}},
    {3, {17, 129, 241}, {Ok, All, Cancel}},
    {2, {73, 185}, {Yes, No}},
    {2, {73, 185}, {Retry, Cancel}},
    {3, {17, 129, 241}, {Ok, Cancel, Abort}},
    {4, {17, 129, 241, 353}, {Ok, All, Cancel, Abort}},
};

constexpr int ButtonTop = 96;
constexpr int ButtonWidth = 100;

LPCSTR IconOf(int style)
{
    switch (style & 0x70) {
    case MB_ICONHAND: return IDI_HAND;
    case MB_ICONQUESTION: return IDI_QUESTION;
    case MB_ICONEXCLAMATION: return IDI_EXCLAMATION;
    case MB_ICONASTERISK: return IDI_ASTERISK;
    default: return nullptr;
    }
}

void OpenBox(HWND hDlg)
{
    const ButtonSet &set = buttonSets[session->msgBoxStyle & 7];
    int width = (session->msgBoxStyle & 7) == MB_OKALLCANCELABORT ? 470 : 358;
    int height = GetSystemMetrics(SM_CYCAPTION) + 133;
    RECT desk;
    GetWindowRect(GetDesktopWindow(), &desk);
    SetWindowPos(hDlg, nullptr, (desk.right - width) / 2, (desk.bottom - height) / 2, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    if (session->msgBoxCaption[0])
        SetWindowTextA(hDlg, session->msgBoxCaption);

    HWND buttons[4] = {};
    for (int i = 0; i < set.count; i++) {
        const BoxButton &b = set.buttons[i];
        buttons[i] = CreateWindowExA(0, "BUTTON", ButtonCaption(b.captionId),
                                     WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW, set.x[i],
                                     ButtonTop, ButtonWidth, session->charHeight + 10, hDlg,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(b.id)),
                                     session->hInst, nullptr);
    }
    int focus = (session->msgBoxStyle >> 8) & 3;
    SetFocus(buttons[focus < set.count ? focus : 0]);
}

void PaintBox(HWND hDlg)
{
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hDlg, &ps);
    RECT client;
    GetClientRect(hDlg, &client);
    FillFace(hdc, &client);
    HFONT oldFont = static_cast<HFONT>(SelectObject(hdc, session->hFont));

    RECT text = {client.left + 55, client.top + 10, client.right - 10, client.bottom - 50};
    if (LPCSTR icon = IconOf(session->msgBoxStyle))
        DrawIcon(hdc, 10, 10, LoadIconA(nullptr, icon));
    else
        text.left = client.left + 10;
    SetTextColor(hdc, RGB(0, 0, 0));
    SetBkMode(hdc, TRANSPARENT);
    DrawTextA(hdc, session->msgBoxText, -1, &text, DT_WORDBREAK);

    SelectObject(hdc, oldFont);
    EndPaint(hDlg, &ps);
}

} // namespace

int MesgBox(const char *text, const char *caption, int style)
{
    int answer;
    if (MesgBoxSeamAnswer(text, caption, style, &answer))
        return answer;

    session->msgBoxText[0] = 0;
    session->msgBoxCaption[0] = 0;
    if (text)
        CopyStr(session->msgBoxText, text, sizeof session->msgBoxText);
    if (caption)
        CopyStr(session->msgBoxCaption, caption, sizeof session->msgBoxCaption);
    session->msgBoxStyle = style;

    // The template is normally loaded once at start-up; a box asked for
    // before that still finds it in the program's resources.
    HGLOBAL hTemplate = session->hMsgBoxTemplate;
    if (!hTemplate) {
        HRSRC res = FindResourceA(session->hInst, MAKEINTRESOURCEA(TemplateId),
                                  reinterpret_cast<LPCSTR>(RT_DIALOG));
        hTemplate = res ? LoadResource(session->hInst, res) : nullptr;
    }
    const void *dlg = hTemplate ? LockResource(hTemplate) : nullptr;
    if (!dlg)
        return 0;
    return static_cast<int>(DialogBoxIndirectParamA(session->hInst,
                                                    static_cast<LPCDLGTEMPLATEA>(dlg),
                                                    session->hMainWnd, VornMesgBoxProc, 0));
}

INT_PTR CALLBACK VornMesgBoxProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG:
        OpenBox(hDlg);
        return FALSE; // the focus is set
    case WM_COMMAND:
        if (LOWORD(wParam) != 0)
            EndDialog(hDlg, LOWORD(wParam));
        return TRUE;
    case WM_CLOSE:
        EndDialog(hDlg, 0);
        return TRUE;
    case WM_PAINT:
        PaintBox(hDlg);
        return TRUE;
    case WM_DRAWITEM: {
        const DRAWITEMSTRUCT *item = reinterpret_cast<const DRAWITEMSTRUCT *>(lParam);
        DrawOwnerButton(item->itemAction, item->itemState, item->hwndItem, item->hDC);
        return TRUE;
    }
    default:
        return FALSE;
    }
}
