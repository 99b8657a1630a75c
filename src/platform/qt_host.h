// The Host of the running program: Qt's own dialogs, printers and desktop services.
#pragma once

#include "platform/host.h"

#include <QDialog>
#include <memory>

class QPrinter;

namespace cn {

// The message box of MessageBox, ready to exec. A text that fits the screen
// gets Qt's own message box; a longer one (thousands of intersections) a box
// of the same title, icon and text that fits the available screen and
// scrolls the text, with OK always visible below it.
std::unique_ptr<QDialog> MakeMessageBox(QWidget* owner, const QString& text, MessageIcon icon, const QString& title);

// Paints `image` on one page of `device` (a printer or a PDF file), its top
// left at the top left of the printable area, at the physical size it has on
// the screen. Returns "" on success, else the failure's description.
QString PrintImageOn(QPrinter& device, const QImage& image, const QString& documentName);
// The same with a drawing made at the device's resolution instead of a picture.
QString PrintDrawingOn(QPrinter& device, const QSize& screenPixels, const Host::Drawing& drawing,
                       const QString& documentName);

class QtHost : public Host {
 public:
  void MessageBox(QWidget* owner, const QString& text, MessageIcon icon) override;
  void MessageBox(QWidget* owner, const QString& text, MessageIcon icon, const QString& title) override;
  SaveChoice AskSaveChanges(QWidget* owner, const QString& question) override;
  std::optional<QString> InputBox(QWidget* owner, const QString& prompt, const QString& defaultText) override;
  std::optional<std::uint32_t> ChooseColor(QWidget* owner, std::uint32_t initial) override;
  std::optional<QString> OpenFileName(QWidget* owner, const QString& title, const QString& dir,
                                      const QString& filter) override;
  std::optional<QString> SaveFileName(QWidget* owner, const QString& title, const QString& dir,
                                      const QString& filter) override;
  QStringList Printers() override;
  QString PrintImage(const QString& printer, const QImage& image, const QString& documentName) override;
  QString PrintDrawing(const QString& printer, const QSize& screenPixels, const Drawing& drawing,
                       const QString& documentName) override;
  void OpenUrl(const QString& url) override;
  void SetClipboardImage(const QImage& image) override;
  void SetClipboardText(const QString& text) override;
};

}  // namespace cn
