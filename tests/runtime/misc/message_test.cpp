#include "runtime/misc/misc.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <string>

// Without a display the toolkit does not start and every message goes to stderr.
TEST(MessageBox, WithoutDisplayWritesToStderr) {
  unsetenv("DISPLAY");
  unsetenv("WAYLAND_DISPLAY");
  EXPECT_EQ(RT_InitWindow(), 0);

  const struct {
    const char *title, *text;
    int32_t flags;
    std::string written;
  } cases[] = {
      {"Error", "Could Not Initialize Video Hardware", 0,
       "Error: Could Not Initialize Video Hardware\n"},
      {"Error", "Could Not Initialize Audio Hardware", 2,
       "Error: Could Not Initialize Audio Hardware\n"},
      {nullptr, nullptr, 1, ": \n"},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.written);
    testing::internal::CaptureStderr();
    EXPECT_EQ(RT_MessageRequester2(c.title, c.text, c.flags), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), c.written);
  }
  testing::internal::CaptureStderr();
  EXPECT_EQ(RT_MessageRequester("Error", "Could Not Initialize Input Devices"), 0);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Error: Could Not Initialize Input Devices\n");
}
