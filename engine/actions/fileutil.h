// Helpers shared by the file, directory and attribute actions: path pieces
// within the 512-byte buffers, existence and identity of files, DOS file
// times, the status line and the abort confirmation.
#pragma once

#include <windows.h>

// out = the directory prefix of dirOf + name + tail. False, with out empty,
// when the whole does not fit in 511 bytes: a cut path would name another
// file.
bool JoinPath(char *out, const char *dirOf, const char *name, const char *tail = "");
// True when path names an existing file or directory.
bool PathExists(const char *path);
// Letters A-Z folded to lower case, every other byte compared exactly.
bool SameName(const char *a, const char *b);
// True when a and b name the same file, however each is spelt.
bool SameFile(const char *a, const char *b);

// Last-write time in local time, cut to DOS date/time (2-second steps).
struct DosTime {
    WORD date;
    WORD time;
};
bool ReadDosTime(HANDLE file, DosTime *out);
bool ReadPathDosTime(const char *path, DosTime *out);
void WriteDosTime(HANDLE file, const DosTime &t);
void WritePathDosTime(const char *path, const DosTime &t);

// statusText = text textId formatted with a and b; redrawn at once.
void ShowStatus(int textId, const char *a, const char *b = nullptr);
// Text textId formatted with arg, asked with caption 306.
int AskWithPath(int textId, const char *arg, int style);
// The abort confirmation (text 1001, caption 307, No default): true on Yes.
bool ConfirmAbort();
