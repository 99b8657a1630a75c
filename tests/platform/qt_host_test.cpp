// The parts of the desktop seam that run without a user: the printer list,
// the refusals of PrintImage, and the "Save changes?" box answered by a timer.
// The other dialogs are the desktop's own and stay untested here.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMessageBox>
#include <QPushButton>
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

}  // namespace
