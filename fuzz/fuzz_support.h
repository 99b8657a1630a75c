// What every fuzz target shares: the way a broken promise stops the run, and
// the way the engine targets read their input.
#ifndef CURVENEST_FUZZ_FUZZ_SUPPORT_H
#define CURVENEST_FUZZ_FUZZ_SUPPORT_H

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace cn::fuzz {

// A broken promise is a crash libFuzzer keeps the input of; assert() would
// vanish in a release build.
inline void Require(bool condition) {
  if (!condition) std::abort();
}

// The engine targets' input: byte 0 holds the option flags, the rest is the
// expression text.
struct FlaggedText {
  std::uint8_t flags = 0;
  std::string_view text;
};

inline FlaggedText SplitFlags(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return {};
  return {data[0], std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1)};
}

// Bits 0-3 of the flags: the angle unit (RAD, DEG, GRAD or a word the parser
// ignores), unit conversion off, DMS conversion off.
template <typename Parser>
void ApplyEngineFlags(Parser& parser, std::uint8_t flags) {
  static constexpr const char* kUnits[] = {"RAD", "deg", "Grad", "turns"};
  parser.AngleUnit(kUnits[flags & 3]);
  parser.OpUnitConv((flags & 4) == 0);
  parser.OpDMSConv((flags & 8) == 0);
}

}  // namespace cn::fuzz

#endif  // CURVENEST_FUZZ_FUZZ_SUPPORT_H
