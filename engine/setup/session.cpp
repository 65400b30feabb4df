#include "setup/session.h"

#include <stdarg.h>
#include <stdio.h>
#include <string.h>

SetupSession *session = nullptr;

bool AllocSession(HINSTANCE hInst)
{
    session = static_cast<SetupSession *>(LocalAlloc(LPTR, sizeof(SetupSession)));
    if (!session)
        return false;
    session->hInst = hInst;
    return true;
}

bool SetInitialValues()
{
    SetupSession *s = session;
    s->page = PageNone;
    s->searchKey[0] = 0;
    for (int i = 0; i < MaxFoundDirs; i++)
        s->foundDirs[i][0] = 0;
    s->installDir[0] = 0;
    s->commentText[0] = 0;
    s->statusText[0] = 0;
    s->msgBoxText[0] = 0;
    s->msgBoxCaption[0] = 0;

    s->hSavedFocus = nullptr;
    s->msgBoxStyle = 0;
    s->overwriteAll = 0;
    s->configSysChanged = s->autoexecBatChanged = 0;
    s->winIniChanged = s->systemIniChanged = 0;
    s->busy = 0;
    s->childRunning = 0;
    s->readPos = 0;
    s->lastGroup = 0;
    s->currentGroup = 0;
    for (int i = 0; i < MaxDiskGroups; i++)
        s->groupSteps[i] = 0;
    s->installSetIndex = 0;
    s->installKind = 0;
    s->showCoverPage = 0;
    s->hOptionList = nullptr;
    s->hFocusItem = nullptr;
    s->itemCount = 0;
    s->shownDirIndex = 0;
    s->foundDirCount = 0;
    s->hRegKey = nullptr;

    s->stepCounter = -1;
    s->selectedMode = -1;
    s->focusItemId = -1;
    s->maxModeIndex = -1;
    s->maxOptionIndex = -1;
    s->lastDriveButton = -1;
    s->freeDrive = -1;
    for (int i = 0; i < 3; i++)
        s->commentKeyPos[i] = -1;
    s->scriptPos[0] = s->scriptPos[1] = -1;

    if (s->hItems)
        GlobalFree(s->hItems);
    s->hItems = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 200);
    return s->hItems != nullptr;
}

void FreeSession()
{
    if (session)
        LocalFree(session);
    session = nullptr;
}

char *CopyStr(char *dst, const char *src, size_t size)
{
    if (size == 0)
        return dst;
    size_t n = 0;
    while (n + 1 < size && src[n]) {
        dst[n] = src[n];
        n++;
    }
    dst[n] = 0;
    return dst;
}

char *AppendStr(char *dst, const char *src, size_t size)
{
    size_t used = strnlen(dst, size);
    if (used < size)
        CopyStr(dst + used, src, size - used);
    return dst;
}

int FormatStr(char *dst, size_t size, const char *format, ...)
{
    va_list args;
    va_start(args, format);
    int n = vsnprintf(dst, size, format, args);
    va_end(args);
    if (size > 0)
        dst[size - 1] = 0;
    return n;
}
