#include "workspace/file_io.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <cstring>

namespace cn {

QString WriteWholeFile(const QString& path, const QByteArray& bytes) {
  if (QFileInfo(path).isDir()) return QStringLiteral("it is a folder");
  QSaveFile file(path);
  // Unbuffered: Qt 6.4's QSaveFile::commit() renames the temporary file over
  // the target even when flushing its buffer failed (a full disk); written
  // directly, the failure shows in write()'s count and the copy is dropped.
  if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return file.errorString();
  qint64 written = 0;
  while (written < bytes.size()) {
    errno = 0;
    const qint64 n = file.write(bytes.constData() + written, bytes.size() - written);
    if (n <= 0) {
      // Qt keeps no reason for a short write; errno still has it.
      const int error = errno;
      file.cancelWriting();
      return error != 0 ? QString::fromLocal8Bit(std::strerror(error)) : file.errorString();
    }
    written += n;
  }
  if (!file.commit()) return file.errorString();
  return {};
}

std::optional<QByteArray> ReadPlainFile(const QString& path, qint64 limit, QString* reason) {
  const QFileInfo info(path);
  if (info.isDir()) {
    *reason = QStringLiteral("it is a folder");
    return std::nullopt;
  }
  if (info.exists() && !info.isFile()) {
    *reason = QStringLiteral("it is not a plain file");
    return std::nullopt;
  }
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    *reason = file.errorString();
    return std::nullopt;
  }
  // One byte past the limit tells a file that is too large, also where the
  // size is not known beforehand (/proc).
  QByteArray bytes = file.read(limit + 1);
  if (file.error() != QFileDevice::NoError) {
    *reason = file.errorString();
    return std::nullopt;
  }
  if (bytes.size() > limit) {
    *reason = limit >= 1024 * 1024 ? QStringLiteral("it is larger than %1 MB").arg(limit / (1024 * 1024))
                                   : QStringLiteral("it is larger than %1 bytes").arg(limit);
    return std::nullopt;
  }
  return bytes;
}

}  // namespace cn
