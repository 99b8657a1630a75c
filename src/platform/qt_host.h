// The Host of the running program: Qt's own dialogs, printers and desktop services.
#pragma once

#include "platform/host.h"

class QPrinter;

namespace cn {

// Paints `image` on one page of `device` (a printer or a PDF file), its top
// left at the top left of the printable area, at the physical size it has on
// the screen. Returns "" on success, else the failure's description.
QString PrintImageOn(QPrinter& device, const QImage& image, const QString& documentName);

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
  void OpenUrl(const QString& url) override;
};

}  // namespace cn
