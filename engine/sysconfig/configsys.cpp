#include "sysconfig/configsys.h"

#include <string.h>

#include "setup/scanvalue.h"
#include "setup/session.h"
#include "setup/setupfile.h"
#include "sysconfig/inifile.h"
#include "sysconfig/systemfile.h"

int CutField(char delim, int &pos, const char *src, char *dst)
{
    int len = static_cast<int>(strlen(src));
    int stored = 0;
    if (pos >= 0 && pos < len) {
        int i = pos;
        for (; i < len && src[i] != delim; i++)
            if (stored < TextMax)
                dst[stored++] = src[i];
        pos = i;
    }
    dst[stored] = 0;
    return stored;
}

int NextBufferLine(int &pos, const char *buffer, int total, char *dst)
{
    if (pos < 0 || pos >= total) {
        dst[0] = 0;
        return -1;
    }
    int start = pos;
    int stored = 0;
    for (; pos < total && buffer[pos] != '\n'; pos++)
        if (stored < TextMax)
            dst[stored++] = buffer[pos];
    dst[stored] = 0;
    int n = pos - start;
    return n > 32000 ? 32000 : n;
}

static char UpperAscii(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool KeysEqualN(const char *a, const char *b, int n)
{
    for (int i = 0; i < n; i++) {
        if (IsLeadByte(static_cast<unsigned char>(a[i]))) {
            // A double-byte character is compared as it is.
            if (a[i] != b[i] || (i + 1 < n && a[i + 1] != b[i + 1]))
                return false;
            i++;
        } else if (UpperAscii(a[i]) != UpperAscii(b[i])) {
            return false;
        }
    }
    return true;
}

bool KeysEqual(const char *a, const char *b)
{
    size_t n = strlen(a);
    return n == strlen(b) && KeysEqualN(a, b, static_cast<int>(n));
}

const char *AfterLastBackslash(const char *s)
{
    const char *after = s;
    for (const char *p = s; *p; p++) {
        if (IsLeadByte(static_cast<unsigned char>(*p)) && p[1])
            p++;
        else if (*p == '\\')
            after = p + 1;
    }
    return after;
}

void GetLineKey(char delim, const char *line, char *key)
{
    static const char *const prefixWords[] = {"LH", "LOADFIX", "LOADHIGH", "CALL", "DEVICE", "DEVICEHIGH"};
    int pos = 0;
    CutField(delim, pos, line, key);
    pos++;
    bool prefixed = false;
    for (const char *word : prefixWords)
        prefixed = prefixed || KeysEqual(key, word);
    if (prefixed) {
        // LH C:\DOS\MOUSE.COM and DEVICE=C:\DOS\EMM386.EXE are known by
        // the program they load.
        CutField(' ', pos, line, key);
    } else if (KeysEqual(key, "SET")) {
        int start = 0;
        CutField('=', start, line, key);
        return;
    } else if (KeysEqual(key, "REM") || key[0] == ';') {
        CopyStr(key, line, TextBufSize);
        return;
    }
    const char *name = AfterLastBackslash(key);
    memmove(key, name, strlen(name) + 1);
}

void MakeAddFileName(const char *path, char *addName)
{
    char name[TextBufSize];
    CopyStr(name, path, sizeof name);
    size_t len = strlen(name);
    if (len >= 3)
        memcpy(name + len - 3, "ADD", 3);
    CopyStr(addName, name, TextBufSize);
}

bool ReplaceText(EditBuffer &eb, int at, int oldLen, const char *bytes, int newLen)
{
    if (at < 0 || oldLen < 0 || newLen < 0 || at + oldLen > eb.total ||
        eb.total - oldLen + newLen > eb.size)
        return false;
    memmove(eb.text + at + newLen, eb.text + at + oldLen, static_cast<size_t>(eb.total - at - oldLen));
    memcpy(eb.text + at, bytes, static_cast<size_t>(newLen));
    eb.total += newLen - oldLen;
    return true;
}

void ExpandPathTemplate(const char *pathTemplate, char *path)
{
    int pos = 0;
    if (ScanValue('\n', pos, pathTemplate, path) <= 0)
        path[0] = 0;
}

static bool IsWinKey(const char *key)
{
    return KeysEqual(key, "WIN") || KeysEqual(key, "WINA") || KeysEqual(key, "STACKS");
}

static bool Exists(const char *path)
{
    return path[0] && GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

// Inserts line where a new line of a range goes: at is the start of the line
// it must precede, or the end of the range. Blank lines before that place end
// up after the new line.
static bool InsertLine(EditBuffer &eb, int at, const char *header, const char *line)
{
    while (at > 0 && eb.text[at - 1] == '\n')
        at--;
    char bytes[3 * TextBufSize];
    int n = 0;
    if (header) {
        bytes[n++] = '\n';
        bytes[n++] = '\n';
        int len = static_cast<int>(strlen(header));
        memcpy(bytes + n, header, static_cast<size_t>(len));
        n += len;
    }
    int len = static_cast<int>(strlen(line));
    if (len > 0) {
        // At the very start of the file there is no line to follow: the new
        // line then ends with its own line feed instead of starting with one.
        bool first = at < eb.total && eb.text[at] != '\n';
        if (!first)
            bytes[n++] = '\n';
        memcpy(bytes + n, line, static_cast<size_t>(len));
        n += len;
        if (first)
            bytes[n++] = '\n';
    }
    return ReplaceText(eb, at, 0, bytes, n);
}

static bool AddLine(EditBuffer &eb, char delim, const char *section, const char *newLine)
{
    bool useSection = section && section[0];
    char header[TextBufSize] = "";
    char newKey[TextBufSize];
    char current[TextBufSize];
    char key[TextBufSize];
    GetLineKey(delim, newLine, newKey);
    int pos = 0;
    bool found = true;
    if (useSection) {
        SectionPlace place = FindSectionHeader(eb, section, header);
        found = place.found;
        pos = place.bodyStart;
    }
    int insertAt = -1;
    while (found) {
        int start = pos;
        int n = NextBufferLine(pos, eb.text, eb.total, current);
        if (n < 0)
            break;
        if (n > 0) {
            if (useSection && current[0] == '[') {
                pos = start;
                break;
            }
            GetLineKey(delim, current, key);
            // An empty line only makes sure the section exists; it must not
            // blank a line whose key happens to be empty too.
            if (newLine[0] && KeysEqual(key, newKey))
                return ReplaceText(eb, start, pos - start, newLine,
                                   static_cast<int>(strlen(newLine)));
            if (IsWinKey(key))
                insertAt = start;
        }
        pos++;
    }
    int at = insertAt >= 0 ? insertAt : (pos < eb.total ? pos : eb.total);
    return InsertLine(eb, at, useSection && !found ? header : nullptr, newLine);
}

static bool DeleteLine(EditBuffer &eb, char delim, const char *section, const char *line)
{
    bool useSection = section && section[0];
    char header[TextBufSize];
    char wanted[TextBufSize];
    char current[TextBufSize];
    char key[TextBufSize];
    GetLineKey(delim, line, wanted);
    int pos = 0;
    SectionPlace place = {true, 0, 0};
    if (useSection) {
        place = FindSectionHeader(eb, section, header);
        pos = place.bodyStart;
    }
    // An empty line names no entry; an emptied section is still taken out.
    while (place.found && line[0]) {
        int start = pos;
        int n = NextBufferLine(pos, eb.text, eb.total, current);
        if (n < 0)
            break;
        if (n > 0) {
            if (useSection && current[0] == '[')
                break;
            GetLineKey(delim, current, key);
            if (KeysEqual(key, wanted)) {
                int end = pos < eb.total ? pos + 1 : pos;
                ReplaceText(eb, start, end - start, "", 0);
                break;
            }
        }
        pos++;
    }
    if (useSection)
        RemoveEmptySection(eb, place);
    return true;
}

// The first line whose key is PATH: its start and end (on its LF) in the
// text, or false.
static bool FindPathLine(const EditBuffer &eb, int &start, int &end, int *insertAt)
{
    char current[TextBufSize];
    char key[TextBufSize];
    int pos = 0;
    for (;;) {
        int lineStart = pos;
        int n = NextBufferLine(pos, eb.text, eb.total, current);
        if (n < 0)
            return false;
        if (n > 0) {
            GetLineKey(' ', current, key);
            if (KeysEqual(key, "PATH")) {
                start = lineStart;
                end = pos;
                return true;
            }
            if (insertAt && IsWinKey(key))
                *insertAt = lineStart;
        }
        pos++;
    }
}

// The entry of the PATH line [start, end) equal to dir: the directories
// after the line's first blank, separated by ';'.
static bool FindPathEntry(const EditBuffer &eb, int start, int end, const char *dir, int &entry)
{
    int dirLen = static_cast<int>(strlen(dir));
    int e = start;
    while (e < end && eb.text[e] != ' ')
        e++;
    for (e++; e < end; e++) {
        int f = e;
        while (f < end && eb.text[f] != ';')
            f++;
        if (f - e == dirLen && KeysEqualN(eb.text + e, dir, dirLen)) {
            entry = e;
            return true;
        }
        e = f;
    }
    return false;
}

static bool AddPath(EditBuffer &eb, const char *dir)
{
    int start = 0, end = 0, insertAt = -1, entry = 0;
    char bytes[TextBufSize + 8];
    if (FindPathLine(eb, start, end, &insertAt)) {
        if (FindPathEntry(eb, start, end, dir, entry))
            return true;
        // The directory is added at the end of the line as it stands, so
        // nothing of a line longer than the editor's line buffers is lost.
        bytes[0] = 0;
        if (eb.text[end - 1] != ';')
            CopyStr(bytes, ";", sizeof bytes);
        AppendStr(bytes, dir, sizeof bytes);
        AppendStr(bytes, ";", sizeof bytes);
        return ReplaceText(eb, end, 0, bytes, static_cast<int>(strlen(bytes)));
    }
    FormatStr(bytes, sizeof bytes, "PATH %s;", dir);
    return InsertLine(eb, insertAt >= 0 ? insertAt : eb.total, nullptr, bytes);
}

static bool DeletePath(EditBuffer &eb, const char *dir)
{
    int start = 0, end = 0, entry = 0;
    if (!FindPathLine(eb, start, end, nullptr) || !FindPathEntry(eb, start, end, dir, entry))
        return true;
    // The line is made to end in ';' first, so the entry always has a ';'
    // after it to go with it.
    if (eb.text[end - 1] != ';' && !ReplaceText(eb, end, 0, ";", 1))
        return false;
    return ReplaceText(eb, entry, static_cast<int>(strlen(dir)) + 1, "", 0);
}

// A directory argument without its final ';'; false when nothing is left.
static bool PathArgument(const char *dir, char *out)
{
    CopyStr(out, dir, TextBufSize);
    size_t len = strlen(out);
    if (len > 0 && out[len - 1] == ';')
        out[--len] = 0;
    return len > 0;
}

// Runs edit on the text of path; the file is replaced only when the edit
// succeeded.
template <typename Edit>
static void EditSystemFile(const char *path, bool forAddition, Edit edit)
{
    char name[TextBufSize];
    CopyStr(name, path, sizeof name);
    if (!Exists(name)) {
        // Additions go to the companion file; there is nothing to delete.
        if (!forAddition)
            return;
        MakeAddFileName(name, name);
    }
    EditFile ef;
    if (!OpenEditFile(name, forAddition, ef))
        return;
    FinishEditFile(ef, edit(ef.buf));
}

void AddSystemLineAt(const char *path, char delim, const char *section, const char *line)
{
    EditSystemFile(path, true, [&](EditBuffer &eb) { return AddLine(eb, delim, section, line); });
}

void DeleteSystemLineAt(const char *path, char delim, const char *section, const char *line)
{
    EditSystemFile(path, false, [&](EditBuffer &eb) { return DeleteLine(eb, delim, section, line); });
}

void AddPathEntryAt(const char *path, const char *dir)
{
    char entry[TextBufSize];
    if (PathArgument(dir, entry))
        EditSystemFile(path, true, [&](EditBuffer &eb) { return AddPath(eb, entry); });
}

void DeletePathEntryAt(const char *path, const char *dir)
{
    char entry[TextBufSize];
    if (PathArgument(dir, entry))
        EditSystemFile(path, false, [&](EditBuffer &eb) { return DeletePath(eb, entry); });
}

void AddSystemLine(const char *pathTemplate, char delim, const char *section, const char *line)
{
    char path[TextBufSize];
    ExpandPathTemplate(pathTemplate, path);
    AddSystemLineAt(path, delim, section, line);
}

void DeleteSystemLine(const char *pathTemplate, char delim, const char *section, const char *line)
{
    char path[TextBufSize];
    ExpandPathTemplate(pathTemplate, path);
    DeleteSystemLineAt(path, delim, section, line);
}

void AddPathEntry(const char *pathTemplate, const char *dir)
{
    char path[TextBufSize];
    ExpandPathTemplate(pathTemplate, path);
    AddPathEntryAt(path, dir);
}

void DeletePathEntry(const char *pathTemplate, const char *dir)
{
    char path[TextBufSize];
    ExpandPathTemplate(pathTemplate, path);
    DeletePathEntryAt(path, dir);
}
