// The analysis tools of the main window: Get Y and Get X, the table of
// values, domain and range, minimum and maximum, intersections and the copy of
// the graph. Each handler reads its controls, calls a search of tools.h and
// writes the answer back.
#include <QAction>
#include <QEvent>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <array>
#include <cstdio>
#include <functional>
#include <memory>

#include "analysis/tools.h"
#include "core/number_text.h"
#include "equations/equation_text.h"
#include "platform/host.h"
#include "workspace/frm_int_select.h"
#include "workspace/frm_io.h"
#include "workspace/frm_main.h"
#include "workspace/graph_surface.h"

namespace cn {

namespace {

constexpr const char* kSelectEquation = "You need to select an equation from the list.";

// Calls back when the user moves the focus into the watched box: a click,
// Tab, Backtab or a shortcut. The focus coming back with the window, or after
// a message box, popup or dialog closes, is no move of the user's and must
// not wipe the partner box (the answer just written there, say).
class FocusWatcher : public QObject {
 public:
  FocusWatcher(QObject* parent, std::function<void()> onFocus) : QObject(parent), onFocus_(std::move(onFocus)) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::FocusIn) {
      switch (static_cast<QFocusEvent*>(event)->reason()) {
        case Qt::MouseFocusReason:
        case Qt::TabFocusReason:
        case Qt::BacktabFocusReason:
        case Qt::ShortcutFocusReason:
          onFocus_();
          break;
        default:
          break;
      }
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  std::function<void()> onFocus_;
};

// The mouse button codes of picQuad_MouseDown.
int ButtonCode(Qt::MouseButton button) {
  switch (button) {
    case Qt::LeftButton:
      return 1;
    case Qt::RightButton:
      return 2;
    case Qt::MiddleButton:
      return 4;
    default:
      return 8;
  }
}

// The point "(x, y)" a search wrote; nullopt for a sentence.
std::optional<std::pair<double, double>> ReadPoint(const std::string& text) {
  double x = 0, y = 0;
  char close = 0;
  if (std::sscanf(text.c_str(), "(%lf, %lf%c", &x, &y, &close) != 3 || close != ')') return std::nullopt;
  return std::pair{x, y};
}

// The finite ends a domain text names: the bounds of "x > a", "x < b",
// "x >= a" and "x <= b"; none for "x is not equal to ..." or a sentence.
std::vector<double> DomainEnds(const std::string& text) {
  std::vector<double> ends;
  if (text.rfind("x ", 0) != 0 || text.find("not equal") != std::string::npos) return ends;
  std::size_t at = 0;
  while ((at = text.find("x ", at)) != std::string::npos) {
    std::size_t number = text.find(' ', at + 2);
    if (number == std::string::npos) break;
    ends.push_back(LeadingNumber(std::string_view(text).substr(number + 1)));
    at = number;
  }
  return ends;
}

}  // namespace

void frmMain::ConnectTools() {
  connect(cmdX, &QPushButton::clicked, this, &frmMain::cmdX_Click);
  connect(cmdY, &QPushButton::clicked, this, &frmMain::cmdY_Click);
  connect(btnViewTable, &QPushButton::clicked, this, &frmMain::btnViewTable_Click);
  txtX->installEventFilter(new FocusWatcher(txtX, [this] { txtX_GotFocus(); }));
  txtY->installEventFilter(new FocusWatcher(txtY, [this] { txtY_GotFocus(); }));
  const struct {
    const char* name;
    void (frmMain::*handler)();
  } actions[] = {{"mnuDomain", &frmMain::mnuDomain_Click}, {"mnuRange", &frmMain::mnuRange_Click},
                 {"mnuMin", &frmMain::mnuMin_Click},       {"mnuMax", &frmMain::mnuMax_Click},
                 {"mnuInt", &frmMain::mnuInt_Click},       {"mnuCopy", &frmMain::mnuCopy_Click},
                 {"mnuSlope", &frmMain::mnuSlope_Click},   {"mnuArea", &frmMain::mnuArea_Click}};
  for (const auto& a : actions) {
    if (auto* action = findChild<QAction*>(a.name)) connect(action, &QAction::triggered, this, a.handler);
  }
  connect(picQuad_, &GraphSurface::MousePressed, this,
          [this](Qt::MouseButton button, float x, float y) { picQuad_MouseDown(ButtonCode(button), 0, x, y); });
}

QString frmMain::EquationForTool() {
  const QString equation = SelectedEquation();
  if (equation.isEmpty()) {
    host_.MessageBox(this, kSelectEquation, MessageIcon::kError);
    return {};
  }
  // A tool would put x into a typo's variable ("tanx") and answer for y = x.
  if (const auto fault = FindEquationFault(equation.toStdString())) {
    host_.MessageBox(this, QString::fromStdString("This equation cannot plot: " + fault->message), MessageIcon::kError);
    return {};
  }
  return equation;
}

void frmMain::txtX_GotFocus() { txtY->setText("0"); }

void frmMain::txtY_GotFocus() { txtX->setText("0"); }

void frmMain::MarkFound(int row, const QString& equation, std::vector<Mark> marks) {
  // The row may have been edited or deleted while the tool searched: its
  // answers then belong to no row.
  if (row < 0 || static_cast<std::size_t>(row) >= Equations().Size() ||
      Equations().At(static_cast<std::size_t>(row)).expression != equation.toStdString())
    return;
  for (Mark& mark : marks) mark.equation = static_cast<std::size_t>(row);
  session_.AddMarks(marks);
}

void frmMain::cmdY_Click() {
  const QString equation = EquationForTool();
  if (equation.isEmpty()) return;
  const PointValue y = SolveForY(equation.toStdString(), txtX->text().toStdString());
  txtY->setText(QString::fromStdString(y.text));
  if (y.failed) {
    host_.MessageBox(this, "Unreal answer.", MessageIcon::kError);
    return;
  }
  MarkFound(SelectedRow(), equation, {{LeadingNumber(txtX->text().toStdString()), std::stod(y.text), 0}});
}

void frmMain::cmdX_Click() {
  const QString equation = EquationForTool();
  if (equation.isEmpty()) return;
  const float y0 = ReadTarget(txtY->text().toStdString());
  const bool high = optHigh->isChecked();
  const std::int16_t left = Window().xmin, right = Window().xmax;
  auto xs = std::make_shared<std::vector<float>>();
  const int row = SelectedRow();
  RunTool(
      [=, expression = equation.toStdString()](Progress& p) { *xs = SolveForX(expression, y0, left, right, high, &p); },
      [this, xs, y0, equation, row] {
        if (xs->empty()) {
          host_.MessageBox(this, "Out of range.", MessageIcon::kError);
          return;
        }
        txtX->setText(QString::fromStdString(JoinValues(*xs)));
        std::vector<Mark> marks;
        for (const float x : *xs) marks.push_back({x, y0, 0});
        MarkFound(row, equation, std::move(marks));
        // A long answer scrolls in its box; the log says how long it is.
        if (xs->size() > 100) {
          WriteLogResult("Get X: ",
                         QString("%1 values of x for y = %2, all in the x box")
                             .arg(xs->size())
                             .arg(QString::fromStdString(FormatSingle(y0))),
                         equation);
        }
      });
}

void frmMain::btnViewTable_Click() {
  if (EquationForTool().isEmpty()) return;
  // Modal, owned by the main window; shown without a nested event loop.
  auto* table = new frmIO(
      this, host_, [this] { return SelectedEquation(); }, Window().xmin, Window().xmax, Window().xstep);
  table->setModal(true);
  table->show();
}

// Runs a search whose answer is a line of the log, under the equation it
// was made for.
void frmMain::LogSearch(const QString& caption, const QString& equation, std::function<std::string(Progress&)> search,
                        std::function<void(const std::string&)> then) {
  auto answer = std::make_shared<std::string>();
  RunTool([answer, search = std::move(search)](Progress& p) { *answer = search(p); },
          [this, caption, equation, answer, then = std::move(then)] {
            WriteLogResult(caption, QString::fromStdString(*answer), equation);
            if (then) then(*answer);
          },
          false);
}

void frmMain::mnuDomain_Click() {
  const QString equation = EquationForTool();
  if (equation.isEmpty()) return;
  const std::int16_t left = Window().xmin, right = Window().xmax;
  const int row = SelectedRow();
  LogSearch(
      "Domain: ", equation,
      [left, right, expression = equation.toStdString()](Progress& p) {
        return FindDomain(expression, left, right, &p);
      },
      [this, row, equation](const std::string& answer) {
        // The finite ends ("x > -4 And x < 4") where f has a value there.
        std::vector<Mark> marks;
        for (const double x : DomainEnds(answer)) {
          const PointValue y = SolveForY(equation.toStdString(), FormatDouble(x));
          if (!y.failed) marks.push_back({x, std::stod(y.text), 0});
        }
        MarkFound(row, equation, std::move(marks));
      });
}

void frmMain::mnuRange_Click() {
  const QString equation = EquationForTool();
  if (equation.isEmpty()) return;
  const GraphWindow w = Window();
  LogSearch("Range: ", equation, [w, expression = equation.toStdString()](Progress& p) {
    return FindRange(expression, w.xmin, w.xmax, w.ymin, w.ymax, &p);
  });
}

void frmMain::FindExtremeCommand(bool minimum) {
  const QString equation = EquationForTool();
  if (equation.isEmpty()) return;
  std::array<std::int16_t, 2> bounds = {0, 0};
  const char* prompts[2] = {"Enter left bound: ", "Enter right bound: "};
  const char* refusals[2] = {"The left bound must lie between -32768 and 32767.",
                             "The right bound must lie between -32768 and 32767."};
  const QString caption = minimum ? "Minimum: " : "Maximum: ";
  for (int i = 0; i < 2; ++i) {
    const std::optional<QString> text = host_.InputBox(this, prompts[i], QString());
    if (!text) return;
    if (text->trimmed().isEmpty()) {
      WriteLogResult(caption, QString::fromStdString(EmptyBoundText(i == 0)), equation);
      return;
    }
    const auto bound = BoundFromText(text->toStdString());
    if (!bound) {
      host_.MessageBox(this, refusals[i], MessageIcon::kError);
      return;
    }
    bounds[i] = *bound;
  }
  const int row = SelectedRow();
  LogSearch(
      caption, equation,
      [bounds, minimum, expression = equation.toStdString()](Progress& p) {
        return FindExtreme(expression, bounds[0], bounds[1], minimum, &p);
      },
      [this, row, equation](const std::string& answer) {
        if (const auto point = ReadPoint(answer)) MarkFound(row, equation, {{point->first, point->second, 0}});
      });
}

void frmMain::mnuSlope_Click() {
  const QString equation = EquationForTool();
  if (equation.isEmpty()) return;
  const int row = SelectedRow();
  const std::string condition = Equations().At(static_cast<std::size_t>(row)).condition;
  auto result = std::make_shared<SlopeResult>();
  RunTool(
      [=, expression = equation.toStdString(), xText = txtX->text().toStdString()](Progress&) {
        *result = FindSlope(expression, condition, xText);
      },
      [this, result, row, equation] {
        if (!result->found) {
          host_.MessageBox(this, QString::fromStdString(result->text), MessageIcon::kError);
          return;
        }
        WriteLogResult(QString(), QString::fromStdString(result->text), equation);
        lastGraph_.tangent = Tangent{static_cast<std::size_t>(row), result->x, result->y, result->slope};
        ShowAnswers();
      },
      false);
}

void frmMain::mnuArea_Click() {
  const QString equation = EquationForTool();
  if (equation.isEmpty()) return;
  const int row = SelectedRow();
  std::array<std::string, 2> bounds;
  const char* prompts[2] = {"Enter left bound: ", "Enter right bound: "};
  for (int i = 0; i < 2; ++i) {
    const std::optional<QString> text = host_.InputBox(this, prompts[i], QString());
    if (!text) return;
    bounds[i] = text->toStdString();
  }
  const std::string condition = Equations().At(static_cast<std::size_t>(row)).condition;
  auto result = std::make_shared<AreaResult>();
  RunTool([=, expression = equation.toStdString()](
              Progress& p) { *result = FindArea(expression, condition, bounds[0], bounds[1], &p); },
          [this, result, row, equation] {
            WriteLogResult(QString(), QString::fromStdString(result->text), equation);
            if (!result->found) return;
            lastGraph_.area = AreaShade{static_cast<std::size_t>(row), result->from, result->to};
            ShowAnswers();
          });
}

void frmMain::MarkIntersections(int first, int second, const QString& a, const QString& b,
                                const std::vector<IntersectPoint>& points) {
  std::vector<Mark> marks;
  for (const IntersectPoint& p : points) marks.push_back({p.x, p.y, 0});
  MarkFound(first, a, marks);
  MarkFound(second, b, marks);
}

void frmMain::mnuMin_Click() { FindExtremeCommand(true); }

void frmMain::mnuMax_Click() { FindExtremeCommand(false); }

void frmMain::mnuInt_Click() {
  // Modeless and without owner; while it is open, Intersect brings the same
  // dialog back instead of filling a second one.
  // A closed dialog is on its way out (deleted once control returns to the event loop).
  if (!intSelect_ || !intSelect_->isVisible()) {
    QStringList equations;
    for (const Equation& e : Equations().Rows()) equations << QString::fromStdString(e.expression);
    intSelect_ = new frmIntSelect(host_, equations, [this] { return std::pair{Window().xmin, Window().xmax}; });
    connect(intSelect_, &frmIntSelect::Found, this, &frmMain::MarkIntersections);
  }
  intSelect_->show();
  intSelect_->raise();
  intSelect_->activateWindow();
}

void frmMain::mnuCopy_Click() { picQuad_MouseDown(2, 0, 0, 0); }

void frmMain::picQuad_MouseDown(int button, int, float x, float y) {
  if (button == 1) {
    // A click on a mark copies its point.
    if (const Mark* mark = MarkNear(picQuad_->ToPixel(x, y) / picQuad_->devicePixelRatioF())) {
      const QString point = QString::fromStdString("(" + FormatDouble(mark->x) + ", " + FormatDouble(mark->y) + ")");
      host_.SetClipboardText(point);
      ShowStatus("Copied " + point + ".");
    }
    return;
  }
  host_.SetClipboardImage(picQuad_->Image());
  host_.MessageBox(this, "Image copied to clipboard.", MessageIcon::kInformation);
}

}  // namespace cn
