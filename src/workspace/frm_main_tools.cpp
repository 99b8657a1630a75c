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
#include <functional>

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
                 {"mnuInt", &frmMain::mnuInt_Click},       {"mnuCopy", &frmMain::mnuCopy_Click}};
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

void frmMain::cmdY_Click() {
  const QString equation = EquationForTool();
  if (equation.isEmpty()) return;
  const PointValue y = SolveForY(equation.toStdString(), txtX->text().toStdString());
  txtY->setText(QString::fromStdString(y.text));
  if (y.failed) host_.MessageBox(this, "Unreal answer.", MessageIcon::kError);
}

void frmMain::cmdX_Click() {
  const QString equation = EquationForTool();
  if (equation.isEmpty()) return;
  const float y0 = ReadTarget(txtY->text().toStdString());
  std::vector<float> xs;
  const bool high = optHigh->isChecked();
  const std::int16_t left = xmin, right = xmax;
  if (!RunStoppable(
          [&](Progress& progress) { xs = SolveForX(equation.toStdString(), y0, left, right, high, &progress); }))
    return;  // stopped: nothing reported, nothing written
  if (xs.empty()) {
    host_.MessageBox(this, "Out of range.", MessageIcon::kError);
    return;
  }
  txtX->setText(QString::fromStdString(JoinValues(xs)));
  // A long answer scrolls in its box; the log says how long it is.
  if (xs.size() > 100) {
    WriteLogResult("Get X: ",
                   QString("%1 values of x for y = %2, all in the x box")
                       .arg(xs.size())
                       .arg(QString::fromStdString(FormatSingle(y0))),
                   equation);
  }
}

void frmMain::btnViewTable_Click() {
  if (EquationForTool().isEmpty()) return;
  // Modal, owned by the main window; shown without a nested event loop.
  auto* table = new frmIO(
      this, host_, [this] { return SelectedEquation(); }, xmin, xmax, xstep);
  table->setModal(true);
  table->show();
}

void frmMain::mnuDomain_Click() {
  const QString equation = EquationForTool();
  if (equation.isEmpty()) return;
  std::string domain;
  const std::int16_t left = xmin, right = xmax;
  if (!RunStoppable([&](Progress& p) { domain = FindDomain(equation.toStdString(), left, right, &p); }, false)) return;
  WriteLogResult("Domain: ", QString::fromStdString(domain), equation);
}

void frmMain::mnuRange_Click() {
  const QString equation = EquationForTool();
  if (equation.isEmpty()) return;
  std::string range;
  const GraphWindow w = Window();
  if (!RunStoppable([&](Progress& p) { range = FindRange(equation.toStdString(), w.xmin, w.xmax, w.ymin, w.ymax, &p); },
                    false))
    return;
  WriteLogResult("Range: ", QString::fromStdString(range), equation);
}

void frmMain::FindExtremeCommand(bool minimum) {
  const QString equation = EquationForTool();
  if (equation.isEmpty()) return;
  std::int16_t bounds[2] = {0, 0};
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
  std::string extreme;
  if (!RunStoppable(
          [&](Progress& p) { extreme = FindExtreme(equation.toStdString(), bounds[0], bounds[1], minimum, &p); },
          false))
    return;
  WriteLogResult(caption, QString::fromStdString(extreme), equation);
}

void frmMain::mnuMin_Click() { FindExtremeCommand(true); }

void frmMain::mnuMax_Click() { FindExtremeCommand(false); }

void frmMain::mnuInt_Click() {
  // Modeless and without owner; while it is open, Intersect brings the same
  // dialog back instead of filling a second one.
  // A closed dialog is on its way out (deleted once control returns to the event loop).
  if (!intSelect_ || !intSelect_->isVisible()) {
    QStringList equations;
    for (int i = 0; i < lstEqu->count(); ++i) equations << lstEqu->item(i)->text();
    intSelect_ = new frmIntSelect(host_, equations, [this] { return std::pair{xmin, xmax}; });
  }
  intSelect_->show();
  intSelect_->raise();
  intSelect_->activateWindow();
}

void frmMain::mnuCopy_Click() { picQuad_MouseDown(2, 0, 0, 0); }

void frmMain::picQuad_MouseDown(int button, int, float, float) {
  if (button == 1) return;
  host_.SetClipboardImage(picQuad_->Image());
  host_.MessageBox(this, "Image copied to clipboard.", MessageIcon::kInformation);
}

}  // namespace cn
