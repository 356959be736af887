// SDL 2 beneath SDL 1.2: its calls are found in the copy the program runs on.
#include "runtime/sdl2/sdl2.h"

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

int Sdl12MajorVersion(); // sdl12_version.cpp

TEST(Sdl2, FindsTheLoadedLibrarysCalls) {
  ASSERT_EQ(Sdl12MajorVersion(), 1);
  auto getVersion = sdl2::Find<decltype(&SDL_GetVersion)>("SDL_GetVersion");
  ASSERT_NE(getVersion, nullptr);
  SDL_version version{};
  getVersion(&version);
  EXPECT_EQ(version.major, 2) << "expected SDL 2 beneath sdl12-compat, got " << int(version.major);
  EXPECT_NE(sdl2::FindCall("SDL_GameControllerOpen"), nullptr);
}

TEST(Sdl2, MissingCallIsNull) {
  EXPECT_EQ(sdl2::FindCall("SDL_NoSuchCall"), nullptr);
}
