#include "core/ascii_text.h"

namespace cn {

namespace {

template <typename View>
View TrimView(View text, View blanks) {
  const std::size_t first = text.find_first_not_of(blanks);
  if (first == View::npos) return {};
  const std::size_t last = text.find_last_not_of(blanks);
  return text.substr(first, last - first + 1);
}

}  // namespace

std::string_view Trim(std::string_view text, std::string_view blanks) { return TrimView(text, blanks); }

std::u32string_view Trim(std::u32string_view text, std::u32string_view blanks) { return TrimView(text, blanks); }

std::string AsciiLower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = AsciiLower(c);
  return out;
}

}  // namespace cn
