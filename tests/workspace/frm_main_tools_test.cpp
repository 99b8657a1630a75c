#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFocusEvent>
#include <QLineEdit>
#include <QListView>
#include <QListView>
#include <QListWidget>
#include "support/list_view.h"
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <deque>
#include <functional>
#include <optional>

#include "app/tool_command.h"
#include "controls/styled_progress_bar.h"
#include "support/find_child.h"
#include "support/scripted_host.h"
#include "support/wait_idle.h"
#include "workspace/frm_int_select.h"
#include "workspace/frm_io.h"
#include <QLabel>
#include "core/number_text.h"
#include "workspace/frm_main.h"
#include "workspace/graph_surface.h"

namespace cn {
namespace {

constexpr const char* kSelect = "You need to select an equation from the list.";

class ToolWindows : public ::testing::Test {
 protected:
  ScriptedHost host;
  frmMain window{host};

  void SetUp() override { window.show(); }
  void TearDown() override {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->objectName() == "frmIntSelect") delete w;
  }

  template <class W>
  W* Find(QWidget* parent, const char* name) {
    return FindChild<W>(parent, name);
  }
  template <class W>
  W* Find(const char* name) {
    return Find<W>(&window, name);
  }
  QLineEdit* Box(const char* name) { return Find<QLineEdit>(name); }
  QString Log() { return Find<QPlainTextEdit>("txtInfo")->toPlainText(); }
  // Each command starts on a settled window and has ended when it returns.
  void Click(QWidget* parent, const char* name) {
    EXPECT_TRUE(WaitIdle(window));
    QTest::mouseClick(Find<QPushButton>(parent, name), Qt::LeftButton);
    EXPECT_TRUE(WaitIdle(window));
    WaitSearch(qobject_cast<frmIntSelect*>(parent));
    WaitSearch(qobject_cast<frmIO*>(parent));
  }
  // Until a dialog's search (intersections, the rows of the table) has ended.
  template <class Dialog>
  static void WaitSearch(Dialog* dialog) {
    if (!dialog || !dialog->Searching()) return;
    QSignalSpy ended(dialog, &Dialog::SearchEnded);
    EXPECT_TRUE(ended.wait(60000));
  }
  void Click(const char* name) { Click(&window, name); }
  void Trigger(const char* action) {
    EXPECT_TRUE(WaitIdle(window));
    Find<QAction>(action)->trigger();
    EXPECT_TRUE(WaitIdle(window));
  }
  void Type(QLineEdit* box, const QString& text) {
    box->clear();
    QTest::keyClicks(box, text);
  }
  void Equation(const QString& text) { window.AppendEquation(text, "", 255); }
  // Selects a row with the mouse, as a user would.
  void ClickRow(QListWidget* list, int row) {
    const QRect r = list->visualItemRect(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
  }
  frmIntSelect* IntersectDialog() {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* d = qobject_cast<frmIntSelect*>(w); d && d->isVisible()) return d;
    return nullptr;
  }
  // The open table of values, once its first rows are made.
  frmIO* TableWindow() {
    for (frmIO* d : window.findChildren<frmIO*>()) {
      if (!d->isVisible()) continue;
      WaitSearch(d);
      return d;
    }
    return nullptr;
  }
};

TEST_F(ToolWindows, EveryToolNeedsASelectedEquation) {
  const std::function<void()> tools[] = {
      [&] { Click("cmdY"); },        [&] { Click("cmdX"); },       [&] { Click("btnViewTable"); },
      [&] { Trigger("mnuDomain"); }, [&] { Trigger("mnuRange"); }, [&] { Trigger("mnuMin"); },
      [&] { Trigger("mnuMax"); },
  };
  for (const auto& tool : tools) {
    host.messages.clear();
    tool();
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, kSelect);
    EXPECT_EQ(host.messages[0].icon, MessageIcon::kError);
  }
  EXPECT_TRUE(host.inputs.empty());
  EXPECT_TRUE(Log().isEmpty());
  EXPECT_EQ(Box("txtX")->text(), "0");
  EXPECT_EQ(Box("txtY")->text(), "0");
  EXPECT_EQ(TableWindow(), nullptr);
}

TEST_F(ToolWindows, GetY) {
  struct Case {
    const char* expr;
    const char* x;
    const char* y;
    bool unreal;
  };
  const Case cases[] = {
      {"x^2", "3", "9", false},     {"x^2", "3abc", "9", false},
      {"x^2+7", "abc", "7", false}, {"1/x", "3", "0.333333333333333", false},
      {"sqrt(x)", "-1", "0", true},
  };
  for (const Case& c : cases) {
    Equation(c.expr);
    host.messages.clear();
    Type(Box("txtX"), c.x);
    Box("txtY")->setText("55");
    Click("cmdY");
    EXPECT_EQ(Box("txtY")->text(), c.y) << c.expr << " at " << c.x;
    ASSERT_EQ(host.messages.size(), c.unreal ? 1u : 0u) << c.expr;
    if (c.unreal) {
      EXPECT_EQ(host.messages[0].text, "Unreal answer.");
      EXPECT_EQ(host.messages[0].icon, MessageIcon::kError);
    }
  }
}

TEST_F(ToolWindows, GetX) {
  struct Case {
    const char* expr;
    const char* y;
    bool low;
    const char* x;
  };
  const Case cases[] = {
      {"2*x+1", "0", false, "-0.5"},   {"2*x+1", "0", true, "-0.502, -0.501, -0.5, -0.499, -0.498"},
      {"x^2", "4", false, "-2, 2"},    {"x^2", "4", true, "-2.001, -2, 1.999, 2"},
      {"x^2", "4abc", false, "-2, 2"},  // a target is its leading number
      {"x", "", false, "0"},
  };
  for (const Case& c : cases) {
    Equation(c.expr);
    host.messages.clear();
    QTest::mouseClick(Find<QRadioButton>(c.low ? "optLow" : "optHigh"), Qt::LeftButton);
    Box("txtX")->setText("junk");
    Type(Box("txtY"), c.y);
    Click("cmdX");
    EXPECT_EQ(Box("txtX")->text(), c.x) << c.expr << " = " << c.y;
    EXPECT_TRUE(host.messages.empty()) << host.LastMessage().toStdString();
    EXPECT_EQ(window.ProgressBar().Max(), 40);
    EXPECT_EQ(window.ProgressBar().Value(), 0);
  }
}

// On a wide window the answer runs past Qt's default 32767 characters: the
// box holds all of it and the log says how many values there are.
TEST_F(ToolWindows, GetXAnswersReachTheUserWhole) {
  Equation("sin(x*pi#*4)");
  Box("txtXMin")->setText("0");
  Box("txtXMax")->setText("3000");
  Click("btnGraph");
  QTest::mouseClick(Find<QRadioButton>("optLow"), Qt::LeftButton);
  Type(Box("txtY"), "0");
  Click("cmdX");
  const QString answer = Box("txtX")->text();
  EXPECT_GT(answer.size(), 32767);
  EXPECT_TRUE(answer.endsWith("2999.75, 3000") || answer.endsWith("2999.75")) << answer.right(40).toStdString();
  const qsizetype values = answer.count(", ") + 1;
  EXPECT_TRUE(Log().endsWith(QString("Get X: %1 values of x for y = 0, all in the x box\n").arg(values)))
      << Log().toStdString();
}

TEST_F(ToolWindows, GetXOutOfRangeKeepsTheBox) {
  Equation("x^2");
  Box("txtX")->setText("7");
  Type(Box("txtY"), "200");
  Click("cmdX");
  EXPECT_EQ(Box("txtX")->text(), "7");
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, "Out of range.");
  EXPECT_EQ(host.messages[0].icon, MessageIcon::kError);
}

TEST_F(ToolWindows, FocusResetsThePartnerBox) {
  Box("txtX")->setText("5");
  Box("txtY")->setText("6");
  QFocusEvent in(QEvent::FocusIn, Qt::MouseFocusReason);
  QApplication::sendEvent(Box("txtX"), &in);
  EXPECT_EQ(Box("txtY")->text(), "0");
  EXPECT_EQ(Box("txtX")->text(), "5");
  Box("txtY")->setText("6");
  QApplication::sendEvent(Box("txtY"), &in);
  EXPECT_EQ(Box("txtX")->text(), "0");
  EXPECT_EQ(Box("txtY")->text(), "6");
}

// Only a move of the user's resets the partner; the focus returning with the
// window or after a message box, popup or dialog keeps both boxes.
TEST_F(ToolWindows, FocusResetsThePartnerOnlyWhenTheUserMovesIt) {
  struct Case {
    Qt::FocusReason reason;
    bool resets;
  };
  const Case cases[] = {
      {Qt::MouseFocusReason, true},    {Qt::TabFocusReason, true},           {Qt::BacktabFocusReason, true},
      {Qt::ShortcutFocusReason, true}, {Qt::ActiveWindowFocusReason, false}, {Qt::PopupFocusReason, false},
      {Qt::OtherFocusReason, false},
  };
  for (const Case& c : cases) {
    for (const char* box : {"txtX", "txtY"}) {
      const char* partner = QString(box) == "txtX" ? "txtY" : "txtX";
      Box("txtX")->setText("5");
      Box("txtY")->setText("6");
      QFocusEvent in(QEvent::FocusIn, c.reason);
      QApplication::sendEvent(Box(box), &in);
      EXPECT_EQ(Box(partner)->text() == "0", c.resets) << box << " reason " << c.reason;
      EXPECT_NE(Box(box)->text(), "0") << box;
    }
  }
  // The answer of Get Y survives the focus coming back after its message.
  Equation("x+");
  Box("txtX")->setText("2");
  Click("cmdY");
  const QString answer = Box("txtY")->text();
  QFocusEvent back(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
  QApplication::sendEvent(Box("txtX"), &back);
  EXPECT_EQ(Box("txtY")->text(), answer);
  EXPECT_EQ(Box("txtX")->text(), "2");
}

TEST_F(ToolWindows, DomainAndRangeGoToTheLogUnderOneHeader) {
  Equation("sqrt(x)");
  Trigger("mnuDomain");
  Trigger("mnuDomain");
  Trigger("mnuRange");
  Equation("sqrt(x)+5");
  Trigger("mnuRange");
  Equation("x^2+20");
  Trigger("mnuRange");
  Equation("1/(x^2-1)");
  Trigger("mnuDomain");
  const QString expected =
      "\nsqrt(x)\n-------\n\nDomain: x > 0\nDomain: x > 0\nRange: (3.162, 0)\n"
      "\nsqrt(x)+5\n---------\n\nRange: (8.162, 5)\n"
      "\nx^2+20\n------\n\nRange: No value inside the window (alter ymin and max for more).\n"
      "\n1/(x^2-1)\n---------\n\nDomain: x is not equal to -1, 1\n";
  EXPECT_EQ(Log(), expected);
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(ToolWindows, RangeUsesTheWindowOfTheLastDraw) {
  Equation("x");
  Box("txtYMin")->setText("-2");
  Box("txtYMax")->setText("3");
  Trigger("mnuRange");  // the members still hold -10..10
  window.DrawAxis();
  Trigger("mnuRange");
  EXPECT_TRUE(
      Log().endsWith("Range: All numbers shown (alter ymin and max for more).\n"
                     "Range: All numbers shown (alter ymin and max for more).\n"))
      << Log().toStdString();
  Box("txtXMin")->setText("0");
  Box("txtXMax")->setText("1");
  window.DrawAxis();
  Trigger("mnuRange");
  // The accumulated sweep's last sample lies just below 1 and rounds to 1.000.
  EXPECT_TRUE(Log().endsWith("Range: (1, 0)\n")) << Log().toStdString();
}

TEST_F(ToolWindows, MinimumAndMaximumAskForTheirBounds) {
  Equation("x^2");
  host.inputAnswers = {"-2", "2", "-2", "2", "-2.5", "2.5"};
  Trigger("mnuMin");
  Trigger("mnuMax");
  Trigger("mnuMax");  // read as -2 and 2
  ASSERT_EQ(host.inputs.size(), 6u);
  EXPECT_EQ(host.inputs[0].prompt, "Enter left bound: ");
  EXPECT_EQ(host.inputs[0].defaultText, "");
  EXPECT_EQ(host.inputs[1].prompt, "Enter right bound: ");
  EXPECT_EQ(Log(), "\nx^2\n---\n\nMinimum: (0, 0)\nMaximum: (-2, 4)\nMaximum: (-2, 4)\n");
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(ToolWindows, ExtremesWithoutAnyKeptSampleSaySo) {
  Equation("sqrt(x)");
  host.inputAnswers = {"-3", "-1", "3", "1", " ", "0", ""};
  for (const char* tool : {"mnuMin", "mnuMax", "mnuMin", "mnuMax"}) Trigger(tool);
  EXPECT_EQ(Log(),
            "\nsqrt(x)\n-------\n\nMinimum: No value: the equation is undefined at every x from -3 to -1.\n"
            "Maximum: No value: the left bound 3 lies right of the right bound 1.\n"
            "Minimum: No value: the left bound is empty.\n"
            "Maximum: No value: the right bound is empty.\n");
}

// The header names the equation the sweep ran for, even when another row is
// selected by the time the result arrives.
TEST_F(ToolWindows, ResultsAreLoggedUnderTheirOwnEquation) {
  Equation("x^2");
  Equation("x^3");
  QListView* list = window.findChild<QListView*>("lstEqu");
  SetCurrentRow(list, 0);
  host.inputAnswers = {"-1", "1"};
  host.onInput = [&] { SetCurrentRow(list, 1); };  // the user clicks away meanwhile
  Trigger("mnuMax");
  EXPECT_EQ(Log(), "\nx^2\n---\n\nMaximum: (-1, 1)\n");
}

TEST_F(ToolWindows, CancelOrABadBoundWritesNothing) {
  Equation("x^2");
  struct Case {
    std::deque<std::optional<QString>> answers;
    const char* message;
  };
  const Case cases[] = {
      {{std::nullopt}, nullptr},
      {{"1", std::nullopt}, nullptr},
      {{"40000"}, "The left bound must lie between -32768 and 32767."},
      {{"1", "-32768.6"}, "The right bound must lie between -32768 and 32767."},
  };
  for (const Case& c : cases) {
    host.messages.clear();
    host.inputAnswers = c.answers;
    Trigger("mnuMin");
    if (c.message) {
      ASSERT_EQ(host.messages.size(), 1u);
      EXPECT_EQ(host.messages[0].text, c.message);
      EXPECT_EQ(host.messages[0].icon, MessageIcon::kError);
    } else {
      EXPECT_TRUE(host.messages.empty());
    }
    EXPECT_TRUE(host.inputAnswers.empty());
  }
  EXPECT_TRUE(Log().isEmpty()) << Log().toStdString();
}

TEST_F(ToolWindows, CopyGraphPutsTheSurfaceImageOnTheClipboard) {
  host.SetClipboardText("old");
  Trigger("mnuCopy");
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, "Image copied to clipboard.");
  EXPECT_EQ(host.messages[0].icon, MessageIcon::kInformation);
  EXPECT_EQ(host.clipboard.writes, 2);
  const QImage copied = host.clipboard.image;
  const QImage& surface = window.Surface()->Image();
  ASSERT_EQ(copied.size(), surface.size());
  // The empty plane: white corners, black axes through the centre pixel.
  const int mid = surface.width() / 2;
  EXPECT_EQ(copied.pixel(0, 0) & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_EQ(copied.pixel(mid, 3) & 0xFFFFFF, 0u);
  EXPECT_EQ(copied.pixel(3, mid) & 0xFFFFFF, 0u);
  EXPECT_TRUE(host.clipboard.text.isEmpty());
}

TEST_F(ToolWindows, SurfaceClicksCopyExceptTheLeftButton) {
  Equation("x^2");
  Click("btnGraph");
  GraphSurface* surface = window.Surface();
  QTest::mouseClick(surface, Qt::LeftButton, {}, QPoint(10, 10));
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(host.clipboard.writes, 0);
  for (Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton}) {
    host.SetClipboardText("old");
    host.messages.clear();
    QTest::mouseClick(surface, button, {}, QPoint(10, 10));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "Image copied to clipboard.");
    EXPECT_TRUE(host.clipboard.text.isEmpty());
    const QImage copied = host.clipboard.image;
    ASSERT_EQ(copied.size(), surface->Image().size());
    // The parabola's red dot at (2, 4) is on the copy.
    const QPointF p = surface->ToPixel(2, 4);
    int red = 0;
    for (int dy = -2; dy <= 2; ++dy)
      for (int dx = -2; dx <= 2; ++dx)
        if ((copied.pixel(int(p.x()) + dx, int(p.y()) + dy) & 0xFFFFFF) == 0xFF0000u) ++red;
    EXPECT_GT(red, 0);
  }
}

// A million rows are made off the window's thread; Esc stops them and the
// table stays as it was asked for: empty, Go ready again.
TEST_F(ToolWindows, TableRowsAreMadeOffTheWindowsThreadAndStop) {
  Equation("sin(x)");
  Click("btnViewTable");
  frmIO* table = TableWindow();
  ASSERT_NE(table, nullptr);
  Type(Find<QLineEdit>(table, "txtStart"), "0");
  Type(Find<QLineEdit>(table, "txtStop"), "999999");
  Type(Find<QLineEdit>(table, "txtStep"), "1");
  host.messages.clear();
  QTest::mouseClick(Find<QPushButton>(table, "btnGo"), Qt::LeftButton);
  EXPECT_TRUE(table->Searching());
  EXPECT_FALSE(Find<QPushButton>(table, "btnGo")->isEnabled());
  QSignalSpy ended(table, &frmIO::SearchEnded);
  QTest::keyClick(table, Qt::Key_Escape);
  ASSERT_TRUE(ended.count() > 0 || ended.wait(60000));
  EXPECT_TRUE(table->isVisible());
  EXPECT_EQ(Find<QListView>(table, "lstIO")->model()->rowCount(), 0);
  EXPECT_TRUE(Find<QPushButton>(table, "btnGo")->isEnabled());
  EXPECT_TRUE(host.messages.empty());
  table->close();
}

TEST_F(ToolWindows, TableOfValuesWindow) {
  Equation("x^2");
  Click("btnViewTable");
  frmIO* table = TableWindow();
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(table->windowTitle(), "Input and Output View");
  EXPECT_TRUE(table->isModal());
  EXPECT_EQ(table->parentWidget(), &window);
  EXPECT_EQ(Find<QLineEdit>(table, "txtStart")->text(), "-10");
  EXPECT_EQ(Find<QLineEdit>(table, "txtStop")->text(), "10");
  EXPECT_EQ(Find<QLineEdit>(table, "txtStep")->text(), "1");
  QAbstractItemModel* rows = Find<QListView>(table, "lstIO")->model();
  ASSERT_EQ(rows->rowCount(), 21);
  EXPECT_EQ(rows->index(0, 0).data().toString(), "(-10.000, 100)");
  EXPECT_EQ(rows->index(10, 0).data().toString(), "(0.000, 0)");
  EXPECT_EQ(rows->index(20, 0).data().toString(), "(10.000, 100)");

  Type(Find<QLineEdit>(table, "txtStart"), "2");
  Type(Find<QLineEdit>(table, "txtStop"), "0");
  Type(Find<QLineEdit>(table, "txtStep"), "-0.5");
  Click(table, "btnGo");
  ASSERT_EQ(rows->rowCount(), 5);
  EXPECT_EQ(rows->index(1, 0).data().toString(), "(1.500, 2.25)");
  host.SetClipboardImage(QImage(4, 4, QImage::Format_RGB32));
  Click(table, "btnCopy");
  EXPECT_EQ(host.clipboard.text, "(2.000, 4)\r\n(1.500, 2.25)\r\n(1.000, 1)\r\n(0.500, 0.25)\r\n(0.000, 0)\r\n");
  EXPECT_TRUE(host.clipboard.image.isNull());
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, "List copied to clipboard. You can now paste it.");
  EXPECT_EQ(host.messages[0].icon, MessageIcon::kInformation);

  // Start above stop: no rows, and Copy still copies (an empty text).
  Type(Find<QLineEdit>(table, "txtStep"), "1");
  Click(table, "btnGo");
  EXPECT_EQ(rows->rowCount(), 0);
  const int writes = host.clipboard.writes;
  Click(table, "btnCopy");
  EXPECT_EQ(host.clipboard.writes, writes + 1);
  EXPECT_EQ(host.clipboard.text, "");
  EXPECT_EQ(host.messages.size(), 2u);
  table->close();
}

TEST_F(ToolWindows, TableRefusesBadInputWithAMessage) {
  Equation("x");
  Click("btnViewTable");
  frmIO* table = TableWindow();
  ASSERT_NE(table, nullptr);
  QAbstractItemModel* rows = Find<QListView>(table, "lstIO")->model();
  struct Case {
    const char* start;
    const char* stop;
    const char* step;
    const char* message;
  };
  const Case cases[] = {{"", "1", "1", "Start, Stop and Step must be numbers."},
                        {"0", "1", "0", "The step is too small to move x from Start to Stop."}};
  for (const Case& c : cases) {
    host.messages.clear();
    Type(Find<QLineEdit>(table, "txtStart"), c.start);
    Type(Find<QLineEdit>(table, "txtStop"), c.stop);
    Type(Find<QLineEdit>(table, "txtStep"), c.step);
    Click(table, "btnGo");
    EXPECT_EQ(rows->rowCount(), 0);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, c.message);
    EXPECT_EQ(host.messages[0].icon, MessageIcon::kError);
  }
  table->close();
}

TEST_F(ToolWindows, IntersectionDialog) {
  Equation("x^2");
  Equation("x+2");
  Equation("x^2-1");
  Trigger("mnuInt");
  QPointer<frmIntSelect> dialog = IntersectDialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->windowTitle(), "Select Equations");
  EXPECT_EQ(dialog->parentWidget(), nullptr);
  EXPECT_FALSE(dialog->isModal());
  QListWidget* first = Find<QListWidget>(dialog, "lstEqu1");
  QListWidget* second = Find<QListWidget>(dialog, "lstEqu2");
  ASSERT_EQ(first->count(), 3);
  ASSERT_EQ(second->count(), 3);
  EXPECT_EQ(second->item(2)->text(), "x^2-1");
  EXPECT_TRUE(Find<QRadioButton>(dialog, "optMed")->isChecked());
  auto* bar = Find<StyledProgressBar>(dialog, "prog");
  EXPECT_EQ(bar->Scrolling(), StyledProgressBar::kGloss);
  EXPECT_TRUE(bar->ShowText());

  // Refusals keep the dialog open.
  Click(dialog, "cmdOK");
  ClickRow(first, 0);
  Click(dialog, "cmdOK");
  ClickRow(second, 0);
  Click(dialog, "cmdOK");
  ASSERT_EQ(host.messages.size(), 3u);
  EXPECT_EQ(host.messages[0].text, "One or both of the equations is(are) blank.");
  EXPECT_EQ(host.messages[1].text, "One or both of the equations is(are) blank.");
  EXPECT_EQ(host.messages[2].text, "The two equations are the same.");
  for (const auto& m : host.messages) EXPECT_EQ(m.icon, MessageIcon::kWarning);
  EXPECT_TRUE(dialog->isVisible());

  ClickRow(second, 1);
  QTest::mouseClick(Find<QRadioButton>(dialog, "optLow"), Qt::LeftButton);
  Click(dialog, "cmdOK");
  ASSERT_EQ(host.messages.size(), 4u);
  EXPECT_EQ(host.messages[3].text, "The intersects are: (-1, 1), (2, 4)");
  EXPECT_EQ(host.messages[3].icon, MessageIcon::kInformation);
  EXPECT_TRUE(dialog.isNull() || !dialog->isVisible());
  // Marked in both equations' colours.
  EXPECT_EQ(window.Session().Marks(), (std::vector<Mark>{{-1, 1, 0}, {2, 4, 0}, {-1, 1, 1}, {2, 4, 1}}));
}

// The window drawn while the dialog is open is the one searched.
TEST_F(ToolWindows, IntersectionDialogReadsTheWindowAtOk) {
  Equation("x^2");
  Equation("x+2");
  Trigger("mnuInt");
  QPointer<frmIntSelect> dialog = IntersectDialog();
  ASSERT_NE(dialog, nullptr);
  Box("txtXMin")->setText("0");
  ASSERT_TRUE(window.DrawAxis());
  ClickRow(Find<QListWidget>(dialog, "lstEqu1"), 0);
  ClickRow(Find<QListWidget>(dialog, "lstEqu2"), 1);
  QTest::mouseClick(Find<QRadioButton>(dialog, "optLow"), Qt::LeftButton);
  Click(dialog, "cmdOK");
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, "The intersects are: (2, 4)");
}

TEST_F(ToolWindows, IntersectionDialogWithoutMeetingPointsAndCancel) {
  Equation("x^2");
  Equation("x^2-1");
  Trigger("mnuInt");
  QPointer<frmIntSelect> dialog = IntersectDialog();
  ASSERT_NE(dialog, nullptr);
  Equation("x");  // later rows do not reach the open dialog
  Trigger("mnuInt");
  EXPECT_EQ(IntersectDialog(), dialog.data());
  EXPECT_EQ(RowCount(Find<QListWidget>(dialog, "lstEqu1")), 2);
  ClickRow(Find<QListWidget>(dialog, "lstEqu1"), 0);
  ClickRow(Find<QListWidget>(dialog, "lstEqu2"), 1);
  QTest::mouseClick(Find<QRadioButton>(dialog, "optMLow"), Qt::LeftButton);
  Click(dialog, "cmdOK");
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, "There is no intersection.");
  EXPECT_EQ(host.messages[0].icon, MessageIcon::kInformation);
  EXPECT_TRUE(dialog.isNull() || !dialog->isVisible());

  Trigger("mnuInt");
  dialog = IntersectDialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(RowCount(Find<QListWidget>(dialog, "lstEqu1")), 3);
  Click(dialog, "cmdCancel");
  EXPECT_TRUE(dialog.isNull() || !dialog->isVisible());
  EXPECT_EQ(host.messages.size(), 1u);
}

// A search of seconds stays the person's to stop: Cancel (or Esc, or closing
// the dialog) ends it, the dialog reports nothing and the bar is empty again.
TEST_F(ToolWindows, ALongIntersectionSearchCanBeStopped) {
  struct Case {
    const char* how;
    std::function<void(frmIntSelect*)> stop;
    bool staysOpen;
  };
  const Case cases[] = {
      {"Cancel", [](frmIntSelect* d) { QTest::mouseClick(d->findChild<QPushButton*>("cmdCancel"), Qt::LeftButton); },
       true},
      {"Esc", [](frmIntSelect* d) { QTest::keyClick(d, Qt::Key_Escape); }, true},
      {"closing", [](frmIntSelect* d) { d->close(); }, false},
  };
  Equation("sin(x)");
  Equation("cos(x)");
  for (const Case& c : cases) {
    // At High on the widest window the search takes minutes.
    Box("txtXMin")->setText("-32768");
    Box("txtXMax")->setText("32767");
    ASSERT_TRUE(window.DrawAxis());
    Trigger("mnuInt");
    QPointer<frmIntSelect> dialog = IntersectDialog();
    ASSERT_NE(dialog, nullptr);
    ClickRow(Find<QListWidget>(dialog, "lstEqu1"), 0);
    ClickRow(Find<QListWidget>(dialog, "lstEqu2"), 1);
    QTest::mouseClick(Find<QRadioButton>(dialog, "optHigh"), Qt::LeftButton);
    QTest::mouseClick(Find<QPushButton>(dialog, "cmdOK"), Qt::LeftButton);
    // The search runs off the window's thread: the dialog answers at once.
    EXPECT_TRUE(dialog->Searching()) << c.how;
    QSignalSpy ended(dialog.data(), &frmIntSelect::SearchEnded);
    c.stop(dialog);
    ASSERT_TRUE(ended.count() > 0 || ended.wait(60000)) << c.how;
    EXPECT_TRUE(host.messages.empty()) << c.how << ": " << host.LastMessage().toStdString();
    if (c.staysOpen) {
      ASSERT_FALSE(dialog.isNull()) << c.how;
      EXPECT_TRUE(dialog->isVisible()) << c.how;
      EXPECT_FALSE(dialog->Searching()) << c.how;
      EXPECT_EQ(dialog->ProgressBar().Value(), 0) << c.how;
      dialog->close();
    } else {
      EXPECT_TRUE(dialog.isNull() || !dialog->isVisible()) << c.how;
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
}

// The command line's tools and the window's must never disagree: each tool
// run both ways on equations whose answers take different paths (a crossing,
// an edge of the domain, holes, no value).
TEST_F(ToolWindows, TheCommandLineAnswersAsTheWindow) {
  const auto lastLogLine = [&] { return Log().section('\n', -2, -2); };
  const auto command = [](const char* expr, Tool tool, std::string value, std::vector<std::string> parts = {}) {
    ExportRequest source;
    source.equations = {{expr, "", 255}};
    ToolRequest request;
    request.tool = tool;
    request.value = std::move(value);
    request.parts = std::move(parts);
    const ToolAnswer answer = RunTool(source, request);
    return QString::fromStdString(answer.text);
  };
  for (const char* expr : {"x^2-4", "sqrt(16-x^2)", "1/(x^2-1)", "x^2+20"}) {
    Equation(expr);
    host.messages.clear();
    Type(Box("txtX"), "1.5");
    Click("cmdY");
    const QString windowY = host.messages.empty() ? Box("txtY")->text() : host.LastMessage();
    EXPECT_EQ(command(expr, Tool::kGetY, "1.5"), windowY) << expr;

    host.messages.clear();
    Type(Box("txtY"), "0");
    Click("cmdX");
    const QString windowX = host.messages.empty() ? Box("txtX")->text() : host.LastMessage();
    EXPECT_EQ(command(expr, Tool::kGetX, "0"), windowX) << expr;

    Trigger("mnuDomain");
    EXPECT_EQ("Domain: " + command(expr, Tool::kDomain, ""), lastLogLine()) << expr;
    Trigger("mnuRange");
    EXPECT_EQ("Range: " + command(expr, Tool::kRange, ""), lastLogLine()) << expr;
    host.inputAnswers = {"-3", "3", "-3", "3"};
    Trigger("mnuMin");
    EXPECT_EQ("Minimum: " + command(expr, Tool::kMinimum, "", {"-3", "3"}), lastLogLine()) << expr;
    Trigger("mnuMax");
    EXPECT_EQ("Maximum: " + command(expr, Tool::kMaximum, "", {"-3", "3"}), lastLogLine()) << expr;
  }
}

}  // namespace
}  // namespace cn

namespace cn {
namespace {

// What a tool finds is marked on its equation's row, and stays until the row changes.
TEST_F(ToolWindows, ToolsMarkWhatTheyFind) {
  struct Case {
    const char* expression;
    std::function<void()> run;
    std::vector<Mark> marks;
  };
  const Case cases[] = {
      {"x^2",
       [&] {
         host.inputAnswers = {"-2", "2"};
         Trigger("mnuMin");
       },
       {{0, 0, 0}}},
      {"4-(x-1)^2",
       [&] {
         host.inputAnswers = {"-5", "5"};
         Trigger("mnuMax");
       },
       {{1, 4, 0}}},
      {"x^2",
       [&] {
         Type(Box("txtX"), "1.5");
         Click("cmdY");
       },
       {{1.5, 2.25, 0}}},
      {"x^2",
       [&] {
         Type(Box("txtY"), "4");
         Click("cmdX");
       },
       {{-2, 4, 0}, {2, 4, 0}}},
      {"sqrt(16-x^2)", [&] { Trigger("mnuDomain"); }, {{-4, 0, 0}, {4, 0, 0}}},
      {"1/x", [&] { Trigger("mnuDomain"); }, {}},  // no finite ends
  };
  for (const Case& c : cases) {
    window.ApplyDocument(WorkspaceDocument{});
    Equation(c.expression);
    c.run();
    EXPECT_TRUE(WaitIdle(window));
    EXPECT_EQ(window.Session().Marks(), c.marks) << c.expression;
    EXPECT_EQ(window.LastGraph().marks, c.marks) << c.expression << ": drawn at once";
  }
  // Editing the row ends its marks; Clear Marks ends them all.
  host.inputAnswers.push_back(QString("x^3"));
  window.lstEqu_DblClick();
  EXPECT_TRUE(window.Session().Marks().empty());
  EXPECT_TRUE(WaitIdle(window));
  // A new mark is painted over the picture as it stands: no new sweep.
  const QImage before = window.Surface()->Image();
  window.Session().AddMarks({{5, 5, 0}});
  EXPECT_FALSE(window.Drawing());
  EXPECT_NE(window.Surface()->Image(), before);
  Trigger("mnuClearMarks");
  EXPECT_EQ(window.Surface()->Image(), before);
  EXPECT_TRUE(window.LastGraph().marks.empty());
}

TEST_F(ToolWindows, SlopeAndAreaAreLoggedAndDrawnUntilTheNextGraph) {
  Equation("x^2");
  Type(Box("txtX"), "1");
  Trigger("mnuSlope");
  EXPECT_TRUE(Log().contains("Slope at x = 1: 2")) << Log().toStdString();
  ASSERT_TRUE(window.LastGraph().tangent);
  EXPECT_EQ(window.LastGraph().tangent->slope, 2);
  host.inputAnswers = {"-1", "2"};
  Trigger("mnuArea");
  EXPECT_TRUE(Log().contains("Area from -1 to 2: 3")) << Log().toStdString();
  ASSERT_TRUE(window.LastGraph().area);
  EXPECT_EQ(window.LastGraph().area->right, 2);
  Click("btnGraph");
  EXPECT_FALSE(window.LastGraph().tangent);
  EXPECT_FALSE(window.LastGraph().area);
  // Where f fails there is no slope.
  Equation("sqrt(x)");
  Type(Box("txtX"), "-1");
  Trigger("mnuSlope");
  ASSERT_FALSE(host.messages.empty());
  EXPECT_EQ(host.messages.back().text, "Unreal answer.");
}

TEST_F(ToolWindows, TraceFollowsTheSelectedEquation) {
  Equation("x^2");
  Equation("sqrt(x)");
  GraphSurface* plane = window.Surface();
  QLabel* readout = Find<QLabel>("lblCoord");
  SetCurrentRow(Find<QListView>("lstEqu"), 0);
  plane->setFocus();
  QTest::keyClick(plane, Qt::Key_T);
  ASSERT_TRUE(window.Tracing());
  EXPECT_EQ(readout->text(), "(0, 0)");  // the middle of the window
  EXPECT_TRUE(plane->TracePointVisible());
  QTest::keyClick(plane, Qt::Key_Right, Qt::ShiftModifier);
  EXPECT_EQ(readout->text(), "(0.001, 1E-06)");
  // One pixel's worth of x; the arrows no longer pan.
  const double pixel = 20.0 / plane->width();
  QTest::keyClick(plane, Qt::Key_Right);
  const double x = RoundHalfEven(0.001 + pixel, 3);
  EXPECT_EQ(readout->text().toStdString(), "(" + FormatDouble(x) + ", " + FormatDouble(x * x) + ")");
  EXPECT_EQ(window.Window(), kStandardWindow);
  QTest::keyClick(plane, Qt::Key_Return);
  EXPECT_EQ(window.Session().Marks(), (std::vector<Mark>{{x, x * x, 0}}));
  // Down: the next equation, undefined left of 0.
  QTest::keyClick(plane, Qt::Key_Down);
  EXPECT_EQ(window.SelectedEquation(), "sqrt(x)");
  for (int i = 0; i < 30; ++i) QTest::keyClick(plane, Qt::Key_Left);
  EXPECT_TRUE(readout->text().endsWith(", undefined)")) << readout->text().toStdString();
  EXPECT_FALSE(plane->TracePointVisible());
  QTest::keyClick(plane, Qt::Key_Escape);
  EXPECT_FALSE(window.Tracing());
  QTest::keyClick(plane, Qt::Key_Left);  // panning again
  EXPECT_EQ(window.Window().xmin, -11);
}

TEST_F(ToolWindows, ZoomChoosesTheStepsAndSaysWhyItStops) {
  struct Case {
    int notches;  // + zooms in
    std::int16_t side;
    float step;
  };
  const Case cases[] = {{-1, 40, 5}, {-3, 320, 50}, {2, 80, 10}, {3, 10, 1}, {2, 2, 0.2f}};
  for (const Case& c : cases) {
    EXPECT_TRUE(WaitIdle(window));
    window.ZoomAt(c.notches, 0, 0);
    EXPECT_EQ(window.Window().xmax - window.Window().xmin, c.side) << c.notches;
    EXPECT_EQ(window.Window().xstep, c.step) << c.side;
    EXPECT_EQ(Box("txtYStep")->text().toStdString(), FormatSingle(c.step)) << "the boxes show it";
  }
  EXPECT_TRUE(Find<QLabel>("lblStatus")->text().isEmpty());
  window.ZoomAt(1, 0, 0);
  EXPECT_EQ(window.StatusText(), "Zoomed in as far as the plane goes: a side of 2 units.");
  Trigger("mnuZoomStandard");
  EXPECT_EQ(window.Window(), kStandardWindow);
  EXPECT_TRUE(window.StatusText().isEmpty());
}

}  // namespace
}  // namespace cn
