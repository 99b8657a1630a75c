// Workspace files (.curvenest): JSON with "format": 1, described in
// docs/workspace-format.md. Reading is strict and all-or-nothing: a file is
// either taken whole or refused with one message naming the file and the
// problem, and the caller's document is not touched. Saving is atomic: a
// failed save leaves the old file as it was.
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

#include "workspace/model/workspace_document.h"

namespace cn {

inline constexpr int kWorkspaceFormat = 1;
// Larger files are refused unread: a workspace of a thousand equations and
// ten thousand data points is well under 1 MB.
inline constexpr qint64 kMaxWorkspaceBytes = 4 * 1024 * 1024;
inline constexpr const char* kWorkspaceSuffix = "curvenest";
// For file dialogs.
inline constexpr const char* kWorkspaceFilter = "Curvenest workspaces (*.curvenest)";

// The document in `bytes`, or nullopt with `problem` set to what is wrong,
// e.g. "equation 2: \"color\" must be a whole number from 0 to 16777215".
// Unknown members are ignored. No file access: the fuzz target calls this.
std::optional<WorkspaceDocument> ParseWorkspace(const QByteArray& bytes, QString* problem);

// The file's text: indented JSON, UTF-8, ending with a newline.
QByteArray SerializeWorkspace(const WorkspaceDocument& document);

// Reads `path`. On failure returns false, leaves `*document` untouched and
// sets `*message` to one sentence for a message box or stderr:
//   Could not open "/home/me/trig.curvenest": it is not JSON (unterminated object at byte 118).
bool ReadWorkspace(const QString& path, WorkspaceDocument* document, QString* message);

// Writes `path` atomically. On failure returns false and sets `*message`:
//   Could not save "/home/me/trig.curvenest": Permission denied.
bool WriteWorkspace(const QString& path, const WorkspaceDocument& document, QString* message);

}  // namespace cn
