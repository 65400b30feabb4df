// Helpers shared by the test programs: a fresh session record, scratch
// directories and whole-file reads and writes.
#pragma once

#include <windows.h>

#include <string>

#include "setup/session.h"

// Gives each test case a fresh, initialised session record that lives in
// this program's module (whose resources are the engine's).
struct SessionFixture {
    SessionFixture();
    ~SessionFixture();
};

// A new empty directory under the Windows temp directory, removed with all
// it holds when the object goes away. path has no final backslash.
struct ScratchDir {
    std::string path;
    explicit ScratchDir(const char *tag = "t");
    ~ScratchDir();
    std::string operator/(const std::string &name) const { return path + "\\" + name; }
};

bool WriteBytes(const std::string &path, const std::string &bytes);
std::string ReadBytes(const std::string &path);
bool FileExists(const std::string &path);
void RemoveTreeForTest(const std::string &path);
// Runs the current directory change for the lifetime of the object.
struct CurrentDir {
    char saved[MAX_PATH];
    explicit CurrentDir(const std::string &dir);
    ~CurrentDir();
};
// Sets the setup text directly, as LoadSetupFile would have.
void SetSetupText(const std::string &text);
