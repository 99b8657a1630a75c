// The one owner of a workspace while the program runs: the equations, the
// graph window as typed and as last read, the options, the statistics
// window's data points and the points the tools marked. The windows are views
// over it: they change it only through these calls and refresh themselves
// from the listeners, so no state is kept in two places. Qt-free, so the
// command line and the tests use it without a desktop.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "workspace/model/equation_model.h"
#include "workspace/model/graph_description.h"
#include "workspace/model/graph_window.h"
#include "workspace/model/workspace_document.h"

namespace cn {

// What a change touched; a listener hears one of these per change.
enum class SessionChange {
  kEquations,    // rows added, removed, edited or recoloured (and their marks)
  kWindowTexts,  // the six boxes' texts
  kOptions,      // "Write equations on graph", "Connect samples", "Show Stat Plot"
  kDataPoints,   // the X and Y lists
  kMarks,        // marks added or cleared
  kDocument,     // everything at once (New, Open, undo)
};

// A step of the workspace's history (undo): everything but the data points,
// which steps share while they do not change, so a data set of a million rows
// is kept once however many steps follow.
struct SessionState {
  using Points = std::pair<std::vector<std::string>, std::vector<std::string>>;
  WorkspaceDocument document;  // with statX and statY empty
  std::shared_ptr<const Points> points;
  bool operator==(const SessionState& other) const {
    return document == other.document && points == other.points;
  }
};

// The six boxes, in the order of WindowTexts.
enum class WindowBox { kXMin, kXMax, kYMin, kYMax, kYStep, kXStep };

class WorkspaceSession {
 public:
  using Listener = std::function<void(SessionChange)>;

  WorkspaceSession();
  WorkspaceSession(const WorkspaceSession&) = delete;
  WorkspaceSession& operator=(const WorkspaceSession&) = delete;

  // Called after every change, in the order they were added. A view that
  // may go before the session removes its listener by the returned id.
  std::size_t AddListener(Listener listener);
  void RemoveListener(std::size_t id);

  // ---- Equations: every change of a row goes through Equations(); the
  // marks of a row that is edited or removed go with it.
  const EquationModel& Equations() const { return equations_; }
  EquationModel& Equations() { return equations_; }

  // ---- The graph window.
  const WorkspaceWindow& WindowTexts() const { return texts_; }
  const std::string& WindowText(WindowBox box) const;
  void SetWindowText(WindowBox box, std::string text);
  // Reads the six texts into Window(); the message naming the box when they
  // do not make a window (Window() then keeps the last good one).
  std::optional<std::string> ReadWindow();
  // The window of the last good reading (the tools search it).
  const GraphWindow& Window() const { return window_; }
  // Writes `window` into the bound texts (and the step texts when `steps`)
  // and makes it the window, as zoom and pan do.
  void ShowWindow(const GraphWindow& window, bool steps);

  // ---- Options.
  bool WriteEquations() const { return writeEquations_; }
  void SetWriteEquations(bool on);
  bool ConnectSamples() const { return connectSamples_; }
  void SetConnectSamples(bool on);
  bool StatPlotShown() const { return showStatPlot_; }
  void SetStatPlotShown(bool on);

  // ---- The statistics window's data points: two lists of texts as typed.
  const std::vector<std::string>& PointsX() const { return pointsX_; }
  const std::vector<std::string>& PointsY() const { return pointsY_; }
  // Appends to the X (`yList` false) or Y list.
  void AddPoint(bool yList, std::string text);
  // False (nothing changes) for a row that does not exist.
  bool RemovePoint(bool yList, std::size_t row);
  void SetPoints(std::vector<std::string> x, std::vector<std::string> y);
  // The first min(count X, count Y) pairs as singles; a row that is not a
  // number counts as 0.
  std::vector<std::pair<float, float>> StatPoints() const;

  // ---- Marks: points the tools found, each belonging to an equation row.
  const std::vector<Mark>& Marks() const { return marks_; }
  void AddMarks(const std::vector<Mark>& marks);
  void ClearMarks();

  // ---- The whole workspace, as a file keeps it.
  WorkspaceDocument Document() const;
  // True when the session holds exactly `document` (compared in place: the
  // caption asks after every change, a data set may be large).
  bool Holds(const WorkspaceDocument& document) const;
  // As WorkspaceDocument::HasWork: an equation or a data point.
  bool HasWork() const { return !equations_.Empty() || !pointsX_.empty() || !pointsY_.empty(); }
  // Replaces everything; listeners hear kDocument once. The window is read
  // from the texts when they make one.
  void Apply(const WorkspaceDocument& document);

  // The workspace as a step of its history; the points of `previous` are
  // shared when they are the session's points still.
  SessionState State(const SessionState* previous = nullptr) const;
  // Goes back (or forward) to a step: Apply of the whole workspace.
  void Restore(const SessionState& state);

  // What Graph draws now: the window last read, every row, the stat points
  // when shown, the options and the marks.
  GraphDescription Graph() const;

 private:
  void Notify(SessionChange change);
  void EquationsChanged();

  EquationModel equations_;
  WorkspaceWindow texts_;
  GraphWindow window_;
  bool writeEquations_ = true;
  bool connectSamples_ = false;
  bool showStatPlot_ = false;
  std::vector<std::string> pointsX_, pointsY_;
  std::vector<Mark> marks_;
  std::vector<Equation> rowsBefore_;  // to tell which rows' marks an equation change ends
  bool applying_ = false;
  std::vector<std::pair<std::size_t, Listener>> listeners_;
  std::size_t nextListener_ = 0;
};

// What a user would call the change from `before` to `after`, for Undo and
// Redo ("Add Equation", "Change XMin", ...), and a key that is the same for
// two changes that should be undone as one (typing into one window box), or
// -1.
struct ChangeName {
  std::string text;
  int mergeKey = -1;
};
ChangeName NameChange(const SessionState& before, const SessionState& after);

}  // namespace cn
