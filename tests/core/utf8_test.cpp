#include "core/utf8.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace cn {
namespace {

constexpr char32_t kBad = 0xFFFD;

struct Utf8Case {
  std::string_view bytes;
  std::u32string_view chars;
};

// Byte sequences written out by hand from the UTF-8 bit layout.
TEST(Utf8ToU32, DecodesWellFormedText) {
  using namespace std::string_view_literals;
  const Utf8Case cases[] = {
      {""sv, U""sv},
      {"Ax1"sv, U"Ax1"sv},
      {"a\0b"sv, U"a\0b"sv},  // a NUL is an ordinary character
      {"\x7F"sv, U"\x7F"sv},
      {"\xC2\x80"sv, U"\x80"sv},
      {"\xC3\xA9"sv, U"\u00E9"sv},
      {"\xDF\xBF"sv, U"\u07FF"sv},
      {"\xE0\xA0\x80"sv, U"\u0800"sv},
      {"\xE2\x82\xAC"sv, U"\u20AC"sv},
      {"\xED\x9F\xBF"sv, U"\uD7FF"sv},  // last before the surrogates
      {"\xEE\x80\x80"sv, U"\uE000"sv},  // first after them
      {"\xEF\xBF\xBD"sv, U"\uFFFD"sv},
      {"\xEF\xBF\xBF"sv, U"\uFFFF"sv},
      {"\xF0\x90\x80\x80"sv, U"\U00010000"sv},
      {"\xF0\x9F\x98\x80"sv, U"\U0001F600"sv},
      {"\xF4\x8F\xBF\xBF"sv, U"\U0010FFFF"sv},
      {"x\xC3\xA9y\xE2\x82\xAC"sv, U"x\u00E9y\u20AC"sv},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Utf8ToU32(c.bytes), c.chars) << "bytes of length " << c.bytes.size();
  }
}

TEST(Utf8ToU32, EachBadByteBecomesOneReplacement) {
  using namespace std::string_view_literals;
  const std::u32string b1(1, kBad);
  const std::u32string b2(2, kBad);
  const std::u32string b3(3, kBad);
  const std::u32string b4(4, kBad);
  const struct {
    std::string_view bytes;
    std::u32string chars;
    const char* what;
  } cases[] = {
      {"\x80"sv, b1, "lone continuation byte"},
      {"\xBF\xBF"sv, b2, "two continuation bytes"},
      {"\xFF"sv, b1, "byte never used"},
      {"\xFE"sv, b1, "byte never used"},
      {"\xC0\x80"sv, b2, "overlong NUL"},
      {"\xC1\xBF"sv, b2, "overlong two-byte form"},
      {"\xE0\x80\x80"sv, b3, "overlong three-byte form"},
      {"\xE0\x9F\xBF"sv, b3, "overlong three-byte form"},
      {"\xF0\x80\x80\x80"sv, b4, "overlong four-byte form"},
      {"\xF0\x8F\xBF\xBF"sv, b4, "overlong four-byte form"},
      {"\xED\xA0\x80"sv, b3, "high surrogate"},
      {"\xED\xBF\xBF"sv, b3, "low surrogate"},
      {"\xF4\x90\x80\x80"sv, b4, "above U+10FFFF"},
      {"\xF5\x80\x80\x80"sv, b4, "above U+10FFFF"},
      {"\xC3"sv, b1, "cut off at the end"},
      {"\xE2\x82"sv, b2, "cut off at the end"},
      {"\xF0\x9F\x98"sv, b3, "cut off at the end"},
      {"\xE2\x82"
       "A"sv,
       U"\uFFFD\uFFFDA", "continuation missing"},
      {"a\xC3"sv, U"a\uFFFD", "cut off after a letter"},
      {"\xC3\xA9\xA9"sv, U"\u00E9\uFFFD", "one continuation too many"},
      {"\xC3\xC3\xA9"sv, U"\uFFFD\u00E9", "lead byte followed by a lead byte"},
      {"\xF0\x9F\x98"
       "\xC3\xA9"sv,
       U"\uFFFD\uFFFD\uFFFD\u00E9", "good text resumes after a cut"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Utf8ToU32(c.bytes), c.chars) << c.what;
  }
}

TEST(Utf8ToU32, StopsAtTheEndOfTheView) {
  // The bytes after the view's end would complete the sequence; they must
  // not be looked at.
  const char euro[] = "\xE2\x82\xAC";
  EXPECT_EQ(Utf8ToU32(std::string_view(euro, 2)), std::u32string(2, kBad));
  const char emoji[] = "\xF0\x9F\x98\x80";
  EXPECT_EQ(Utf8ToU32(std::string_view(emoji, 3)), std::u32string(3, kBad));
  EXPECT_EQ(Utf8ToU32(std::string_view(emoji, 0)), U"");
}

TEST(U32ToUtf8, EncodesWithTheShortestForm) {
  using namespace std::string_view_literals;
  const Utf8Case cases[] = {
      {""sv, U""sv},
      {"Ax1"sv, U"Ax1"sv},
      {"a\0b"sv, U"a\0b"sv},
      {"\x7F"sv, U"\x7F"sv},
      {"\xC2\x80"sv, U"\x80"sv},
      {"\xDF\xBF"sv, U"\u07FF"sv},
      {"\xE0\xA0\x80"sv, U"\u0800"sv},
      {"\xE2\x82\xAC"sv, U"\u20AC"sv},
      {"\xEF\xBF\xBF"sv, U"\uFFFF"sv},
      {"\xF0\x90\x80\x80"sv, U"\U00010000"sv},
      {"\xF4\x8F\xBF\xBF"sv, U"\U0010FFFF"sv},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(U32ToUtf8(c.chars), c.bytes) << "bytes of length " << c.bytes.size();
  }
}

TEST(U32ToUtf8, NonCharactersBecomeReplacement) {
  const std::string replacement = "\xEF\xBF\xBD";
  const char32_t bad[] = {0xD800, 0xDBFF, 0xDC00, 0xDFFF, 0x110000, 0x7FFFFFFF, 0xFFFFFFFF};
  for (char32_t cp : bad) {
    EXPECT_EQ(U32ToUtf8(std::u32string(1, cp)), replacement) << std::hex << static_cast<unsigned>(cp);
  }
  const std::u32string mixed = {U'a', 0xD800, U'b'};
  EXPECT_EQ(U32ToUtf8(mixed), "a" + replacement + "b");
}

TEST(Utf8, EveryScalarValueSurvivesARoundTrip) {
  std::u32string all;
  for (char32_t cp = 0; cp <= 0x10FFFF; ++cp) {
    if (cp < 0xD800 || cp > 0xDFFF) all.push_back(cp);
  }
  const std::string bytes = U32ToUtf8(all);
  // 128 one-byte, 1920 two-byte, 61440 three-byte (surrogates excluded) and
  // 1048576 four-byte characters.
  EXPECT_EQ(bytes.size(), 128u + 1920u * 2 + 61440u * 3 + 1048576u * 4);
  EXPECT_EQ(Utf8ToU32(bytes), all);
}

}  // namespace
}  // namespace cn
