// Line editing of CONFIG.SYS, AUTOEXEC.BAT and the INI files: the script
// commands ADDCONF, DELCONF, ADDAUTO, DELAUTO, ADDPATH, DELPATH and, with a
// section, ADDWSYS, ADDWINI, DELWSYS, DELWINI.
#pragma once

#include <windows.h>

// Bytes of EditBuffer beyond the file's length: room for the largest growth
// of one edit, a new section header and a line of 511 bytes with their line
// feeds. An edit that would need more is refused.
constexpr int EditSpare = 1032;

// The text of a file being edited, as read in text mode: lines end in a
// single LF, no terminating NUL; total counts the bytes of text.
struct EditBuffer {
    HGLOBAL hMem;
    char *text;
    int total;
    int size;
};

// Copies src from pos up to delim or the end into dst (512 bytes; at most
// 511 bytes stored, further ones skipped). pos is left on the delimiter.
// Returns the bytes stored.
int CutField(char delim, int &pos, const char *src, char *dst);
// Copies the line at pos (up to LF or total) into dst (512 bytes) and leaves
// pos on the LF. Returns the line's length in the buffer (at most 32000), or
// -1 with an empty dst when pos is at or beyond total.
int NextBufferLine(int &pos, const char *buffer, int total, char *dst);
// The key by which two lines are taken to describe the same entry, into key
// (512 bytes).
void GetLineKey(char delim, const char *line, char *key);
// Key comparison: ASCII letters in either case, Shift-JIS characters exactly.
bool KeysEqual(const char *a, const char *b);
bool KeysEqualN(const char *a, const char *b, int n);
// The byte after the last backslash of s (s itself when there is none);
// never stops inside a double-byte character.
const char *AfterLastBackslash(const char *s);
// The companion file taking additions when the system file is missing: the
// last three characters of path replaced by ADD (C:\CONFIG.SYS gives
// C:\CONFIG.ADD). addName holds 512 bytes and may be path itself.
void MakeAddFileName(const char *path, char *addName);
// Puts newLen bytes in place of oldLen bytes at at, moving the rest of the
// text. Returns false, changing nothing, when the block has no room.
bool ReplaceText(EditBuffer &eb, int at, int oldLen, const char *bytes, int newLen);

// The script operations. The path template is expanded like a setup value
// ("$R\\CONFIG.SYS"); section is null or empty for CONFIG.SYS and
// AUTOEXEC.BAT. Nothing is reported: a file that cannot be edited safely is
// left as it was.
void AddSystemLine(const char *pathTemplate, char delim, const char *section, const char *line);
void DeleteSystemLine(const char *pathTemplate, char delim, const char *section, const char *line);
void AddPathEntry(const char *pathTemplate, const char *dir);
void DeletePathEntry(const char *pathTemplate, const char *dir);

// The same on an expanded path.
void AddSystemLineAt(const char *path, char delim, const char *section, const char *line);
void DeleteSystemLineAt(const char *path, char delim, const char *section, const char *line);
void AddPathEntryAt(const char *path, const char *dir);
void DeletePathEntryAt(const char *path, const char *dir);

// Expands a path template with the value rules into path (512 bytes).
void ExpandPathTemplate(const char *pathTemplate, char *path);
