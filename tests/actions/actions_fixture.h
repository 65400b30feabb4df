// What the action tests share: an English session with the message texts
// and captions loaded, a scratch tree, scripted message box answers and
// file times and attributes.
#pragma once

#include <doctest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "actions/mesgbox.h"
#include "setup/session.h"
#include "setup/texts.h"
#include "testutil.h"

// dir / name for paths built from pieces.
inline std::string operator/(const std::string &dir, const std::string &name)
{
    return dir + "\\" + name;
}

struct ActionFixture {
    SessionFixture session_;
    ScratchDir dir{"act"};
    ActionFixture()
    {
        session->languageOffset = 100;
        for (int id = 1001; id <= 1049; id++)
            AddText(id);
        for (int id = 303; id <= 317; id++)
            LoadLangString(id, session->buttonCaptions[id - 303], ButtonCaptionSize);
        MesgBoxResetSeam();
    }
    ~ActionFixture() { MesgBoxResetSeam(); }
    std::string operator/(const std::string &name) const { return dir / name; }
};

// Queues the answers the user gives, then Ignore: a question nobody expected
// is answered so that no loop asks for ever, and the call count shows it.
inline void Answers(const std::vector<int> &answers)
{
    MesgBoxResetSeam();
    for (int a : answers)
        MesgBoxQueueAnswer(a);
    MesgBoxQueueAnswer(IDIGNORE);
}

inline std::string AskedText(int i)
{
    const MesgBoxCall *call = MesgBoxCallAt(i);
    return call ? call->text : "<no call>";
}
inline int AskedStyle(int i)
{
    const MesgBoxCall *call = MesgBoxCallAt(i);
    return call ? call->style : -1;
}
inline std::string AskedCaption(int i)
{
    const MesgBoxCall *call = MesgBoxCallAt(i);
    return call ? call->caption : "<no call>";
}

inline std::string Text(int id);

// Question i was the abort confirmation.
inline void CheckAbortQuestion(int i)
{
    CHECK(AskedText(i) == Text(1001));
    CHECK(AskedCaption(i) == "Abort");
    CHECK(AskedStyle(i) == 0x144);
}

inline std::string Text(int id)
{
    char buffer[TextBufSize];
    GetText(id, buffer);
    return buffer;
}
// Text id formatted with the arguments, as the actions show it.
inline std::string Formatted(int id, const std::string &a, const std::string &b = "")
{
    char buffer[TextBufSize];
    FormatStr(buffer, sizeof buffer, Text(id).c_str(), a.c_str(), b.c_str());
    return buffer;
}

// Sets the last-write time of path, given in local time.
inline void SetLocalTime(const std::string &path, int y, int mo, int d, int h, int mi, int s)
{
    SYSTEMTIME st = {};
    st.wYear = WORD(y); st.wMonth = WORD(mo); st.wDay = WORD(d);
    st.wHour = WORD(h); st.wMinute = WORD(mi); st.wSecond = WORD(s);
    FILETIME local, utc;
    SystemTimeToFileTime(&st, &local);
    LocalFileTimeToFileTime(&local, &utc);
    HANDLE f = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    REQUIRE(f != INVALID_HANDLE_VALUE);
    SetFileTime(f, nullptr, nullptr, &utc);
    CloseHandle(f);
}

// The last-write time of path in local time as "YYYY-MM-DD hh:mm:ss".
inline std::string LocalTimeOf(const std::string &path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return "<missing>";
    FILETIME local;
    SYSTEMTIME st;
    FileTimeToLocalFileTime(&data.ftLastWriteTime, &local);
    FileTimeToSystemTime(&local, &st);
    char out[32];
    wsprintfA(out, "%04d-%02d-%02d %02d:%02d:%02d", st.wYear, st.wMonth, st.wDay, st.wHour,
              st.wMinute, st.wSecond);
    return out;
}

inline DWORD Attributes(const std::string &path)
{
    return GetFileAttributesA(path.c_str());
}

// Path of a committed fixture file (tests/actions/fixtures).
inline std::string Fixture(const std::string &name)
{
    char dir[MAX_PATH];
    DWORD n = GetEnvironmentVariableA("KELBRINE_TESTS_DIR", dir, sizeof dir);
    REQUIRE(n > 0);
    std::string unixPath = std::string(dir) + "/actions/fixtures/" + name;
    std::string path = "Z:" + unixPath;
    for (char &c : path)
        if (c == '/')
            c = '\\';
    return path;
}
