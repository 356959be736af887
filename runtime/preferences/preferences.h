// Preferences file: named groups of integer keys in a small text file.
//
// Written as "[Group]" and "Key = value" lines ending in CR LF, through a
// temporary file renamed over the target at close, so a failed write leaves the
// old file whole. Read leniently: LF or CR LF, comments after ";", group and key
// names compared without case over the length found in the file.
#pragma once

#include <cstdint>

void RT_InitPreference();
int32_t RT_OpenPreferences(const char *fileName);   // non-zero when opened for reading
int32_t RT_CreatePreferences(const char *fileName); // non-zero when created for writing
int32_t RT_PreferenceGroup(const char *name);       // 1 when found (reading) or written
int32_t RT_ReadPreferenceLong(const char *key, int32_t defaultValue);
void RT_WritePreferenceLong(const char *key, int32_t value);
int32_t RT_ClosePreferences(); // 1 unless a file being written could not be completed
void RT_FreePreferences();     // as RT_ClosePreferences
