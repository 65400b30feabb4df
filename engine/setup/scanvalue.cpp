#include "setup/scanvalue.h"

#include <string.h>

#include "setup/session.h"

static bool IsEscapeChar(char c)
{
    return c != 0 && strchr("0abfnrtv\\?'\"", c) != nullptr;
}

static bool IsVariableChar(char c)
{
    return c != 0 && strchr("AIWSR", c) != nullptr;
}

// The directory a variable letter stands for, without a final backslash.
static void VariableValue(char letter, char *value)
{
    char dir[144] = "";
    switch (letter) {
    case 'A':
        CopyStr(value, session->installDir, TextBufSize);
        break;
    case 'I':
        CopyStr(value, session->installDir, 4);
        break;
    case 'W':
        GetWindowsDirectoryA(dir, sizeof dir);
        CopyStr(value, dir, TextBufSize);
        break;
    case 'S':
        GetSystemDirectoryA(dir, sizeof dir);
        CopyStr(value, dir, TextBufSize);
        break;
    case 'R':
        GetWindowsDirectoryA(dir, sizeof dir);
        CopyStr(value, dir, 4);
        break;
    }
    size_t len = strlen(value);
    if (len > 0 && value[len - 1] == '\\')
        value[len - 1] = 0;
}

int ScanValue(char delim, int &pos, const char *src, char *dst)
{
    int start = pos;
    int srcLen = static_cast<int>(strlen(src));
    if (start < 0 || start >= srcLen) {
        dst[0] = 0;
        return 0;
    }
    // n counts the bytes the result has; only the first TextMax are stored.
    int n = 0;
    auto put = [&](char c) {
        if (n < TextMax)
            dst[n] = c;
        n++;
    };
    char previous = 0;
    int i = start;
    for (; i < srcLen; i++) {
        char c = src[i];
        bool isProtected = (previous == '\\' && IsEscapeChar(c)) ||
                           (previous == '$' && IsVariableChar(c));
        if (!isProtected && c == delim)
            break;
        if (previous != '\\' && previous != '$') {
            put(c);
            previous = c;
        } else if (previous == '\\') {
            n--; // the stored backslash gives way to what the escape yields
            previous = 0;
            switch (c) {
            case 'n': put('\r'); put('\n'); previous = '\n'; break;
            case '\\': put('\\'); break;
            case '?': put('?'); break;
            case '\'': put('\''); break;
            case '"': put('"'); break;
            case '0': put('\0'); break;
            case 'a': put('\a'); break;
            case 'b': put('\b'); break;
            case 'f': put('\f'); break;
            case 't': put('\t'); break;
            case 'v': put('\v'); break;
            default: break; // \r and any other byte yield nothing
            }
        } else {
            previous = 0;
            if (IsVariableChar(c)) {
                char value[TextBufSize];
                VariableValue(c, value);
                n--;
                for (const char *v = value; *v; v++)
                    put(*v);
            } else if (c != '$') {
                n--; // an unknown letter vanishes with the dollar sign
            }
        }
    }
    if (n > TextMax)
        n = TextMax;
    dst[n] = 0;
    pos = i;
    return n;
}
