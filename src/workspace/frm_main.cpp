#include "workspace/frm_main.h"
#include "platform/named.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QResizeEvent>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QShortcut>
#include <QToolTip>
#include <QUndoStack>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <limits>

#include "controls/mnemonics.h"
#include "controls/styled_progress_bar.h"
#include "controls/text_list_model.h"
#include "core/number_text.h"
#include "curvenest_version.h"
#include "engine/cls_expr_parser.h"
#include "equations/equation_text.h"
#include "equations/frm_equ.h"
#include "equations/mod_color.h"
#include "output/frm_about.h"
#include "output/frm_print.h"
#include "output/program_picture.h"
#include "platform/color.h"
#include "platform/host.h"
#include "stats/frm_table.h"
#include "workspace/graph_painter.h"
#include "workspace/graph_surface.h"
#include "workspace/jobs/graph_job.h"
#include "workspace/jobs/tool_job.h"
#include "workspace/menu_images.h"
#include "workspace/workspace_file.h"
#include "workspace/document_state.h"

namespace cn {

namespace {

// Where the settings keep the window's place and size.
constexpr auto kPlacementKey = QLatin1StringView("mainWindow/geometry");
constexpr int kSurfaceSize = 481;  // odd, so that the centre falls on a pixel
constexpr int kSmallestSurface = 160;

QString Text(const std::string& s) { return QString::fromStdString(s); }
std::string Std(const QString& s) { return s.toStdString(); }

QGroupBox* Frame(const QString& caption, const QString& name) {
  auto* box = new QGroupBox(caption);
  box->setObjectName(name);
  return box;
}

// The space right of the controls: the readout on top, below it the square
// plane as large as fits, and under the plane the progress bar with its
// Cancel button. Before the window is first laid out the plane keeps its
// default size.
class PlaneArea : public QWidget {
 public:
  PlaneArea(QLabel* readout, GraphSurface* plane, QWidget* progressRow)
      : readout_(readout), plane_(plane), progressRow_(progressRow) {
    setObjectName("planeArea");
    for (QWidget* w : {static_cast<QWidget*>(readout), static_cast<QWidget*>(plane), progressRow}) w->setParent(this);
    plane_->resize(kSurfaceSize, kSurfaceSize);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  }
  QSize sizeHint() const override { return {kSurfaceSize, Header() + kSurfaceSize + Footer()}; }
  QSize minimumSizeHint() const override { return {kSmallestSurface, Header() + kSmallestSurface + Footer()}; }

 protected:
  void resizeEvent(QResizeEvent* event) override {
    QWidget::resizeEvent(event);
    const int side = std::max(1, std::min(width(), height() - Header() - Footer()));
    readout_->setGeometry(0, 0, width(), readout_->sizeHint().height());
    plane_->setGeometry(0, Header(), side, side);
    progressRow_->setGeometry(0, Header() + side + kGap, side, progressRow_->sizeHint().height());
  }

 private:
  static constexpr int kGap = 4;
  int Header() const { return readout_->sizeHint().height() + kGap; }
  int Footer() const { return kGap + progressRow_->sizeHint().height(); }

  QLabel* readout_;
  GraphSurface* plane_;
  QWidget* progressRow_;
};

// One step of Edit > Undo: the workspace before and after a change. The
// change has happened when the step is pushed, so the first redo does nothing.
class SessionStep : public QUndoCommand {
 public:
  using Restore = std::function<void(const SessionState&)>;
  SessionStep(const ChangeName& name, SessionState before, SessionState after, Restore restore)
      : QUndoCommand(Text(name.text)),
        key_(name.mergeKey),
        before_(std::move(before)),
        after_(std::move(after)),
        restore_(std::move(restore)) {}
  void undo() override { restore_(before_); }
  void redo() override {
    if (pushed_) restore_(after_);
    pushed_ = true;
  }
  int id() const override { return key_; }
  bool mergeWith(const QUndoCommand* other) override {
    const auto* next = static_cast<const SessionStep*>(other);
    after_ = next->after_;
    return true;
  }

 private:
  int key_;
  bool pushed_ = false;
  SessionState before_, after_;
  Restore restore_;
};

}  // namespace

frmMain::frmMain(Host& host, QWidget* parent, QSettings* settings)
    : QMainWindow(parent), host_(host), settings_(settings) {
  setObjectName("frmMain");
  if (!settings_) settings_ = new QSettings(QSettings::UserScope, kProgramTitle, kProgramTitle, this);
  setWindowTitle(kProgramTitle);
  setWindowIcon(QIcon(QPixmap::fromImage(ProgramPicture(64))));
  undo_ = new QUndoStack(this);
  // Undoing back to the saved state clears the caption's mark, redoing sets it.
  connect(undo_, &QUndoStack::cleanChanged, this, &frmMain::UpdateCaption);
  BuildWindow();
  BuildMenus();
  session_.AddListener([this](SessionChange change) { SessionChanged(change); });
  undoState_ = session_.State();
  // Form_Load: the empty plane for the default window, then the caption.
  DrawAxis();
  programCaption_ = QString("%1 Version %2 Build %3").arg(kProgramTitle).arg(kVersionMajor).arg(kVersionBuild);
  UpdateCaption();
  ConnectTools();
  // What the user types goes to the session at once; its listener moves the
  // unsaved mark.
  const std::pair<QLineEdit*, WindowBox> boxes[] = {
      {txtXMin, WindowBox::kXMin}, {txtXMax, WindowBox::kXMax},   {txtYMin, WindowBox::kYMin},
      {txtYMax, WindowBox::kYMax}, {txtYStep, WindowBox::kYStep}, {txtXStep, WindowBox::kXStep}};
  for (const auto& [box, which] : boxes) {
    connect(box, &QLineEdit::textChanged, this, [this, which](const QString& text) {
      if (!showing_) session_.SetWindowText(which, Std(text));
    });
  }
  connect(chkEqu, &QCheckBox::toggled, this, [this](bool on) {
    if (!showing_) session_.SetWriteEquations(on);
  });
}

frmMain::~frmMain() {
  // The stack goes with the children, after the session: it must not call back.
  disconnect(undo_, nullptr, this, nullptr);
  delete table_;
}

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
  // Get X's answer on a wide window runs past Qt's default 32767 characters.
  txtX->setMaxLength(std::numeric_limits<int>::max());
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
  const auto rows = [this] { return static_cast<int>(Equations().Size()); };
  equationRows_ = new TextListModel(
      rows, [this](int row) { return Text(Equations().At(static_cast<std::size_t>(row)).expression); }, this);
  conditionRows_ = new TextListModel(
      rows, [this](int row) { return Text(Equations().At(static_cast<std::size_t>(row)).condition); }, this);
  lstEqu = Named(new QListView, "lstEqu");
  lstEqu->setModel(equationRows_);
  lstEqu->setToolTip("Double-click to edit.");
  lstCondition = Named(new QListView, "lstCondition");
  lstCondition->setModel(conditionRows_);
  lstCondition->setToolTip("List of IFs for the selected equation. Double-click to edit.");
  for (QListView* list : {lstEqu, lstCondition}) {
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setUniformItemSizes(true);
  }
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
  struct Box {
    QLineEdit** box;
    const char* name;
    const char* text;
    const char* label;
    int row, col;
  };
  const Box boxes[] = {{&txtXMin, "txtXMin", "-10", "XMin", 0, 0},  {&txtXMax, "txtXMax", "10", "XMax", 0, 2},
                       {&txtYMin, "txtYMin", "-10", "YMin", 1, 0},  {&txtYMax, "txtYMax", "10", "YMax", 1, 2},
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
  prog = Named(new StyledProgressBar(nullptr), "prog");
  prog->setFixedHeight(14);
  prog->UseSweepLook(/*showText=*/false);
  btnCancelGraph = Named(new QPushButton("Cancel"), "btnCancelGraph");
  btnCancelGraph->setToolTip("Stop drawing the graph (Esc).");
  btnCancelGraph->setEnabled(false);
  auto* progressRow = new QWidget;
  auto* progressLayout = new QHBoxLayout(progressRow);
  progressLayout->setContentsMargins(0, 0, 0, 0);
  progressLayout->addWidget(prog, 1, Qt::AlignVCenter);
  progressLayout->addWidget(btnCancelGraph);
  lblStatus = Named(new QLabel, "lblStatus");
  // A long line must not widen the plane's column; it shows when it has words.
  lblStatus->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  lblStatus->hide();
  progressLayout->addWidget(lblStatus, 1);
  auto* planeArea = new PlaneArea(lblCoord, picQuad_, progressRow);
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
  auto* top = new QHBoxLayout(central);
  top->addLayout(left, 0);
  top->addWidget(planeArea, 1);

  connect(btnAdd, &QPushButton::clicked, this, &frmMain::btnAdd_Click);
  connect(btnClear, &QPushButton::clicked, this, &frmMain::btnClear_Click);
  connect(btnDelete, &QPushButton::clicked, this, &frmMain::btnDelete_Click);
  connect(btnGraph, &QPushButton::clicked, this, &frmMain::mnuGraph_Click);
  connect(lstEqu->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] { lstEqu_Click(); });
  connect(lstCondition->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this] { lstCondition_Click(); });
  // A click on the empty part of one list leaves no row selected in either.
  for (QListView* list : {lstEqu, lstCondition}) {
    connect(list->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this, list] {
      if (list->selectionModel()->hasSelection()) return;
      QListView* other = list == lstEqu ? lstCondition : lstEqu;
      const QSignalBlocker quiet(other->selectionModel());
      other->selectionModel()->clearSelection();
      other->viewport()->update();
    });
  }
  connect(lstEqu, &QListView::doubleClicked, this, [this] { lstEqu_DblClick(); });
  connect(lstCondition, &QListView::doubleClicked, this, [this] { lstCondition_DblClick(); });
  connect(picQuad_, &GraphSurface::MouseMoved, this, &frmMain::picQuad_MouseMove);
  // The crosshair goes whichever side the pointer leaves by, not only toward
  // the controls.
  connect(picQuad_, &GraphSurface::MouseLeft, this, &frmMain::Form_MouseMove);

  // The plane follows the work: Enter in a window box graphs, the mouse and
  // the keys zoom and pan, a new size draws the picture again.
  for (QLineEdit* box : {txtXMin, txtXMax, txtYMin, txtYMax, txtYStep, txtXStep})
    connect(box, &QLineEdit::returnPressed, this, &frmMain::mnuGraph_Click);
  connect(picQuad_, &GraphSurface::WheelTurned, this, &frmMain::ZoomAt);
  connect(picQuad_, &GraphSurface::ArrowPressed, this, [this](int dx, int dy, bool shift) {
    if (Tracing())
      TraceStep(dx, dy, shift);
    else
      PanBySteps(dx, dy);
  });
  connect(picQuad_, &GraphSurface::KeyTyped, this, [this](int key) {
    if (key == Qt::Key_T) {
      mnuTrace->toggle();
    } else if (Tracing() && key == Qt::Key_Escape) {
      mnuTrace->setChecked(false);
    } else if (Tracing()) {
      MarkTracePoint();
    }
  });
  connect(picQuad_, &GraphSurface::MousePressed, this, [this](Qt::MouseButton button, float, float) {
    if (button == Qt::LeftButton) dragStart_ = Window();
  });
  connect(picQuad_, &GraphSurface::Dragged, this, [this](QPointF from, QPointF to) {
    const GraphWindow& w = dragStart_;
    const double unitsX = (w.xmax - w.xmin) / static_cast<double>(std::max(1, picQuad_->width()));
    const double unitsY = (w.ymax - w.ymin) / static_cast<double>(std::max(1, picQuad_->height()));
    ShowWindow(PanWindow(w, -std::lround((to.x() - from.x()) * unitsX), std::lround((to.y() - from.y()) * unitsY)));
  });
  // Drawn at once, so that a copy or print right after a resize shows the
  // new size; during a long Graph the newest size replaces the drawing.
  connect(picQuad_, &GraphSurface::Resized, this, &frmMain::Redraw);
  connect(btnCancelGraph, &QPushButton::clicked, this, &frmMain::CancelDrawing);
  escape_ = new QShortcut(QKeySequence(Qt::Key_Escape), this, this, &frmMain::CancelDrawing);
  escape_->setEnabled(false);
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
  const QChar ellipsis(0x2026);
  const struct {
    QString caption;
    const char* name;
    QKeySequence key;
    std::function<void()> handler;
  } workspaceItems[] = {
      {"New", "mnuNew", QKeySequence(Qt::CTRL | Qt::Key_N), [this] { mnuNew_Click(); }},
      {QString("Open") + ellipsis, "mnuOpen", QKeySequence(Qt::CTRL | Qt::Key_O), [this] { mnuOpen_Click(); }},
      {"Save", "mnuSave", QKeySequence(Qt::CTRL | Qt::Key_S), [this] { mnuSave_Click(); }},
      {QString("Save As") + ellipsis, "mnuSaveAs", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S),
       [this] { mnuSaveAs_Click(); }},
  };
  for (const auto& item : workspaceItems) {
    QAction* action = mnuFile->addAction(item.caption);
    action->setObjectName(item.name);
    action->setShortcut(item.key);
    connect(action, &QAction::triggered, this, item.handler);
  }
  mnuRecent = mnuFile->addMenu("Recent Files");
  mnuRecent->setObjectName("mnuRecent");
  RefreshRecentMenu();
  mnuFile->addSeparator();
  AddMenuItem(mnuFile, "Copy Graph", "mnuCopy", 7);
  QAction* mnuExport = mnuFile->addAction(QString("Export Graph") + QChar(0x2026));
  mnuExport->setObjectName("mnuExport");
  connect(mnuExport, &QAction::triggered, this, &frmMain::mnuExport_Click);
  connect(AddMenuItem(mnuFile, "Print", "mnuPrint", 8), &QAction::triggered, this, &frmMain::mnuPrint_Click);
  mnuFile->addSeparator();
  connect(AddMenuItem(mnuFile, "Exit", "mnuExit", 9), &QAction::triggered, this, &frmMain::mnuExit_Click);

  QMenu* mnuEdit = menuBar()->addMenu("Edit");
  mnuEdit->setObjectName("mnuEdit");
  QAction* mnuUndo = undo_->createUndoAction(this, "&Undo");
  mnuUndo->setObjectName("mnuUndo");
  mnuUndo->setShortcut(QKeySequence::Undo);
  QAction* mnuRedo = undo_->createRedoAction(this, "&Redo");
  mnuRedo->setObjectName("mnuRedo");
  mnuRedo->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
  mnuEdit->addAction(mnuUndo);
  mnuEdit->addAction(mnuRedo);

  QMenu* mnuView = menuBar()->addMenu("View");
  mnuView->setObjectName("mnuView");
  mnuConnect = mnuView->addAction("Connect samples");
  mnuConnect->setObjectName("mnuConnect");
  mnuConnect->setCheckable(true);
  mnuConnect->setToolTip("Draw each equation as lines through its samples instead of dots.");
  connect(mnuConnect, &QAction::toggled, this, [this](bool on) {
    if (!showing_) session_.SetConnectSamples(on);
  });
  mnuTrace = mnuView->addAction("Trace");
  mnuTrace->setObjectName("mnuTrace");
  mnuTrace->setCheckable(true);
  mnuTrace->setToolTip("Follow the selected equation with the pointer or the arrow keys (T on the plane).");
  connect(mnuTrace, &QAction::toggled, this, &frmMain::SetTracing);
  QAction* mnuClearMarks = mnuView->addAction("Clear Marks");
  mnuClearMarks->setObjectName("mnuClearMarks");
  connect(mnuClearMarks, &QAction::triggered, this, [this] { session_.ClearMarks(); });

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
  for (const auto& [caption, name] : {std::pair{"Get Slope", "mnuSlope"}, std::pair{"Get Area", "mnuArea"}})
    mnuTools->addAction(caption)->setObjectName(name);
  mnuTools->addSeparator();
  const struct {
    const char* caption;
    const char* name;
    QList<QKeySequence> keys;
    void (frmMain::*handler)();
  } zooms[] = {
      {"Zoom In",
       "mnuZoomIn",
       {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)},
       &frmMain::mnuZoomIn_Click},
      {"Zoom Out", "mnuZoomOut", {QKeySequence(Qt::CTRL | Qt::Key_Minus)}, &frmMain::mnuZoomOut_Click},
      {"Zoom Standard", "mnuZoomStandard", {}, &frmMain::mnuZoomStandard_Click},
  };
  for (const auto& z : zooms) {
    QAction* action = mnuTools->addAction(z.caption);
    action->setObjectName(z.name);
    action->setShortcuts(z.keys);
    connect(action, &QAction::triggered, this, z.handler);
  }

  QMenu* mnuAbout = menuBar()->addMenu("About");
  mnuAbout->setObjectName("mnuAbout");
  connect(AddMenuItem(mnuAbout, "About", "mnuAbout2", 10), &QAction::triggered, this, &frmMain::mnuAbout2_Click);
  connect(AddMenuItem(mnuAbout, "Buy for $10", "mnuBuy", 11), &QAction::triggered, this, &frmMain::mnuBuy_Click);
  AssignMnemonics(menuBar());
}

Progress& frmMain::ProgressBar() { return *prog; }

bool frmMain::ReadBoxes() {
  if (const auto error = session_.ReadWindow()) {
    host_.MessageBox(this, Text(*error), MessageIcon::kError);
    return false;
  }
  return true;
}

bool frmMain::DrawAxis() {
  if (!ReadBoxes()) return false;
  lastGraph_ = GraphDescription{};
  lastGraph_.window = Window();
  Redraw();
  return true;
}

void frmMain::mnuGraph_Click() {
  if (!ReadBoxes()) return;
  Plot();
}

void frmMain::Plot() {
  lastGraph_ = session_.Graph();
  Redraw();
}

void frmMain::Redraw() {
  // The pointer speaks of the window being drawn, even before its picture.
  const GraphWindow& w = lastGraph_.window;
  picQuad_->SetScale(w.xmin, w.ymax, w.xmax, w.ymin);
  if (toolJob_) {
    redrawPending_ = true;  // after the tool
    return;
  }
  if (graphJob_) {
    // A newer picture replaces the one being drawn.
    restart_ = true;
    graphJob_->Stop();
    return;
  }
  StartGraph();
}

void frmMain::StartGraph() {
  const GraphWindow& w = lastGraph_.window;
  const qreal ratio = picQuad_->devicePixelRatioF();
  const QSize pixels = (QSizeF(picQuad_->size().expandedTo(QSize(1, 1))) * ratio).toSize();
  picQuad_->SetScale(w.xmin, w.ymax, w.xmax, w.ymin);
  // The job draws a copy: handlers may replace lastGraph_ meanwhile.
  graphJob_ = std::make_unique<GraphJob>(lastGraph_, pixels, ratio, picQuad_->logicalDpiX() * ratio);
  GraphJob* job = graphJob_.get();
  connect(job, &GraphJob::ProgressChanged, job, [this](int max, int value) {
    if (toolJob_) return;  // the bar is the tool's now
    prog->Max(max);
    prog->Value(value);
  });
  connect(job, &GraphJob::Picture, job, [this](const QImage& sofar) {
    if (!restart_) picQuad_->SetPicture(sofar);
  });
  connect(job, &GraphJob::Finished, job,
          [this](const QImage& picture, bool complete) { GraphFinished(picture, complete); });
  job->Start();
  btnCancelGraph->setEnabled(true);
  escape_->setEnabled(true);
}

void frmMain::GraphFinished(const QImage& picture, bool complete) {
  // Out of the signal's way first: the job is deleted once it has returned.
  graphJob_.release()->deleteLater();
  if (restart_) {
    restart_ = false;
    StartGraph();
    return;
  }
  const GraphWindow& w = lastGraph_.window;
  plain_ = picture;
  plainWindow_ = w;
  picQuad_->SetScale(w.xmin, w.ymax, w.xmax, w.ymin);
  ShowAnswers();
  if (!complete && !toolJob_) prog->Value(0);
  btnCancelGraph->setEnabled(toolJob_ != nullptr);
  escape_->setEnabled(toolJob_ != nullptr);
  if (!Busy()) emit Idle();
}

void frmMain::ShowAnswers() {
  // Only over the picture of the window asked for; a Graph on its way paints
  // them when it ends.
  if (plain_.isNull() || graphJob_ || plainWindow_ != lastGraph_.window) return;
  QImage composed = plain_.copy();
  const qreal ratio = composed.devicePixelRatio();
  composed.setDevicePixelRatio(1);
  {
    QPainter painter(&composed);
    PaintOptions options;
    options.penScale = ratio;
    DrawAnswers(painter, composed.size(), lastGraph_, options);
  }
  composed.setDevicePixelRatio(ratio);
  picQuad_->SetPicture(composed);
}

void frmMain::RunTool(std::function<void(Progress&)> work, std::function<void()> done, bool showProgress) {
  if (toolJob_) return;  // the tools are disabled meanwhile
  toolJob_ = std::make_unique<ToolJob>(std::move(work));
  ToolJob* job = toolJob_.get();
  if (showProgress) {
    connect(job, &ToolJob::ProgressChanged, job, [this](int max, int value) {
      prog->Max(max);
      prog->Value(value);
    });
  }
  // The job is the context: a job dropped by StopTool takes its queued
  // answer with it.
  connect(job, &ToolJob::Finished, job, [this, done = std::move(done)](bool complete) {
    toolJob_.release()->deleteLater();
    ToolEnded();
    // Stopped: nothing is reported, nothing written.
    if (complete) done();
    if (redrawPending_) {
      redrawPending_ = false;
      Redraw();
    } else if (!Busy()) {
      emit Idle();
    }
  });
  btnCancelGraph->setEnabled(true);
  escape_->setEnabled(true);
  SetToolsEnabled(false);
  job->Start();
}

void frmMain::ToolEnded() {
  SetToolsEnabled(true);
  prog->Value(0);
  btnCancelGraph->setEnabled(graphJob_ != nullptr);
  escape_->setEnabled(graphJob_ != nullptr);
}

void frmMain::StopTool() {
  if (!toolJob_) return;
  toolJob_.reset();  // stopped and waited for; its answer goes with it
  ToolEnded();
  if (!Busy()) emit Idle();
}

void frmMain::SetToolsEnabled(bool enabled) {
  // While a search runs the others wait, visibly: one bar, one Cancel. The
  // focus goes to Cancel first: Qt would hand it on to the next box, and a
  // box that gains the focus empties its partner (the answer just typed).
  const std::initializer_list<QWidget*> buttons = {cmdX, cmdY, btnViewTable};
  if (!enabled && std::find(buttons.begin(), buttons.end(), QApplication::focusWidget()) != buttons.end()) {
    btnCancelGraph->setFocus(Qt::OtherFocusReason);
  }
  for (QWidget* w : buttons) w->setEnabled(enabled);
  for (const char* name : {"mnuDomain", "mnuRange", "mnuMin", "mnuMax", "mnuInt", "mnuSlope", "mnuArea"}) {
    if (auto* action = findChild<QAction*>(name)) action->setEnabled(enabled);
  }
}

void frmMain::CancelDrawing() {
  if (toolJob_) {
    toolJob_->Stop();
  } else if (graphJob_) {
    restart_ = false;
    graphJob_->Stop();
  }
}

void frmMain::ShowWindow(const GraphWindow& window, bool steps) {
  const GraphWindow now = Window();
  if (!steps && window == now && lastGraph_.plotted && lastGraph_.window == now) return;  // at a limit
  session_.ShowWindow(window, steps);
  Plot();
}

void frmMain::ZoomAt(int steps, double x, double y) {
  if (steps == 0) return;
  const GraphWindow& before = Window();
  const GraphWindow after = ZoomWindow(before, std::pow(0.5, steps), x, y);
  // At a limit the plane says why nothing moved.
  const std::string limit = ZoomLimitText(before, after, steps > 0);
  ShowStatus(Text(limit));
  if (!limit.empty()) return;
  // The ticks follow the zoom: 5 to 12 of them on each axis.
  ShowWindow(WithNiceSteps(after), /*steps=*/true);
}

void frmMain::mnuZoomIn_Click() { ZoomAt(1, (Window().xmin + Window().xmax) / 2.0, (Window().ymin + Window().ymax) / 2.0); }

void frmMain::mnuZoomOut_Click() {
  ZoomAt(-1, (Window().xmin + Window().xmax) / 2.0, (Window().ymin + Window().ymax) / 2.0);
}

void frmMain::mnuZoomStandard_Click() {
  ShowStatus(QString());
  ShowWindow(kStandardWindow, /*steps=*/true);
}

void frmMain::PanBySteps(int dx, int dy) {
  const auto units = [](float step) { return std::max(1L, std::lround(std::fabs(static_cast<double>(step)))); };
  const long ux = dx * units(Window().xstep), uy = dy * units(Window().ystep);
  ShowStatus(Text(PanLimitText(Window(), ux, uy)));
  ShowWindow(PanWindow(Window(), ux, uy));
}

void frmMain::mnuExport_Click() {
  const auto chosen = host_.SaveFileName(this, "Export Graph", QString(),
                                         "PNG picture (*.png);;SVG drawing (*.svg);;PDF document (*.pdf)");
  if (!chosen) return;
  QString path = *chosen;
  const QString suffix = QFileInfo(path).suffix().toLower();
  if (suffix.isEmpty()) path += ".png";
  QSize size = picQuad_->size();
  if (suffix.isEmpty() || suffix == "png") {
    const auto text = host_.InputBox(this, "Size of the picture in pixels (width x height): ",
                                     QString("%1 x %2").arg(size.width()).arg(size.height()));
    if (!text) return;
    // "800 x 600", "800x600" or one number for a square.
    const QStringList parts = text->simplified().remove(' ').split(QRegularExpression("[xX*,]"));
    bool okW = false, okH = false;
    const int width = parts.value(0).toInt(&okW);
    const int height = parts.size() == 1 ? width : parts.value(1).toInt(&okH);
    if (parts.size() == 1) okH = okW;
    if (!okW || !okH || parts.size() > 2 || width < 1 || height < 1 || width > 20000 || height > 20000) {
      host_.MessageBox(this, "The size must be one or two whole numbers from 1 to 20000, such as 800 x 600.",
                       MessageIcon::kError);
      return;
    }
    size = QSize(width, height);
  }
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const QString error = ExportGraph(lastGraph_, path, size, picQuad_->logicalDpiX());
  QApplication::restoreOverrideCursor();
  if (!error.isEmpty()) host_.MessageBox(this, error, MessageIcon::kError);
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

frmTable& frmMain::Table() {
  // Modeless and without owner; its OK only hides it, so its points live on.
  if (!table_) {
    table_ = new frmTable(host_, session_,
                          [this](const QString& expression, const QString& condition, std::uint32_t color) {
                            AppendEquation(expression, condition, color);
                          });
  }
  return *table_;
}

void frmMain::mnuTable_Click() {
  Table();
  table_->show();
  table_->raise();
  table_->activateWindow();
}

void frmMain::AppendEquation(const QString& expression, const QString& condition, std::uint32_t color) {
  session_.Equations().Append({Std(expression), Std(condition), color & 0xFFFFFF});
  SelectRow(static_cast<int>(Equations().Size()) - 1);
  lstEqu_Click();
}

void frmMain::SessionChanged(SessionChange change) {
  switch (change) {
    case SessionChange::kEquations:
      RefreshLists();
      Plot();
      ShowTrace();
      break;
    case SessionChange::kDocument:
      RefreshLists();
      ShowSessionTexts();
      break;  // ApplyDocument graphs once at the end
    case SessionChange::kWindowTexts:
    case SessionChange::kOptions:
      ShowSessionTexts();
      if (change == SessionChange::kOptions && lastGraph_.plotted &&
          lastGraph_.connectSamples != session_.ConnectSamples())
        Plot();
      break;
    case SessionChange::kMarks:
      // Marks show at once, over the graph as it stands: no new sweep.
      lastGraph_.marks = session_.Marks();
      ShowAnswers();
      break;
    case SessionChange::kDataPoints:
      break;
  }
  RecordUndoStep();
  UpdateCaption();
}

void frmMain::RecordUndoStep() {
  if (restoring_ || applying_) return;
  SessionState now = session_.State(&undoState_);
  if (now == undoState_) return;  // a view option such as Connect samples
  const ChangeName name = NameChange(undoState_, now);
  undo_->push(new SessionStep(name, std::move(undoState_), now,
                              [this](const SessionState& state) { RestoreStep(state); }));
  undoState_ = std::move(now);
}

void frmMain::RestoreStep(const SessionState& state) {
  // A search of the workspace as it was must not answer into this one.
  StopTool();
  restoring_ = true;
  const int row = SelectedRow();
  session_.Restore(state);
  if (row >= 0 && static_cast<std::size_t>(row) < Equations().Size()) SelectRow(row);
  SetSwatchFromRow();
  Plot();
  restoring_ = false;
  undoState_ = state;
  UpdateCaption();
}

void frmMain::ShowSessionTexts() {
  showing_ = true;
  const std::pair<QLineEdit*, WindowBox> boxes[] = {
      {txtXMin, WindowBox::kXMin}, {txtXMax, WindowBox::kXMax},   {txtYMin, WindowBox::kYMin},
      {txtYMax, WindowBox::kYMax}, {txtYStep, WindowBox::kYStep}, {txtXStep, WindowBox::kXStep}};
  for (const auto& [box, which] : boxes) {
    const QString text = Text(session_.WindowText(which));
    if (box->text() != text) box->setText(text);
  }
  chkEqu->setChecked(session_.WriteEquations());
  if (mnuConnect) mnuConnect->setChecked(session_.ConnectSamples());
  showing_ = false;
}

int frmMain::SelectedRow() const { return HasSelection() ? lstEqu->currentIndex().row() : -1; }

void frmMain::SelectRow(int row) {
  const QSignalBlocker a(lstEqu->selectionModel()), b(lstCondition->selectionModel());
  for (QListView* list : {lstEqu, lstCondition}) {
    if (row < 0 || row >= list->model()->rowCount()) {
      list->selectionModel()->clear();
    } else {
      list->selectionModel()->setCurrentIndex(list->model()->index(row, 0), QItemSelectionModel::ClearAndSelect);
    }
  }
}

void frmMain::RefreshLists() {
  const int row = SelectedRow();
  equationRows_->Refresh();
  conditionRows_->Refresh();
  SelectRow(row);
}

QString frmMain::SelectedEquation() const {
  const int row = SelectedRow();
  return row < 0 ? QString() : Text(Equations().At(static_cast<std::size_t>(row)).expression);
}

void frmMain::SetSwatch(const QColor& color) {
  QPalette pal = picColor->palette();
  pal.setColor(QPalette::Window, color);
  picColor->setPalette(pal);
}

void frmMain::SetSwatchFromRow() {
  if (Tracing()) ShowTrace();
  const int row = lstEqu->currentIndex().row();
  if (row >= 0 && static_cast<std::size_t>(row) < Equations().Size())
    SetSwatch(FromPacked(Equations().At(static_cast<std::size_t>(row)).color));
}

void frmMain::lstEqu_Click() {
  const QModelIndex current = lstEqu->currentIndex();
  {
    const QSignalBlocker b(lstCondition->selectionModel());
    if (current.isValid())
      lstCondition->selectionModel()->setCurrentIndex(conditionRows_->index(current.row(), 0),
                                                      QItemSelectionModel::ClearAndSelect);
  }
  SetSwatchFromRow();
}

void frmMain::lstCondition_Click() {
  const QModelIndex current = lstCondition->currentIndex();
  {
    const QSignalBlocker a(lstEqu->selectionModel());
    if (current.isValid())
      lstEqu->selectionModel()->setCurrentIndex(equationRows_->index(current.row(), 0),
                                                QItemSelectionModel::ClearAndSelect);
  }
  SetSwatchFromRow();
}

void frmMain::btnDelete_Click() {
  if (!HasSelection()) {
    host_.MessageBox(this, "Really!? Select an equation to delete first. Use your brainular knowledge!",
                     MessageIcon::kError);
    return;
  }
  const int row = SelectedRow();
  SelectRow(-1);
  session_.Equations().Remove(static_cast<std::size_t>(row));
  SelectRow(-1);
  SetSwatch(palette().color(QPalette::Button));
}

std::optional<QString> frmMain::EditRow(const QString& prompt, QString shown,
                                        const std::function<std::optional<std::string>(const std::string&)>& fault) {
  // A text that is refused comes back in the editor as typed, to be mended.
  for (;;) {
    const auto text = host_.InputBox(this, prompt, shown);
    if (!text) return std::nullopt;
    const auto why = fault(text->toStdString());
    if (!why) return text;
    host_.MessageBox(this, QString::fromStdString(*why), MessageIcon::kError);
    shown = *text;
  }
}

void frmMain::lstEqu_DblClick() {
  const QModelIndex current = lstEqu->currentIndex();
  if (!current.isValid()) return;
  const auto row = static_cast<std::size_t>(current.row());
  // As in the equation dialog: a text that can never plot is refused.
  const auto text = EditRow("Fix the equation: ", Text(Equations().At(row).expression), [](const std::string& t) {
    const auto fault = FindEquationFault(t);
    return fault ? std::optional<std::string>(fault->message) : std::nullopt;
  });
  if (text) session_.Equations().SetExpression(row, Std(*text));
}

void frmMain::lstCondition_DblClick() {
  const QModelIndex current = lstCondition->currentIndex();
  if (!current.isValid()) return;
  const auto row = static_cast<std::size_t>(current.row());
  const auto text = EditRow("Fix the condition: ", Text(Equations().At(row).condition),
                            [](const std::string& t) { return FindConditionFault(t); });
  if (text) session_.Equations().SetCondition(row, Std(*text));
}

bool frmMain::HasSelection() const {
  const QModelIndex current = lstEqu->currentIndex();
  return current.isValid() && lstEqu->selectionModel()->isSelected(current);
}

void frmMain::picColor_Click() {
  const int selected = SelectedRow();
  if (selected < 0) return;
  const auto row = static_cast<std::size_t>(selected);
  bool accepted = false;
  const std::uint32_t color = ShowColorChooser(host_, this, accepted, Equations().At(row).color);
  // Black is a colour like any other; only Cancel leaves the row as it was.
  if (!accepted) return;
  SetSwatch(FromPacked(color));
  session_.Equations().SetColor(row, color);
}

void frmMain::btnClear_Click() {
  txtInfo->clear();
  LastLoggedEquation.clear();
}

void frmMain::WriteLogHeader(const QString& equation) {
  if (equation == LastLoggedEquation) return;
  LastLoggedEquation = equation;
  const QString crlf = "\r\n";
  QString header = crlf + equation + crlf + QString(equation.size(), '-') + crlf + crlf;
  txtInfo->moveCursor(QTextCursor::End);
  txtInfo->insertPlainText(header);
}

void frmMain::WriteLogResult(const QString& caption, const QString& result, const QString& equation) {
  WriteLogHeader(equation);
  WriteLogLine(caption + result);
}

void frmMain::WriteLogLine(const QString& line) {
  txtInfo->moveCursor(QTextCursor::End);
  txtInfo->insertPlainText(line + "\r\n");
  txtInfo->moveCursor(QTextCursor::End);
  txtInfo->verticalScrollBar()->setValue(txtInfo->verticalScrollBar()->maximum());
}

void frmMain::mnuBuy_Click() { host_.OpenUrl(kPaymentUrl); }

void frmMain::mnuPrint_Click() {
  // The printer draws the picture itself, at its own resolution.
  const GraphDescription graph = lastGraph_;
  frmPrint dialog(this, host_, picQuad_->size(), [graph](QPainter& painter, const QSize& pixels, double penScale) {
    PaintOptions options;
    options.penScale = penScale;
    DrawGraph(painter, pixels, graph, options);
  });
  dialog.exec();
}

void frmMain::mnuAbout2_Click() {
  frmAbout dialog(this);
  dialog.exec();
}

void frmMain::mnuExit_Click() {
  if (!MayDiscardWork()) return;
  closeAsked_ = true;
  QApplication::closeAllWindows();
  closeAsked_ = false;
  QApplication::exit(0);
}

void frmMain::picQuad_MouseMove(Qt::MouseButtons, Qt::KeyboardModifiers, float x, float y) {
  if (Tracing()) {
    traceX_ = x;
    ShowTrace();
    return;
  }
  // Over a mark: its coordinates in full.
  const QPointF at = picQuad_->ToPixel(x, y) / picQuad_->devicePixelRatioF();
  if (const Mark* mark = MarkNear(at)) {
    QToolTip::showText(picQuad_->mapToGlobal(at.toPoint()),
                       Text("(" + FormatDouble(mark->x) + ", " + FormatDouble(mark->y) + ")"), picQuad_);
  } else {
    QToolTip::hideText();
  }
  if (CrosshairHidden) {
    picQuad_->SetCrosshairVisible(true);
    CrosshairHidden = false;
  }
  const auto rounded = [](float v) { return Text(FormatSingle(static_cast<float>(RoundHalfEven(v, 3)))); };
  lblCoord->setText("(" + rounded(x) + ", " + rounded(y) + ")");
  picQuad_->MoveCrosshair(x, y);
}

const Mark* frmMain::MarkNear(const QPointF& at) const {
  constexpr double kReach = 6;
  const Mark* nearest = nullptr;
  double best = kReach * kReach;
  for (const Mark& m : lastGraph_.marks) {
    const QPointF d = picQuad_->ToPixel(m.x, m.y) / picQuad_->devicePixelRatioF() - at;
    const double distance = d.x() * d.x() + d.y() * d.y();
    if (distance <= best) {
      best = distance;
      nearest = &m;
    }
  }
  return nearest;
}

bool frmMain::Tracing() const { return mnuTrace && mnuTrace->isChecked(); }

void frmMain::SetTracing(bool on) {
  if (!on) {
    picQuad_->SetTracePoint(false);
    return;
  }
  if (Equations().Empty()) {
    const QSignalBlocker quiet(mnuTrace);
    mnuTrace->setChecked(false);
    ShowStatus("Trace follows an equation: enter one first.");
    return;
  }
  if (SelectedRow() < 0) {
    SelectRow(0);
    SetSwatchFromRow();
  }
  const GraphWindow& w = Window();
  traceX_ = (w.xmin + w.xmax) / 2.0;
  Form_MouseMove();  // the crosshair gives way to the cross
  picQuad_->setFocus(Qt::ShortcutFocusReason);
  ShowTrace();
}

void frmMain::ShowTrace() {
  const int row = SelectedRow();
  if (!Tracing() || row < 0) {
    picQuad_->SetTracePoint(false);
    return;
  }
  const Equation& e = Equations().At(static_cast<std::size_t>(row));
  // The sample of the plot there: x to 3 decimals.
  traceX_ = RoundHalfEven(traceX_, 3);
  traceY_.reset();
  if (!FindEquationFault(e.expression) && ParseCondition(e.condition).Holds(static_cast<float>(traceX_))) {
    clsExprParser parser;
    parser.StoreExpression(e.expression);
    const double y = parser.Eval1(traceX_);
    if (parser.ErrorID() == 0 && std::isfinite(y)) traceY_ = y;
  }
  lblCoord->setText(Text("(" + FormatDouble(traceX_) + ", " + (traceY_ ? FormatDouble(*traceY_) : "undefined") + ")"));
  picQuad_->SetTracePoint(traceY_.has_value(), traceX_, traceY_.value_or(0), FromPacked(e.color));
}

void frmMain::TraceStep(int dx, int dy, bool shift) {
  if (dy != 0) {
    const int row = std::clamp(SelectedRow() - dy, 0, static_cast<int>(Equations().Size()) - 1);
    SelectRow(row);
    SetSwatchFromRow();
  }
  if (dx != 0) {
    const GraphWindow& w = Window();
    const double pixel = (w.xmax - w.xmin) / static_cast<double>(std::max(1, picQuad_->width()));
    traceX_ += dx * (shift ? 0.001 : pixel);
  }
  ShowTrace();
}

void frmMain::MarkTracePoint() {
  const int row = SelectedRow();
  if (row >= 0 && traceY_) session_.AddMarks({{traceX_, *traceY_, static_cast<std::size_t>(row)}});
}

void frmMain::ShowStatus(const QString& text) {
  lblStatus->setText(text);
  lblStatus->setToolTip(text);
  lblStatus->setVisible(!text.isEmpty());
}

QString frmMain::StatusText() const { return lblStatus->text(); }

void frmMain::Form_MouseMove() {
  if (!CrosshairHidden) {
    picQuad_->SetCrosshairVisible(false);
    CrosshairHidden = true;
  }
}

void frmMain::RestorePlacement() {
  keepsPlacement_ = true;
  if (restoreGeometry(settings_->value(kPlacementKey).toByteArray())) return;
  // Left to itself Qt stops a new window at two thirds of the screen, which
  // leaves the plane small beside the controls on a laptop's screen.
  const QScreen* where = screen() ? screen() : QGuiApplication::primaryScreen();
  QSize size = sizeHint();
  if (where) size = size.boundedTo(where->availableGeometry().size() * 0.9);
  resize(size);
}

void frmMain::closeEvent(QCloseEvent* event) {
  if (!closeAsked_ && !MayDiscardWork()) {
    event->ignore();
    return;
  }
  if (keepsPlacement_) settings_->setValue(kPlacementKey, saveGeometry());
  StopTool();
  CancelDrawing();
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
