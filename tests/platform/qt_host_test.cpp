// The parts of the desktop seam that run without a user: the printer list,
// the refusals of PrintImage, the message box as built (not run: it is
// modal), the "Save changes?" box answered by a timer and the clipboard (kept
// in-process offscreen).
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <functional>

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

// A result of thousands of intersections is taller than any screen: the box
// fits the screen, scrolls the unchanged text and keeps OK in view.
TEST(QtHost, LongMessagesScrollInsideTheScreen) {
  QString many = "The intersects are: ";
  for (int i = 0; i < 4000; ++i) many += QString("(%1, %1), ").arg(i);
  many.chop(2);
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();

  auto box = cn::MakeMessageBox(nullptr, many, cn::MessageIcon::kInformation, "Curvenest");
  EXPECT_EQ(qobject_cast<QMessageBox*>(box.get()), nullptr);
  box->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(box.get()));
  EXPECT_EQ(box->windowTitle(), "Curvenest");
  EXPECT_LE(box->frameGeometry().height(), screen.height());
  EXPECT_LE(box->frameGeometry().width(), screen.width());
  auto* label = box->findChild<QLabel*>("lblMessage");
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->text(), many);
  auto* scroll = box->findChild<QScrollArea*>("scrMessage");
  ASSERT_NE(scroll, nullptr);
  EXPECT_GT(scroll->verticalScrollBar()->maximum(), 0);
  auto* ok = box->findChild<QAbstractButton*>("cmdOK");
  ASSERT_NE(ok, nullptr);
  EXPECT_TRUE(ok->isVisible());
  EXPECT_TRUE(box->rect().contains(QRect(ok->mapTo(box.get(), QPoint(0, 0)), ok->size())));
  QTest::mouseClick(ok, Qt::LeftButton);
  EXPECT_FALSE(box->isVisible());

  // Texts that fit stay in Qt's own message box.
  for (const QString& text : {QString("There is no intersection."), QString("The intersects are: (-1, 1), (2, 4)")}) {
    auto plain = cn::MakeMessageBox(nullptr, text, cn::MessageIcon::kError, "Curvenest");
    auto* message = qobject_cast<QMessageBox*>(plain.get());
    ASSERT_NE(message, nullptr) << text.toStdString();
    EXPECT_EQ(message->text(), text);
    EXPECT_EQ(message->icon(), QMessageBox::Critical);
  }
}

// Once the modal message box is up, checks it and answers it with `answer`.
void AnswerTheBox(std::function<void(QMessageBox*)> answer) {
  auto* timer = new QTimer;
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, [timer, answer] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || !box->isVisible()) return;
    timer->stop();
    timer->deleteLater();
    answer(box);
  });
  timer->start();
}

TEST(QtHost, SaveChangesOffersSaveDiscardAndCancel) {
  struct Case {
    const char* name;
    std::function<void(QMessageBox*)> answer;
    cn::SaveChoice choice;
  };
  const auto click = [](QMessageBox::StandardButton which) {
    return [which](QMessageBox* box) { box->button(which)->click(); };
  };
  const std::vector<Case> cases = {
      {"Save", click(QMessageBox::Save), cn::SaveChoice::kSave},
      {"Discard", click(QMessageBox::Discard), cn::SaveChoice::kDiscard},
      {"Cancel", click(QMessageBox::Cancel), cn::SaveChoice::kCancel},
      {"Escape", [](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); }, cn::SaveChoice::kCancel},
      {"Enter takes the default, Save", [](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Return); },
       cn::SaveChoice::kSave},
  };
  cn::QtHost host;
  for (const Case& c : cases) {
    QString title, text;
    AnswerTheBox([&](QMessageBox* box) {
      title = box->windowTitle();
      text = box->text();
      c.answer(box);
    });
    EXPECT_EQ(host.AskSaveChanges(nullptr, QStringLiteral("Save changes?")), c.choice) << c.name;
    EXPECT_EQ(title, QStringLiteral("Curvenest")) << c.name;
    EXPECT_EQ(text, QStringLiteral("Save changes?")) << c.name;
  }
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
