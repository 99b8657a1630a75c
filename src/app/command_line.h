// The command line of curvenest:
//
//   curvenest [FILE]
//   curvenest --export OUT.png|OUT.svg|OUT.pdf [--size N]
//             [--window XMIN,XMAX,YMIN,YMAX] [--steps XSTEP,YSTEP]
//             (FILE | -e EXPR [--condition COND] [--color #RRGGBB] ...)
//   curvenest TOOL [--window ...] [--steps ...] (FILE [--row N] | -e EXPR ...)
//             (--slope and --area: -e EXPR [--condition COND])
//   curvenest --fit linear|quadratic DATAFILE
//   curvenest --help | --version
//
// The words are read by QCommandLineParser; Qt's own options (-platform,
// -style, -reverse, ...) are let through for the application object.
// ParseCommandLine only looks at the words: it opens no file. Everything it
// can check there it checks (each -e expression is compiled by the engine),
// so a script learns about a typo before any file is touched. An error is one
// line that names the option, the text and the problem.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "analysis/tools.h"
#include "workspace/model/graph_description.h"
#include "workspace/model/workspace_document.h"

namespace cn {

enum class ExportFormat { kPng, kSvg, kPdf };

// The side of the exported square picture: the on-screen plane's size by
// default, pixels for PNG, the same number of points for SVG and PDF.
inline constexpr int kDefaultExportSize = 481;
inline constexpr int kMinExportSize = 16;
inline constexpr int kMaxExportSize = 8192;
// More tick marks than this on one axis are refused: they would take minutes
// to draw and could not be told apart anyway.
inline constexpr double kMaxExportTicks = 10000;

struct ExportRequest {
  std::string output;                        // OUT as given
  ExportFormat format = ExportFormat::kPng;  // from OUT's suffix
  int size = kDefaultExportSize;
  std::string workspace;                             // FILE, or "" when the equations come from -e
  std::vector<WorkspaceEquation> equations;          // the -e equations, conditions in their written form
  std::optional<std::array<std::string, 4>> window;  // XMIN, XMAX, YMIN, YMAX as typed
  std::optional<std::array<std::string, 2>> steps;   // XSTEP, YSTEP as typed
};

// An analysis tool run from the command line on the equations of an
// ExportRequest (its output and size unused).
enum class Tool { kGetY, kGetX, kDomain, kRange, kMinimum, kMaximum, kIntersect, kTable, kFit, kSlope, kArea };

struct ToolRequest {
  Tool tool = Tool::kGetY;
  std::string value;                               // X, Y, "L,R", "START,STOP,STEP", or the fit's kind
  bool high = true;                                // Get X's precision; High is the window's default
  IntersectLevel level = IntersectLevel::kMedium;  // Intersect's, Medium as the dialog starts
  std::vector<int> rows;                           // --row, 1-based; empty for the default
  std::vector<std::string> parts;                  // the fields of --minimum, --maximum, --area and --table
};

struct CommandLine {
  enum class Action { kRun, kHelp, kVersion, kExport, kTool, kError };
  Action action = Action::kRun;
  std::string error;      // kError: the one line to print after "curvenest: "
  std::string file;       // kRun: the workspace to open, "" for none
  ExportRequest request;  // kExport, and kTool's equations, window and file (--fit: the data file)
  ToolRequest tool;       // kTool
};

// `args` are the words after the program name.
CommandLine ParseCommandLine(const std::vector<std::string>& args);

std::string UsageText();    // for --help, ends with a newline
std::string VersionText();  // "curvenest 1.0.31\n"

// The colour of the n-th -e equation (0-based) that has no --color: red,
// blue, green, purple, ... from the program's row palette, in a fixed order
// so that a script makes the same picture every time.
std::uint32_t DefaultExportColor(std::size_t n);

// The document to draw for `request`: FILE read as the program opens it, or
// a start-up workspace holding the -e equations; then --window and --steps
// replace the window boxes. Checks what only the whole document shows: that
// every equation of FILE compiles and that no axis gets more than
// kMaxExportTicks ticks. On failure returns false with `*error` set (one
// line naming the file or option) and leaves `*document` untouched.
bool BuildExportDocument(const ExportRequest& request, WorkspaceDocument* document, std::string* error);
// The same without the tick limit, which only drawing needs: the document a
// tool works on.
bool BuildToolDocument(const ExportRequest& request, WorkspaceDocument* document, std::string* error);

// The picture of `document` as the main window's Graph draws it: its
// equations on the window its boxes make, the equation texts when
// "Write equations on graph" is set, and the stat plot's points (the first
// min(count X, count Y) rows, a row that is not a number counting as 0) when
// Show Stat Plot is set. False when the window texts do not make a window;
// `*error` is then the window reader's message after `where` (e.g. the file).
bool BuildExportGraph(const WorkspaceDocument& document, const std::string& where, GraphDescription* graph,
                      std::string* error);

}  // namespace cn
