// Directory, remove and attribute actions of the script (MKDIR, RMDIR,
// REMOVE, XREMOVE, SETATTRIBUTE) and the check of the install directory the
// user typed on the directory page.
#pragma once

#include <windows.h>

// Creates dir (one level) unless a file or directory of that name exists.
// On failure asks Abort/Retry/Ignore (text 1007). Returns ResultGoOn when the
// directory is there (or Enter was pressed), ResultAbort after a confirmed
// abort, ResultSkip on Ignore, ResultClosed when the question was closed.
int MakeDir(const char *dir);
// Removes the one, empty directory dir (RMDIR); a failure is not reported.
void RemoveDir(const char *dir);
// Deletes the files the pattern finds (read-only files stay); with recurse,
// also empties and removes the subdirectories it finds.
void RemoveFiles(const char *pattern, bool recurse);
// Removes dir with everything in it, in up to 32 passes.
void RemoveTree(const char *dir);
// Sets the attributes named by keywords (ARCHIVE, NORMAL, HIDDEN, READONLY,
// SYSTEM, TEMPORARY, found anywhere in the text in any case) on the files
// the pattern finds; every other attribute is cleared.
void SetAttributes(const char *pattern, const char *keywords);
// The attribute bits named in keywords.
DWORD AttributeBits(const char *keywords);
// Checks the install directory field of the main window: 1 valid, 0 invalid
// after telling the user (text 1033).
int ValidateInstallDir();
