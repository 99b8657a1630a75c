#include "controls/open_save_dialog.h"

#include <optional>

#include "controls/property_bag.h"
#include "platform/host.h"

namespace cn {
namespace {

constexpr QChar kNul = QChar(0);

}  // namespace

OpenSaveDialog::OpenSaveDialog(Host& host, QWidget* owner) : host_(host), owner_(owner) {}

void OpenSaveDialog::ReadProperties(const PropertyBag& bag) {
  flags_ = bag.ReadProperty("Flags", 0).toInt();
  maxFileSize_ = static_cast<std::int16_t>(bag.ReadProperty("MaxFileSize", 260).toInt());
  fileTitle_ = bag.ReadProperty("FileTitle", QString()).toString();
  fileName_ = bag.ReadProperty("FileName", QString()).toString();
  defaultExt_ = bag.ReadProperty("DefaultExt", QString()).toString();
  filterIndex_ = static_cast<std::int16_t>(bag.ReadProperty("FilterIndex", 0).toInt());
  initDir_ = bag.ReadProperty("InitDir", QString()).toString();
  filter_ = bag.ReadProperty("Filter", QString()).toString();
  cancelError_ = bag.ReadProperty("CancelError", false).toBool();
  dialogTitle_ = bag.ReadProperty("DialogTitle", QString()).toString();
}

void OpenSaveDialog::WriteProperties(PropertyBag& bag) const {
  bag.WriteProperty("Flags", flags_, 0);
  bag.WriteProperty("MaxFileSize", maxFileSize_, 260);
  bag.WriteProperty("FileTitle", fileTitle_, QString());
  bag.WriteProperty("FileName", fileName_, QString());
  bag.WriteProperty("DefaultExt", defaultExt_, QString());
  bag.WriteProperty("FilterIndex", filterIndex_, 0);
  bag.WriteProperty("InitDir", initDir_, QString());
  bag.WriteProperty("Filter", filter_, QString());
  bag.WriteProperty("CancelError", cancelError_, false);
  bag.WriteProperty("DialogTitle", dialogTitle_, QString());
}

void OpenSaveDialog::ShowOpen() { Show(true); }

void OpenSaveDialog::ShowSave() { Show(false); }

// The desktop's dialogs have no fixed-size name buffers, so MaxFileSize and
// the buffer lengths of other systems limit nothing here; DefaultExt is kept
// but, as always, not handed to the dialog, and the dialog always opens with
// an empty name. The desktop reports neither the filter the user ended on nor
// changed flags, so FilterIndex and Flags keep what they were given.
void OpenSaveDialog::Show(bool open) {
  const QString converted = filter_.isEmpty() ? QString() : ConvertFilter(filter_);
  if (!converted.isEmpty() && filterIndex_ == 0) filterIndex_ = 1;
  const QString desktopFilter = DesktopFilter(converted);
  const std::optional<QString> chosen = open ? host_.OpenFileName(owner_, dialogTitle_, initDir_, desktopFilter)
                                             : host_.SaveFileName(owner_, dialogTitle_, initDir_, desktopFilter);
  if (!chosen || chosen->isEmpty()) {
    if (cancelError_) throw OpenSaveDialogError(kCancelErrorNumber, kCancelText);
    return;
  }
  const QString path = StripAtNull(*chosen);
  const qsizetype slash = path.lastIndexOf('/');
  const QString title = slash >= 0 ? path.mid(slash + 1) : path;
  if (open && (flags_ & kAllowMultiSelect) != 0) {
    // The multiple-selection answer: the directory, then each name, each
    // followed by NUL, and one more NUL at the end.
    const QString dir = slash >= 0 ? path.left(slash) : QString();
    fileName_ = dir + kNul + title + kNul + kNul;
  } else {
    fileName_ = path;
    fileTitle_ = title;
  }
}

void OpenSaveDialog::ParseMultiFileName(QString& strDir, QStringList& strFiles, int& lngFileCount) {
  const qsizetype doubleNul = fileName_.indexOf(QString(2, kNul));
  if (doubleNul >= 0) {
    const QStringList pieces = fileName_.left(doubleNul).split(kNul);
    for (const QString& piece : pieces) {
      if (strDir.isEmpty()) {
        strDir = piece;
      } else {
        strFiles.append(piece);
        ++lngFileCount;
      }
    }
  } else {
    lngFileCount = 1;
    strFiles = QStringList{QString()};
    const qsizetype slash = fileName_.lastIndexOf('/');
    if (slash >= 1) {
      strDir = fileName_.left(slash);
      strFiles[0] = fileName_.mid(slash + 1);
      return;
    }
    strDir.clear();
    strFiles[0] = fileName_;
    if (slash == 0) return;
  }
  fileName_ = StripAtNull(fileName_);
}

QString OpenSaveDialog::ConvertFilter(const QString& filter) {
  QString result;
  QString rest = filter;
  qsizetype bar;
  while ((bar = rest.indexOf('|')) >= 0) {
    result += rest.left(bar) + kNul;
    rest = rest.mid(bar + 1);
  }
  return result + rest + kNul + kNul;
}

QString OpenSaveDialog::StripAtNull(const QString& text) {
  const qsizetype nul = text.indexOf(kNul);
  return nul < 0 ? text : text.left(nul);
}

QString OpenSaveDialog::DesktopFilter(const QString& converted) {
  // Description and pattern alternate until the empty part that ends the list.
  QStringList parts = converted.split(kNul);
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QString& description = parts[i];
    if (description.isEmpty() && parts[i + 1].isEmpty()) break;
    const QString patterns = parts[i + 1].split(';', Qt::SkipEmptyParts).join(' ').trimmed();
    if (patterns.isEmpty() || description.contains('(' + patterns + ')')) {
      filters.append(description);
    } else {
      filters.append(description + " (" + patterns + ')');
    }
  }
  return filters.join(";;");
}

}  // namespace cn
