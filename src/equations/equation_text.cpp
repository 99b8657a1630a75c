#include "equations/equation_text.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <random>

#include "analysis/sweeps.h"
#include "core/ascii_text.h"
#include "core/number_text.h"
#include "engine/catalogue.h"
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

namespace {

bool IsNameStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool IsNamePart(char c) { return IsNameStart(c) || std::isdigit(static_cast<unsigned char>(c)); }

// Where `name` stands in the text as a name of its own (not a function call,
// not a constant with #), in bytes; npos when it cannot be found.
std::size_t NameOffset(std::string_view text, std::string_view name) {
  for (std::size_t i = 0; i < text.size();) {
    if (std::isdigit(static_cast<unsigned char>(text[i])) || text[i] == '.') {
      // A number, with its exponent: "1e5" names nothing.
      while (i < text.size() && (std::isdigit(static_cast<unsigned char>(text[i])) || text[i] == '.')) ++i;
      if (i + 1 < text.size() && (text[i] == 'e' || text[i] == 'E') &&
          (std::isdigit(static_cast<unsigned char>(text[i + 1])) || text[i + 1] == '-' || text[i + 1] == '+')) {
        i += 2;
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i;
      }
      continue;
    }
    if (!IsNameStart(text[i])) {
      ++i;
      continue;
    }
    const std::size_t start = i;
    while (i < text.size() && IsNamePart(text[i])) ++i;
    if (AsciiLower(text.substr(start, i - start)) == AsciiLower(name)) return start;
  }
  return std::string_view::npos;
}

// Why a name the engine took for a variable is not one an equation can have:
// "tanx" is a call without brackets, "e" the constant e#.
std::string UnknownNameMessage(const std::string& name) {
  const std::string lower = AsciiLower(name);
  std::string message = "Unknown name \"" + name + "\": ";
  if (lower == "e") return message + "Euler's number is written e#.";
  // The longest function name the text starts with: "sinhx" is sinh(x).
  std::size_t best = 0;
  for (std::size_t n = 1; n < lower.size(); ++n) {
    const FunctionEntry* f = FindFunction(lower.substr(0, n));
    if (f && f->arity != Arity::kOperator) best = n;
  }
  if (best > 0) return message + "did you mean " + name.substr(0, best) + "(" + name.substr(best) + ")?";
  return message + "an equation's only variable is x.";
}

std::size_t Characters(std::string_view text) {
  std::size_t n = 0;
  for (const char c : text) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
  }
  return n;
}

}  // namespace

std::optional<EquationFault> FindEquationFault(std::string_view text) {
  clsExprParser parser;
  if (parser.StoreExpression(text)) {
    // Plotting puts x into every variable, so a typo such as "tanx" or "2*t"
    // would draw a straight line without a word.
    for (int i = 1; i <= parser.VarTop(); ++i) {
      const std::string name = parser.VarName(i);
      if (AsciiLower(name) == "x") continue;
      const std::size_t offset = NameOffset(text, name);
      const std::size_t caret = offset == std::string_view::npos ? 0 : Characters(text.substr(0, offset));
      const std::size_t blanks = std::min(text.find_first_not_of(' '), text.size());
      return EquationFault{UnknownNameMessage(name), caret, static_cast<int>(caret - std::min(caret, blanks)) + 1};
    }
    return std::nullopt;
  }
  // The engine counts characters of the text without its leading blanks,
  // from 1; the caret goes before the character it names.
  const std::size_t blanks = std::min(text.find_first_not_of(' '), text.size());
  const std::size_t at = blanks + static_cast<std::size_t>(std::max(parser.ErrorPos() - 1, 0));
  return EquationFault{parser.ErrorDescription(), std::min(at, Characters(text)), parser.ErrorPos()};
}

std::optional<std::string> FindConditionFault(std::string_view text) {
  std::string error;
  if (ReadCondition(text, &error)) return std::nullopt;
  return error;
}

std::string EquationProblem(const EquationFault& fault) {
  // Some engine messages carry the position already ("... at pos: 4").
  if (fault.position > 0 && fault.message.find("at pos:") == std::string::npos) {
    return fault.message + " (position " + std::to_string(fault.position) + ")";
  }
  return fault.message;
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
