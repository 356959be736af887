// Preferences file: named groups of integer keys in a small text file.
//
// Written as "[Group]" and "Key = value" lines ending in CR LF, through a
// temporary file beside the target, renamed over it at close, so a failed write
// leaves the old file whole and no temporary file behind; the file and then its
// folder reach the disk before the close reports success. A name that is a
// symbolic link is written through: the file it points at is replaced and the
// link stays. Read leniently: LF or CR LF, comments after ";", group and key
// names compared without case over the length found in the file; a NUL byte is
// a character that no name has. Only a regular file of at most 16 MiB is read;
// anything else opens as missing, so every read gives its default. One file is
// open at a time: opening or creating closes the previous one.
#pragma once

#include <cstdint>

void RT_InitPreference();                           // starts closed
int32_t RT_OpenPreferences(const char *fileName);   // non-zero when opened for reading
int32_t RT_CreatePreferences(const char *fileName); // non-zero when created; 0 and errno if not
int32_t RT_PreferenceGroup(const char *name);       // 1 when found (reading) or written; null as ""
int32_t RT_ReadPreferenceLong(const char *key, int32_t defaultValue); // the default unless reading
void RT_WritePreferenceLong(const char *key, int32_t value);          // nothing unless writing
int32_t RT_ClosePreferences(); // 1 unless a file being written could not be completed (errno)
void RT_FreePreferences();     // as RT_ClosePreferences
