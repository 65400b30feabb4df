// INSTALL.EXE: the first program a user starts on the medium.
#include <objbase.h>

#include "form.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    // The shell may hand a document to an extension that needs COM.
    HRESULT com = CoInitialize(NULL);
    int exitCode = 1;
    if (CreateForm1(instance) && FormCreate()) {
        ShowForm1(showCommand);
        MSG msg;
        while (GetMessageA(&msg, NULL, 0, 0) > 0) {
            if (!IsDialogMessageA(Form1.hWnd, &msg)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        }
        exitCode = 0;
    }
    DestroyForm1();
    if (SUCCEEDED(com))
        CoUninitialize();
    return exitCode;
}
