// Looking up groups and keys in a preferences file's text: see preferences_text.h.
#include "runtime/preferences/preferences_text.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace {

constexpr char CommentMarker = ';';

// The LF that ends the line starting at line, or the end of the text.
const char *LineEnd(const char *line, const char *textEnd) {
  const void *feed = memchr(line, '\n', size_t(textEnd - line));
  return feed ? static_cast<const char *>(feed) : textEnd;
}

// The next line's start: past the LF and one CR right after it.
const char *NextLine(const char *lineEnd, const char *textEnd) {
  if (lineEnd == textEnd) {
    return textEnd;
  }
  ++lineEnd;
  return lineEnd < textEnd && *lineEnd == '\r' ? lineEnd + 1 : lineEnd;
}

const char *SkipSpaces(const char *at, const char *lineEnd) {
  while (at < lineEnd && *at == ' ') {
    ++at;
  }
  return at;
}

// The file's text is no longer than name and equals its start, without case.
bool Matches(const char *text, const char *textEnd, const char *name) {
  for (; text < textEnd; ++text, ++name) {
    if (*name == '\0' ||
        tolower(static_cast<unsigned char>(*text)) != tolower(static_cast<unsigned char>(*name))) {
      return false;
    }
  }
  return true;
}

int32_t ParseValue(const char *at, const char *lineEnd) {
  bool negative = false;
  if (at < lineEnd && (*at == '-' || *at == '+')) {
    negative = *at == '-';
    ++at;
  }
  // Stops growing just past the 32-bit range, so any number of digits is safe.
  constexpr int64_t beyond = int64_t(INT32_MAX) + 1;
  int64_t magnitude = 0;
  for (; at < lineEnd && *at >= '0' && *at <= '9'; ++at) {
    magnitude = std::min(magnitude * 10 + (*at - '0'), beyond);
  }
  return int32_t(std::clamp<int64_t>(negative ? -magnitude : magnitude, INT32_MIN, INT32_MAX));
}

} // namespace

const char *preferences::FindGroup(const char *text, const char *textEnd, const char *name) {
  for (const char *line = text; line < textEnd;) {
    const char *lineEnd = LineEnd(line, textEnd);
    if (*line == '[') {
      const char *nameStart = line + 1;
      const void *bracket = memchr(nameStart, ']', size_t(lineEnd - nameStart));
      const char *nameEnd = bracket ? static_cast<const char *>(bracket) : lineEnd;
      if (nameEnd > nameStart && Matches(nameStart, nameEnd, name)) {
        return NextLine(lineEnd, textEnd);
      }
    }
    line = NextLine(lineEnd, textEnd);
  }
  return nullptr;
}

bool preferences::FindValue(const char *groupStart, const char *textEnd, const char *key,
                            int32_t &value) {
  for (const char *line = groupStart; line < textEnd && *line != '[';) {
    const char *lineEnd = LineEnd(line, textEnd);
    const char *keyStart = SkipSpaces(line, lineEnd);
    if (keyStart < lineEnd && *keyStart != CommentMarker) {
      const char *keyEnd = keyStart;
      while (keyEnd < lineEnd && *keyEnd != ' ' && *keyEnd != '=') {
        ++keyEnd;
      }
      const char *equals = SkipSpaces(keyEnd, lineEnd);
      if (equals < lineEnd && *equals == '=' && Matches(keyStart, keyEnd, key)) {
        value = ParseValue(SkipSpaces(equals + 1, lineEnd), lineEnd);
        return true;
      }
    }
    line = NextLine(lineEnd, textEnd);
  }
  return false;
}
