#include <doctest.h>
#include <string.h>

#include <string>

#include "setup/scanvalue.h"
#include "testutil.h"

static std::string WindowsDir()
{
    char dir[MAX_PATH];
    GetWindowsDirectoryA(dir, sizeof dir);
    return dir;
}

TEST_CASE("ScanValue cuts, unescapes and expands as setup authors write values")
{
    SessionFixture fixture;
    CopyStr(session->installDir, "D:\\APPS\\", TextBufSize);
    std::string win = WindowsDir();
    std::string winRoot = win.substr(0, 2);

    struct Row {
        char delim;
        std::string src;
        std::string result; // with embedded bytes, compared by count
        int endPos;         // -1: the end of the source
    };
    const Row rows[] = {
        { ',', "$R\\\\,x", winRoot + "\\", 4 },
        { ',', "C:\\WINDOWS", "C:INDOWS", -1 },
        { '\n', "a\\rb", "ab", -1 },
        { '\n', "a\\nb", std::string("a\r\nb"), -1 },
        { '\n', "x\\0y", std::string("x\0y", 3), -1 },
        { '\n', "$$5", "$5", -1 },
        { '\n', "$X1", "1", -1 },
        { '\n', "$", "$", -1 },
        { '"', "say \\\"hi\\\" now\"", "say \"hi\" now", 14 },
        { ' ', "a\\ b", "a\\", 2 },
        { '\n', "$A", "D:\\APPS", -1 },
        { '\n', "$I", "D:", -1 },
        { '\n', "$W\\\\SYSTEM.INI", win + "\\SYSTEM.INI", -1 },
        // An escaped quote is protected whatever the delimiter; $$ is one $.
        { '\n', "\\\"q\\\"", "\"q\"", -1 },
        { ',', "a$$,b", "a$", 3 },
        { ',', "$,x", "$", 1 },
        { '=', "KEY=VALUE", "KEY", 3 },
        { '\n', "\\t\\a\\b\\f\\v\\?\\'", "\t\a\b\f\v?'", -1 },
        { '\n', "$S", [] { char d[MAX_PATH]; GetSystemDirectoryA(d, sizeof d); return std::string(d); }(), -1 },
    };
    for (const Row &row : rows) {
        CAPTURE(row.src);
        char dst[TextBufSize];
        memset(dst, 'Z', sizeof dst);
        int pos = 0;
        int n = ScanValue(row.delim, pos, row.src.c_str(), dst);
        CHECK(n == static_cast<int>(row.result.size()));
        CHECK(std::string(dst, n) == row.result);
        CHECK(dst[n] == 0);
        CHECK(pos == (row.endPos == -1 ? static_cast<int>(row.src.size()) : row.endPos));
    }
}

TEST_CASE("ScanValue at the end of its source gives an empty field and keeps the position")
{
    SessionFixture fixture;
    char dst[TextBufSize] = "old";
    int pos = 3;
    CHECK(ScanValue(',', pos, "abc", dst) == 0);
    CHECK(dst[0] == 0);
    CHECK(pos == 3);
}

TEST_CASE("ScanValue before the installation starts: $A and $I expand to nothing")
{
    SessionFixture fixture;
    char dst[TextBufSize];
    int pos = 0;
    CHECK(ScanValue('\n', pos, "[$A|$I]", dst) == 3);
    CHECK(std::string(dst) == "[|]");
}

TEST_CASE("ScanValue cuts a result that variables make longer than 511 bytes")
{
    SessionFixture fixture;
    std::string src;
    while (src.size() < 500)
        src += "$S";
    char dst[TextBufSize + 16];
    memset(dst, 'G', sizeof dst);
    int pos = 0;
    int n = ScanValue('\n', pos, src.c_str(), dst);
    CHECK(n == TextMax);
    CHECK(dst[TextMax] == 0);
    for (size_t i = TextBufSize; i < sizeof dst; i++)
        CHECK(dst[i] == 'G');
    CHECK(pos == static_cast<int>(src.size()));
}
