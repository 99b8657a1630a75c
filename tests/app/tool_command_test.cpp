// The analysis tools from the command line: the words read, the tool run,
// and the answer or the reason there is none, against values known by hand.
#include "app/tool_command.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <string>
#include <vector>

#include "workspace/workspace_file.h"

namespace cn {
namespace {

TEST(ToolCommand, AnswersAndRefusals) {
  QTemporaryDir dir;
  const std::string ws = dir.filePath("w.curvenest").toStdString();
  WorkspaceDocument document;
  document.equations = {{"x+2", "", 1}, {"x^2", "x > 0", 2}, {"sqrt(x)", "", 3}};
  document.statX = {"0", "1", "2"};  // y = 2x + 1
  document.statY = {"1", "3", "5"};
  QString message;
  ASSERT_TRUE(WriteWorkspace(QString::fromStdString(ws), document, &message)) << message.toStdString();
  const auto write = [&](const char* name, const char* text) {
    QFile file(dir.filePath(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
    return file.fileName().toStdString();
  };
  const std::string parabola = write("parabola.txt", "-1 1\r\n0 0\r\n1 1\r\n2 4\r\n");  // y = x^2
  const std::string line = write("line.txt", "0 -1\n2 0\n4 1\n");                       // y = x/2 - 1
  const std::string bad = write("bad.txt", "0 1\nzero one\n");
  const std::string missing = dir.filePath("missing.txt").toStdString();

  struct Case {
    std::vector<std::string> args;
    bool found;
    std::string text;
  };
  const std::vector<Case> cases = {
      {{"--get-y", "3", "-e", "x^2"}, true, "9"},
      {{"--get-y", "-1", "-e", "sqrt(x)"}, false, "Unreal answer."},
      {{"--get-x", "4", "-e", "x^2"}, true, "-2, 2"},
      {{"--get-x", "121", "-e", "x^2"}, false, "Out of range."},
      // --window moves the search as the boxes do.
      {{"--get-x", "121", "-e", "x^2", "--window", "-20,20,-10,10"}, true, "-11, 11"},
      {{"--domain", "-e", "sqrt(16-x^2)"}, true, "x > -4 And x < 4"},
      {{"--domain", "-e", "1/(x^2-1)"}, true, "x is not equal to -1, 1"},
      {{"--domain", "-e", "sqrt(-1-x^2)"}, false, kNowhereDefinedText},
      {{"--range", "-e", "x^2+20"}, false, kNoRangeText},
      {{"--maximum", "-2,2", "-e", "x^2"}, true, "(-2, 4)"},
      {{"--intersect", "-e", "x^2", "-e", "x+2"}, true, "(-1, 1), (2, 4)"},
      {{"--intersect", "-e", "x^2+1", "-e", "0"}, false, "There is no intersection."},
      {{"--intersect", "-e", "x", "-e", "x"}, false, "The two equations are the same."},
      {{"--table", "0,2,1", "-e", "x^2"}, true, "(0.000, 0)\n(1.000, 1)\n(2.000, 4)"},
      {{"--table", "0,2,0", "-e", "x"}, false, kTableStepTooSmall},
      // A workspace file: the first row, or the rows named; conditions aside, as in the window.
      {{"--get-y", "3", ws}, true, "5"},
      {{"--get-y", "-3", ws, "--row", "2"}, true, "9"},
      {{"--intersect", ws}, true, "(-1, 1), (2, 4)"},
      // Two rows named, in either order.
      {{"--intersect", ws, "--row", "2", "--row", "1", "--window", "-10,10,-10,10"}, true, "(-1, 1), (2, 4)"},
      {{"--domain", ws, "--row", "4"}, false, "\"" + ws + "\" has 3 equation(s): there is no row 4"},
      {{"--slope", "3", "-e", "x^2"}, true, "6"},
      {{"--slope", "-1", "-e", "sqrt(x)"}, false, "Unreal answer."},
      {{"--slope", "-3", ws, "--row", "2"}, false, "Unreal answer."},  // the row's condition x > 0
      {{"--slope", "3", ws, "--row", "2"}, true, "6"},
      {{"--area", "0,3", "-e", "x^2"}, true, "9"},
      {{"--area", "-3,3", ws, "--row", "2"}, true, "9"},  // only x > 0
      {{"--area", "-3,3", "-e", "x^2", "--condition", "x<0"}, true, "9"},
      {{"--area", "-1,1", "-e", "sqrt(x)"}, true, std::string("0.667") + kAreaUndefinedNote},
      {{"--area", ",3", "-e", "x"}, false, EmptyBoundText(true)},
      {{"--area", "3,1", "-e", "x"}, false, "No value: the left bound 3 lies right of the right bound 1."},
      {{"--fit", "linear", ws}, true, "2x + 1"},
      {{"--fit", "linear", line}, true, "0.5x -1"},
      {{"--fit", "quadratic", parabola}, true, "1x^2 + 0x + 0"},
      {{"--fit", "linear", bad},
       false,
       "Line 2 of the file \"" + bad + "\" does not start with two numbers. Nothing was loaded."},
      {{"--fit", "linear", missing},
       false,
       "The file \"" + missing + "\" could not be opened: No such file or directory. Nothing was loaded."},
  };
  for (const Case& c : cases) {
    const CommandLine command = ParseCommandLine(c.args);
    ASSERT_EQ(command.action, CommandLine::Action::kTool) << c.args[0] << " " << command.error;
    const ToolAnswer answer = RunTool(command.request, command.tool);
    EXPECT_EQ(answer.found, c.found) << c.args[0] << " " << c.args[1];
    EXPECT_EQ(answer.text, c.text) << c.args[0] << " " << c.args[1];
  }
}

}  // namespace
}  // namespace cn
