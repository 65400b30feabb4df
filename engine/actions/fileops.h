// File copy, move, LZ expansion and join actions of the script (FLCOPY,
// LZCOPY, XFLCOPY, XLZCOPY, FLMOVE, MERGE). Destinations come first.
#pragma once

// Copies (or, with expand, LZ-expands) every file the source pattern finds
// and matches to the name the destination pattern gives it; with recurse,
// also creates and enters the subdirectories. Returns ResultAbort when the
// user confirmed an abort, the result of a failed directory creation, else
// ResultGoOn.
int CopyFiles(const char *destPattern, const char *srcPattern, bool expand, bool recurse);
// Copies the tree under srcDir (files with a dot in their names) into destDir.
int CopyTree(const char *destDir, const char *srcDir, bool expand);
// Asks for a missing source until it is there (text 1012) and, when the
// destination exists, whether to overwrite it (1009 newer, 1010 older, 1011
// same date). Returns ResultGoOn to overwrite, ResultAbort after a
// confirmed abort (or Cancel without withAbort), ResultSkip on Ignore (or
// Cancel with withAbort), ResultClosed when the question was closed.
int CheckTarget(const char *dest, const char *src, bool withAbort);
// +1 when a's last-write time (DOS date/time) is later than b's, -1 when
// earlier, 0 when equal. A file whose time cannot be read counts as later
// than one that can, so that overwriting it is always asked.
int CompareFileDates(const char *a, const char *b);
// Appends src to dest (created when missing) and deletes src once it has
// been written whole. dest keeps its own time, or src's when it is new.
void AppendFile(const char *dest, const char *src);
// Moves every entry the source pattern finds and matches (directories too)
// to the name the destination pattern gives it.
int MoveFiles(const char *destPattern, const char *srcPattern);
// One source of MERGE. The first source is checked (missing file, overwrite
// of dest) and dest deleted before it is joined. Returns ResultGoOn to go on
// with the next source, ResultSkip when the MERGE command ends here (the old
// destination stays), ResultAbort when the user confirmed an abort of the
// installation at the missing-file question.
int MergeSource(const char *dest, const char *src, bool first);
