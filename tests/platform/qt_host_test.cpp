// The parts of the desktop seam that run without a user: the printer list
// and the refusals of PrintImage. The dialogs are modal and stay untested here.
#include <gtest/gtest.h>

#include <QImage>

#include "platform/qt_host.h"

namespace {

QImage WhitePicture() {
  QImage image(40, 40, QImage::Format_RGB32);
  image.fill(Qt::white);
  return image;
}

TEST(QtHost, PrinterNamesAreNonEmpty) {
  cn::QtHost host;
  for (const QString& name : host.Printers()) EXPECT_FALSE(name.isEmpty());
}

TEST(QtHost, PrintingOnAPrinterThatDoesNotExistFailsWithAText) {
  cn::QtHost host;
  const QStringList installed = host.Printers();
  const QString names[] = {
      QString(),
      QStringLiteral("Curvenest test printer that is not installed"),
      QStringLiteral("../../etc/passwd"),
      QStringLiteral("Fax\n"),
  };
  for (const QString& name : names) {
    if (installed.contains(name)) continue;
    SCOPED_TRACE(name.toStdString());
    const QString error = host.PrintImage(name, WhitePicture(), QStringLiteral("Curvenest"));
    EXPECT_FALSE(error.isEmpty());
  }
}

TEST(QtHost, PrintingNoPictureFails) {
  cn::QtHost host;
  const QStringList installed = host.Printers();
  if (installed.isEmpty()) GTEST_SKIP() << "no printer installed";
  EXPECT_FALSE(host.PrintImage(installed.front(), QImage(), QStringLiteral("Curvenest")).isEmpty());
}

}  // namespace
