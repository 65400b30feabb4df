// A program for the launch tests to start and watch:
//   LCHILD.EXE wait GO DONE  waits until the file GO exists, writes DONE, ends
//   LCHILD.EXE show OUT      writes "flags F show S" of its start-up record
#include <windows.h>

#include <stdio.h>
#include <string.h>

static bool Exists(const char *path)
{
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

static void WriteText(const char *path, const char *text)
{
    // Written under another name and renamed, so a watcher never reads half.
    char temp[MAX_PATH + 8];
    snprintf(temp, sizeof temp, "%s.tmp", path);
    FILE *f = fopen(temp, "wb");
    if (!f)
        return;
    fputs(text, f);
    fclose(f);
    MoveFileExA(temp, path, MOVEFILE_REPLACE_EXISTING);
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR cmdLine, int)
{
    char mode[16] = "", a[MAX_PATH] = "", b[MAX_PATH] = "";
    if (sscanf(cmdLine, "%15s %259s %259s", mode, a, b) < 2)
        return 2;
    if (strcmp(mode, "wait") == 0) {
        for (int i = 0; i < 3000 && !Exists(a); i++)
            Sleep(20);
        WriteText(b, "done");
        return 0;
    }
    if (strcmp(mode, "show") == 0) {
        STARTUPINFOA info;
        GetStartupInfoA(&info);
        char text[64];
        snprintf(text, sizeof text, "flags %lu show %u", info.dwFlags & STARTF_USESHOWWINDOW,
                 info.wShowWindow);
        WriteText(a, text);
        return 0;
    }
    return 2;
}
