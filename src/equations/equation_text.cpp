#include "equations/equation_text.h"

#include <algorithm>
#include <chrono>
#include <random>

#include "core/ascii_text.h"
#include "core/number_text.h"
#include "engine/cls_expr_parser.h"

namespace cn {
namespace {

void FillEmpty(std::string& box) {
  if (box.empty()) box = "0";
}

}  // namespace

std::string JoinTerm(std::string_view coefficient) {
  // A sign already typed joins the term itself; adding "+" in front of it
  // would give "+-0.5", which the engine refuses.
  const std::string_view trimmed = Trim(coefficient);
  if (!trimmed.empty() && (trimmed.front() == '-' || trimmed.front() == '+')) return std::string(coefficient);
  return "+" + std::string(coefficient);
}

EquationResult BuildEquation(EquationEntry& entry) {
  switch (entry.kind) {
    case EquationKind::kCustom:
      if (entry.equ.empty()) return {{}, kBlankEquation};
      return {entry.equ, {}};
    case EquationKind::kQuadratic:
      if (entry.a.empty() && entry.b.empty() && entry.c.empty()) return {{}, kNothingEntered};
      FillEmpty(entry.a);
      FillEmpty(entry.b);
      FillEmpty(entry.c);
      return {entry.a + "x^2 " + JoinTerm(entry.b) + "x " + JoinTerm(entry.c), {}};
    case EquationKind::kLinear:
      if (entry.m.empty() && entry.b2.empty()) return {{}, kNothingEntered};
      FillEmpty(entry.b2);
      FillEmpty(entry.m);
      return {entry.m + "x " + JoinTerm(entry.b2), {}};
  }
  return {};
}

std::string ConditionText(int index, std::string_view bound) {
  static constexpr std::array<const char*, 4> kPrefixes = {"x < ", "x > ", "x <= ", "x >= "};
  if (index < 0 || index >= static_cast<int>(kPrefixes.size())) return {};
  const std::string_view trimmed = Trim(bound);
  if (!ParseDecimal(trimmed)) return {};
  return kPrefixes[index] + std::string(trimmed);
}

std::optional<EquationFault> FindEquationFault(std::string_view text) {
  clsExprParser parser;
  if (parser.StoreExpression(text)) {
    if (parser.VarTop() < 2) return std::nullopt;
    parser.Eval1(0);
    if (parser.ErrorID() != 1) return std::nullopt;
  }
  // The engine counts characters of the text without its leading blanks,
  // from 1; the caret goes before the character it names.
  const std::size_t blanks = std::min(text.find_first_not_of(' '), text.size());
  std::size_t characters = 0;
  for (const char c : text) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++characters;
  }
  const std::size_t at = blanks + static_cast<std::size_t>(std::max(parser.ErrorPos() - 1, 0));
  return EquationFault{parser.ErrorDescription(), std::min(at, characters)};
}

std::uint32_t PaletteColor(int k) {
  static constexpr auto Rgb = [](std::uint32_t r, std::uint32_t g, std::uint32_t b) { return r + 256 * g + 65536 * b; };
  static constexpr std::array<std::uint32_t, 16> kPalette = {
      Rgb(0, 0, 0),     Rgb(0, 0, 128),     Rgb(0, 128, 0),     Rgb(0, 128, 128),  Rgb(128, 0, 0), Rgb(128, 0, 128),
      Rgb(128, 128, 0), Rgb(192, 192, 192), Rgb(128, 128, 128), Rgb(0, 0, 255),    Rgb(0, 255, 0), Rgb(0, 255, 255),
      Rgb(255, 0, 0),   Rgb(255, 0, 255),   Rgb(255, 255, 0),   Rgb(255, 255, 255)};
  if (k < 0 || k >= static_cast<int>(kPalette.size())) return 0;
  return kPalette[k];
}

std::uint32_t RandomRowColor(const std::function<double()>& uniform) {
  // Black and the greys vanish on the white plane or against the axes.
  int k = 0;
  while (k == 0 || k == 6 || k == 7 || k == 8) {
    k = static_cast<int>(uniform() * 13);
    if (k < 0 || k > 12) k = 0;  // a generator outside [0, 1) draws again
  }
  return PaletteColor(k);
}

std::string_view InsertToken(std::string_view entry) { return entry.substr(0, entry.find(' ')); }

std::uint32_t NewRowColor() {
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  std::mt19937 generator(static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
  std::uniform_real_distribution<double> uniform(0.0, 1.0);
  return RandomRowColor([&] { return uniform(generator); });
}

}  // namespace cn
