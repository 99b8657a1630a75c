#include "workspace/workspace_file.h"

#include "workspace/file_io.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QJsonValue>
#include <QSaveFile>
#include <cerrno>
#include <cmath>
#include <cstring>

namespace cn {
namespace {

// Member names, in one place: the format document lists the same.
constexpr auto kFormat = QLatin1StringView("format");
constexpr auto kEquations = QLatin1StringView("equations");
constexpr auto kExpression = QLatin1StringView("expression");
constexpr auto kCondition = QLatin1StringView("condition");
constexpr auto kColor = QLatin1StringView("color");
constexpr auto kWindow = QLatin1StringView("window");
constexpr auto kWriteEquations = QLatin1StringView("writeEquations");
constexpr auto kStatistics = QLatin1StringView("statistics");
constexpr auto kStatX = QLatin1StringView("x");
constexpr auto kStatY = QLatin1StringView("y");
constexpr auto kShowStatPlot = QLatin1StringView("showStatPlot");
constexpr auto kMarks = QLatin1StringView("marks");
constexpr auto kMarkX = QLatin1StringView("x");
constexpr auto kMarkY = QLatin1StringView("y");
constexpr auto kMarkEquation = QLatin1StringView("equation");

struct WindowField {
  QLatin1StringView name;
  std::string WorkspaceWindow::*text;
};
constexpr WindowField kWindowFields[] = {
    {QLatin1StringView("xmin"), &WorkspaceWindow::xmin},   {QLatin1StringView("xmax"), &WorkspaceWindow::xmax},
    {QLatin1StringView("ymin"), &WorkspaceWindow::ymin},   {QLatin1StringView("ymax"), &WorkspaceWindow::ymax},
    {QLatin1StringView("xstep"), &WorkspaceWindow::xstep}, {QLatin1StringView("ystep"), &WorkspaceWindow::ystep},
};

QString Quoted(QLatin1StringView name) { return QLatin1Char('"') + name + QLatin1Char('"'); }

// A whole number that a JSON double holds exactly; nullopt otherwise.
std::optional<double> WholeNumber(const QJsonValue& value) {
  if (!value.isDouble()) return std::nullopt;
  const double d = value.toDouble();
  if (!std::isfinite(d) || d != std::floor(d)) return std::nullopt;
  return d;
}

// Reads the member `name` of `object` into `out` when present. Each returns
// an empty problem on success (or absence) and the problem text otherwise;
// `where` prefixes the member, e.g. "equation 2: ".
QString ReadText(const QJsonObject& object, QLatin1StringView name, const QString& where, std::string* out) {
  const auto it = object.constFind(name);
  if (it == object.constEnd()) return {};
  if (!it->isString()) return where + Quoted(name) + QStringLiteral(" must be a text in double quotes");
  *out = it->toString().toStdString();
  return {};
}

QString ReadBool(const QJsonObject& object, QLatin1StringView name, const QString& where, bool* out) {
  const auto it = object.constFind(name);
  if (it == object.constEnd()) return {};
  if (!it->isBool()) return where + Quoted(name) + QStringLiteral(" must be true or false");
  *out = it->toBool();
  return {};
}

QString ReadTextList(const QJsonObject& object, QLatin1StringView name, const QString& where,
                     std::vector<std::string>* out) {
  const auto it = object.constFind(name);
  if (it == object.constEnd()) return {};
  if (!it->isArray()) return where + Quoted(name) + QStringLiteral(" must be a list of texts");
  const QJsonArray array = it->toArray();
  std::vector<std::string> texts;
  texts.reserve(static_cast<std::size_t>(array.size()));
  for (qsizetype i = 0; i < array.size(); ++i) {
    if (!array[i].isString()) {
      return where + Quoted(name) + QStringLiteral(" item %1 must be a text in double quotes").arg(i + 1);
    }
    texts.push_back(array[i].toString().toStdString());
  }
  *out = std::move(texts);
  return {};
}

QString ReadObject(const QJsonObject& object, QLatin1StringView name, QJsonObject* out, bool* present) {
  const auto it = object.constFind(name);
  *present = it != object.constEnd();
  if (!*present) return {};
  if (!it->isObject()) return Quoted(name) + QStringLiteral(" must be an object in braces");
  *out = it->toObject();
  return {};
}

QString ReadEquation(const QJsonValue& value, int number, WorkspaceEquation* equation) {
  const QString where = QStringLiteral("equation %1: ").arg(number);
  if (!value.isObject()) return where + QStringLiteral("must be an object in braces");
  const QJsonObject object = value.toObject();
  if (!object.contains(kExpression)) return where + QStringLiteral("has no ") + Quoted(kExpression);
  if (!object.contains(kColor)) return where + QStringLiteral("has no ") + Quoted(kColor);
  QString problem = ReadText(object, kExpression, where, &equation->expression);
  if (problem.isEmpty()) problem = ReadText(object, kCondition, where, &equation->condition);
  if (!problem.isEmpty()) return problem;
  const std::optional<double> color = WholeNumber(object.value(kColor));
  if (!color || *color < 0 || *color > kMaxPackedColor) {
    return where + Quoted(kColor) + QStringLiteral(" must be a whole number from 0 to %1").arg(kMaxPackedColor);
  }
  equation->color = static_cast<std::uint32_t>(*color);
  return {};
}

// A mark names its row 1-based, as the list shows rows to people.
QString ReadMark(const QJsonValue& value, int number, std::size_t rows, Mark* mark) {
  const QString where = QStringLiteral("mark %1: ").arg(number);
  if (!value.isObject()) return where + QStringLiteral("must be an object in braces");
  const QJsonObject object = value.toObject();
  for (const auto& [name, out] : {std::pair{kMarkX, &mark->x}, std::pair{kMarkY, &mark->y}}) {
    const QJsonValue v = object.value(name);
    if (!v.isDouble() || !std::isfinite(v.toDouble())) return where + Quoted(name) + QStringLiteral(" must be a number");
    *out = v.toDouble();
  }
  const std::optional<double> row = WholeNumber(object.value(kMarkEquation));
  if (!row || *row < 1 || *row > static_cast<double>(rows)) {
    return where + Quoted(kMarkEquation) + QStringLiteral(" must be the number of an equation, from 1 to %1").arg(rows);
  }
  mark->equation = static_cast<std::size_t>(*row) - 1;
  return {};
}

QString ReadDocument(const QJsonObject& root, WorkspaceDocument* document) {
  // The format number comes first: a newer format's members may mean other things.
  const auto format = root.constFind(kFormat);
  if (format == root.constEnd()) {
    return QStringLiteral("it is not a Curvenest workspace (it has no ") + Quoted(kFormat) + QLatin1Char(')');
  }
  const std::optional<double> number = WholeNumber(*format);
  if (!number) return Quoted(kFormat) + QStringLiteral(" must be a whole number");
  if (*number != kWorkspaceFormat) {
    return QStringLiteral("it has format %1, which this version of Curvenest cannot read (it reads format %2)")
        .arg(*number, 0, 'g', 17)
        .arg(kWorkspaceFormat);
  }

  const auto equations = root.constFind(kEquations);
  if (equations != root.constEnd()) {
    if (!equations->isArray()) return Quoted(kEquations) + QStringLiteral(" must be a list in brackets");
    const QJsonArray array = equations->toArray();
    document->equations.resize(static_cast<std::size_t>(array.size()));
    for (qsizetype i = 0; i < array.size(); ++i) {
      const QString problem = ReadEquation(array[i], static_cast<int>(i + 1), &document->equations[i]);
      if (!problem.isEmpty()) return problem;
    }
  }

  QJsonObject window;
  bool present = false;
  QString problem = ReadObject(root, kWindow, &window, &present);
  if (!problem.isEmpty()) return problem;
  for (const WindowField& field : kWindowFields) {
    problem = ReadText(window, field.name, QStringLiteral("window: "), &(document->window.*field.text));
    if (!problem.isEmpty()) return problem;
  }

  problem = ReadBool(root, kWriteEquations, QString(), &document->writeEquations);
  if (!problem.isEmpty()) return problem;

  QJsonObject statistics;
  problem = ReadObject(root, kStatistics, &statistics, &present);
  if (!problem.isEmpty()) return problem;
  const QString where = QStringLiteral("statistics: ");
  problem = ReadTextList(statistics, kStatX, where, &document->statX);
  if (problem.isEmpty()) problem = ReadTextList(statistics, kStatY, where, &document->statY);
  if (problem.isEmpty()) problem = ReadBool(statistics, kShowStatPlot, where, &document->showStatPlot);
  if (!problem.isEmpty()) return problem;

  const auto marks = root.constFind(kMarks);
  if (marks == root.constEnd()) return {};
  if (!marks->isArray()) return Quoted(kMarks) + QStringLiteral(" must be a list in brackets");
  const QJsonArray array = marks->toArray();
  document->marks.resize(static_cast<std::size_t>(array.size()));
  for (qsizetype i = 0; i < array.size(); ++i) {
    problem = ReadMark(array[i], static_cast<int>(i + 1), document->equations.size(), &document->marks[i]);
    if (!problem.isEmpty()) return problem;
  }
  return {};
}

QJsonArray TextList(const std::vector<std::string>& texts) {
  QJsonArray array;
  for (const std::string& text : texts) array.append(QString::fromStdString(text));
  return array;
}

QString Sentence(const char* verb, const QString& path, const QString& problem) {
  QString text = QStringLiteral("Could not %1 \"%2\": %3").arg(QLatin1StringView(verb), path, problem);
  if (!text.endsWith(QLatin1Char('.'))) text += QLatin1Char('.');
  return text;
}

}  // namespace

std::optional<WorkspaceDocument> ParseWorkspace(const QByteArray& bytes, QString* problem) {
  if (bytes.size() > kMaxWorkspaceBytes) {
    *problem = QStringLiteral("it is larger than %1 MB").arg(kMaxWorkspaceBytes / (1024 * 1024));
    return std::nullopt;
  }
  QJsonParseError error;
  const QJsonDocument json = QJsonDocument::fromJson(bytes, &error);
  if (error.error != QJsonParseError::NoError) {
    *problem = QStringLiteral("it is not JSON (%1 at byte %2)").arg(error.errorString()).arg(error.offset);
    return std::nullopt;
  }
  if (!json.isObject()) {
    *problem = QStringLiteral("it is not a Curvenest workspace (it is not a JSON object in braces)");
    return std::nullopt;
  }
  WorkspaceDocument document;
  *problem = ReadDocument(json.object(), &document);
  if (!problem->isEmpty()) return std::nullopt;
  return document;
}

QByteArray SerializeWorkspace(const WorkspaceDocument& document) {
  QJsonArray equations;
  for (const WorkspaceEquation& equation : document.equations) {
    equations.append(QJsonObject{{kExpression, QString::fromStdString(equation.expression)},
                                 {kCondition, QString::fromStdString(equation.condition)},
                                 {kColor, static_cast<qint64>(equation.color)}});
  }
  QJsonObject window;
  for (const WindowField& field : kWindowFields) {
    window.insert(field.name, QString::fromStdString(document.window.*field.text));
  }
  const QJsonObject statistics{
      {kStatX, TextList(document.statX)}, {kStatY, TextList(document.statY)}, {kShowStatPlot, document.showStatPlot}};
  QJsonObject root{{kFormat, kWorkspaceFormat},
                   {kEquations, equations},
                   {kWindow, window},
                   {kWriteEquations, document.writeEquations},
                   {kStatistics, statistics}};
  // Only a workspace with marks has the member, so files without stay as they were.
  if (!document.marks.empty()) {
    QJsonArray marks;
    for (const Mark& mark : document.marks) {
      marks.append(QJsonObject{
          {kMarkX, mark.x}, {kMarkY, mark.y}, {kMarkEquation, static_cast<qint64>(mark.equation + 1)}});
    }
    root.insert(kMarks, marks);
  }
  return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

bool ReadWorkspace(const QString& path, WorkspaceDocument* document, QString* message) {
  QString reason;
  const std::optional<QByteArray> read = ReadPlainFile(path, kMaxWorkspaceBytes, &reason);
  if (!read) {
    *message = Sentence("open", path, reason);
    return false;
  }
  const QByteArray& bytes = *read;
  QString problem;
  std::optional<WorkspaceDocument> parsed = ParseWorkspace(bytes, &problem);
  if (!parsed) {
    *message = Sentence("open", path, problem);
    return false;
  }
  *document = std::move(*parsed);
  return true;
}

bool WriteWorkspace(const QString& path, const WorkspaceDocument& document, QString* message) {
  const QString reason = WriteWholeFile(path, SerializeWorkspace(document));
  if (reason.isEmpty()) return true;
  *message = Sentence("save", path, reason);
  return false;
}

}  // namespace cn
