#include <doctest.h>
#include <string.h>

#include <random>
#include <string>

#include "setup/scanvalue.h"
#include "setup/setupfile.h"
#include "testutil.h"

// A 512-byte buffer with guard bytes on both sides.
struct GuardedBuffer {
    static constexpr int Guard = 64;
    unsigned char bytes[Guard + TextBufSize + Guard];
    GuardedBuffer() { memset(bytes, 0xA5, sizeof bytes); }
    char *data() { return reinterpret_cast<char *>(bytes + Guard); }
    bool guardsIntact() const
    {
        for (int i = 0; i < Guard; i++)
            if (bytes[i] != 0xA5 || bytes[Guard + TextBufSize + i] != 0xA5)
                return false;
        return true;
    }
    bool terminated() const { return memchr(bytes + Guard, 0, TextBufSize) != nullptr; }
};

static std::string RandomText(std::mt19937 &rng)
{
    static const char alphabet[] = "\\$\"=, \n\r\x81\x83\x9F\xE0\xFF" "AIWSRanrt0$x";
    std::uniform_int_distribution<int> pick(0, 3);
    std::uniform_int_distribution<int> length(0, 1500);
    std::uniform_int_distribution<int> anyByte(0, 255);
    std::uniform_int_distribution<int> fromAlphabet(0, sizeof alphabet - 2);
    int n = length(rng);
    std::string text;
    for (int i = 0; i < n; i++)
        text += pick(rng) == 0 ? static_cast<char>(anyByte(rng)) : alphabet[fromAlphabet(rng)];
    return text;
}

TEST_CASE("Random bytes through ReadSetupLine and ScanValue never leave their buffers")
{
    SessionFixture fixture;
    CopyStr(session->installDir, "C:\\A_LONG_INSTALL_DIRECTORY_NAME_FOR_EXPANSION\\", TextBufSize);
    std::mt19937 rng(20261211);
    const char delims[] = { '=', ',', ' ', '"', '\n' };
    for (int round = 0; round < 3000; round++) {
        std::string text = RandomText(rng);
        SetSetupText(text);
        int pos = 0;
        int lines = 0;
        for (;;) {
            GuardedBuffer line;
            int before = pos;
            int n = ReadSetupLine(pos, line.data());
            REQUIRE(line.guardsIntact());
            REQUIRE(line.terminated());
            if (n == -1)
                break;
            REQUIRE(pos == before + n);
            REQUIRE(pos <= static_cast<int>(text.size()));
            for (char delim : delims) {
                GuardedBuffer value;
                int at = 0;
                int got = ScanValue(delim, at, line.data(), value.data());
                REQUIRE(value.guardsIntact());
                REQUIRE(value.terminated());
                REQUIRE(got >= 0);
                REQUIRE(got <= TextMax);
                REQUIRE(at <= static_cast<int>(strlen(line.data())));
            }
            pos++;
            lines++;
        }
        REQUIRE(lines <= static_cast<int>(text.size()) + 1);
    }
}
