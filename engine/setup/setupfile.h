// Loading the setup file, choosing the language, and the line reader.
#pragma once

// Reads KELBRINE.INI (or else SETUP.INI) from the current directory into
// the session's setup text and sets languageOffset from its [GENERAL]
// LANGUAGE key.
void LoadSetupFile();
void FreeSetupText();

// Reads the line at pos into line (a 512-byte buffer) with the Shift-JIS
// rules: CR bytes are dropped, a double-byte character is never split, a
// second byte of '\' or '$' is doubled for ScanValue, and the line is cut at
// 511 bytes. Returns -1 at the end of the text, else the bytes the line took;
// pos is left on the line feed that ended it.
int ReadSetupLine(int &pos, char *line);

// True for a Shift-JIS lead byte.
inline bool IsLeadByte(unsigned char b) { return (b >= 0x80 && b <= 0x9F) || b >= 0xE0; }
