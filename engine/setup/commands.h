// The 32 script commands: one table of names, argument forms, status texts,
// actions and change flags, read by one dispatcher.
#pragma once

struct ScriptCommand;

// The command named word (case-sensitive), or null.
const ScriptCommand *FindCommand(const char *word);
// Parses the arguments of line from pos (the byte after the blank that ended
// the command word), writes the status text, calls the action and sets the
// change flag. selectorLength is the length of the line's selector. Returns
// the action's result; ResultAbort from a command that may end the run.
int RunCommand(const ScriptCommand &command, const char *line, int pos, int selectorLength);
