// Reading a system file into an EditBuffer and putting the edited text in
// its place without ever leaving a half-written file behind.
#pragma once

#include <windows.h>

#include "setup/session.h"
#include "sysconfig/configsys.h"

// Reads at most maximum bytes from offset 0 of file into buffer in text
// mode (CR LF becomes LF, a Ctrl-Z ends the text). Returns the bytes of text,
// or -1 when fewer than maximum bytes could be read.
int ReadTextFile(HANDLE file, char *buffer, int maximum);
// Writes count bytes of text from offset 0 of file, each LF as CR LF, in
// pieces of at most 512 bytes, stopping after a piece not written in full.
// Returns the bytes now on disk (count plus one for each LF when complete).
int WriteTextFile(HANDLE file, const char *buffer, int count);

// A system file held open (shared for reading only) while its text is
// edited in memory.
struct EditFile {
    char path[TextBufSize];
    HANDLE file;
    EditBuffer buf;
};

// Opens path for reading and writing (creating an empty file when create is
// set and it is missing) and reads its whole text into ef.buf. False, with
// nothing held, when the file is read-only, cannot be opened or read whole,
// or the memory cannot be had.
bool OpenEditFile(const char *path, bool create, EditFile &ef);
// With write set, writes the text to a new file in the same directory and
// puts that in place of the old one, keeping the old one's hidden and system
// attributes; on any failure the old file stays as it was and the new one is
// removed. Then releases the file and the memory. Returns whether the file
// now holds the edited text (true when write is not set).
bool FinishEditFile(EditFile &ef, bool write);

// Test seam: simulated faults of the writer. The program never sets them.
// A limit of bytes a write may put on disk before it stops (-1: none), and
// the absence of an atomic replace (as on Windows 95 and 98).
void SetEditWriteLimit(int bytes);
void SetEditNoAtomicReplace(bool on);
