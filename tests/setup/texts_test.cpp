#include <doctest.h>
#include <string.h>

#include <string>

#include "setup/texts.h"
#include "testutil.h"

static std::string Text(int id)
{
    char buffer[TextBufSize];
    memset(buffer, 'Q', sizeof buffer);
    GetText(id, buffer);
    return buffer;
}

TEST_CASE("GetText finds texts of the chosen language under their base ids")
{
    SessionFixture fixture;
    session->languageOffset = 100;
    for (int id = 101; id <= 106; id++)
        AddText(id);
    for (int id = 1001; id <= 1049; id++)
        AddText(id);
    CHECK(Text(1001) == "If abort this operation...\nYou must install again from the first.\nDo abort install?");
    CHECK(Text(104) == "Install Disk:");
    CHECK(Text(106) == "    [ DiskFreeSpace:%5.1f MB ]");
    CHECK(Text(1034) == "%s\\%s registry key open.");
    CHECK(Text(1039) == "'%s' to '%s' moveing...");
    // Ids without a string add nothing.
    CHECK(Text(1040) == "");
    CHECK(Text(2001) == "");
    CHECK(Text(1101) == "");
}

TEST_CASE("PutText: the first record of an id wins, an empty text adds nothing")
{
    SessionFixture fixture;
    CHECK(Text(2001) == ""); // empty store
    PutText(2001, "");
    CHECK(session->textStoreSize == 0);
    PutText(2001, "SI,0,1");
    PutText(2002, "MI");
    PutText(2001, "CD");
    CHECK(Text(2001) == "SI,0,1");
    CHECK(Text(2002) == "MI");
    // Records are id, length (with the NUL), text.
    CHECK(session->textStoreSize == (4 + 7) + (4 + 3) + (4 + 3));
    const BYTE *p = static_cast<const BYTE *>(GlobalLock(session->hTextStore));
    CHECK(p[0] == 0xD1);
    CHECK(p[1] == 0x07);
    CHECK(p[2] == 7);
    CHECK(p[3] == 0);
    CHECK(memcmp(p + 4, "SI,0,1", 7) == 0);
    GlobalUnlock(session->hTextStore);
}

TEST_CASE("The string table holds every text id of both languages")
{
    SessionFixture fixture;
    char buffer[TextBufSize];
    CHECK(LoadStringA(session->hInst, 1, buffer, 10) == 8);
    CHECK(std::string(buffer) == "KELBRINE");
    int ranges[][2] = { { 101, 106 }, { 201, 206 }, { 303, 318 }, { 403, 418 },
                        { 1001, 1039 }, { 1101, 1139 } };
    for (auto &r : ranges)
        for (int id = r[0]; id <= r[1]; id++) {
            CAPTURE(id);
            CHECK(LoadStringA(session->hInst, id, buffer, sizeof buffer) > 0);
        }
    CHECK(LoadStringA(session->hInst, 1040, buffer, sizeof buffer) == 0);
    CHECK(LoadStringA(session->hInst, 1140, buffer, sizeof buffer) == 0);
    session->languageOffset = 100;
    LoadLangString(318, buffer, 64);
    CHECK(std::string(buffer) == ">%s is Failed. \nERRCODE = %d");
    LoadLangString(315, buffer, 16);
    CHECK(std::string(buffer) == "B&All'sWell");
}

TEST_SUITE("japanese")
{
    TEST_CASE("Japanese texts come back as the exact Shift-JIS bytes under code page 932")
    {
        SessionFixture fixture;
        REQUIRE(GetACP() == 932);
        session->languageOffset = 0;
        AddText(1001);
        AddText(106);
        // 今ｲﾝｽﾄｰﾙを中断すると、\n再度ｲﾝｽﾄｰﾙが必要に成ります。\nｲﾝｽﾄｰﾙを中断しますか？
        CHECK(Text(1001) ==
              "\x8D\xA1\xB2\xDD\xBD\xC4\xB0\xD9\x82\xF0\x92\x86\x92\x66\x82\xB7\x82\xE9\x82\xC6\x81\x41\n"
              "\x8D\xC4\x93\x78\xB2\xDD\xBD\xC4\xB0\xD9\x82\xAA\x95\x4B\x97\x76\x82\xC9\x90\xAC\x82\xE8"
              "\x82\xDC\x82\xB7\x81\x42\n"
              "\xB2\xDD\xBD\xC4\xB0\xD9\x82\xF0\x92\x86\x92\x66\x82\xB5\x82\xDC\x82\xB7\x82\xA9\x81\x48");
        // [ 使用可能ﾃﾞｨｽｸ容量:%5.1f MB ]
        CHECK(Text(106) == "[ \x8E\x67\x97\x70\x89\xC2\x94\x5C\xC3\xDE\xA8\xBD\xB8\x97\x65\x97\xCA:%5.1f MB ]");
        char buffer[TextBufSize];
        LoadLangString(308, buffer, 16);
        CHECK(std::string(buffer) == "B\x92\x86\x8E\x7E(&A)"); // B中止(&A)
    }
}
