// The main window's workspace file: New, Open, Save, Save As, the recent
// files, the caption and the question before unsaved work is thrown away.
#include <QAction>
#include <QCheckBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QSettings>
#include <QUndoStack>

#include "equations/equation_text.h"
#include "platform/host.h"
#include "stats/frm_table.h"
#include "workspace/frm_main.h"
#include "workspace/workspace_file.h"
#include "workspace/document_state.h"

namespace cn {

WorkspaceDocument frmMain::Document() const { return session_.Document(); }

void frmMain::ApplyDocument(const WorkspaceDocument& document) {
  // A search of the old workspace must not answer into the new one.
  StopTool();
  applying_ = true;
  SelectRow(-1);
  session_.Apply(document);
  SetSwatch(palette().color(QPalette::Button));
  applying_ = false;
  // As Graph: a window the boxes cannot make is reported, and the equations
  // are then drawn on the window shown so far.
  ReadBoxes();
  Plot();
  // Another workspace: its history starts here.
  undo_->clear();
  undoState_ = session_.State();
  UpdateCaption();
}

bool frmMain::HasUnsavedChanges() const { return !session_.Holds(saved_); }

void frmMain::UpdateCaption() {
  if (applying_) return;
  // An untitled workspace keeps the program's caption, marked "*" once it
  // holds work that a close would ask about.
  setWindowTitle(WorkspaceCaption(path_, programCaption_));
  setWindowModified(HasUnsavedChanges() && (session_.HasWork() || !path_.isEmpty()));
}

bool frmMain::MayDiscardWork() {
  if (!HasUnsavedWork(Document(), saved_)) return true;
  switch (host_.AskSaveChanges(this, kSaveChangesQuestion)) {
    case SaveChoice::kSave:
      return mnuSave_Click();
    case SaveChoice::kDiscard:
      return true;
    case SaveChoice::kCancel:
      break;
  }
  return false;
}

bool frmMain::OpenWorkspace(const QString& path) {
  WorkspaceDocument document;
  QString message;
  if (!ReadWorkspace(path, &document, &message)) {
    host_.MessageBox(this, message, MessageIcon::kError);
    return false;
  }
  ApplyDocument(document);
  path_ = QFileInfo(path).absoluteFilePath();
  saved_ = Document();
  undo_->setClean();
  RecentFiles(*settings_).Add(path_);
  RefreshRecentMenu();
  UpdateCaption();
  // The file opens whole, every row as typed; a row that cannot plot is
  // named in the log with the reason, so nothing vanishes without a word.
  for (std::size_t i = 0; i < document.equations.size(); ++i) {
    const WorkspaceEquation& e = document.equations[i];
    std::optional<std::string> problem;
    if (const auto fault = FindEquationFault(e.expression)) problem = fault->message;
    if (!problem) problem = FindConditionFault(e.condition);
    if (!problem) continue;
    WriteLogLine(QString("Equation %1 \"%2\" cannot plot: %3")
                     .arg(i + 1)
                     .arg(QString::fromStdString(e.expression), QString::fromStdString(*problem)));
  }
  return true;
}

void frmMain::mnuNew_Click() {
  if (!MayDiscardWork()) return;
  ApplyDocument(WorkspaceDocument{});
  path_.clear();
  saved_ = Document();
  undo_->setClean();
  UpdateCaption();
}

void frmMain::mnuOpen_Click() {
  if (!MayDiscardWork()) return;
  const QString dir = path_.isEmpty() ? QString() : QFileInfo(path_).absolutePath();
  const auto chosen = host_.OpenFileName(this, "Open", dir, kWorkspaceFilter);
  if (chosen && !chosen->isEmpty()) OpenWorkspace(*chosen);
}

void frmMain::OpenRecent(const QString& path) {
  if (!MayDiscardWork()) return;
  if (OpenWorkspace(path)) return;
  // A file that is gone leaves the list; one that only failed to read stays.
  if (!QFileInfo::exists(path)) {
    RecentFiles(*settings_).Remove(path);
    RefreshRecentMenu();
  }
}

bool frmMain::mnuSave_Click() {
  if (path_.isEmpty()) return mnuSaveAs_Click();
  return SaveTo(path_);
}

bool frmMain::mnuSaveAs_Click() {
  const QString dir = path_.isEmpty() ? QString() : path_;
  const auto chosen = host_.SaveFileName(this, "Save As", dir, kWorkspaceFilter);
  if (!chosen || chosen->isEmpty()) return false;
  QString path = *chosen;
  if (QFileInfo(path).suffix().isEmpty()) path += QString(".") + kWorkspaceSuffix;
  return SaveTo(path);
}

bool frmMain::SaveTo(const QString& path) {
  const WorkspaceDocument document = Document();
  QString message;
  if (!WriteWorkspace(path, document, &message)) {
    host_.MessageBox(this, message, MessageIcon::kError);
    return false;
  }
  path_ = QFileInfo(path).absoluteFilePath();
  saved_ = document;
  undo_->setClean();
  RecentFiles(*settings_).Add(path_);
  RefreshRecentMenu();
  UpdateCaption();
  return true;
}

void frmMain::RefreshRecentMenu() {
  // Later, not now: the action that opened a file may still be emitting.
  for (QAction* old : mnuRecent->actions()) {
    mnuRecent->removeAction(old);
    old->deleteLater();
  }
  const QStringList files = RecentFiles(*settings_).Files();
  for (int i = 0; i < files.size(); ++i) {
    const QString path = files[i];
    QAction* action = mnuRecent->addAction(QString("&%1 %2").arg(i + 1).arg(QFileInfo(path).fileName()));
    action->setObjectName(QString("mnuRecent%1").arg(i + 1));
    action->setData(path);
    action->setToolTip(path);
    action->setStatusTip(path);
    connect(action, &QAction::triggered, this, [this, path] { OpenRecent(path); });
  }
  mnuRecent->setEnabled(!files.isEmpty());
}

}  // namespace cn
