// libFuzzer entry for exprcalc's line protocol: arbitrary bytes as the input
// stream. The protocol's promise to scripts is checked on every run: exactly
// one result line per input line, each either "ok<TAB>number" or
// "err<TAB>id<TAB>position<TAB>description" with no control character.
//
// Byte 0 picks the options (bits 0-1 angle unit, bit 2 no units, bit 3 no
// DMS); the rest is the input.

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "protocol.h"

using cn::fuzz::Require;

namespace {

// How many lines std::getline yields for `input`.
std::size_t LineCount(std::string_view input) {
  std::size_t lines = 0;
  std::size_t start = 0;
  for (std::size_t i = 0; i < input.size(); ++i) {
    if (input[i] == '\n') {
      ++lines;
      start = i + 1;
    }
  }
  return lines + (start < input.size() ? 1 : 0);
}

bool IsInteger(std::string_view text) {
  if (text.empty()) return false;
  int value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size();
}

void CheckResultLine(std::string_view line) {
  for (const char c : line) {
    const auto u = static_cast<unsigned char>(c);
    Require(c == '\t' || (u >= 0x20 && u != 0x7f));
  }
  if (line.substr(0, 3) == "ok\t") {
    const std::string_view number = line.substr(3);
    double value = 0;
    const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
    Require(ec == std::errc() && end == number.data() + number.size());
    return;
  }
  Require(line.substr(0, 4) == "err\t");
  std::string_view rest = line.substr(4);
  for (int field = 0; field < 2; ++field) {
    const std::size_t tab = rest.find('\t');
    Require(tab != std::string_view::npos);
    Require(IsInteger(rest.substr(0, tab)));
    rest.remove_prefix(tab + 1);
  }
  Require(!rest.empty());  // a failure is always described
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  cn::exprcalc::Options options;
  static constexpr const char* kUnits[] = {"RAD", "DEG", "GRAD", "RAD"};
  options.angleUnit = kUnits[data[0] & 3];
  options.unitConv = (data[0] & 4) == 0;
  options.dmsConv = (data[0] & 8) == 0;
  const std::string input(reinterpret_cast<const char*>(data) + 1, size - 1);

  std::istringstream in(input);
  std::ostringstream out;
  cn::exprcalc::RunProtocol(in, out, options);

  const std::string output = out.str();
  Require(LineCount(output) == LineCount(input));
  Require(output.empty() || output.back() == '\n');
  std::size_t start = 0;
  while (start < output.size()) {
    const std::size_t end = output.find('\n', start);
    CheckResultLine(std::string_view(output).substr(start, end - start));
    start = end + 1;
  }
  return 0;
}
