// Reading and writing Krellostra.dat, each test in a fresh working directory.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "game/settings.h"
#include "game/world.h"
#include "runtime/preferences/preferences.h"
#include "tests/test_support.h"

namespace {

class GameSettings : public ::testing::Test {
protected:
  void SetUp() override {
    RT_InitPreference();
    HiScore = SecondScore = ThirdScore = FullScreen = UseAudio = -99;
  }
  void TearDown() override { RT_FreePreferences(); }

  static void WriteFile(const char *text) {
    std::ofstream("Krellostra.dat", std::ios::binary) << text;
  }
  static std::string ReadFile() {
    std::ifstream in("Krellostra.dat", std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }
  void ExpectSettings(int32_t hi, int32_t second, int32_t third, int32_t full, int32_t audio) {
    EXPECT_EQ(HiScore, hi);
    EXPECT_EQ(SecondScore, second);
    EXPECT_EQ(ThirdScore, third);
    EXPECT_EQ(FullScreen, full);
    EXPECT_EQ(UseAudio, audio);
  }

  ScratchDir dir_;
};

TEST_F(GameSettings, NoFileGivesDefaults) {
  ReadSettings();
  ExpectSettings(1860, 1725, 1270, 1, 1);
  EXPECT_FALSE(std::filesystem::exists("Krellostra.dat")) << "reading must not create the file";
}

// Written by hand: LF endings, lower case, no spaces, one key missing, a key of
// another group that must not be taken.
TEST_F(GameSettings, HandWrittenFileIsRead) {
  WriteFile("[Other]\nthird = 7\n"
            "[game data]\nhiscore=5000\nsecond   =   4000\nfullscreen=0\nuseaudio=0\n");
  ReadSettings();
  ExpectSettings(5000, 4000, 1270, 0, 0);
}

TEST_F(GameSettings, WritesScoresFromBestAndTable) {
  HiScore = 9000;
  HiScoreTable[0] = "005000"; // the best is HiScore, not entry 0
  HiScoreTable[1] = "004000";
  HiScoreTable[2] = "000030";
  FullScreen = 1;
  UseAudio = 0;
  WriteSettings();
  EXPECT_EQ(ReadFile(), "[Game Data]\r\nHiScore = 9000\r\nSecond = 4000\r\nThird = 30\r\n"
                        "FullScreen = 1\r\n");
}

// Unsaved scores are told on stderr, and the exit can go on.
TEST_F(GameSettings, FailedSaveIsReported) {
  HiScoreTable[1] = "001725";
  HiScoreTable[2] = "001270";
  struct Case {
    const char *name;
    void (*prepare)(const std::filesystem::path &dir);
  };
  const Case cases[] = {
      // nothing can be created in a directory that is gone
      {"working directory removed",
       [](const std::filesystem::path &dir) { std::filesystem::remove_all(dir); }},
      // the file cannot be put in place of a directory of its name
      {"a directory in the way",
       [](const std::filesystem::path &) { std::filesystem::create_directory("Krellostra.dat"); }},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    ScratchDir dir;
    c.prepare(dir.path());
    testing::internal::CaptureStderr();
    WriteSettings();
    const std::string told = testing::internal::GetCapturedStderr();
    EXPECT_NE(told.find("heliomants: cannot save the high scores to Krellostra.dat: "),
              std::string::npos)
        << told;
  }
}

} // namespace
