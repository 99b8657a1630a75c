#include "stats/frm_table.h"
#include "platform/named.h"

#include <QAction>
#include <QCheckBox>
#include <QCursor>
#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QCloseEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>
#include <cerrno>
#include <cstring>

#include "controls/open_save_dialog.h"
#include "controls/text_list_model.h"
#include "equations/equation_text.h"
#include "platform/host.h"
#include "stats/regression_object.h"
#include "stats/stat_data.h"
#include "workspace/file_io.h"
#include "workspace/model/workspace_session.h"

namespace cn {
namespace {

constexpr const char* kListTip = "Right-click or delete to remove. Add by typing in box below and press enter.";
constexpr const char* kBlankFit = "The equation is blank. Fill in the lists and press Gen Equation.";
constexpr const char* kDataFilter = "Data File (*.txt)|*.txt|";

QAction* NamedAction(QMenu* menu, const char* text, const char* name) {
  QAction* action = menu->addAction(text);
  action->setObjectName(name);
  return action;
}

QString Shown(const QString& path) { return QDir::toNativeSeparators(path); }
std::string Std(const QString& text) { return text.toStdString(); }
QString Text(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

frmTable::frmTable(Host& host, WorkspaceSession& session, AppendRow appendRow, ColorSource colorSource)
    : QWidget(nullptr, Qt::Window),
      host_(host),
      session_(session),
      appendRow_(std::move(appendRow)),
      colorSource_(colorSource ? std::move(colorSource) : ColorSource(&NewRowColor)),
      comdlg_(std::make_unique<OpenSaveDialog>(host, this)) {
  setObjectName("frmTable");
  setWindowTitle("Table");
  // Closing by the title bar discards the data; OK only hides.
  setAttribute(Qt::WA_DeleteOnClose);
  BuildWindow();
  ShowSession();
  listener_ = session_.AddListener([this](SessionChange change) {
    if (change != SessionChange::kDataPoints && change != SessionChange::kOptions &&
        change != SessionChange::kDocument)
      return;
    ShowSession();
    emit Changed();
  });
}

frmTable::~frmTable() {
  session_.RemoveListener(listener_);
  disconnect(chkPlot, nullptr, this, nullptr);
}

void frmTable::closeEvent(QCloseEvent* event) {
  session_.SetPoints({}, {});
  session_.SetStatPlotShown(false);
  QWidget::closeEvent(event);
}

void frmTable::ShowSession() {
  for (bool yList : {false, true}) {
    QListView* list = List(yList);
    const int row = list->currentIndex().row();
    const bool selected = list->selectionModel()->isSelected(list->currentIndex());
    (yList ? rowsY_ : rowsX_)->Refresh();
    if (selected && row < list->model()->rowCount())
      list->setCurrentIndex(list->model()->index(row, 0));
  }
  showing_ = true;
  chkPlot->setChecked(session_.StatPlotShown());
  showing_ = false;
}

void frmTable::BuildWindow() {
  menuBar_ = Named(new QMenuBar(this), "menuBar");
  mnuFile = Named(menuBar_->addMenu("File"), "mnuFile");
  mnuOpen = NamedAction(mnuFile, "Open", "mnuOpen");
  mnuSave = NamedAction(mnuFile, "Save", "mnuSave");
  connect(mnuOpen, &QAction::triggered, this, [this] { mnuOpen_Click(); });
  connect(mnuSave, &QAction::triggered, this, [this] { mnuSave_Click(); });

  // Never in the menu bar: only popped up by Gen Equation.
  mnuMain = Named(new QMenu("hidden", this), "mnuMain");
  mnuLinear = NamedAction(mnuMain, "Linear Equation", "mnuLinear");
  mnuQuad = NamedAction(mnuMain, "Quadratic Equation", "mnuQuad");
  connect(mnuLinear, &QAction::triggered, this, [this] { mnuLinear_Click(); });
  connect(mnuQuad, &QAction::triggered, this, [this] { mnuQuad_Click(); });

  fraPoint = Named(new QGroupBox("Add points here"), "fraPoint");
  auto* hint = Named(new QLabel("Type numbers in the boxes below and press enter to add them to the list."), "lblHint");
  hint->setWordWrap(true);
  const auto rows = [this](bool yList) {
    return new TextListModel(
        [this, yList] { return static_cast<int>((yList ? session_.PointsY() : session_.PointsX()).size()); },
        [this, yList](int row) {
          return Text((yList ? session_.PointsY() : session_.PointsX())[static_cast<std::size_t>(row)]);
        },
        this);
  };
  rowsX_ = rows(false);
  rowsY_ = rows(true);
  lstX = Named(new QListView, "lstX");
  lstX->setModel(rowsX_);
  lstY = Named(new QListView, "lstY");
  lstY->setModel(rowsY_);
  for (QListView* list : {lstX, lstY}) {
    list->setToolTip(kListTip);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setUniformItemSizes(true);
    list->installEventFilter(this);
    list->viewport()->installEventFilter(this);
  }
  txtX = Named(new QLineEdit, "txtX");
  txtX->setToolTip("Press enter to add X value to table.");
  txtY = Named(new QLineEdit, "txtY");
  txtY->setToolTip("Press enter to add Y value to table.");
  txtX->installEventFilter(this);
  txtY->installEventFilter(this);
  btnClear = Named(new QPushButton("Clear"), "btnClear");
  chkPlot = Named(new QCheckBox("Show Stat Plot"), "chkPlot");
  chkPlot->setToolTip("Press graph again to see it.");
  connect(chkPlot, &QCheckBox::toggled, this, [this](bool on) {
    if (!showing_) session_.SetStatPlotShown(on);
  });
  connect(btnClear, &QPushButton::clicked, this, [this] { btnClear_Click(); });

  auto* points = new QGridLayout(fraPoint);
  points->addWidget(hint, 0, 0, 1, 4);
  points->addWidget(lstX, 1, 0, 1, 2);
  points->addWidget(lstY, 1, 2, 1, 2);
  points->addWidget(new QLabel("X ="), 2, 0);
  points->addWidget(txtX, 2, 1);
  points->addWidget(new QLabel("Y ="), 2, 2);
  points->addWidget(txtY, 2, 3);
  points->addWidget(btnClear, 3, 0, 1, 2);
  points->addWidget(chkPlot, 3, 2, 1, 2);

  fraOut = Named(new QGroupBox("Generated Equation"), "fraOut");
  btnGen = Named(new QPushButton("Gen Equation"), "btnGen");
  btnAdd = Named(new QPushButton("Add Equation"), "btnAdd");
  btnAdd->setToolTip("Add the genned equation to your list for graph.");
  txtEqu = Named(new QLineEdit, "txtEqu");
  txtEqu->setReadOnly(true);
  connect(btnGen, &QPushButton::clicked, this, [this] { btnGen_Click(); });
  connect(btnAdd, &QPushButton::clicked, this, [this] { btnAdd_Click(); });
  auto* out = new QGridLayout(fraOut);
  out->addWidget(btnGen, 0, 0);
  out->addWidget(btnAdd, 0, 1);
  out->addWidget(txtEqu, 1, 0, 1, 2);
  // How well the fit explains the points, beside the equation, not in it.
  lblR2 = Named(new QLabel, "lblR2");
  out->addWidget(lblR2, 2, 0, 1, 2);

  btnOK = Named(new QPushButton("OK"), "btnOK");
  connect(btnOK, &QPushButton::clicked, this, [this] { btnOK_Click(); });
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(btnOK);

  auto* layout = new QVBoxLayout(this);
  layout->setMenuBar(menuBar_);
  layout->addWidget(fraPoint);
  layout->addWidget(fraOut);
  layout->addLayout(buttons);
  resize(360, 440);
}

bool frmTable::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    if (enter && watched == txtX) return txtX_KeyPress(kEnter), true;
    if (enter && watched == txtY) return txtY_KeyPress(kEnter), true;
    if (key == Qt::Key_Delete && watched == lstX) return lstX_KeyDown(kDelete), true;
    if (key == Qt::Key_Delete && watched == lstY) return lstY_KeyDown(kDelete), true;
  }
  if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
    const Qt::MouseButton button = static_cast<QMouseEvent*>(event)->button();
    // A right or middle press removes the row selected before; it must not
    // select the row under the pointer first, so the list never sees it.
    if (button == Qt::RightButton || button == Qt::MiddleButton) {
      if (watched == lstX->viewport()) return lstX_MouseDown(button), true;
      if (watched == lstY->viewport()) return lstY_MouseDown(button), true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void frmTable::EnterValue(QLineEdit* box, bool yList) {
  if (!EntryValue(box->text().toStdString())) return;
  session_.AddPoint(yList, Std(box->text()));
  QListView* list = List(yList);
  list->setCurrentIndex(list->model()->index(list->model()->rowCount() - 1, 0));
  box->clear();
}

void frmTable::txtX_KeyPress(int keyAscii) {
  if (keyAscii == kEnter) EnterValue(txtX, false);
}

void frmTable::txtY_KeyPress(int keyAscii) {
  if (keyAscii == kEnter) EnterValue(txtY, true);
}

// Removing a row leaves no row selected, so a second press removes nothing.
void frmTable::RemoveSelected(bool yList) {
  QListView* list = List(yList);
  const QModelIndex current = list->currentIndex();
  if (!current.isValid() || !list->selectionModel()->isSelected(current)) return;
  list->selectionModel()->clear();
  session_.RemovePoint(yList, static_cast<std::size_t>(current.row()));
  list->selectionModel()->clear();
}

void frmTable::lstX_KeyDown(int keyCode) {
  if (keyCode == kDelete) RemoveSelected(false);
}

void frmTable::lstY_KeyDown(int keyCode) {
  if (keyCode == kDelete) RemoveSelected(true);
}

void frmTable::lstX_MouseDown(Qt::MouseButton button) {
  if (button == Qt::RightButton || button == Qt::MiddleButton) RemoveSelected(false);
}

void frmTable::lstY_MouseDown(Qt::MouseButton button) {
  if (button == Qt::RightButton || button == Qt::MiddleButton) RemoveSelected(true);
}

void frmTable::btnClear_Click() {
  session_.SetPoints({}, {});
  txtEqu->clear();
  lblR2->clear();
  txtX->setFocus();
}

void frmTable::btnGen_Click() { mnuMain->popup(QCursor::pos()); }

void frmTable::mnuLinear_Click() { Fit(1); }

void frmTable::mnuQuad_Click() { Fit(2); }

void frmTable::Fit(int degree) {
  try {
    txtEqu->setText(QString::fromStdString(FitEquationText(session_.PointsX(), session_.PointsY(), degree)));
    lblR2->setText(QString::fromStdString(RSquaredText(session_.PointsX(), session_.PointsY(), degree)));
  } catch (const RegressionError& e) {
    host_.MessageBox(this, QString::fromStdString(e.Description()), MessageIcon::kError);
  }
}

void frmTable::btnAdd_Click() {
  if (txtEqu->text().isEmpty()) {
    host_.MessageBox(this, kBlankFit, MessageIcon::kError);
    return;
  }
  const std::uint32_t color = colorSource_();
  if (appendRow_) appendRow_(txtEqu->text(), QString(), color);
}

void frmTable::btnOK_Click() { hide(); }

void frmTable::mnuSave_Click() {
  comdlg_->DialogTitle("Save Data File");
  comdlg_->Filter(kDataFilter);
  comdlg_->FileName(QString());
  comdlg_->ShowSave();
  if (comdlg_->FileName().isEmpty()) return;
  const QString path = QString::fromStdString(DataFileName(comdlg_->FileName().toStdString()));
  const QByteArray bytes = QByteArray::fromStdString(WriteDataFile(session_.PointsX(), session_.PointsY()));

  const QString reason = WriteWholeFile(path, bytes);
  const bool saved = reason.isEmpty();
  if (!saved) {
    host_.MessageBox(this,
                     QString("The file \"%1\" could not be saved: %2. Any earlier file of that name is unchanged.")
                         .arg(Shown(path), reason),
                     MessageIcon::kError);
  }
}

void frmTable::mnuOpen_Click() {
  comdlg_->DialogTitle("Open Data File");
  comdlg_->Filter(kDataFilter);
  comdlg_->Flags(OpenSaveDialog::kHideReadOnly);
  comdlg_->FileName(QString());
  comdlg_->ShowOpen();
  if (comdlg_->FileName().isEmpty()) return;
  const QString path = comdlg_->FileName();

  QString reason;
  const std::optional<QByteArray> read = ReadPlainFile(path, kMaxDataFileBytes, &reason);
  if (!read) {
    host_.MessageBox(this, Text(DataFileUnreadableText(Std(Shown(path)), Std(reason))), MessageIcon::kError);
    return;
  }
  const QByteArray& bytes = *read;
  const DataFileContents contents = ReadDataFile(std::string_view(bytes.constData(), bytes.size()));
  // Nothing changes unless the whole file reads as points.
  if (const std::string refusal = DataFileRefusal(contents, Std(Shown(path))); !refusal.empty()) {
    host_.MessageBox(this, Text(refusal), MessageIcon::kError);
    return;
  }
  session_.SetPoints(contents.x, contents.y);
  for (QListView* list : {lstX, lstY}) list->setCurrentIndex(list->model()->index(list->model()->rowCount() - 1, 0));
}

bool frmTable::StatPlotShown() const { return session_.StatPlotShown(); }

QStringList frmTable::PointsX() const {
  QStringList rows;
  for (const std::string& row : session_.PointsX()) rows.append(Text(row));
  return rows;
}

QStringList frmTable::PointsY() const {
  QStringList rows;
  for (const std::string& row : session_.PointsY()) rows.append(Text(row));
  return rows;
}

std::vector<std::pair<float, float>> frmTable::StatPoints() const { return session_.StatPoints(); }

}  // namespace cn
