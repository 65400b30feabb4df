#include "actions/patterns.h"

#include "setup/session.h"

namespace {

// Position of the last "." of s, -1 when it has none.
int LastDot(const char *s)
{
    int dot = -1;
    for (int k = 0; s[k]; k++)
        if (s[k] == '.')
            dot = k;
    return dot;
}

// Only the ASCII letters fold; lead and trail bytes of double-byte
// characters must stay as they are.
unsigned char FoldCase(unsigned char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

}

size_t DirPrefixLength(const char *path)
{
    size_t prefix = 0;
    for (size_t k = 0; k < TextMax && path[k]; k++)
        if (path[k] == '\\')
            prefix = k + 1;
    return prefix;
}

bool WildcardMatch(const char *pattern, const char *path)
{
    // Working copies bound every scan to the engine's 511-byte strings.
    char p[TextBufSize], n[TextBufSize];
    CopyStr(p, pattern + DirPrefixLength(pattern), sizeof p);
    CopyStr(n, path + DirPrefixLength(path), sizeof n);
    const int pDot = LastDot(p), nDot = LastDot(n);
    int i = 0, j = 0;
    for (;;) {
        if (!p[i])
            return !n[j];
        if (p[i] == '*') {
            i++;
            while (p[i] && i != pDot)
                i++;
            while (n[j] && j != nDot)
                j++;
        } else if (FoldCase(p[i]) == FoldCase(n[j])) {
            // Never equal to the name's terminating zero: p[i] is not zero.
            i++;
            j++;
        } else {
            return false;
        }
    }
}

void ApplyPattern(const char *destPattern, char *name, size_t nameSize)
{
    if (nameSize == 0)
        return;
    const size_t dirLen = DirPrefixLength(destPattern);
    char dir[TextBufSize], p[TextBufSize], found[TextBufSize], out[TextBufSize];
    CopyStr(dir, destPattern, dirLen + 1);
    CopyStr(p, destPattern + dirLen, sizeof p);
    CopyStr(found, name, sizeof found);

    if (!p[0]) {
        CopyStr(out, found, sizeof out);
    } else {
        const int pDot = LastDot(p), nDot = LastDot(found);
        size_t len = 0;
        auto put = [&](char c) {
            if (len < sizeof out - 1)
                out[len++] = c;
        };
        int i = 0, j = 0;
        while (p[i]) {
            if (p[i] == '*') {
                while (p[i] && i != pDot)
                    i++;
                while (found[j] && j != nDot)
                    put(found[j++]);
            } else if (i == pDot) {
                while (found[j] && j != nDot)
                    j++;
                put('.');
                i++;
                if (found[j])
                    j++;
            } else {
                // The pattern's byte takes the place of the name's byte.
                put(p[i++]);
                if (found[j])
                    j++;
            }
        }
        out[len] = 0;
    }
    CopyStr(name, dir, nameSize);
    AppendStr(name, out, nameSize);
}
