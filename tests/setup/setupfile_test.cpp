#include <doctest.h>
#include <string.h>

#include <string>

#include "setup/setupfile.h"
#include "testutil.h"

// Reads the first line of text and returns (result, stored bytes).
static std::pair<int, std::string> FirstLine(const std::string &text, int *endPos = nullptr)
{
    SetSetupText(text);
    char line[TextBufSize];
    int pos = 0;
    int n = ReadSetupLine(pos, line);
    if (endPos)
        *endPos = pos;
    return { n, std::string(line, strlen(line)) };
}

TEST_CASE("ReadSetupLine applies the Shift-JIS and CR rules")
{
    SessionFixture fixture;
    struct Row {
        const char *name;
        std::string text;
        int result;
        std::string line;
        int endPos;
    };
    const std::string so = "\x83\x5C"; // a character whose second byte is '\'
    const Row rows[] = {
        { "CR dropped mid-line", "A\r\rB\nC", 4, "AB", 4 },
        { "CR LF ending", "AB\r\nC", 3, "AB", 3 },
        { "CR alone joins the next line", "A\rB\nC", 3, "AB", 3 },
        { "lead byte + backslash stored three bytes", so + "X\n", 3, so + "\\X", 3 },
        { "lead byte + dollar doubled", "\x82$Y", 3, "\x82$$Y", 3 },
        { "lead byte + LF taken into the line", "\x82\nZZ\nW", 4, "\x82\nZZ", 4 },
        { "last byte a lead byte", "AB\x82", 3, "AB\x82", 3 },
        { "empty line", "\nX", 0, "", 0 },
        { "NUL inside a line ends its text", std::string("AB\0CD\nE", 7), 5, "AB", 5 },
    };
    for (const Row &row : rows) {
        CAPTURE(row.name);
        int pos;
        auto got = FirstLine(row.text, &pos);
        CHECK(got.first == row.result);
        CHECK(got.second == row.line);
        CHECK(pos == row.endPos);
    }
}

TEST_CASE("ReadSetupLine cuts at 511 bytes but moves past the whole line")
{
    SessionFixture fixture;
    std::string text(600, 'x');
    text += "\nNEXT";
    int pos;
    auto got = FirstLine(text, &pos);
    CHECK(got.first == 600);
    CHECK(got.second.size() == 511);
    CHECK(pos == 600);

    // 510 bytes stored, then a pair: only its lead byte fits.
    text = std::string(510, 'y') + "\x88\x9F" + "z\n";
    got = FirstLine(text);
    CHECK(got.second.size() == 511);
    CHECK(static_cast<unsigned char>(got.second[510]) == 0x88);
}

TEST_CASE("ReadSetupLine returns -1 only at the end, 0 for an empty line")
{
    SessionFixture fixture;
    SetSetupText("A\n\nB");
    char line[TextBufSize];
    int pos = 0;
    CHECK(ReadSetupLine(pos, line) == 1);
    pos++;
    CHECK(ReadSetupLine(pos, line) == 0);
    pos++;
    CHECK(ReadSetupLine(pos, line) == 1);
    CHECK(std::string(line) == "B");
    pos++;
    CHECK(ReadSetupLine(pos, line) == -1);
    CHECK(line[0] == 0);
    CHECK(pos == 5);
}

TEST_CASE("LoadSetupFile chooses the file and the language")
{
    SessionFixture fixture;
    struct Row {
        const char *name;
        const char *kelbrine; // nullptr: no such file
        const char *setup;
        int offset;
    };
    const Row rows[] = {
        { "KELBRINE.INI wins over SETUP.INI", "[GENERAL]\r\nLANGUAGE=ENGLISH\r\n",
          "[GENERAL]\nLANGUAGE=JAPANESE\n", 100 },
        { "SETUP.INI when KELBRINE.INI is absent", nullptr, "[GENERAL]\nLANGUAGE=ENGLISH\n", 100 },
        { "LANGUAGE after an empty line", "[GENERAL]\nA=1\n\nLANGUAGE=ENGLISH\n", nullptr, 0 },
        { "LANGUAGE in a later section", "[GENERAL]\nA=1\n[X]\nLANGUAGE=ENGLISH\n", nullptr, 0 },
        { "lower-case value", "[GENERAL]\nLANGUAGE=english\n", nullptr, 0 },
        { "header with a blank", "[GENERAL] \nLANGUAGE=ENGLISH\n", nullptr, 0 },
        { "header in lower case", "[general]\nLANGUAGE=ENGLISH\n", nullptr, 0 },
        { "key with a trailing blank", "[GENERAL]\nLANGUAGE =ENGLISH\n", nullptr, 0 },
        { "first LANGUAGE line decides", "[GENERAL]\nLANGUAGE=ENGLISH\nLANGUAGE=JAPANESE\n", nullptr, 100 },
        { "no LANGUAGE key", "[GENERAL]\nDEFAULTDIR=C:\\\\X\n", nullptr, 0 },
        { "no file at all", nullptr, nullptr, 0 },
    };
    for (const Row &row : rows) {
        CAPTURE(row.name);
        ScratchDir dir("load");
        if (row.kelbrine)
            WriteBytes(dir / "KELBRINE.INI", row.kelbrine);
        if (row.setup)
            WriteBytes(dir / "SETUP.INI", row.setup);
        CurrentDir cd(dir.path);
        session->languageOffset = 55;
        LoadSetupFile();
        CHECK(session->languageOffset == row.offset);
        if (!row.kelbrine && !row.setup) {
            CHECK(session->setupText == nullptr);
            char line[TextBufSize];
            int pos = 0;
            CHECK(ReadSetupLine(pos, line) == -1);
        } else {
            CHECK(session->setupTextLen ==
                  static_cast<int>(strlen(row.kelbrine ? row.kelbrine : row.setup)));
        }
        FreeSetupText();
    }
}

TEST_CASE("LoadSetupFile uses only the first 32000 bytes")
{
    SessionFixture fixture;
    ScratchDir dir("big");
    std::string text = "[GENERAL]\nLANGUAGE=ENGLISH\n[INSTALL-SCRIPT]\n";
    while (text.size() < 40000)
        text += "MKDIR \"$A\\\\SUB\"\n";
    WriteBytes(dir / "KELBRINE.INI", text);
    CurrentDir cd(dir.path);
    LoadSetupFile();
    REQUIRE(session->setupText != nullptr);
    CHECK(session->setupTextLen == 32000);
    CHECK(memcmp(session->setupText, text.data(), 32000) == 0);
    CHECK(session->languageOffset == 100);
    // Reading to the end stops exactly at the cut.
    char line[TextBufSize];
    int pos = 0, last = 0;
    while (ReadSetupLine(pos, line) != -1) {
        last = pos;
        pos++;
    }
    CHECK(last == 32000);
    FreeSetupText();
}
