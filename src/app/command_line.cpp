#include "app/command_line.h"

#include <QColor>
#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <iterator>
#include <map>
#include <optional>
#include <string_view>
#include <tuple>
#include <utility>

#include "analysis/sweeps.h"
#include "core/ascii_text.h"
#include "core/number_text.h"
#include "curvenest_version.h"
#include "equations/equation_text.h"
#include "stats/stat_data.h"
#include "workspace/model/workspace_session.h"
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

// A colour name Qt knows ("teal", "darkorange") or #RGB, #RRGGBB, ...; a
// colour with transparency is no equation colour.
std::optional<std::uint32_t> ColorFromOption(std::string_view text) {
  const QColor color = QColor::fromString(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
  if (!color.isValid() || color.alpha() != 255) return std::nullopt;
  return static_cast<std::uint32_t>(color.red() + 256 * color.green() + 65536 * color.blue());
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

// The options, once: the parser learns them from this table and --help lists
// them in its order.
struct OptionInfo {
  const char* name;   // without dashes; one letter is written -e, longer --size
  const char* value;  // the value's name, nullptr for a switch
  const char* help;   // a line break continues the text under the first line
};
constexpr OptionInfo kOptions[] = {
    {"export", "OUT", "write the graph as PNG, SVG or PDF (by OUT's suffix)"},
    {"size", "N", "side of the square picture, 16 to 8192 (default 481);\npixels for PNG, points for SVG and PDF"},
    {"window", "A,B,C,D",
     "XMin, XMax, YMin, YMax: whole numbers, -32768 to 32767\n(default -10,10,-10,10, or FILE's window)"},
    {"steps", "X,Y", "tick spacing on the x and y axes, greater than 0\n(default 1,1, or FILE's steps)"},
    {"e", "EXPR", "an equation f(x) = EXPR; repeat for more equations"},
    {"condition", "COND",
     "draw the last -e only where COND holds (--slope, --area:\nmeasure it only there): x < N, x > N, x <= N or x >= N"},
    {"color", "COLOR",
     "colour of the last -e: a name such as teal, or #RRGGBB\n(default red, blue, green, purple, "
     "maroon, teal, navy,\nlime, cyan in turn)"},
    {"get-y", "X", "print f(X), as Get Y shows it"},
    {"get-x", "Y", "print the x where f comes close to Y, as Get X shows them"},
    {"precision", "P",
     "--get-x: low or high (default high); --intersect:\nsuper-low, low, medium or high "
     "(default medium)"},
    {"domain", nullptr, "print the domain of f inside the window"},
    {"range", nullptr, "print the range of f inside the window"},
    {"minimum", "L,R", "print the lowest point (x, y) of f from x = L to R"},
    {"maximum", "L,R", "print the highest point (x, y) of f from x = L to R"},
    {"intersect", nullptr, "print the points (x, y) where two equations meet"},
    {"table", "A,B,S", "print x and f(x) from x = A to B by S, a row a line"},
    {"slope", "X", "print the slope of f at x = X"},
    {"area", "L,R", "print the area under f from x = L to R"},
    {"fit", "KIND", "print the linear or quadratic (KIND) least-squares\nequation of DATAFILE's points"},
    {"row", "N", "with FILE: the equation of the tools, 1 for the first\n(default 1; --intersect: 1 and 2)"},
};

// Qt's own options, read by the application object: accepted here, used
// there, and left out of --help.
constexpr const char* kQtSwitches[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};
constexpr const char* kQtValued[] = {"platform",      "platformpluginpath",
                                     "platformtheme", "plugin",
                                     "qmljsdebugger", "qwindowgeometry",
                                     "qwindowicon",   "qwindowtitle",
                                     "session",       "display",
                                     "geometry",      "style",
                                     "stylesheet",    "name",
                                     "title",         "visual"};

const OptionInfo* FindOption(const QString& name) {
  for (const OptionInfo& o : kOptions) {
    if (name == QLatin1String(o.name)) return &o;
  }
  return nullptr;
}

std::string Dashed(std::string_view name) { return (name.size() == 1 ? "-" : "--") + std::string(name); }

// The word of `args` that named option `name` ("-bogus", "--size=3"), for messages.
std::string WordOf(const std::vector<std::string>& args, const QString& name) {
  for (const std::string& word : args) {
    if (word == "--") break;
    std::string_view bare = word;
    if (bare.starts_with("--")) {
      bare.remove_prefix(2);
    } else if (bare.starts_with("-")) {
      bare.remove_prefix(1);
    } else {
      continue;
    }
    if (QString::fromStdString(std::string(bare.substr(0, bare.find('=')))) == name) return word;
  }
  return Dashed(name.toStdString());
}

// The parser's complaints other than an unknown option: a value missing after
// the last word, or one given to a switch. Walks the words as it does.
std::string ValueProblem(const std::vector<std::string>& args) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& word = args[i];
    if (word == "--") break;
    if (word.size() < 2 || word[0] != '-') continue;
    const std::size_t equals = word.find('=');
    const std::string option = word.substr(0, equals);
    const std::string name = option.substr(option.starts_with("--") ? 2 : 1);
    const OptionInfo* info = FindOption(QString::fromStdString(name));
    const bool valued = info ? info->value != nullptr
                             : std::find(std::begin(kQtValued), std::end(kQtValued), name) != std::end(kQtValued);
    if (!valued && equals != std::string::npos) return option + " takes no value (see curvenest --help)";
    if (valued && equals == std::string::npos && ++i == args.size()) {
      return option + " needs a value (see curvenest --help)";
    }
  }
  return "the command line cannot be read (see curvenest --help)";
}

constexpr std::pair<std::string_view, Tool> kTools[] = {
    {"--get-y", Tool::kGetY},          {"--get-x", Tool::kGetX},      {"--domain", Tool::kDomain},
    {"--range", Tool::kRange},         {"--minimum", Tool::kMinimum}, {"--maximum", Tool::kMaximum},
    {"--intersect", Tool::kIntersect}, {"--table", Tool::kTable},     {"--fit", Tool::kFit},
    {"--slope", Tool::kSlope},         {"--area", Tool::kArea}};

std::optional<Tool> ToolOf(std::string_view word) {
  for (const auto& [name, tool] : kTools) {
    if (name == word) return tool;
  }
  return std::nullopt;
}

// Checks what a tool needs of the words and fills `tool`; "" or the problem.
std::string CheckTool(const std::string& word, const std::optional<std::string>& given, CommandLine& line) {
  ToolRequest& tool = line.tool;
  const ExportRequest& request = line.request;
  const bool fromFile = !line.file.empty();
  if (given) {
    const std::string& precision = *given;
    if (tool.tool == Tool::kGetX && (precision == "low" || precision == "high")) {
      tool.high = precision == "high";
    } else if (tool.tool == Tool::kIntersect) {
      static const std::map<std::string, IntersectLevel, std::less<>> kLevels = {
          {"super-low", IntersectLevel::kSuperLow},
          {"low", IntersectLevel::kLow},
          {"medium", IntersectLevel::kMedium},
          {"high", IntersectLevel::kHigh}};
      const auto level = kLevels.find(precision);
      if (level == kLevels.end()) {
        return "--precision " + Quote(precision) + ": expected super-low, low, medium or high for --intersect";
      }
      tool.level = level->second;
    } else if (tool.tool == Tool::kGetX) {
      return "--precision " + Quote(precision) + ": expected low or high for --get-x";
    } else {
      return "--precision goes only with --get-x or --intersect";
    }
  }
  if (tool.tool == Tool::kFit) {
    if (tool.value != "linear" && tool.value != "quadratic")
      return "--fit " + Quote(tool.value) + ": expected linear or quadratic";
    if (!request.equations.empty() || !tool.rows.empty()) return "--fit takes a data file, not -e or --row";
    if (!fromFile) return "--fit needs a data file (or a workspace file with data points)";
    return {};
  }
  const std::size_t needed = tool.tool == Tool::kIntersect ? 2 : 1;
  if (fromFile && !request.equations.empty())
    return word + " takes either a workspace file or -e expressions, not both";
  if (!fromFile && request.equations.empty()) return word + " needs a workspace file or -e EXPR";
  if (!fromFile && request.equations.size() != needed) {
    return word + (needed == 2 ? " needs two -e EXPR" : " takes one -e EXPR");
  }
  if (!fromFile && !tool.rows.empty()) return "--row goes only with a workspace file";
  if (tool.rows.size() > needed)
    return needed == 2 ? "--intersect takes at most two --row" : "--row can be given only once";
  if (tool.tool == Tool::kMinimum || tool.tool == Tool::kMaximum) {
    const auto bounds = Fields<2>(tool.value);
    if (!bounds) return word + " " + Quote(tool.value) + ": expected two bounds L,R";
    static constexpr const char* kSides[] = {"left", "right"};
    for (int i = 0; i < 2; ++i) {
      // Read as the window's input box reads a bound.
      if (!BoundFromText((*bounds)[i])) {
        return word + ": the " + kSides[i] + " bound " + (*bounds)[i] + " must lie between -32768 and 32767";
      }
    }
    tool.parts.assign(bounds->begin(), bounds->end());
  } else if (tool.tool == Tool::kArea) {
    const auto bounds = Fields<2>(tool.value);
    if (!bounds) return "--area " + Quote(tool.value) + ": expected two bounds L,R";
    static constexpr const char* kSides[] = {"left", "right"};
    for (int i = 0; i < 2; ++i) {
      if (!AreaBoundFromText((*bounds)[i])) {
        return "--area: the " + std::string(kSides[i]) + " bound " + (*bounds)[i] +
               " must lie between -32768 and 32767";
      }
    }
    tool.parts.assign(bounds->begin(), bounds->end());
  } else if (tool.tool == Tool::kTable) {
    const auto fields = Fields<3>(tool.value);
    if (!fields) return "--table " + Quote(tool.value) + ": expected START,STOP,STEP";
    tool.parts.assign(fields->begin(), fields->end());
  }
  return {};
}

}  // namespace

std::uint32_t DefaultExportColor(std::size_t n) {
  // Palette entries: red, blue, green, purple, maroon, teal, navy, lime, cyan.
  static constexpr int kOrder[] = {12, 9, 2, 5, 4, 3, 1, 10, 11};
  return PaletteColor(kOrder[n % std::size(kOrder)]);
}

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
  QCommandLineParser parser;
  // -e, -platform and -style are words, not bundles of one-letter options.
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  const QCommandLineOption help = parser.addHelpOption();
  const QCommandLineOption version = parser.addVersionOption();
  for (const OptionInfo& o : kOptions) {
    parser.addOption(o.value ? QCommandLineOption(o.name, o.help, o.value) : QCommandLineOption(o.name, o.help));
  }
  for (const char* name : kQtSwitches) {
    QCommandLineOption option(name);
    option.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(option);
  }
  for (const char* name : kQtValued) {
    QCommandLineOption option(name, QString(), "value");
    option.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(option);
  }
  QStringList words{"curvenest"};
  for (const std::string& word : args) words << QString::fromStdString(word);
  const bool parsed = parser.parse(words);

  CommandLine result;
  // --help and --version answer whatever else the words hold.
  for (const QString& name : parser.optionNames()) {
    if (help.names().contains(name) || name == "help-all") {
      result.action = CommandLine::Action::kHelp;
      return result;
    }
    if (version.names().contains(name)) {
      result.action = CommandLine::Action::kVersion;
      return result;
    }
  }
  if (!parsed) {
    if (!parser.unknownOptionNames().isEmpty()) {
      return Error("unknown option " + Quote(WordOf(args, parser.unknownOptionNames().first())) +
                   " (see curvenest --help)");
    }
    return Error(ValueProblem(args));
  }

  for (const QString& file : parser.positionalArguments()) {
    if (!result.file.empty()) {
      return Error("only one workspace file can be given, not both " + Quote(result.file) + " and " +
                   Quote(file.toStdString()));
    }
    if (file.isEmpty()) return Error("the workspace file name is empty");
    result.file = file.toStdString();
  }

  ExportRequest& request = result.request;
  bool exporting = false;
  bool sawSize = false;
  std::vector<bool> hasCondition, hasColor;
  std::string exportOnly;   // the first option that needs --export
  bool conditioned = false;  // a --condition: for --export, --slope and --area
  std::string needsAction;  // the first option that needs --export or a tool
  std::string action;       // --export or the tool's option
  std::optional<std::string> precision;
  std::map<QString, qsizetype> taken;  // how many values of each option are read

  for (const QString& name : parser.optionNames()) {
    const OptionInfo* info = FindOption(name);
    if (!info) continue;  // Qt's own, for the application object
    const std::string word = Dashed(info->name);
    const std::string value = info->value ? parser.values(name).at(taken[name]++).toStdString() : std::string();

    if (const std::optional<Tool> tool = ToolOf(word)) {
      if (exporting) return Error(word + " cannot go with --export");
      if (!action.empty()) {
        return Error(action == word ? word + " can be given only once" : word + " cannot go with " + action);
      }
      action = word;
      result.tool.tool = *tool;
      result.tool.value = value;
      continue;
    }
    if (word == "--precision" || word == "--row") {
      if (word == "--precision") {
        if (precision) return Error("--precision can be given only once");
        precision = value;
      } else {
        const std::optional<double> row = ParseDecimal(Trim(value));
        if (!row || *row < 1 || *row > 1e6 || *row != std::floor(*row)) {
          return Error("--row " + Quote(value) + ": expected an equation number, 1 for the first");
        }
        result.tool.rows.push_back(static_cast<int>(*row));
      }
      continue;
    }
    if (word == "--export" || word == "--size" || word == "--condition" || word == "--color") {
      if (word == "--condition") {
        conditioned = true;
      } else if (word != "--export" && exportOnly.empty()) {
        exportOnly = word;
      }
    } else if (needsAction.empty()) {
      needsAction = word;
    }

    if (word == "--export") {
      if (exporting) return Error("--export can be given only once");
      if (!action.empty()) return Error("--export cannot go with " + action);
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
      if (!color) return Error("--color " + Quote(value) + ": expected a colour name such as teal, or #RRGGBB");
      request.equations.back().color = *color;
      hasColor.back() = true;
    }
  }

  if (!exporting && action.empty()) {
    if (conditioned) return Error("--condition goes only with --export OUT, --slope or --area");
    if (!exportOnly.empty()) return Error(exportOnly + " goes only with --export OUT");
    if (!needsAction.empty())
      return Error(needsAction + " goes only with --export OUT or a tool (see curvenest --help)");
    if (precision || !result.tool.rows.empty()) {
      return Error((precision ? "--precision" : "--row") +
                   std::string(" goes only with a tool (see curvenest --help)"));
    }
    return result;
  }
  if (!exporting) {
    // Slope and area measure the curve as drawn; the other tools, as in the
    // window, take the equation without its condition.
    if (conditioned && result.tool.tool != Tool::kSlope && result.tool.tool != Tool::kArea) {
      return Error("--condition goes only with --export OUT, --slope or --area");
    }
    if (!exportOnly.empty()) return Error(exportOnly + " goes only with --export OUT");
    if (std::string problem = CheckTool(action, precision, result); !problem.empty()) {
      return Error(problem);
    }
    result.action = CommandLine::Action::kTool;
    request.workspace = std::move(result.file);
    result.file.clear();
    return result;
  }
  if (precision || !result.tool.rows.empty()) {
    return Error((precision ? "--precision" : "--row") + std::string(" goes only with a tool (see curvenest --help)"));
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
  std::string text =
      "usage: curvenest [FILE.curvenest]\n"
      "       curvenest --export OUT.png|OUT.svg|OUT.pdf [--size N]\n"
      "                 [--window XMIN,XMAX,YMIN,YMAX] [--steps XSTEP,YSTEP]\n"
      "                 (FILE.curvenest | -e EXPR [--condition COND] [--color COLOR] ...)\n"
      "       curvenest (--get-y X | --get-x Y [--precision low|high] | --domain | --range |\n"
      "                  --minimum L,R | --maximum L,R | --table START,STOP,STEP |\n"
      "                  --slope X | --area L,R)\n"
      "                 [--window ...] [--steps ...] (FILE.curvenest [--row N] | -e EXPR)\n"
      "       curvenest --intersect [--precision super-low|low|medium|high]\n"
      "                 [--window ...] [--steps ...] (FILE.curvenest [--row N --row M] | -e EXPR -e EXPR)\n"
      "       curvenest --fit linear|quadratic DATAFILE|FILE.curvenest\n"
      "       curvenest --help | --version\n"
      "\n"
      "Without an option, starts the graphing calculator, opening FILE if given.\n"
      "With --export, draws the graph into OUT without showing a window and exits.\n"
      "A tool prints the answer its window shows, on one line (--table: a row a\n"
      "line), without needing a display.\n"
      "\n";
  const auto line = [&text](const std::string& left, std::string_view help) {
    std::string head = "  " + left;
    head.resize(std::max<std::size_t>(head.size() + 1, 21), ' ');
    text += head;
    for (std::size_t start = 0;;) {
      const std::size_t end = help.find('\n', start);
      text += std::string(help.substr(start, end - start)) + "\n";
      if (end == std::string_view::npos) break;
      text += std::string(21, ' ');
      start = end + 1;
    }
  };
  for (const OptionInfo& o : kOptions) line(Dashed(o.name) + (o.value ? std::string(" ") + o.value : ""), o.help);
  line("--help", "show this text");
  line("--version", "show the version");
  text +=
      "\n"
      "Qt's own options, such as -platform NAME, -style NAME and -reverse, are\n"
      "passed on to the window.\n"
      "\n"
      "Exit status: 0 on success, 1 when a file cannot be read or written or a\n"
      "tool finds no answer, 2 for a wrong command line.\n";
  return text;
}

std::string VersionText() {
  return "curvenest " + std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor) + "." +
         std::to_string(kVersionBuild) + "\n";
}

namespace {

// FILE read as the program opens it, every equation compiled, or the -e
// equations; then --window and --steps in place of the boxes.
bool ReadDocument(const ExportRequest& request, WorkspaceDocument& built, std::string* error) {
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
  return true;
}

}  // namespace

bool BuildToolDocument(const ExportRequest& request, WorkspaceDocument* document, std::string* error) {
  WorkspaceDocument built;
  if (!ReadDocument(request, built, error)) return false;
  *document = std::move(built);
  return true;
}

bool BuildExportDocument(const ExportRequest& request, WorkspaceDocument* document, std::string* error) {
  WorkspaceDocument built;
  if (!ReadDocument(request, built, error)) return false;
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
  // The window draws what its session holds; so does the command line.
  WorkspaceSession session;
  session.Apply(document);
  if (const auto problem = session.ReadWindow()) {
    *error = where + *problem;
    return false;
  }
  *graph = session.Graph();
  return true;
}

}  // namespace cn
