#include "workspace/document_state.h"

#include <QFileInfo>
#include <QSettings>

namespace cn {
namespace {

constexpr auto kRecentFilesKey = QLatin1StringView("recentFiles");

// One spelling per file, so that "a/../b.curvenest" and "b.curvenest" from
// the same folder count as one entry.
QString Canonical(const QString& path) { return QFileInfo(path).absoluteFilePath(); }

}  // namespace

bool HasUnsavedWork(const WorkspaceDocument& current, const WorkspaceDocument& saved) {
  return current.HasWork() && current != saved;
}

QString WorkspaceCaption(const QString& path, const QString& programCaption) {
  if (path.isEmpty()) return programCaption + QStringLiteral("[*]");
  return QFileInfo(path).fileName() + QStringLiteral("[*] - ") + programCaption;
}

QStringList RecentFiles::Files() const {
  QStringList files;
  for (const QString& entry : settings_.value(kRecentFilesKey).toStringList()) {
    if (entry.isEmpty()) continue;
    const QString path = Canonical(entry);
    if (files.contains(path)) continue;
    files.append(path);
    if (files.size() == kMaxRecentFiles) break;
  }
  return files;
}

void RecentFiles::Add(const QString& path) {
  if (path.isEmpty()) return;
  const QString canonical = Canonical(path);
  QStringList files = Files();
  files.removeAll(canonical);
  files.prepend(canonical);
  while (files.size() > kMaxRecentFiles) files.removeLast();
  Store(files);
}

void RecentFiles::Remove(const QString& path) {
  QStringList files = Files();
  files.removeAll(Canonical(path));
  Store(files);
}

void RecentFiles::Store(const QStringList& files) { settings_.setValue(kRecentFilesKey, files); }

}  // namespace cn
