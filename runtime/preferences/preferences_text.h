// Inside the preferences library: looking up groups and keys in a preferences
// file's text held in memory.
//
// A line ends at LF, and one CR right after the LF is skipped. A header is a line
// starting with "[", its name running to the first "]" or the end of the line. A
// key line is spaces, the key, spaces, "=", spaces, the value; ";" after leading
// spaces makes a comment. Only spaces are skipped: a tab belongs to the key. The
// file's name or key matches when it equals, without case, the start of the one
// asked for. Every byte is part of the text: a NUL is a character that no name has.
#pragma once

#include <cstdint>

namespace preferences {

// Where the lines of the first group whose header matches name begin (the end of the
// text when the header is the last line); null when no header does. An empty header
// name matches nothing.
const char *FindGroup(const char *text, const char *textEnd, const char *name);

// Reads into value the first key line from groupStart up to the next header whose key
// matches key: sign and digits, 0 when there are none, clamped to 32 bits. An empty
// key in the file matches any key. False when no line matches.
bool FindValue(const char *groupStart, const char *textEnd, const char *key, int32_t &value);

} // namespace preferences
