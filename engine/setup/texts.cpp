#include "setup/texts.h"

#include <string.h>

#include "setup/session.h"

void PutText(int id, const char *text)
{
    size_t len = strlen(text);
    if (len == 0)
        return;
    if (len > TextMax)
        len = TextMax;
    WORD recordLen = static_cast<WORD>(len + 1);
    int newSize = session->textStoreSize + 4 + recordLen;
    HGLOBAL block = session->hTextStore
        ? GlobalReAlloc(session->hTextStore, newSize, GMEM_MOVEABLE | GMEM_ZEROINIT)
        : GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, newSize);
    if (!block)
        return;
    session->hTextStore = block;
    BYTE *p = static_cast<BYTE *>(GlobalLock(block)) + session->textStoreSize;
    WORD wid = static_cast<WORD>(id);
    memcpy(p, &wid, 2);
    memcpy(p + 2, &recordLen, 2);
    memcpy(p + 4, text, len);
    p[4 + len] = 0;
    GlobalUnlock(block);
    session->textStoreSize = newSize;
}

int LoadLangString(int id, char *buffer, int size)
{
    buffer[0] = 0;
    return LoadStringA(session->hInst, id + session->languageOffset, buffer, size);
}

void AddText(int id)
{
    char text[TextBufSize];
    if (LoadLangString(id, text, TextMax) > 0)
        PutText(id, text);
}

void GetText(int id, char *buffer)
{
    buffer[0] = 0;
    if (!session->hTextStore || session->textStoreSize == 0)
        return;
    const BYTE *base = static_cast<const BYTE *>(GlobalLock(session->hTextStore));
    if (!base)
        return;
    WORD want = static_cast<WORD>(id);
    int at = 0;
    while (at + 4 <= session->textStoreSize) {
        WORD recId, recLen;
        memcpy(&recId, base + at, 2);
        memcpy(&recLen, base + at + 2, 2);
        if (at + 4 + recLen > session->textStoreSize)
            break;
        if (recId == want) {
            CopyStr(buffer, reinterpret_cast<const char *>(base + at + 4),
                    recLen < TextBufSize ? recLen : TextBufSize);
            break;
        }
        at += 4 + recLen;
    }
    GlobalUnlock(session->hTextStore);
}

void FreeTextStore()
{
    if (session->hTextStore)
        GlobalFree(session->hTextStore);
    session->hTextStore = nullptr;
    session->textStoreSize = 0;
}
