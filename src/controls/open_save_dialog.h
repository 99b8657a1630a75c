// The file dialog control: a title, a filter and flags are set as properties,
// ShowOpen or ShowSave shows the desktop's dialog through the Host, and
// FileName holds the answer. Paths use "/" between directories.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <stdexcept>

class QWidget;

namespace cn {

class Host;
class PropertyBag;

// Raised by ShowOpen and ShowSave when the user cancels and CancelError is set.
class OpenSaveDialogError : public std::runtime_error {
 public:
  OpenSaveDialogError(int number, const char* description) : std::runtime_error(description), number_(number) {}
  int Number() const { return number_; }
  int HelpContext() const { return number_; }
  QString Description() const { return QString::fromUtf8(what()); }

 private:
  int number_;
};

class OpenSaveDialog {
 public:
  static constexpr const char* kProgId = "Curvenest.OpenSaveDialog";
  static constexpr std::int32_t kAllowMultiSelect = 512;
  static constexpr std::int32_t kHideReadOnly = 4;
  static constexpr int kCancelErrorNumber = 32755;
  static constexpr const char* kCancelText = "Cancel was selected.";

  // `owner` is the window the dialogs belong to.
  OpenSaveDialog(Host& host, QWidget* owner);

  // Properties in get/set pairs; setting stores the value and nothing else.
  std::int32_t Flags() const { return flags_; }
  void Flags(std::int32_t vData) { flags_ = vData; }
  std::int16_t MaxFileSize() const { return maxFileSize_; }
  void MaxFileSize(std::int16_t vData) { maxFileSize_ = vData; }
  const QString& FileTitle() const { return fileTitle_; }
  void FileTitle(const QString& vData) { fileTitle_ = vData; }
  const QString& FileName() const { return fileName_; }
  void FileName(const QString& vData) { fileName_ = vData; }
  const QString& DefaultExt() const { return defaultExt_; }
  void DefaultExt(const QString& vData) { defaultExt_ = vData; }
  std::int16_t FilterIndex() const { return filterIndex_; }
  void FilterIndex(std::int16_t vData) { filterIndex_ = vData; }
  const QString& InitDir() const { return initDir_; }
  void InitDir(const QString& vData) { initDir_ = vData; }
  // Pairs of a description and a pattern, each followed by "|".
  const QString& Filter() const { return filter_; }
  void Filter(const QString& vData) { filter_ = vData; }
  bool CancelError() const { return cancelError_; }
  void CancelError(bool vData) { cancelError_ = vData; }
  const QString& DialogTitle() const { return dialogTitle_; }
  void DialogTitle(const QString& vData) { dialogTitle_ = vData; }

  // The design-time settings, under their own names, with their defaults.
  void ReadProperties(const PropertyBag& bag);
  void WriteProperties(PropertyBag& bag) const;

  // The Open and Save dialogs. On acceptance FileName and FileTitle take the
  // chosen file; on cancel nothing changes, and with CancelError set
  // OpenSaveDialogError 32755 is thrown. With the multiple-selection flag an
  // accepted FileName reads directory, NUL, name, NUL, NUL.
  void ShowOpen();
  void ShowSave();

  // Splits FileName into a directory and file names. strFiles collects the
  // names in order (the first at index 0); lngFileCount counts them.
  void ParseMultiFileName(QString& strDir, QStringList& strFiles, int& lngFileCount);

  // "A|*.a|" -> "A", NUL, "*.a", NUL, NUL, NUL: a NUL after every part and
  // one more at the end.
  static QString ConvertFilter(const QString& filter);
  // The text before the first NUL.
  static QString StripAtNull(const QString& text);
  // A converted filter in the form the desktop's dialogs take:
  // "A (*.a);;B (*.b *.c)". A description that already shows its patterns
  // in brackets is kept as it is.
  static QString DesktopFilter(const QString& converted);

 private:
  void Show(bool open);

  Host& host_;
  QWidget* owner_;
  std::int32_t flags_ = 0;
  std::int16_t maxFileSize_ = 260;
  QString fileTitle_;
  QString fileName_;
  QString defaultExt_;
  std::int16_t filterIndex_ = 0;
  QString initDir_;
  QString filter_;
  bool cancelError_ = false;
  QString dialogTitle_;
};

}  // namespace cn
