// curvenest --export run as a script runs it, as its own process without a
// display; the pictures are read back and checked where the curves must be.
#include <gtest/gtest.h>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include "workspace/workspace_file.h"

namespace cn {
namespace {

class CommandLineExport : public ::testing::Test {
 protected:
  QTemporaryDir dir;

  QString Path(const QString& name) const { return dir.filePath(name); }

  // Runs curvenest with `args`; the exit status, and stderr in `*err`.
  int Run(const QStringList& args, QString* err = nullptr) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) env.remove(name);
    process.setProcessEnvironment(env);
    process.start(CURVENEST_BINARY, args);
    EXPECT_TRUE(process.waitForFinished(60000));
    if (err) *err = QString::fromLocal8Bit(process.readAllStandardError());
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  }

  void WriteFile(const QString& path, const WorkspaceDocument& document) {
    QString message;
    ASSERT_TRUE(WriteWorkspace(path, document, &message)) << message.toStdString();
  }

  // The pixel of world (x, y) on a square picture of `side` pixels showing
  // [xmin, xmax] x [ymin, ymax] edge to edge.
  static QPoint Pixel(int side, double x, double y, double xmin = -10, double xmax = 10, double ymin = -10,
                      double ymax = 10) {
    return {static_cast<int>((x - xmin) / (xmax - xmin) * (side - 1) + 0.5),
            static_cast<int>((ymax - y) / (ymax - ymin) * (side - 1) + 0.5)};
  }
  // Pixels within `radius` of `centre` that `match`.
  static int Count(const QImage& image, QPoint centre, int radius, bool (*match)(QRgb)) {
    int n = 0;
    for (int y = centre.y() - radius; y <= centre.y() + radius; ++y)
      for (int x = centre.x() - radius; x <= centre.x() + radius; ++x)
        if (image.rect().contains(x, y) && match(image.pixel(x, y))) ++n;
    return n;
  }
  static bool Red(QRgb p) { return qRed(p) > 200 && qGreen(p) < 90 && qBlue(p) < 90; }
  static bool Blue(QRgb p) { return qBlue(p) > 200 && qRed(p) < 90 && qGreen(p) < 90; }

  // The polylines of more than `minPoints` points drawn with `stroke` (the
  // curves; axes and ticks have two points each).
  static int Curves(const QString& svgPath, const QString& stroke, int minPoints = 20) {
    QFile file(svgPath);
    if (!file.open(QIODevice::ReadOnly)) return -1;
    QXmlStreamReader xml(&file);
    QStringList strokes{""};
    int n = 0;
    while (!xml.atEnd()) {
      xml.readNext();
      if (xml.isStartElement() && xml.name() == QLatin1String("g")) {
        const QString own = xml.attributes().value("stroke").toString();
        strokes.append(own.isEmpty() ? strokes.last() : own);
      } else if (xml.isEndElement() && xml.name() == QLatin1String("g")) {
        strokes.removeLast();
      } else if (xml.isStartElement() && xml.name() == QLatin1String("polyline")) {
        const QString own = xml.attributes().value("stroke").toString();
        const qsizetype points = xml.attributes().value("points").toString().split(' ', Qt::SkipEmptyParts).size();
        if ((own.isEmpty() ? strokes.last() : own).compare(stroke, Qt::CaseInsensitive) == 0 && points > minPoints) ++n;
      }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return n;
  }
};

TEST_F(CommandLineExport, PngShowsTheCurvesWhereTheyBelong) {
  const int side = 201;
  QString err;
  ASSERT_EQ(Run({"--export", Path("g.png"), "--size", QString::number(side), "-e", "x^2/10", "--color", "#FF0000", "-e",
                 "3", "--condition", "x>0", "--color", "#0000ff"},
                &err),
            0)
      << err.toStdString();
  EXPECT_EQ(err, "");
  const QImage image(Path("g.png"));
  ASSERT_EQ(image.size(), QSize(side, side));
  // y = x^2/10 passes (5, 2.5), (-5, 2.5) and (8, 6.4); nowhere near (0, 5) or (-5, -5).
  for (const auto& [x, y] : {std::pair{5.0, 2.5}, {-5.0, 2.5}, {8.0, 6.4}, {0.0, 0.0}})
    EXPECT_GT(Count(image, Pixel(side, x, y), 2, Red), 0) << x << ", " << y;
  for (const auto& [x, y] : {std::pair{0.0, 5.0}, {-5.0, -5.0}, {5.0, 6.0}})
    EXPECT_EQ(Count(image, Pixel(side, x, y), 3, Red), 0) << x << ", " << y;
  // y = 3 only where x > 0.
  EXPECT_GT(Count(image, Pixel(side, 7, 3), 2, Blue), 0);
  EXPECT_GT(Count(image, Pixel(side, 2, 3), 2, Blue), 0);
  EXPECT_EQ(Count(image, Pixel(side, -2, 3), 3, Blue), 0);
  EXPECT_EQ(Count(image, Pixel(side, -7, 3), 3, Blue), 0);
  // The axes cross in the middle; far from everything the paper is white.
  EXPECT_LT(qGray(image.pixel(Pixel(side, 0, -6))), 100);
  EXPECT_LT(qGray(image.pixel(Pixel(side, -6, 0))), 100);
  EXPECT_EQ(image.pixel(Pixel(side, -4.5, -4.5)) & 0xFFFFFF, 0xFFFFFFu);
}

TEST_F(CommandLineExport, WorkspaceFileGivesWindowAndStatPlot) {
  WorkspaceDocument document;
  document.equations.push_back({"5", "", 0xFF0000});  // packed: blue
  document.window = {"-10", "10", "0", "10", "1", "1"};
  document.writeEquations = false;
  document.statX = {"2", "-4", "7"};
  document.statY = {"3", "6"};  // two pairs
  document.showStatPlot = true;
  WriteFile(Path("w.curvenest"), document);
  const int side = 301;
  ASSERT_EQ(Run({"--export", Path("w.png"), "--size", QString::number(side), Path("w.curvenest")}), 0);
  QImage image(Path("w.png"));
  ASSERT_EQ(image.size(), QSize(side, side));
  // The file's window: y = 5 runs across the middle row.
  EXPECT_GT(Count(image, Pixel(side, -7, 5, -10, 10, 0, 10), 2, Blue), 0);
  EXPECT_EQ(Count(image, Pixel(side, -7, 2.5, -10, 10, 0, 10), 3, Blue), 0);
  // The stat plot: red discs on the two pairs only.
  EXPECT_GT(Count(image, Pixel(side, 2, 3, -10, 10, 0, 10), 2, Red), 0);
  EXPECT_GT(Count(image, Pixel(side, -4, 6, -10, 10, 0, 10), 2, Red), 0);
  EXPECT_EQ(Count(image, Pixel(side, 7, 0, -10, 10, 0, 10), 4, Red), 0);

  // --window replaces the file's window: y = 5 is now three quarters up.
  ASSERT_EQ(Run({"--export", Path("w2.png"), "--size", QString::number(side), "--window", "-10,10,-10,10",
                 Path("w.curvenest")}),
            0);
  image.load(Path("w2.png"));
  EXPECT_GT(Count(image, Pixel(side, -7, 5), 2, Blue), 0);
  EXPECT_EQ(Count(image, Pixel(side, -7, 0), 3, Blue), 0);

  // Without Show Stat Plot no point is drawn.
  document.showStatPlot = false;
  WriteFile(Path("w.curvenest"), document);
  ASSERT_EQ(Run({"--export", Path("w3.png"), "--size", QString::number(side), Path("w.curvenest")}), 0);
  image.load(Path("w3.png"));
  EXPECT_EQ(Count(image, QPoint(side / 2, side / 2), side / 2, Red), 0);
}

TEST_F(CommandLineExport, SvgCurvesBreakOnlyWhereTheFunctionDoes) {
  ASSERT_EQ(
      Run({"--export", Path("s.svg"), "-e", "sin(x)", "--color", "#ff0000", "-e", "tan(x)", "--color", "#0000ff"}), 0);
  EXPECT_EQ(Curves(Path("s.svg"), "#ff0000"), 1);
  // tan has six poles in -10..10 (odd multiples of pi/2 up to 5pi/2): seven pieces.
  EXPECT_EQ(Curves(Path("s.svg"), "#0000ff"), 7);
  // Under a condition the line stops where it fails: sqrt(x) for x > 4 is one piece, 0 < x < 4 drawn nowhere.
  ASSERT_EQ(Run({"--export", Path("c.svg"), "-e", "sqrt(x)", "--condition", "x > 4", "--color", "#00ff00"}), 0);
  EXPECT_EQ(Curves(Path("c.svg"), "#00ff00"), 1);
}

TEST_F(CommandLineExport, PdfIsOnePageOfTheGivenSize) {
  QString err;
  ASSERT_EQ(Run({"--export", Path("p.PDF"), "--size", "300", "-e", "x"}, &err), 0) << err.toStdString();
  QFile file(Path("p.PDF"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray bytes = file.readAll();
  EXPECT_TRUE(bytes.startsWith("%PDF-"));
  EXPECT_TRUE(bytes.trimmed().endsWith("%%EOF"));
  const QString pdfinfo = QStandardPaths::findExecutable("pdfinfo");
  if (pdfinfo.isEmpty()) GTEST_SKIP() << "pdfinfo is not installed; the page size is not checked";
  QProcess info;
  info.start(pdfinfo, {Path("p.PDF")});
  ASSERT_TRUE(info.waitForFinished(30000));
  const QString text = QString::fromLocal8Bit(info.readAllStandardOutput());
  EXPECT_TRUE(text.contains(QRegularExpression("Pages:\\s+1\\n"))) << text.toStdString();
  // 300 screen pixels at 96 dpi are 225 points.
  EXPECT_TRUE(text.contains(QRegularExpression("Page size:\\s+225 x 225 pts"))) << text.toStdString();
}

TEST_F(CommandLineExport, FailuresSayWhatAndWhereOnOneLine) {
  const struct {
    QStringList args;
    int status;
    QString err;
  } cases[] = {
      {{"--export", Path("a.png"), "-e", "2*(x"}, 2, "curvenest: -e \"2*(x\": Not enough closing brackets"},
      {{"--export", Path("a.png"), "-e", "x", "--window", "1,1,0,5"}, 2, "curvenest: --window: "},
      {{"--export", Path("a.png"), Path("none.curvenest")},
       1,
       "curvenest: Could not open \"" + Path("none.curvenest") + "\": No such file or directory.\n"},
      {{"--export", Path("none/a.png"), "-e", "x"}, 1, "curvenest: Could not write \"" + Path("none/a.png") + "\""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args.join(' ').toStdString());
    QString err;
    EXPECT_EQ(Run(c.args, &err), c.status);
    EXPECT_TRUE(err.startsWith(c.err)) << err.toStdString();
    EXPECT_EQ(err.count('\n'), 1) << err.toStdString();
    EXPECT_FALSE(QFile::exists(Path("a.png")));
  }
}

}  // namespace
}  // namespace cn
