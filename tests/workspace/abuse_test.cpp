// What a careless or hostile person might type or open, in every text box of
// every window: the program must answer with its messages and keep running.
// Each round types one text, presses the buttons and tools that read it and
// checks that the answer is the one the readers promise, then that the window
// still works with ordinary input.

#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QListView>
#include "support/list_view.h"
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <string>

#include "analysis/tools.h"
#include "support/scripted_host.h"
#include "support/wait_idle.h"
#include "workspace/frm_io.h"
#include "workspace/frm_main.h"
#include "workspace/model/graph_window.h"
#include "workspace/model/workspace_document.h"

namespace cn {
namespace {

// The texts: empty, 10,000 characters, control characters, right-to-left and
// astral-plane Unicode, and numbers at and past the readers' limits.
QStringList HostileTexts() {
  return {
      "",
      QString("1234567890").repeated(1000),
      QString("x^2+").repeated(2499) + "1.5",
      QString::fromUtf8("\x01\x02\t\x1b\x7f\r\n5"),
      QString::fromUtf8("\u202E-5\u05D0\u0627\u200F3"),
      QString::fromUtf8("\U0001D7D9\U0001D7D8\U0001F600x"),
      "1e999",
      "-0",
      "nan",
      "&HFFFFFFFF",
      "99999",
      QString::fromUtf8("\xEF\xBB\xBF-3"),
  };
}

class Abuse : public ::testing::Test {
 protected:
  ScriptedHost host;
  QTemporaryDir dir;
  QSettings settings{dir.filePath("settings.ini"), QSettings::IniFormat};
  frmMain window{host, nullptr, &settings};

  void SetUp() override {
    window.show();
    window.AppendEquation("x^2", "", 255);
    window.AppendEquation("x - 1", "", 0xFF00);
  }

  template <class W>
  W* Find(QObject* parent, const char* name) {
    W* w = parent->findChild<W*>(name);
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  QLineEdit* Box(QObject* parent, const char* name) { return Find<QLineEdit>(parent, name); }
  // Types the text; what the keyboard cannot type (control characters, other
  // scripts, long texts) arrives the way a paste brings it.
  void Put(QLineEdit* box, const QString& text) {
    box->clear();
    bool typable = text.size() <= 64;
    for (const QChar c : text) typable = typable && c.unicode() >= 0x20 && c.unicode() < 0x7F;
    if (typable) QTest::keyClicks(box, text);
    if (box->text() != text) box->setText(text);
  }
  // Each command starts on a settled window and has ended when it returns.
  void Click(QObject* parent, const char* name) {
    EXPECT_TRUE(WaitIdle(window));
    QTest::mouseClick(Find<QAbstractButton>(parent, name), Qt::LeftButton);
    EXPECT_TRUE(WaitIdle(window));
    for (frmIO* table : window.findChildren<frmIO*>()) {
      if (!table->Searching()) continue;
      QSignalSpy ended(table, &frmIO::SearchEnded);
      EXPECT_TRUE(ended.wait(60000));
    }
  }
  void Trigger(QObject* parent, const char* name) {
    EXPECT_TRUE(WaitIdle(window));
    Find<QAction>(parent, name)->trigger();
    EXPECT_TRUE(WaitIdle(window));
  }
  void SelectRow(int row) { SetCurrentRow(Find<QListView>(&window, "lstEqu"), row); }

  // The main window still answers: the standard window graphs without a word.
  void ExpectMainWindowWorks() {
    const char* names[6] = {"txtXMin", "txtXMax", "txtYMin", "txtYMax", "txtYStep", "txtXStep"};
    const char* texts[6] = {"-10", "10", "-10", "10", "1", "1"};
    for (int i = 0; i < 6; ++i) Put(Box(&window, names[i]), texts[i]);
    const std::size_t before = host.messages.size();
    Click(&window, "btnGraph");
    EXPECT_EQ(host.messages.size(), before) << host.LastMessage().toStdString();
    EXPECT_TRUE(window.isVisible());
  }
  QString Path(const char* name) { return dir.filePath(name); }
  void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
  }
};

TEST_F(Abuse, GraphWindowBoxes) {
  const char* names[6] = {"txtXMin", "txtXMax", "txtYMin", "txtYMax", "txtYStep", "txtXStep"};
  for (int i = 0; i < 6; ++i) {
    QStringList texts = HostileTexts();
    // Steps no axis can tick: finer than the singles, wider than the window,
    // backwards, and the smallest single of all.
    if (i >= 4)
      texts << "2e-6"
            << "1e30"
            << "-1"
            << "1e-45";
    for (const QString& text : texts) {
      SCOPED_TRACE(testing::Message() << names[i] << " = " << text.left(40).toStdString());
      ExpectMainWindowWorks();
      Put(Box(&window, names[i]), text);
      std::string typed[6];
      for (int k = 0; k < 6; ++k) typed[k] = Box(&window, names[k])->text().toStdString();
      const WindowReading reading = ReadGraphWindow({typed[0], typed[1], typed[2], typed[3], typed[4], typed[5]});
      const std::size_t before = host.messages.size();
      Click(&window, "btnGraph");
      if (reading.window) {
        EXPECT_EQ(host.messages.size(), before) << host.LastMessage().toStdString();
      } else {
        ASSERT_EQ(host.messages.size(), before + 1);
        EXPECT_EQ(host.LastMessage().toStdString(), reading.error);
      }
      // Enter in the box graphs too.
      QTest::keyClick(Box(&window, names[i]), Qt::Key_Return);
      EXPECT_EQ(host.messages.size(), before + (reading.window ? 0 : 2));
    }
  }
  ExpectMainWindowWorks();
}

TEST_F(Abuse, ToolBoxesAndBounds) {
  ExpectMainWindowWorks();
  QPlainTextEdit* log = Find<QPlainTextEdit>(&window, "txtInfo");
  for (const QString& text : HostileTexts()) {
    SCOPED_TRACE(text.left(40).toStdString());
    SelectRow(0);
    // Get Y: a number in txtY, whatever x was typed.
    Put(Box(&window, "txtX"), text);
    Click(&window, "cmdY");
    EXPECT_FALSE(Box(&window, "txtY")->text().isEmpty());
    // Get X: either the x values or "Out of range.".
    Put(Box(&window, "txtY"), text);
    std::size_t before = host.messages.size();
    Click(&window, "cmdX");
    if (host.messages.size() > before) {
      EXPECT_EQ(host.LastMessage(), "Out of range.");
    }
    // Domain and Range write a line each.
    const int lines = log->blockCount();
    Trigger(&window, "mnuDomain");
    Trigger(&window, "mnuRange");
    EXPECT_GT(log->blockCount(), lines);
    // Minimum and Maximum read their bounds from input boxes: refused with
    // the bound's message, or answered in the log.
    for (const char* tool : {"mnuMin", "mnuMax"}) {
      const std::optional<std::int16_t> left = BoundFromText(text.toStdString());
      host.inputAnswers = {text, QString("3")};
      before = host.messages.size();
      const QString logBefore = log->toPlainText();
      Trigger(&window, tool);
      if (left) {
        EXPECT_EQ(host.messages.size(), before) << host.LastMessage().toStdString();
        EXPECT_NE(log->toPlainText(), logBefore);
      } else {
        ASSERT_EQ(host.messages.size(), before + 1);
        EXPECT_EQ(host.LastMessage(), "The left bound must lie between -32768 and 32767.");
      }
      host.inputAnswers = {QString("-3"), text};
      before = host.messages.size();
      Trigger(&window, tool);
      EXPECT_EQ(host.messages.size(), before + (left ? 0 : 1));
      host.inputAnswers.clear();
    }
  }
  // Intersect: the dialog lists the equations and answers.
  Trigger(&window, "mnuInt");
  ExpectMainWindowWorks();
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->objectName() == "frmIntSelect") delete w;
}

TEST_F(Abuse, TableOfValuesBoxes) {
  ExpectMainWindowWorks();
  SelectRow(0);
  Click(&window, "btnViewTable");
  frmIO* table = nullptr;
  for (frmIO* d : window.findChildren<frmIO*>())
    if (d->isVisible()) table = d;
  ASSERT_NE(table, nullptr);
  QAbstractItemModel* rows = Find<QListView>(table, "lstIO")->model();
  EXPECT_EQ(rows->rowCount(), 21);  // -10..10 by 1
  const char* names[3] = {"txtStart", "txtStop", "txtStep"};
  const char* plain[3] = {"0", "2", "0.5"};
  for (int i = 0; i < 3; ++i) {
    for (const QString& text : HostileTexts()) {
      SCOPED_TRACE(testing::Message() << names[i] << " = " << text.left(40).toStdString());
      for (int k = 0; k < 3; ++k) Put(Box(table, names[k]), plain[k]);
      Put(Box(table, names[i]), text);
      const ValueTable expected =
          TableOfValues("x^2", Box(table, "txtStart")->text().toStdString(),
                        Box(table, "txtStop")->text().toStdString(), Box(table, "txtStep")->text().toStdString());
      const std::size_t before = host.messages.size();
      Click(table, "btnGo");
      if (expected.error.empty()) {
        EXPECT_EQ(host.messages.size(), before);
        EXPECT_EQ(rows->rowCount(), static_cast<int>(expected.rows.size()));
      } else {
        ASSERT_EQ(host.messages.size(), before + 1);
        EXPECT_EQ(host.LastMessage().toStdString(), expected.error);
        EXPECT_EQ(rows->rowCount(), 0);
      }
    }
  }
  for (int k = 0; k < 3; ++k) Put(Box(table, names[k]), plain[k]);
  Click(table, "btnGo");
  EXPECT_EQ(rows->rowCount(), 5);
  table->close();
}

TEST_F(Abuse, EquationDialogBoxes) {
  struct Kind {
    const char* option;
    std::vector<const char*> boxes;
  };
  const Kind kinds[] = {
      {"optQuad", {"txtA", "txtB", "txtC"}}, {"optLinear", {"txtM", "txtB2"}}, {"optCustom", {"txtEqu"}}};
  QListView* list = Find<QListView>(&window, "lstEqu");
  for (const Kind& kind : kinds) {
    for (const char* box : kind.boxes) {
      for (const QString& text : HostileTexts()) {
        SCOPED_TRACE(testing::Message() << box << " = " << text.left(40).toStdString());
        Click(&window, "btnAdd");
        QPointer<QWidget> dialog = window.findChild<QWidget*>("frmEqu");
        ASSERT_TRUE(dialog && dialog->isVisible());
        Click(dialog, kind.option);
        for (const char* other : kind.boxes) Put(Box(dialog, other), "1");
        Put(Box(dialog, box), text);
        Put(Box(dialog, "txtIf"), text);
        const int rowsBefore = RowCount(list);
        const std::size_t before = host.messages.size();
        Click(dialog, "cmdOK");
        // Refused with a message and the dialog still open, or one row added.
        if (host.messages.size() > before) {
          EXPECT_EQ(host.messages.size(), before + 1);
          EXPECT_FALSE(host.LastMessage().isEmpty());
          EXPECT_EQ(RowCount(list), rowsBefore);
          EXPECT_TRUE(dialog->isVisible());
          Click(dialog, "cmdCancel");
        } else {
          EXPECT_EQ(RowCount(list), rowsBefore + 1);
        }
        QApplication::processEvents();
      }
    }
  }
  // Every equation accepted can be graphed and measured without a fault; a
  // wide window is kept out, so the rows are graphed on the standard one.
  ExpectMainWindowWorks();
  for (int row = 0; row < RowCount(list); ++row) {
    SelectRow(row);
    Trigger(&window, "mnuDomain");
  }
  ExpectMainWindowWorks();
}

TEST_F(Abuse, StatisticsEntriesAndFiles) {
  Trigger(&window, "mnuTable");
  QWidget* stats = window.StatisticsWindow();
  ASSERT_NE(stats, nullptr);
  QListView* xs = Find<QListView>(stats, "lstX");
  for (const char* box : {"txtX", "txtY"}) {
    for (const QString& text : HostileTexts()) {
      SCOPED_TRACE(testing::Message() << box << " = " << text.left(40).toStdString());
      QLineEdit* edit = Box(stats, box);
      Put(edit, text);
      QTest::keyClick(edit, Qt::Key_Return);
      // Taken into the list (the box empties) or left in the box.
      EXPECT_TRUE(edit->text().isEmpty() || edit->text() == text);
    }
  }
  EXPECT_TRUE(host.messages.empty());
  // Malformed data files, opened one after the other: refused with the
  // line that is wrong (0: the file holds no points), or read.
  struct File {
    QByteArray bytes;
    int badLine;
    int rows;
  };
  const File files[] = {
      {QByteArray(), 0, 0},
      {QByteArray("\0\0\0\xff\xfe", 5), 1, 0},
      {QByteArray("1 2\r\n3\r\n"), 2, 0},
      {QByteArray("1e999 1e999\n"), 1, 0},
      {QByteArray("nan nan\n"), 1, 0},
      {QByteArray("&HFFFFFFFF 1\n"), 1, 0},
      {QByteArray("-0 -0\n") + QByteArray(200000, ' '), -1, 1},
      {QByteArray("1 2\n").repeated(20000) + "x y\n", 20001, 0},
      {QByteArray("\xEF\xBB\xBF"
                  "1 2\n3 4\n"),
       -1, 2},
      {QByteArray("\xD7\x90 1\n"), 1, 0},
      {QByteArray(10000, '9') + " 1\n", 1, 0},
      {QByteArray("1 2\n").repeated(5000), -1, 5000},
  };
  int n = 0;
  for (const File& file : files) {
    const QString path = Path(("data" + std::to_string(n++) + ".txt").c_str());
    SCOPED_TRACE(testing::Message() << "file " << n);
    WriteFile(path, file.bytes);
    const int rows = RowCount(xs);
    const std::size_t before = host.messages.size();
    host.fileAnswers.push_back(path);
    Trigger(stats, "mnuOpen");
    if (file.badLine < 0) {
      EXPECT_EQ(host.messages.size(), before) << host.LastMessage().toStdString();
      EXPECT_EQ(RowCount(xs), file.rows);
      continue;
    }
    ASSERT_EQ(host.messages.size(), before + 1);
    const QString expected =
        file.badLine == 0 ? QString("The file \"%1\" holds no data points. Nothing was loaded.").arg(path)
                          : QString("Line %1 of the file \"%2\" does not start with two numbers. Nothing was loaded.")
                                .arg(file.badLine)
                                .arg(path);
    EXPECT_EQ(host.LastMessage(), expected);
    EXPECT_EQ(RowCount(xs), rows);  // nothing lost
  }
  host.fileAnswers.push_back(Path("no such file.txt"));
  const std::size_t before = host.messages.size();
  Trigger(stats, "mnuOpen");
  EXPECT_EQ(host.messages.size(), before + 1);
  // The fits and the graph still work on whatever was read last.
  Trigger(stats, "mnuLinear");
  Trigger(stats, "mnuQuad");
  ExpectMainWindowWorks();
}

TEST_F(Abuse, WorkspaceFiles) {
  // Unsaved work that every refused file must leave as it is.
  Put(Box(&window, "txtYMax"), "20");
  const QByteArray deep = QByteArray(100000, '[') + QByteArray(100000, ']');
  const QByteArray files[] = {
      QByteArray(),
      QByteArray("\0\0\0\xff\xfe{", 6),
      QByteArray("{\"format\": 1, \"equations\": ["),
      deep,
      "{\"format\": 1e999}",
      "{\"format\": -0}",
      "{\"format\": nan}",
      "{\"format\": 1, \"window\": {\"xmin\": \"&HFFFFFFFF\", \"xmax\": \"1e999\"}}",
      "{\"format\": 1, \"equations\": [{\"expression\": \"" + QByteArray("x+").repeated(5000) + "1\", \"color\": 0}]}",
      "{\"format\": 1, \"equations\": [{\"expression\": \"\u202Ex\u05D0\", \"color\": 0}]}",
      "{\"format\": 1, \"equations\": [{\"expression\": \"\xF0\x9D\x9F\x99x\", \"color\": 0}]}",
      "{\"format\": 1, \"equations\": [{\"expression\": \"\\u0001x\", \"color\": 0}]}",
      "{\"format\": 1, \"equations\": [{\"expression\": \"x\", \"condition\": \"x > nan\", \"color\": 0}]}",
      "{\"format\": 1, \"statistics\": {\"x\": [\"1e999\"], \"y\": [\"\\ud800\"]}}",
      "\xEF\xBB\xBF{\"format\": 1}",
  };
  int n = 0;
  for (const QByteArray& bytes : files) {
    const QString path = Path(("bad" + std::to_string(n++) + ".curvenest").c_str());
    SCOPED_TRACE(testing::Message() << "file " << n);
    WriteFile(path, bytes);
    const WorkspaceDocument before = window.Document();
    const std::size_t messages = host.messages.size();
    host.fileAnswers.push_back(path);
    host.saveAnswers.push_back(SaveChoice::kDiscard);
    Trigger(&window, "mnuOpen");
    host.saveAnswers.clear();
    // The first seven are no workspace at all (empty, binary, cut short,
    // nested past any limit, no format 1, not JSON).
    if (n <= 7) {
      EXPECT_EQ(host.messages.size(), messages + 1);
    }
    if (host.messages.size() > messages) {
      // Refused: one message naming the file, and nothing changed.
      ASSERT_EQ(host.messages.size(), messages + 1);
      EXPECT_TRUE(host.LastMessage().startsWith("Could not open \"" + path + "\": "))
          << host.LastMessage().toStdString();
      EXPECT_EQ(window.Document(), before);
    }
    EXPECT_TRUE(window.isVisible());
    // Whatever was opened graphs or says why; the tools still answer.
    Click(&window, "btnGraph");
    ExpectMainWindowWorks();
  }
}

}  // namespace
}  // namespace cn
