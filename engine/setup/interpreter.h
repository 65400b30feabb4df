// The script interpreter: counts the chosen script into disk groups and runs
// it one command per timer tick.
#pragma once

struct LineSelector {
    short mode;
    short option;
};

// Reads the mode and option numbers that may end a script line. length
// receives the number of bytes the selector takes at the end of the line.
LineSelector ParseLineSelector(const char *line, int &length);
// Whether the user's choice of modes and options selects a line.
bool IsLineSelected(int mode, int option);
// Positions readPos at the chosen script, fills the disk groups and returns
// the number of commands that will run.
int CountScriptSteps();
// The disk group that step belongs to.
int GroupOfStep(int step);
// One timer tick of the running script.
void RunScriptStep();
