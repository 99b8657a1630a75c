// The analysis tools run from the command line: the same Qt-free searches
// and texts as the main window's handlers, on a document built from -e or a
// workspace file, without a display.
#pragma once

#include <string>

#include "app/command_line.h"

namespace cn {

struct ToolAnswer {
  bool found = false;  // false: `text` is why there is no answer
  std::string text;    // the answer as the window shows it (--table: a row a line)
};

// Runs `tool` on the equations of `source`. A tool that finds nothing (Get X
// out of range, no intersection, a domain defined nowhere, ...) answers with
// the window's own sentence and found = false, as does a file that cannot be
// read.
ToolAnswer RunTool(const ExportRequest& source, const ToolRequest& tool);

}  // namespace cn
