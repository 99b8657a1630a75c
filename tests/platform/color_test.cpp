#include "platform/color.h"

#include <gtest/gtest.h>

namespace cn {
namespace {

// Packed colours are red + 256 * green + 65536 * blue, as workspaces store them.
TEST(PackedColor, ChannelsSitLowToHigh) {
  const struct {
    std::uint32_t packed;
    int red, green, blue;
  } cases[] = {
      {0, 0, 0, 0},
      {255, 255, 0, 0},           // red
      {65280, 0, 255, 0},         // green
      {16711680, 0, 0, 255},      // blue
      {16777215, 255, 255, 255},  // white
      {1 + 256 * 2 + 65536 * 3, 1, 2, 3},
      {0xAB000000u + 65536 * 200, 0, 0, 200},  // the byte above blue is ignored
  };
  for (const auto& c : cases) {
    const QColor color = FromPacked(c.packed);
    EXPECT_EQ(color.red(), c.red) << c.packed;
    EXPECT_EQ(color.green(), c.green) << c.packed;
    EXPECT_EQ(color.blue(), c.blue) << c.packed;
    EXPECT_EQ(color.alpha(), 255) << c.packed;
    EXPECT_EQ(ToPacked(color), c.packed & 0xFFFFFFu) << c.packed;
  }
  EXPECT_EQ(ToPacked(QColor(Qt::red)), 255u);
  EXPECT_EQ(ToPacked(QColor(Qt::blue)), 16711680u);
}

}  // namespace
}  // namespace cn
