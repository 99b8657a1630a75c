#include "equations/frm_equ.h"

#include <gtest/gtest.h>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <set>
#include <vector>

#include "equations/frm_inserts.h"
#include "support/find_child.h"
#include "support/scripted_host.h"

namespace cn {
namespace {

struct Row {
  QString expression;
  QString condition;
  std::uint32_t color;
};

// The colours a new row may get, packed red + 256 green + 65536 blue.
const std::set<std::uint32_t> kRowColors = {8388608, 32768, 8421376, 128, 8388736, 16711680, 65280, 16776960, 255};

class EquationDialog : public ::testing::Test {
 protected:
  ScriptedHost host;
  QWidget owner;
  std::vector<Row> rows;
  QPointer<frmEqu> dialog;

  void SetUp() override {
    dialog = new frmEqu(&owner, host, [this](const QString& e, const QString& c, std::uint32_t color) {
      rows.push_back({e, c, color});
    });
    dialog->move(100, 50);
    dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
  }
  void TearDown() override { delete dialog; }

  template <class W>
  W* Find(const char* name) {
    return FindChild<W>(dialog, name);
  }
  QLineEdit* Box(const char* name) { return Find<QLineEdit>(name); }
  void Click(const char* name) { QTest::mouseClick(Find<QAbstractButton>(name), Qt::LeftButton); }
  void Type(const char* box, const QString& text) {
    if (!text.isEmpty()) QTest::keyClicks(Box(box), text);
  }
  // Runs the deletion that closing the dialog scheduled.
  static void Settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
  QColor Fill(const char* frame) { return Find<QGroupBox>(frame)->palette().color(QPalette::Window); }
};

TEST_F(EquationDialog, OpensInTheQuadraticLayout) {
  EXPECT_EQ(dialog->windowTitle(), "Equation");
  EXPECT_EQ(dialog->parentWidget(), &owner);
  EXPECT_FALSE(dialog->isModal());

  auto* cmbLG = Find<QComboBox>("cmbLG");
  QStringList comparisons;
  for (int i = 0; i < cmbLG->count(); ++i) comparisons << cmbLG->itemText(i);
  EXPECT_EQ(comparisons,
            QStringList({"Less Than", "Greater Than", "Less Than or Equal to", "Greater Than or Equal to"}));
  EXPECT_EQ(cmbLG->currentIndex(), 0);
  EXPECT_EQ(Find<QGroupBox>("fraCond")->title(), "  Conditions  ");
  EXPECT_EQ(Box("txtEqu")->toolTip(), "Enter your own equation here.");

  EXPECT_TRUE(Find<QRadioButton>("optQuad")->isChecked());
  EXPECT_FALSE(Find<QGroupBox>("fraLinear")->isEnabled());
  EXPECT_EQ(Fill("fraQuad"), QColor(255, 255, 187));
  EXPECT_EQ(dialog->focusWidget(), Box("txtA"));
  EXPECT_EQ(dialog->Inserts(), nullptr);
  for (const char* box : {"txtA", "txtB", "txtC", "txtM", "txtB2", "txtEqu", "txtIf"})
    EXPECT_EQ(Box(box)->text(), "") << box;
}

TEST_F(EquationDialog, ExactlyOneGroupIsActive) {
  const QColor highlight(255, 255, 187);
  const QColor buttonFace = dialog->palette().color(QPalette::Active, QPalette::Button);
  ASSERT_NE(highlight, buttonFace);
  struct Case {
    const char* option;
    const char* active;
    const char* focus;
    bool insertsOpen;
  };
  const Case cases[] = {
      {"optLinear", "fraLinear", "txtM", false}, {"optCustom", "fraCustom", "txtEqu", true},
      {"optQuad", "fraQuad", "txtA", false},     {"optCustom", "fraCustom", "txtEqu", true},
      {"optLinear", "fraLinear", "txtM", false},
  };
  for (const Case& t : cases) {
    Click(t.option);
    for (const char* frame : {"fraQuad", "fraLinear", "fraCustom"}) {
      const bool active = QString(frame) == t.active;
      EXPECT_EQ(Find<QGroupBox>(frame)->isEnabled(), active) << t.option << " " << frame;
      EXPECT_EQ(Fill(frame), active ? highlight : buttonFace) << t.option << " " << frame;
    }
    EXPECT_EQ(dialog->focusWidget(), Box(t.focus)) << t.option;
    Settle();
    EXPECT_EQ(dialog->Inserts() != nullptr && dialog->Inserts()->isVisible(), t.insertsOpen) << t.option;
  }
}

TEST_F(EquationDialog, OkAppendsTheRowOfEachKind) {
  struct Case {
    const char* option;
    std::vector<std::pair<const char*, QString>> typed;
    QString expression;
    std::vector<std::pair<const char*, QString>> boxesAfter;
  };
  const Case cases[] = {
      {"optQuad", {{"txtA", "1"}, {"txtB", "-4"}, {"txtC", "3"}}, "1x^2 -4x +3", {}},
      {"optQuad", {{"txtC", "5"}}, "0x^2 +0x +5", {{"txtA", "0"}, {"txtB", "0"}, {"txtC", "5"}}},
      {"optQuad", {{"txtA", "1"}, {"txtB", "2*3"}}, "1x^2 +2*3x +0", {{"txtC", "0"}}},
      {"optLinear", {{"txtM", "3"}, {"txtB2", "-1"}}, "3x -1", {}},
      {"optLinear", {{"txtM", "0.5"}, {"txtB2", "-0.5"}}, "0.5x -0.5", {}},
      {"optLinear", {{"txtB2", "7"}}, "0x +7", {{"txtM", "0"}}},
      // Boxes of the other kinds are ignored.
      {"optCustom", {{"txtEqu", "x^3 - 2"}}, "x^3 - 2", {}},
  };
  for (const Case& t : cases) {
    rows.clear();
    if (!dialog) SetUp();
    Click(t.option);
    for (const auto& [box, text] : t.typed) Type(box, text);
    Click("cmdOK");
    ASSERT_EQ(rows.size(), 1u) << t.expression.toStdString();
    EXPECT_EQ(rows[0].expression, t.expression);
    EXPECT_EQ(rows[0].condition, "");
    EXPECT_EQ(kRowColors.count(rows[0].color), 1u) << rows[0].color;
    for (const auto& [box, text] : t.boxesAfter) EXPECT_EQ(Box(box)->text(), text) << box;
    EXPECT_TRUE(host.messages.empty());
    EXPECT_FALSE(dialog->isVisible());
    Settle();
    EXPECT_TRUE(dialog.isNull()) << "the dialog is released when closed";
  }
}

TEST_F(EquationDialog, EmptyInputsAreRefusedAndAddNothing) {
  struct Case {
    const char* option;
    const char* message;
    const char* box;  // typed into after the refusal
    QString expression;
  };
  const Case cases[] = {
      {"optQuad", "You didn't enter anything.", "txtB", "0x^2 +2x +0"},
      {"optLinear", "You didn't enter anything.", "txtM", "2x +0"},
      {"optCustom", "The equation is blank.", "txtEqu", "2"},
  };
  for (const Case& t : cases) {
    rows.clear();
    host.messages.clear();
    if (!dialog) SetUp();
    Click(t.option);
    // Text in another kind's boxes does not count.
    Type(QString(t.option) == "optQuad" ? "txtM" : "txtA", "9");
    Click("cmdOK");
    ASSERT_EQ(host.messages.size(), 1u) << t.option;
    EXPECT_EQ(host.messages[0].text, t.message);
    EXPECT_EQ(host.messages[0].icon, MessageIcon::kError);
    EXPECT_TRUE(rows.empty());
    ASSERT_TRUE(dialog->isVisible());
    for (const char* box : {"txtB", "txtC", "txtB2"}) EXPECT_EQ(Box(box)->text(), "") << "no zeros on refusal";

    Type(t.box, "2");
    Click("cmdOK");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].expression, t.expression);
    EXPECT_EQ(host.messages.size(), 1u);
    Settle();
  }
}

TEST_F(EquationDialog, ConditionFromComparisonAndBound) {
  struct Case {
    int comparison;
    QString bound;
    QString condition;
  };
  // A bound that is no number is refused (empty: no rows, a message),
  // instead of silently dropping the condition.
  const Case cases[] = {
      {0, "3", "x < 3"},
      {1, "3", "x > 3"},
      {2, "-1.5", "x <= -1.5"},
      {3, " 2 ", "x >= 2"},
      {1, "2e1", "x > 2e1"},
      {3, "", ""},
      {0, "abc", "The bound \"abc\" of the condition \"x < abc\" is not a number."},
      {2, "pi", "The bound \"pi\" of the condition \"x < pi\" is not a number."},
  };
  for (const Case& t : cases) {
    rows.clear();
    host.messages.clear();
    if (!dialog) SetUp();
    Type("txtA", "1");
    Find<QComboBox>("cmbLG")->setCurrentIndex(t.comparison);
    Type("txtIf", t.bound);
    Click("cmdOK");
    if (t.condition.startsWith("The bound")) {
      EXPECT_TRUE(rows.empty());
      EXPECT_EQ(host.LastMessage(), t.condition);
      Click("cmdCancel");
      Settle();
      continue;
    }
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].expression, "1x^2 +0x +0");
    EXPECT_EQ(rows[0].condition, t.condition) << t.comparison << " '" << t.bound.toStdString() << "'";
    EXPECT_TRUE(host.messages.empty());
    Settle();
  }
}

TEST_F(EquationDialog, EnterPressesOK) {
  Click("optCustom");
  Type("txtEqu", "x^2");
  QTest::keyClick(Box("txtEqu"), Qt::Key_Return);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].expression, "x^2");
}

// What the engine refuses never reaches the list; the dialog stays open with
// the text as typed and, for Custom, the caret where the engine points.
TEST_F(EquationDialog, EquationsThatCannotPlotAreRefused) {
  const QString longSum = "x" + QString("+x").repeated(5000);
  struct Case {
    const char* option;
    std::vector<std::pair<const char*, QString>> typed;
    QString message;
    int caret;  // in txtEqu; -1 for the coefficient kinds
  };
  const Case cases[] = {
      {"optCustom", {{"txtEqu", "(x+1"}}, "Not enough closing brackets", 0},
      {"optCustom", {{"txtEqu", "  x**2"}}, "missing argument", 4},
      {"optCustom", {{"txtEqu", "2*x)"}}, "Too many closing brackets at pos: 4", 3},
      {"optCustom", {{"txtEqu", "cosx(1)"}}, "Function < cosx > unknown at pos: 1", 0},
      // The position counts characters, not bytes or UTF-16 units.
      {"optCustom", {{"txtEqu", QString::fromUtf8("\xC3\xA9\xF0\x9D\x91\xA5 +)")}}, "", 4},
      {"optCustom", {{"txtEqu", longSum}}, "Too many operations", 0},
      {"optCustom", {{"txtEqu", "x*y"}}, "Unknown name \"y\": an equation's only variable is x.", 2},
      {"optCustom", {{"txtEqu", "2*tanx"}}, "Unknown name \"tanx\": did you mean tan(x)?", 2},
      {"optQuad", {{"txtA", "abc"}}, "Unknown name \"abcx\": an equation's only variable is x.", -1},
      // A letter straight after a bracket: "1x^2 +sqrt(2)x +0".
      {"optQuad", {{"txtA", "1"}, {"txtB", "sqrt(2)"}}, "Syntax error at pos: 14", -1},
      {"optLinear", {{"txtM", "2"}, {"txtB2", "(1"}}, "Not enough closing brackets", -1},
  };
  for (const Case& t : cases) {
    rows.clear();
    host.messages.clear();
    if (!dialog) SetUp();
    Click(t.option);
    for (const auto& [box, text] : t.typed) Box(box)->setText(text);
    Click("cmdOK");
    const std::string name = t.typed[0].second.left(20).toStdString();
    ASSERT_EQ(host.messages.size(), 1u) << name;
    if (!t.message.isEmpty()) {
      EXPECT_EQ(host.messages[0].text, t.message) << name;
    }
    EXPECT_FALSE(host.messages[0].text.isEmpty()) << name;
    EXPECT_EQ(host.messages[0].icon, MessageIcon::kError) << name;
    EXPECT_TRUE(rows.empty()) << name;
    ASSERT_TRUE(dialog->isVisible()) << name;
    for (const auto& [box, text] : t.typed) EXPECT_EQ(Box(box)->text(), text) << name;
    if (t.caret >= 0) {
      EXPECT_EQ(Box("txtEqu")->cursorPosition(), t.caret) << name;
    } else {
      EXPECT_EQ(Box("txtC")->text(), "") << "no zeros on refusal";
    }
    dialog->close();
    Settle();
  }
  // The mended text goes through.
  SetUp();
  Click("optCustom");
  Box("txtEqu")->setText("(x+1");
  Click("cmdOK");
  Box("txtEqu")->setText("(x+1)");
  Click("cmdOK");
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].expression, "(x+1)");
}

TEST_F(EquationDialog, CancelClosesWithoutARow) {
  Click("optCustom");
  Type("txtEqu", "x");
  Click("cmdCancel");
  Settle();
  EXPECT_TRUE(rows.empty());
  EXPECT_TRUE(dialog.isNull());
}

TEST_F(EquationDialog, InsertListBesideTheDialogFeedsTheCustomBox) {
  Click("optCustom");
  frmInserts* inserts = dialog->Inserts();
  ASSERT_NE(inserts, nullptr);
  EXPECT_TRUE(inserts->isVisible());
  EXPECT_EQ(inserts->windowTitle(), "Inserts");
  EXPECT_EQ(inserts->parentWidget(), dialog.data());
  // Top with the dialog's top, left edge at the dialog's right edge.
  EXPECT_EQ(inserts->frameGeometry().topLeft(), QPoint(100 + dialog->frameGeometry().width(), 50));

  auto* lstIns = inserts->findChild<QListWidget*>("lstIns");
  ASSERT_NE(lstIns, nullptr);
  const auto choose = [lstIns](int row) {
    QListWidgetItem* item = lstIns->item(row);
    lstIns->scrollToItem(item);
    QTest::mouseClick(lstIns->viewport(), Qt::LeftButton, {}, lstIns->visualItemRect(item).center());
  };
  Type("txtEqu", "2*");
  choose(3);  // "sin( - Sine"
  EXPECT_EQ(Box("txtEqu")->text(), "2*sin(");
  choose(0);   // "abs( - Absolute Value"
  choose(0);   // chosen again: appended again
  choose(38);  // "pi# - PI"
  EXPECT_EQ(Box("txtEqu")->text(), "2*sin(abs(abs(pi#");

  // Linear closes the list; Custom brings back a fresh one.
  QPointer<frmInserts> first = inserts;
  Click("optLinear");
  Settle();
  EXPECT_TRUE(first.isNull());
  EXPECT_EQ(dialog->Inserts(), nullptr);
  Click("optCustom");
  ASSERT_NE(dialog->Inserts(), nullptr);
  auto* fresh = dialog->Inserts()->findChild<QListWidget*>("lstIns");
  EXPECT_EQ(fresh->count(), 42);
  EXPECT_EQ(fresh->currentItem(), nullptr);

  // The list goes with the dialog.
  QPointer<frmInserts> second = dialog->Inserts();
  Click("cmdCancel");
  Settle();
  EXPECT_TRUE(second.isNull());
}

}  // namespace
}  // namespace cn
