#include "app/tool_command.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "stats/regression_object.h"
#include "stats/stat_data.h"
#include "workspace/file_io.h"
#include "workspace/model/graph_window.h"
#include "workspace/workspace_file.h"

namespace cn {
namespace {

ToolAnswer Found(std::string text) { return {true, std::move(text)}; }
ToolAnswer NotFound(std::string text) { return {false, std::move(text)}; }

// The statistics window's points: a data file, or the X and Y lists of a
// workspace file.
ToolAnswer FitFile(const std::string& path, int degree) {
  const QString file = QString::fromStdString(path);
  std::vector<std::string> xs, ys;
  if (file.endsWith(".curvenest", Qt::CaseInsensitive)) {
    WorkspaceDocument document;
    QString message;
    if (!ReadWorkspace(file, &document, &message)) return NotFound(message.toStdString());
    xs = std::move(document.statX);
    ys = std::move(document.statY);
    if (std::min(xs.size(), ys.size()) == 0) return NotFound(DataFileRefusal({}, path));
  } else {
    QString reason;
    const std::optional<QByteArray> read = ReadPlainFile(file, kMaxDataFileBytes, &reason);
    if (!read) return NotFound(DataFileUnreadableText(path, reason.toStdString()));
    const QByteArray& bytes = *read;
    DataFileContents contents = ReadDataFile(std::string_view(bytes.constData(), bytes.size()));
    if (std::string refusal = DataFileRefusal(contents, path); !refusal.empty()) return NotFound(refusal);
    xs = std::move(contents.x);
    ys = std::move(contents.y);
  }
  try {
    return Found(FitEquationText(xs, ys, degree));
  } catch (const RegressionError& e) {
    return NotFound(e.Description());
  }
}

}  // namespace

ToolAnswer RunTool(const ExportRequest& source, const ToolRequest& tool) {
  if (tool.tool == Tool::kFit) return FitFile(source.workspace, tool.value == "linear" ? 1 : 2);

  WorkspaceDocument document;
  std::string error;
  if (!BuildToolDocument(source, &document, &error)) return NotFound(error);
  // The window the tools search, read as the main window reads its boxes.
  const WorkspaceWindow& texts = document.window;
  const WindowReading reading =
      ReadGraphWindow({texts.xmin, texts.xmax, texts.ymin, texts.ymax, texts.ystep, texts.xstep});
  if (!reading.window) {
    return NotFound((source.workspace.empty() ? "--window: " : "\"" + source.workspace + "\": ") + reading.error);
  }
  const GraphWindow& w = *reading.window;

  // The equations, by row: -e in order, or FILE's rows named by --row.
  std::vector<int> rows = tool.rows;
  const std::size_t needed = tool.tool == Tool::kIntersect ? 2 : 1;
  for (int next = 1; rows.size() < needed; ++next) {
    if (std::find(rows.begin(), rows.end(), next) == rows.end()) rows.push_back(next);
  }
  std::vector<std::string> equations, conditions;
  for (const int row : rows) {
    if (static_cast<std::size_t>(row) > document.equations.size()) {
      return NotFound("\"" + source.workspace + "\" has " + std::to_string(document.equations.size()) +
                      " equation(s): there is no row " + std::to_string(row));
    }
    equations.push_back(document.equations[static_cast<std::size_t>(row) - 1].expression);
    conditions.push_back(document.equations[static_cast<std::size_t>(row) - 1].condition);
  }
  const std::string& f = equations.front();

  switch (tool.tool) {
    case Tool::kGetY: {
      const PointValue y = SolveForY(f, tool.value);
      return y.failed ? NotFound("Unreal answer.") : Found(y.text);
    }
    case Tool::kGetX: {
      const std::vector<float> xs = SolveForX(f, ReadTarget(tool.value), w.xmin, w.xmax, tool.high, nullptr);
      return xs.empty() ? NotFound("Out of range.") : Found(JoinValues(xs));
    }
    case Tool::kDomain: {
      std::string domain = FindDomain(f, w.xmin, w.xmax);
      return domain == kNowhereDefinedText ? NotFound(std::move(domain)) : Found(std::move(domain));
    }
    case Tool::kRange: {
      std::string range = FindRange(f, w.xmin, w.xmax, w.ymin, w.ymax);
      return range == kNoRangeText ? NotFound(std::move(range)) : Found(std::move(range));
    }
    case Tool::kMinimum:
    case Tool::kMaximum: {
      // An empty bound leaves nothing to search, as in the window's input box.
      for (int i = 0; i < 2; ++i) {
        if (tool.parts[i].empty()) return NotFound(EmptyBoundText(i == 0));
      }
      const std::int16_t left = *BoundFromText(tool.parts[0]);
      const std::int16_t right = *BoundFromText(tool.parts[1]);
      std::string extreme = FindExtreme(f, left, right, tool.tool == Tool::kMinimum);
      // Where no sample evaluates, the answer is a sentence starting "No value".
      const bool none = extreme.starts_with("No value");
      return none ? NotFound(std::move(extreme)) : Found(std::move(extreme));
    }
    case Tool::kIntersect: {
      if (equations[0] == equations[1]) return NotFound(kSameEquationsText);
      const std::vector<IntersectPoint> points =
          FindIntersections(equations[0], equations[1], w.xmin, w.xmax, tool.level, nullptr);
      return points.empty() ? NotFound(IntersectionText(points)) : Found(IntersectionPairs(points));
    }
    case Tool::kTable: {
      const ValueTable table = TableOfValues(f, tool.parts[0], tool.parts[1], tool.parts[2]);
      if (!table.error.empty()) return NotFound(table.error);
      std::string text;
      for (const std::string& row : table.rows) text += (text.empty() ? "" : "\n") + row;
      return Found(std::move(text));
    }
    case Tool::kSlope: {
      const SlopeResult slope = FindSlope(f, conditions.front(), tool.value);
      return slope.found ? Found(slope.answer) : NotFound(slope.text);
    }
    case Tool::kArea: {
      const AreaResult area = FindArea(f, conditions.front(), tool.parts[0], tool.parts[1]);
      return area.found ? Found(area.answer) : NotFound(area.text);
    }
    case Tool::kFit:
      break;
  }
  return NotFound("no such tool");
}

}  // namespace cn
