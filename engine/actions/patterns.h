// The engine's own file name pattern rules. The platform's directory search
// only proposes candidates; these decide which of them a file command takes
// and what each one is called at its destination. Pure byte-string
// functions: they touch no files and read no byte past either string.
#pragma once

#include <stddef.h>

// Length of the directory prefix of path: everything up to and including the
// last "\" among its first 511 bytes (0 when there is none). The name part
// starts there.
size_t DirPrefixLength(const char *path);

// True when the name part of path matches the name part of pattern. "*"
// swallows a name up to its last dot (or to its end when it has none);
// "?" is an ordinary byte; the ASCII letters compare without case.
bool WildcardMatch(const char *pattern, const char *path);

// Replaces name, a bare file name found by a search, with the destination
// path destPattern gives for it: a pattern ending in "\" keeps the name,
// "*" stands for the name's part before (or after) its last dot, other
// bytes take the place of the name's bytes at their position. The result is
// cut to nameSize - 1 bytes.
void ApplyPattern(const char *destPattern, char *name, size_t nameSize);
