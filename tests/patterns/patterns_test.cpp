#include <doctest.h>
#include <string.h>

#include <string>

#include "actions/patterns.h"
#include "setup/session.h"

TEST_CASE("WildcardMatch decides which found names a file command takes")
{
    struct Row {
        const char *pattern;
        const char *path;
        bool match;
    };
    const Row rows[] = {
        // "*.*" wants a dot, "*" wants none.
        { "A:\\*.*", "A:\\README", false },
        { "A:\\*", "A:\\README", true },
        { "A:\\*.*", "A:\\READ.ME", true },
        { "A:\\*", "A:\\READ.ME", false },
        { "*.*", "X.", true },
        { "*", "", true },
        { "*.*", "", false },
        // "?" is an ordinary byte.
        { "A:\\?.TXT", "A:\\X.TXT", false },
        { "A:\\?.TXT", "A:\\?.TXT", true },
        // Letters fold, other bytes do not.
        { "C:\\readme.txt", "D:\\OTHER\\README.TXT", true },
        { "\x82\xA0.TXT", "\x82\xA0.txt", true },
        { "\x82\xA0.TXT", "\x82\xC0.TXT", false },
        { "\x82\x60.TXT", "\x82\x81.TXT", false }, // trail bytes that look like A and a
        { "[.TXT", "{.TXT", false },
        // A "*" before the last dot swallows the pattern and the name up to
        // their last dots.
        { "*.TXT", "A.B.TXT", true },
        { "A*B.TXT", "AXYZ.TXT", true },
        { "A*B.TXT", "B.TXT", false },
        { "*.TXT", "README.DOC", false },
        { "RE*.DOC", "README.DOC", true },
        { "RE*.DOC", "READ.ME.DOC", true },
        // After the last dot, or with no dot, it swallows to the end unless
        // the name still has its last dot ahead.
        { "READ*", "README", true },
        { "READ*", "README.TXT", false },
        { "README.*", "README.T.X", false },
        { "README.T*", "README.TXT", true },
        { "*X", "ABQ", true }, // what follows "*" in a dotless pattern is ignored
        { "*X", "AB.X", false },
        { "*.", "AB.", true },
        // Exact names and the end of either string.
        { "C:\\DIR\\NEW.TXT", "C:\\NEW.TXT", true },
        { "NEW.TXT", "NEW.TX", false },
        { "NEW.TX", "NEW.TXT", false },
        { "", "", true },
        { "C:\\DIR\\", "C:\\OTHER\\", true },
        { "C:\\DIR\\", "C:\\A", false },
    };
    for (const Row &row : rows) {
        CAPTURE(std::string(row.pattern));
        CAPTURE(std::string(row.path));
        CHECK(WildcardMatch(row.pattern, row.path) == row.match);
    }
}

TEST_CASE("ApplyPattern builds the destination name from the found name")
{
    struct Row {
        const char *pattern;
        const char *name;
        const char *result;
    };
    const Row rows[] = {
        { "C:\\DIR\\*.*", "README.TXT", "C:\\DIR\\README.TXT" },
        { "C:\\DIR\\*.BAK", "README.TXT", "C:\\DIR\\README.BAK" },
        { "C:\\DIR\\NEW.TXT", "README.TXT", "C:\\DIR\\NEW.TXT" },
        { "C:\\DIR\\NEW.TXT", "A", "C:\\DIR\\NEW.TXT" },
        { "C:\\DIR\\X*.TXT", "README.DOC", "C:\\DIR\\XEADME.TXT" },
        { "C:\\DIR\\", "README.TXT", "C:\\DIR\\README.TXT" },
        { "C:\\DIR", "README.TXT", "C:\\DIR" },
        { "", "README.TXT", "README.TXT" },
        { "C:\\DIR\\*.BAK", "README", "C:\\DIR\\README.BAK" },
        { "C:\\DIR\\*", "README", "C:\\DIR\\README" },
        { "C:\\DIR\\*.*", "README", "C:\\DIR\\README." },
        { "C:\\DIR\\*.*", "A.B.C", "C:\\DIR\\A.B.C" },
        { "C:\\DIR\\*.X", "A.B.C", "C:\\DIR\\A.B.X" },
        // A pattern longer than the name adds its own bytes; a "*" after the
        // name is used up adds nothing.
        { "C:\\LONGNAME.TXT", "AB", "C:\\LONGNAME.TXT" },
        { "C:\\AB*CD*", "A", "C:\\AB" }, // without a dot "*" takes the rest of the pattern
        { "C:\\AB*CD.*", "A", "C:\\AB." },
        { "C:\\ABC.*", "X", "C:\\ABC." },
        { "C:\\ABC.T*", "X.Y", "C:\\ABC.T" },
        { "C:\\??.TXT", "AB.DOC", "C:\\??.TXT" },
    };
    for (const Row &row : rows) {
        CAPTURE(std::string(row.pattern));
        CAPTURE(std::string(row.name));
        char name[TextBufSize];
        CopyStr(name, row.name, sizeof name);
        ApplyPattern(row.pattern, name, sizeof name);
        CHECK(std::string(name) == row.result);
    }
}

TEST_CASE("Patterns stay inside their strings and buffers")
{
    // Strings at the end of a page of their own: any read past the
    // terminating zero faults.
    SYSTEM_INFO si;
    GetSystemInfo(&si);
    char *base = static_cast<char *>(VirtualAlloc(nullptr, 2 * si.dwPageSize, MEM_RESERVE | MEM_COMMIT,
                                                  PAGE_READWRITE));
    REQUIRE(base);
    DWORD old;
    REQUIRE(VirtualProtect(base + si.dwPageSize, si.dwPageSize, PAGE_NOACCESS, &old));
    char *pageEnd = base + si.dwPageSize;
    auto atPageEnd = [&](char *slot, const char *s) {
        size_t n = strlen(s) + 1;
        memcpy(slot - n, s, n);
        return slot - n;
    };
    const char *name = atPageEnd(pageEnd, "AB");
    const char *pattern = atPageEnd(pageEnd - 64, "C:\\*X*.*LONGER*");
    CHECK_FALSE(WildcardMatch(pattern, name));
    CHECK(WildcardMatch(atPageEnd(pageEnd - 128, "*"), name));
    char out[TextBufSize];
    CopyStr(out, name, sizeof out);
    ApplyPattern(pattern, out, sizeof out);
    CHECK(std::string(out) == "C:\\AB.");
    VirtualFree(base, 0, MEM_RELEASE);

    // Over-long strings count with their first 511 bytes only.
    std::string longDir(600, 'D');
    CHECK(DirPrefixLength((longDir + "\\X").c_str()) == 0);
    CHECK(DirPrefixLength("C:\\A\\B") == 5);
    std::string longName(700, 'N');
    CHECK(WildcardMatch("*", longName.c_str()));

    // The result is cut to the caller's buffer, never beyond it.
    char small[20];
    memset(small, 'Z', sizeof small);
    CopyStr(small, "README.TXT", 12);
    ApplyPattern("C:\\SOMEDIR\\*.*", small, 12);
    CHECK(std::string(small) == "C:\\SOMEDIR\\");
    CHECK(std::string(small + 12, 8) == "ZZZZZZZZ");
    std::string longPattern = "C:\\" + std::string(600, 'P');
    char big[TextBufSize];
    CopyStr(big, "A.B", sizeof big);
    ApplyPattern(longPattern.c_str(), big, sizeof big);
    CHECK(strlen(big) == TextMax);
}
