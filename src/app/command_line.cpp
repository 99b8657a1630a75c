#include "app/command_line.h"

#include <QString>
#include <algorithm>
#include <cmath>
#include <iterator>
#include <optional>
#include <string_view>
#include <tuple>

#include "analysis/sweeps.h"
#include "core/ascii_text.h"
#include "core/number_text.h"
#include "curvenest_version.h"
#include "equations/equation_text.h"
#include "stats/stat_data.h"
#include "workspace/workspace_file.h"

namespace cn {
namespace {

std::string Quote(std::string_view text) { return "\"" + std::string(text) + "\""; }

std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  for (std::size_t start = 0;;) {
    const std::size_t end = text.find(separator, start);
    parts.push_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
    if (end == std::string_view::npos) return parts;
    start = end + 1;
  }
}

bool EndsWithNoCase(std::string_view text, std::string_view suffix) {
  if (text.size() < suffix.size()) return false;
  text = text.substr(text.size() - suffix.size());
  for (std::size_t i = 0; i < suffix.size(); ++i) {
    if (AsciiLower(text[i]) != suffix[i]) return false;
  }
  return true;
}

// Why `expression` cannot be plotted, or nullopt: the one judgement the
// window makes too.
std::optional<std::string> EquationProblemOf(const std::string& expression) {
  if (const auto fault = FindEquationFault(expression)) return EquationProblem(*fault);
  return std::nullopt;
}

// "x < 3", "x>=-2.5", "<= 1e3" -> the written form "x < 3", "x >= -2.5", ...
std::optional<std::string> ConditionFromOption(std::string_view text) {
  const auto condition = ReadCondition(text);
  if (!condition || condition->op == Condition::Op::kNone) return std::nullopt;
  static constexpr Condition::Op kIndexed[] = {Condition::Op::kLt, Condition::Op::kGt, Condition::Op::kLe,
                                               Condition::Op::kGe};
  const int index = static_cast<int>(std::find(std::begin(kIndexed), std::end(kIndexed), condition->op) - kIndexed);
  // The bound as typed: what follows the operator.
  const std::string_view trimmed = Trim(text);
  const std::size_t bound = trimmed.find_first_not_of("xX<>= \t");
  return ConditionText(index, bound == std::string_view::npos ? "" : trimmed.substr(bound));
}

std::optional<std::uint32_t> ColorFromOption(std::string_view text) {
  if (text.size() != 7 || text[0] != '#') return std::nullopt;
  std::uint32_t rgb = 0;
  for (char c : text.substr(1)) {
    int digit = -1;
    if (c >= '0' && c <= '9') digit = c - '0';
    if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    if (digit < 0) return std::nullopt;
    rgb = rgb * 16 + static_cast<std::uint32_t>(digit);
  }
  // #RRGGBB -> red + 256 * green + 65536 * blue.
  return ((rgb >> 16) & 0xFF) + 256 * ((rgb >> 8) & 0xFF) + 65536 * (rgb & 0xFF);
}

std::optional<int> SizeFromOption(std::string_view text) {
  const std::optional<double> value = ParseDecimal(Trim(text));
  if (!value || *value != std::floor(*value) || *value < kMinExportSize || *value > kMaxExportSize) {
    return std::nullopt;
  }
  return static_cast<int>(*value);
}

// Returns the problem, or "" when the window is good.
std::string CheckWindow(const std::array<std::string, 4>& texts) {
  static constexpr const char* kNames[] = {"XMIN", "XMAX", "YMIN", "YMAX"};
  std::array<int, 4> bounds{};
  for (std::size_t i = 0; i < texts.size(); ++i) {
    const std::optional<double> value = ParseDecimal(texts[i]);
    if (!value) return std::string(kNames[i]) + " " + Quote(texts[i]) + " is not a number";
    const std::optional<std::int16_t> bound = ToInt16(*value);
    if (!bound) return std::string(kNames[i]) + " " + texts[i] + " is outside -32768 to 32767";
    bounds[i] = *bound;
  }
  // The bounds are whole numbers on the plane; compare them as it will use them.
  if (bounds[0] >= bounds[1]) {
    return "XMIN " + texts[0] + " must be less than XMAX " + texts[1] + " (both are whole numbers on the plane)";
  }
  if (bounds[2] >= bounds[3]) {
    return "YMIN " + texts[2] + " must be less than YMAX " + texts[3] + " (both are whole numbers on the plane)";
  }
  return {};
}

std::string CheckSteps(const std::array<std::string, 2>& texts) {
  static constexpr const char* kNames[] = {"XSTEP", "YSTEP"};
  for (std::size_t i = 0; i < texts.size(); ++i) {
    const std::optional<double> value = ParseDecimal(texts[i]);
    if (!value) return std::string(kNames[i]) + " " + Quote(texts[i]) + " is not a number";
    // The plane keeps its steps in single precision.
    const float step = static_cast<float>(*value);
    if (!(step > 0) || !std::isfinite(step)) return std::string(kNames[i]) + " " + texts[i] + " must be greater than 0";
  }
  return {};
}

// Reads "a,b,c" into exactly N texts, blanks around each removed.
template <std::size_t N>
std::optional<std::array<std::string, N>> Fields(std::string_view text) {
  const std::vector<std::string_view> parts = Split(text, ',');
  if (parts.size() != N) return std::nullopt;
  std::array<std::string, N> fields;
  for (std::size_t i = 0; i < N; ++i) fields[i] = std::string(Trim(parts[i]));
  return fields;
}

CommandLine Error(std::string text) {
  CommandLine result;
  result.action = CommandLine::Action::kError;
  result.error = std::move(text);
  return result;
}

// How many ticks one axis of `window` gets, the plane's tick loop counted by
// division. The boxes are read the way the main window reads them.
double TickCount(const std::string& from, const std::string& to, const std::string& step) {
  const double lo = RoundHalfEven(LeadingNumber(from));
  const double hi = RoundHalfEven(LeadingNumber(to));
  const float s = static_cast<float>(LeadingNumber(step));
  if (s == 0 || !std::isfinite(s)) return 0;  // the plane draws no ticks then
  const double count = (hi - lo) / s;
  // 20 / 0.001f is 19999.99...: the allowance counts the tick that the
  // accumulated single-precision positions reach.
  return count < 0 ? 0 : std::floor(count * (1 + 1e-6)) + 1;
}

}  // namespace

std::uint32_t DefaultExportColor(std::size_t n) {
  // Palette entries: red, blue, green, purple, maroon, teal, navy, lime, cyan.
  static constexpr int kOrder[] = {12, 9, 2, 5, 4, 3, 1, 10, 11};
  return PaletteColor(kOrder[n % std::size(kOrder)]);
}

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
  CommandLine result;
  ExportRequest& request = result.request;
  bool exporting = false;
  bool sawSize = false;
  bool onlyFiles = false;  // after "--"
  std::vector<bool> hasCondition, hasColor;
  std::string exportOnly;  // the first option that needs --export

  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string word = args[i];
    const bool isOption = !onlyFiles && word.size() > 1 && word[0] == '-';
    if (!isOption) {
      if (!result.file.empty()) {
        return Error("only one workspace file can be given, not both " + Quote(result.file) + " and " + Quote(word));
      }
      if (word.empty()) return Error("the workspace file name is empty");
      result.file = word;
      continue;
    }
    if (word == "--") {
      onlyFiles = true;
      continue;
    }
    if (word == "--help" || word == "-h") {
      result.action = CommandLine::Action::kHelp;
      return result;
    }
    if (word == "--version") {
      result.action = CommandLine::Action::kVersion;
      return result;
    }

    // Options with a value: "--size 600" or "--size=600".
    std::string value;
    bool hasInlineValue = false;
    if (word.starts_with("--")) {
      const std::size_t equals = word.find('=');
      if (equals != std::string::npos) {
        value = word.substr(equals + 1);
        word.resize(equals);
        hasInlineValue = true;
      }
    }
    static constexpr std::string_view kValued[] = {"--export", "--size",      "--window", "--steps",
                                                   "-e",       "--condition", "--color"};
    if (std::find(std::begin(kValued), std::end(kValued), word) == std::end(kValued)) {
      return Error("unknown option " + Quote(args[i]) + " (see curvenest --help)");
    }
    if (!hasInlineValue) {
      if (i + 1 >= args.size()) return Error(word + " needs a value (see curvenest --help)");
      value = args[++i];
    }
    if (word != "--export" && exportOnly.empty()) exportOnly = word;

    if (word == "--export") {
      if (exporting) return Error("--export can be given only once");
      exporting = true;
      if (value.empty()) return Error("--export needs a file name");
      if (EndsWithNoCase(value, ".png")) {
        request.format = ExportFormat::kPng;
      } else if (EndsWithNoCase(value, ".svg")) {
        request.format = ExportFormat::kSvg;
      } else if (EndsWithNoCase(value, ".pdf")) {
        request.format = ExportFormat::kPdf;
      } else {
        return Error("--export " + Quote(value) + ": the file name must end in .png, .svg or .pdf");
      }
      request.output = value;
    } else if (word == "--size") {
      if (sawSize) return Error("--size can be given only once");
      sawSize = true;
      const std::optional<int> size = SizeFromOption(value);
      if (!size) {
        return Error("--size " + Quote(value) + ": the size must be a whole number from " +
                     std::to_string(kMinExportSize) + " to " + std::to_string(kMaxExportSize));
      }
      request.size = *size;
    } else if (word == "--window") {
      if (request.window) return Error("--window can be given only once");
      const auto fields = Fields<4>(value);
      if (!fields) return Error("--window " + Quote(value) + ": expected four numbers XMIN,XMAX,YMIN,YMAX");
      if (std::string problem = CheckWindow(*fields); !problem.empty()) return Error("--window: " + problem);
      request.window = fields;
    } else if (word == "--steps") {
      if (request.steps) return Error("--steps can be given only once");
      const auto fields = Fields<2>(value);
      if (!fields) return Error("--steps " + Quote(value) + ": expected two numbers XSTEP,YSTEP");
      if (std::string problem = CheckSteps(*fields); !problem.empty()) return Error("--steps: " + problem);
      request.steps = fields;
    } else if (word == "-e") {
      if (std::optional<std::string> problem = EquationProblemOf(value)) {
        return Error("-e " + Quote(value) + ": " + *problem);
      }
      request.equations.push_back({value, "", DefaultExportColor(request.equations.size())});
      hasCondition.push_back(false);
      hasColor.push_back(false);
    } else if (word == "--condition") {
      if (request.equations.empty()) return Error("--condition must follow the -e EXPR it belongs to");
      if (hasCondition.back())
        return Error("-e " + Quote(request.equations.back().expression) + " has two --condition");
      std::optional<std::string> condition = ConditionFromOption(value);
      if (!condition) {
        return Error("--condition " + Quote(value) + ": expected x < N, x > N, x <= N or x >= N with N a number");
      }
      request.equations.back().condition = std::move(*condition);
      hasCondition.back() = true;
    } else {  // --color
      if (request.equations.empty()) return Error("--color must follow the -e EXPR it belongs to");
      if (hasColor.back()) return Error("-e " + Quote(request.equations.back().expression) + " has two --color");
      const std::optional<std::uint32_t> color = ColorFromOption(value);
      if (!color) return Error("--color " + Quote(value) + ": expected #RRGGBB with hexadecimal digits, e.g. #ff0000");
      request.equations.back().color = *color;
      hasColor.back() = true;
    }
  }

  if (!exporting) {
    if (!exportOnly.empty()) return Error(exportOnly + " goes only with --export OUT");
    return result;
  }
  if (!result.file.empty() && !request.equations.empty()) {
    return Error("--export takes either a workspace file or -e expressions, not both");
  }
  if (result.file.empty() && request.equations.empty()) {
    return Error("--export needs a workspace file or at least one -e EXPR");
  }
  result.action = CommandLine::Action::kExport;
  request.workspace = std::move(result.file);
  result.file.clear();
  return result;
}

std::string UsageText() {
  return "usage: curvenest [FILE.curvenest]\n"
         "       curvenest --export OUT.png|OUT.svg|OUT.pdf [--size N]\n"
         "                 [--window XMIN,XMAX,YMIN,YMAX] [--steps XSTEP,YSTEP]\n"
         "                 (FILE.curvenest | -e EXPR [--condition COND] [--color #RRGGBB] ...)\n"
         "       curvenest --help | --version\n"
         "\n"
         "Without --export, starts the graphing calculator, opening FILE if given.\n"
         "With --export, draws the graph into OUT without showing a window and exits.\n"
         "\n"
         "  --export OUT       write the graph as PNG, SVG or PDF (by OUT's suffix)\n"
         "  --size N           side of the square picture, 16 to 8192 (default 481);\n"
         "                     pixels for PNG, points for SVG and PDF\n"
         "  --window A,B,C,D   XMin, XMax, YMin, YMax: whole numbers, -32768 to 32767\n"
         "                     (default -10,10,-10,10, or FILE's window)\n"
         "  --steps X,Y        tick spacing on the x and y axes, greater than 0\n"
         "                     (default 1,1, or FILE's steps)\n"
         "  -e EXPR            an equation f(x) = EXPR; repeat for more equations\n"
         "  --condition COND   draw the last -e only where COND holds:\n"
         "                     x < N, x > N, x <= N or x >= N\n"
         "  --color #RRGGBB    colour of the last -e (default red, blue, green, purple,\n"
         "                     maroon, teal, navy, lime, cyan in turn)\n"
         "  --help             show this text\n"
         "  --version          show the version\n"
         "\n"
         "Exit status: 0 on success, 1 when a file cannot be read or written,\n"
         "2 for a wrong command line.\n";
}

std::string VersionText() {
  return "curvenest " + std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor) + "." +
         std::to_string(kVersionBuild) + "\n";
}

bool BuildExportDocument(const ExportRequest& request, WorkspaceDocument* document, std::string* error) {
  WorkspaceDocument built;
  if (request.workspace.empty()) {
    built.equations = request.equations;
  } else {
    QString message;
    if (!ReadWorkspace(QString::fromStdString(request.workspace), &built, &message)) {
      *error = message.toStdString();
      return false;
    }
    for (std::size_t i = 0; i < built.equations.size(); ++i) {
      const std::string& expression = built.equations[i].expression;
      std::optional<std::string> problem = EquationProblemOf(expression);
      if (!problem) problem = FindConditionFault(built.equations[i].condition);
      if (problem) {
        *error = Quote(request.workspace) + ": equation " + std::to_string(i + 1) + " " + Quote(expression) + ": " +
                 *problem;
        return false;
      }
    }
  }
  if (request.window) {
    built.window.xmin = (*request.window)[0];
    built.window.xmax = (*request.window)[1];
    built.window.ymin = (*request.window)[2];
    built.window.ymax = (*request.window)[3];
  }
  if (request.steps) {
    built.window.xstep = (*request.steps)[0];
    built.window.ystep = (*request.steps)[1];
  }

  const WorkspaceWindow& w = built.window;
  const std::string where = request.steps    ? "--steps: "
                            : request.window ? "--window: "
                                             : Quote(request.workspace) + ": ";
  for (const auto& [axis, from, to, step] :
       {std::tuple{"x", &w.xmin, &w.xmax, &w.xstep}, std::tuple{"y", &w.ymin, &w.ymax, &w.ystep}}) {
    const double ticks = TickCount(*from, *to, *step);
    if (ticks > kMaxExportTicks) {
      *error = where + "a step of " + *step + " from " + *from + " to " + *to + " gives " + FormatDouble(ticks) +
               " ticks on the " + axis + " axis (at most " + FormatDouble(kMaxExportTicks) + "); use a larger step";
      return false;
    }
  }
  *document = std::move(built);
  return true;
}

bool BuildExportGraph(const WorkspaceDocument& document, const std::string& where, GraphDescription* graph,
                      std::string* error) {
  const WorkspaceWindow& w = document.window;
  const WindowReading reading = ReadGraphWindow({w.xmin, w.xmax, w.ymin, w.ymax, w.ystep, w.xstep});
  if (!reading.window) {
    *error = where + reading.error;
    return false;
  }
  GraphDescription built;
  built.window = *reading.window;
  built.plotted = true;
  for (const WorkspaceEquation& e : document.equations) built.equations.push_back({e.expression, e.condition, e.color});
  built.writeEquations = document.writeEquations;
  if (document.showStatPlot) {
    const std::size_t count = std::min(document.statX.size(), document.statY.size());
    for (std::size_t i = 0; i < count; ++i) {
      built.statPoints.emplace_back(static_cast<float>(EntryValue(document.statX[i]).value_or(0)),
                                    static_cast<float>(EntryValue(document.statY[i]).value_or(0)));
    }
  }
  *graph = std::move(built);
  return true;
}

}  // namespace cn
