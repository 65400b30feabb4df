// Choosing the install directory: the drive buttons, the search of a drive
// for an earlier installation and the Folder button that cycles through
// what the search found.
#pragma once

// Creates the hidden drive buttons of the directory page, one per drive,
// eight to a row, the last row on the Folder button's line.
void CreateDriveButtons();
// Searches the drive named in the directory field (else the current drive)
// for the names of SEARCHKEY; true when at least one directory was found.
bool SearchInstallDir();
// Searches directory and everything below it, depth-first; true once five
// directories are recorded (the search is then over).
bool SearchDirTree(const char *directory, const char *pattern);
// The drive button command: drive 0 is A.
void SelectDrive(int drive);
// The Folder button command: shows the next found directory.
void NextFoundDir();
