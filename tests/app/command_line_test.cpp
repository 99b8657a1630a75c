// The command line: what each set of words asks for, the one-line error for
// each mistake, and the document an export draws.
#include "app/command_line.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <string>
#include <vector>

#include "workspace/workspace_file.h"

namespace cn {
namespace {

using Args = std::vector<std::string>;
using Action = CommandLine::Action;

// Packed colours worked out by hand: red + 256 * green + 65536 * blue.
constexpr std::uint32_t kRed = 255;
constexpr std::uint32_t kBlue = 16711680;   // 65536 * 255
constexpr std::uint32_t kGreen = 32768;     // 256 * 128, the palette's dark green
constexpr std::uint32_t kPurple = 8388736;  // 128 + 65536 * 128

TEST(CommandLine, RunAndConsoleAnswers) {
  struct Case {
    Args args;
    Action action;
    std::string file;
  };
  const std::vector<Case> cases = {
      {{}, Action::kRun, ""},
      {{"trig.curvenest"}, Action::kRun, "trig.curvenest"},
      {{"my graphs/a b.curvenest"}, Action::kRun, "my graphs/a b.curvenest"},
      {{"--", "-odd.curvenest"}, Action::kRun, "-odd.curvenest"},
      {{"-"}, Action::kRun, "-"},
      {{"--help"}, Action::kHelp, ""},
      {{"-h"}, Action::kHelp, ""},
      {{"trig.curvenest", "--help"}, Action::kHelp, ""},
      {{"--version"}, Action::kVersion, ""},
      {{"--version", "--bogus"}, Action::kVersion, ""},
      {{"--help-all"}, Action::kHelp, ""},
      {{"-v"}, Action::kVersion, ""},
      // Qt's own options are the application object's, whatever their place.
      {{"-platform", "offscreen", "-style", "fusion", "-reverse", "trig.curvenest"}, Action::kRun, "trig.curvenest"},
      {{"trig.curvenest", "--platform", "xcb", "-qwindowgeometry", "800x600", "-widgetcount"},
       Action::kRun,
       "trig.curvenest"},
  };
  for (const Case& c : cases) {
    const CommandLine line = ParseCommandLine(c.args);
    const std::string name = c.args.empty() ? "(none)" : c.args[0];
    EXPECT_EQ(line.action, c.action) << name << " " << line.error;
    if (c.action == Action::kRun) {
      EXPECT_EQ(line.file, c.file) << name;
    }
  }
}

TEST(CommandLine, ExportFromExpressions) {
  const CommandLine line =
      ParseCommandLine({"--export", "out.PNG", "--size=800", "-e",       "x^2-4",        "--condition", "x>=-2.5",
                        "--color",  "#0080Ff", "-e",         "sin(x)",   "-e",           "1/x",         "--condition",
                        "X < 1e1",  "-e",      "|x|",        "--window", " -5, 5,-3 ,3", "--steps",     "0.5,2"});
  ASSERT_EQ(line.action, Action::kExport) << line.error;
  const ExportRequest& r = line.request;
  EXPECT_EQ(r.output, "out.PNG");
  EXPECT_EQ(r.format, ExportFormat::kPng);
  EXPECT_EQ(r.size, 800);
  EXPECT_EQ(r.workspace, "");
  ASSERT_EQ(r.equations.size(), 4u);
  // #0080FF: red 0, green 128, blue 255.
  EXPECT_EQ(r.equations[0], (WorkspaceEquation{"x^2-4", "x >= -2.5", 256 * 128 + 65536 * 255}));
  // Without --color the equations take red, blue, green, ... by their place,
  // whether or not an earlier one had a colour of its own.
  EXPECT_EQ(r.equations[1], (WorkspaceEquation{"sin(x)", "", kBlue}));
  EXPECT_EQ(r.equations[2], (WorkspaceEquation{"1/x", "x < 1e1", kGreen}));
  EXPECT_EQ(r.equations[3], (WorkspaceEquation{"|x|", "", kPurple}));
  ASSERT_TRUE(r.window);
  EXPECT_EQ(*r.window, (std::array<std::string, 4>{"-5", "5", "-3", "3"}));
  ASSERT_TRUE(r.steps);
  EXPECT_EQ(*r.steps, (std::array<std::string, 2>{"0.5", "2"}));
}

TEST(CommandLine, ExportFromAWorkspaceFile) {
  const CommandLine line = ParseCommandLine({"--export", "g.svg", "trig.curvenest"});
  ASSERT_EQ(line.action, Action::kExport) << line.error;
  EXPECT_EQ(line.request.format, ExportFormat::kSvg);
  EXPECT_EQ(line.request.workspace, "trig.curvenest");
  EXPECT_EQ(line.request.size, kDefaultExportSize);
  EXPECT_FALSE(line.request.window);
  EXPECT_FALSE(line.request.steps);
  EXPECT_EQ(line.file, "");  // nothing left over to open in a window
  EXPECT_EQ(ParseCommandLine({"trig.curvenest", "--export=g.Pdf"}).request.format, ExportFormat::kPdf);
}

TEST(CommandLine, ConditionsAndColoursInTheirForms) {
  struct Case {
    std::string option, value;
    std::string condition;
    std::uint32_t color;
  };
  const std::vector<Case> cases = {
      {"--condition", "x<3", "x < 3", kRed},
      {"--condition", "x > -1e2", "x > -1e2", kRed},
      {"--condition", "<=0.5", "x <= 0.5", kRed},
      {"--condition", " X >=  2 ", "x >= 2", kRed},
      {"--condition", "x<.5", "x < .5", kRed},
      {"--color", "#ff0000", "", kRed},
      {"--color", "#000000", "", 0},
      {"--color", "#FFFFFF", "", kMaxPackedColor},
      {"--color", "#123456", "", 0x12 + 256 * 0x34 + 65536 * 0x56},
      {"--color", "teal", "", 128 * 256 + 128 * 65536},  // #008080
      {"--color", "DarkOrange", "", 255 + 140 * 256},    // #ff8c00
      {"--color", "#0f0", "", 255 * 256},
  };
  for (const Case& c : cases) {
    const CommandLine line = ParseCommandLine({"--export", "a.png", "-e", "x", c.option, c.value});
    ASSERT_EQ(line.action, Action::kExport) << c.value << ": " << line.error;
    EXPECT_EQ(line.request.equations[0].condition, c.condition) << c.value;
    EXPECT_EQ(line.request.equations[0].color, c.color) << c.value;
  }
}

TEST(CommandLine, MistakesGiveOneLine) {
  struct Case {
    Args args;
    std::string error;
  };
  const Args e = {"--export", "a.png", "-e", "x"};
  const auto with = [&](Args more) {
    Args args = e;
    args.insert(args.end(), more.begin(), more.end());
    return args;
  };
  const std::vector<Case> cases = {
      {{"--bogus"}, "unknown option \"--bogus\" (see curvenest --help)"},
      {{"-x"}, "unknown option \"-x\" (see curvenest --help)"},
      {{"a.curvenest", "b.curvenest"},
       "only one workspace file can be given, not both \"a.curvenest\" and \"b.curvenest\""},
      {{""}, "the workspace file name is empty"},
      {{"--export"}, "--export needs a value (see curvenest --help)"},
      {{"--export", "a.png"}, "--export needs a workspace file or at least one -e EXPR"},
      {{"--export", "a.gif", "-e", "x"}, "--export \"a.gif\": the file name must end in .png, .svg or .pdf"},
      {{"--export", "png", "-e", "x"}, "--export \"png\": the file name must end in .png, .svg or .pdf"},
      {{"--export=", "-e", "x"}, "--export needs a file name"},
      {with({"--export", "b.png"}), "--export can be given only once"},
      {{"--export", "a.png", "w.curvenest", "-e", "x"},
       "--export takes either a workspace file or -e expressions, not both"},
      {{"-e", "x"}, "-e goes only with --export OUT or a tool (see curvenest --help)"},
      {{"w.curvenest", "--size", "100"}, "--size goes only with --export OUT"},
      // The engine's own messages and positions.
      {{"--export", "a.png", "-e", "x^^2"}, "-e \"x^^2\": missing argument (position 3)"},
      {{"--export", "a.png", "-e", "(x+1"}, "-e \"(x+1\": Not enough closing brackets (position 1)"},
      {{"--export", "a.png", "-e", "foo(x)"}, "-e \"foo(x)\": Function < foo > unknown at pos: 1"},
      {{"--export", "a.png", "-e", ""}, "-e \"\": missing argument"},
      {with({"--size", "10"}), "--size \"10\": the size must be a whole number from 16 to 8192"},
      {with({"--size", "8193"}), "--size \"8193\": the size must be a whole number from 16 to 8192"},
      {with({"--size", "600.5"}), "--size \"600.5\": the size must be a whole number from 16 to 8192"},
      {with({"--size", "big"}), "--size \"big\": the size must be a whole number from 16 to 8192"},
      {with({"--size", "100", "--size", "200"}), "--size can be given only once"},
      {with({"--window", "-5,5,-5"}), "--window \"-5,5,-5\": expected four numbers XMIN,XMAX,YMIN,YMAX"},
      {with({"--window", "-5,5,-5,5,1"}), "--window \"-5,5,-5,5,1\": expected four numbers XMIN,XMAX,YMIN,YMAX"},
      {with({"--window", "-5,five,-5,5"}), "--window: XMAX \"five\" is not a number"},
      {with({"--window", "-5,5,,5"}), "--window: YMIN \"\" is not a number"},
      {with({"--window", "&H10,20,-5,5"}), "--window: XMIN \"&H10\" is not a number"},
      {with({"--window", "-40000,5,-5,5"}), "--window: XMIN -40000 is outside -32768 to 32767"},
      {with({"--window", "-5,5,-5,32767.5"}), "--window: YMAX 32767.5 is outside -32768 to 32767"},
      {with({"--window", "5,-5,-5,5"}),
       "--window: XMIN 5 must be less than XMAX -5 (both are whole numbers on the plane)"},
      // 2.5 and 2 both become 2 on the plane (half to even).
      {with({"--window", "-5,5,2,2.5"}),
       "--window: YMIN 2 must be less than YMAX 2.5 (both are whole numbers on the plane)"},
      {with({"--window", "-5,5,-5,5", "--window", "-5,5,-5,5"}), "--window can be given only once"},
      {with({"--steps", "1"}), "--steps \"1\": expected two numbers XSTEP,YSTEP"},
      {with({"--steps", "0,1"}), "--steps: XSTEP 0 must be greater than 0"},
      {with({"--steps", "1,-2"}), "--steps: YSTEP -2 must be greater than 0"},
      {with({"--steps", "1,1e-50"}), "--steps: YSTEP 1e-50 must be greater than 0"},  // 0 in single precision
      {with({"--steps", "1,1e39"}), "--steps: YSTEP 1e39 must be greater than 0"},    // beyond single precision
      {with({"--steps", "1,x"}), "--steps: YSTEP \"x\" is not a number"},
      {{"--export", "a.png", "--condition", "x<3"}, "--condition must follow the -e EXPR it belongs to"},
      {with({"--condition", "x<3", "--condition", "x>1"}), "-e \"x\" has two --condition"},
      {with({"--condition", "y<3"}), "--condition \"y<3\": expected x < N, x > N, x <= N or x >= N with N a number"},
      {with({"--condition", "x=3"}), "--condition \"x=3\": expected x < N, x > N, x <= N or x >= N with N a number"},
      {with({"--condition", "x<pi"}), "--condition \"x<pi\": expected x < N, x > N, x <= N or x >= N with N a number"},
      {with({"--condition", "x<"}), "--condition \"x<\": expected x < N, x > N, x <= N or x >= N with N a number"},
      {{"--export", "a.png", "--color", "#ff0000"}, "--color must follow the -e EXPR it belongs to"},
      {with({"--color", "#ff0000", "--color", "#00ff00"}), "-e \"x\" has two --color"},
      {with({"--color", "reddish"}), "--color \"reddish\": expected a colour name such as teal, or #RRGGBB"},
      {with({"--color", "#ff00"}), "--color \"#ff00\": expected a colour name such as teal, or #RRGGBB"},
      {with({"--color", "#gg0000"}), "--color \"#gg0000\": expected a colour name such as teal, or #RRGGBB"},
      // An equation is drawn opaque.
      {with({"--color", "transparent"}), "--color \"transparent\": expected a colour name such as teal, or #RRGGBB"},
      {with({"--color", "#80ff0000"}), "--color \"#80ff0000\": expected a colour name such as teal, or #RRGGBB"},
      {{"-platform"}, "-platform needs a value (see curvenest --help)"},
      {{"--domain=3", "-e", "x"}, "--domain takes no value (see curvenest --help)"},
      // The tools.
      {{"-e", "x", "--get-y"}, "--get-y needs a value (see curvenest --help)"},
      {{"--get-y", "1"}, "--get-y needs a workspace file or -e EXPR"},
      {{"--get-y", "1", "-e", "x", "-e", "x+1"}, "--get-y takes one -e EXPR"},
      {{"--intersect", "-e", "x"}, "--intersect needs two -e EXPR"},
      {{"--domain", "w.curvenest", "-e", "x"}, "--domain takes either a workspace file or -e expressions, not both"},
      {{"--get-y", "1", "-e", "x", "--export", "a.png"}, "--export cannot go with --get-y"},
      {{"--export", "a.png", "--domain", "-e", "x"}, "--domain cannot go with --export"},
      {{"--domain", "--range", "-e", "x"}, "--range cannot go with --domain"},
      {{"--range", "--range", "-e", "x"}, "--range can be given only once"},
      {{"--domain", "-e", "x", "--color", "teal"}, "--color goes only with --export OUT"},
      {{"--precision", "low", "--domain", "-e", "x"}, "--precision goes only with --get-x or --intersect"},
      {{"--precision", "low", "-e", "x"}, "-e goes only with --export OUT or a tool (see curvenest --help)"},
      {{"--get-x", "1", "--precision", "medium", "-e", "x"},
       "--precision \"medium\": expected low or high for --get-x"},
      {{"--intersect", "--precision=", "-e", "x", "-e", "1"},
       "--precision \"\": expected super-low, low, medium or high for --intersect"},
      {{"--minimum", "1", "-e", "x"}, "--minimum \"1\": expected two bounds L,R"},
      {{"--maximum", "40000,1", "-e", "x"}, "--maximum: the left bound 40000 must lie between -32768 and 32767"},
      {{"--maximum", "1,-32769", "-e", "x"}, "--maximum: the right bound -32769 must lie between -32768 and 32767"},
      {{"--table", "0,1", "-e", "x"}, "--table \"0,1\": expected START,STOP,STEP"},
      {{"--area", "1", "-e", "x"}, "--area \"1\": expected two bounds L,R"},
      {{"--area", "0,32767.5", "-e", "x"}, "--area: the right bound 32767.5 must lie between -32768 and 32767"},
      // Only slope and area measure the curve where its condition holds.
      {{"--domain", "-e", "x", "--condition", "x > 0"}, "--condition goes only with --export OUT, --slope or --area"},
      {{"-e", "x", "--condition", "x > 0"}, "--condition goes only with --export OUT, --slope or --area"},
      {{"--slope", "1", "-e", "x", "--condition", "x > 0", "--color", "red"}, "--color goes only with --export OUT"},
      {{"--fit", "cubic", "d.txt"}, "--fit \"cubic\": expected linear or quadratic"},
      {{"--fit", "linear"}, "--fit needs a data file (or a workspace file with data points)"},
      {{"--fit", "linear", "d.txt", "-e", "x"}, "--fit takes a data file, not -e or --row"},
      {{"--domain", "-e", "x", "--row", "1"}, "--row goes only with a workspace file"},
      {{"--domain", "w.curvenest", "--row", "0"}, "--row \"0\": expected an equation number, 1 for the first"},
      {{"--domain", "w.curvenest", "--row", "1", "--row", "2"}, "--row can be given only once"},
      {{"--intersect", "w.curvenest", "--row", "1", "--row", "2", "--row", "3"}, "--intersect takes at most two --row"},
  };
  for (const Case& c : cases) {
    const CommandLine line = ParseCommandLine(c.args);
    EXPECT_EQ(line.action, Action::kError) << c.error;
    EXPECT_EQ(line.error, c.error);
    EXPECT_EQ(line.error.find('\n'), std::string::npos);
  }
}

TEST(CommandLine, ToolsAndTheirSettings) {
  struct Case {
    Args args;
    Tool tool;
    bool high;
    IntersectLevel level;
    std::vector<int> rows;
    std::vector<std::string> parts;
  };
  const auto kMedium = IntersectLevel::kMedium;
  const std::vector<Case> cases = {
      {{"--get-y", "-2.5", "-e", "x^2"}, Tool::kGetY, true, kMedium, {}, {}},
      {{"--get-x=4", "--precision", "low", "-e", "x^2"}, Tool::kGetX, false, kMedium, {}, {}},
      {{"w.curvenest", "--domain", "--row", "3"}, Tool::kDomain, true, kMedium, {3}, {}},
      {{"--minimum", " -5, 5", "-e", "x"}, Tool::kMinimum, true, kMedium, {}, {"-5", "5"}},
      {{"--intersect", "--precision", "super-low", "-e", "x", "-e", "1"},
       Tool::kIntersect,
       true,
       IntersectLevel::kSuperLow,
       {},
       {}},
      {{"--intersect", "w.curvenest", "--row", "4", "--row=2"}, Tool::kIntersect, true, kMedium, {4, 2}, {}},
      {{"--table", "0,2,0.5", "-e", "x", "--window", "-3,3,-3,3"}, Tool::kTable, true, kMedium, {}, {"0", "2", "0.5"}},
      {{"--fit", "quadratic", "points.txt"}, Tool::kFit, true, kMedium, {}, {}},
      {{"--slope", "2", "-e", "x^2", "--condition", "x > 0"}, Tool::kSlope, true, kMedium, {}, {}},
      {{"--area", "-1.5, 2", "-e", "x"}, Tool::kArea, true, kMedium, {}, {"-1.5", "2"}},
  };
  for (const Case& c : cases) {
    const CommandLine line = ParseCommandLine(c.args);
    ASSERT_EQ(line.action, Action::kTool) << c.args[0] << ": " << line.error;
    EXPECT_EQ(line.tool.tool, c.tool) << c.args[0];
    EXPECT_EQ(line.tool.high, c.high) << c.args[0];
    EXPECT_EQ(line.tool.level, c.level) << c.args[0];
    EXPECT_EQ(line.tool.rows, c.rows) << c.args[0];
    EXPECT_EQ(line.tool.parts, c.parts) << c.args[0];
    EXPECT_EQ(line.file, "") << c.args[0];  // a tool opens no window
  }
}

TEST(CommandLine, VersionAndHelp) {
  EXPECT_EQ(VersionText(), "curvenest " CN_PROJECT_VERSION "\n");  // project() in CMakeLists.txt
  const std::string help = UsageText();
  for (const char* option :
       {"--export",      "--size",        "--window",    "--steps",   "-e EXPR",     "--condition", "--color",
        "--help",        "--version",     "--get-y X",   "--get-x Y", "--precision", "--domain",    "--range",
        "--minimum L,R", "--maximum L,R", "--intersect", "--table",   "--fit",       "--row N",     "-platform",
        "--slope X",     "--area L,R"}) {
    EXPECT_NE(help.find(option), std::string::npos) << option;
  }
}

// Writes `document` to a temporary workspace file.
class ExportDocument : public ::testing::Test {
 protected:
  QString Save(const WorkspaceDocument& document) {
    const QString path = dir_.filePath("w.curvenest");
    QString message;
    EXPECT_TRUE(WriteWorkspace(path, document, &message)) << message.toStdString();
    return path;
  }
  QTemporaryDir dir_;
};

TEST_F(ExportDocument, ExpressionsGoIntoAStartUpWorkspace) {
  const CommandLine line = ParseCommandLine({"--export", "a.png", "-e", "x^2", "--window", "-3,3,-1,9"});
  ASSERT_EQ(line.action, Action::kExport) << line.error;
  WorkspaceDocument document;
  std::string error;
  ASSERT_TRUE(BuildExportDocument(line.request, &document, &error)) << error;
  WorkspaceDocument expected;
  expected.equations = {{"x^2", "", kRed}};
  expected.window = {"-3", "3", "-1", "9", "1", "1"};
  EXPECT_EQ(document, expected);
}

TEST_F(ExportDocument, TheFileKeepsWhatTheOptionsDoNotReplace) {
  WorkspaceDocument saved;
  saved.equations = {{"sin(x)", "x > 0", 128}};
  saved.window = {"-7", "7", "-2", "2", "0.5", "0.25"};
  saved.writeEquations = false;
  saved.statX = {"1"};
  saved.statY = {"2"};
  saved.showStatPlot = true;
  const std::string path = Save(saved).toStdString();

  const CommandLine line = ParseCommandLine({"--export", "a.pdf", path, "--steps", "2,3"});
  ASSERT_EQ(line.action, Action::kExport) << line.error;
  WorkspaceDocument document;
  std::string error;
  ASSERT_TRUE(BuildExportDocument(line.request, &document, &error)) << error;
  WorkspaceDocument expected = saved;
  expected.window.xstep = "2";
  expected.window.ystep = "3";
  EXPECT_EQ(document, expected);
}

TEST_F(ExportDocument, RefusalsNameTheFileAndLeaveTheDocument) {
  WorkspaceDocument bad;
  bad.equations = {{"x", "", 1}, {"2x+", "", 2}};
  const std::string badPath = Save(bad).toStdString();
  WorkspaceDocument tiny;
  tiny.window.xstep = "0.001";  // -10..10: 20001 ticks
  const QString tinyPath = dir_.filePath("tiny.curvenest");
  QString message;
  ASSERT_TRUE(WriteWorkspace(tinyPath, tiny, &message));
  const std::string missing = dir_.filePath("missing.curvenest").toStdString();

  struct Case {
    Args args;
    std::string error;
  };
  const std::vector<Case> cases = {
      {{"--export", "a.png", badPath}, "\"" + badPath + "\": equation 2 \"2x+\": missing argument (position 3)"},
      {{"--export", "a.png", missing}, "Could not open \"" + missing + "\": No such file or directory."},
      {{"--export", "a.png", tinyPath.toStdString()},
       "\"" + tinyPath.toStdString() +
           "\": a step of 0.001 from -10 to 10 gives 20001 ticks on the x axis (at most 10000); use a larger step"},
      {{"--export", "a.png", "-e", "x", "--window", "-30000,30000,-5,5"},
       "--window: a step of 1 from -30000 to 30000 gives 60001 ticks on the x axis (at most 10000); use a larger "
       "step"},
      {{"--export", "a.png", "-e", "x", "--steps", "1,0.0019"},
       "--steps: a step of 0.0019 from -10 to 10 gives 10527 ticks on the y axis (at most 10000); use a larger step"},
  };
  for (const Case& c : cases) {
    const CommandLine line = ParseCommandLine(c.args);
    ASSERT_EQ(line.action, Action::kExport) << line.error;
    WorkspaceDocument document;
    document.equations = {{"untouched", "", 7}};
    const WorkspaceDocument before = document;
    std::string error;
    EXPECT_FALSE(BuildExportDocument(line.request, &document, &error)) << c.error;
    EXPECT_EQ(error, c.error);
    EXPECT_EQ(document, before);
  }

  // 10000 ticks exactly are drawn: -10..10 by 0.002 gives 10001, by 0.0020002 gives 10000.
  const CommandLine edge = ParseCommandLine({"--export", "a.png", "-e", "x", "--steps", "0.0020002,1"});
  WorkspaceDocument document;
  std::string error;
  EXPECT_TRUE(BuildExportDocument(edge.request, &document, &error)) << error;
}

// The picture an export draws: the window read as the boxes are read, the
// stat plot's points paired row by row.
TEST(ExportGraph, WindowAndPointsAsTheWindowReadsThem) {
  WorkspaceDocument document;
  document.equations = {{"x^2", "x > 1", kRed}, {"3", "", kBlue}};
  document.window = {"-7.5", "&H10", "-2.5", "2.5", "0.5", "abc"};
  document.writeEquations = false;
  document.statX = {"1", "2.5", "oops", "9"};
  document.statY = {"-1", "1e1", "4"};
  document.showStatPlot = true;
  GraphDescription graph;
  std::string error;
  ASSERT_TRUE(BuildExportGraph(document, "\"w\": ", &graph, &error)) << error;
  EXPECT_TRUE(graph.plotted);
  // Half to even: -7.5 -> -8, -2.5 -> -2, 2.5 -> 2; "&H10" is 16; "abc" reads 0.
  EXPECT_EQ(graph.window, (GraphWindow{-8, 16, -2, 2, /*ystep=*/0.0f, /*xstep=*/0.5f}));
  ASSERT_EQ(graph.equations.size(), 2u);
  EXPECT_EQ(graph.equations[0], (Equation{"x^2", "x > 1", kRed}));
  EXPECT_EQ(graph.equations[1], (Equation{"3", "", kBlue}));
  EXPECT_FALSE(graph.writeEquations);
  EXPECT_FALSE(graph.connectSamples);
  // Three pairs (the fourth X has no Y); a row that is not a number counts as 0.
  EXPECT_EQ(graph.statPoints, (std::vector<std::pair<float, float>>{{1.f, -1.f}, {2.5f, 10.f}, {0.f, 4.f}}));

  document.showStatPlot = false;
  ASSERT_TRUE(BuildExportGraph(document, "", &graph, &error));
  EXPECT_TRUE(graph.statPoints.empty());
}

TEST(ExportGraph, BadWindowNamesWhereItCameFrom) {
  const struct {
    WorkspaceWindow window;
    std::string error;
  } cases[] = {
      {{"4", "4.4", "-1", "1", "1", "1"}, "\"w.curvenest\": XMin and XMax must differ."},
      {{"-1", "1", "40000", "1", "1", "1"}, "\"w.curvenest\": YMin must lie between -32768 and 32767."},
  };
  for (const auto& c : cases) {
    WorkspaceDocument document;
    document.window = c.window;
    GraphDescription graph;
    graph.plotted = false;
    std::string error;
    EXPECT_FALSE(BuildExportGraph(document, "\"w.curvenest\": ", &graph, &error));
    EXPECT_EQ(error, c.error);
    EXPECT_FALSE(graph.plotted);  // untouched
  }
}

}  // namespace
}  // namespace cn
