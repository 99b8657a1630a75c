// What a workspace file keeps: everything the user typed or picked that a
// graph depends on, as the texts the user typed, so nothing is rounded away.
// A plain value type without Qt; workspace_file.h reads and writes it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "workspace/model/equation_model.h"
#include "workspace/model/graph_description.h"

namespace cn {

// One row of the equation list: the same struct the window's list holds.
using WorkspaceEquation = Equation;

// The six graph window boxes as typed; the defaults are the boxes at start-up.
struct WorkspaceWindow {
  std::string xmin = "-10";
  std::string xmax = "10";
  std::string ymin = "-10";
  std::string ymax = "10";
  std::string xstep = "1";
  std::string ystep = "1";
  friend bool operator==(const WorkspaceWindow&, const WorkspaceWindow&) = default;
};

// A default-constructed document is the workspace at start-up.
struct WorkspaceDocument {
  std::vector<WorkspaceEquation> equations;  // in list order
  WorkspaceWindow window;
  bool writeEquations = true;      // "Write equations on graph"
  std::vector<std::string> statX;  // the statistics window's X list
  std::vector<std::string> statY;  // and its Y list, row by row
  bool showStatPlot = false;       // "Show Stat Plot"
  std::vector<Mark> marks;         // the points the tools marked

  // False when there is nothing a user could lose by closing without saving:
  // no equation and no data point (window texts alone do not count).
  bool HasWork() const { return !equations.empty() || !statX.empty() || !statY.empty(); }

  friend bool operator==(const WorkspaceDocument&, const WorkspaceDocument&) = default;
};

// The largest packed colour, white.
inline constexpr std::uint32_t kMaxPackedColor = 0xFFFFFF;

}  // namespace cn
