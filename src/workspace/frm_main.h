// The main window: the equation list, the graph window, the drawing surface,
// the point questions and the info log. Every feature starts here.
#pragma once

#include <QImage>
#include <QMainWindow>
#include <QPointer>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "analysis/tools.h"
#include "core/progress.h"
#include "workspace/model/equation_model.h"
#include "workspace/model/graph_description.h"
#include "workspace/model/workspace_document.h"
#include "workspace/model/workspace_session.h"

class QAction;
class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListView;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSettings;
class QShortcut;
class QUndoStack;

namespace cn {

class GraphJob;
class ToolJob;
class GraphSurface;
class Host;
class frmEqu;
class frmIntSelect;
class frmTable;

class StyledProgressBar;
class TextListModel;

class frmMain : public QMainWindow {
  Q_OBJECT

 public:
  // `settings` keeps the recent files and the window's place; nullptr uses the user's settings of
  // Curvenest. Tests pass their own, so that they never touch the user's.
  explicit frmMain(Host& host, QWidget* parent = nullptr, QSettings* settings = nullptr);
  ~frmMain() override;

  // The workspace as a file keeps it: the equation rows, the six boxes as
  // typed, "Write equations on graph" and the statistics window's rows and
  // Show Stat Plot (no rows when that window was never shown).
  WorkspaceDocument Document() const;
  // Replaces all of that with `document` and graphs it, as Graph does. The
  // file name and the saved state are not touched.
  void ApplyDocument(const WorkspaceDocument& document);
  // Puts the window where the user left it last time (kept in the settings),
  // or, the first time, gives it the size its plane asks for as far as the
  // screen allows. From then on closing the window keeps its place.
  void RestorePlacement();
  // The workspace's file (absolute), "" while untitled.
  QString WorkspacePath() const { return path_; }
  // The workspace differs from what was last opened or saved (for an untitled
  // workspace: from the start-up workspace).
  bool HasUnsavedChanges() const;
  // Opens `path` without asking about unsaved work (the command line's FILE).
  // A file that cannot be read is refused with a message naming it, and the
  // workspace stays exactly as it was.
  bool OpenWorkspace(const QString& path);

  // File > New, Open..., Save, Save As... and a recent file. Each that would
  // replace unsaved work asks "Save changes?" first. The saves return true
  // when the file was written.
  void mnuNew_Click();
  void mnuOpen_Click();
  bool mnuSave_Click();
  bool mnuSaveAs_Click();
  void OpenRecent(const QString& path);

  // The statistics window, or nullptr when it has not been shown yet.
  QWidget* StatisticsWindow() const;

  // Draws the empty plane for the boxes' window. False (after an error
  // message naming the box) when the window cannot be drawn; the plane and
  // the members then stay as they were.
  bool DrawAxis();

  // Appends a tool's result under the selected equation's header.
  // Appends "caption result" under the header of `equation`, the equation
  // the result was computed for (not whichever row is selected by now).
  void WriteLogResult(const QString& caption, const QString& result, const QString& equation);
  // Appends a line of its own to the info log.
  void WriteLogLine(const QString& line);

  // Appends one equation to the session (the lists show it) and selects it.
  void AppendEquation(const QString& expression, const QString& condition, std::uint32_t color);
  // The workspace this window shows; every change goes through it.
  WorkspaceSession& Session() { return session_; }
  const WorkspaceSession& Session() const { return session_; }
  // The equation list; lstEqu and lstCondition only show it.
  const EquationModel& Equations() const { return session_.Equations(); }
  // What the plane shows: the window and, after a Graph, everything plotted.
  // A resize, Copy Graph, Print and Export Graph draw it again.
  const GraphDescription& LastGraph() const { return lastGraph_; }
  // The members as a value.
  // The graph window, refreshed from the six boxes by every DrawAxis (and
  // written back into them by every zoom and pan); the tools search it.
  const GraphWindow& Window() const { return session_.Window(); }
  // True while a Graph is being drawn (on a worker thread).
  bool Drawing() const { return graphJob_ != nullptr; }
  // True while a Graph is drawn or a tool searches; Idle follows both.
  bool Busy() const { return graphJob_ != nullptr || toolJob_ != nullptr; }
  // The selected equation's text; empty when none is selected.
  QString SelectedEquation() const;

  GraphSurface* Surface() const { return picQuad_; }
  Progress& ProgressBar();
  Host& host() const { return host_; }

  // The payment page that "Buy for $10" and the buy-now image open.
  static constexpr const char* kPaymentUrl = "https://curvenest.example/buy";

  // Event handlers, public so that tests can drive them as the events would.
  void btnAdd_Click();
  void mnuTable_Click();
  void mnuGraph_Click();
  void btnDelete_Click();
  void btnClear_Click();
  void lstEqu_Click();
  void lstCondition_Click();
  void lstEqu_DblClick();
  void lstCondition_DblClick();
  void picColor_Click();
  void mnuBuy_Click();
  void mnuPrint_Click();
  void mnuAbout2_Click();
  // Asks about unsaved work, then ends the program.
  void mnuExit_Click();
  void picQuad_MouseMove(Qt::MouseButtons button, Qt::KeyboardModifiers shift, float x, float y);
  // View > Trace: a cross on the selected equation at the pointer's x.
  bool Tracing() const;
  void SetTracing(bool on);
  // In trace, the arrow keys: dx moves by a pixel's worth of x (0.001 with
  // Shift), dy = 1 goes to the previous equation, -1 to the next.
  void TraceStep(int dx, int dy, bool shift);
  // Enter in trace: marks the traced point.
  void MarkTracePoint();
  // The line beside the progress bar (why a zoom did nothing, ...).
  QString StatusText() const;
  void Form_MouseMove();

  // The analysis tools (frm_main_tools.cpp).
  void cmdX_Click();
  void cmdY_Click();
  void txtX_GotFocus();
  void txtY_GotFocus();
  void btnViewTable_Click();
  void mnuDomain_Click();
  void mnuRange_Click();
  void mnuMin_Click();
  void mnuMax_Click();
  void mnuInt_Click();
  // Tools > Get Slope: f'(x) at the x box, logged and drawn as the tangent
  // until the next Graph. Tools > Get Area: between two bounds asked for,
  // logged and shaded until the next Graph.
  void mnuSlope_Click();
  void mnuArea_Click();
  void mnuCopy_Click();
  // button: 1 left, 2 right, 4 middle; shift and the position are not used.
  void picQuad_MouseDown(int button, int shift, float x, float y);

  // Zoom and pan: each writes the new window into the boxes and graphs it.
  // `steps` wheel notches zoom in (positive) or out by 2 per notch about the
  // world point (x, y).
  void ZoomAt(int steps, double x, double y);
  void mnuZoomIn_Click();
  void mnuZoomOut_Click();
  void mnuZoomStandard_Click();
  // Moves the window by dx XSteps and dy YSteps (whole units, at least 1).
  void PanBySteps(int dx, int dy);
  // File > Export Graph...: PNG, SVG or PDF of the last Graph.
  void mnuExport_Click();
  // Stops a Graph in progress; what was drawn stays.
  void CancelDrawing();
  // Edit > Undo and Redo: every change of the workspace, one step each
  // (typing into one window box is one step).
  QUndoStack& UndoStack() const { return *undo_; }

 signals:
  // Every Graph and tool has ended: the plane shows the last picture.
  void Idle();

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildWindow();
  void BuildMenus();
  QAction* AddMenuItem(QMenu* menu, const QString& caption, const QString& name, int imageIndex,
                       Qt::Key shortcut = Qt::Key_unknown);
  void WriteLogHeader(const QString& equation);
  // Asks for a row's new text until `fault` accepts it (nullopt) or the user
  // cancels (nullopt is returned then).
  std::optional<QString> EditRow(const QString& prompt, QString shown,
                                 const std::function<std::optional<std::string>(const std::string&)>& fault);
  // The selected equation for a tool, or "" after saying why there is none
  // (nothing selected, or a row that cannot plot).
  QString EquationForTool();
  bool HasSelection() const;
  void SetSwatch(const QColor& color);
  void SetSwatchFromRow();
  // Connects the analysis tools' buttons, actions, focus and surface clicks.
  void ConnectTools();
  void FindExtremeCommand(bool minimum);
  // Reads the six boxes into the members; false (after a message) when they
  // do not make a window.
  bool ReadBoxes();
  // Graphs the equations on the members' window.
  void Plot();
  // Draws lastGraph_ on the plane at its current size.
  void Redraw();
  // Starts drawing lastGraph_ on a worker thread.
  void StartGraph();
  void GraphFinished(const QImage& picture, bool complete);
  // The finished picture with what the tools found painted over it.
  void ShowAnswers();
  // Writes a window into the bound boxes (and the step boxes too when
  // `steps`) and graphs it.
  void ShowWindow(const GraphWindow& window, bool steps = false);
  void RefreshLists();
  // The session changed: the widgets that show it follow.
  void SessionChanged(SessionChange change);
  // The boxes and check boxes show the session's texts and options.
  void ShowSessionTexts();
  // Puts the change since the last step on the undo stack.
  void RecordUndoStep();
  // Undo and Redo: the workspace as it was at a step.
  void RestoreStep(const SessionState& state);
  int SelectedRow() const;
  void SelectRow(int row);
  // The statistics window, made (hidden) when it does not exist yet.
  frmTable& Table();
  // "Save changes?" when unsaved work would be lost; true when the caller
  // may go on (saved, discarded, or nothing to lose).
  bool MayDiscardWork();
  bool SaveTo(const QString& path);
  // The caption with the file name and the unsaved mark.
  void UpdateCaption();
  void RefreshRecentMenu();
  // Runs a tool's search as a job; `done` runs on the window's thread once
  // it has run to its end (a stopped search reports nothing). The bar shows
  // its progress when `showProgress`.
  void RunTool(std::function<void(Progress&)> work, std::function<void()> done, bool showProgress = true);
  void SetToolsEnabled(bool enabled);
  // The trace point at traceX_ on the selected row, and its readout.
  void ShowTrace();
  void ShowStatus(const QString& text);
  // The mark within a few pixels of widget point `at`, if any.
  const Mark* MarkNear(const QPointF& at) const;
  // The tool's bar, Cancel and buttons as they are without a search.
  void ToolEnded();
  // Stops a running search and drops its answer (New, Open, closing).
  void StopTool();
  // A search whose answer is a line of the log under `equation`.
  // `then`, when given, hears the answer after it is logged.
  void LogSearch(const QString& caption, const QString& equation, std::function<std::string(Progress&)> search,
                 std::function<void(const std::string&)> then = {});
  // Marks what a tool found for row `row` when that row still holds `equation`.
  void MarkFound(int row, const QString& equation, std::vector<Mark> marks);
  void MarkIntersections(int first, int second, const QString& a, const QString& b,
                         const std::vector<IntersectPoint>& points);

  Host& host_;
  QPointer<frmEqu> equ_;              // the equation dialog while it is open
  QPointer<frmTable> table_;          // the statistics window once it has been shown
  QPointer<frmIntSelect> intSelect_;  // the intersection dialog while it is open
  QString LastLoggedEquation;
  bool CrosshairHidden = true;

  QPlainTextEdit* txtInfo = nullptr;
  QPushButton* btnClear = nullptr;
  QLineEdit* txtX = nullptr;
  QLineEdit* txtY = nullptr;
  QPushButton* cmdX = nullptr;
  QPushButton* cmdY = nullptr;
  QRadioButton* optLow = nullptr;
  QRadioButton* optHigh = nullptr;
  QPushButton* btnViewTable = nullptr;
  QListView* lstEqu = nullptr;
  QListView* lstCondition = nullptr;
  TextListModel* equationRows_ = nullptr;
  TextListModel* conditionRows_ = nullptr;
  QFrame* picColor = nullptr;
  QPushButton* btnAdd = nullptr;
  QPushButton* btnDelete = nullptr;
  QPushButton* btnGraph = nullptr;
  QLineEdit* txtXMin = nullptr;
  QLineEdit* txtXMax = nullptr;
  QLineEdit* txtYMin = nullptr;
  QLineEdit* txtYMax = nullptr;
  QLineEdit* txtYStep = nullptr;
  QLineEdit* txtXStep = nullptr;
  QCheckBox* chkEqu = nullptr;
  GraphSurface* picQuad_ = nullptr;
  QLabel* lblCoord = nullptr;
  StyledProgressBar* prog = nullptr;
  QLabel* imgPay = nullptr;
  QPushButton* btnCancelGraph = nullptr;
  QAction* mnuConnect = nullptr;
  QAction* mnuTrace = nullptr;
  QLabel* lblStatus = nullptr;
  double traceX_ = 0;
  std::optional<double> traceY_;  // f at traceX_, when it has a value there
  QShortcut* escape_ = nullptr;

  WorkspaceSession session_;
  QUndoStack* undo_ = nullptr;
  SessionState undoState_;       // the workspace at the top of the undo stack
  bool restoring_ = false;       // Undo or Redo is applying a step
  GraphDescription lastGraph_;
  QImage plain_;             // the last finished picture, without the answers
  GraphWindow plainWindow_;  // and its window
  std::unique_ptr<GraphJob> graphJob_;  // the Graph being drawn
  std::unique_ptr<ToolJob> toolJob_;    // the tool's search under way
  bool restart_ = false;                // a newer picture was asked for during a Graph
  bool redrawPending_ = false;          // a picture was asked for during a tool
  GraphWindow dragStart_;               // the window when the left button went down

  QSettings* settings_ = nullptr;
  QMenu* mnuRecent = nullptr;
  QString programCaption_;       // "Curvenest Version 1 Build 31"
  QString path_;                 // the workspace's file, "" while untitled
  WorkspaceDocument saved_;      // what path_ holds (the start-up workspace while untitled)
  bool applying_ = false;        // ApplyDocument is replacing everything
  bool showing_ = false;         // the widgets are being set from the session
  bool closeAsked_ = false;      // Exit has asked already; the close must not ask again
  bool keepsPlacement_ = false;  // RestorePlacement was called: closing stores the place
};

}  // namespace cn
