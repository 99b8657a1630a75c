// The one way Curvenest writes and reads its files (workspaces, data files,
// exported graphs), so that every door keeps the same promises.
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace cn {

// Writes `bytes` to `path` whole or not at all: beside the old file first,
// every write checked, then renamed over it, so a full disk, a missing folder
// or a read-only place leaves any old file exactly as it was. Returns the
// reason of a failure ("No space left on device"), or an empty text.
QString WriteWholeFile(const QString& path, const QByteArray& bytes);

// Reads a plain file of at most `limit` bytes. A folder, a device or a pipe
// is refused before it is opened (a pipe would wait for a writer, /dev/zero
// never ends), and so is a larger file, also one whose size is not known
// beforehand. nullopt with the reason ("it is not a plain file") on failure.
std::optional<QByteArray> ReadPlainFile(const QString& path, qint64 limit, QString* reason);

}  // namespace cn
