#include "workspace/frm_main.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QSet>
#include "support/list_view.h"
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include "support/expected_version.h"
#include "support/find_child.h"
#include "support/scripted_host.h"
#include "support/wait_idle.h"
#include "workspace/graph_surface.h"

namespace cn {
namespace {

class MainWindow : public ::testing::Test {
 protected:
  ScriptedHost host;
  frmMain window{host};
  // The plane's image once every Graph has ended.
  const QImage& Picture() {
    EXPECT_TRUE(WaitIdle(window));
    return window.Surface()->Image();
  }

  template <class W>
  W* Find(const char* name) {
    return FindChild<W>(&window, name);
  }
  QListView* List(const char* name) { return Find<QListView>(name); }
  QLineEdit* Box(const char* name) { return Find<QLineEdit>(name); }
  QString Log() { return Find<QPlainTextEdit>("txtInfo")->toPlainText(); }
  void Graph() {
    QTest::mouseClick(Find<QPushButton>("btnGraph"), Qt::LeftButton);
    EXPECT_TRUE(WaitIdle(window));
  }

  // Counts pixels of an exact colour in a rectangle of the persistent image.
  int CountColor(QRgb color, QRect area = QRect()) {
    const QImage& image = Picture();
    if (area.isNull()) area = image.rect();
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
      for (int x = area.left(); x <= area.right(); ++x)
        if ((image.pixel(x, y) & 0xFFFFFF) == (color & 0xFFFFFF)) ++n;
    return n;
  }
  // The pixel column of world x with the current mapping.
  int Column(double x) { return static_cast<int>(window.Surface()->ToPixel(x, 0).x()); }
  int Row(double y) { return static_cast<int>(window.Surface()->ToPixel(0, y).y()); }
};

TEST_F(MainWindow, StartUpState) {
  EXPECT_EQ(window.windowTitle(), "Curvenest " + ExpectedVersion() + "[*]");
  EXPECT_FALSE(window.isWindowModified());
  const QList<QAction*> menus = window.menuBar()->actions();
  QStringList captions;
  for (QAction* menu : menus) captions.append(QString(menu->text()).remove('&'));
  EXPECT_EQ(captions, (QStringList{"File", "Edit", "View", "Tools", "About"}));
  // Every menu and item answers to Alt and a letter of its own words, one
  // letter per item within a menu.
  QList<QList<QAction*>> levels = {menus};
  for (QAction* menu : menus) levels.append(menu->menu()->actions());
  for (const QList<QAction*>& level : levels) {
    QSet<QChar> letters;
    for (QAction* a : level) {
      if (a->isSeparator()) continue;
      const qsizetype at = a->text().indexOf('&');
      ASSERT_GE(at, 0) << a->text().toStdString();
      EXPECT_FALSE(letters.contains(a->text()[at + 1].toLower())) << a->text().toStdString();
      letters.insert(a->text()[at + 1].toLower());
    }
  }

  struct Item {
    const char* name;
    const char* caption;
    QKeySequence key;
  };
  const Item items[] = {
      {"mnuCopy", "Copy Graph", {}},
      {"mnuPrint", "Print", {}},
      {"mnuExit", "Exit", {}},
      {"mnuGraph", "Graph", QKeySequence(Qt::Key_F4)},
      {"mnuTable", "Stat Plot/Regression", QKeySequence(Qt::Key_F5)},
      {"mnuInt", "Intersect", QKeySequence(Qt::Key_F6)},
      {"mnuDomain", "Get Domain", QKeySequence(Qt::Key_F7)},
      {"mnuRange", "Get Range", QKeySequence(Qt::Key_F8)},
      {"mnuMin", "Get Minimum", QKeySequence(Qt::Key_F9)},
      {"mnuMax", "Get Maximum", QKeySequence(Qt::Key_F11)},
      {"mnuAbout2", "About", {}},
      {"mnuBuy", "Buy for $10", {}},
  };
  for (const Item& item : items) {
    auto* action = window.findChild<QAction*>(item.name);
    ASSERT_NE(action, nullptr) << item.name;
    EXPECT_EQ(QString(action->text()).remove('&'), item.caption);
    EXPECT_EQ(action->shortcut(), item.key) << item.name;
    EXPECT_FALSE(action->icon().isNull()) << item.name;
  }

  EXPECT_TRUE(Find<QCheckBox>("chkEqu")->isChecked());
  EXPECT_TRUE(Find<QRadioButton>("optHigh")->isChecked());
  EXPECT_FALSE(Find<QRadioButton>("optLow")->isChecked());
  EXPECT_EQ(Box("txtX")->text(), "0");
  EXPECT_EQ(Box("txtY")->text(), "0");
  EXPECT_EQ(Box("txtX")->toolTip(), "Specify an X value and click go to get the Y value.");
  EXPECT_EQ(List("lstEqu")->toolTip(), "Double-click to edit.");
  EXPECT_EQ(RowCount(List("lstEqu")), 0);
  EXPECT_TRUE(Log().isEmpty());
  EXPECT_EQ(window.Window().xmin, -10);
  EXPECT_EQ(window.Window().ymax, 10);
  EXPECT_EQ(window.Window().xstep, 1.0f);
  for (const char* frame : {"fraInfo", "fraIO", "fraEqu", "fraGraph"})
    EXPECT_NE(window.findChild<QWidget*>(frame), nullptr);
  const QImage& image = Picture();
  EXPECT_EQ(image.width(), image.height());  // a square surface
}

TEST_F(MainWindow, BoundsReadByTheirLeadingNumber) {
  struct Case {
    const char* text;
    std::int16_t expected;
  };
  const Case cases[] = {{"2.5", 2}, {"3.5", 4}, {"abc", 0}, {"7xyz", 7}, {" 1 2", 12}, {"&H10", 16}, {"-3.5", -4}};
  Box("txtXMax")->setText("20");
  for (const Case& c : cases) {
    Box("txtXMin")->setText(c.text);
    ASSERT_TRUE(window.DrawAxis()) << c.text;
    EXPECT_EQ(window.Window().xmin, c.expected) << c.text;
  }
  Box("txtXStep")->setText("0.25abc");
  window.DrawAxis();
  EXPECT_EQ(window.Window().xstep, 0.25f);
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(MainWindow, ImpossibleWindowsAreRefused) {
  struct Case {
    const char* box;
    const char* text;
    const char* named;
  };
  const Case cases[] = {
      {"txtXMin", "40000", "XMin"},
      {"txtYMax", "-32769", "YMax"},
      {"txtXMax", "-10", "XMax"},
      {"txtYMin", "10", "YMin"},
      // Reversed windows would draw an empty plane or the graph upside down.
      {"txtXMax", "-20", "XMin must be less than XMax."},
      {"txtXMin", "10.6", "XMin must be less than XMax."},
      {"txtYMin", "32767", "YMin must be less than YMax."},
      {"txtYMax", "-11", "YMin must be less than YMax."},
  };
  for (const Case& c : cases) {
    host.messages.clear();
    window.findChild<QLineEdit*>("txtXMin")->setText("-10");
    window.findChild<QLineEdit*>("txtXMax")->setText("10");
    window.findChild<QLineEdit*>("txtYMin")->setText("-10");
    window.findChild<QLineEdit*>("txtYMax")->setText("10");
    ASSERT_TRUE(window.DrawAxis());
    Box(c.box)->setText(c.text);
    EXPECT_FALSE(window.DrawAxis()) << c.box << " " << c.text;
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_TRUE(host.LastMessage().contains(c.named)) << host.LastMessage().toStdString();
    EXPECT_EQ(host.messages[0].icon, MessageIcon::kError);
    EXPECT_EQ(window.Window().xmin, -10);  // members keep the last drawn window
    EXPECT_EQ(window.Window().ymax, 10);
  }
}

TEST_F(MainWindow, ListsStayOnOneRow) {
  window.AppendEquation("x^2", "", 255);
  window.AppendEquation("sin(x)", "x > 0", 65280);
  window.AppendEquation("2x+1", "x <= 3", 16711680);
  QListView* equ = List("lstEqu");
  QListView* cond = List("lstCondition");
  EXPECT_EQ(CurrentRow(equ), 2);  // a new row is selected
  EXPECT_EQ(CurrentRow(cond), 2);

  SetCurrentRow(equ, 0);
  EXPECT_EQ(CurrentRow(cond), 0);
  EXPECT_EQ(Find<QFrame>("picColor")->palette().color(QPalette::Window), QColor(255, 0, 0));
  SetCurrentRow(cond, 1);
  EXPECT_EQ(CurrentRow(equ), 1);
  EXPECT_EQ(Find<QFrame>("picColor")->palette().color(QPalette::Window), QColor(0, 255, 0));
  EXPECT_EQ(window.SelectedEquation(), "sin(x)");
}

TEST_F(MainWindow, DeleteAndEditInPlace) {
  window.AppendEquation("x^2", "", 255);
  window.AppendEquation("sin(x)", "x > 0", 65280);
  SetCurrentRow(List("lstEqu"), 0);
  window.btnDelete_Click();
  EXPECT_TRUE(host.messages.empty());
  for (const char* name : {"lstEqu", "lstCondition"}) {
    EXPECT_EQ(RowCount(List(name)), 1) << name;
    EXPECT_TRUE((CurrentRow(List(name)) < 0)) << name;
  }
  EXPECT_EQ(RowText(List("lstEqu"), 0), "sin(x)");
  EXPECT_EQ(RowText(List("lstCondition"), 0), "x > 0");
  EXPECT_EQ(Find<QFrame>("picColor")->palette().color(QPalette::Window), window.palette().color(QPalette::Button));

  // A second Delete has nothing selected.
  window.btnDelete_Click();
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.LastMessage(), "Really!? Select an equation to delete first. Use your brainular knowledge!");
  EXPECT_EQ(host.messages[0].icon, MessageIcon::kError);
  EXPECT_EQ(RowCount(List("lstEqu")), 1);

  SetCurrentRow(List("lstEqu"), 0);
  host.inputAnswers = {QString("cos(x)"), std::nullopt, QString("")};
  window.lstEqu_DblClick();
  EXPECT_EQ(RowText(List("lstEqu"), 0), "cos(x)");
  EXPECT_EQ(host.inputs.back().prompt, "Fix the equation: ");
  EXPECT_EQ(host.inputs.back().defaultText, "sin(x)");
  window.lstEqu_DblClick();  // cancelled
  EXPECT_EQ(RowText(List("lstEqu"), 0), "cos(x)");
  // A text that can never plot is refused with its message, and the editor
  // comes back holding what was typed; Cancel there keeps the old row.
  for (const char* bad : {"(x+1", "", "x*y", "tanx", "2+"}) {
    host.messages.clear();
    host.inputAnswers.push_front(std::nullopt);
    host.inputAnswers.push_front(QString(bad));
    window.lstEqu_DblClick();
    ASSERT_EQ(host.messages.size(), 1u) << bad;
    EXPECT_EQ(host.messages[0].icon, MessageIcon::kError);
    EXPECT_EQ(host.inputs.back().defaultText, bad);
    EXPECT_EQ(RowText(List("lstEqu"), 0), "cos(x)") << bad;
  }
  EXPECT_EQ(host.messages[0].text, "missing argument");
  host.inputAnswers.push_front(QString("tan(x)"));  // mended in the editor
  host.inputAnswers.push_front(QString("tanx"));
  window.lstEqu_DblClick();
  EXPECT_EQ(host.LastMessage(), "Unknown name \"tanx\": did you mean tan(x)?");
  EXPECT_EQ(RowText(List("lstEqu"), 0), "tan(x)");

  // Conditions: the one reader; a bound that is no number is refused.
  host.inputAnswers.push_front(QString("x<3"));
  host.inputAnswers.push_front(QString("x > two"));
  window.lstCondition_DblClick();
  EXPECT_EQ(host.inputs.back().prompt, "Fix the condition: ");
  EXPECT_EQ(host.inputs.back().defaultText, "x > two");
  EXPECT_EQ(host.LastMessage(), "The bound \"two\" of the condition \"x > two\" is not a number.");
  EXPECT_EQ(RowText(List("lstCondition"), 0), "x<3");
  window.lstCondition_DblClick();  // an empty answer is stored: no condition
  EXPECT_EQ(RowText(List("lstCondition"), 0), "");
}

TEST_F(MainWindow, ColourSwatch) {
  window.picColor_Click();  // nothing selected: nothing asked
  EXPECT_TRUE(host.colorRequests.empty());
  window.AppendEquation("x", "", 255);
  host.colorAnswers = {std::uint32_t{0x00FF00}, std::nullopt, std::uint32_t{0}, std::nullopt};
  window.picColor_Click();
  EXPECT_EQ(window.Equations().At(0).color, 0x00FF00u);
  EXPECT_EQ(Find<QFrame>("picColor")->palette().color(QPalette::Window), QColor(0, 255, 0));
  EXPECT_EQ(host.colorRequests.back().initial, 255u);  // the chooser starts at the row's colour
  window.picColor_Click();                             // cancelled: no change
  EXPECT_EQ(window.Equations().At(0).color, 0x00FF00u);
  EXPECT_EQ(Find<QFrame>("picColor")->palette().color(QPalette::Window), QColor(0, 255, 0));
  window.picColor_Click();  // black is chosen like any colour
  EXPECT_EQ(window.Equations().At(0).color, 0u);
  EXPECT_EQ(Find<QFrame>("picColor")->palette().color(QPalette::Window), QColor(0, 0, 0));
  EXPECT_EQ(window.Equations().At(0).color, 0u);
  window.picColor_Click();  // cancelled after black: black stays
  EXPECT_EQ(window.Equations().At(0).color, 0u);
  EXPECT_EQ(host.colorRequests.size(), 4u);
}

TEST_F(MainWindow, InfoLogHeaders) {
  const QString first = "x^2+3*x-1+0", second = "sin(x)*2+10";  // 11 characters each
  window.WriteLogResult("Domain: ", "all", first);
  window.WriteLogResult("Range: ", "some", first);
  QString expected = "\r\nx^2+3*x-1+0\r\n-----------\r\n\r\nDomain: all\r\nRange: some\r\n";
  EXPECT_EQ(Log(), QString(expected).replace("\r\n", "\n"));
  window.WriteLogResult("Minimum: ", "1", second);
  EXPECT_TRUE(Log().endsWith("\nsin(x)*2+10\n-----------\n\nMinimum: 1\n")) << Log().toStdString();
  QTest::mouseClick(Find<QPushButton>("btnClear"), Qt::LeftButton);
  EXPECT_TRUE(Log().isEmpty());
  window.WriteLogResult("Minimum: ", "1", second);  // after Clear the header comes again
  EXPECT_TRUE(Log().startsWith("\nsin(x)*2+10\n-----------\n")) << Log().toStdString();
}

TEST_F(MainWindow, CrosshairReadout) {
  struct Case {
    float x, y;
    const char* text;
  };
  const Case cases[] = {{1.23456f, -7.0001f, "(1.235, -7)"},
                        {2.0004f, 3.9996f, "(2, 4)"},
                        {0.0625f, 0, "(0.062, 0)"},
                        {0.1875f, -0.5f, "(0.188, -0.5)"}};
  EXPECT_FALSE(window.Surface()->CrosshairVisible());
  for (const Case& c : cases) {
    window.picQuad_MouseMove(Qt::NoButton, Qt::NoModifier, c.x, c.y);
    EXPECT_EQ(Find<QLabel>("lblCoord")->text(), c.text);
    EXPECT_TRUE(window.Surface()->CrosshairVisible());
    EXPECT_FLOAT_EQ(window.Surface()->CrosshairX(), c.x);
    EXPECT_FLOAT_EQ(window.Surface()->CrosshairY(), c.y);
  }
  window.Form_MouseMove();
  EXPECT_FALSE(window.Surface()->CrosshairVisible());
  EXPECT_EQ(Find<QLabel>("lblCoord")->text(), "(0.188, -0.5)");  // keeps its last text
  // Leaving the plane at the top, right or bottom hides it too.
  window.picQuad_MouseMove(Qt::NoButton, Qt::NoModifier, 9.9f, 9.9f);
  QEvent leave(QEvent::Leave);
  QCoreApplication::sendEvent(window.Surface(), &leave);
  EXPECT_FALSE(window.Surface()->CrosshairVisible());
}

TEST_F(MainWindow, AxesOnTheImage) {
  const QRgb black = qRgb(0, 0, 0);
  const int size = Picture().width();
  // The x axis is a full row of black, the y axis a full column (default window).
  EXPECT_GE(CountColor(black, QRect(0, Row(0), size, 1)), size - 2);
  EXPECT_GE(CountColor(black, QRect(Column(0), 0, 1, size)), size - 2);
  // A tick at x = 5 reaches 0.2 units above the axis, none at x = 5.5.
  EXPECT_EQ(Picture().pixel(Column(5), Row(0.15)) & 0xFFFFFF, black & 0xFFFFFF);
  EXPECT_NE(Picture().pixel(Column(5.5), Row(0.15)) & 0xFFFFFF, black & 0xFFFFFF);
  // Labels hang below the x axis: dark pixels between 0.3 and 1 unit below it near x = 4.
  EXPECT_GT(CountColor(black, QRect(Column(3.6), Row(-0.3), Column(4.6) - Column(3.6), Row(-1) - Row(-0.3))), 3);

  // XMin 20, XMax 30: the y axis lies outside; ticks along the x axis remain.
  Box("txtXMin")->setText("20");
  Box("txtXMax")->setText("30");
  ASSERT_TRUE(window.DrawAxis());
  EXPECT_GE(CountColor(black, QRect(0, Row(0), size, 1)), size - 2);
  EXPECT_EQ(Picture().pixel(Column(25), Row(0.15)) & 0xFFFFFF, black & 0xFFFFFF);

  // A zero step draws no ticks on that axis, and the command ends.
  Box("txtXStep")->setText("0");
  ASSERT_TRUE(window.DrawAxis());
  EXPECT_NE(Picture().pixel(Column(25), Row(0.15)) & 0xFFFFFF, black & 0xFFFFFF);

  // A step too fine for the widest window ends the ticks where it stops
  // moving x, instead of a label at each of millions of singles.
  Box("txtXMin")->setText("-32768");
  Box("txtXMax")->setText("32767");
  Box("txtXStep")->setText("0.0001");
  EXPECT_TRUE(window.DrawAxis());
}

TEST_F(MainWindow, GraphPlotsEachRowInItsColour) {
  const QRgb red = qRgb(255, 0, 0), blue = qRgb(0, 0, 255);
  window.AppendEquation("sqrt(x)", "", 255);         // red
  window.AppendEquation("x^2", "x >= 1", 0xFF0000);  // blue
  Find<QCheckBox>("chkEqu")->setChecked(false);
  Graph();
  const int size = Picture().width();
  // sqrt(x): only right of the y axis (a 2-pixel dot may touch it).
  EXPECT_EQ(CountColor(red, QRect(0, 0, Column(0) - 2, size)), 0);
  EXPECT_GT(CountColor(red, QRect(Column(0), 0, size - Column(0), size)), 100);
  // x^2 under x >= 1: nothing left of x = 1.
  EXPECT_EQ(CountColor(blue, QRect(0, 0, Column(1) - 2, size)), 0);
  EXPECT_GT(CountColor(blue), 50);

  // The equations written top-left, one world unit apart, in their colours.
  Find<QCheckBox>("chkEqu")->setChecked(true);
  Graph();
  const int unit = Row(9) - Row(10);
  EXPECT_GT(CountColor(red, QRect(0, 0, size / 3, unit)), 5);
  EXPECT_GT(CountColor(blue, QRect(0, unit, size / 3, unit)), 5);
  EXPECT_EQ(window.ProgressBar().Value(), 0);
}

// On a tall window a world unit is a few pixels: each text still goes at
// least one text line below the one before, so no two share a line.
TEST_F(MainWindow, EquationTextsNeverOverlap) {
  const QRgb colours[] = {qRgb(255, 0, 0), qRgb(0, 0, 255), qRgb(0, 255, 0)};
  window.AppendEquation("x+1000", "", 255);
  window.AppendEquation("x+2000", "", 0xFF0000);
  window.AppendEquation("x+3000", "", 0x00FF00);
  for (const char* ymax : {"10", "100"}) {
    Box("txtYMin")->setText(QString("-") + ymax);
    Box("txtYMax")->setText(ymax);
    Graph();
    const QImage& image = Picture();
    // The rows each text's colour covers in the left third.
    int top[3], bottom[3];
    for (int k = 0; k < 3; ++k) {
      top[k] = image.height();
      bottom[k] = -1;
      for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width() / 3; ++x)
          if ((image.pixel(x, y) & 0xFFFFFF) == (colours[k] & 0xFFFFFF)) {
            top[k] = std::min(top[k], y);
            bottom[k] = std::max(bottom[k], y);
          }
      ASSERT_GE(bottom[k], 0) << ymax << " row " << k;
    }
    for (int k = 1; k < 3; ++k) EXPECT_GT(top[k], bottom[k - 1]) << ymax << " row " << k;
    if (QString(ymax) == "10") {
      // The default window keeps one world unit per row.
      const int unit = Row(9) - Row(10);
      for (int k = 0; k < 3; ++k) EXPECT_LT(top[k], Row(10 - k) + unit) << k;
      for (int k = 0; k < 3; ++k) EXPECT_GE(top[k], Row(10 - k)) << k;
    }
  }
}

TEST_F(MainWindow, EnterEquationAppendsASelectedRow) {
  QTest::mouseClick(Find<QPushButton>("btnAdd"), Qt::LeftButton);
  QWidget* dialog = window.findChild<QWidget*>("frmEqu");
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(dialog->isVisible());
  // One dialog at a time: a second click brings the same one forward.
  QTest::mouseClick(Find<QPushButton>("btnAdd"), Qt::LeftButton);
  EXPECT_EQ(window.findChildren<QWidget*>("frmEqu").size(), 1);

  QTest::mouseClick(dialog->findChild<QRadioButton*>("optLinear"), Qt::LeftButton);
  QTest::keyClicks(dialog->findChild<QLineEdit*>("txtM"), "3");
  QTest::keyClicks(dialog->findChild<QLineEdit*>("txtB2"), "-1");
  QTest::mouseClick(dialog->findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
  ASSERT_EQ(RowCount(List("lstEqu")), 1);
  EXPECT_EQ(RowText(List("lstEqu"), 0), "3x -1");
  EXPECT_EQ(RowCount(List("lstCondition")), 1);
  EXPECT_EQ(window.SelectedEquation(), "3x -1");
  QApplication::processEvents();
  EXPECT_TRUE(window.findChildren<QWidget*>("frmEqu").isEmpty() || !window.findChild<QWidget*>("frmEqu")->isVisible());
}

// Runs `answer` on the next modal window once it is shown.
template <class F>
void WhenModal(F answer) {
  QTimer::singleShot(0, [answer] {
    QWidget* modal = QApplication::activeModalWidget();
    ASSERT_NE(modal, nullptr);
    answer(modal);
  });
}

TEST_F(MainWindow, PrintSendsTheGraphImage) {
  host.printers = {"Fax", "Office"};
  window.AppendEquation("x", "", 255);
  Graph();
  QString shownPrinter;
  WhenModal([&](QWidget* dialog) {
    QTest::mouseClick(dialog->findChild<QPushButton*>("btnPrint"), Qt::LeftButton);
    dialog->close();
  });
  window.findChild<QAction*>("mnuPrint")->trigger();
  ASSERT_EQ(host.printJobs.size(), 1u);
  EXPECT_EQ(host.printJobs[0].printer, "Office");  // "Fax" is never offered
  EXPECT_EQ(host.printJobs[0].image, Picture());
}

TEST_F(MainWindow, AboutShowsTheVersion) {
  QString texts;
  WhenModal([&](QWidget* dialog) {
    for (QLabel* label : dialog->findChildren<QLabel*>()) texts += label->text() + "\n";
    QTest::mouseClick(dialog->findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
  });
  window.findChild<QAction*>("mnuAbout2")->trigger();
  EXPECT_TRUE(texts.contains(ExpectedVersion())) << texts.toStdString();
}

TEST_F(MainWindow, StatPlotDrawsPairedPointsInRed) {
  window.findChild<QAction*>("mnuTable")->trigger();
  QWidget* table = window.StatisticsWindow();
  ASSERT_NE(table, nullptr);
  EXPECT_TRUE(table->isVisible());
  const auto enter = [&](const char* box, const char* text) {
    auto* edit = table->findChild<QLineEdit*>(box);
    edit->setText(text);
    QTest::keyClick(edit, Qt::Key_Return);
  };
  for (const char* x : {"1", "2", "3"}) enter("txtX", x);
  for (const char* y : {"4", "5"}) enter("txtY", y);
  table->findChild<QCheckBox*>("chkPlot")->setChecked(true);
  Graph();
  // Two pairs, two dots of width 7 (37 pixels each), red over everything.
  EXPECT_EQ(CountColor(qRgb(255, 0, 0)), 2 * 37);
  EXPECT_EQ(CountColor(qRgb(255, 0, 0), QRect(Column(1) - 3, Row(4) - 3, 7, 7)), 37);
  EXPECT_EQ(CountColor(qRgb(255, 0, 0), QRect(Column(2) - 3, Row(5) - 3, 7, 7)), 37);

  table->findChild<QCheckBox*>("chkPlot")->setChecked(false);
  Graph();
  EXPECT_EQ(CountColor(qRgb(255, 0, 0)), 0);
  // Data points are work: closing asks first.
  host.saveAnswers.push_back(SaveChoice::kDiscard);
  window.close();  // the statistics window goes with the main window
  EXPECT_EQ(host.saveQuestions.size(), 1u);
  EXPECT_FALSE(table->isVisible());
}

TEST_F(MainWindow, BuyOpensThePaymentPage) {
  window.findChild<QAction*>("mnuBuy")->trigger();
  ASSERT_EQ(host.openedUrls.size(), 1);
  EXPECT_EQ(host.openedUrls[0], frmMain::kPaymentUrl);
  QTest::mouseClick(Find<QLabel>("imgPay"), Qt::LeftButton);
  EXPECT_EQ(host.openedUrls.size(), 2);
}

}  // namespace
}  // namespace cn
