// A fresh temporary working directory for the length of a test or benchmark,
// so the game's Krellostra.dat lands there and nothing stays behind.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

class ScratchDir {
public:
  ScratchDir() : previous_(std::filesystem::current_path()) {
    std::string name = (std::filesystem::temp_directory_path() / "heliomants-XXXXXX").string();
    if (mkdtemp(name.data()) == nullptr)
      std::abort();
    path_ = name;
    std::filesystem::current_path(path_);
  }
  ~ScratchDir() {
    std::filesystem::current_path(previous_);
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchDir(const ScratchDir &) = delete;
  ScratchDir &operator=(const ScratchDir &) = delete;

  const std::filesystem::path &path() const { return path_; }

private:
  std::filesystem::path previous_;
  std::filesystem::path path_;
};
