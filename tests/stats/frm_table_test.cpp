// The statistics window driven through its real widgets offscreen; dialogs
// and messages are answered by the scripted host.
#include "stats/frm_table.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include "support/list_view.h"
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <functional>

#include <vector>

#include "controls/open_save_dialog.h"
#include "workspace/model/workspace_session.h"
#include "support/find_child.h"
#include "support/scripted_host.h"

namespace cn {
namespace {

struct Row {
  QString expression;
  QString condition;
  std::uint32_t color;
};

class StatTable : public ::testing::Test {
 protected:
  ScriptedHost host;
  WorkspaceSession session;  // outlives the window
  std::vector<Row> rows;
  std::uint32_t nextColor = 100;
  QPointer<frmTable> table;
  QTemporaryDir dir;

  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    table = new frmTable(
        host, session,
        [this](const QString& e, const QString& c, std::uint32_t color) {
          rows.push_back({e, c, color});
        },
        [this] { return nextColor++; });
    table->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(table));
  }
  void TearDown() override { delete table; }

  template <class W>
  W* Find(const char* name) {
    return FindChild<W>(table, name);
  }
  QListView* List(const char* name) { return Find<QListView>(name); }
  QStringList Texts(const char* list) {
    return RowTexts(List(list));
  }
  void Enter(const char* box, const QString& text) {
    QLineEdit* edit = Find<QLineEdit>(box);
    if (!text.isEmpty()) QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
  }
  void EnterPoints(const QStringList& xs, const QStringList& ys) {
    for (const QString& x : xs) Enter("txtX", x);
    for (const QString& y : ys) Enter("txtY", y);
  }
  void Click(const char* name) { QTest::mouseClick(Find<QAbstractButton>(name), Qt::LeftButton); }
  void ClickRow(const char* list, int row, Qt::MouseButton button = Qt::LeftButton) {
    ClickViewRow(List(list), row, button);
  }
  // Gen Equation, then the pop-up's item.
  QString Generate(const char* item) {
    Click("btnGen");
    QMenu* menu = Find<QMenu>("mnuMain");
    EXPECT_TRUE(menu->isVisible());
    QAction* action = Find<QAction>(item);
    action->trigger();
    menu->hide();
    return Find<QLineEdit>("txtEqu")->text();
  }
  void Trigger(const char* action) { Find<QAction>(action)->trigger(); }
  QString Path(const char* name) { return dir.filePath(name); }
  QByteArray ReadFile(const QString& path) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    return f.readAll();
  }
  void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
  }
  void Open(const QString& path) {
    host.fileAnswers.push_back(path);
    Trigger("mnuOpen");
  }
  void Save(const QString& path) {
    host.fileAnswers.push_back(path);
    Trigger("mnuSave");
  }
};

TEST_F(StatTable, CaptionsAndTips) {
  EXPECT_EQ(table->windowTitle(), "Table");
  EXPECT_EQ(table->parentWidget(), nullptr);
  EXPECT_FALSE(table->isModal());
  EXPECT_EQ(Find<QGroupBox>("fraPoint")->title(), "Add points here");
  EXPECT_EQ(Find<QGroupBox>("fraOut")->title(), "Generated Equation");
  const QString listTip = "Right-click or delete to remove. Add by typing in box below and press enter.";
  EXPECT_EQ(List("lstX")->toolTip(), listTip);
  EXPECT_EQ(List("lstY")->toolTip(), listTip);
  EXPECT_EQ(Find<QLineEdit>("txtX")->toolTip(), "Press enter to add X value to table.");
  EXPECT_EQ(Find<QLineEdit>("txtY")->toolTip(), "Press enter to add Y value to table.");
  EXPECT_EQ(Find<QLabel>("lblHint")->text(),
            "Type numbers in the boxes below and press enter to add them to the list.");
  EXPECT_EQ(Find<QPushButton>("btnClear")->text(), "Clear");
  EXPECT_EQ(Find<QCheckBox>("chkPlot")->text(), "Show Stat Plot");
  EXPECT_EQ(Find<QCheckBox>("chkPlot")->toolTip(), "Press graph again to see it.");
  EXPECT_FALSE(Find<QCheckBox>("chkPlot")->isChecked());
  EXPECT_EQ(Find<QPushButton>("btnGen")->text(), "Gen Equation");
  EXPECT_EQ(Find<QPushButton>("btnAdd")->text(), "Add Equation");
  EXPECT_EQ(Find<QPushButton>("btnAdd")->toolTip(), "Add the genned equation to your list for graph.");
  EXPECT_TRUE(Find<QLineEdit>("txtEqu")->isReadOnly());
  EXPECT_EQ(Find<QPushButton>("btnOK")->text(), "OK");

  QMenuBar* bar = Find<QMenuBar>("menuBar");
  ASSERT_EQ(bar->actions().size(), 1);  // the pop-up menu is not in the bar
  EXPECT_EQ(Find<QMenu>("mnuFile")->title(), "File");
  EXPECT_EQ(Find<QAction>("mnuOpen")->text(), "Open");
  EXPECT_EQ(Find<QAction>("mnuSave")->text(), "Save");
  EXPECT_EQ(Find<QMenu>("mnuMain")->title(), "hidden");
  EXPECT_EQ(Find<QAction>("mnuLinear")->text(), "Linear Equation");
  EXPECT_EQ(Find<QAction>("mnuQuad")->text(), "Quadratic Equation");
}

TEST_F(StatTable, EnterAddsOnlyNumbers) {
  struct Case {
    const char* typed;
    bool added;
  };
  int expectedRows = 0;
  for (const Case& c : {Case{"1.5", true}, Case{" -2e3 ", true}, Case{"+.5", true}, Case{"7E-02", true},
                        Case{"abc", false}, Case{"", false}, Case{"1,5", false}, Case{"1e", false}, Case{"--1", false},
                        Case{"1e400", false}, Case{"2x", false}}) {
    QLineEdit* txtX = Find<QLineEdit>("txtX");
    txtX->clear();
    Enter("txtX", c.typed);
    if (c.added) ++expectedRows;
    ASSERT_EQ(RowCount(List("lstX")), expectedRows) << c.typed;
    if (c.added) {
      EXPECT_EQ(RowText(List("lstX"), expectedRows - 1), c.typed);  // kept as typed
      EXPECT_EQ(CurrentRow(List("lstX")), expectedRows - 1);
      EXPECT_TRUE(txtX->text().isEmpty());
    } else {
      EXPECT_EQ(txtX->text(), c.typed);
    }
  }
  EXPECT_EQ(RowCount(List("lstY")), 0);
  Enter("txtY", "4");
  EXPECT_EQ(Texts("lstY"), QStringList{"4"});
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(StatTable, RemovingARowShiftsThePairing) {
  EnterPoints({"1", "2", "3"}, {"10", "20", "30"});
  ClickRow("lstX", 0);
  QTest::keyClick(List("lstX"), Qt::Key_Delete);
  EXPECT_EQ(Texts("lstX"), QStringList({"2", "3"}));
  EXPECT_EQ(Texts("lstY"), QStringList({"10", "20", "30"}));
  // Old X row 1 now pairs with Y row 0.
  EXPECT_EQ(table->StatPoints(), (std::vector<std::pair<float, float>>{{2, 10}, {3, 20}}));

  // The removal left nothing selected: another Delete removes nothing.
  QTest::keyClick(List("lstX"), Qt::Key_Delete);
  EXPECT_EQ(RowCount(List("lstX")), 2);

  // A right press removes the row selected before, not the one under the pointer.
  ClickRow("lstY", 2);
  ClickRow("lstY", 0, Qt::RightButton);
  EXPECT_EQ(Texts("lstY"), QStringList({"10", "20"}));
  ClickRow("lstY", 1);
  ClickRow("lstY", 0, Qt::MiddleButton);
  EXPECT_EQ(Texts("lstY"), QStringList({"10"}));
  ClickRow("lstY", 0, Qt::RightButton);  // nothing selected
  EXPECT_EQ(Texts("lstY"), QStringList({"10"}));
  EXPECT_EQ(Texts("lstX"), QStringList({"2", "3"}));
}

TEST_F(StatTable, FitsAndTheirTexts) {
  struct Case {
    QStringList xs, ys;
    const char* linear;
    const char* quadratic;
  };
  const std::vector<Case> cases = {
      {{"0", "1", "2"}, {"1", "3", "5"}, "2x + 1", "0x^2 + 2x + 1"},
      {{"1", "2", "3", "4"}, {"2", "3", "5", "4"}, "0.8x + 1.5", "-0.5x^2 + 3.3x -1"},
      {{"0", "1", "2"}, {"3", "6", "11"}, "4x + 2.667", "1x^2 + 2x + 3"},
      {{"0", "1", "2"}, {"-1", "-2", "1"}, "1x -1.667", "2x^2 -3x -1"},
      {{"3"}, {"7"}, "0x + 7", "0x^2 + 0x + 7"},
      {{}, {}, "0x + 0", "0x^2 + 0x + 0"},
      {{"0", "1"}, {"0", "2"}, "2x + 0", "0x^2 + 2x + 0"},
      // Only the paired rows count: the third X has no Y.
      {{"0", "1", "9"}, {"1", "3"}, "2x + 1", "0x^2 + 2x + 1"},
      // An intercept that rounds to zero, from either side, shows "+ 0".
      {{"0", "1"}, {"0.0004", "2.0004"}, "2x + 0", "0x^2 + 2x + 0"},
      {{"0", "1"}, {"-0.0004", "1.9996"}, "2x + 0", "0x^2 + 2x + 0"},
      // A slope of 0.0125 rounds half to even.
      {{"0", "1"}, {"0", "0.0125"}, "0.012x + 0", "0x^2 + 0.012x + 0"},
  };
  for (const Case& c : cases) {
    Click("btnClear");
    EnterPoints(c.xs, c.ys);
    EXPECT_EQ(Generate("mnuLinear"), c.linear) << c.xs.join(",").toStdString();
    EXPECT_EQ(Generate("mnuQuad"), c.quadratic) << c.xs.join(",").toStdString();
  }
  EXPECT_TRUE(host.messages.empty());
  // R² of the fit shown beside it: 1 for points on the parabola.
  Click("btnClear");
  EXPECT_TRUE(Find<QLabel>("lblR2")->text().isEmpty());
  EnterPoints({"0", "1", "2", "3"}, {"3", "6", "11", "18"});
  Generate("mnuQuad");
  EXPECT_EQ(Find<QLabel>("lblR2")->text(), "R² = 1.0000");
}

TEST_F(StatTable, AFitThatOverflowsSaysSo) {
  EnterPoints({"1e100", "1"}, {"1", "2"});  // x^4 of a parabola overflows
  Find<QLineEdit>("txtEqu")->setText("before");
  Generate("mnuQuad");
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, "Overflow");
  EXPECT_EQ(host.messages[0].icon, MessageIcon::kError);
  EXPECT_EQ(Find<QLineEdit>("txtEqu")->text(), "before");
}

TEST_F(StatTable, AddEquationAppendsRowsWithTheirOwnColours) {
  Click("btnAdd");
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, "The equation is blank. Fill in the lists and press Gen Equation.");
  EXPECT_EQ(host.messages[0].icon, MessageIcon::kError);
  EXPECT_TRUE(rows.empty());

  EnterPoints({"0", "1", "2"}, {"1", "3", "5"});
  Generate("mnuLinear");
  Click("btnAdd");
  Click("btnAdd");
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].expression, "2x + 1");
  EXPECT_EQ(rows[0].condition, "");
  EXPECT_EQ(rows[0].color, 100u);
  EXPECT_EQ(rows[1].color, 101u);
  EXPECT_TRUE(table->isVisible());
  EXPECT_EQ(Texts("lstX").size(), 3);
}

TEST_F(StatTable, OkHidesAndKeepsTheDataClearEmpties) {
  EnterPoints({"1", "2"}, {"3"});
  Generate("mnuLinear");
  QTest::mouseClick(Find<QCheckBox>("chkPlot"), Qt::LeftButton);
  EXPECT_TRUE(table->StatPlotShown());
  Click("btnOK");
  EXPECT_FALSE(table->isVisible());
  ASSERT_FALSE(table.isNull());
  table->show();
  EXPECT_EQ(table->PointsX(), QStringList({"1", "2"}));
  EXPECT_EQ(table->PointsY(), QStringList({"3"}));
  EXPECT_EQ(table->StatPoints(), (std::vector<std::pair<float, float>>{{1, 3}}));
  EXPECT_EQ(Find<QLineEdit>("txtEqu")->text(), "0x + 3");
  EXPECT_TRUE(table->StatPlotShown());

  Click("btnClear");
  EXPECT_EQ(RowCount(List("lstX")), 0);
  EXPECT_EQ(RowCount(List("lstY")), 0);
  EXPECT_TRUE(Find<QLineEdit>("txtEqu")->text().isEmpty());

  // The title bar's close discards the window and its data.
  table->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(table.isNull());
}

TEST_F(StatTable, SaveAndReopen) {
  EnterPoints({"0.1", "2", "3.14159265"}, {"2", "-1.5e3"});
  Save(Path("points"));
  ASSERT_EQ(host.fileDialogs.size(), 1u);
  EXPECT_EQ(host.fileDialogs[0].kind, ScriptedHost::FileDialogKind::kSave);
  EXPECT_EQ(host.fileDialogs[0].title, "Save Data File");
  EXPECT_EQ(host.fileDialogs[0].filter, "Data File (*.txt)");
  // Only the paired rows, exactly as they read, each line ended by CR LF.
  EXPECT_EQ(ReadFile(Path("points.txt")), QByteArray("0.1 2\r\n2 -1.5e3\r\n"));

  Click("btnClear");
  Open(Path("points.txt"));
  EXPECT_EQ(host.fileDialogs.back().kind, ScriptedHost::FileDialogKind::kOpen);
  EXPECT_EQ(host.fileDialogs.back().title, "Open Data File");
  EXPECT_EQ(table->comdlg().Flags(), 4);
  EXPECT_EQ(Texts("lstX"), QStringList({"0.1", "2"}));
  EXPECT_EQ(Texts("lstY"), QStringList({"2", "-1.5e3"}));
  EXPECT_EQ(CurrentRow(List("lstX")), 1);
  EXPECT_EQ(CurrentRow(List("lstY")), 1);
  EXPECT_TRUE(host.messages.empty());

  // Loading keeps every digit, so opening and saving loses nothing.
  Click("btnClear");
  EnterPoints({"3.14159265"}, {"1"});
  Save(Path("pi.txt"));  // the extension is not doubled
  EXPECT_FALSE(QFile::exists(Path("pi.txt.txt")));
  Open(Path("pi.txt"));
  EXPECT_EQ(Texts("lstX"), QStringList({"3.14159265"}));
  const QByteArray precise("1.23456789 2000000.000001\r\n1e39 -4.5E-300\r\n");
  WriteFile(Path("precise.txt"), "  1.23456789\t2000000.000001  \n1e39 -4.5E-300\n");
  Open(Path("precise.txt"));
  EXPECT_EQ(Texts("lstX"), QStringList({"1.23456789", "1e39"}));
  Save(Path("precise2"));
  EXPECT_EQ(ReadFile(Path("precise2.txt")), precise);

  Save(Path("upper.TXT"));  // only ".txt" exactly counts as the extension
  EXPECT_TRUE(QFile::exists(Path("upper.TXT.txt")));

  // A save over an existing file replaces it.
  Click("btnClear");
  EnterPoints({"5"}, {"6"});
  Save(Path("pi"));
  EXPECT_EQ(ReadFile(Path("pi.txt")), QByteArray("5 6\r\n"));
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(StatTable, ReadingAcceptsLineEndsBlanksAndTabs) {
  WriteFile(Path("loose.txt"), "1\t2\r\n\r\n  3   4  extra\n\t\n5 6");
  Open(Path("loose.txt"));
  EXPECT_TRUE(host.messages.empty()) << host.LastMessage().toStdString();
  EXPECT_EQ(Texts("lstX"), QStringList({"1", "3", "5"}));
  EXPECT_EQ(Texts("lstY"), QStringList({"2", "4", "6"}));
}

TEST_F(StatTable, MalformedFilesChangeNothing) {
  struct Case {
    const char* bytes;
    const char* message;  // with %1 for the path
  };
  const std::vector<Case> cases = {
      {"1 2\r\n3\r\n", "Line 2 of the file \"%1\" does not start with two numbers. Nothing was loaded."},
      {"1 2\nabc 4\n", "Line 2 of the file \"%1\" does not start with two numbers. Nothing was loaded."},
      {"\n\n1 x\n", "Line 3 of the file \"%1\" does not start with two numbers. Nothing was loaded."},
      {"1,5 2\n", "Line 1 of the file \"%1\" does not start with two numbers. Nothing was loaded."},
      {"1 1e309\n", "Line 1 of the file \"%1\" does not start with two numbers. Nothing was loaded."},
      {"", "The file \"%1\" holds no data points. Nothing was loaded."},
      {"\r\n  \n", "The file \"%1\" holds no data points. Nothing was loaded."},
  };
  EnterPoints({"7", "8"}, {"9"});
  for (const Case& c : cases) {
    const QString path = Path("bad.txt");
    WriteFile(path, c.bytes);
    host.messages.clear();
    Open(path);
    ASSERT_EQ(host.messages.size(), 1u) << c.bytes;
    EXPECT_EQ(host.messages[0].text, QString(c.message).arg(path)) << c.bytes;
    EXPECT_EQ(host.messages[0].icon, MessageIcon::kError);
    EXPECT_EQ(Texts("lstX"), QStringList({"7", "8"})) << c.bytes;
    EXPECT_EQ(Texts("lstY"), QStringList({"9"})) << c.bytes;
  }
  host.messages.clear();
  Open(Path("missing.txt"));
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_TRUE(
      host.messages[0].text.startsWith(QString("The file \"%1\" could not be opened").arg(Path("missing.txt"))));
  EXPECT_EQ(Texts("lstX"), QStringList({"7", "8"}));
  // A device is refused before it is read: /dev/zero would never end.
  host.messages.clear();
  Open("/dev/zero");
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text,
            "The file \"/dev/zero\" could not be opened: it is not a plain file. Nothing was loaded.");
  EXPECT_EQ(Texts("lstX"), QStringList({"7", "8"}));
}

TEST_F(StatTable, CancelledDialogsAndFailedSaves) {
  EnterPoints({"1"}, {"2"});
  Trigger("mnuOpen");  // the empty answer queue cancels
  Trigger("mnuSave");
  EXPECT_EQ(host.fileDialogs.size(), 2u);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(Texts("lstX"), QStringList({"1"}));
  EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());

  const QString target = Path("no/such/folder/points");
  Save(target);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_TRUE(host.messages[0].text.startsWith(QString("The file \"%1.txt\" could not be saved: ").arg(target)))
      << host.messages[0].text.toStdString();
  EXPECT_EQ(host.messages[0].icon, MessageIcon::kError);
}

TEST_F(StatTable, ASaveThatFailsHalfwayLeavesTheOldFile) {
  const QString path = Path("points.txt");
  WriteFile(path, "1 2\r\n");
  EnterPoints({"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}, {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"});

  // A file size limit makes the write fail after a few bytes, like a full
  // disk, and holds for root too; its signal is ignored so write() reports it.
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  rlimit small = saved;
  small.rlim_cur = 16;
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  Save(path);
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);

  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, QString("The file \"%1\" could not be saved: File too large. Any earlier file of "
                                           "that name is unchanged.")
                                       .arg(path));
  EXPECT_EQ(ReadFile(path), QByteArray("1 2\r\n"));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"points.txt"});
}

TEST_F(StatTable, EveryChangeIsReported) {
  QSignalSpy changed(table.data(), &frmTable::Changed);
  struct Step {
    const char* name;
    std::function<void()> act;
  };
  const std::vector<Step> steps = {
      {"an X value entered", [&] { Enter("txtX", "1"); }},
      {"a Y value entered", [&] { Enter("txtY", "2"); }},
      {"Show Stat Plot ticked", [&] { Click("chkPlot"); }},
      {"a row removed with a right click", [&] { ClickRow("lstX", 0, Qt::RightButton); }},
      {"Clear", [&] { Click("btnClear"); }},
      {"a data file opened",
       [&] {
         WriteFile(Path("d.txt"), "3 4\r\n");
         Open(Path("d.txt"));
       }},
  };
  for (const Step& step : steps) {
    changed.clear();
    step.act();
    EXPECT_GE(changed.count(), 1) << step.name;
  }
  changed.clear();
  Trigger("mnuSave");  // cancelled: nothing changes
  Click("btnOK");
  EXPECT_EQ(changed.count(), 0);
}

TEST_F(StatTable, TheWindowShowsTheSession) {
  EnterPoints({"9"}, {"9", "8"});
  EXPECT_EQ(session.PointsY(), (std::vector<std::string>{"9", "8"}));
  QSignalSpy changed(table.data(), &frmTable::Changed);
  WorkspaceDocument opened;
  opened.statX = {"1", "2.5", "abc"};
  opened.statY = {"4"};
  opened.showStatPlot = true;
  session.Apply(opened);
  EXPECT_EQ(changed.count(), 1);
  EXPECT_EQ(Texts("lstX"), (QStringList{"1", "2.5", "abc"}));
  EXPECT_EQ(Texts("lstY"), QStringList{"4"});
  EXPECT_TRUE(Find<QCheckBox>("chkPlot")->isChecked());
  EXPECT_EQ(table->PointsX(), (QStringList{"1", "2.5", "abc"}));
  EXPECT_TRUE(table->StatPlotShown());
  // The stat plot pairs the rows up to the shorter list.
  ASSERT_EQ(table->StatPoints().size(), 1u);
  EXPECT_EQ(table->StatPoints()[0], (std::pair<float, float>{1.0f, 4.0f}));

  session.Apply(WorkspaceDocument{});
  EXPECT_TRUE(Texts("lstX").isEmpty());
  EXPECT_TRUE(Texts("lstY").isEmpty());
  EXPECT_FALSE(Find<QCheckBox>("chkPlot")->isChecked());

  // Closing by the title bar discards the points; OK only hides.
  EnterPoints({"1"}, {"2"});
  Find<QCheckBox>("chkPlot")->setChecked(true);
  Click("btnOK");
  EXPECT_EQ(session.PointsX().size(), 1u);
  EXPECT_TRUE(session.StatPlotShown());
  table->show();
  table->close();
  EXPECT_TRUE(session.PointsX().empty());
  EXPECT_FALSE(session.StatPlotShown());
}

}  // namespace
}  // namespace cn
