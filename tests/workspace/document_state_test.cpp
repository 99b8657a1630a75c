// Around the workspace file: when closing asks "Save changes?", the caption,
// and the recent files kept in the settings.
#include "workspace/document_state.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <string>
#include <vector>

namespace cn {
namespace {

WorkspaceDocument WithEquation(std::uint32_t color = 255) {
  WorkspaceDocument d;
  d.equations = {{"x^2", "", color}};
  return d;
}

TEST(DocumentState, UnsavedWorkIsWorkThatDiffersFromTheFile) {
  const WorkspaceDocument startUp;
  WorkspaceDocument windowOnly;
  windowOnly.window.xmax = "20";
  WorkspaceDocument pointsOnly;
  pointsOnly.statX = {"1"};
  WorkspaceDocument recoloured = WithEquation(65280);
  WorkspaceDocument windowChanged = WithEquation();
  windowChanged.window.ystep = "0.5";
  WorkspaceDocument plotTicked = WithEquation();
  plotTicked.showStatPlot = true;

  struct Case {
    const char* name;
    WorkspaceDocument current, saved;
    bool unsaved;
  };
  const std::vector<Case> cases = {
      {"start-up workspace", startUp, startUp, false},
      {"only the window changed: nothing to lose", windowOnly, startUp, false},
      {"a new equation", WithEquation(), startUp, true},
      {"a data point", pointsOnly, startUp, true},
      {"as opened", WithEquation(), WithEquation(), false},
      {"a colour changed", recoloured, WithEquation(), true},
      {"the window changed beside an equation", windowChanged, WithEquation(), true},
      {"Show Stat Plot ticked", plotTicked, WithEquation(), true},
      {"every equation deleted: nothing left to lose", startUp, WithEquation(), false},
  };
  for (const Case& c : cases) EXPECT_EQ(HasUnsavedWork(c.current, c.saved), c.unsaved) << c.name;
}

TEST(DocumentState, CaptionPutsTheFileNameFirst) {
  const QString program = "Curvenest Version 1 Build 31";
  EXPECT_EQ(WorkspaceCaption("/home/me/trig.curvenest", program),
            QString("trig.curvenest[*] - Curvenest Version 1 Build 31"));
  EXPECT_EQ(WorkspaceCaption("relative/dir/a b.curvenest", program),
            QString("a b.curvenest[*] - Curvenest Version 1 Build 31"));
  EXPECT_EQ(WorkspaceCaption("", program), QString("Curvenest Version 1 Build 31[*]"));
}

class RecentFilesTest : public ::testing::Test {
 protected:
  QString Path(const char* name) const { return QDir(dir_.path()).absoluteFilePath(name); }
  QSettings Settings() const { return QSettings(dir_.filePath("settings.ini"), QSettings::IniFormat); }
  QTemporaryDir dir_;
};

TEST_F(RecentFilesTest, NewestFirstOnceEachAtMostFive) {
  QSettings settings = Settings();
  RecentFiles recent(settings);
  EXPECT_TRUE(recent.Files().isEmpty());
  for (const char* name : {"a", "b", "c"}) recent.Add(Path(name));
  EXPECT_EQ(recent.Files(), (QStringList{Path("c"), Path("b"), Path("a")}));

  recent.Add(Path("a"));  // opened again: moves to the front, not listed twice
  EXPECT_EQ(recent.Files(), (QStringList{Path("a"), Path("c"), Path("b")}));

  recent.Add(Path("x/../b"));  // the same file spelled another way
  EXPECT_EQ(recent.Files(), (QStringList{Path("b"), Path("a"), Path("c")}));

  for (const char* name : {"d", "e", "f"}) recent.Add(Path(name));
  EXPECT_EQ(recent.Files(), (QStringList{Path("f"), Path("e"), Path("d"), Path("b"), Path("a")}));

  recent.Remove(Path("d"));
  recent.Remove(Path("never listed"));
  EXPECT_EQ(recent.Files(), (QStringList{Path("f"), Path("e"), Path("b"), Path("a")}));
  recent.Add("");
  EXPECT_EQ(recent.Files().size(), 4);
}

TEST_F(RecentFilesTest, KeptBetweenRunsAndCleanedWhenRead) {
  {
    QSettings settings = Settings();
    RecentFiles(settings).Add(Path("kept.curvenest"));
  }
  {
    QSettings settings = Settings();
    EXPECT_EQ(RecentFiles(settings).Files(), QStringList{Path("kept.curvenest")});
    // As another version or a hand edit might leave it.
    settings.setValue("recentFiles",
                      QStringList{Path("a"), "", Path("a"), Path("b"), Path("c"), Path("d"), Path("e"), Path("f")});
  }
  QSettings settings = Settings();
  EXPECT_EQ(RecentFiles(settings).Files(), (QStringList{Path("a"), Path("b"), Path("c"), Path("d"), Path("e")}));
}

TEST_F(RecentFilesTest, RelativePathsAreStoredAbsolute) {
  const QString before = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(dir_.path()));
  QSettings settings = Settings();
  RecentFiles recent(settings);
  recent.Add("rel.curvenest");
  QDir::setCurrent(before);
  EXPECT_EQ(recent.Files(), QStringList{Path("rel.curvenest")});
}

}  // namespace
}  // namespace cn
