// The engine's message and label texts: the in-memory text store keyed by
// base text id (the Japanese id), filled in the language of the setup file.
#pragma once

// Loads string resource id + languageOffset and appends it under id. A
// missing or empty string adds nothing.
void AddText(int id);
// Appends text under id; an empty text adds nothing.
void PutText(int id, const char *text);
// Copies the first text stored under id into buffer (512 bytes), or "" when
// there is none.
void GetText(int id, char *buffer);
// Releases the text store.
void FreeTextStore();

// Loads string resource id + languageOffset into buffer of size bytes.
int LoadLangString(int id, char *buffer, int size);
