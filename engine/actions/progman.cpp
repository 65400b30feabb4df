#include "actions/progman.h"

#include <string.h>

#include "setup/session.h"

namespace {
// Longest wait for the server to carry out one command.
constexpr DWORD ExecuteTimeout = 1000;
}

void SendProgman(const char *cmd)
{
    SendDdeCommand("PROGMAN", "PROGMAN", cmd);
}

void SendDdeCommand(const char *service, const char *topic, const char *cmd)
{
    DWORD inst = 0;
    if (DdeInitializeA(&inst, DDECallback, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR)
        return;
    HSZ hszService = DdeCreateStringHandleA(inst, service, CP_WINANSI);
    HSZ hszTopic = DdeCreateStringHandleA(inst, topic, CP_WINANSI);
    // A missing string handle would make the connect a wildcard one, and the
    // command would go to whatever server answers first.
    session->hProgmanConv = hszService && hszTopic ? DdeConnect(inst, hszService, hszTopic, nullptr) : nullptr;
    if (session->hProgmanConv) {
        // The server answers whatever it does with the command; the script
        // goes on either way, so the outcome is not examined.
        DdeClientTransaction(reinterpret_cast<LPBYTE>(const_cast<char *>(cmd)),
                             static_cast<DWORD>(strlen(cmd) + 1), session->hProgmanConv, nullptr,
                             CF_TEXT, XTYP_EXECUTE, ExecuteTimeout, nullptr);
        // The server may have ended the conversation during the wait.
        if (session->hProgmanConv)
            DdeDisconnect(session->hProgmanConv);
        session->hProgmanConv = nullptr;
    }
    if (hszService)
        DdeFreeStringHandle(inst, hszService);
    if (hszTopic)
        DdeFreeStringHandle(inst, hszTopic);
    DdeUninitialize(inst);
}

HDDEDATA CALLBACK DDECallback(UINT type, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR)
{
    if (type == XTYP_DISCONNECT && session)
        session->hProgmanConv = nullptr;
    return nullptr;
}
