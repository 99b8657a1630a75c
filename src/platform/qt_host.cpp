#include "platform/qt_host.h"

#include <QClipboard>
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

#include "platform/color.h"

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

std::optional<QString> QtHost::InputBox(QWidget* owner, const QString& prompt, const QString& defaultText) {
  bool ok = false;
  const QString text = QInputDialog::getText(owner, QString::fromLatin1(kProgramTitle), prompt,
                                             QLineEdit::Normal, defaultText, &ok);
  if (!ok) return std::nullopt;
  return text;
}

std::optional<std::uint32_t> QtHost::ChooseColor(QWidget* owner, std::uint32_t initial) {
  const QColor chosen = QColorDialog::getColor(FromPacked(initial), owner);
  if (!chosen.isValid()) return std::nullopt;
  return ToPacked(chosen);
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

QString PrintDrawingOn(QPrinter& device, const QSize& screenPixels, const Host::Drawing& drawing,
                       const QString& documentName) {
  if (screenPixels.isEmpty()) return QStringLiteral("There is no picture to print.");
  const QString where = device.outputFileName().isEmpty() ? device.printerName() : device.outputFileName();
  device.setDocName(documentName);
  if (!device.isValid()) return QStringLiteral("The printer \"%1\" cannot be used.").arg(where);

  QPainter painter;
  if (!painter.begin(&device)) return QStringLiteral("Printing on \"%1\" could not start.").arg(where);
  // The origin is the top left of the printable area, in printer dots; the
  // drawing fills the physical size the picture has on the screen.
  const QPointF screenDpi = ScreenDpi();
  const double scale = device.logicalDpiX() / screenDpi.x();
  const QSize pixels(qRound(screenPixels.width() * scale), qRound(screenPixels.height() * device.logicalDpiY() / screenDpi.y()));
  painter.fillRect(QRect(QPoint(0, 0), pixels), Qt::white);
  drawing(painter, pixels, scale);
  if (!painter.end() || device.printerState() == QPrinter::Error)
    return QStringLiteral("The print job for \"%1\" failed.").arg(where);
  return {};
}

QString Host::PrintDrawing(const QString& printer, const QSize& screenPixels, const Drawing& drawing,
                           const QString& documentName) {
  QImage image(screenPixels.isEmpty() ? QSize(1, 1) : screenPixels, QImage::Format_RGB32);
  image.fill(Qt::white);
  const QPointF dpi = ScreenDpi();
  image.setDotsPerMeterX(qRound(dpi.x() / 0.0254));
  image.setDotsPerMeterY(qRound(dpi.y() / 0.0254));
  {
    QPainter painter(&image);
    drawing(painter, screenPixels, 1.0);
  }
  return PrintImage(printer, image, documentName);
}

QString QtHost::PrintDrawing(const QString& printer, const QSize& screenPixels, const Drawing& drawing,
                             const QString& documentName) {
  const QPrinterInfo info = QPrinterInfo::printerInfo(printer);
  if (info.isNull()) return QStringLiteral("The printer \"%1\" is not available.").arg(printer);
  QPrinter device(info, QPrinter::HighResolution);
  return PrintDrawingOn(device, screenPixels, drawing, documentName);
}

QString QtHost::PrintImage(const QString& printer, const QImage& image, const QString& documentName) {
  const QPrinterInfo info = QPrinterInfo::printerInfo(printer);
  if (info.isNull()) return QStringLiteral("The printer \"%1\" is not available.").arg(printer);
  QPrinter device(info, QPrinter::HighResolution);
  return PrintImageOn(device, image, documentName);
}

void QtHost::OpenUrl(const QString& url) { QDesktopServices::openUrl(QUrl(url)); }

// Cleared first, so that no text copied earlier stays beside a picture (or
// the other way round) for a program that asks for another format.
void QtHost::SetClipboardImage(const QImage& image) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  clipboard->clear();
  clipboard->setImage(image);
}

void QtHost::SetClipboardText(const QString& text) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  clipboard->clear();
  clipboard->setText(text);
}

}  // namespace cn
