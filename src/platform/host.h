// The one seam between the windows and the desktop: every modal dialog and
// every hand-off to the outside world goes through a Host, so that tests can
// script the answers and no test ever blocks on a modal window.
#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <optional>

class QPainter;
class QWidget;

namespace cn {

inline constexpr const char* kProgramTitle = "Curvenest";

enum class MessageIcon { kError, kInformation, kWarning, kNone };

// The answers to "Save changes?".
enum class SaveChoice { kSave, kDiscard, kCancel };

class Host {
 public:
  virtual ~Host() = default;

  // A message box titled "Curvenest" with a single OK button.
  virtual void MessageBox(QWidget* owner, const QString& text, MessageIcon icon) = 0;
  // The same with a title of its own (the printer's failures carry one). A
  // host that cannot title its boxes falls back on the program's title.
  virtual void MessageBox(QWidget* owner, const QString& text, MessageIcon icon, const QString& title) {
    (void)title;
    MessageBox(owner, text, icon);
  }

  // A question titled "Curvenest" with the buttons Save, Discard and Cancel,
  // asked before unsaved work would be thrown away. Closing the box or
  // pressing Escape answers Cancel, so nothing is lost by accident.
  virtual SaveChoice AskSaveChanges(QWidget* owner, const QString& question) = 0;

  // An input box titled "Curvenest"; nullopt when the user cancels.
  virtual std::optional<QString> InputBox(QWidget* owner, const QString& prompt, const QString& defaultText) = 0;

  // The desktop's colour chooser, starting at `initial` (packed RGB:
  // red + 256 * green + 65536 * blue); nullopt when cancelled.
  virtual std::optional<std::uint32_t> ChooseColor(QWidget* owner, std::uint32_t initial) = 0;

  // File dialogs; nullopt when cancelled. `filter` is in Qt's form
  // ("Text files (*.txt);;All files (*)").
  virtual std::optional<QString> OpenFileName(QWidget* owner, const QString& title, const QString& dir,
                                              const QString& filter) = 0;
  virtual std::optional<QString> SaveFileName(QWidget* owner, const QString& title, const QString& dir,
                                              const QString& filter) = 0;

  // The installed printers by name, and printing a picture at the top left of
  // one page at its physical on-screen size. PrintImage returns an empty text
  // on success, else the description of the failure.
  virtual QStringList Printers() = 0;
  virtual QString PrintImage(const QString& printer, const QImage& image, const QString& documentName) = 0;

  // Draws a picture on a device: `pixels` is the size to fill from the
  // painter's origin, `penScale` the device pixels per screen pixel.
  using Drawing = std::function<void(QPainter& painter, const QSize& pixels, double penScale)>;
  // Prints one page with `drawing` at the top left of the printable area, at
  // the physical size `screenPixels` has on the screen, drawn at the
  // printer's own resolution. Same result as PrintImage. A host without a
  // printer of its own draws at screen size and hands the image to
  // PrintImage.
  virtual QString PrintDrawing(const QString& printer, const QSize& screenPixels, const Drawing& drawing,
                               const QString& documentName);

  // Opens a web address in the default browser.
  virtual void OpenUrl(const QString& url) = 0;

  // Puts a picture or a text on the desktop's clipboard in place of whatever
  // it held before, in every format.
  virtual void SetClipboardImage(const QImage& image) = 0;
  virtual void SetClipboardText(const QString& text) = 0;
};

}  // namespace cn
