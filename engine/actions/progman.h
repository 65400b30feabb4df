// SNDPRG: hands the script's command string to Program Manager, which
// creates the program groups and items.
#pragma once

#include <windows.h>
#include <ddeml.h>

// Sends cmd unchanged, with its terminating zero, as one execute transaction
// to the service and topic "PROGMAN". Nothing is reported: without a server
// the command simply does nothing.
void SendProgman(const char *cmd);

// The same delivery to any DDE service and topic: one conversation of its
// own, opened and closed within the call.
void SendDdeCommand(const char *service, const char *topic, const char *cmd);

extern "C" __declspec(dllexport) HDDEDATA CALLBACK DDECallback(UINT type, UINT format, HCONV conv, HSZ hsz1, HSZ hsz2, HDDEDATA data,
                              ULONG_PTR data1, ULONG_PTR data2);
