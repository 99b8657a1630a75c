#include "core/ascii_text.h"

#include <gtest/gtest.h>

namespace cn {
namespace {

TEST(AsciiText, Trim) {
  const struct {
    std::string_view text, blanks, expected;
  } cases[] = {
      {"  x = 1\t", " \t", "x = 1"}, {"x", " \t", "x"},         {"", " \t", ""},
      {" \t \t", " \t", ""},         {" \t1\t ", " ", "\t1\t"},  // only the given blanks go
      {"a b", " \t", "a b"},                                     // inner blanks stay
      {"\n2\n", " \t", "\n2\n"},                                 // a line break is not a blank
  };
  for (const auto& c : cases) EXPECT_EQ(Trim(c.text, c.blanks), c.expected) << '"' << c.text << '"';
}

TEST(AsciiText, TrimDecodedText) {
  EXPECT_EQ(Trim(U"  30d 15m  ", U" "), U"30d 15m");
  EXPECT_EQ(Trim(U"\u00B5 \t", U" "), U"\u00B5 \t");  // a tab stays when only spaces go
  EXPECT_EQ(Trim(U"\u00B5 \t"), U"\u00B5");
  EXPECT_EQ(Trim(U"   ", U" "), U"");
}

TEST(AsciiText, LowerTouchesOnlyAsciiLetters) {
  EXPECT_EQ(AsciiLower("SinH(X) + PI_2"), "sinh(x) + pi_2");
  EXPECT_EQ(AsciiLower("@[`{"), "@[`{");  // the neighbours of A..Z and a..z
  EXPECT_EQ(AsciiLower("\xC3\x84"
                       "B"),
            "\xC3\x84"
            "b");  // "ÄB": UTF-8 bytes stay
  EXPECT_EQ(AsciiLower(std::string_view("A\0B", 3)), std::string("a\0b", 3));
}

}  // namespace
}  // namespace cn
