// Everything one picture of the plane is drawn from: the window, the
// equations, the options of the main window and the statistics window's
// points. The main window keeps the description of its last Graph, so a
// resize, a copy, a print or an export draws the same picture again at any
// size; a command line can build one without any window.
#pragma once

#include <cstddef>
#include <optional>
#include <utility>
#include <vector>

#include "workspace/model/equation_model.h"
#include "workspace/model/graph_window.h"

namespace cn {

// A point a tool found (a root, an extreme, an intersection ...), marked on
// the plane in the colour of the equation row it belongs to (0-based).
struct Mark {
  double x = 0;
  double y = 0;
  std::size_t equation = 0;
  bool operator==(const Mark&) const = default;
};

// Get Slope's answer: the tangent of row `equation` through (x, y).
struct Tangent {
  std::size_t equation = 0;
  double x = 0, y = 0, slope = 0;
  bool operator==(const Tangent&) const = default;
};

// Get Area's answer: the region between row `equation` and the x axis from
// `left` to `right`, shaded.
struct AreaShade {
  std::size_t equation = 0;
  double left = 0, right = 0;
  bool operator==(const AreaShade&) const = default;
};

struct GraphDescription {
  GraphWindow window;
  // False: the empty plane only (start-up, or DrawAxis without Graph).
  bool plotted = false;
  std::vector<Equation> equations;
  // The stat plot's points (empty when it is switched off), drawn as large red dots.
  std::vector<std::pair<float, float>> statPoints;
  bool writeEquations = true;   // the equation texts in the top-left corner
  bool connectSamples = false;  // curves as polylines instead of dots
  std::vector<Mark> marks;      // rings with their coordinates
  // Shown until the next Graph.
  std::optional<Tangent> tangent;
  std::optional<AreaShade> area;
};

}  // namespace cn
