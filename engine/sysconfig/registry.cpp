#include "sysconfig/registry.h"

#include <stdlib.h>
#include <string.h>

#include "actions/mesgbox.h"
#include "setup/session.h"

namespace {

// Setup authors write root names in any case; only ASCII letters fold, so
// no double-byte text can pass for a root name.
bool SameAsciiNoCase(const char *a, const char *b)
{
    for (;; a++, b++) {
        char ca = (*a >= 'a' && *a <= 'z') ? static_cast<char>(*a - 'a' + 'A') : *a;
        char cb = (*b >= 'a' && *b <= 'z') ? static_cast<char>(*b - 'a' + 'A') : *b;
        if (ca != cb)
            return false;
        if (!ca)
            return true;
    }
}

HKEY RootKey(const char *root)
{
    static const struct {
        const char *name;
        HKEY key;
    } roots[] = {
        { "HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT },
        { "HKEY_CURRENT_USER", HKEY_CURRENT_USER },
        { "HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE },
        { "HKEY_USERS", HKEY_USERS },
    };
    for (const auto &r : roots)
        if (SameAsciiNoCase(root, r.name))
            return r.key;
    return nullptr;
}

void ReportFailure(const char *call, LONG error)
{
    char text[TextBufSize];
    FormatStr(text, sizeof text, session->launchFailFormat, call, static_cast<int>(error));
    MesgBox(text, ButtonCaption(306), MB_ICONINFORMATION | MB_OK);
}

void OpenOrCreate(const char *root, const char *subkey, bool create)
{
    RegistryClose();
    HKEY rootKey = RootKey(root);
    if (!rootKey)
        return;
    HKEY key = nullptr;
    LONG error = create ? RegCreateKeyA(rootKey, subkey, &key) : RegOpenKeyA(rootKey, subkey, &key);
    if (error != ERROR_SUCCESS) {
        session->hRegKey = nullptr;
        ReportFailure(create ? "RegCreateKey" : "RegOpenKey", error);
        return;
    }
    session->hRegKey = key;
}

}

void RegistryOpen(const char *root, const char *subkey)
{
    OpenOrCreate(root, subkey, false);
}

void RegistryCreate(const char *root, const char *subkey)
{
    OpenOrCreate(root, subkey, true);
}

void RegistryClose()
{
    if (session->hRegKey) {
        RegCloseKey(session->hRegKey);
        session->hRegKey = nullptr;
    }
}

void RegistryDelete(const char *root, const char *subkey)
{
    HKEY rootKey = RootKey(root);
    if (!rootKey)
        return;
    LONG error = RegDeleteKeyA(rootKey, subkey);
    if (error != ERROR_SUCCESS)
        ReportFailure("RegDeleteKey", error);
}

void RegistrySetDword(const char *name, DWORD number)
{
    BYTE bytes[4] = { static_cast<BYTE>(number), static_cast<BYTE>(number >> 8), static_cast<BYTE>(number >> 16),
                      static_cast<BYTE>(number >> 24) };
    LONG error = RegSetValueExA(session->hRegKey, name, 0, REG_DWORD, bytes, sizeof bytes);
    if (error != ERROR_SUCCESS)
        ReportFailure("RegSetValueEx", error);
}

void RegistrySetString(const char *name, const char *text)
{
    LONG error = RegSetValueExA(session->hRegKey, name, 0, REG_SZ, reinterpret_cast<const BYTE *>(text),
                                static_cast<DWORD>(strlen(text) + 1));
    if (error != ERROR_SUCCESS)
        ReportFailure("RegSetValueEx", error);
}

DWORD RegistryNumber(const char *text)
{
    // The run-time library's conversion with automatic base; unsigned long
    // is 32 bits on this platform, so an overflow saturates at 0xFFFFFFFF.
    return static_cast<DWORD>(strtoul(text, nullptr, 0));
}
