#include "setup/setupfile.h"

#include <string.h>

#include "setup/scanvalue.h"
#include "setup/session.h"

enum { SetupTextLimit = 32000 };

static HANDLE OpenSetupFile()
{
    static const char *const names[] = { "KELBRINE.INI", "SETUP.INI" };
    for (const char *name : names) {
        HANDLE h = CreateFileA(name, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE)
            return h;
    }
    return INVALID_HANDLE_VALUE;
}

// The first LANGUAGE line of the [GENERAL] block, up to its first empty
// line or section header, picks the texts.
static void PickLanguage()
{
    char line[TextBufSize];
    int &pos = session->readPos;
    pos = 0;
    bool found = false;
    for (;;) {
        int len = ReadSetupLine(pos, line);
        if (len == -1)
            break;
        pos++;
        if (len > 0 && strcmp(line, "[GENERAL]") == 0) {
            found = true;
            break;
        }
    }
    if (!found)
        return;
    for (;;) {
        int len = ReadSetupLine(pos, line);
        pos++;
        if (len <= 0 || line[0] == '[')
            return;
        char key[TextBufSize], value[TextBufSize];
        int at = 0;
        if (ScanValue('=', at, line, key) <= 0)
            continue;
        at++;
        if (strcmp(key, "LANGUAGE") != 0)
            continue;
        if (ScanValue('\n', at, line, value) <= 0)
            return;
        if (strcmp(value, "ENGLISH") == 0)
            session->languageOffset = 100;
        else if (strcmp(value, "JAPANESE") == 0)
            session->languageOffset = 0;
        return;
    }
}

void LoadSetupFile()
{
    session->languageOffset = 0;
    HANDLE file = OpenSetupFile();
    session->setupTextLen = 0;
    session->setupText = nullptr;
    session->readPos = 0;
    if (file != INVALID_HANDLE_VALUE) {
        DWORD size = GetFileSize(file, nullptr);
        if (size != INVALID_FILE_SIZE) {
            int len = size < SetupTextLimit ? static_cast<int>(size) : SetupTextLimit;
            session->setupText = static_cast<char *>(LocalAlloc(LPTR, len > 0 ? len : 1));
            if (session->setupText) {
                session->setupTextLen = len;
                DWORD got = 0;
                SetFilePointer(file, 0, nullptr, FILE_BEGIN);
                // Bytes the read does not deliver stay zero.
                ReadFile(file, session->setupText, len, &got, nullptr);
            }
        }
    }
    if (session->setupText)
        PickLanguage();
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
}

void FreeSetupText()
{
    if (session->setupText)
        LocalFree(session->setupText);
    session->setupText = nullptr;
    session->setupTextLen = 0;
}

int ReadSetupLine(int &pos, char *line)
{
    const unsigned char *text = reinterpret_cast<const unsigned char *>(session->setupText);
    int len = session->setupTextLen;
    if (!text || pos < 0 || pos >= len) {
        line[0] = 0;
        return -1;
    }
    int i = pos, n = 0;
    while (i < len && text[i] != '\n') {
        unsigned char b = text[i];
        if (IsLeadByte(b)) {
            // The second byte is taken whatever it is; a lead byte at the very
            // end of the text ends the line by itself.
            if (n < TextMax)
                line[n++] = static_cast<char>(b);
            if (i + 1 < len) {
                unsigned char second = text[i + 1];
                if (n < TextMax)
                    line[n++] = static_cast<char>(second);
                if (n < TextMax && (second == '\\' || second == '$'))
                    line[n++] = static_cast<char>(second);
            }
            i += 2;
        } else {
            if (b != '\r' && n < TextMax)
                line[n++] = static_cast<char>(b);
            i++;
        }
    }
    if (i > len)
        i = len;
    line[n] = 0;
    int taken = i - pos;
    pos = i;
    return taken;
}
