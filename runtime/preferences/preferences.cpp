// Preferences file: see preferences.h.
#include "runtime/preferences/preferences.h"

#include "runtime/preferences/preferences_text.h"

#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <new>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A preferences file is a few lines: anything bigger is not one, and is not held in memory.
constexpr off_t MaxTextSize = off_t(1) << 24;
// Links followed to the file a name stands for before giving up, as the system does
constexpr int MaxLinks = 40;

enum class Mode { Closed, Reading, Writing };

Mode RT_Preference_Mode = Mode::Closed;

// Reading: the whole file's text, and where the selected group's lines begin (null: none).
std::unique_ptr<char[]> RT_Preference_Buffer;
const char *TextEnd = nullptr;
const char *RT_Preference_GroupStart = nullptr;

// Writing: a temporary file beside the target, renamed over it once completely written.
FILE *RT_Preference_File = nullptr;
std::string TargetName;
std::string TemporaryName;
bool WriteFailed = false;

// Reads size bytes, or fewer if the file shrank meanwhile, into a new text buffer.
bool ReadText(int descriptor, size_t size) {
  std::unique_ptr<char[]> text(new (std::nothrow) char[size]);
  if (!text) {
    return false;
  }
  size_t done = 0;
  while (done < size) {
    ssize_t count = read(descriptor, text.get() + done, size - done);
    if (count < 0 && errno == EINTR) {
      continue;
    }
    if (count < 0) {
      return false;
    }
    if (count == 0) {
      break;
    }
    done += size_t(count);
  }
  RT_Preference_Buffer = std::move(text);
  TextEnd = RT_Preference_Buffer.get() + done;
  return true;
}

// Only a regular file is read; opening without blocking keeps a FIFO named as the file from
// hanging the game.
bool LoadText(const char *fileName) {
  int descriptor = open(fileName, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (descriptor < 0) {
    return false;
  }
  struct stat info;
  bool loaded = fstat(descriptor, &info) == 0 && S_ISREG(info.st_mode) &&
                info.st_size <= MaxTextSize && ReadText(descriptor, size_t(info.st_size));
  close(descriptor);
  return loaded;
}

// The file that a name stands for: a symbolic link is followed, each relative one from
// its own folder, so that a save replaces the file it points at and keeps the link. A
// link to nothing yet names the file to create. Empty, with errno, for a loop of links.
std::filesystem::path FollowLinks(std::filesystem::path name) {
  for (int links = 0; links < MaxLinks; ++links) {
    std::error_code failed;
    if (!std::filesystem::is_symlink(name, failed))
      return name;
    std::filesystem::path target = std::filesystem::read_symlink(name, failed);
    if (failed) {
      errno = failed.value();
      return {};
    }
    name = name.parent_path() / target; // an absolute target replaces the whole path
  }
  errno = ELOOP;
  return {};
}

// The folder's entry of the renamed file reaches the disk too, so that a power cut cannot
// bring the previous file back. A file system that cannot sync a folder keeps no such
// promise, and says so with EINVAL.
bool SyncFolder(const std::filesystem::path &file) {
  std::filesystem::path folder = file.parent_path();
  int descriptor = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (descriptor < 0) {
    return false;
  }
  bool synced = fsync(descriptor) == 0 || errno == EINVAL;
  int cause = errno;
  close(descriptor);
  errno = cause;
  return synced;
}

// A new file beside the target under a name no other file has, with the permissions fopen
// would give; never a link planted under that name.
int CreateTemporaryFile() {
  static unsigned serial = 0;
  for (int attempt = 0; attempt < 100; ++attempt) {
    TemporaryName =
        TargetName + "." + std::to_string(getpid()) + "-" + std::to_string(serial++) + ".tmp";
    int descriptor =
        open(TemporaryName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (descriptor >= 0 || errno != EEXIST) {
      return descriptor;
    }
  }
  return -1;
}

// Keeps errno telling why the file could not be written.
void RemoveTemporaryFile() {
  int cause = errno;
  unlink(TemporaryName.c_str());
  errno = cause;
}

// Notes a failed write, which spoils the whole file; true while every write has succeeded.
bool Succeeded(int printed) {
  if (printed < 0) {
    WriteFailed = true;
  }
  return !WriteFailed;
}

// The target is replaced only by a file that reached the disk whole; otherwise the temporary
// file goes and the previous file stays.
bool FinishWriting() {
  bool written =
      !WriteFailed && fflush(RT_Preference_File) == 0 && fsync(fileno(RT_Preference_File)) == 0;
  written = fclose(RT_Preference_File) == 0 && written;
  RT_Preference_File = nullptr;
  written = written && rename(TemporaryName.c_str(), TargetName.c_str()) == 0;
  if (!written) {
    RemoveTemporaryFile();
    return false;
  }
  return SyncFolder(TargetName);
}

} // namespace

void RT_InitPreference() {
  RT_ClosePreferences();
}

int32_t RT_OpenPreferences(const char *fileName) {
  RT_ClosePreferences();
  if (!fileName || !LoadText(fileName)) {
    return 0;
  }
  RT_Preference_GroupStart = RT_Preference_Buffer.get();
  RT_Preference_Mode = Mode::Reading;
  return 1;
}

int32_t RT_CreatePreferences(const char *fileName) {
  RT_ClosePreferences();
  if (!fileName || !*fileName) {
    errno = ENOENT;
    return 0;
  }
  TargetName = FollowLinks(fileName);
  if (TargetName.empty()) {
    return 0;
  }
  int descriptor = CreateTemporaryFile();
  if (descriptor < 0) {
    return 0;
  }
  RT_Preference_File = fdopen(descriptor, "w");
  if (!RT_Preference_File) {
    close(descriptor);
    RemoveTemporaryFile();
    return 0;
  }
  WriteFailed = false;
  RT_Preference_Mode = Mode::Writing;
  return 1;
}

int32_t RT_PreferenceGroup(const char *name) {
  RT_Preference_GroupStart = nullptr;
  if (!name) {
    name = "";
  }
  switch (RT_Preference_Mode) {
  case Mode::Writing:
    return Succeeded(fprintf(RT_Preference_File, "[%s]\r\n", name)) ? 1 : 0;
  case Mode::Reading:
    RT_Preference_GroupStart = preferences::FindGroup(RT_Preference_Buffer.get(), TextEnd, name);
    return RT_Preference_GroupStart ? 1 : 0;
  case Mode::Closed:
    break;
  }
  return 0;
}

int32_t RT_ReadPreferenceLong(const char *key, int32_t defaultValue) {
  int32_t value = defaultValue;
  if (RT_Preference_Mode == Mode::Reading && RT_Preference_GroupStart && key && *key) {
    preferences::FindValue(RT_Preference_GroupStart, TextEnd, key, value);
  }
  return value;
}

void RT_WritePreferenceLong(const char *key, int32_t value) {
  if (RT_Preference_Mode == Mode::Writing && key && *key) {
    Succeeded(fprintf(RT_Preference_File, "%s = %" PRId32 "\r\n", key, value));
  }
}

int32_t RT_ClosePreferences() {
  bool completed = RT_Preference_Mode != Mode::Writing || FinishWriting();
  RT_Preference_Buffer.reset();
  TextEnd = nullptr;
  RT_Preference_GroupStart = nullptr;
  RT_Preference_Mode = Mode::Closed;
  return completed ? 1 : 0;
}

void RT_FreePreferences() {
  RT_ClosePreferences();
}
