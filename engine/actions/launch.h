// Starting programs from the script: WINEXEC and WINEXECSYNC.
#pragma once

// The show command of a show keyword (any case); SW_SHOWNORMAL for any
// other word.
int ShowCommandOf(const char *keyword);
// Starts the program and goes on at once.
void RunProgram(const char *commandLine, const char *keyword);
// Starts the program and keeps the main window alive until it ends or the
// main window is asked to close.
void RunProgramSync(const char *commandLine, const char *keyword);
