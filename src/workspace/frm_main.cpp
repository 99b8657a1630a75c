#include "platform/named.h"
#include "workspace/frm_main.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QVBoxLayout>
#include <cmath>

#include "controls/styled_progress_bar.h"
#include "core/number_text.h"
#include "curvenest_version.h"
#include "engine/cls_expr_parser.h"
#include "equations/equation_text.h"
#include "equations/frm_equ.h"
#include "equations/mod_color.h"
#include "output/frm_about.h"
#include "output/frm_print.h"
#include "output/program_picture.h"
#include "stats/frm_table.h"
#include "platform/host.h"
#include "workspace/graph_surface.h"
#include "workspace/menu_images.h"
#include "analysis/sweeps.h"

namespace cn {

namespace {

constexpr int kSurfaceSize = 481;  // odd, so that the centre falls on a pixel

QString Text(const std::string& s) { return QString::fromStdString(s); }
std::string Std(const QString& s) { return s.toStdString(); }

QColor FromPacked(std::uint32_t packed) {
  return QColor(static_cast<int>(packed & 0xFF), static_cast<int>((packed >> 8) & 0xFF),
                static_cast<int>((packed >> 16) & 0xFF));
}

QGroupBox* Frame(const QString& caption, const QString& name) {
  auto* box = new QGroupBox(caption);
  box->setObjectName(name);
  return box;
}

}  // namespace

frmMain::frmMain(Host& host, QWidget* parent) : QMainWindow(parent), host_(host) {
  setObjectName("frmMain");
  setWindowTitle(kProgramTitle);
  setWindowIcon(QIcon(QPixmap::fromImage(ProgramPicture(64))));
  BuildWindow();
  BuildMenus();
  // Form_Load: the empty plane for the default window, then the caption.
  DrawAxis();
  setWindowTitle(QString("%1 Version %2 Build %3").arg(kProgramTitle).arg(kVersionMajor).arg(kVersionBuild));
  ConnectTools();
}

frmMain::~frmMain() { delete table_; }

void frmMain::BuildWindow() {
  auto* central = new QWidget(this);
  central->setObjectName("frmMainBackground");
  central->setMouseTracking(true);
  central->installEventFilter(this);
  setCentralWidget(central);

  // Info log.
  QGroupBox* fraInfo = Frame("  Info Log  ", "fraInfo");
  txtInfo = Named(new QPlainTextEdit, "txtInfo");
  txtInfo->setReadOnly(true);
  txtInfo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  txtInfo->setLineWrapMode(QPlainTextEdit::NoWrap);
  QFont courier("Courier");
  courier.setStyleHint(QFont::Courier);
  courier.setFixedPitch(true);
  courier.setPointSize(12);
  if (!QFontInfo(courier).fixedPitch()) courier = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  courier.setPointSize(12);
  txtInfo->setFont(courier);
  btnClear = Named(new QPushButton("Clear"), "btnClear");
  auto* infoLayout = new QVBoxLayout(fraInfo);
  infoLayout->addWidget(txtInfo);
  infoLayout->addWidget(btnClear, 0, Qt::AlignRight);

  // Input and output.
  QGroupBox* fraIO = Frame("  Input && Output  ", "fraIO");
  txtX = Named(new QLineEdit("0"), "txtX");
  txtX->setToolTip("Specify an X value and click go to get the Y value.");
  txtY = Named(new QLineEdit("0"), "txtY");
  txtY->setToolTip("Specify a Y value and click go to get X.");
  cmdX = Named(new QPushButton("Get X"), "cmdX");
  cmdY = Named(new QPushButton("Get Y"), "cmdY");
  optLow = Named(new QRadioButton("Low"), "optLow");
  optHigh = Named(new QRadioButton("High"), "optHigh");
  optHigh->setChecked(true);
  btnViewTable = Named(new QPushButton("View All"), "btnViewTable");
  auto* ioLayout = new QGridLayout(fraIO);
  ioLayout->addWidget(new QLabel("x ="), 0, 0);
  ioLayout->addWidget(txtX, 0, 1);
  ioLayout->addWidget(cmdX, 0, 2);
  ioLayout->addWidget(new QLabel("y ="), 1, 0);
  ioLayout->addWidget(txtY, 1, 1);
  ioLayout->addWidget(cmdY, 1, 2);
  auto* precision = new QHBoxLayout;
  precision->addWidget(optLow);
  precision->addWidget(optHigh);
  precision->addStretch();
  precision->addWidget(btnViewTable);
  ioLayout->addLayout(precision, 2, 0, 1, 3);

  // Equations.
  QGroupBox* fraEqu = Frame("  Equations  ", "fraEqu");
  lstEqu = Named(new QListWidget, "lstEqu");
  lstEqu->setToolTip("Double-click to edit.");
  lstCondition = Named(new QListWidget, "lstCondition");
  lstCondition->setToolTip("List of IFs for the selected equation. Double-click to edit.");
  lstColor = Named(new QListWidget(fraEqu), "lstColor");
  lstColor->hide();
  picColor = Named(new QFrame, "picColor");
  picColor->setToolTip("The color of the selected equation.");
  picColor->setFrameShape(QFrame::Box);
  picColor->setFixedSize(40, 20);
  picColor->setAutoFillBackground(true);
  picColor->installEventFilter(this);
  SetSwatch(palette().color(QPalette::Button));
  btnAdd = Named(new QPushButton("Enter Equation"), "btnAdd");
  btnDelete = Named(new QPushButton("Delete"), "btnDelete");
  btnGraph = Named(new QPushButton("Graph (F4)"), "btnGraph");
  auto* equLayout = new QGridLayout(fraEqu);
  equLayout->addWidget(new QLabel("f(x) ="), 0, 0);
  equLayout->addWidget(new QLabel("Conditions"), 0, 1);
  equLayout->addWidget(lstEqu, 1, 0);
  equLayout->addWidget(lstCondition, 1, 1);
  equLayout->setColumnStretch(0, 3);
  equLayout->setColumnStretch(1, 2);
  auto* colorRow = new QHBoxLayout;
  colorRow->addWidget(new QLabel("Color"));
  colorRow->addWidget(picColor);
  colorRow->addStretch();
  equLayout->addLayout(colorRow, 2, 0, 1, 2);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(btnAdd);
  buttons->addWidget(btnDelete);
  buttons->addWidget(btnGraph);
  equLayout->addLayout(buttons, 3, 0, 1, 2);

  // Graph settings.
  QGroupBox* fraGraph = Frame("  Graph Settings  ", "fraGraph");
  auto* graphLayout = new QGridLayout(fraGraph);
  struct Box { QLineEdit** box; const char* name; const char* text; const char* label; int row, col; };
  const Box boxes[] = {{&txtXMin, "txtXMin", "-10", "XMin", 0, 0}, {&txtXMax, "txtXMax", "10", "XMax", 0, 2},
                       {&txtYMin, "txtYMin", "-10", "YMin", 1, 0}, {&txtYMax, "txtYMax", "10", "YMax", 1, 2},
                       {&txtYStep, "txtYStep", "1", "YStep", 2, 2}, {&txtXStep, "txtXStep", "1", "XStep", 2, 0}};
  for (const Box& b : boxes) {
    *b.box = Named(new QLineEdit(b.text), b.name);
    (*b.box)->setMaximumWidth(70);
    graphLayout->addWidget(new QLabel(b.label), b.row, b.col);
    graphLayout->addWidget(*b.box, b.row, b.col + 1);
  }
  chkEqu = Named(new QCheckBox("Write equations on graph"), "chkEqu");
  chkEqu->setChecked(true);
  graphLayout->addWidget(chkEqu, 3, 0, 1, 4);

  // The drawing surface with its readout and progress bar.
  lblCoord = Named(new QLabel("(0, 0)"), "lblCoord");
  picQuad_ = Named(new GraphSurface, "picQuad");
  picQuad_->setFixedSize(kSurfaceSize, kSurfaceSize);
  prog = Named(new StyledProgressBar(nullptr), "prog");
  prog->setFixedHeight(14);
  prog->UseSweepLook(/*showText=*/false);
  imgPay = Named(new QLabel, "imgPay");
  imgPay->setPixmap(BuyNowImage());
  imgPay->setFixedSize(147, 47);
  imgPay->setCursor(Qt::PointingHandCursor);
  imgPay->setToolTip("Buy for $10");
  imgPay->installEventFilter(this);

  auto* left = new QVBoxLayout;
  left->addWidget(fraEqu, 3);
  left->addWidget(fraIO);
  left->addWidget(fraGraph);
  left->addWidget(fraInfo, 2);
  left->addWidget(imgPay, 0, Qt::AlignLeft);
  auto* right = new QVBoxLayout;
  right->addWidget(lblCoord);
  right->addWidget(picQuad_);
  right->addWidget(prog);
  right->addStretch();
  auto* top = new QHBoxLayout(central);
  top->addLayout(left, 1);
  top->addLayout(right, 0);

  connect(btnAdd, &QPushButton::clicked, this, &frmMain::btnAdd_Click);
  connect(btnClear, &QPushButton::clicked, this, &frmMain::btnClear_Click);
  connect(btnDelete, &QPushButton::clicked, this, &frmMain::btnDelete_Click);
  connect(btnGraph, &QPushButton::clicked, this, &frmMain::mnuGraph_Click);
  connect(lstEqu, &QListWidget::currentRowChanged, this, [this] { lstEqu_Click(); });
  connect(lstCondition, &QListWidget::currentRowChanged, this, [this] { lstCondition_Click(); });
  connect(lstEqu, &QListWidget::itemDoubleClicked, this, [this] { lstEqu_DblClick(); });
  connect(lstCondition, &QListWidget::itemDoubleClicked, this, [this] { lstCondition_DblClick(); });
  connect(picQuad_, &GraphSurface::MouseMoved, this, &frmMain::picQuad_MouseMove);
}

QAction* frmMain::AddMenuItem(QMenu* menu, const QString& caption, const QString& name, int imageIndex,
                              Qt::Key shortcut) {
  QAction* action = menu->addAction(QIcon(MenuImage(imageIndex)), caption);
  action->setObjectName(name);
  if (shortcut != Qt::Key_unknown) action->setShortcut(QKeySequence(shortcut));
  return action;
}

void frmMain::BuildMenus() {
  QMenu* mnuFile = menuBar()->addMenu("File");
  mnuFile->setObjectName("mnuFile");
  AddMenuItem(mnuFile, "Copy Graph", "mnuCopy", 7);
  connect(AddMenuItem(mnuFile, "Print", "mnuPrint", 8), &QAction::triggered, this, &frmMain::mnuPrint_Click);
  connect(AddMenuItem(mnuFile, "Exit", "mnuExit", 9), &QAction::triggered, this, &frmMain::mnuExit_Click);

  QMenu* mnuTools = menuBar()->addMenu("Tools");
  mnuTools->setObjectName("mnuTools");
  connect(AddMenuItem(mnuTools, "Graph", "mnuGraph", 0, Qt::Key_F4), &QAction::triggered, this,
          &frmMain::mnuGraph_Click);
  connect(AddMenuItem(mnuTools, "Stat Plot/Regression", "mnuTable", 1, Qt::Key_F5), &QAction::triggered, this,
          &frmMain::mnuTable_Click);
  AddMenuItem(mnuTools, "Intersect", "mnuInt", 2, Qt::Key_F6);
  AddMenuItem(mnuTools, "Get Domain", "mnuDomain", 3, Qt::Key_F7);
  AddMenuItem(mnuTools, "Get Range", "mnuRange", 4, Qt::Key_F8);
  AddMenuItem(mnuTools, "Get Minimum", "mnuMin", 5, Qt::Key_F9);
  AddMenuItem(mnuTools, "Get Maximum", "mnuMax", 6, Qt::Key_F11);

  QMenu* mnuAbout = menuBar()->addMenu("About");
  mnuAbout->setObjectName("mnuAbout");
  connect(AddMenuItem(mnuAbout, "About", "mnuAbout2", 10), &QAction::triggered, this, &frmMain::mnuAbout2_Click);
  connect(AddMenuItem(mnuAbout, "Buy for $10", "mnuBuy", 11), &QAction::triggered, this, &frmMain::mnuBuy_Click);
}

Progress& frmMain::ProgressBar() { return *prog; }

bool frmMain::ReadBound(QLineEdit* box, const QString& label, std::int16_t& value) {
  const double rounded = RoundHalfEven(LeadingNumber(Std(box->text())));
  const auto v = ToInt16(rounded);
  if (!v) {
    host_.MessageBox(this, QString("%1 must lie between -32768 and 32767.").arg(label), MessageIcon::kError);
    return false;
  }
  value = *v;
  return true;
}

bool frmMain::DrawAxis() {
  std::int16_t x1 = 0, x2 = 0, y1 = 0, y2 = 0;
  if (!ReadBound(txtXMin, "XMin", x1) || !ReadBound(txtXMax, "XMax", x2) || !ReadBound(txtYMin, "YMin", y1) ||
      !ReadBound(txtYMax, "YMax", y2))
    return false;
  if (x1 == x2) {
    host_.MessageBox(this, "XMin and XMax must differ.", MessageIcon::kError);
    return false;
  }
  // A reversed window would draw an empty plane or a graph upside down.
  if (x1 > x2) {
    host_.MessageBox(this, "XMin must be less than XMax.", MessageIcon::kError);
    return false;
  }
  if (y1 == y2) {
    host_.MessageBox(this, "YMin and YMax must differ.", MessageIcon::kError);
    return false;
  }
  if (y1 > y2) {
    host_.MessageBox(this, "YMin must be less than YMax.", MessageIcon::kError);
    return false;
  }
  xmin = x1;
  xmax = x2;
  ymin = y1;
  ymax = y2;
  ystep = static_cast<float>(LeadingNumber(Std(txtYStep->text())));
  xstep = static_cast<float>(LeadingNumber(Std(txtXStep->text())));

  GraphSurface& s = *picQuad_;
  s.Cls();
  s.SetDrawWidth(1);
  s.SetForeColor(0);
  s.SetScale(xmin, ymax, xmax, ymin);
  s.Line(xmin, 0, xmax, 0);
  s.Line(0, ymax, 0, ymin);

  // A label is centred on its plain text and printed in the numeric print
  // form: a blank before a value that is not negative, a blank after.
  const auto printForm = [](float v, const QString& plain) { return (v < 0 ? "" : " ") + plain + " "; };
  SingleSweep ys(static_cast<float>(ymin), static_cast<float>(ymax), ystep, SingleSweep::Stall::kEnd);
  for (float y = 0; ys.Next(y);) {
    s.Line(0.2, y, -0.2, y);
    const QString plain = Text(FormatSingle(y));
    const double h = s.TextHeight(plain);
    s.SetCurrentX(0.3);
    s.SetCurrentY(y - h / 2);
    s.Print(printForm(y, plain));
  }
  SingleSweep xs(static_cast<float>(xmin), static_cast<float>(xmax), xstep, SingleSweep::Stall::kEnd);
  for (float x = 0; xs.Next(x);) {
    s.Line(x, 0.2, x, -0.2);
    const QString plain = Text(FormatSingle(x));
    const double w = s.TextWidth(plain);
    s.SetCurrentX(x - w / 2);
    s.SetCurrentY(-0.3);
    s.Print(printForm(x, plain));
  }
  s.update();
  return true;
}

void frmMain::mnuGraph_Click() {
  if (!DrawAxis()) return;
  GraphSurface& s = *picQuad_;
  s.SetDrawWidth(2);
  PlotProgress progress = MakePlotProgress(xmin, xmax);
  prog->Max(progress.max);
  clsExprParser parser;
  for (int i = 0; i < lstEqu->count(); ++i) {
    const std::uint32_t color = lstColor->item(i)->text().toUInt();
    s.SetForeColor(color);
    const Condition condition = ParseCondition(Std(lstCondition->item(i)->text()));
    PlotEquation(parser, Std(lstEqu->item(i)->text()), condition, xmin, xmax, progress, prog,
                 [&s](float x, float y) { s.PSet(x, y); });
  }
  // The stat plot: the statistics window's points as large red dots over the
  // curves. A window that was never shown has no points.
  s.SetDrawWidth(7);
  if (table_ && table_->StatPlotShown()) {
    s.SetForeColor(255);
    for (const auto& [x, y] : table_->StatPoints()) s.PSet(x, y);
  }
  prog->Value(0);
  if (chkEqu->isChecked()) {
    const double line = std::fabs(s.TextHeight(QString()));
    double y = ymax;
    for (int k = 0; k < lstEqu->count(); ++k) {
      y = EquationTextY(k, ymax, y, line);
      s.SetForeColor(lstColor->item(k)->text().toUInt());
      s.SetCurrentX(xmin);
      s.SetCurrentY(y);
      s.Print(lstEqu->item(k)->text());
    }
  }
  s.update();
}

void frmMain::btnAdd_Click() {
  // Modeless and owned by the main window; one dialog at a time.
  if (!equ_) {
    equ_ = new frmEqu(this, host_, [this](const QString& expression, const QString& condition, std::uint32_t color) {
      AppendEquation(expression, condition, color);
    });
  }
  equ_->show();
  equ_->raise();
  equ_->activateWindow();
}

QWidget* frmMain::StatisticsWindow() const { return table_.data(); }

void frmMain::mnuTable_Click() {
  // Modeless and without owner; its OK only hides it, so its points live on.
  if (!table_) {
    table_ = new frmTable(host_, [this](const QString& expression, const QString& condition, std::uint32_t color) {
      AppendEquation(expression, condition, color);
    });
  }
  table_->show();
  table_->raise();
  table_->activateWindow();
}

void frmMain::AppendEquation(const QString& expression, const QString& condition, std::uint32_t color) {
  lstEqu->addItem(expression);
  lstCondition->addItem(condition);
  lstColor->addItem(QString::number(color));
  lstEqu->setCurrentRow(lstEqu->count() - 1);
  lstEqu_Click();
}

QString frmMain::SelectedEquation() const { return HasSelection() ? lstEqu->currentItem()->text() : QString(); }

void frmMain::SetSwatch(const QColor& color) {
  QPalette pal = picColor->palette();
  pal.setColor(QPalette::Window, color);
  picColor->setPalette(pal);
}

void frmMain::SetSwatchFromRow() {
  QListWidgetItem* item = lstColor->currentItem();
  if (item) SetSwatch(FromPacked(item->text().toUInt()));
}

void frmMain::lstEqu_Click() {
  const int row = lstEqu->currentRow();
  {
    const QSignalBlocker a(lstColor), b(lstCondition);
    lstColor->setCurrentRow(row);
    lstCondition->setCurrentRow(row);
  }
  SetSwatchFromRow();
}

void frmMain::lstCondition_Click() {
  const int row = lstCondition->currentRow();
  {
    const QSignalBlocker a(lstEqu), b(lstColor);
    lstEqu->setCurrentRow(row);
    lstColor->setCurrentRow(lstEqu->currentRow());
  }
  SetSwatchFromRow();
}

void frmMain::btnDelete_Click() {
  if (!HasSelection()) {
    host_.MessageBox(this, "Really!? Select an equation to delete first. Use your brainular knowledge!",
                     MessageIcon::kError);
    return;
  }
  {
    const QSignalBlocker a(lstEqu), b(lstCondition), c(lstColor);
    delete lstEqu->takeItem(lstEqu->currentRow());
    delete lstCondition->takeItem(lstCondition->currentRow());
    delete lstColor->takeItem(lstColor->currentRow());
    for (QListWidget* list : {lstEqu, lstCondition, lstColor}) {
      list->setCurrentRow(-1);
      list->clearSelection();
    }
  }
  SetSwatch(palette().color(QPalette::Button));
}

void frmMain::lstEqu_DblClick() {
  QListWidgetItem* item = lstEqu->currentItem();
  if (!item) return;
  const auto text = host_.InputBox(this, "Fix the equation: ", item->text());
  if (!text) return;
  // As in the equation dialog: a text that can never plot keeps the old one.
  if (const auto fault = FindEquationFault(text->toStdString())) {
    host_.MessageBox(this, QString::fromStdString(fault->message), MessageIcon::kError);
    return;
  }
  item->setText(*text);
}

void frmMain::lstCondition_DblClick() {
  QListWidgetItem* item = lstCondition->currentItem();
  if (!item) return;
  if (auto text = host_.InputBox(this, "Fix the condition: ", item->text())) item->setText(*text);
}

bool frmMain::HasSelection() const {
  QListWidgetItem* item = lstEqu->currentItem();
  return item && item->isSelected();
}

void frmMain::picColor_Click() {
  if (!HasSelection() || !lstColor->currentItem()) return;
  bool accepted = false;
  const std::uint32_t color = ShowColorChooser(host_, this, accepted, lstColor->currentItem()->text().toUInt());
  if (color == 0) return;
  SetSwatch(FromPacked(color));
  lstColor->currentItem()->setText(QString::number(color));
}

void frmMain::btnClear_Click() {
  txtInfo->clear();
  LastLoggedEquation.clear();
}

void frmMain::WriteLogHeader() {
  const QString equation = SelectedEquation();
  if (equation == LastLoggedEquation) return;
  LastLoggedEquation = equation;
  const QString crlf = "\r\n";
  QString header = crlf + equation + crlf + QString(equation.size(), '-') + crlf + crlf;
  txtInfo->moveCursor(QTextCursor::End);
  txtInfo->insertPlainText(header);
}

void frmMain::WriteLogResult(const QString& caption, const QString& result) {
  WriteLogHeader();
  txtInfo->moveCursor(QTextCursor::End);
  txtInfo->insertPlainText(caption + result + "\r\n");
  txtInfo->moveCursor(QTextCursor::End);
  txtInfo->verticalScrollBar()->setValue(txtInfo->verticalScrollBar()->maximum());
}

void frmMain::mnuBuy_Click() { host_.OpenUrl(kPaymentUrl); }

void frmMain::mnuPrint_Click() {
  frmPrint dialog(this, host_, picQuad_->Image());
  dialog.exec();
}

void frmMain::mnuAbout2_Click() {
  frmAbout dialog(this);
  dialog.exec();
}

void frmMain::mnuExit_Click() {
  // Ends the program at once: no question, nothing saved.
  QApplication::closeAllWindows();
  QApplication::exit(0);
}

void frmMain::picQuad_MouseMove(Qt::MouseButtons, Qt::KeyboardModifiers, float x, float y) {
  if (CrosshairHidden) {
    picQuad_->SetCrosshairVisible(true);
    CrosshairHidden = false;
  }
  const auto rounded = [](float v) { return Text(FormatSingle(static_cast<float>(RoundHalfEven(v, 3)))); };
  lblCoord->setText("(" + rounded(x) + ", " + rounded(y) + ")");
  picQuad_->MoveCrosshair(x, y);
}

void frmMain::Form_MouseMove() {
  if (!CrosshairHidden) {
    picQuad_->SetCrosshairVisible(false);
    CrosshairHidden = true;
  }
}

void frmMain::closeEvent(QCloseEvent* event) {
  // Form_Unload: the statistics window has no owner and would stay open.
  if (table_) table_->close();
  QMainWindow::closeEvent(event);
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonPress) {
    if (watched == picColor) {
      picColor_Click();
      return true;
    }
    if (watched == imgPay) {
      mnuBuy_Click();
      return true;
    }
  } else if (event->type() == QEvent::MouseMove && watched == centralWidget()) {
    Form_MouseMove();
  }
  return QMainWindow::eventFilter(watched, event);
}

}  // namespace cn
