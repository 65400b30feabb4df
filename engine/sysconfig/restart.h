// The end of a run: telling the user about edited system files that were
// missing, and whether Windows or the computer must be restarted.
#pragma once

// 1 when the system file named by pathTemplate exists; else tells the user
// to complete it by hand (from its addition file when there is one) and
// returns 0.
int CheckSystemFile(const char *pathTemplate, const char *shownName, const char *addName);
// Checks every system file the script edited and shows the restart report.
// Returns the message box's result.
int ShowRestartReport();
