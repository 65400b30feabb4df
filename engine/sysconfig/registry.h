// REGOPEN, REGCREATE, REGCLOSE, REGDELETE, REGSETVALDW and REGSETVALSZ: the
// script writes values into one key at a time, the one held in hRegKey.
// Failures of the registry calls are shown to the user; the script goes on.
#pragma once

#include <windows.h>

// Closes the open key, then opens (or, for create, opens or makes with its
// missing parents) subkey under the root key named root (HKEY_CLASSES_ROOT,
// HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE or HKEY_USERS, in any letter case).
// An unknown root does nothing more.
void RegistryOpen(const char *root, const char *subkey);
void RegistryCreate(const char *root, const char *subkey);
void RegistryClose();
// Deletes subkey under root; the open key stays as it is.
void RegistryDelete(const char *root, const char *subkey);
// Write a REG_DWORD or a REG_SZ (with its terminating zero) into the open key.
void RegistrySetDword(const char *name, DWORD number);
void RegistrySetString(const char *name, const char *text);

// The number of a REGSETVALDW line: decimal, 0x hexadecimal or 0 octal,
// read up to the first byte that does not fit; too large gives 0xFFFFFFFF,
// no digits give 0.
DWORD RegistryNumber(const char *text);
