#include "engine/error_catalogue.h"

#include <array>

namespace cn {
namespace {

// Indexed by ErrId.
constexpr std::array<std::string_view, Num(ErrId::kNoDms) + 1> kMessages = {
    "",
    "too many variables",
    "Variable not found",
    "",
    "abs symbols |.| mismatch",
    "Syntax error at pos: $",
    "Function < $ > unknown at pos: $",
    "Too many closing brackets at pos: $",
    "missing argument",
    "Too many arguments at pos: $",
    "",
    "Not enough closing brackets",
    "Syntax error: $",
    "Function < $ > missing?",
    "Evaluation error < $($) > at pos: $",
    "Evaluation error < $($, $) > at pos: $",
    "Evaluation error < $ $ $ > at pos: $",
    "Evaluation error < $($) > at pos: $",
    "Variable < $ > not assigned",
    "Constant unknown: $",
    "Too many operations",
    "Wrong DMS format",
    "No DMS format",
};

static_assert(kMessages[Num(ErrId::kNotAssigned)] == "Variable < $ > not assigned",
              "the message catalogue follows the numbering of ErrId");

}  // namespace

std::string_view ErrMsg(int id) {
  if (id < 0 || id >= static_cast<int>(kMessages.size())) return "";
  return kMessages[static_cast<std::size_t>(id)];
}

std::string ErrorMessage(ErrId id, std::initializer_list<std::string_view> values) {
  std::string text(ErrMsg(id));
  // Fill left to right without re-reading what was inserted: a value may contain "$".
  std::string out;
  std::size_t from = 0;
  for (std::string_view v : values) {
    const auto at = text.find('$', from);
    if (at == std::string::npos) break;
    out.append(text, from, at - from);
    out.append(v);
    from = at + 1;
  }
  out.append(text, from, std::string::npos);
  return out;
}

}  // namespace cn
