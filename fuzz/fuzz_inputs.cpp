// libFuzzer entry for the texts a person types into the windows' boxes, past
// the bare number readers: the graph window's six boxes (and the zoom and pan
// moves from what they accept), the condition texts, the equation dialog's
// boxes, the statistics window's entries, the bounds of Minimum and Maximum
// and the table of values' Start, Stop and Step. The input is split at line
// feeds into the texts of the boxes. Each run checks the readers' promises:
//   - an accepted graph window has xmin < xmax and ymin < ymax, each bound
//     within half a unit of its text's leading number; a refusal sets no
//     window and names the box, the first one out of range when one is;
//   - zooming and panning an accepted window give a window again, panning
//     keeps its size and zooming keeps a side of at least kMinSide;
//   - a condition the dialog writes reads back as its comparison and bound;
//     a condition text is never "no condition" unless it is empty;
//   - the equation the dialog builds compiles in the engine or is refused
//     with a message and a caret inside the text;
//   - a statistics entry accepted is a finite number written only with
//     digits, a sign, a point and an exponent;
//   - a bound accepted lies within half a unit of its text's number;
//   - the table of values is refused with one of its messages and no rows,
//     or starts at Start and moves x one way only.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/sweeps.h"
#include "analysis/tools.h"
#include "core/ascii_text.h"
#include "core/number_text.h"
#include "engine/cls_expr_parser.h"
#include "equations/equation_text.h"
#include "fuzz_support.h"
#include "stats/stat_data.h"
#include "workspace/model/graph_window.h"

using cn::fuzz::Require;

namespace {

std::vector<std::string_view> SplitLines(std::string_view text, std::size_t count) {
  std::vector<std::string_view> fields;
  while (fields.size() + 1 < count) {
    const auto end = text.find('\n');
    if (end == std::string_view::npos) break;
    fields.push_back(text.substr(0, end));
    text.remove_prefix(end + 1);
  }
  fields.push_back(text);
  fields.resize(count);
  return fields;
}

bool Contains(const std::string& text, std::string_view part) { return text.find(part) != std::string::npos; }

void CheckWindowShape(const cn::GraphWindow& w) {
  Require(w.xmin < w.xmax);
  Require(w.ymin < w.ymax);
}

void CheckGraphWindow(const std::vector<std::string_view>& f) {
  const cn::WindowTexts texts{f[0], f[1], f[2], f[3], f[4], f[5]};
  const cn::WindowReading reading = cn::ReadGraphWindow(texts);
  static const char* const kLabels[4] = {"XMin", "XMax", "YMin", "YMax"};
  if (!reading.window) {
    Require(!reading.error.empty());
    bool named = false;
    for (const char* label : kLabels) named = named || Contains(reading.error, label);
    Require(named);
    // The first box out of range is the one the message names.
    for (int i = 0; i < 4; ++i) {
      const double v = cn::LeadingNumber(texts[i]);
      if (v < -32769 || v > 32768) {
        Require(reading.error.rfind(kLabels[i], 0) == 0);
        break;
      }
      // A number near a limit may go either way: past it, nothing is known.
      if (!(std::fabs(v) <= 32767)) break;
    }
    return;
  }
  Require(reading.error.empty());
  const cn::GraphWindow w = *reading.window;
  CheckWindowShape(w);
  const std::int16_t bounds[4] = {w.xmin, w.xmax, w.ymin, w.ymax};
  for (int i = 0; i < 4; ++i) Require(std::fabs(bounds[i] - cn::LeadingNumber(texts[i])) <= 0.5);

  // Moves driven by the two texts after the window's boxes.
  const double a = cn::LeadingNumber(f[6]);
  const double b = cn::LeadingNumber(f[7]);
  for (const double factor : {0.5, 2.0, std::fabs(a)}) {
    const cn::GraphWindow z = cn::ZoomWindow(w, factor, a, b);
    CheckWindowShape(z);
    Require(z.xstep == w.xstep || (std::isnan(z.xstep) && std::isnan(w.xstep)));
    if (factor > 0 && std::isfinite(factor)) {
      Require(z.xmax - z.xmin >= cn::kMinSide);
      Require(z.ymax - z.ymin >= cn::kMinSide);
    }
  }
  const long dx = std::isfinite(a) && std::fabs(a) < 1e12 ? static_cast<long>(a) : 0;
  const long dy = std::isfinite(b) && std::fabs(b) < 1e12 ? static_cast<long>(b) : 0;
  const cn::GraphWindow p = cn::PanWindow(w, dx, dy);
  CheckWindowShape(p);
  Require(p.xmax - p.xmin == w.xmax - w.xmin);
  Require(p.ymax - p.ymin == w.ymax - w.ymin);
  // A move that stays inside the range is made in full.
  if (w.xmin + dx >= cn::kLowestBound && w.xmax + dx <= cn::kHighestBound) Require(p.xmin == w.xmin + dx);
  if (w.ymin + dy >= cn::kLowestBound && w.ymax + dy <= cn::kHighestBound) Require(p.ymin == w.ymin + dy);
}

void CheckCondition(std::string_view text, std::string_view bound) {
  const cn::Condition parsed = cn::ParseCondition(text);
  Require((parsed.op == cn::Condition::Op::kNone) == cn::Trim(text).empty());
  // A refused condition always says why.
  std::string why;
  if (!cn::ReadCondition(text, &why)) Require(!why.empty() && parsed.op == cn::Condition::Op::kNever);
  if (parsed.op != cn::Condition::Op::kNone && parsed.op != cn::Condition::Op::kNever) {
    Require(!std::isnan(parsed.bound));
  }

  using Op = cn::Condition::Op;
  static constexpr Op kOps[4] = {Op::kLt, Op::kGt, Op::kLe, Op::kGe};
  for (int index = -1; index <= 4; ++index) {
    const std::string written = cn::ConditionText(index, bound);
    if (index < 0 || index > 3) {
      Require(written.empty());
      continue;
    }
    if (written.empty()) continue;
    const auto first = bound.find_first_not_of(" \t");
    const auto last = bound.find_last_not_of(" \t");
    Require(first != std::string_view::npos);
    const auto value = cn::ParseDecimal(bound.substr(first, last - first + 1));
    Require(value.has_value());
    const cn::Condition back = cn::ParseCondition(written);
    // A bound beyond a single's range cannot be compared with x: the dialog
    // must not write one.
    Require(back.op == kOps[index]);
    Require(back.bound == static_cast<float>(*value));
  }
}

void CheckEquation(const std::vector<std::string_view>& f, cn::EquationKind kind) {
  cn::EquationEntry entry;
  entry.kind = kind;
  entry.a = f[0];
  entry.b = f[1];
  entry.c = f[2];
  entry.m = f[3];
  entry.b2 = f[4];
  entry.equ = f[5];
  const cn::EquationResult result = cn::BuildEquation(entry);
  if (!result.error.empty()) {
    Require(result.text.empty());
    return;
  }
  Require(!result.text.empty());
  if (kind == cn::EquationKind::kQuadratic) Require(!entry.a.empty() && !entry.b.empty() && !entry.c.empty());
  if (kind == cn::EquationKind::kLinear) Require(!entry.m.empty() && !entry.b2.empty());
  // Long texts are the engine target's business; here the building matters.
  if (result.text.size() > 4096) return;
  const auto fault = cn::FindEquationFault(result.text);
  if (!fault) {
    cn::clsExprParser parser;
    Require(parser.StoreExpression(result.text));
    return;
  }
  Require(!fault->message.empty());
  std::size_t characters = 0;
  for (const char c : result.text) characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  Require(fault->caret <= characters);
}

void CheckEntry(std::string_view text) {
  const auto value = cn::EntryValue(text);
  if (!value) return;
  Require(std::isfinite(*value));
  const auto first = text.find_first_not_of(' ');
  const auto last = text.find_last_not_of(' ');
  Require(first != std::string_view::npos);
  const std::string_view core = text.substr(first, last - first + 1);
  Require(core.find_first_not_of("0123456789+-.eE") == std::string_view::npos);
  Require(core.find_first_of("0123456789") != std::string_view::npos);
}

void CheckBound(std::string_view text) {
  const double leading = cn::LeadingNumber(text);
  const auto bound = cn::BoundFromText(text);
  if (bound) {
    Require(std::fabs(*bound - leading) <= 0.5);
  } else {
    Require(!(leading > -32768.5 && leading < 32767.5));
  }
}

// A table box as the table reads it: a decimal between blanks and tabs.
std::optional<double> TableBox(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return std::nullopt;
  return cn::ParseDecimal(text.substr(first, text.find_last_not_of(" \t") - first + 1));
}

// How long a table would be, known before asking for it (a million rows are
// allowed, but too slow to fuzz).
double TableEstimate(std::string_view start, std::string_view stop, std::string_view step) {
  const auto a = TableBox(start), b = TableBox(stop), s = TableBox(step);
  if (!a || !b || !s || *s == 0) return 0;
  return std::fabs((*b - *a) / *s);
}

void CheckTable(std::string_view start, std::string_view stop, std::string_view step) {
  if (!(TableEstimate(start, stop, step) < 20000)) return;
  const cn::ValueTable table = cn::TableOfValues("x", start, stop, step);
  if (!table.error.empty()) {
    Require(table.rows.empty());
    Require(table.error == cn::kTableNotNumbers || table.error == cn::kTableStepTooSmall ||
            table.error == cn::kTableTooLong);
    return;
  }
  const auto a = TableBox(start), b = TableBox(stop), s = TableBox(step);
  Require(a && b && s && *s != 0);
  const float first = static_cast<float>(*a), last = static_cast<float>(*b);
  const bool runs = *s > 0 ? first <= last : first >= last;
  Require(table.rows.empty() == !runs);
  if (table.rows.empty()) return;
  Require(table.rows.front().rfind("(" + cn::TableX(first) + ", ", 0) == 0);
  // Every row is "(x, y)" with x moving towards Stop and never past it.
  double previous = 0;
  for (std::size_t i = 0; i < table.rows.size(); ++i) {
    const std::string& row = table.rows[i];
    Require(row.size() > 4 && row.front() == '(' && row.back() == ')');
    const auto comma = row.find(", ");
    Require(comma != std::string::npos);
    std::string x(row.substr(1, comma - 1));
    std::erase(x, ',');
    const auto value = cn::ParseDecimal(x);
    Require(value.has_value());
    if (i > 0) Require(*s > 0 ? *value >= previous : *value <= previous);
    previous = *value;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 8192) return 0;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string_view> f = SplitLines(text, 8);
  CheckGraphWindow(f);
  CheckCondition(text, f[0]);
  for (const auto kind : {cn::EquationKind::kQuadratic, cn::EquationKind::kLinear, cn::EquationKind::kCustom}) {
    CheckEquation(f, kind);
  }
  for (const std::string_view field : f) {
    CheckEntry(field);
    CheckBound(field);
  }
  CheckTable(f[0], f[1], f[2]);
  return 0;
}
