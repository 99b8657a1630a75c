// What the equation dialog and its insert list compute, without Qt: the
// equation text of each kind, the condition text, the random row colour and
// the tokens of the insert list.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace cn {

enum class EquationKind { kQuadratic, kLinear, kCustom };

// The dialog's text boxes as typed. BuildEquation writes "0" into the empty
// coefficient boxes of the active kind, as the dialog shows them afterwards.
struct EquationEntry {
  EquationKind kind = EquationKind::kQuadratic;
  std::string a, b, c;  // quadratic: f(x) = ax^2 + bx + c
  std::string m, b2;    // linear: f(x) = mx + b
  std::string equ;      // custom
};

struct EquationResult {
  std::string text;   // the equation text when accepted
  std::string error;  // the message to show when refused; empty when accepted
};

inline constexpr const char* kBlankEquation = "The equation is blank.";
inline constexpr const char* kNothingEntered = "You didn't enter anything.";

// Validates the active kind and builds its equation text:
// quadratic "1x^2 -4x +3", linear "2x +5", custom as typed.
EquationResult BuildEquation(EquationEntry& entry);

// A coefficient that follows another term: "+" in front unless the text,
// blanks trimmed, already starts with a sign; otherwise as typed.
// "3" -> "+3", "-0.5" -> "-0.5", "sqrt(2)" -> "+sqrt(2)".
std::string JoinTerm(std::string_view coefficient);

// Why an equation text can never be plotted: the message for it and where
// the caret goes to show the fault, in characters from the start of the text
// as typed (leading blanks included); `position` counts from 1 without the
// leading blanks, as the engine's messages do.
struct EquationFault {
  std::string message;
  std::size_t caret = 0;
  int position = 0;
};

// The one judgement of an equation text, wherever it enters (the dialog, a
// row edit, a workspace file, the command line): nullopt when it compiles
// with the engine's default options and names no variable but x (either
// case). Otherwise the compile error ("Not enough closing brackets" for
// "(x+1"), or the unknown name: "tanx" suggests tan(x), "e^x" names e#, and
// "2*t" or a coefficient "abc" says that x is the only variable.
std::optional<EquationFault> FindEquationFault(std::string_view text);

// The message with its position where the message has none:
// "missing argument (position 3)".
std::string EquationProblem(const EquationFault& fault);

// Why a condition text cannot be read (ReadCondition, the one reader of
// conditions), or nullopt for a good one or the empty text.
std::optional<std::string> FindConditionFault(std::string_view text);

// The comparisons of the condition list, in list order.
inline constexpr std::array<const char*, 4> kComparisons = {"Less Than", "Greater Than", "Less Than or Equal to",
                                                            "Greater Than or Equal to"};

// The condition text for the comparison at `index` (0..3) and the bound,
// blanks around it trimmed (plotting reads the bound after the last blank):
// "x < 3", " 2 " -> "x >= 2". Empty when the bound is not a plain decimal
// number or the index is out of range.
std::string ConditionText(int index, std::string_view bound);

// The row colours: palette entry k (0..15) as packed RGB
// (red + 256 * green + 65536 * blue).
std::uint32_t PaletteColor(int k);

// Draws palette indices k = int(u * 13) from `uniform` (values in [0, 1))
// until k is none of 0 (black), 6 (dark yellow), 7 (light grey), 8 (dark
// grey); returns that entry's colour, so only nine colours can result.
std::uint32_t RandomRowColor(const std::function<double()>& uniform);

// RandomRowColor drawn from a generator seeded by the clock: a new row's colour.
std::uint32_t NewRowColor();

// The entries of the insert list, in the order shown.
inline constexpr std::array<const char*, 42> kInsertEntries = {
    "abs( - Absolute Value",
    "atn( - Inverse Tangent",
    "cos( - Cosine",
    "sin( - Sine",
    "exp( - Exponential",
    "fix( - Convert to Integer",
    "int( - Convert to Integer",
    "dec( - Get only Decimal",
    "log( - Logarithm",
    "rnd( - Random Between X and 0",
    "sgn( - Sine",
    "sqrt( - Square Root",
    "cbr( - Cube Root",
    "tan( - Tangent",
    "acos( - Inverse Cosine",
    "asin( - Inverse Sine",
    "cosh( - Hyperbolic Cosine",
    "sinh( - Hyperbolic Sine",
    "tanh( - Hyperbolic Tangent",
    "acosh( - Inverse Hyperbolic Cosine",
    "asinh( - Inverse Hyperbolic Sine",
    "atanh( - Inverse Hyperbolic Tangent",
    "fact( - Factorial",
    "csc( - Cosecant",
    "sec( - Secant",
    "cot( - Cotangent",
    "acsc( - Inverse Cosecant",
    "asec( - Inverse Secant",
    "acot( - Inverse Cotangent",
    "csch( - Hyperbolic Cosecant",
    "sech( - Hyperbolic Secant",
    "coth( - Hyperbolic Cotangent",
    "acsch( - Inverse Hyperbolic Cosecant",
    "asech( - inverse hyperbolic secant",
    "acoth( - inverse hyperbolic cotangent",
    "rad( - Radiant Conversion",
    "deg( - Degree sess. Conversion",
    "grad( - Degree cent. Conversion",
    "pi# - PI",
    "e# - Euler-Napier's (e)",
    "eu# - Euler's eu",
    "phi# - Euler's phi",
};

// The token of an insert entry: everything before its first blank.
std::string_view InsertToken(std::string_view entry);

}  // namespace cn
