#include "platform/qt_host.h"

#include "platform/named.h"

#include <QClipboard>
#include <QColorDialog>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

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

std::unique_ptr<QDialog> MakeMessageBox(QWidget* owner, const QString& text, MessageIcon icon, const QString& title) {
  auto box = std::make_unique<QMessageBox>(ToQtIcon(icon), title, text, QMessageBox::Ok, owner);
  const QScreen* screen = owner && owner->screen() ? owner->screen() : QGuiApplication::primaryScreen();
  if (!screen) return box;
  // Room for the window frame and a panel or two around the box.
  const QSize room = screen->availableGeometry().size() * 0.9;
  const QSize wanted = box->sizeHint();
  if (wanted.width() <= room.width() && wanted.height() <= room.height()) return box;

  auto dialog = std::make_unique<QDialog>(owner);
  dialog->setObjectName("frmLongMessage");
  dialog->setWindowTitle(title);
  auto* iconLabel = new QLabel;
  if (icon != MessageIcon::kNone) {
    const int side = dialog->style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, dialog.get());
    const QStyle::StandardPixmap standard = icon == MessageIcon::kError     ? QStyle::SP_MessageBoxCritical
                                            : icon == MessageIcon::kWarning ? QStyle::SP_MessageBoxWarning
                                                                            : QStyle::SP_MessageBoxInformation;
    iconLabel->setPixmap(dialog->style()->standardIcon(standard, nullptr, dialog.get()).pixmap(side, side));
  }
  iconLabel->setAlignment(Qt::AlignTop);
  auto* textLabel = Named(new QLabel(text), "lblMessage");
  textLabel->setWordWrap(true);
  textLabel->setTextFormat(Qt::PlainText);
  textLabel->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  textLabel->setAlignment(Qt::AlignTop | Qt::AlignLeft);
  auto* scroll = Named(new QScrollArea, "scrMessage");
  scroll->setWidgetResizable(true);
  scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  scroll->setWidget(textLabel);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
  buttons->button(QDialogButtonBox::Ok)->setObjectName("cmdOK");
  QObject::connect(buttons, &QDialogButtonBox::accepted, dialog.get(), &QDialog::accept);
  auto* row = new QHBoxLayout;
  row->addWidget(iconLabel);
  row->addWidget(scroll, 1);
  auto* layout = new QVBoxLayout(dialog.get());
  layout->addLayout(row, 1);
  layout->addWidget(buttons);
  dialog->setMaximumSize(room);
  dialog->resize(std::min(room.width(), std::max(wanted.width(), 480)), room.height());
  return dialog;
}

void QtHost::MessageBox(QWidget* owner, const QString& text, MessageIcon icon, const QString& title) {
  MakeMessageBox(owner, text, icon, title)->exec();
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
  const QString text =
      QInputDialog::getText(owner, QString::fromLatin1(kProgramTitle), prompt, QLineEdit::Normal, defaultText, &ok);
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

namespace {

// One page on the device: `paint(painter, screenDpi)` draws it. Returns what
// went wrong, empty when the page was printed. Without full-page mode the
// painter's origin is the top left of the printable area, in printer dots.
template <class Paint>
QString PrintPageOn(QPrinter& device, bool nothingToPrint, const QString& documentName, Paint&& paint) {
  if (nothingToPrint) return QStringLiteral("There is no picture to print.");
  const QString where = device.outputFileName().isEmpty() ? device.printerName() : device.outputFileName();
  device.setDocName(documentName);
  if (!device.isValid()) return QStringLiteral("The printer \"%1\" cannot be used.").arg(where);

  QPainter painter;
  if (!painter.begin(&device)) return QStringLiteral("Printing on \"%1\" could not start.").arg(where);
  paint(painter, ScreenDpi());
  if (!painter.end() || device.printerState() == QPrinter::Error)
    return QStringLiteral("The print job for \"%1\" failed.").arg(where);
  return {};
}

}  // namespace

QString PrintImageOn(QPrinter& device, const QImage& image, const QString& documentName) {
  return PrintPageOn(device, image.isNull(), documentName, [&](QPainter& painter, QPointF screenDpi) {
    // Scaled so that the picture keeps the physical size it has on the screen.
    const double width = image.width() * device.logicalDpiX() / screenDpi.x();
    const double height = image.height() * device.logicalDpiY() / screenDpi.y();
    painter.drawImage(QRectF(0, 0, width, height), image);
  });
}

QString PrintDrawingOn(QPrinter& device, const QSize& screenPixels, const Host::Drawing& drawing,
                       const QString& documentName) {
  return PrintPageOn(device, screenPixels.isEmpty(), documentName, [&](QPainter& painter, QPointF screenDpi) {
    // The drawing fills the physical size the picture has on the screen.
    const double scale = device.logicalDpiX() / screenDpi.x();
    const QSize pixels(qRound(screenPixels.width() * scale),
                       qRound(screenPixels.height() * device.logicalDpiY() / screenDpi.y()));
    painter.fillRect(QRect(QPoint(0, 0), pixels), Qt::white);
    drawing(painter, pixels, scale);
  });
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
