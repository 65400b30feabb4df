// The engine's own modal message box: every question and notice of the
// engine goes through MesgBox.
#pragma once

#include <windows.h>

// Button identifier of the engine's "All" button.
constexpr int IDALL = 1702;

// Button sets of the style word's bits 0-2 beyond the platform's own.
constexpr int MB_OKALLCANCEL = 3;
constexpr int MB_OKCANCELABORT = 6;
constexpr int MB_OKALLCANCELABORT = 7;

// Shows text (may be null) under caption (may be null: the template's title
// "ERROR") with the buttons and icon of style, owned by the main window.
// Returns the identifier of the button pressed; Enter gives IDOK and Escape
// IDCANCEL whatever the buttons; 0 when the box was closed.
int MesgBox(const char *text, const char *caption, int style);

extern "C" __declspec(dllexport) INT_PTR CALLBACK VornMesgBoxProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam);

// The test seam: while answers are queued, MesgBox takes the next one
// instead of showing the box, and records what it was asked. The program
// never queues answers, so it always shows the real box.
struct MesgBoxCall {
    char text[512];
    char caption[512];
    int style;
};
void MesgBoxQueueAnswer(int answer);
// Drops queued answers and the record of calls.
void MesgBoxResetSeam();
int MesgBoxCallCount();
const MesgBoxCall *MesgBoxCallAt(int index);
// Used by MesgBox: once a test has queued answers, every call is recorded
// and answered from the queue, or with 0 when the queue is used up, so a
// test that forgot an answer fails instead of hanging on a box nobody sees
// (a question asked over a thousand times unanswered ends the program).
bool MesgBoxSeamAnswer(const char *text, const char *caption, int style, int *answer);
