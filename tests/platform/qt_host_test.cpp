// The parts of the desktop seam that run without a user: the printer list,
// the refusals of PrintImage and the clipboard (kept in-process offscreen).
// The dialogs are modal and stay untested here.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QProcess>

#include "platform/qt_host.h"

namespace {

QImage WhitePicture() {
  QImage image(40, 40, QImage::Format_RGB32);
  image.fill(Qt::white);
  return image;
}

// The printer list is the spooler's own: compared with what `lpstat -e` says
// about the queues (scripts/test sets up one named "PDF").
TEST(QtHost, PrintersAreTheSpoolersQueues) {
  QProcess lpstat;
  lpstat.start(QStringLiteral("lpstat"), {QStringLiteral("-e")});
  if (!lpstat.waitForFinished(10000) || lpstat.exitStatus() != QProcess::NormalExit || lpstat.exitCode() != 0) {
    GTEST_SKIP() << "no CUPS scheduler to ask";
  }
  QStringList queues = QString::fromLocal8Bit(lpstat.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
  if (queues.isEmpty()) GTEST_SKIP() << "the scheduler has no queue";
  cn::QtHost host;
  QStringList listed = host.Printers();
  for (const QString& name : listed) EXPECT_FALSE(name.isEmpty());
  queues.sort();
  listed.sort();
  EXPECT_EQ(listed, queues);
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

// A copy replaces what the clipboard held in every format.
TEST(QtHost, ClipboardHoldsTheLastCopyOnly) {
  cn::QtHost host;
  QClipboard* clipboard = QGuiApplication::clipboard();
  QImage picture(6, 4, QImage::Format_RGB32);
  picture.fill(QColor(10, 20, 30));
  host.SetClipboardText("old");
  host.SetClipboardImage(picture);
  EXPECT_EQ(clipboard->image().size(), QSize(6, 4));
  EXPECT_EQ(clipboard->image().pixelColor(5, 3), QColor(10, 20, 30));
  EXPECT_TRUE(clipboard->text().isEmpty());
  host.SetClipboardText("(1.000, 1)\r\n");
  EXPECT_EQ(clipboard->text(), "(1.000, 1)\r\n");
  EXPECT_TRUE(clipboard->image().isNull());
}

}  // namespace
