// The settings and the three best scores, kept in "Krellostra.dat" in the working
// directory between runs.
#include "game/settings.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "game/world.h"
#include "runtime/preferences/preferences.h"

// Constants

constexpr const char *SettingsFile = "Krellostra.dat";
constexpr const char *SettingsGroup = "Game Data";

// Internal helpers

// A table entry is six decimal digits.
static int32_t EntryValue(const std::string &entry) {
  return static_cast<int32_t>(std::strtol(entry.c_str(), nullptr, 10));
}

// The scores would otherwise be lost without a word; the file is named in full for the
// player, who may not know which folder the game was started in.
static std::string ReportUnsaved(int error) {
  const char *reason = error != 0 ? std::strerror(error) : "the file could not be completed";
  std::fprintf(stderr, "heliomants: cannot save the high scores to %s: %s\n", SettingsFile, reason);
  std::error_code failed;
  const std::filesystem::path file = std::filesystem::absolute(SettingsFile, failed);
  return "The high scores could not be saved to " +
         (failed ? std::string(SettingsFile) : file.string()) + ": " + reason +
         ".\nThe scores of this run were not saved.";
}

// Settings

// A missing file or key leaves the default.
void ReadSettings() {
  RT_OpenPreferences(SettingsFile);
  RT_PreferenceGroup(SettingsGroup);
  HiScore = RT_ReadPreferenceLong("HiScore", 1860);
  SecondScore = RT_ReadPreferenceLong("Second", 1725);
  ThirdScore = RT_ReadPreferenceLong("Third", 1270);
  FullScreen = RT_ReadPreferenceLong("FullScreen", 1);
  UseAudio = RT_ReadPreferenceLong("UseAudio", 1);
  RT_ClosePreferences();
}

// Written anew; "UseAudio" is left out, so a hand-set value lasts one run.
// Second and Third come from the table, which holds the finished games.
std::string WriteSettings() {
  errno = 0;
  if (RT_CreatePreferences(SettingsFile) == 0)
    return ReportUnsaved(errno);
  RT_PreferenceGroup(SettingsGroup);
  RT_WritePreferenceLong("HiScore", HiScore);
  RT_WritePreferenceLong("Second", EntryValue(HiScoreTable[1]));
  RT_WritePreferenceLong("Third", EntryValue(HiScoreTable[2]));
  RT_WritePreferenceLong("FullScreen", FullScreen);
  errno = 0;
  if (RT_ClosePreferences() == 0)
    return ReportUnsaved(errno);
  return {};
}
