// libFuzzer target for the preferences reader: any bytes as the file, read the way the game
// reads it and with names taken from the input, so that matches are reached too.
#include "runtime/preferences/preferences.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

namespace {

// The input goes to a file in memory, reopened by name like a file on disk, so nothing is
// left behind.
std::string MemoryFileName() {
  int descriptor = memfd_create("preferences-fuzz", MFD_CLOEXEC);
  if (descriptor < 0) {
    perror("memfd_create");
    abort();
  }
  return "/proc/self/fd/" + std::to_string(descriptor);
}

// The first line of the input, short, as a name the file may well hold.
std::string NameFrom(const uint8_t *data, size_t size) {
  std::string name;
  for (size_t i = 0; i < size && i < 16 && data[i] != '\n' && data[i] != '\0'; ++i) {
    name.push_back(char(data[i]));
  }
  return name;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  static const std::string fileName = MemoryFileName();
  FILE *file = fopen(fileName.c_str(), "w");
  if (!file || fwrite(data, 1, size, file) != size || fclose(file) != 0) {
    abort();
  }

  const std::string name = NameFrom(data, size);
  if (RT_OpenPreferences(fileName.c_str()) == 0) {
    abort(); // a regular file within the size limit always opens
  }
  RT_ReadPreferenceLong("HiScore", 1);
  for (const char *group : {"Game Data", "", static_cast<const char *>(nullptr), name.c_str()}) {
    RT_PreferenceGroup(group);
    for (const char *key : {"HiScore", "UseAudio", "", name.c_str()}) {
      RT_ReadPreferenceLong(key, 1);
    }
  }
  if (RT_ClosePreferences() != 1) {
    abort();
  }
  return 0;
}
