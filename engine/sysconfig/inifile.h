// The section rules of the INI commands: finding "[section]" and taking an
// emptied section out again.
#pragma once

#include "sysconfig/configsys.h"

struct SectionPlace {
    bool found;
    int headerStart; // start of the header line
    int bodyStart;   // start of the line after it (where the search ended when not found)
};

// Looks for the first line that is exactly "[section]" in any letter case.
// header (512 bytes) receives the header text.
SectionPlace FindSectionHeader(const EditBuffer &eb, const char *section, char *header);
// Removes the found section's header and lines when none of them holds more
// than blanks and tabs. For the last section of the file the line feed
// before the header goes too, so that a section appended by AddSystemLine
// comes out again without a trace.
void RemoveEmptySection(EditBuffer &eb, const SectionPlace &place);
