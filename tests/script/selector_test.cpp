#include <doctest.h>

#include <string>

#include "setup/interpreter.h"
#include "testutil.h"

TEST_CASE("ParseLineSelector reads the mode and option numbers that end a line")
{
    struct Row {
        const char *line;
        int mode, option, length;
    };
    const Row rows[] = {
        { "REMOVE $A\\\\X ", -2, 0, 1 },          // trailing blank: option 0
        { "FLCOPY A B  3", 0, 3, 2 },             // two blanks before 3: mode 0
        { "FLCOPY A B 3", -2, 3, 2 },
        { "FLCOPY A B 1 3", 1, 3, 3 },
        { "FLCOPY A B 1 -2", -2, 1, 4 },          // exchanged: option 1, no mode
        { "REGSETVALSZ Name \"5\"", -2, -2, 0 },  // a closing quote
        { "REGSETVALDW Count 5", -2, 5, 2 },      // a number value is a selector
        { "MKDIR $A", -2, -2, 0 },                // a word at the end
        { "", -1, -1, 0 },
        { "12", 0, 12, 2 },                       // the scan runs off the start
        { "X 5-3", -2, -2, 2 },                   // a digit after a negative value
        { "X 12345678901", -2, -2, 10 },          // digits beyond a number's range end it
    };
    for (const Row &row : rows) {
        CAPTURE(row.line);
        int length = -7;
        LineSelector sel = ParseLineSelector(row.line, length);
        CHECK(sel.mode == row.mode);
        CHECK(sel.option == row.option);
        CHECK(length == row.length);
    }
}
