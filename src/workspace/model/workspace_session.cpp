#include "workspace/model/workspace_session.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <tuple>

#include "core/number_text.h"
#include "stats/stat_data.h"

namespace cn {
namespace {

constexpr std::string WorkspaceWindow::*kBoxTexts[] = {&WorkspaceWindow::xmin, &WorkspaceWindow::xmax,
                                                       &WorkspaceWindow::ymin, &WorkspaceWindow::ymax,
                                                       &WorkspaceWindow::ystep, &WorkspaceWindow::xstep};

}  // namespace

WorkspaceSession::WorkspaceSession() {
  ReadWindow();
  equations_.AddListener([this] { EquationsChanged(); });
}

std::size_t WorkspaceSession::AddListener(Listener listener) {
  listeners_.emplace_back(nextListener_, std::move(listener));
  return nextListener_++;
}

void WorkspaceSession::RemoveListener(std::size_t id) {
  std::erase_if(listeners_, [id](const auto& entry) { return entry.first == id; });
}

void WorkspaceSession::Notify(SessionChange change) {
  // A copy: a listener may add or remove listeners (a view that closes).
  const auto listeners = listeners_;
  for (const auto& [id, listener] : listeners) listener(change);
}

void WorkspaceSession::EquationsChanged() {
  const std::vector<Equation>& rows = equations_.Rows();
  if (!applying_) {
    // A mark speaks of its row as it was: editing the row's text or
    // condition ends it, a new colour does not; rows below a removed one move up.
    constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    std::size_t removed = kNone;
    if (rows.size() + 1 == rowsBefore_.size()) {
      removed = 0;
      while (removed < rows.size() && rows[removed] == rowsBefore_[removed]) ++removed;
    }
    std::vector<Mark> kept;
    kept.reserve(marks_.size());
    for (Mark mark : marks_) {
      const std::size_t was = mark.equation;
      if (was == removed || was >= rowsBefore_.size()) continue;
      if (removed != kNone && was > removed) --mark.equation;
      if (mark.equation >= rows.size()) continue;
      const Equation& now = rows[mark.equation];
      if (now.expression != rowsBefore_[was].expression || now.condition != rowsBefore_[was].condition) continue;
      kept.push_back(mark);
    }
    marks_ = std::move(kept);
  }
  rowsBefore_ = rows;
  if (!applying_) Notify(SessionChange::kEquations);
}

const std::string& WorkspaceSession::WindowText(WindowBox box) const {
  return texts_.*kBoxTexts[static_cast<int>(box)];
}

void WorkspaceSession::SetWindowText(WindowBox box, std::string text) {
  std::string& slot = texts_.*kBoxTexts[static_cast<int>(box)];
  if (slot == text) return;
  slot = std::move(text);
  Notify(SessionChange::kWindowTexts);
}

std::optional<std::string> WorkspaceSession::ReadWindow() {
  const WorkspaceWindow& t = texts_;
  const WindowReading reading = ReadGraphWindow({t.xmin, t.xmax, t.ymin, t.ymax, t.ystep, t.xstep});
  if (!reading.window) return reading.error;
  window_ = *reading.window;
  return std::nullopt;
}

void WorkspaceSession::ShowWindow(const GraphWindow& window, bool steps) {
  texts_.xmin = std::to_string(window.xmin);
  texts_.xmax = std::to_string(window.xmax);
  texts_.ymin = std::to_string(window.ymin);
  texts_.ymax = std::to_string(window.ymax);
  if (steps) {
    texts_.xstep = FormatSingle(window.xstep);
    texts_.ystep = FormatSingle(window.ystep);
  }
  window_ = window;
  // Steps the boxes do not show stay as last read.
  if (!steps) ReadWindow();
  Notify(SessionChange::kWindowTexts);
}

void WorkspaceSession::SetWriteEquations(bool on) {
  if (writeEquations_ == on) return;
  writeEquations_ = on;
  Notify(SessionChange::kOptions);
}

void WorkspaceSession::SetConnectSamples(bool on) {
  if (connectSamples_ == on) return;
  connectSamples_ = on;
  Notify(SessionChange::kOptions);
}

void WorkspaceSession::SetStatPlotShown(bool on) {
  if (showStatPlot_ == on) return;
  showStatPlot_ = on;
  Notify(SessionChange::kOptions);
}

void WorkspaceSession::AddPoint(bool yList, std::string text) {
  (yList ? pointsY_ : pointsX_).push_back(std::move(text));
  Notify(SessionChange::kDataPoints);
}

bool WorkspaceSession::RemovePoint(bool yList, std::size_t row) {
  std::vector<std::string>& list = yList ? pointsY_ : pointsX_;
  if (row >= list.size()) return false;
  list.erase(list.begin() + static_cast<std::ptrdiff_t>(row));
  Notify(SessionChange::kDataPoints);
  return true;
}

void WorkspaceSession::SetPoints(std::vector<std::string> x, std::vector<std::string> y) {
  if (x == pointsX_ && y == pointsY_) return;
  pointsX_ = std::move(x);
  pointsY_ = std::move(y);
  Notify(SessionChange::kDataPoints);
}

std::vector<std::pair<float, float>> WorkspaceSession::StatPoints() const {
  std::vector<std::pair<float, float>> points;
  const std::size_t count = std::min(pointsX_.size(), pointsY_.size());
  points.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    points.emplace_back(static_cast<float>(EntryValue(pointsX_[i]).value_or(0)),
                        static_cast<float>(EntryValue(pointsY_[i]).value_or(0)));
  }
  return points;
}

void WorkspaceSession::AddMarks(const std::vector<Mark>& marks) {
  bool added = false;
  // Get X on a wide window finds thousands of points: look repeats up in a set.
  const auto key = [](const Mark& m) { return std::tuple(m.equation, m.x, m.y); };
  std::set<std::tuple<std::size_t, double, double>> known;
  for (const Mark& mark : marks_) known.insert(key(mark));
  for (const Mark& mark : marks) {
    // A file keeps numbers only; a point at infinity is no place on the plane.
    if (mark.equation >= equations_.Size() || !std::isfinite(mark.x) || !std::isfinite(mark.y)) continue;
    // A point found twice is marked once.
    if (!known.insert(key(mark)).second) continue;
    marks_.push_back(mark);
    added = true;
  }
  if (added) Notify(SessionChange::kMarks);
}

void WorkspaceSession::ClearMarks() {
  if (marks_.empty()) return;
  marks_.clear();
  Notify(SessionChange::kMarks);
}

WorkspaceDocument WorkspaceSession::Document() const {
  WorkspaceDocument document;
  document.equations = equations_.Rows();
  document.window = texts_;
  document.writeEquations = writeEquations_;
  document.statX = pointsX_;
  document.statY = pointsY_;
  document.showStatPlot = showStatPlot_;
  document.marks = marks_;
  return document;
}

bool WorkspaceSession::Holds(const WorkspaceDocument& d) const {
  return equations_.Rows() == d.equations && texts_ == d.window && writeEquations_ == d.writeEquations &&
         pointsX_ == d.statX && pointsY_ == d.statY && showStatPlot_ == d.showStatPlot && marks_ == d.marks;
}

void WorkspaceSession::Apply(const WorkspaceDocument& document) {
  applying_ = true;
  equations_.Assign(document.equations);
  applying_ = false;
  texts_ = document.window;
  writeEquations_ = document.writeEquations;
  pointsX_ = document.statX;
  pointsY_ = document.statY;
  showStatPlot_ = document.showStatPlot;
  marks_.clear();
  for (const Mark& mark : document.marks)
    if (mark.equation < equations_.Size()) marks_.push_back(mark);
  ReadWindow();
  Notify(SessionChange::kDocument);
}

SessionState WorkspaceSession::State(const SessionState* previous) const {
  SessionState state;
  state.document.equations = equations_.Rows();
  state.document.window = texts_;
  state.document.writeEquations = writeEquations_;
  state.document.showStatPlot = showStatPlot_;
  state.document.marks = marks_;
  if (previous && previous->points && previous->points->first == pointsX_ && previous->points->second == pointsY_)
    state.points = previous->points;
  else
    state.points = std::make_shared<const SessionState::Points>(pointsX_, pointsY_);
  return state;
}

void WorkspaceSession::Restore(const SessionState& state) {
  WorkspaceDocument document = state.document;
  if (state.points) {
    document.statX = state.points->first;
    document.statY = state.points->second;
  }
  Apply(document);
}

GraphDescription WorkspaceSession::Graph() const {
  GraphDescription graph;
  graph.window = window_;
  graph.plotted = true;
  graph.equations = equations_.Rows();
  if (showStatPlot_) graph.statPoints = StatPoints();
  graph.writeEquations = writeEquations_;
  graph.connectSamples = connectSamples_;
  graph.marks = marks_;
  return graph;
}

ChangeName NameChange(const SessionState& beforeState, const SessionState& afterState) {
  const WorkspaceDocument& before = beforeState.document;
  const WorkspaceDocument& after = afterState.document;
  const auto& e0 = before.equations;
  const auto& e1 = after.equations;
  if (e0 != e1) {
    if (e1.size() == e0.size() + 1) return {"Add Equation"};
    if (e1.size() + 1 == e0.size()) return {"Delete Equation"};
    if (e1.size() == e0.size()) {
      for (std::size_t i = 0; i < e0.size(); ++i) {
        if (e0[i] == e1[i]) continue;
        if (e0[i].expression != e1[i].expression) return {"Edit Equation"};
        if (e0[i].condition != e1[i].condition) return {"Edit Condition"};
        return {"Change Color"};
      }
    }
    return {"Change Equations"};
  }
  if (before.window != after.window) {
    static constexpr struct {
      std::string WorkspaceWindow::*text;
      const char* name;
    } kBoxes[] = {{&WorkspaceWindow::xmin, "XMin"},   {&WorkspaceWindow::xmax, "XMax"},
                  {&WorkspaceWindow::ymin, "YMin"},   {&WorkspaceWindow::ymax, "YMax"},
                  {&WorkspaceWindow::xstep, "XStep"}, {&WorkspaceWindow::ystep, "YStep"}};
    int changed = 0, which = 0;
    for (int i = 0; i < 6; ++i) {
      if (before.window.*kBoxes[i].text != after.window.*kBoxes[i].text) {
        ++changed;
        which = i;
      }
    }
    if (changed == 1) return {std::string("Change ") + kBoxes[which].name, 100 + which};
    return {"Change Window"};
  }
  if (before.writeEquations != after.writeEquations) return {"Write Equations on Graph"};
  if (beforeState.points != afterState.points && beforeState.points && afterState.points) {
    const std::size_t n0 = beforeState.points->first.size() + beforeState.points->second.size();
    const std::size_t n1 = afterState.points->first.size() + afterState.points->second.size();
    if (n1 == 0) return {"Clear Data Points"};
    if (n1 == n0 + 1) return {"Add Data Point"};
    if (n1 + 1 == n0) return {"Remove Data Point"};
    return {"Replace Data Points"};
  }
  if (before.showStatPlot != after.showStatPlot) return {"Show Stat Plot"};
  if (before.marks != after.marks) return {after.marks.empty() ? "Clear Marks" : "Mark Points"};
  return {"Change"};
}

}  // namespace cn
