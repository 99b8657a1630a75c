// What the main window needs around its workspace file, without widgets: when
// closing would lose work, the caption, and the list of recent files.
#pragma once

#include <QString>
#include <QStringList>

#include "workspace/model/workspace_document.h"

class QSettings;

namespace cn {

// The question before Close, Exit, New and Open throw away unsaved work.
inline constexpr const char* kSaveChangesQuestion = "Save changes?";
inline constexpr int kMaxRecentFiles = 5;

// True when replacing `current` would lose work: it differs from `saved`, the
// document last saved or opened (the start-up document for a workspace never
// saved), and it holds an equation or a data point. A workspace with neither
// has nothing to lose, however its window boxes were changed.
bool HasUnsavedWork(const WorkspaceDocument& current, const WorkspaceDocument& saved);

// The main window's caption with Qt's "[*]" placeholder, where a window whose
// windowModified is set shows its "*":
//   "/home/me/trig.curvenest", "Curvenest Version 1 Build 31"
//     -> "trig.curvenest[*] - Curvenest Version 1 Build 31"
//   "", "Curvenest Version 1 Build 31" -> "Curvenest Version 1 Build 31[*]"
QString WorkspaceCaption(const QString& path, const QString& programCaption);

// The recently opened and saved workspaces, newest first, kept in `settings`
// under "recentFiles" as absolute paths.
class RecentFiles {
 public:
  explicit RecentFiles(QSettings& settings) : settings_(settings) {}

  // At most kMaxRecentFiles paths, newest first. What another program or
  // version left in the settings is cleaned: no empty entries, no repeats.
  QStringList Files() const;
  // Puts `path` first, once, dropping the oldest beyond kMaxRecentFiles.
  void Add(const QString& path);
  // Takes `path` off the list, e.g. when it no longer opens.
  void Remove(const QString& path);

 private:
  void Store(const QStringList& files);
  QSettings& settings_;
};

}  // namespace cn
