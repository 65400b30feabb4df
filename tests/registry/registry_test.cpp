#include <doctest.h>
#include <string.h>

#include <string>

#include "actions/mesgbox.h"
#include "setup/texts.h"
#include "sysconfig/registry.h"
#include "testutil.h"

namespace {

const char *const TestKey = "Software\\KbRegTest";

void DeleteKeyTree(HKEY root, const std::string &path)
{
    HKEY key;
    if (RegOpenKeyA(root, path.c_str(), &key) == ERROR_SUCCESS) {
        char child[256];
        while (RegEnumKeyA(key, 0, child, sizeof child) == ERROR_SUCCESS)
            DeleteKeyTree(root, path + "\\" + child);
        RegCloseKey(key);
    }
    RegDeleteKeyA(root, path.c_str());
}

bool KeyExists(HKEY root, const std::string &path)
{
    HKEY key;
    if (RegOpenKeyA(root, path.c_str(), &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

struct StoredValue {
    LONG error = -1;
    DWORD type = 0;
    std::string bytes;
};

StoredValue ReadValue(HKEY root, const std::string &path, const char *name)
{
    StoredValue v;
    HKEY key;
    if ((v.error = RegOpenKeyA(root, path.c_str(), &key)) != ERROR_SUCCESS)
        return v;
    BYTE buf[1024];
    DWORD size = sizeof buf;
    v.error = RegQueryValueExA(key, name, nullptr, &v.type, buf, &size);
    if (v.error == ERROR_SUCCESS)
        v.bytes.assign(reinterpret_cast<char *>(buf), size);
    RegCloseKey(key);
    return v;
}

std::string Dword(DWORD n)
{
    return std::string(reinterpret_cast<const char *>(&n), 4);
}

// A session in the given language with the texts start-up loads for the
// failure report, a clean test key, and the message box answered by script.
struct RegistryFixture {
    SessionFixture session_;
    explicit RegistryFixture(int languageOffset = 100)
    {
        session->languageOffset = languageOffset;
        LoadLangString(306, session->buttonCaptions[306 - 303], ButtonCaptionSize);
        LoadLangString(318, session->launchFailFormat, 64);
        // Failures are notices whose answer nobody reads; an answer queued
        // keeps every report in the record instead of on the screen.
        MesgBoxResetSeam();
        MesgBoxQueueAnswer(IDOK);
        DeleteKeyTree(HKEY_CURRENT_USER, TestKey);
        DeleteKeyTree(HKEY_LOCAL_MACHINE, TestKey);
    }
    ~RegistryFixture()
    {
        RegistryClose();
        DeleteKeyTree(HKEY_CURRENT_USER, TestKey);
        DeleteKeyTree(HKEY_LOCAL_MACHINE, TestKey);
        MesgBoxResetSeam();
    }
};

void CheckFailureShown(int index, const std::string &text)
{
    REQUIRE(MesgBoxCallCount() > index);
    const MesgBoxCall *call = MesgBoxCallAt(index);
    CHECK(std::string(call->text) == text);
    CHECK(std::string(call->caption) == "Message");
    CHECK(call->style == 0x40);
}

}

TEST_CASE("REGOPEN of a missing key reports error 2 and leaves no key open")
{
    RegistryFixture fixture;
    RegistryOpen("HKEY_CURRENT_USER", "Software");
    REQUIRE(session->hRegKey != nullptr);

    RegistryOpen("HKEY_CURRENT_USER", "Software\\KbRegTest\\Missing");
    CHECK(session->hRegKey == nullptr);
    CHECK(MesgBoxCallCount() == 1);
    CheckFailureShown(0, ">RegOpenKey is Failed. \nERRCODE = 2");
    CHECK_FALSE(KeyExists(HKEY_CURRENT_USER, "Software\\KbRegTest"));

    // With no key open the value has nowhere to go: its own failure shows.
    RegistrySetString("Name", "x");
    REQUIRE(MesgBoxCallCount() == 2);
    std::string text = MesgBoxCallAt(1)->text;
    CHECK(text.rfind(">RegSetValueEx is Failed. \nERRCODE = ", 0) == 0);
    CHECK(text != ">RegSetValueEx is Failed. \nERRCODE = 0");
    CHECK(ReadValue(HKEY_CURRENT_USER, "Software", "Name").error == ERROR_FILE_NOT_FOUND);
}

TEST_CASE("REGCREATE makes every missing level and leaves the last one open for the values")
{
    RegistryFixture fixture;
    const struct {
        const char *rootName;
        HKEY root;
    } rows[] = {
        { "HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE },
        { "hkey_current_user", HKEY_CURRENT_USER },
    };
    for (const auto &row : rows) {
        CAPTURE(std::string(row.rootName));
        const std::string app = std::string(TestKey) + "\\Maker\\App";
        RegistryCreate(row.rootName, app.c_str());
        REQUIRE(session->hRegKey != nullptr);
        CHECK(KeyExists(row.root, TestKey));
        CHECK(KeyExists(row.root, std::string(TestKey) + "\\Maker"));
        CHECK(KeyExists(row.root, app));

        RegistrySetString("Path", "C:\\APP");
        RegistrySetDword("Count", 7);
        StoredValue path = ReadValue(row.root, app, "Path");
        CHECK(path.type == REG_SZ);
        CHECK(path.bytes == std::string("C:\\APP\0", 7));
        StoredValue count = ReadValue(row.root, app, "Count");
        CHECK(count.type == REG_DWORD);
        CHECK(count.bytes == Dword(7));
        CHECK(ReadValue(row.root, std::string(TestKey) + "\\Maker", "Path").error == ERROR_FILE_NOT_FOUND);

        // Creating a key that exists opens it; the next create closes it.
        HKEY first = session->hRegKey;
        RegistryCreate(row.rootName, app.c_str());
        CHECK(session->hRegKey != nullptr);
        RegistrySetString("Path", "D:\\APP");
        CHECK(ReadValue(row.root, app, "Path").bytes == std::string("D:\\APP\0", 7));
        CHECK(RegCloseKey(first) != ERROR_SUCCESS);
    }
    CHECK(MesgBoxCallCount() == 0);
}

TEST_CASE("REGSETVALDW converts its number with automatic base")
{
    RegistryFixture fixture;
    const struct {
        const char *text;
        DWORD stored;
    } rows[] = {
        { "0x10", 16 },
        { "0X1f", 31 },
        { "010", 8 },
        { "08", 0 },
        { "16", 16 },
        { "abc", 0 },
        { "", 0 },
        { "12abc", 12 },
        { "0x", 0 },
        { "0xFFFFFFFF", 0xFFFFFFFF },
        { "4294967295", 0xFFFFFFFF },
        { "4294967296", 0xFFFFFFFF },
        { "99999999999999999999", 0xFFFFFFFF },
        { "0x123456789", 0xFFFFFFFF },
        // Leading blanks and a sign as the run-time library reads them.
        { " 12", 12 },
        { "-1", 0xFFFFFFFF },
    };
    RegistryCreate("HKEY_CURRENT_USER", TestKey);
    REQUIRE(session->hRegKey != nullptr);
    for (const auto &row : rows) {
        CAPTURE(std::string(row.text));
        DWORD number = RegistryNumber(row.text);
        CHECK(number == row.stored);
        RegistrySetDword("Value", number);
        StoredValue v = ReadValue(HKEY_CURRENT_USER, TestKey, "Value");
        CHECK(v.type == REG_DWORD);
        CHECK(v.bytes == Dword(row.stored));
    }
    CHECK(MesgBoxCallCount() == 0);
}

TEST_CASE("REGSETVALSZ stores the text with its terminating zero")
{
    RegistryFixture fixture;
    RegistryCreate("HKEY_CURRENT_USER", TestKey);
    REQUIRE(session->hRegKey != nullptr);
    const std::string texts[] = { "", "Hello World", std::string(TextMax, 'v') };
    for (const std::string &text : texts) {
        CAPTURE(text.size());
        RegistrySetString("Text", text.c_str());
        StoredValue v = ReadValue(HKEY_CURRENT_USER, TestKey, "Text");
        CHECK(v.type == REG_SZ);
        if (text.size() < 1000)
            CHECK(v.bytes == text + std::string(1, '\0'));
    }
    // The empty text is one byte: its terminating zero.
    RegistrySetString("Empty", "");
    CHECK(ReadValue(HKEY_CURRENT_USER, TestKey, "Empty").bytes.size() == 1);
    CHECK(MesgBoxCallCount() == 0);
}

TEST_CASE("Root names are taken in any letter case and nothing else")
{
    RegistryFixture fixture;
    const struct {
        const char *root;
        const char *subkey;
        bool known;
    } rows[] = {
        { "HKEY_CLASSES_ROOT", "CLSID", true },
        { "hkey_classes_root", "CLSID", true },
        { "HKEY_CURRENT_USER", "Software", true },
        { "Hkey_Current_User", "Software", true },
        { "hkey_local_machine", "Software", true },
        { "HKEY_USERS", ".Default", true },
        { "hkey_users", ".Default", true },
        { "HKCU", "Software", false },
        { "HKEY_CURRENT_USERS", "Software", false },
        { "HKEY_CURRENT_USE", "Software", false },
        { "HKEY_CURRENT_USER ", "Software", false },
        { "", "Software", false },
        { "HKEY_CURRENT_\xC5SER", "Software", false },
    };
    for (const auto &row : rows) {
        CAPTURE(std::string(row.root));
        // A key left open beforehand is closed whether or not the root is known.
        RegistryOpen("HKEY_CURRENT_USER", "Software");
        REQUIRE(session->hRegKey != nullptr);
        RegistryOpen(row.root, row.subkey);
        CHECK((session->hRegKey != nullptr) == row.known);
        RegistryClose();
        CHECK(session->hRegKey == nullptr);

        if (!row.known) {
            RegistryCreate(row.root, TestKey);
            CHECK(session->hRegKey == nullptr);
            RegistryDelete(row.root, "Software");
            CHECK(KeyExists(HKEY_CURRENT_USER, "Software"));
        }
    }
    CHECK_FALSE(KeyExists(HKEY_CURRENT_USER, TestKey));
    CHECK(MesgBoxCallCount() == 0);
    // Closing with no key open is harmless.
    RegistryClose();
    CHECK(session->hRegKey == nullptr);
}

TEST_CASE("REGDELETE removes a key, reports a missing one and leaves the open key alone")
{
    RegistryFixture fixture;
    const std::string leaf = std::string(TestKey) + "\\Leaf";
    RegistryCreate("HKEY_CURRENT_USER", leaf.c_str());
    RegistryCreate("HKEY_CURRENT_USER", TestKey);
    HKEY open = session->hRegKey;
    REQUIRE(open != nullptr);

    RegistryDelete("hkey_current_user", leaf.c_str());
    CHECK_FALSE(KeyExists(HKEY_CURRENT_USER, leaf));
    CHECK(session->hRegKey == open);
    CHECK(MesgBoxCallCount() == 0);

    RegistryDelete("HKEY_CURRENT_USER", leaf.c_str());
    CHECK(MesgBoxCallCount() == 1);
    CheckFailureShown(0, ">RegDeleteKey is Failed. \nERRCODE = 2");
    CHECK(session->hRegKey == open);
    RegistrySetDword("After", 1);
    CHECK(ReadValue(HKEY_CURRENT_USER, TestKey, "After").bytes == Dword(1));

}

TEST_CASE("A failing REGCREATE is reported and leaves no key open")
{
    RegistryFixture fixture;
    RegistryOpen("HKEY_CURRENT_USER", "Software");
    REQUIRE(session->hRegKey != nullptr);
    // A key name beyond the registry's 255-character limit.
    RegistryCreate("HKEY_CURRENT_USER", (std::string(TestKey) + "\\" + std::string(300, 'k')).c_str());
    CHECK(session->hRegKey == nullptr);
    REQUIRE(MesgBoxCallCount() == 1);
    std::string text = MesgBoxCallAt(0)->text;
    CHECK(text.rfind(">RegCreateKey is Failed. \nERRCODE = ", 0) == 0);
    CHECK(text != ">RegCreateKey is Failed. \nERRCODE = 0");
    CHECK(MesgBoxCallAt(0)->style == 0x40);
}

TEST_SUITE("japanese")
{
    TEST_CASE("Japanese setups: the failure report and Shift-JIS values")
    {
        RegistryFixture fixture(0);
        RegistryOpen("HKEY_CURRENT_USER", "Software\\KbRegTest\\Missing");
        REQUIRE(MesgBoxCallCount() == 1);
        // ">%s の実行に失敗しました。\nERRCODE = %d" and the caption "ﾒｯｾｰｼﾞ"
        CHECK(std::string(MesgBoxCallAt(0)->text) ==
              ">RegOpenKey \x82\xCC\x8E\xC0\x8D\x73\x82\xC9\x8E\xB8\x94\x73\x82\xB5\x82\xDC\x82\xB5\x82\xBD"
              "\x81\x42\nERRCODE = 2");
        CHECK(std::string(MesgBoxCallAt(0)->caption) == "\xD2\xAF\xBE\xB0\xBC\xDE");
        CHECK(MesgBoxCallAt(0)->style == 0x40);

        // "テスト" in Shift-JIS arrives in the registry as those characters.
        RegistryCreate("HKEY_CURRENT_USER", TestKey);
        RegistrySetString("Title", "\x83\x65\x83\x58\x83\x67");
        HKEY key;
        REQUIRE(RegOpenKeyA(HKEY_CURRENT_USER, TestKey, &key) == ERROR_SUCCESS);
        WCHAR wide[16];
        DWORD size = sizeof wide;
        DWORD type = 0;
        CHECK(RegQueryValueExW(key, L"Title", nullptr, &type, reinterpret_cast<BYTE *>(wide), &size) ==
              ERROR_SUCCESS);
        RegCloseKey(key);
        CHECK(type == REG_SZ);
        CHECK(std::wstring(wide) == L"\x30C6\x30B9\x30C8");
    }
}

// Run by reg_query.sh, which reads the values back with the registry's own
// command-line tool and removes them.
TEST_CASE("Values left for the registry tool" * doctest::skip())
{
    SessionFixture fixture;
    RegistryCreate("hkey_current_user", "Software\\KbRegQuery\\Maker\\App");
    RegistrySetDword("Count", RegistryNumber("0x10"));
    RegistrySetDword("Mode", RegistryNumber("010"));
    RegistrySetDword("Big", RegistryNumber("99999999999"));
    RegistrySetString("Empty", "");
    RegistrySetString("Path", "C:\\Program Files\\App");
    RegistryClose();
    RegistryCreate("HKEY_LOCAL_MACHINE", "Software\\KbRegQuery");
    RegistrySetDword("Zero", RegistryNumber("abc"));
    RegistryClose();
    CHECK(session->hRegKey == nullptr);
}
