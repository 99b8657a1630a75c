// Workspace files: every field through save and open, the documented format
// read from hand-written text, malformed files refused whole, and saves that
// fail without harming the old file.
#include "workspace/workspace_file.h"
#include "workspace/file_io.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <csignal>
#include <cstdlib>
#include <string>
#include <vector>

namespace cn {
namespace {

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
  return file.readAll();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
  ASSERT_EQ(file.write(bytes), bytes.size());
}

// A workspace in which no field has its start-up value.
WorkspaceDocument FullDocument() {
  WorkspaceDocument d;
  d.equations = {
      {"sin(x)*exp(-x/5)", "", 255},
      {"x^2 - 4", "x >= -2.5", 16711680},
      // Quotes, backslashes, tabs and non-ASCII must survive JSON escaping.
      {"\"q\"\\ \t√x + π·2", "x <  1e3", 0},
      {"|x|", "x <= 0", kMaxPackedColor},
  };
  d.window = {"-7.5", "&H10", " 3 ", "1e1", "0.25", "abc"};
  d.writeEquations = false;
  d.statX = {"1", "2.5", "-3"};
  d.statY = {"4", "5"};  // the lists may differ in length while typing
  d.showStatPlot = true;
  d.marks = {{-2, 0, 1}, {0.1 + 0.2, -1e-300, 3}};  // full digits kept
  return d;
}

TEST(WorkspaceFile, EveryFieldSurvivesSaveAndOpen) {
  QTemporaryDir dir;
  const QString path = dir.filePath("all.curvenest");
  const WorkspaceDocument saved = FullDocument();
  QString message;
  ASSERT_TRUE(WriteWorkspace(path, saved, &message)) << message.toStdString();

  WorkspaceDocument opened;
  ASSERT_TRUE(ReadWorkspace(path, &opened, &message)) << message.toStdString();
  EXPECT_EQ(opened, saved);

  // The file is the documented JSON, checked member by member without the reader.
  const QJsonObject root = QJsonDocument::fromJson(ReadAll(path)).object();
  EXPECT_EQ(root.value("format").toInt(-1), 1);
  const QJsonArray equations = root.value("equations").toArray();
  ASSERT_EQ(equations.size(), 4);
  EXPECT_EQ(equations[1].toObject().value("expression").toString(), QString("x^2 - 4"));
  EXPECT_EQ(equations[1].toObject().value("condition").toString(), QString("x >= -2.5"));
  EXPECT_EQ(equations[1].toObject().value("color").toDouble(), 16711680.0);
  EXPECT_EQ(equations[2].toObject().value("expression").toString(), QString::fromUtf8("\"q\"\\ \t√x + π·2"));
  EXPECT_EQ(root.value("window").toObject().value("xmax").toString(), QString("&H10"));
  EXPECT_EQ(root.value("window").toObject().value("ystep").toString(), QString("abc"));
  EXPECT_EQ(root.value("writeEquations").toBool(true), false);
  EXPECT_EQ(root.value("statistics").toObject().value("x").toArray().size(), 3);
  EXPECT_EQ(root.value("statistics").toObject().value("showStatPlot").toBool(false), true);
}

TEST(WorkspaceFile, ReadsTheDocumentedFormat) {
  // Written by hand after docs/workspace-format.md, with members in another
  // order, a member of a later version and members left out.
  const QByteArray text = R"({
    "format": 1,
    "comment": "a later version may add members",
    "window": {"ystep": "0.5", "xmin": "-3", "zoom": 2},
    "equations": [
      {"expression": "x^2-4", "color": 65280, "condition": "x >= -2", "style": "dashed"},
      {"color": 128, "expression": "1/x"}
    ],
    "statistics": {"y": ["2", "4.1"], "x": ["1", "2"]}
  })";
  QString problem;
  const std::optional<WorkspaceDocument> d = ParseWorkspace(text, &problem);
  ASSERT_TRUE(d) << problem.toStdString();
  ASSERT_EQ(d->equations.size(), 2u);
  EXPECT_EQ(d->equations[0], (WorkspaceEquation{"x^2-4", "x >= -2", 65280}));
  EXPECT_EQ(d->equations[1], (WorkspaceEquation{"1/x", "", 128}));
  EXPECT_EQ(d->window, (WorkspaceWindow{"-3", "10", "-10", "10", "1", "0.5"}));
  EXPECT_TRUE(d->writeEquations);
  EXPECT_EQ(d->statX, (std::vector<std::string>{"1", "2"}));
  EXPECT_EQ(d->statY, (std::vector<std::string>{"2", "4.1"}));
  EXPECT_FALSE(d->showStatPlot);

  // Only the format: the start-up workspace.
  const std::optional<WorkspaceDocument> empty = ParseWorkspace(R"({"format": 1})", &problem);
  ASSERT_TRUE(empty) << problem.toStdString();
  EXPECT_EQ(*empty, WorkspaceDocument{});
  EXPECT_FALSE(empty->HasWork());
}

TEST(WorkspaceFile, TheDocumentedExampleIsWhatTheProgramWrites) {
  QFile doc(QStringLiteral(CN_TEST_DATA "/../docs/workspace-format.md"));
  ASSERT_TRUE(doc.open(QIODevice::ReadOnly));
  const QByteArray text = doc.readAll();
  const qsizetype start = text.indexOf("```json\n") + 8;
  const qsizetype end = text.indexOf("```", start);
  ASSERT_GT(start, 7);
  ASSERT_GT(end, start);

  WorkspaceDocument example;
  example.equations = {{"sin(x)*exp(-x/5)", "", 255}, {"x^2-4", "x >= -2", 16711680}};
  example.window.ystep = "0.5";
  example.statX = {"1", "2", "3.5"};
  example.statY = {"2", "4.1", "6.9"};
  example.showStatPlot = true;
  EXPECT_EQ(SerializeWorkspace(example), text.mid(start, end - start));
}

TEST(WorkspaceFile, HasWorkCountsEquationsAndDataPoints) {
  WorkspaceDocument d;
  d.window.xmin = "-5";  // a changed window alone loses nothing worth asking about
  d.writeEquations = false;
  EXPECT_FALSE(d.HasWork());
  d.statY = {"1"};
  EXPECT_TRUE(d.HasWork());
  d.statY.clear();
  d.equations.push_back({"x", "", 255});
  EXPECT_TRUE(d.HasWork());
}

struct MalformedCase {
  const char* name;
  QByteArray bytes;
  const char* problem;  // the text after: Could not open "<path>":
  bool prefix = false;  // the rest is Qt's JSON parser's own wording
};

TEST(WorkspaceFile, MalformedFilesAreRefusedWhole) {
  const std::vector<MalformedCase> cases = {
      {"empty file", "", "it is not JSON (", true},
      {"plain text", "x^2 + 1\n", "it is not JSON (", true},
      {"cut short", R"({"format": 1, "equations": [)", "it is not JSON (", true},
      {"trailing comma", R"({"format": 1,})", "it is not JSON (", true},
      {"two documents", R"({"format": 1} {"format": 1})", "it is not JSON (", true},
      {"a list at the top", R"([{"format": 1}])",
       "it is not a Curvenest workspace (it is not a JSON object in braces)."},
      {"no format", R"({"equations": []})", "it is not a Curvenest workspace (it has no \"format\")."},
      {"format as text", R"({"format": "1"})", "\"format\" must be a whole number."},
      {"format with a fraction", R"({"format": 1.5})", "\"format\" must be a whole number."},
      {"a later format", R"({"format": 2, "equations": 7})",
       "it has format 2, which this version of Curvenest cannot read (it reads format 1)."},
      {"format 0", R"({"format": 0})",
       "it has format 0, which this version of Curvenest cannot read (it reads format 1)."},
      {"equations not a list", R"({"format": 1, "equations": {"expression": "x"}})",
       "\"equations\" must be a list in brackets."},
      {"equation not an object", R"({"format": 1, "equations": [{"expression": "x", "color": 1}, "x^2"]})",
       "equation 2: must be an object in braces."},
      {"equation without expression", R"({"format": 1, "equations": [{"color": 255}]})",
       "equation 1: has no \"expression\"."},
      {"equation without colour", R"({"format": 1, "equations": [{"expression": "x"}]})",
       "equation 1: has no \"color\"."},
      {"expression as number", R"({"format": 1, "equations": [{"expression": 2, "color": 0}]})",
       "equation 1: \"expression\" must be a text in double quotes."},
      {"condition as true", R"({"format": 1, "equations": [{"expression": "x", "condition": true, "color": 0}]})",
       "equation 1: \"condition\" must be a text in double quotes."},
      {"colour below range", R"({"format": 1, "equations": [{"expression": "x", "color": -1}]})",
       "equation 1: \"color\" must be a whole number from 0 to 16777215."},
      {"colour above range", R"({"format": 1, "equations": [{"expression": "x", "color": 16777216}]})",
       "equation 1: \"color\" must be a whole number from 0 to 16777215."},
      {"colour with a fraction", R"({"format": 1, "equations": [{"expression": "x", "color": 255.5}]})",
       "equation 1: \"color\" must be a whole number from 0 to 16777215."},
      {"colour as text", R"({"format": 1, "equations": [{"expression": "x", "color": "#ff0000"}]})",
       "equation 1: \"color\" must be a whole number from 0 to 16777215."},
      {"huge colour", R"({"format": 1, "equations": [{"expression": "x", "color": 1e300}]})",
       "equation 1: \"color\" must be a whole number from 0 to 16777215."},
      {"window as list", R"({"format": 1, "window": ["-10", "10"]})", "\"window\" must be an object in braces."},
      {"window box as number", R"({"format": 1, "window": {"xmin": -10}})",
       "window: \"xmin\" must be a text in double quotes."},
      {"write equations as text", R"({"format": 1, "writeEquations": "yes"})",
       "\"writeEquations\" must be true or false."},
      {"statistics as list", R"({"format": 1, "statistics": []})", "\"statistics\" must be an object in braces."},
      {"marks as object", R"({"format": 1, "marks": {}})", "\"marks\" must be a list in brackets."},
      {"mark of no row", R"({"format": 1, "equations": [{"expression": "x", "color": 0}],
          "marks": [{"x": 1, "y": 1, "equation": 1}, {"x": 1, "y": 1, "equation": 2}]})",
       "mark 2: \"equation\" must be the number of an equation, from 1 to 1."},
      {"mark without y", R"({"format": 1, "equations": [{"expression": "x", "color": 0}],
          "marks": [{"x": 1, "equation": 1}]})", "mark 1: \"y\" must be a number."},
      {"x list as text", R"({"format": 1, "statistics": {"x": "1 2 3"}})",
       "statistics: \"x\" must be a list of texts."},
      {"y row as number", R"({"format": 1, "statistics": {"y": ["1", 2]}})",
       "statistics: \"y\" item 2 must be a text in double quotes."},
      {"stat plot as number", R"({"format": 1, "statistics": {"showStatPlot": 1}})",
       "statistics: \"showStatPlot\" must be true or false."},
      // Valid JSON, but one byte over the limit: refused before parsing.
      {"larger than 4 MB", QByteArray(R"({"format": 1})") + QByteArray(kMaxWorkspaceBytes + 1 - 13, ' '),
       "it is larger than 4 MB."},
  };

  QTemporaryDir dir;
  for (const MalformedCase& c : cases) {
    const QString path = dir.filePath("bad.curvenest");
    WriteAll(path, c.bytes);
    WorkspaceDocument document = FullDocument();
    QString message;
    EXPECT_FALSE(ReadWorkspace(path, &document, &message)) << c.name;
    const std::string expected = "Could not open \"" + path.toStdString() + "\": " + c.problem;
    if (c.prefix) {
      EXPECT_TRUE(message.toStdString().starts_with(expected)) << c.name << ": " << message.toStdString();
      EXPECT_TRUE(message.contains(QRegularExpression(" at byte [0-9]+\\)\\.$"))) << message.toStdString();
    } else {
      EXPECT_EQ(message.toStdString(), expected) << c.name;
    }
    EXPECT_EQ(document, FullDocument()) << c.name << ": the caller's document changed";
  }
}

TEST(WorkspaceFile, ExactlyTheSizeLimitIsRead) {
  QString problem;
  const QByteArray atLimit = QByteArray(R"({"format": 1})") + QByteArray(kMaxWorkspaceBytes - 13, ' ');
  ASSERT_EQ(atLimit.size(), kMaxWorkspaceBytes);
  EXPECT_TRUE(ParseWorkspace(atLimit, &problem)) << problem.toStdString();
}

TEST(WorkspaceFile, FilesThatCannotBeReadAreNamed) {
  QTemporaryDir dir;
  struct Case {
    QString path;
    std::string problem;
  };
  const QString pipe = dir.filePath("pipe.curvenest");
  ASSERT_EQ(mkfifo(pipe.toLocal8Bit().constData(), 0600), 0);
  const std::vector<Case> cases = {
      {dir.filePath("missing.curvenest"), "No such file or directory."},
      {dir.path(), "it is a folder."},
      {pipe, "it is not a plain file."},  // opening it would wait for a writer for ever
      {"/dev/zero", "it is not a plain file."},
  };
  for (const Case& c : cases) {
    WorkspaceDocument document = FullDocument();
    QString message;
    EXPECT_FALSE(ReadWorkspace(c.path, &document, &message));
    EXPECT_EQ(message.toStdString(), "Could not open \"" + c.path.toStdString() + "\": " + c.problem);
    EXPECT_EQ(document, FullDocument());
  }
}

TEST(WorkspaceFile, SavingOverAFileReplacesItWhole) {
  QTemporaryDir dir;
  const QString path = dir.filePath("w.curvenest");
  QString message;
  ASSERT_TRUE(WriteWorkspace(path, FullDocument(), &message));
  WorkspaceDocument smaller;
  smaller.equations = {{"x", "", 1}};
  ASSERT_TRUE(WriteWorkspace(path, smaller, &message)) << message.toStdString();
  WorkspaceDocument opened;
  ASSERT_TRUE(ReadWorkspace(path, &opened, &message)) << message.toStdString();
  EXPECT_EQ(opened, smaller);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"w.curvenest"});
}

TEST(WorkspaceFile, SavesWhereNoFileCanBeWrittenAreRefused) {
  // The tests run as root, who may write into any folder whatever its
  // permissions; these places refuse root too.
  QTemporaryDir dir;
  WriteAll(dir.filePath("plain"), "not a folder");
  const std::vector<QString> paths = {
      dir.filePath("plain/w.curvenest"),    // a "folder" that is a file
      dir.filePath("missing/w.curvenest"),  // a folder that does not exist
      "/proc/w.curvenest",                  // a file system that takes no new files
      dir.path(),                           // the target is a folder
  };
  for (const QString& path : paths) {
    QString message;
    EXPECT_FALSE(WriteWorkspace(path, FullDocument(), &message)) << path.toStdString();
    EXPECT_TRUE(message.startsWith("Could not save \"" + path + "\": ")) << message.toStdString();
    EXPECT_GT(message.size(), QString("Could not save \"" + path + "\": .").size()) << "no reason given";
  }
  EXPECT_EQ(ReadAll(dir.filePath("plain")), QByteArray("not a folder"));
}

TEST(WorkspaceFile, AFailedSaveLeavesTheOldFileIntact) {
  QTemporaryDir dir;
  const QString path = dir.filePath("trig.curvenest");
  QString message;
  WorkspaceDocument old;
  old.equations = {{"sin(x)", "", 255}};
  ASSERT_TRUE(WriteWorkspace(path, old, &message));
  const QByteArray oldBytes = ReadAll(path);

  // A file size limit makes the write fail halfway, like a full disk, and
  // holds for root too. The signal it raises is ignored so write() reports it.
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  rlimit small = saved;
  small.rlim_cur = 64;
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool written = WriteWorkspace(path, FullDocument(), &message);
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);

  EXPECT_FALSE(written);
  EXPECT_EQ(message.toStdString(), "Could not save \"" + path.toStdString() + "\": File too large.");
  EXPECT_EQ(ReadAll(path), oldBytes);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"trig.curvenest"})
      << "the half-written temporary file was left behind";
}

// Run by tests/app/check_full_disk.sh on a small tmpfs it mounts: workspace
// and data files on a disk that fills up while they are written.
TEST(FullDisk, SavesFailWholeAndKeepTheOldFiles) {
  const char* full = std::getenv("CN_FULL_DIR");
  if (!full) GTEST_SKIP() << "run by check_full_disk.sh on a small tmpfs";
  const QDir dir(QString::fromLocal8Bit(full));
  const QString workspace = dir.filePath("old.curvenest"), data = dir.filePath("old.txt");
  QString message;
  WorkspaceDocument old;
  old.equations = {{"sin(x)", "", 255}};
  ASSERT_TRUE(WriteWorkspace(workspace, old, &message)) << message.toStdString();
  ASSERT_TRUE(WriteWholeFile(data, "1 2\r\n").isEmpty());
  // Fill what is left but a few bytes.
  {
    QFile filler(dir.filePath("filler2"));
    ASSERT_TRUE(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    const QByteArray block(512, 'f');
    while (filler.write(block) == block.size()) {
    }
  }
  WorkspaceDocument big = FullDocument();
  big.statX.assign(2000, "123456.789");
  big.statY.assign(2000, "-0.000123");
  EXPECT_FALSE(WriteWorkspace(workspace, big, &message));
  EXPECT_EQ(message.toStdString(), "Could not save \"" + workspace.toStdString() + "\": No space left on device.");
  EXPECT_EQ(WriteWholeFile(data, QByteArray(20000, '7')), "No space left on device");
  WorkspaceDocument opened;
  EXPECT_TRUE(ReadWorkspace(workspace, &opened, &message));
  EXPECT_EQ(opened, old);
  EXPECT_EQ(ReadAll(data), QByteArray("1 2\r\n"));
  QFile::remove(dir.filePath("filler2"));
}

TEST(WorkspaceFile, DataFilesAreReadWithTheWorkspaceRules) {
  QString reason;
  EXPECT_FALSE(ReadPlainFile("/dev/zero", 1 << 20, &reason));
  EXPECT_EQ(reason, "it is not a plain file");
  QTemporaryDir dir;
  WriteAll(dir.filePath("big.txt"), QByteArray(2048, '1'));
  EXPECT_FALSE(ReadPlainFile(dir.filePath("big.txt"), 2047, &reason));
  EXPECT_EQ(reason, "it is larger than 2047 bytes");
  EXPECT_EQ(ReadPlainFile(dir.filePath("big.txt"), 2048, &reason)->size(), 2048);
}

}  // namespace
}  // namespace cn
