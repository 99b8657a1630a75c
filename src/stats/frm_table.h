// The statistics window: two lists of numbers that pair up as data points, a
// least-squares line or parabola through them, the stat plot switch for the
// graph, and the points' data files.
#pragma once

#include <QStringList>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListView;
class QMenu;
class QMenuBar;
class QPushButton;

namespace cn {

class Host;
class OpenSaveDialog;
class TextListModel;
class WorkspaceSession;

class frmTable : public QWidget {
  Q_OBJECT

 public:
  // Appends one row (expression, condition, packed RGB colour) to the main
  // window's equation list and selects it.
  using AppendRow = std::function<void(const QString& expression, const QString& condition, std::uint32_t color)>;
  // The colour of a new row.
  using ColorSource = std::function<std::uint32_t()>;

  // A modeless window without owner, a view over the data points and the
  // stat plot box of `session`, which outlives it. `colorSource` defaults to
  // the equation dialog's DoRndColor (NewRowColor).
  frmTable(Host& host, WorkspaceSession& session, AppendRow appendRow, ColorSource colorSource = {});
  ~frmTable() override;

  // What the graph's stat plot reads: the check box, the row texts, and the
  // first min(count X, count Y) points as singles (a row that is not a
  // number counts as 0).
  bool StatPlotShown() const;
  QStringList PointsX() const;
  QStringList PointsY() const;
  std::vector<std::pair<float, float>> StatPoints() const;


  OpenSaveDialog& comdlg() { return *comdlg_; }

  // Event handlers, public so that tests can drive them as the events would.
  void txtX_KeyPress(int keyAscii);
  void txtY_KeyPress(int keyAscii);
  void lstX_KeyDown(int keyCode);
  void lstY_KeyDown(int keyCode);
  void lstX_MouseDown(Qt::MouseButton button);
  void lstY_MouseDown(Qt::MouseButton button);
  void btnClear_Click();
  void btnGen_Click();
  void mnuLinear_Click();
  void mnuQuad_Click();
  void btnAdd_Click();
  void btnOK_Click();
  void mnuOpen_Click();
  void mnuSave_Click();

  static constexpr int kEnter = 13;
  static constexpr int kDelete = 46;

 signals:
  // Any change of the rows or of the stat plot box, by whatever path: what
  // the workspace needs to know that it has unsaved changes.
  void Changed();

 protected:
  // Closing by the title bar discards the points; OK only hides.
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildWindow();
  void EnterValue(QLineEdit* box, bool yList);
  void RemoveSelected(bool yList);
  void Fit(int degree);
  // The session changed: the lists and the box follow.
  void ShowSession();
  QListView* List(bool yList) const { return yList ? lstY : lstX; }

  Host& host_;
  WorkspaceSession& session_;
  std::size_t listener_ = 0;
  bool showing_ = false;  // the box is being set from the session
  AppendRow appendRow_;
  ColorSource colorSource_;
  std::unique_ptr<OpenSaveDialog> comdlg_;

  QMenuBar* menuBar_ = nullptr;
  QMenu* mnuFile = nullptr;
  QAction* mnuOpen = nullptr;
  QAction* mnuSave = nullptr;
  QMenu* mnuMain = nullptr;
  QAction* mnuLinear = nullptr;
  QAction* mnuQuad = nullptr;
  QGroupBox* fraPoint = nullptr;
  QListView* lstX = nullptr;
  QListView* lstY = nullptr;
  TextListModel* rowsX_ = nullptr;
  TextListModel* rowsY_ = nullptr;
  QLineEdit* txtX = nullptr;
  QLineEdit* txtY = nullptr;
  QPushButton* btnClear = nullptr;
  QCheckBox* chkPlot = nullptr;
  QGroupBox* fraOut = nullptr;
  QPushButton* btnGen = nullptr;
  QPushButton* btnAdd = nullptr;
  QLineEdit* txtEqu = nullptr;
  QLabel* lblR2 = nullptr;
  QPushButton* btnOK = nullptr;
};

}  // namespace cn
