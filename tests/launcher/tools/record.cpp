// RECORD.EXE: a target for the launcher's buttons. It writes how it was
// started into recorded.txt beside itself: the command line, the working
// directory and its own path, one a line.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    char path[MAX_PATH], cwd[MAX_PATH], out[MAX_PATH + 16], text[3 * MAX_PATH + 8192];
    DWORD length = GetModuleFileNameA(NULL, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH || !GetCurrentDirectoryA(MAX_PATH, cwd))
        return 1;
    lstrcpyA(out, path);
    char *slash = out;
    for (char *p = out; *p; p = CharNextA(p))
        if (*p == '\\')
            slash = p + 1;
    lstrcpyA(slash, "recorded.txt");
    lstrcpynA(text, GetCommandLineA(), 8192);
    lstrcatA(text, "\n");
    lstrcatA(text, cwd);
    lstrcatA(text, "\n");
    lstrcatA(text, path);
    lstrcatA(text, "\n");
    HANDLE file = CreateFileA(out, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    DWORD written;
    WriteFile(file, text, lstrlenA(text), &written, NULL);
    CloseHandle(file);
    return 0;
}
