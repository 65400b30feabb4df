// The [GENERAL] section: install sets, install modes and options, the
// default install directory and the other settings offered before anything
// is installed.
#pragma once

// The definition of install set k (1 for the first INSTALLSET line) is kept
// in the text store under SetTextBase + k.
enum { SetTextBase = 2000 };

// Reads [GENERAL] once the page controls exist: fills the install-set list,
// creates the option rows, sets the directory field, remembers where the
// scripts and the comment blocks begin and applies the first install set.
void ParseGeneralSection();

// True when key is name followed by an index 0..255 (at most 4 bytes, a key
// shorter than 20 bytes); index is then that number, else 0.
int KeyWithIndex(const char *key, const char *name, int &index);

// The setup file's integer conversion: leading blanks, one sign, digits up
// to the first non-digit; no digits give 0. Saturates at the int range.
int DecimalValue(const char *text);

// Key names of the comment lines, by comment kind: 0 install modes,
// 1 install sets, 2 options.
extern const char *const CommentKeyNames[3];
