// The engine's entry point.
#include <windows.h>

#include "window/startup.h"

int WINAPI WinMain(HINSTANCE hInst, HINSTANCE hPrev, LPSTR, int)
{
    if (!hPrev && !RegisterClasses(hInst))
        return 1;
    if (!InitInstance(hInst, GetCommandLineA())) {
        MessageBoxA(nullptr, "The installer could not start: not enough memory.", "KELBRINE",
                    MB_OK | MB_ICONSTOP);
        return 1;
    }
    return RunMessageLoop();
}
