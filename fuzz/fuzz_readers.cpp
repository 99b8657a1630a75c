// libFuzzer entry for the number and text readers that every box, bound and
// file line goes through. Each run checks the readers' documented promises:
//   - LeadingNumber always gives a finite number;
//   - a strict decimal reads back through its 15-digit text to the same text,
//     and agrees with LeadingNumber where both read the whole text;
//   - 16- and 32-bit conversions stay within half a unit of the value;
//   - rounding to d places moves a value by at most half a unit of place d;
//   - a single's text reads back within a part in a million;
//   - UTF-8 decoding re-encodes to the same bytes when the input was valid,
//     and decoding what was re-encoded changes nothing.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/ascii_text.h"
#include "core/number_text.h"
#include "core/utf8.h"
#include "fuzz_support.h"

using cn::fuzz::Require;

namespace {

void CheckConversions(double value) {
  if (const auto v16 = cn::ToInt16(value)) Require(std::fabs(value - *v16) <= 0.5);
  if (const auto v32 = cn::ToInt32(value)) Require(std::fabs(value - *v32) <= 0.5);
  if (std::isfinite(value) && std::fabs(value) <= 30000) Require(cn::ToInt16(value).has_value());
}

void CheckRounding(double value) {
  if (!std::isfinite(value) || std::fabs(value) > 1e15) return;
  for (int places : {0, 2, 3, 7}) {
    const double unit = std::pow(10.0, -places);
    const double slack = unit * 0.5 + std::fabs(value) * 1e-14 + 1e-300;
    Require(std::fabs(cn::RoundHalfEven(value, places) - value) <= slack);
    Require(std::fabs(cn::RoundHalfAway(value, places) - value) <= slack);
  }
}

void CheckDecimal(std::string_view text) {
  const auto value = cn::ParseDecimal(text);
  if (!value) return;
  Require(std::isfinite(*value));
  const std::string shown = cn::FormatDouble(*value);
  const auto again = cn::ParseDecimal(shown);
  Require(again.has_value());
  Require(cn::FormatDouble(*again) == shown);
  Require(std::fabs(*again - *value) <= std::fabs(*value) * 1e-14);
  if (text.find_first_of(" \t\r\n") == std::string_view::npos) Require(cn::LeadingNumber(text) == *value);

  const float single = static_cast<float>(*value);
  if (std::isfinite(single) && single != 0) {
    const auto back = cn::ParseDecimal(cn::FormatSingle(single));
    Require(back.has_value());
    Require(std::fabs(*back - single) <= std::fabs(single) * 1e-6);
  }
  CheckConversions(*value);
  CheckRounding(*value);
}

void CheckUtf8(std::string_view bytes) {
  const std::u32string decoded = cn::Utf8ToU32(bytes);
  Require(decoded.size() <= bytes.size());
  const std::string encoded = cn::U32ToUtf8(decoded);
  Require(cn::Utf8ToU32(encoded) == decoded);
  if (decoded.find(U'\uFFFD') == std::u32string::npos) Require(encoded == bytes);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const double leading = cn::LeadingNumber(text);
  Require(std::isfinite(leading));
  CheckConversions(leading);
  CheckDecimal(text);
  CheckDecimal(cn::Trim(text));
  CheckUtf8(text);
  const std::string lower = cn::AsciiLower(text);
  Require(lower.size() == text.size());
  return 0;
}
