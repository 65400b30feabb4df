#include <doctest.h>

#include <string>

#include "setup/session.h"
#include "window/startup.h"

TEST_CASE("The program directory is taken from the command line")
{
    struct Row {
        const char *commandLine;
        const char *dir;
    };
    const Row rows[] = {
        { "\"C:\\SETUP\\KELBRINE.EXE\" /arg", "C:\\SETUP" },
        { "\"C:\\MY SETUP\\KELBRINE.EXE\"", "C:\\MY SETUP" },
        { "A:\\KELBRINE.EXE", "A:\\" },
        { "A:\\SETUP\\KELBRINE.EXE arg\\x", "A:\\SETUP" },
        { "KELBRINE.EXE", "" },
        { "\"KELBRINE.EXE\" C:\\X\\Y", "" },
        { "", "" },
    };
    for (const Row &row : rows) {
        CAPTURE(row.commandLine);
        char dir[TextBufSize] = "junk";
        SourceDirOf(row.commandLine, dir);
        CHECK(std::string(dir) == row.dir);
    }
    // A path longer than the buffer is scanned over its first 511 bytes only.
    std::string longLine = "C:\\" + std::string(600, 'D') + "\\KELBRINE.EXE";
    char dir[TextBufSize];
    SourceDirOf(longLine.c_str(), dir);
    CHECK(std::string(dir) == "C:\\");
}
