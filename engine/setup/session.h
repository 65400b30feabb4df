// The engine's one run-state record and the fixed-buffer helpers every part
// of the engine uses.
#pragma once

#include <windows.h>
#include <ddeml.h>
#include <stddef.h>

// Every string of the engine lives in a buffer of this size: 511 bytes of
// text and a NUL.
constexpr int TextBufSize = 512;
constexpr int TextMax = TextBufSize - 1;

// Pages of the main window.
enum { PageNone = -1, PageCover = 0, PageDirectory = 1, PageOptions = 2, PageProgress = 3 };

// Control ids of the main window.
enum {
    IdOk = 1, IdCancel = 2, IdAbort = 3,
    IdInstallDir = 1601, IdOptionList = 1602, IdInstallSet = 1603,
    IdFolder = 1605, IdFirstDrive = 1606,
    IdFirstOption = 1000, IdFirstMode = 1300
};

// Results of the actions: the interpreter acts only on ResultAbort.
enum { ResultClosed = 0, ResultGoOn = 1, ResultAbort = 3, ResultSkip = 5 };

enum { MaxFoundDirs = 5, MaxDiskGroups = 100, ButtonCaptionCount = 15, ButtonCaptionSize = 17 };

struct SetupSession {
    // Window, font and conversation
    HINSTANCE hInst;
    HWND hMainWnd;
    HCONV hProgmanConv;
    HFONT hFont;
    COLORREF btnFaceColor;
    short page;
    HWND hSavedFocus;
    int charWidth;
    int charHeight;

    // Directories
    char sourceDir[TextBufSize];
    char searchKey[TextBufSize];
    char foundDirs[MaxFoundDirs][TextBufSize];

    // Resources and message texts
    HGLOBAL hTextStore;
    int textStoreSize;
    HGLOBAL hMsgBoxTemplate;
    HGLOBAL hCoverBmp;
    HGLOBAL hBmpRes;
    void *bmpResBits;
    HPALETTE hCoverPalette;
    HPALETTE hResPalette;
    unsigned short coverColors;
    unsigned short resColors;
    // Memory DCs and picture strips, in the order the record keeps them.
    HDC hdc1002, hdc1012;
    HBITMAP hbm1002, hbm1012;
    HDC hdc1001, hdc1011;
    HBITMAP hbm1001, hbm1011;
    HDC hdc1003, hdc1013;
    HBITMAP hbm1003, hbm1013;
    HBITMAP hPatternBmp;
    HICON hIcon2001, hIcon2002;
    // Bitmaps selected into the six memory DCs before the strips.
    HBITMAP hbmPrev1001, hbmPrev1002, hbmPrev1003, hbmPrev1011, hbmPrev1012, hbmPrev1013;

    // Selection and settings
    int installSetIndex;
    int installKind;
    int selectedMode;
    int languageOffset;
    int showCoverPage;
    char installDir[TextBufSize];

    // Setup text and script state
    char *setupText;
    int setupTextLen;
    int stepCounter;
    int stepTotal;
    int overwriteAll;
    int configSysChanged;
    int autoexecBatChanged;
    int winIniChanged;
    int systemIniChanged;
    char commentText[TextBufSize];
    char statusText[TextBufSize];
    int busy;
    int childRunning;
    int commentKeyPos[3];
    int scriptPos[2];
    int readPos;
    int groupSteps[MaxDiskGroups];
    int lastGroup;
    int currentGroup;

    // Directory choice, option list and disk space
    int shownDirIndex;
    int foundDirCount;
    HWND hOptionList;
    HWND hFocusItem;
    int focusItemId;
    int itemCount;
    HGLOBAL hItems;
    int maxModeIndex;
    int maxOptionIndex;
    int lastDriveButton;
    RECT rcText;
    RECT rcList;
    RECT rcDisk;
    int needKB;
    int freeKB;
    int freeDrive;

    // Registry and fixed texts
    HKEY hRegKey;
    char buttonCaptions[ButtonCaptionCount][ButtonCaptionSize];
    char launchFailFormat[65];
    char msgBoxText[TextBufSize];
    char msgBoxCaption[TextBufSize];
    int msgBoxStyle;
};

// The single session record; null before start-up and after the main window
// is gone.
extern SetupSession *session;

// Allocates the zero-filled record from the local heap and stores the module
// instance. Returns false when the memory cannot be had.
bool AllocSession(HINSTANCE hInst);
// Sets the start-up values of the fields that do not start at zero and
// allocates the option item array. Returns false when that fails.
bool SetInitialValues();
// Frees the record and clears the pointer.
void FreeSession();

// Button caption slot of text id 303..317.
inline const char *ButtonCaption(int id) { return session->buttonCaptions[id - 303]; }

// Copies at most size - 1 bytes of src and terminates dst. Returns dst.
char *CopyStr(char *dst, const char *src, size_t size);
// Appends src to the string in dst, keeping the whole within size bytes.
char *AppendStr(char *dst, const char *src, size_t size);
// printf into a fixed buffer, cut to size - 1 bytes and always terminated.
int FormatStr(char *dst, size_t size, const char *format, ...)
    __attribute__((format(printf, 3, 4)));
