#include "testutil.h"

#include <string.h>

#include "setup/setupfile.h"

SessionFixture::SessionFixture()
{
    if (session)
        FreeSession();
    AllocSession(GetModuleHandleA(nullptr));
    SetInitialValues();
}

SessionFixture::~SessionFixture()
{
    if (!session)
        return;
    if (session->setupText)
        FreeSetupText();
    if (session->hTextStore)
        GlobalFree(session->hTextStore);
    if (session->hItems)
        GlobalFree(session->hItems);
    FreeSession();
}

ScratchDir::ScratchDir(const char *tag)
{
    static unsigned counter;
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    char name[MAX_PATH];
    for (;;) {
        wsprintfA(name, "%skb_%s_%lu_%u", temp, tag, GetCurrentProcessId(), ++counter);
        if (CreateDirectoryA(name, nullptr))
            break;
    }
    path = name;
}

ScratchDir::~ScratchDir()
{
    RemoveTreeForTest(path);
}

void RemoveTreeForTest(const std::string &path)
{
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((path + "\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            if (!strcmp(fd.cFileName, ".") || !strcmp(fd.cFileName, ".."))
                continue;
            std::string child = path + "\\" + fd.cFileName;
            SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTreeForTest(child);
            else
                DeleteFileA(child.c_str());
        } while (FindNextFileA(h, &fd));
        FindClose(h);
    }
    RemoveDirectoryA(path.c_str());
}

bool WriteBytes(const std::string &path, const std::string &bytes)
{
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(h);
    return ok && written == bytes.size();
}

std::string ReadBytes(const std::string &path)
{
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return std::string();
    std::string out;
    char buf[4096];
    DWORD got;
    while (ReadFile(h, buf, sizeof buf, &got, nullptr) && got > 0)
        out.append(buf, got);
    CloseHandle(h);
    return out;
}

bool FileExists(const std::string &path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

CurrentDir::CurrentDir(const std::string &dir)
{
    GetCurrentDirectoryA(sizeof saved, saved);
    SetCurrentDirectoryA(dir.c_str());
}

CurrentDir::~CurrentDir()
{
    SetCurrentDirectoryA(saved);
}

void SetSetupText(const std::string &text)
{
    if (session->setupText)
        FreeSetupText();
    session->setupText = static_cast<char *>(LocalAlloc(LPTR, text.size() + 1));
    memcpy(session->setupText, text.data(), text.size());
    session->setupTextLen = static_cast<int>(text.size());
    session->readPos = 0;
}
