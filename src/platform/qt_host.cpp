#include "platform/qt_host.h"

#include <QColorDialog>
#include <QDesktopServices>
#include <QFileDialog>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScreen>
#include <QUrl>

namespace cn {

namespace {

QMessageBox::Icon ToQtIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::kError:
      return QMessageBox::Critical;
    case MessageIcon::kWarning:
      return QMessageBox::Warning;
    case MessageIcon::kNone:
      return QMessageBox::NoIcon;
    case MessageIcon::kInformation:
      break;
  }
  return QMessageBox::Information;
}

// The screen's resolution, in logical dots per inch: a picture shown pixel for
// pixel on the screen has this many pixels to the inch there.
QPointF ScreenDpi() {
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    return {screen->logicalDotsPerInchX(), screen->logicalDotsPerInchY()};
  return {96.0, 96.0};
}

std::optional<QString> NonEmpty(const QString& name) {
  if (name.isEmpty()) return std::nullopt;
  return name;
}

}  // namespace

void QtHost::MessageBox(QWidget* owner, const QString& text, MessageIcon icon) {
  MessageBox(owner, text, icon, QString::fromLatin1(kProgramTitle));
}

void QtHost::MessageBox(QWidget* owner, const QString& text, MessageIcon icon, const QString& title) {
  QMessageBox box(ToQtIcon(icon), title, text, QMessageBox::Ok, owner);
  box.exec();
}

SaveChoice QtHost::AskSaveChanges(QWidget* owner, const QString& question) {
  QMessageBox box(QMessageBox::Warning, QString::fromLatin1(kProgramTitle), question,
                  QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, owner);
  box.setDefaultButton(QMessageBox::Save);
  box.setEscapeButton(QMessageBox::Cancel);
  switch (box.exec()) {
    case QMessageBox::Save:
      return SaveChoice::kSave;
    case QMessageBox::Discard:
      return SaveChoice::kDiscard;
    default:
      return SaveChoice::kCancel;
  }
}

std::optional<QString> QtHost::InputBox(QWidget* owner, const QString& prompt, const QString& defaultText) {
  bool ok = false;
  const QString text = QInputDialog::getText(owner, QString::fromLatin1(kProgramTitle), prompt,
                                             QLineEdit::Normal, defaultText, &ok);
  if (!ok) return std::nullopt;
  return text;
}

std::optional<std::uint32_t> QtHost::ChooseColor(QWidget* owner, std::uint32_t initial) {
  const QColor start(static_cast<int>(initial & 0xff), static_cast<int>((initial >> 8) & 0xff),
                     static_cast<int>((initial >> 16) & 0xff));
  const QColor chosen = QColorDialog::getColor(start, owner);
  if (!chosen.isValid()) return std::nullopt;
  return static_cast<std::uint32_t>(chosen.red()) + 256u * static_cast<std::uint32_t>(chosen.green()) +
         65536u * static_cast<std::uint32_t>(chosen.blue());
}

std::optional<QString> QtHost::OpenFileName(QWidget* owner, const QString& title, const QString& dir,
                                            const QString& filter) {
  return NonEmpty(QFileDialog::getOpenFileName(owner, title, dir, filter));
}

std::optional<QString> QtHost::SaveFileName(QWidget* owner, const QString& title, const QString& dir,
                                            const QString& filter) {
  return NonEmpty(QFileDialog::getSaveFileName(owner, title, dir, filter));
}

QStringList QtHost::Printers() { return QPrinterInfo::availablePrinterNames(); }

QString PrintImageOn(QPrinter& device, const QImage& image, const QString& documentName) {
  if (image.isNull()) return QStringLiteral("There is no picture to print.");
  const QString where = device.outputFileName().isEmpty() ? device.printerName() : device.outputFileName();
  device.setDocName(documentName);
  if (!device.isValid()) return QStringLiteral("The printer \"%1\" cannot be used.").arg(where);

  QPainter painter;
  if (!painter.begin(&device)) return QStringLiteral("Printing on \"%1\" could not start.").arg(where);
  // Without full-page mode the painter's origin is the top left of the
  // printable area, in printer dots; scale so that the picture keeps the
  // physical size it has on the screen.
  const QPointF screenDpi = ScreenDpi();
  const double width = image.width() * device.logicalDpiX() / screenDpi.x();
  const double height = image.height() * device.logicalDpiY() / screenDpi.y();
  painter.drawImage(QRectF(0, 0, width, height), image);
  if (!painter.end() || device.printerState() == QPrinter::Error)
    return QStringLiteral("The print job for \"%1\" failed.").arg(where);
  return {};
}

QString QtHost::PrintImage(const QString& printer, const QImage& image, const QString& documentName) {
  const QPrinterInfo info = QPrinterInfo::printerInfo(printer);
  if (info.isNull()) return QStringLiteral("The printer \"%1\" is not available.").arg(printer);
  QPrinter device(info, QPrinter::HighResolution);
  return PrintImageOn(device, image, documentName);
}

void QtHost::OpenUrl(const QString& url) { QDesktopServices::openUrl(QUrl(url)); }

}  // namespace cn
