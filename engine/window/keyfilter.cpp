#include "window/keyfilter.h"

#include <string.h>

#include "setup/session.h"
#include "window/options.h"

// The character after the first "&" within the first 80 bytes of the
// window's caption, or 0.
static char MnemonicOf(HWND wnd)
{
    char caption[80];
    caption[0] = 0;
    GetWindowTextA(wnd, caption, sizeof caption);
    const char *amp = static_cast<const char *>(memchr(caption, '&', strnlen(caption, sizeof caption)));
    return amp ? amp[1] : 0;
}

static bool HasClass(HWND wnd, const char *name)
{
    char cls[20] = "";
    GetClassNameA(wnd, cls, sizeof cls);
    return strcmp(cls, name) == 0;
}

HWND FindTabMnemonic(char c)
{
    HWND main = session->hMainWnd;
    HWND first = GetNextDlgTabItem(main, nullptr, FALSE);
    if (!first)
        return nullptr;
    HWND control = first;
    do {
        if (MnemonicOf(control) == c)
            return control;
        control = GetNextDlgTabItem(main, control, FALSE);
    } while (control && control != first);
    return nullptr;
}

HWND FindItemMnemonic(char c)
{
    const OptionItem *items = static_cast<const OptionItem *>(GlobalLock(session->hItems));
    if (!items)
        return nullptr;
    HWND found = nullptr;
    for (int i = 0; i < session->itemCount && !found; i++)
        if (items[i].window && MnemonicOf(items[i].window) == c)
            found = items[i].window;
    GlobalUnlock(session->hItems);
    return found;
}

bool HandleMnemonic(WPARAM key)
{
    char c;
    if (key >= 0x30 && key <= 0x5F)
        c = static_cast<char>(key);
    else if (key >= 0x60 && key <= 0x69)
        c = static_cast<char>(key - 0x30);
    else if (key >= 0x6A && key <= 0x6F)
        c = static_cast<char>(key - 0x3A);
    else
        return false;

    HWND parent = GetParent(GetFocus());
    if (parent) {
        HWND control = FindTabMnemonic(c);
        if (control) {
            SetFocus(control);
            if (HasClass(control, "Button"))
                SendMessageA(session->hMainWnd, WM_COMMAND,
                             MAKEWPARAM(GetDlgCtrlID(control), 0), reinterpret_cast<LPARAM>(control));
            return true;
        }
    }
    if (parent && parent == session->hOptionList) {
        HWND item = FindItemMnemonic(c);
        if (item) {
            int id = GetDlgCtrlID(item);
            SetFocus(item);
            SetFocusItem(id);
            ShowItemComment(id);
            ScrollToFocusItem();
            SendMessageA(session->hOptionList, WM_COMMAND, MAKEWPARAM(id, 0),
                         reinterpret_cast<LPARAM>(item));
            return true;
        }
    }
    return false;
}

// Applies the key table; returns true when the message was consumed.
static bool FilterKey(MSG *msg)
{
    if (!session)
        return false;
    if (msg->message == WM_SYSKEYDOWN)
        return HandleMnemonic(msg->wParam);
    if (msg->message != WM_KEYDOWN || !session->hMainWnd)
        return false;
    HWND main = session->hMainWnd;
    HWND focus = GetFocus();
    switch (msg->wParam) {
    case VK_TAB: {
        HWND next = GetNextDlgTabItem(main, focus, GetKeyState(VK_SHIFT) < 0);
        if (next)
            SetFocus(next);
        return true;
    }
    case VK_RETURN:
        SendMessageA(main, WM_COMMAND, IDOK, 0);
        return true;
    case VK_ESCAPE:
        SendMessageA(main, WM_COMMAND, IDCANCEL, 0);
        return true;
    case VK_SPACE:
        return false;
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN: {
        // The arrow keys of an option row go to the option list.
        HWND parent = focus ? GetParent(focus) : nullptr;
        if (parent && parent != main)
            msg->hwnd = parent;
        return false;
    }
    default:
        if (focus && HasClass(focus, "Edit"))
            return false;
        return HandleMnemonic(msg->wParam);
    }
}

void FilterMessage(MSG *msg)
{
    if (FilterKey(msg))
        return;
    TranslateMessage(msg);
    DispatchMessageA(msg);
}
