// The plane as a place to work: it fills the window, follows every change of
// the equations and the window boxes, zooms and pans with the wheel, the mouse
// and the keys, exports, and lets a long Graph be stopped. Expected windows
// are worked out by hand from the rules (a factor of 2 per notch about the
// pointer, whole numbers, steps as whole units).
#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListView>
#include "support/list_view.h"
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

#include "support/find_child.h"
#include "support/scripted_host.h"
#include "support/wait_idle.h"
#include "workspace/frm_main.h"
#include "workspace/graph_surface.h"
#include "workspace/workspace_file.h"

namespace cn {
namespace {

constexpr std::uint32_t kRed = 255;

class Plane : public ::testing::Test {
 protected:
  ScriptedHost host;
  frmMain window{host};

  void Show() {
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  }
  QLineEdit* Box(const char* name) { return FindChild<QLineEdit>(&window, name); }
  // The four bound boxes as "xmin xmax ymin ymax".
  QString Bounds() {
    return Box("txtXMin")->text() + " " + Box("txtXMax")->text() + " " + Box("txtYMin")->text() + " " +
           Box("txtYMax")->text();
  }
  GraphSurface* Surface() { return window.Surface(); }
  // The plane's image once every Graph has ended.
  const QImage& Picture() {
    EXPECT_TRUE(WaitIdle(window));
    return Surface()->Image();
  }
  // The pixel of world (x, y) in the surface's widget, for the shown window.
  QPoint At(double x, double y) {
    const QPointF p = Surface()->ToPixel(x, y);
    return {static_cast<int>(p.x()), static_cast<int>(p.y())};
  }
  void Wheel(QPoint at, int notches) {
    QWheelEvent event(QPointF(at), Surface()->mapToGlobal(QPointF(at)), QPoint(), QPoint(0, 120 * notches),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(Surface(), &event);
  }
  void LeftMove(QPoint to) {
    QMouseEvent event(QEvent::MouseMove, QPointF(to), Surface()->mapToGlobal(QPointF(to)), Qt::NoButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(Surface(), &event);
  }
  int CountColor(std::uint32_t packed) {
    const QImage& image = Picture();
    const QRgb want = qRgb(packed & 0xFF, (packed >> 8) & 0xFF, (packed >> 16) & 0xFF);
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) n += (image.pixel(x, y) & 0xFFFFFF) == (want & 0xFFFFFF);
    return n;
  }
  bool DarkAt(QPoint p) { return qGray(Picture().pixel(p)) < 128; }
};

TEST_F(Plane, WheelZoomsAboutThePointer) {
  Show();
  // One notch in over world (6, -4): the sides halve and (6, -4) stays put.
  Wheel(At(6, -4), 1);
  EXPECT_EQ(Bounds(), "-2 8 -7 3");
  EXPECT_EQ(window.Window().xmin, -2);
  EXPECT_EQ(window.Window().ymax, 3);
  // The plane shows the new window: the y axis at 2/10 of the width.
  const int side = Surface()->width();
  EXPECT_TRUE(DarkAt({side / 5, side / 2}));
  EXPECT_TRUE(DarkAt({side / 2, side * 3 / 10}));
  // Two notches out about the centre of -2..8: 3 - 20 .. 3 + 20.
  Wheel(At(3, -2), -2);
  EXPECT_EQ(Bounds(), "-17 23 -22 18");
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(Plane, ZoomStopsAtTheLimits) {
  Show();
  Box("txtXMin")->setText("-30000");
  Box("txtXMax")->setText("30000");
  window.mnuGraph_Click();
  Wheel(At(0, 0), -1);
  EXPECT_EQ(Bounds(), "-32768 32767 -20 20");
  window.mnuZoomStandard_Click();
  for (int i = 0; i < 5; ++i) Wheel(At(0.4, 0.4), 1);
  EXPECT_EQ(Bounds(), "-1 1 -1 1");  // no side below 2 units
}

TEST_F(Plane, LeftDragMovesTheWindowAndAClickDoesNothing) {
  Show();
  const QPoint start = At(0, 0);
  QTest::mouseClick(Surface(), Qt::LeftButton, {}, start);
  EXPECT_EQ(Bounds(), "-10 10 -10 10");
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(host.clipboard.writes, 0);

  // Drag the origin to world (5, -3): the window moves 5 left and 3 up.
  const QPoint end = At(5, -3);
  QTest::mousePress(Surface(), Qt::LeftButton, {}, start);
  LeftMove(At(2, -1));
  LeftMove(end);
  QTest::mouseRelease(Surface(), Qt::LeftButton, {}, end);
  EXPECT_EQ(Bounds(), "-15 5 -7 13");
  EXPECT_EQ(window.Window().xmax, 5);
  // The origin is now under the pointer.
  EXPECT_TRUE(DarkAt({end.x(), end.y() - 20}));
  EXPECT_TRUE(DarkAt({end.x() + 20, end.y()}));

  // Right and middle buttons still copy.
  QTest::mouseClick(Surface(), Qt::RightButton, {}, start);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, "Image copied to clipboard.");
  EXPECT_FALSE(host.clipboard.image.isNull());
}

TEST_F(Plane, ArrowKeysMoveByTheSteps) {
  Show();
  Box("txtXStep")->setText("2");
  Box("txtYStep")->setText("3");
  window.mnuGraph_Click();
  Surface()->setFocus();
  QTest::keyClick(Surface(), Qt::Key_Right);
  EXPECT_EQ(Bounds(), "-8 12 -10 10");
  QTest::keyClick(Surface(), Qt::Key_Up);
  EXPECT_EQ(Bounds(), "-8 12 -7 13");
  QTest::keyClick(Surface(), Qt::Key_Left);
  QTest::keyClick(Surface(), Qt::Key_Down);
  QTest::keyClick(Surface(), Qt::Key_Down);
  EXPECT_EQ(Bounds(), "-10 10 -13 7");
  // A step below one unit still moves by one.
  Box("txtXStep")->setText("0.25");
  window.mnuGraph_Click();
  QTest::keyClick(Surface(), Qt::Key_Left);
  EXPECT_EQ(Bounds(), "-11 9 -13 7");
}

TEST_F(Plane, KeyboardZoomAndZoomStandard) {
  Show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  QTest::keyClick(&window, Qt::Key_Plus, Qt::ControlModifier);
  EXPECT_EQ(Bounds(), "-5 5 -5 5");
  QTest::keyClick(&window, Qt::Key_Minus, Qt::ControlModifier);
  QTest::keyClick(&window, Qt::Key_Minus, Qt::ControlModifier);
  EXPECT_EQ(Bounds(), "-20 20 -20 20");
  Box("txtXStep")->setText("0.5");
  Box("txtYStep")->setText("5");
  window.findChild<QAction*>("mnuZoomStandard")->trigger();
  EXPECT_EQ(Bounds(), "-10 10 -10 10");
  EXPECT_EQ(Box("txtXStep")->text(), "1");
  EXPECT_EQ(Box("txtYStep")->text(), "1");
  EXPECT_EQ(window.Window().xstep, 1.0f);
}

TEST_F(Plane, RedrawsAfterEveryChangeOfTheEquationsAndOnEnter) {
  Show();
  window.findChild<QCheckBox*>("chkEqu")->setChecked(false);  // only the curve in its colour
  EXPECT_EQ(CountColor(kRed), 0);
  window.AppendEquation("x", "", kRed);  // no Graph pressed
  EXPECT_GT(CountColor(kRed), 100);
  EXPECT_EQ(window.Equations().Size(), 1u);
  EXPECT_EQ(window.Equations().At(0).color, 255u);

  // Edited in place: y = x + 30 lies above the window.
  host.inputAnswers.push_back(QString("x+30"));
  window.lstEqu_DblClick();
  EXPECT_EQ(window.Equations().At(0).expression, "x+30");
  EXPECT_EQ(RowText(window.findChild<QListView*>("lstEqu"), 0), "x+30");
  EXPECT_EQ(CountColor(kRed), 0);
  // The boxes confirmed with Enter show it again.
  Box("txtYMax")->setText("40");
  QTest::keyClick(Box("txtYMax"), Qt::Key_Return);
  EXPECT_EQ(window.Window().ymax, 40);
  EXPECT_GT(CountColor(kRed), 100);

  // Recoloured, then deleted.
  host.colorAnswers.push_back(0x00FF00u);
  window.picColor_Click();
  EXPECT_EQ(CountColor(kRed), 0);
  EXPECT_GT(CountColor(0x00FF00), 100);
  EXPECT_EQ(window.Equations().At(0).color, 0x00FF00u);
  SetCurrentRow(window.findChild<QListView*>("lstEqu"), 0);
  window.btnDelete_Click();
  EXPECT_EQ(window.Equations().Size(), 0u);
  EXPECT_EQ(CountColor(0x00FF00), 0);
}

TEST_F(Plane, GrowsAndShrinksWithTheWindowStayingSquare) {
  // Unshown, and shown at its preferred size, the plane has its usual 481 pixels.
  EXPECT_EQ(Surface()->size(), QSize(481, 481));
  window.AppendEquation("x", "", kRed);
  Show();
  window.resize(window.sizeHint());
  QApplication::processEvents();
  const QSize before = Surface()->size();
  EXPECT_EQ(before, QSize(481, 481));
  window.resize(window.width() + 300, window.height() + 300);
  QApplication::processEvents();
  const QSize after = Surface()->size();
  EXPECT_EQ(after.width(), after.height());
  EXPECT_GT(after.width(), before.width() + 100);
  // Drawn again at the new size: the image fills it, the axes cross in the middle.
  ASSERT_EQ(Picture().size(), after);
  const int mid = after.width() / 2;
  int dark = 0;
  for (int x = 0; x < after.width(); ++x)
    dark += qGray(Picture().pixel(x, mid)) < 128 || qGray(Picture().pixel(x, mid - 1)) < 128;
  EXPECT_GE(dark, after.width() - 4);
  EXPECT_GT(CountColor(kRed), after.width());  // the curve is drawn again too
  // Copy Graph takes the picture at the new size.
  window.mnuCopy_Click();
  EXPECT_EQ(host.clipboard.image.size(), after);

  window.resize(window.minimumSizeHint());
  QApplication::processEvents();
  EXPECT_EQ(Surface()->width(), Surface()->height());
  EXPECT_LT(Surface()->width(), before.width());
  EXPECT_EQ(Picture().size(), Surface()->size());
}

TEST_F(Plane, ExportGraphWritesTheChosenFile) {
  QTemporaryDir dir;
  window.AppendEquation("x^2", "", kRed);
  const QString png = dir.filePath("graph.png");
  host.fileAnswers.push_back(png);
  host.inputAnswers.push_back(QString("300 x 200"));
  window.findChild<QAction*>("mnuExport")->trigger();
  EXPECT_TRUE(host.messages.empty());
  const QImage image(png);
  EXPECT_EQ(image.size(), QSize(300, 200));
  // The size box offers the plane's size first.
  ASSERT_EQ(host.inputs.size(), 1u);
  EXPECT_EQ(host.inputs[0].defaultText, "481 x 481");

  // SVG asks no size; a name without a folder fails with a message naming it.
  host.fileAnswers.push_back(dir.filePath("graph.svg"));
  window.findChild<QAction*>("mnuExport")->trigger();
  EXPECT_TRUE(QFile::exists(dir.filePath("graph.svg")));
  const QString bad = dir.filePath("missing/graph.pdf");
  host.fileAnswers.push_back(bad);
  window.findChild<QAction*>("mnuExport")->trigger();
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_TRUE(host.messages[0].text.contains(bad));
  EXPECT_EQ(host.messages[0].icon, MessageIcon::kError);
  // A size that is no size is refused.
  host.fileAnswers.push_back(png);
  host.inputAnswers.push_back(QString("big"));
  window.findChild<QAction*>("mnuExport")->trigger();
  EXPECT_EQ(host.messages.size(), 2u);
  EXPECT_EQ(QImage(png).size(), QSize(300, 200));
}

TEST_F(Plane, ALongGraphCanBeStoppedAndKeepsWhatWasDrawn) {
  Show();
  // About 65 million samples: seconds of work, drawn on worker threads.
  Box("txtXMin")->setText("-32768");
  Box("txtXMax")->setText("32767");
  window.AppendEquation("sin(x)", "", kRed);
  ASSERT_TRUE(WaitIdle(window));
  auto* cancel = window.findChild<QPushButton*>("btnCancelGraph");
  ASSERT_NE(cancel, nullptr);
  EXPECT_FALSE(cancel->isEnabled());
  window.mnuGraph_Click();
  // The window's thread is free at once: the Graph runs, Cancel can stop it.
  EXPECT_TRUE(window.Drawing());
  EXPECT_TRUE(cancel->isEnabled());
  // Once the bar has moved, part of the curve is drawn.
  for (int i = 0; i < 60000 && window.ProgressBar().Value() == 0; ++i) QTest::qWait(1);
  ASSERT_GT(window.ProgressBar().Value(), 0);
  QTest::mouseClick(cancel, Qt::LeftButton);
  ASSERT_TRUE(WaitIdle(window));
  EXPECT_FALSE(window.Drawing());
  EXPECT_FALSE(cancel->isEnabled());
  EXPECT_EQ(window.ProgressBar().Value(), 0);
  // The left part was drawn (sin fills -1..1 densely there), not the right.
  const QImage& image = Picture();
  int left = 0, right = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < 3; ++x) left += (image.pixel(x, y) & 0xFFFFFF) == 0xFF0000;
    for (int x = image.width() - 3; x < image.width(); ++x) right += (image.pixel(x, y) & 0xFFFFFF) == 0xFF0000;
  }
  EXPECT_GT(left, 0);
  EXPECT_EQ(right, 0);
}

// Esc stops a running search: the window's thread is free meanwhile, and
// a stopped search reports nothing.
TEST_F(Plane, AStoppedSearchReportsNothing) {
  Show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  // Thirty million samples and more: seconds of work.
  Box("txtXMin")->setText("-16000");
  Box("txtXMax")->setText("16000");
  window.findChild<QCheckBox*>("chkEqu")->setChecked(false);
  window.AppendEquation("log(x)", "", kRed);
  ASSERT_TRUE(window.DrawAxis());  // the wide window without plotting it
  ASSERT_TRUE(WaitIdle(window));
  Box("txtX")->setText("123");
  Box("txtY")->setText("0.5");
  for (void (frmMain::*tool)() : {&frmMain::cmdX_Click, &frmMain::mnuDomain_Click}) {
    (window.*tool)();
    EXPECT_TRUE(window.Busy());
    EXPECT_FALSE(window.findChild<QPushButton*>("cmdX")->isEnabled());  // one search at a time, visibly
    QTest::keyClick(&window, Qt::Key_Escape);
    ASSERT_TRUE(WaitIdle(window));
    EXPECT_TRUE(window.findChild<QPushButton*>("cmdX")->isEnabled());
    EXPECT_EQ(Box("txtX")->text(), "123");
    EXPECT_TRUE(window.findChild<QPlainTextEdit*>("txtInfo")->toPlainText().isEmpty());
    EXPECT_TRUE(host.messages.empty()) << host.LastMessage().toStdString();
    EXPECT_EQ(window.ProgressBar().Value(), 0);
  }
  // Opening a workspace stops a search of the old one: it answers nothing.
  QTemporaryDir dir;
  const QString file = dir.filePath("other.curvenest");
  QString message;
  ASSERT_TRUE(WriteWorkspace(file, WorkspaceDocument{}, &message));
  window.mnuDomain_Click();
  EXPECT_TRUE(window.Busy());
  ASSERT_TRUE(window.OpenWorkspace(file));
  ASSERT_TRUE(WaitIdle(window));
  EXPECT_TRUE(window.findChild<QPushButton*>("cmdX")->isEnabled());
  EXPECT_TRUE(window.findChild<QPlainTextEdit*>("txtInfo")->toPlainText().isEmpty());
  // Not stopped, the same search answers.
  window.AppendEquation("log(x)", "", kRed);
  window.mnuDomain_Click();
  ASSERT_TRUE(WaitIdle(window));
  EXPECT_TRUE(window.findChild<QPlainTextEdit*>("txtInfo")->toPlainText().contains("Domain: x > 0"));
}

}  // namespace
}  // namespace cn
