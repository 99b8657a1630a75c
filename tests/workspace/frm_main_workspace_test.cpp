// The main window's workspace files, driven through the menus and the
// scripted Host: what is saved comes back in every field, bad files are
// refused without touching the workspace, and unsaved work is never lost
// without the question.
#include "workspace/frm_main.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include "support/list_view.h"
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUndoStack>
#include <functional>

#include "support/expected_version.h"
#include "support/find_child.h"
#include "support/scripted_host.h"
#include "support/wait_idle.h"
#include "workspace/graph_surface.h"
#include "workspace/workspace_file.h"
#include "workspace/document_state.h"

namespace cn {
namespace {

class Workspace : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  QSettings settings{dir.filePath("settings.ini"), QSettings::IniFormat};
  ScriptedHost host;
  frmMain window{host, nullptr, &settings};

  QString Path(const QString& name) const { return dir.filePath(name); }
  QString Caption() const { return "Curvenest " + ExpectedVersion(); }
  void Trigger(const char* name) {
    auto* action = window.findChild<QAction*>(name);
    ASSERT_NE(action, nullptr) << name;
    action->trigger();
  }
  QLineEdit* Box(const char* name) { return FindChild<QLineEdit>(&window, name); }
  QStringList Texts(QWidget* parent, const char* name) {
    QStringList texts;
    auto* list = FindChild<QListView>(parent, name);
    for (int i = 0; list && i < RowCount(list); ++i) texts.append(RowText(list, i));
    return texts;
  }
  // Saves `document` as a file without the window.
  void WriteFile(const QString& path, const WorkspaceDocument& document) {
    QString message;
    ASSERT_TRUE(WriteWorkspace(path, document, &message)) << message.toStdString();
  }
  void WriteRaw(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }
  WorkspaceDocument Read(const QString& path) {
    WorkspaceDocument document;
    QString message;
    EXPECT_TRUE(ReadWorkspace(path, &document, &message)) << message.toStdString();
    return document;
  }
  static WorkspaceDocument OneLine() {
    WorkspaceDocument document;
    document.equations.push_back({"2*x+1", "", 0xFF0000});
    return document;
  }
};

// Types the values of a workspace into the real window, as a user would.
TEST_F(Workspace, EveryFieldSurvivesSaveAndOpen) {
  window.AppendEquation("sin(x)*exp(-x/5)", "", 255);
  window.AppendEquation("x^2-4", "x >= -2.5", 0xFF0000);
  window.AppendEquation("1/x", "x < 3", 0);
  const std::pair<const char*, const char*> boxes[] = {{"txtXMin", "-7.5"}, {"txtXMax", "&H10"}, {"txtYMin", "-3"},
                                                       {"txtYMax", "12"},   {"txtXStep", "2.5"}, {"txtYStep", "0.25"}};
  for (const auto& [name, text] : boxes) Box(name)->setText(text);
  window.findChild<QCheckBox*>("chkEqu")->setChecked(false);
  Trigger("mnuTable");
  QWidget* table = window.StatisticsWindow();
  ASSERT_NE(table, nullptr);
  for (const auto& [box, values] :
       {std::pair{"txtX", QStringList{"1", "2.50", "-3e1"}}, std::pair{"txtY", QStringList{"4", "0.1"}}}) {
    auto* edit = table->findChild<QLineEdit*>(box);
    for (const QString& value : values) {
      edit->setText(value);
      QTest::keyClick(edit, Qt::Key_Return);
    }
  }
  table->findChild<QCheckBox*>("chkPlot")->setChecked(true);

  WorkspaceDocument expected;
  expected.equations = {{"sin(x)*exp(-x/5)", "", 255}, {"x^2-4", "x >= -2.5", 0xFF0000}, {"1/x", "x < 3", 0}};
  expected.window = {"-7.5", "&H10", "-3", "12", "2.5", "0.25"};
  expected.writeEquations = false;
  expected.statX = {"1", "2.50", "-3e1"};
  expected.statY = {"4", "0.1"};
  expected.showStatPlot = true;
  EXPECT_EQ(window.Document(), expected);

  // Save on an untitled workspace asks for a name; the suffix is added.
  host.fileAnswers.push_back(Path("trig"));
  Trigger("mnuSave");
  ASSERT_EQ(host.fileDialogs.size(), 1u);
  EXPECT_EQ(host.fileDialogs[0].kind, ScriptedHost::FileDialogKind::kSave);
  EXPECT_EQ(host.fileDialogs[0].filter, kWorkspaceFilter);
  EXPECT_EQ(window.WorkspacePath(), Path("trig.curvenest"));
  EXPECT_EQ(Read(Path("trig.curvenest")), expected);
  EXPECT_TRUE(host.messages.empty()) << host.LastMessage().toStdString();

  Trigger("mnuNew");  // saved: no question
  EXPECT_TRUE(host.saveQuestions.empty());
  EXPECT_EQ(window.Document(), WorkspaceDocument{});
  EXPECT_EQ(window.windowTitle(), Caption() + "[*]");
  EXPECT_FALSE(window.isWindowModified());
  EXPECT_TRUE(Texts(table, "lstX").isEmpty());

  host.fileAnswers.push_back(Path("trig.curvenest"));
  Trigger("mnuOpen");
  EXPECT_EQ(window.Document(), expected);
  // The widgets show it, and the plane graphs it as Graph does.
  EXPECT_EQ(Texts(&window, "lstEqu"), (QStringList{"sin(x)*exp(-x/5)", "x^2-4", "1/x"}));
  EXPECT_EQ(Texts(&window, "lstCondition"), (QStringList{"", "x >= -2.5", "x < 3"}));
  EXPECT_EQ(Box("txtXMax")->text(), "&H10");
  EXPECT_EQ(Texts(table, "lstX"), (QStringList{"1", "2.50", "-3e1"}));
  EXPECT_EQ(Texts(table, "lstY"), (QStringList{"4", "0.1"}));
  const GraphDescription& graph = window.LastGraph();
  EXPECT_TRUE(graph.plotted);
  EXPECT_EQ(graph.window, (GraphWindow{-8, 16, -3, 12, 0.25f, 2.5f}));  // -7.5 rounds to even, &H10 is 16
  ASSERT_EQ(graph.equations.size(), 3u);
  EXPECT_EQ(graph.equations[1].condition, "x >= -2.5");
  EXPECT_FALSE(graph.writeEquations);
  EXPECT_EQ(graph.statPoints, (std::vector<std::pair<float, float>>{{1.f, 4.f}, {2.5f, 0.1f}}));
  EXPECT_EQ(window.windowTitle(), "trig.curvenest[*] - " + Caption());
  EXPECT_FALSE(window.isWindowModified());
}

TEST_F(Workspace, StatisticsWindowNeverShownSavesNoPoints) {
  window.AppendEquation("x", "", 255);
  EXPECT_EQ(window.StatisticsWindow(), nullptr);
  const WorkspaceDocument document = window.Document();
  EXPECT_TRUE(document.statX.empty());
  EXPECT_TRUE(document.statY.empty());
  EXPECT_FALSE(document.showStatPlot);
  // Opening a file without points does not make the window either.
  WriteFile(Path("plain.curvenest"), OneLine());
  EXPECT_TRUE(window.OpenWorkspace(Path("plain.curvenest")));
  EXPECT_EQ(window.StatisticsWindow(), nullptr);
}

// A row that cannot plot opens as typed, and the log says which and why;
// a condition without blanks is the same condition as with them.
TEST_F(Workspace, RowsThatCannotPlotOpenAsTypedAndAreNamed) {
  WorkspaceDocument document;
  document.equations = {{"x", "x<3", 0xFF0000}, {"tanx", "", 255}, {"x^2", "x > two", 255}};
  WriteFile(Path("typos.curvenest"), document);
  ASSERT_TRUE(window.OpenWorkspace(Path("typos.curvenest")));
  EXPECT_EQ(window.Document().equations, document.equations);
  EXPECT_EQ(FindChild<QPlainTextEdit>(&window, "txtInfo")->toPlainText(),
            "Equation 2 \"tanx\" cannot plot: Unknown name \"tanx\": did you mean tan(x)?\n"
            "Equation 3 \"x^2\" cannot plot: The bound \"two\" of the condition \"x > two\" is not a number.\n");
  // "x<3" draws y = x (in blue) left of 3 only.
  ASSERT_TRUE(WaitIdle(window));
  const QImage image = window.Surface()->Image();
  const auto drawn = [&](double x, QRgb rgb = 0x0000FF) {
    const QPoint at = window.Surface()->ToPixel(x, x).toPoint();
    int n = 0;
    for (int dy = -3; dy <= 3; ++dy)
      for (int dx = -3; dx <= 3; ++dx)
        n += image.valid(at.x() + dx, at.y() + dy) && (image.pixel(at.x() + dx, at.y() + dy) & 0xFFFFFF) == rgb;
    return n > 0;
  };
  EXPECT_TRUE(drawn(2));
  EXPECT_FALSE(drawn(5));
  // The typo draws nothing (not the line y = x), and the tools refuse it.
  EXPECT_FALSE(drawn(-5, 0xFF0000));
  SetCurrentRow(FindChild<QListView>(&window, "lstEqu"), 1);
  QTest::mouseClick(FindChild<QPushButton>(&window, "cmdY"), Qt::LeftButton);
  EXPECT_EQ(host.LastMessage(), "This equation cannot plot: Unknown name \"tanx\": did you mean tan(x)?");
}

TEST_F(Workspace, BadFilesAreRefusedAndTheWorkspaceStays) {
  WriteFile(Path("good.curvenest"), OneLine());
  ASSERT_TRUE(window.OpenWorkspace(Path("good.curvenest")));
  Box("txtYMax")->setText("20");  // an unsaved change, kept through every refusal
  const WorkspaceDocument before = window.Document();
  const GraphDescription graphBefore = window.LastGraph();

  const struct {
    const char* name;
    QByteArray bytes;
    const char* problem;
  } cases[] = {
      {"text.curvenest", "x^2 and more", "it is not JSON"},
      {"cut.curvenest", "{\"format\": 1, \"equations\": [", "it is not JSON"},
      {"list.curvenest", "[1, 2]", "not a JSON object"},
      {"future.curvenest", "{\"format\": 2}", "format 2"},
      {"noformat.curvenest", "{\"equations\": []}", "format"},
      {"type.curvenest", "{\"format\": 1, \"equations\": [{\"expression\": 5, \"color\": 0}]}", "equation 1"},
      {"white.curvenest", "{\"format\": 1, \"equations\": [{\"expression\": \"x\", \"color\": 16777216}]}",
       "equation 1"},
      {"negative.curvenest", "{\"format\": 1, \"equations\": [{\"expression\": \"x\", \"color\": -1}]}", "color"},
      {"huge.curvenest", "{\"format\": 1, \"pad\": \"" + QByteArray(5 * 1024 * 1024, 'a') + "\"}", "larger than"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    WriteRaw(Path(c.name), c.bytes);
    host.messages.clear();
    host.fileAnswers.push_back(Path(c.name));
    host.saveAnswers.push_back(SaveChoice::kDiscard);
    Trigger("mnuOpen");
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].icon, MessageIcon::kError);
    const QString message = host.messages[0].text;
    EXPECT_TRUE(message.startsWith("Could not open \"" + Path(c.name) + "\": ")) << message.toStdString();
    EXPECT_TRUE(message.contains(c.problem)) << message.toStdString();
    EXPECT_EQ(window.Document(), before);
    EXPECT_EQ(window.LastGraph().window, graphBefore.window);
    EXPECT_EQ(window.LastGraph().equations, graphBefore.equations);
    EXPECT_EQ(window.WorkspacePath(), Path("good.curvenest"));
    EXPECT_TRUE(window.isWindowModified());
  }
  // Refused files do not enter the recent list.
  EXPECT_EQ(RecentFiles(settings).Files(), QStringList{Path("good.curvenest")});
}

// A file may hold window texts the boxes cannot make (it was saved so): it
// opens as typed, and the graph reports the window as Graph would.
TEST_F(Workspace, FileWithAnUndrawableWindowOpensAsTyped) {
  WorkspaceDocument document = OneLine();
  document.window.xmin = "4";
  document.window.xmax = "4.2";
  WriteFile(Path("flat.curvenest"), document);
  ASSERT_TRUE(window.OpenWorkspace(Path("flat.curvenest")));
  EXPECT_EQ(window.Document(), document);
  EXPECT_EQ(host.LastMessage(), "XMin and XMax must differ.");
  // Drawn on the window shown before.
  EXPECT_EQ(window.LastGraph().window, kStandardWindow);
  EXPECT_EQ(window.LastGraph().equations.size(), 1u);
  EXPECT_FALSE(window.isWindowModified());
}

TEST_F(Workspace, CancelledDialogsChangeNothing) {
  window.AppendEquation("x", "", 255);
  const WorkspaceDocument before = window.Document();
  host.saveAnswers.push_back(SaveChoice::kDiscard);
  Trigger("mnuOpen");    // the open dialog cancelled
  Trigger("mnuSaveAs");  // the save dialog cancelled
  EXPECT_EQ(host.fileDialogs.size(), 2u);
  EXPECT_EQ(window.Document(), before);
  EXPECT_TRUE(window.WorkspacePath().isEmpty());
  EXPECT_TRUE(host.messages.empty());
  EXPECT_TRUE(RecentFiles(settings).Files().isEmpty());
}

TEST_F(Workspace, UnreadableFileAtStartLeavesAnEmptyWorkspace) {
  EXPECT_FALSE(window.OpenWorkspace(Path("missing.curvenest")));
  EXPECT_EQ(host.LastMessage(), "Could not open \"" + Path("missing.curvenest") + "\": No such file or directory.");
  EXPECT_EQ(window.Document(), WorkspaceDocument{});
  EXPECT_EQ(window.windowTitle(), Caption() + "[*]");
  EXPECT_TRUE(window.WorkspacePath().isEmpty());
}

TEST_F(Workspace, FailedSaveKeepsTheOldFileAndTheMark) {
  WriteFile(Path("kept.curvenest"), OneLine());
  ASSERT_TRUE(window.OpenWorkspace(Path("kept.curvenest")));
  window.AppendEquation("x^3", "", 0x00FF00);
  WriteRaw(Path("plain"), "not a folder");
  host.fileAnswers.push_back(Path("plain/other.curvenest"));
  EXPECT_FALSE(window.mnuSaveAs_Click());
  EXPECT_EQ(host.LastMessage(), "Could not save \"" + Path("plain/other.curvenest") + "\": Not a directory.");
  EXPECT_EQ(window.WorkspacePath(), Path("kept.curvenest"));
  EXPECT_TRUE(window.isWindowModified());
  EXPECT_EQ(Read(Path("kept.curvenest")), OneLine());
}

TEST_F(Workspace, SaveIntoAReadOnlyFolderFailsAndKeepsTheOldFile) {
  ASSERT_TRUE(QDir(dir.path()).mkdir("locked"));
  const QString old = Path("locked/old.curvenest");
  WriteFile(old, OneLine());
  QFile::setPermissions(Path("locked"), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
  QFile probe(Path("locked/probe"));
  if (probe.open(QIODevice::WriteOnly)) {  // root writes anywhere
    probe.remove();
    QFile::setPermissions(Path("locked"), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    GTEST_SKIP() << "this user can write into read-only folders";
  }
  ASSERT_TRUE(window.OpenWorkspace(old));
  window.AppendEquation("x^3", "", 0x00FF00);
  EXPECT_FALSE(window.mnuSave_Click());
  EXPECT_TRUE(host.LastMessage().startsWith("Could not save \"" + old + "\": ")) << host.LastMessage().toStdString();
  EXPECT_EQ(Read(old), OneLine());
  EXPECT_TRUE(window.isWindowModified());
  QFile::setPermissions(Path("locked"), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

TEST_F(Workspace, CaptionShowsTheFileAndTheMark) {
  // Untitled: the program's caption, marked once it holds work.
  EXPECT_EQ(window.windowTitle(), Caption() + "[*]");
  EXPECT_FALSE(window.isWindowModified());
  window.AppendEquation("x", "", 255);
  EXPECT_EQ(window.windowTitle(), Caption() + "[*]");
  EXPECT_TRUE(window.isWindowModified());

  host.fileAnswers.push_back(Path("line.curvenest"));
  ASSERT_TRUE(window.mnuSaveAs_Click());
  EXPECT_EQ(window.windowTitle(), "line.curvenest[*] - " + Caption());
  EXPECT_FALSE(window.isWindowModified());

  // Each kind of change marks it; undoing the change clears the mark.
  const std::pair<const char*, std::function<void(bool)>> changes[] = {
      {"box", [&](bool undo) { Box("txtXStep")->setText(undo ? "1" : "2"); }},
      {"write equations", [&](bool undo) { window.findChild<QCheckBox*>("chkEqu")->setChecked(undo); }},
      {"equation",
       [&](bool undo) {
         if (undo) {
           SetCurrentRow(window.findChild<QListView*>("lstEqu"), 1);
           window.btnDelete_Click();
         } else {
           window.AppendEquation("x^2", "", 0);
         }
       }},
  };
  for (const auto& [what, change] : changes) {
    SCOPED_TRACE(what);
    change(false);
    EXPECT_TRUE(window.isWindowModified());
    change(true);
    EXPECT_FALSE(window.isWindowModified());
  }
  Trigger("mnuTable");
  auto* edit = window.StatisticsWindow()->findChild<QLineEdit*>("txtX");
  edit->setText("3");
  QTest::keyClick(edit, Qt::Key_Return);
  EXPECT_TRUE(window.isWindowModified());
  Trigger("mnuSave");  // titled: no dialog
  EXPECT_TRUE(host.fileDialogs.size() == 1u);
  EXPECT_FALSE(window.isWindowModified());
  EXPECT_EQ(Read(Path("line.curvenest")).statX, std::vector<std::string>{"3"});
}

TEST_F(Workspace, NothingToLoseAsksNothing) {
  window.show();
  Box("txtXMax")->setText("30");  // window boxes alone are no work
  Trigger("mnuNew");
  EXPECT_EQ(Box("txtXMax")->text(), "10");
  Box("txtXMax")->setText("30");
  window.close();
  EXPECT_TRUE(host.saveQuestions.empty());
  EXPECT_FALSE(window.isVisible());
}

// Ends the event loop QApplication::exit left behind, so that later tests can
// run dialogs again.
void SettleExit() {
  QTimer::singleShot(0, qApp, &QCoreApplication::quit);
  QApplication::exec();
}

TEST_F(Workspace, UnsavedWorkAsksBeforeItIsLost) {
  WriteFile(Path("other.curvenest"), OneLine());
  enum class Outcome { kStays, kGoesOn };
  const struct {
    const char* action;
    SaveChoice answer;
    bool saveDialogAnswered;  // for kSave on the untitled workspace
    Outcome outcome;
  } cases[] = {
      {"close", SaveChoice::kCancel, false, Outcome::kStays},
      {"close", SaveChoice::kDiscard, false, Outcome::kGoesOn},
      {"close", SaveChoice::kSave, true, Outcome::kGoesOn},
      {"close", SaveChoice::kSave, false, Outcome::kStays},
      {"mnuExit", SaveChoice::kCancel, false, Outcome::kStays},
      {"mnuExit", SaveChoice::kDiscard, false, Outcome::kGoesOn},
      {"mnuExit", SaveChoice::kSave, true, Outcome::kGoesOn},
      {"mnuExit", SaveChoice::kSave, false, Outcome::kStays},
      {"mnuNew", SaveChoice::kCancel, false, Outcome::kStays},
      {"mnuNew", SaveChoice::kDiscard, false, Outcome::kGoesOn},
      {"mnuNew", SaveChoice::kSave, true, Outcome::kGoesOn},
      {"mnuNew", SaveChoice::kSave, false, Outcome::kStays},
      {"mnuOpen", SaveChoice::kCancel, false, Outcome::kStays},
      {"mnuOpen", SaveChoice::kDiscard, false, Outcome::kGoesOn},
      {"mnuOpen", SaveChoice::kSave, true, Outcome::kGoesOn},
      {"mnuOpen", SaveChoice::kSave, false, Outcome::kStays},
  };
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.action) + " answered " + std::to_string(static_cast<int>(c.answer)) +
                 (c.saveDialogAnswered ? " with a file name" : ""));
    ScriptedHost caseHost;
    frmMain w(caseHost, nullptr, &settings);
    w.show();
    w.AppendEquation("x^2", "x > 0", 0x0000FF);
    const WorkspaceDocument work = w.Document();
    const QString saveAs = Path(QString("saved%1.curvenest").arg(++n));
    caseHost.saveAnswers.push_back(c.answer);
    if (c.answer == SaveChoice::kSave)
      caseHost.fileAnswers.push_back(c.saveDialogAnswered ? std::optional(saveAs) : std::nullopt);
    const std::string action = c.action;
    if (action == "mnuOpen") caseHost.fileAnswers.push_back(Path("other.curvenest"));

    if (action == "close") {
      w.close();
    } else {
      auto* item = w.findChild<QAction*>(c.action);
      ASSERT_NE(item, nullptr);
      item->trigger();
    }
    if (action == "mnuExit" && c.outcome == Outcome::kGoesOn) SettleExit();

    ASSERT_EQ(caseHost.saveQuestions.size(), 1u);
    EXPECT_EQ(caseHost.saveQuestions[0].question, "Save changes?");
    EXPECT_EQ(caseHost.saveQuestions[0].owner, &w);
    EXPECT_TRUE(caseHost.messages.empty()) << caseHost.LastMessage().toStdString();
    if (c.answer == SaveChoice::kSave) {
      if (c.saveDialogAnswered) {
        EXPECT_EQ(Read(saveAs), work);
      } else {
        EXPECT_FALSE(QFile::exists(saveAs));
      }
    }

    if (c.outcome == Outcome::kStays) {
      EXPECT_EQ(w.Document(), work);
      EXPECT_TRUE(w.isVisible());
    } else if (action == "close" || action == "mnuExit") {
      EXPECT_FALSE(w.isVisible());
    } else if (action == "mnuNew") {
      EXPECT_EQ(w.Document(), WorkspaceDocument{});
      EXPECT_TRUE(w.WorkspacePath().isEmpty());
    } else {
      EXPECT_EQ(w.Document(), OneLine());
      EXPECT_EQ(w.WorkspacePath(), Path("other.curvenest"));
    }
    // Once answered, the workspace closes without asking again unless new work is done.
    if (w.isVisible() && c.outcome == Outcome::kGoesOn) {
      w.close();
      EXPECT_EQ(caseHost.saveQuestions.size(), 1u);
    }
  }
}

TEST_F(Workspace, RecentFilesListTheNewestFirst) {
  auto* recent = window.findChild<QMenu*>("mnuRecent");
  ASSERT_NE(recent, nullptr);
  EXPECT_FALSE(recent->isEnabled());
  const auto shown = [&] {
    QStringList texts;
    for (QAction* a : recent->actions()) texts.append(a->text());
    return texts;
  };
  for (int i = 1; i <= 6; ++i) WriteFile(Path(QString("w%1.curvenest").arg(i)), OneLine());
  ASSERT_TRUE(window.OpenWorkspace(Path("w1.curvenest")));
  host.fileAnswers.push_back(Path("w2.curvenest"));
  ASSERT_TRUE(window.mnuSaveAs_Click());  // saving adds too
  EXPECT_TRUE(recent->isEnabled());
  EXPECT_EQ(shown(), (QStringList{"&1 w2.curvenest", "&2 w1.curvenest"}));
  ASSERT_TRUE(window.OpenWorkspace(Path("w1.curvenest")));  // moves up, once
  EXPECT_EQ(shown(), (QStringList{"&1 w1.curvenest", "&2 w2.curvenest"}));
  for (int i = 3; i <= 6; ++i) ASSERT_TRUE(window.OpenWorkspace(Path(QString("w%1.curvenest").arg(i))));
  EXPECT_EQ(shown(), (QStringList{"&1 w6.curvenest", "&2 w5.curvenest", "&3 w4.curvenest", "&4 w3.curvenest",
                                  "&5 w1.curvenest"}));
  // Kept in the given settings, so the next window sees them.
  EXPECT_EQ(RecentFiles(settings).Files().value(0), Path("w6.curvenest"));
  ScriptedHost otherHost;
  frmMain other(otherHost, nullptr, &settings);
  EXPECT_EQ(other.findChild<QMenu*>("mnuRecent")->actions().size(), 5);

  // A recent entry opens its file (after the question, when there is work).
  window.AppendEquation("x", "", 0);
  host.saveAnswers.push_back(SaveChoice::kDiscard);
  recent->actions()[3]->trigger();
  EXPECT_EQ(host.saveQuestions.size(), 1u);
  EXPECT_EQ(window.WorkspacePath(), Path("w3.curvenest"));
  EXPECT_EQ(shown().value(0), "&1 w3.curvenest");
  // One that is gone says so and leaves the list.
  ASSERT_TRUE(QFile::remove(Path("w5.curvenest")));
  QAction* gone = recent->actions()[2];
  ASSERT_EQ(gone->data().toString(), Path("w5.curvenest"));
  gone->trigger();
  EXPECT_EQ(host.LastMessage(), "Could not open \"" + Path("w5.curvenest") + "\": No such file or directory.");
  EXPECT_FALSE(RecentFiles(settings).Files().contains(Path("w5.curvenest")));
  EXPECT_EQ(window.WorkspacePath(), Path("w3.curvenest"));
}

TEST_F(Workspace, WindowComesBackWhereItWasLeft) {
  // The first time it gets the size it asks for, as far as the screen allows.
  window.RestorePlacement();
  const QSize room = window.screen()->availableGeometry().size() * 0.9;
  EXPECT_EQ(window.size(), window.sizeHint().boundedTo(room).expandedTo(window.minimumSize()));
  window.show();
  window.setGeometry(QRect(30, 40, 640, 500));
  const QRect left = window.geometry();
  ASSERT_TRUE(window.close());

  ScriptedHost otherHost;
  frmMain other(otherHost, nullptr, &settings);
  other.RestorePlacement();
  EXPECT_EQ(other.geometry(), left);

  // Settings that hold no valid place (another program's, a damaged file)
  // leave the first-time size.
  settings.setValue("mainWindow/geometry", QByteArray("not a geometry"));
  frmMain damaged(otherHost, nullptr, &settings);
  damaged.RestorePlacement();
  EXPECT_EQ(damaged.size(), damaged.sizeHint().boundedTo(room).expandedTo(damaged.minimumSize()));

  // A window that was never placed from the settings (as in the tests) does
  // not write its place into them.
  QSettings untouched(dir.filePath("untouched.ini"), QSettings::IniFormat);
  frmMain unplaced(otherHost, nullptr, &untouched);
  unplaced.show();
  ASSERT_TRUE(unplaced.close());
  EXPECT_FALSE(untouched.contains("mainWindow/geometry"));
}

TEST_F(Workspace, MenuItemsAndShortcuts) {
  const struct {
    const char* name;
    QString caption;
    QKeySequence key;
  } items[] = {
      {"mnuNew", "New", QKeySequence("Ctrl+N")},
      {"mnuOpen", QString("Open") + QChar(0x2026), QKeySequence("Ctrl+O")},
      {"mnuSave", "Save", QKeySequence("Ctrl+S")},
      {"mnuSaveAs", QString("Save As") + QChar(0x2026), QKeySequence("Ctrl+Shift+S")},
  };
  for (const auto& item : items) {
    auto* action = window.findChild<QAction*>(item.name);
    ASSERT_NE(action, nullptr) << item.name;
    EXPECT_EQ(QString(action->text()).remove('&'), item.caption);
    EXPECT_EQ(action->shortcut(), item.key) << item.name;
  }
  // The workspace items come first; Copy Graph, Export, Print and Exit follow.
  QStringList names;
  for (QAction* a : window.findChild<QMenu*>("mnuFile")->actions())
    if (!a->isSeparator()) names.append(a->menu() ? a->menu()->objectName() : a->objectName());
  EXPECT_EQ(names, (QStringList{"mnuNew", "mnuOpen", "mnuSave", "mnuSaveAs", "mnuRecent", "mnuCopy", "mnuExport",
                                "mnuPrint", "mnuExit"}));
}

}  // namespace
}  // namespace cn

namespace cn {
namespace {

// Every change a user makes is one step back and one step forward, by the
// Edit menu, and its name says what it was.
TEST_F(Workspace, EveryChangeUndoesAndRedoes) {
  window.AppendEquation("x^2", "", 255);
  window.AppendEquation("sin(x)", "x > 0", 65280);
  WaitIdle(window);
  struct Case {
    const char* name;  // the Undo item's words
    std::function<void()> change;
  };
  const Case cases[] = {
      {"Add Equation", [&] { window.AppendEquation("1/x", "", 0); }},
      {"Delete Equation",
       [&] {
         SetCurrentRow(FindChild<QListView>(&window, "lstEqu"), 0);
         window.btnDelete_Click();
       }},
      {"Edit Equation",
       [&] {
         SetCurrentRow(FindChild<QListView>(&window, "lstEqu"), 1);
         host.inputAnswers.push_back(QString("cos(x)"));
         window.lstEqu_DblClick();
       }},
      {"Change Color",
       [&] {
         SetCurrentRow(FindChild<QListView>(&window, "lstEqu"), 0);
         host.colorAnswers.push_back(0x123456u);
         window.picColor_Click();
       }},
      {"Change XMax", [&] { QTest::keyClicks(Box("txtXMax"), "25"); }},  // two keys, one step
      {"Change Window", [&] { window.mnuZoomOut_Click(); }},
      {"Write Equations on Graph", [&] { FindChild<QCheckBox>(&window, "chkEqu")->click(); }},
      {"Add Data Point", [&] { window.Session().AddPoint(false, "3"); }},
      {"Mark Points", [&] { window.Session().AddMarks({{1, 1, 0}}); }},
  };
  for (const Case& c : cases) {
    const WorkspaceDocument before = window.Document();
    const int steps = window.UndoStack().count();
    c.change();
    WaitIdle(window);
    const WorkspaceDocument after = window.Document();
    ASSERT_NE(after, before) << c.name;
    EXPECT_EQ(window.UndoStack().count(), steps + 1) << c.name;
    EXPECT_EQ(window.UndoStack().undoText(), c.name);
    Trigger("mnuUndo");
    WaitIdle(window);
    EXPECT_EQ(window.Document(), before) << c.name;
    EXPECT_EQ(Box("txtXMax")->text().toStdString(), before.window.xmax) << c.name << ": the boxes follow";
    Trigger("mnuRedo");
    WaitIdle(window);
    EXPECT_EQ(window.Document(), after) << c.name;
    EXPECT_EQ(window.LastGraph().equations, after.equations) << c.name << ": the plane follows";
  }
  // The caption's mark follows: saved, undone, redone to the saved state.
  host.fileAnswers.push_back(Path("steps.curvenest"));
  ASSERT_TRUE(window.mnuSaveAs_Click());
  EXPECT_FALSE(window.isWindowModified());
  Trigger("mnuUndo");
  EXPECT_TRUE(window.isWindowModified());
  Trigger("mnuRedo");
  EXPECT_FALSE(window.isWindowModified());
  // Opening another workspace starts its own history.
  window.ApplyDocument(WorkspaceDocument{});
  EXPECT_EQ(window.UndoStack().count(), 0);
}

}  // namespace
}  // namespace cn
