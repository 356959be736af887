#include "runtime/misc/misc.h"

#include <cmath>
#include <gtest/gtest.h>

TEST(Colour, PacksAsBlueGreenRed) {
  const struct {
    int32_t red, green, blue, packed;
  } cases[] = {
      {255, 255, 255, 0x00FFFFFF}, {255, 0, 0, 255},   {0, 255, 0, 0xFF00}, {0, 0, 255, 0xFF0000},
      {150, 150, 150, 0x969696},   {256, 0, 0, 0x100}, // not masked: spills into green
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(testing::Message() << c.red << "," << c.green << "," << c.blue);
    EXPECT_EQ(RT_RGB(c.red, c.green, c.blue), c.packed);
  }
}

TEST(Colour, ComponentsAreBytes) {
  EXPECT_EQ(RT_Red(0x12345678), 0x78);
  EXPECT_EQ(RT_Green(0x12345678), 0x56);
  EXPECT_EQ(RT_Blue(0x12345678), 0x34);
  EXPECT_EQ(RT_Red(-1), 255);
  EXPECT_EQ(RT_Green(-1), 255);
  EXPECT_EQ(RT_Blue(-1), 255);
}

TEST(Mathematics, ATanInRadians) {
  EXPECT_FLOAT_EQ(RT_ATan(1.0f), float(M_PI / 4));
  EXPECT_FLOAT_EQ(RT_ATan(-1.0f), float(-M_PI / 4));
  EXPECT_EQ(RT_ATan(0.0f), 0.0f);
  EXPECT_FLOAT_EQ(RT_ATan(INFINITY), float(M_PI / 2));
}
