// Preferences file: the lenient reader, the writer's exact bytes and the atomic replacement.
#include "runtime/preferences/preferences.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using namespace std::string_view_literals;
namespace fs = std::filesystem;

constexpr int32_t DefaultValue = -77;

// Each test works in a fresh temporary directory that it removes.
class PreferencesTest : public testing::Test {
protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "preferences-test-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir = pattern;
    RT_InitPreference();
  }
  void TearDown() override {
    RT_FreePreferences();
    fs::remove_all(dir);
  }

  std::string PathOf(const char *name) const { return (dir / name).string(); }

  void WriteFile(const char *name, std::string_view bytes) const {
    std::ofstream(PathOf(name), std::ios::binary) << bytes;
  }

  std::string ReadFile(const char *name) const {
    std::ifstream in(PathOf(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  std::set<std::string> Names() const {
    std::set<std::string> names;
    for (const fs::directory_entry &entry : fs::directory_iterator(dir)) {
      names.insert(entry.path().filename().string());
    }
    return names;
  }

  fs::path dir;
};

struct ReadCase {
  const char *name;
  std::string_view text;
  const char *group; // null: read without selecting a group
  int32_t found;     // what selecting the group returns
  const char *key;
  int32_t value;
};

const ReadCase ReadCases[] = {
    // Line ends
    {"CR LF as written", "[Game Data]\r\nHiScore = 1860\r\nSecond = 5\r\n", "Game Data", 1,
     "Second", 5},
    {"LF alone", "[Game Data]\nHiScore = 1860\nSecond = 5\n", "Game Data", 1, "Second", 5},
    {"one CR after the LF is skipped", "x\n\r[Game Data]\n\rHiScore = 7\n\r", "Game Data", 1,
     "HiScore", 7},
    {"no final line end", "[Game Data]\nHiScore = 77", "Game Data", 1, "HiScore", 77},
    {"header as the last line", "[Game Data]", "Game Data", 1, "HiScore", DefaultValue},
    // Groups
    {"group name in another case", "[game DATA]\nHiScore = 3\n", "Game Data", 1, "HiScore", 3},
    {"group name a leading part", "[Game]\nHiScore = 3\n", "Game Data", 1, "HiScore", 3},
    {"group name running on", "[Game Data 2]\nHiScore = 3\n", "Game Data", 0, "HiScore",
     DefaultValue},
    {"header without a bracket", "[Game Data\nHiScore = 3\n", "Game Data", 1, "HiScore", 3},
    {"empty header is skipped", "[]\nHiScore = 1\n[Game Data]\nHiScore = 2\n", "Game Data", 1,
     "HiScore", 2},
    {"first matching header wins", "[Game]\nHiScore = 1\n[Game Data]\nHiScore = 2\n", "Game Data",
     1, "HiScore", 1},
    {"indented header is no header", " [Game Data]\nHiScore = 3\n", "Game Data", 0, "HiScore",
     DefaultValue},
    {"indented header does not end the group", "[Game Data]\n [Other]\nHiScore = 3\n", "Game Data",
     1, "HiScore", 3},
    {"empty group name is never found", "[Game Data]\nHiScore = 3\n", "", 0, "HiScore",
     DefaultValue},
    {"group not found hides keys above every header", "HiScore = 3\n[Other]\n", "Game Data", 0,
     "HiScore", DefaultValue},
    // Reading before any group is selected
    {"key above the first header", "HiScore = 3\n[Game Data]\nHiScore = 4\n", nullptr, 0, "HiScore",
     3},
    {"scan stops at the first header", "[Game Data]\nHiScore = 4\n", nullptr, 0, "HiScore",
     DefaultValue},
    // Keys
    {"lower case, no spaces", "[Game Data]\nhiscore=42\n", "Game Data", 1, "HiScore", 42},
    {"many spaces", "[Game Data]\n    HiScore     =     42\n", "Game Data", 1, "HiScore", 42},
    {"key a leading part", "[Game Data]\nHi = 42\n", "Game Data", 1, "HiScore", 42},
    {"key running on", "[Game Data]\nHiScores = 42\n", "Game Data", 1, "HiScore", DefaultValue},
    {"tab after the key is part of it", "[Game Data]\nHiScore\t= 42\n", "Game Data", 1, "HiScore",
     DefaultValue},
    {"tab before the key is part of it", "[Game Data]\n\tHiScore = 42\n", "Game Data", 1, "HiScore",
     DefaultValue},
    {"comment", "[Game Data]\n  ; HiScore = 1\n;HiScore = 2\nHiScore = 3\n", "Game Data", 1,
     "HiScore", 3},
    {"line without =", "[Game Data]\nHiScore 1\nHiScore = 3\n", "Game Data", 1, "HiScore", 3},
    {"empty key matches any", "[Game Data]\n  = 9\nHiScore = 3\n", "Game Data", 1, "HiScore", 9},
    {"first of two wins", "[Game Data]\nHiScore = 1\nhiscore = 2\n", "Game Data", 1, "HiScore", 1},
    {"key only in the next group", "[Game Data]\nSecond = 1\n[Other]\nHiScore = 2\n", "Game Data",
     1, "HiScore", DefaultValue},
    {"empty key asked for", "[Game Data]\n= 9\n", "Game Data", 1, "", DefaultValue},
    {"null key asked for", "[Game Data]\n= 9\n", "Game Data", 1, nullptr, DefaultValue},
    // Values
    {"digits then letters", "[G]\nHiScore = 12abc\n", "G", 1, "HiScore", 12},
    {"letters only read 0", "[G]\nHiScore = abc\n", "G", 1, "HiScore", 0},
    {"negative", "[G]\nHiScore = -5\n", "G", 1, "HiScore", -5},
    {"plus sign", "[G]\nHiScore = +5\n", "G", 1, "HiScore", 5},
    {"sign alone reads 0", "[G]\nHiScore = -\n", "G", 1, "HiScore", 0},
    {"nothing after = reads 0, not the next line", "[G]\nHiScore =\n5\n", "G", 1, "HiScore", 0},
    {"value ends at a space", "[G]\nHiScore = 12 34\n", "G", 1, "HiScore", 12},
    {"largest", "[G]\nHiScore = 2147483647\n", "G", 1, "HiScore", INT32_MAX},
    {"one beyond the largest", "[G]\nHiScore = 2147483648\n", "G", 1, "HiScore", INT32_MAX},
    {"smallest", "[G]\nHiScore = -2147483648\n", "G", 1, "HiScore", INT32_MIN},
    {"one beyond the smallest", "[G]\nHiScore = -2147483649\n", "G", 1, "HiScore", INT32_MIN},
    {"far beyond", "[G]\nHiScore = 000099999999999999999999999\n", "G", 1, "HiScore", INT32_MAX},
    // Bytes no editor writes
    {"NUL in a key matches nothing", "[G]\nHi\0Score = 1\nHiScore = 2\n"sv, "G", 1, "HiScore", 2},
    {"text after a NUL is read", "\0\n[G]\nHiScore = 2\n"sv, "G", 1, "HiScore", 2},
    {"high bytes", "[\xff\xfe]\n\x80\x81 = 1\n[G]\nHiScore = 2\n", "G", 1, "HiScore", 2},
};

TEST_F(PreferencesTest, ReaderCases) {
  for (const ReadCase &c : ReadCases) {
    SCOPED_TRACE(c.name);
    WriteFile("prefs.dat", c.text);
    ASSERT_NE(RT_OpenPreferences(PathOf("prefs.dat").c_str()), 0);
    if (c.group) {
      EXPECT_EQ(RT_PreferenceGroup(c.group), c.found);
    }
    EXPECT_EQ(RT_ReadPreferenceLong(c.key, DefaultValue), c.value);
    EXPECT_EQ(RT_ClosePreferences(), 1);
  }
}

// Groups can be selected in any order and again; a failed selection leaves none selected.
TEST_F(PreferencesTest, GroupsSelectedInAnyOrder) {
  WriteFile("prefs.dat", "Top = 1\n[A]\nKey = 2\n[B]\nKey = 3\n");
  ASSERT_NE(RT_OpenPreferences(PathOf("prefs.dat").c_str()), 0);
  EXPECT_EQ(RT_PreferenceGroup("B"), 1);
  EXPECT_EQ(RT_ReadPreferenceLong("Key", DefaultValue), 3);
  EXPECT_EQ(RT_PreferenceGroup("A"), 1);
  EXPECT_EQ(RT_ReadPreferenceLong("Key", DefaultValue), 2);
  EXPECT_EQ(RT_PreferenceGroup("C"), 0);
  EXPECT_EQ(RT_ReadPreferenceLong("Key", DefaultValue), DefaultValue);
  EXPECT_EQ(RT_ReadPreferenceLong("Top", DefaultValue), DefaultValue);
  EXPECT_EQ(RT_PreferenceGroup(nullptr), 0);
  EXPECT_EQ(RT_ReadPreferenceLong("Key", DefaultValue), DefaultValue);
}

// Whatever cannot be read opens as missing: every read gives its default.
TEST_F(PreferencesTest, WhatCannotBeReadGivesDefaults) {
  constexpr off_t Limit = off_t(1) << 24;
  fs::create_directory(dir / "folder");
  ASSERT_EQ(mkfifo(PathOf("fifo").c_str(), 0600), 0);
  WriteFile("huge", "");
  fs::resize_file(dir / "huge", Limit + 1);
  WriteFile("largest", "");
  fs::resize_file(dir / "largest", Limit);
  WriteFile("empty", "");

  struct OpenCase {
    const char *name;
    int32_t opened;
  };
  for (OpenCase c : {OpenCase{"missing", 0}, OpenCase{"folder", 0}, OpenCase{"fifo", 0},
                     OpenCase{"huge", 0}, OpenCase{"largest", 1}, OpenCase{"empty", 1}}) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(RT_OpenPreferences(PathOf(c.name).c_str()), c.opened);
    EXPECT_EQ(RT_PreferenceGroup("Game Data"), 0);
    EXPECT_EQ(RT_ReadPreferenceLong("HiScore", DefaultValue), DefaultValue);
    EXPECT_EQ(RT_ClosePreferences(), 1);
  }
  EXPECT_EQ(RT_OpenPreferences(nullptr), 0);
  EXPECT_EQ(RT_ClosePreferences(), 1) << "closing with nothing open";
}

TEST_F(PreferencesTest, WriterBytesAndReadBack) {
  const std::string path = PathOf("prefs.dat");
  ASSERT_NE(RT_CreatePreferences(path.c_str()), 0);
  EXPECT_EQ(RT_PreferenceGroup("Game Data"), 1);
  RT_WritePreferenceLong("HiScore", 1860);
  RT_WritePreferenceLong("Zero", 0);
  RT_WritePreferenceLong("Low", INT32_MIN);
  RT_WritePreferenceLong("High", INT32_MAX);
  RT_WritePreferenceLong("", 5);
  RT_WritePreferenceLong(nullptr, 5);
  EXPECT_EQ(RT_ReadPreferenceLong("HiScore", DefaultValue), DefaultValue)
      << "reading while writing";
  EXPECT_EQ(RT_PreferenceGroup(""), 1);
  EXPECT_EQ(RT_PreferenceGroup(nullptr), 1);
  EXPECT_EQ(RT_ClosePreferences(), 1);
  EXPECT_EQ(ReadFile("prefs.dat"), "[Game Data]\r\nHiScore = 1860\r\nZero = 0\r\n"
                                   "Low = -2147483648\r\nHigh = 2147483647\r\n[]\r\n[]\r\n");

  ASSERT_NE(RT_OpenPreferences(path.c_str()), 0);
  EXPECT_EQ(RT_PreferenceGroup("Game Data"), 1);
  EXPECT_EQ(RT_ReadPreferenceLong("Low", DefaultValue), INT32_MIN);
  EXPECT_EQ(RT_ReadPreferenceLong("High", DefaultValue), INT32_MAX);
}

TEST_F(PreferencesTest, WritingWhileReadingWritesNothing) {
  const std::string_view text = "[Game Data]\nHiScore = 3\n";
  WriteFile("prefs.dat", text);
  ASSERT_NE(RT_OpenPreferences(PathOf("prefs.dat").c_str()), 0);
  RT_WritePreferenceLong("HiScore", 9);
  EXPECT_EQ(RT_ClosePreferences(), 1);
  EXPECT_EQ(ReadFile("prefs.dat"), text);
  EXPECT_EQ(Names(), std::set<std::string>{"prefs.dat"});
}

// The old file stays whole until the new one is complete, which then has the permissions a
// newly created file gets; opening the target meanwhile completes the write first.
TEST_F(PreferencesTest, ReplacesTheFileWhole) {
  const std::string path = PathOf("prefs.dat");
  WriteFile("prefs.dat", "[Game Data]\r\nHiScore = 1\r\n");
  chmod(path.c_str(), 0600);
  mode_t previousMask = umask(027);
  ASSERT_NE(RT_CreatePreferences(path.c_str()), 0);
  umask(previousMask);
  RT_PreferenceGroup("Game Data");
  RT_WritePreferenceLong("HiScore", 2);
  EXPECT_EQ(ReadFile("prefs.dat"), "[Game Data]\r\nHiScore = 1\r\n");
  EXPECT_EQ(Names().size(), 2u) << "the new file is written beside the old one";

  ASSERT_NE(RT_OpenPreferences(path.c_str()), 0);
  EXPECT_EQ(RT_PreferenceGroup("Game Data"), 1);
  EXPECT_EQ(RT_ReadPreferenceLong("HiScore", DefaultValue), 2);
  EXPECT_EQ(Names(), std::set<std::string>{"prefs.dat"});
  EXPECT_EQ(fs::status(path).permissions(), fs::perms(0640));
}

// A file that cannot be completed leaves the previous one and no temporary file, and closing
// says so.
TEST_F(PreferencesTest, FailedWriteKeepsTheOldFile) {
  const std::string old = "[Game Data]\r\nHiScore = 1\r\n";
  WriteFile("prefs.dat", old);
  fs::create_directory(dir / "folder");

  // The file system refusing to let the file grow: the disk full, in a child process.
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    signal(SIGXFSZ, SIG_IGN);
    rlimit limit{8, 8};
    setrlimit(RLIMIT_FSIZE, &limit);
    int32_t created = RT_CreatePreferences(PathOf("prefs.dat").c_str());
    RT_PreferenceGroup("Game Data");
    RT_WritePreferenceLong("HiScore", 2);
    _exit(created * 10 + RT_ClosePreferences());
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 10) << "created, then failed to complete";

  // A directory where the file should go.
  ASSERT_NE(RT_CreatePreferences(PathOf("folder").c_str()), 0);
  RT_WritePreferenceLong("HiScore", 2);
  EXPECT_EQ(RT_ClosePreferences(), 0);
  EXPECT_EQ(errno, EISDIR) << "why, for the player";
  EXPECT_TRUE(fs::is_directory(dir / "folder"));

  // No directory to create the file in.
  EXPECT_EQ(RT_CreatePreferences(PathOf("none/prefs.dat").c_str()), 0);
  EXPECT_EQ(errno, ENOENT);
  EXPECT_EQ(RT_CreatePreferences(""), 0);
  EXPECT_EQ(RT_CreatePreferences(nullptr), 0);
  RT_WritePreferenceLong("HiScore", 2);
  EXPECT_EQ(RT_PreferenceGroup("Game Data"), 0);
  EXPECT_EQ(RT_ClosePreferences(), 1);

  EXPECT_EQ(ReadFile("prefs.dat"), old);
  EXPECT_EQ(Names(), (std::set<std::string>{"folder", "prefs.dat"}));
}

// A name that is a symbolic link is saved through: the file it points at is replaced, or made
// when it is not there yet, and the link stays as it was.
TEST_F(PreferencesTest, WritesThroughSymbolicLinks) {
  fs::create_directory(dir / "sub");
  const struct {
    const char *name;  // what the caller opens
    const char *links; // "link>target" pairs, made in this order
    const char *file;  // where the bytes must land
  } cases[] = {
      {"prefs.dat", "prefs.dat>real.dat", "real.dat"},
      {"prefs.dat", "prefs.dat>sub/real.dat", "sub/real.dat"},
      {"sub/prefs.dat", "sub/prefs.dat>../real.dat", "real.dat"},
      {"prefs.dat", "prefs.dat>middle.dat middle.dat>sub/real.dat", "sub/real.dat"},
      {"prefs.dat", "prefs.dat>ABSOLUTE", "sub/absolute.dat"},
      {"prefs.dat", "prefs.dat>sub/new.dat", "sub/new.dat"}, // to nothing yet
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.links);
    std::map<fs::path, fs::path> links;
    std::istringstream pairs(c.links);
    for (std::string pair; pairs >> pair;) {
      std::string target = pair.substr(pair.find('>') + 1);
      if (target == "ABSOLUTE")
        target = (dir / "sub/absolute.dat").string();
      links[dir / pair.substr(0, pair.find('>'))] = target;
      fs::create_symlink(target, dir / pair.substr(0, pair.find('>')));
    }
    if (std::string(c.file) != "sub/new.dat")
      WriteFile(c.file, "old");

    ASSERT_NE(RT_CreatePreferences(PathOf(c.name).c_str()), 0);
    RT_WritePreferenceLong("HiScore", 7);
    EXPECT_EQ(RT_ClosePreferences(), 1);
    EXPECT_EQ(ReadFile(c.file), "HiScore = 7\r\n");
    for (const auto &[link, target] : links) {
      EXPECT_TRUE(fs::is_symlink(link)) << link << " is no longer a link";
      EXPECT_EQ(fs::read_symlink(link), target);
    }
    for (const fs::directory_entry &entry : fs::recursive_directory_iterator(dir))
      EXPECT_NE(entry.path().extension(), ".tmp") << "left behind: " << entry.path();

    for (const auto &[link, target] : links)
      fs::remove(link);
    fs::remove(dir / c.file);
  }
}

// Links that lead back to themselves name no file: nothing is written, and errno says why.
TEST_F(PreferencesTest, LinksInALoopAreNotFollowedForEver) {
  fs::create_symlink("b.dat", dir / "a.dat");
  fs::create_symlink("a.dat", dir / "b.dat");
  EXPECT_EQ(RT_CreatePreferences(PathOf("a.dat").c_str()), 0);
  EXPECT_EQ(errno, ELOOP);
  EXPECT_EQ(Names(), (std::set<std::string>{"a.dat", "b.dat"}));
}

} // namespace
