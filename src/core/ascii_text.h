// Small text helpers shared by the engine, the readers and the windows. They
// work on bytes and touch only ASCII, so UTF-8 text passes through unchanged
// and no locale changes what they do.
#pragma once

#include <string>
#include <string_view>

namespace cn {

// `text` without the leading and trailing characters found in `blanks`:
// Trim("  x = 1\t") -> "x = 1", Trim(" \t", " ") -> "\t", Trim("") -> "".
std::string_view Trim(std::string_view text, std::string_view blanks = " \t");
// The same for the engine's decoded text.
std::u32string_view Trim(std::u32string_view text, std::u32string_view blanks = U" \t");

// A..Z become a..z, every other byte stays: AsciiLower("SinH(X)") -> "sinh(x)",
// AsciiLower("ÄB") keeps the two bytes of "Ä" and gives "Äb".
constexpr char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
std::string AsciiLower(std::string_view text);

}  // namespace cn
