// The drawing routine on its own, and the files it writes. Positions are
// worked out by hand from the mapping: on a side of S pixels showing -10..10,
// one unit is S / 20 pixels, world x lies at column (x + 10) * S / 20 and
// world y at row (10 - y) * S / 20.
#include <gtest/gtest.h>

#include <QFile>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QEventLoop>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QXmlStreamReader>
#include <cmath>
#include <functional>
#include <random>
#include <thread>
#include <vector>

#include "analysis/sweeps.h"
#include "workspace/graph_painter.h"
#include "workspace/plane_pixels.h"
#include "workspace/jobs/graph_job.h"
#include "workspace/model/workspace_session.h"

namespace cn {
namespace {

constexpr std::uint32_t kRed = 255, kBlue = 0xFF0000;

bool IsColor(QRgb pixel, std::uint32_t packed) {
  return qRed(pixel) == static_cast<int>(packed & 0xFF) && qGreen(pixel) == static_cast<int>((packed >> 8) & 0xFF) &&
         qBlue(pixel) == static_cast<int>((packed >> 16) & 0xFF);
}
bool IsDark(QRgb pixel) { return qGray(pixel) < 128; }

// A square of side S showing -10..10 on both axes.
struct Plane {
  int side;
  double Col(double x) const { return (x + 10) * side / 20.0; }
  double Row(double y) const { return (10 - y) * side / 20.0; }
  // Pixels of `image` matching `test` in the box of `reach` pixels around world (x, y).
  template <class Test>
  int Around(const QImage& image, double x, double y, int reach, Test test) const {
    int n = 0;
    const int cx = static_cast<int>(Col(x)), cy = static_cast<int>(Row(y));
    for (int py = std::max(0, cy - reach); py <= std::min(image.height() - 1, cy + reach); ++py)
      for (int px = std::max(0, cx - reach); px <= std::min(image.width() - 1, cx + reach); ++px)
        if (test(image.pixel(px, py))) ++n;
    return n;
  }
};

GraphDescription Described(std::vector<Equation> equations, bool writeEquations = false) {
  GraphDescription graph;
  graph.plotted = true;
  graph.equations = std::move(equations);
  graph.writeEquations = writeEquations;
  return graph;
}

TEST(GraphPainter, AxesCurveAndConditionAtTwoSizes) {
  const GraphDescription graph = Described({{"x^2", "", kBlue}, {"x", "x >= 1", kRed}});
  for (int side : {481, 800}) {
    SCOPED_TRACE(side);
    const Plane p{side};
    const QImage image = RenderGraph(graph, QSize(side, side));
    ASSERT_EQ(image.size(), QSize(side, side));
    // The axes through the middle: a full dark row and column (one pixel may
    // go to a crossing curve).
    const int mid = static_cast<int>(p.Row(0));
    int row = 0, column = 0;
    for (int i = 0; i < side; ++i) {
      row += IsDark(image.pixel(i, mid)) || IsDark(image.pixel(i, mid - 1)) || IsColor(image.pixel(i, mid), kBlue) ||
             IsColor(image.pixel(i, mid), kRed);
      column += IsDark(image.pixel(mid, i)) || IsDark(image.pixel(mid - 1, i)) || IsColor(image.pixel(mid, i), kBlue) ||
                IsColor(image.pixel(mid, i), kRed);
    }
    EXPECT_GE(row, side - 2);
    EXPECT_GE(column, side - 2);
    // Ticks reach 0.2 units from the axis at whole numbers, not between.
    EXPECT_TRUE(IsDark(image.pixel(static_cast<int>(p.Col(5)), static_cast<int>(p.Row(0.15)))));
    EXPECT_FALSE(IsDark(image.pixel(static_cast<int>(p.Col(5.5)), static_cast<int>(p.Row(0.15)))));
    // The label "4" hangs below its tick.
    EXPECT_GT(p.Around(image, 4.1, -0.8, side / 60, IsDark), 3);
    // x^2 passes (2, 4) and (-3, 9), not (2, -4).
    EXPECT_GT(p.Around(image, 2, 4, 2, [](QRgb c) { return IsColor(c, kBlue); }), 2);
    EXPECT_GT(p.Around(image, -3, 9, 2, [](QRgb c) { return IsColor(c, kBlue); }), 2);
    EXPECT_EQ(p.Around(image, 2, -4, 4, [](QRgb c) { return IsColor(c, kBlue); }), 0);
    // y = x only where x >= 1.
    EXPECT_GT(p.Around(image, 5, 5, 2, [](QRgb c) { return IsColor(c, kRed); }), 2);
    EXPECT_EQ(p.Around(image, 0.5, 0.5, 3, [](QRgb c) { return IsColor(c, kRed); }), 0);
    EXPECT_EQ(p.Around(image, -5, -5, 4, [](QRgb c) { return IsColor(c, kRed); }), 0);
  }
}

// The horizontal extent of dark pixels in a band of rows.
std::pair<int, int> InkColumns(const QImage& image, int top, int bottom, int left, int right) {
  int first = right + 1, last = left - 1;
  for (int y = std::max(0, top); y <= std::min(image.height() - 1, bottom); ++y)
    for (int x = std::max(0, left); x <= std::min(image.width() - 1, right); ++x)
      if (IsDark(image.pixel(x, y))) {
        first = std::min(first, x);
        last = std::max(last, x);
      }
  return {first, last};
}

TEST(GraphPainter, LabelsCutByTheEdgeMoveInside) {
  // Ticks every 2 units on 800 pixels: the labels do not touch each other.
  const Plane p{800};
  GraphDescription graph;
  graph.window.xstep = 2;
  const QImage image = RenderGraph(graph, QSize(800, 800));
  QFont font("DejaVu Sans");
  font.setPointSizeF(8.25);
  font.setBold(true);
  const QFontMetrics metrics(font, &image);
  // "-10" under the left end of the x axis: whole, starting at the left edge.
  const int top = static_cast<int>(p.Row(-0.3)), bottom = top + metrics.height();
  const auto [first, last] = InkColumns(image, top, bottom, 0, static_cast<int>(p.Col(-8.6)));
  EXPECT_LE(first, 2);
  EXPECT_GE(last - first + 1, metrics.boundingRect("-10").width() - 4);  // cut in half it would be about 10
  // " 10 " at the right end: whole, ending within a blank of the right edge.
  const auto [first10, last10] = InkColumns(image, top, bottom, static_cast<int>(p.Col(8.6)), 799);
  EXPECT_GE(last10, 799 - metrics.horizontalAdvance(' ') - 2);
  EXPECT_GE(last10 - first10 + 1, metrics.boundingRect("10").width() - 2);
}

TEST(GraphPainter, AxesOutsideTheWindowLabelAlongTheNearestEdge) {
  const int side = 400;
  GraphDescription right;  // x 20..30: the y axis lies left of the plane
  right.window.xmin = 20;
  right.window.xmax = 30;
  QImage image = RenderGraph(right, QSize(side, side));
  // y = 5 lies at row 100; its label runs along the left edge.
  EXPECT_GT(InkColumns(image, 94, 106, 0, 30).second, 0);
  EXPECT_LE(InkColumns(image, 94, 106, 0, 30).first, 6);  // after the label's leading blank

  GraphDescription below;  // y 20..30: the x axis lies below the plane
  below.window.ymin = 20;
  below.window.ymax = 30;
  image = RenderGraph(below, QSize(side, side));
  // x = 4 lies at column 280; its label sits on the bottom edge.
  const auto [first, last] = InkColumns(image, side - 14, side - 1, 270, 292);
  EXPECT_LE(first, last);
  // Nothing of it above the bottom band.
  EXPECT_GT(InkColumns(image, side - 40, side - 20, 270, 292).first, 292);
}

// Labels that would run together are thinned to every second, fifth, tenth
// ... counted from 0, which itself gives way to the axis it sits on; the
// ticks all stay.
TEST(GraphPainter, TickLabelsNeverRunTogether) {
  struct Case {
    int side;
    std::vector<int> labelled, bare;
  };
  const Case cases[] = {
      {800, {-9, -1, 1, 3, 9}, {}},
      {481, {-10, -4, 2, 8, 10}, {-7, -3, 1, 3, 7}},
      {200, {-5, 5}, {-7, -3, 1, 3, 7}},
  };
  for (const Case& c : cases) {
    const Plane p{c.side};
    const QImage image = RenderGraph(GraphDescription{}, QSize(c.side, c.side));
    // The band under the x axis, inside the tick spacing, away from the ticks.
    const auto ink = [&](int x) {
      const int half = static_cast<int>((p.Col(x + 0.35) - p.Col(x - 0.35)) / 2);
      return InkColumns(image, static_cast<int>(p.Row(-0.35)), static_cast<int>(p.Row(-0.6)),
                        static_cast<int>(p.Col(x)) - half, static_cast<int>(p.Col(x)) + half);
    };
    for (const int x : c.labelled) EXPECT_LE(ink(x).first, ink(x).second) << c.side << " px: no label at " << x;
    for (const int x : c.bare) EXPECT_GT(ink(x).first, ink(x).second) << c.side << " px: a label at " << x;
    // Every tick is still there.
    for (int x = -9; x <= 9; ++x) {
      EXPECT_TRUE(IsDark(image.pixel(static_cast<int>(p.Col(x)), static_cast<int>(p.Row(0.1))))) << c.side << " " << x;
    }
  }
}

// A window and a plane side for the tests that compare two ways of drawing.
struct WindowCase {
  int xmin, xmax, ymin, ymax, side;
  void Apply(GraphDescription& graph) const {
    graph.window.xmin = static_cast<std::int16_t>(xmin);
    graph.window.xmax = static_cast<std::int16_t>(xmax);
    graph.window.ymin = static_cast<std::int16_t>(ymin);
    graph.window.ymax = static_cast<std::int16_t>(ymax);
  }
};

// Dots sampled on every core and reduced to the pixels they hit paint the
// same picture as one sample after another did.
TEST(GraphPainter, ParallelDotsPaintTheSamePicture) {
  GraphDescription graph = Described({{"x^2", "", kBlue},
                                      {"sin(x)*5", "x >= -2", kRed},
                                      {"1/x", "", 0x00FF00},
                                      {"sqrt(x)", "x < 7", 0x808000},
                                      {"rnd(1)*0+tan(x)", "", 0xFF00FF},
                                      {"tanx", "", 0x0000FF}});
  graph.statPoints = {{1, 1}, {-3, 4}};
  using Case = WindowCase;
  const Case cases[] = {{-10, 10, -10, 10, 481},
                        {-10, 10, -10, 10, 200},
                        {-300, 700, -50, 50, 333},
                        {3, 5, -1, 30, 640},
                        {-4000, 4000, -3, 3, 97},
                        {-10, 10, 10, -10, 150}};
  for (const Case& c : cases) {
    c.Apply(graph);
    PaintOptions one;
    one.parallel = false;
    int shown = 0;
    PaintOptions all;
    all.shown = [&](const QImage&) { ++shown; };
    const QImage expected = RenderGraph(graph, QSize(c.side, c.side), 96, one);
    EXPECT_TRUE(RenderGraph(graph, QSize(c.side, c.side), 96, all) == expected)
        << c.xmin << ".." << c.xmax << " at " << c.side << " px";
  }
}

// Runs f on a thread of its own, whose random generator starts afresh.
template <class F>
auto InFreshThread(F f) {
  decltype(f()) result;
  std::thread([&] { result = f(); }).join();
  return result;
}

// Connected samples sampled on every core paint, pixel for pixel, what one
// sample after the other paints: stretch seams, breaks and random draws
// included. Steep, broken at poles, under conditions, failing on a
// half-line, flat, fast-oscillating and random curves, on narrow, wide and
// upside-down windows.
TEST(GraphPainter, ParallelLinesPaintTheSequentialPicture) {
  GraphDescription graph = Described({{"x^2", "", kBlue},
                                      {"sin(x)*5", "x >= -2", kRed},
                                      {"1/x", "", 0x00FF00},
                                      {"sqrt(x)", "x < 7", 0x808000},
                                      {"tan(x)", "", 0xFF00FF},
                                      {"3", "", 0x0000FF},
                                      {"sin(50*x)*3", "", 0x00FFFF},
                                      {"1000*x", "x <= 0.5", 0x008080},
                                      {"rnd(1)/10-4", "", 0x800080}});
  graph.connectSamples = true;
  using Case = WindowCase;
  const Case cases[] = {{-10, 10, -10, 10, 481}, {-10, 10, -10, 10, 800},   {-10, 10, -10, 10, 200},
                        {-1, 1, -1, 1, 400},     {3, 5, -1, 30, 640},       {-1000, 1000, -50, 50, 333},
                        {-300, 300, -3, 3, 97},  {-10, 10, 10, -10, 400}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.xmin << ".." << c.xmax << " x " << c.ymin << ".." << c.ymax << " at "
                                    << c.side << " px");
    c.Apply(graph);
    PaintOptions one;
    one.parallel = false;
    const QImage expected = InFreshThread([&] { return RenderGraph(graph, QSize(c.side, c.side), 96, one); });
    const QImage image = InFreshThread([&] { return RenderGraph(graph, QSize(c.side, c.side), 96); });
    int differ = 0;
    for (int y = 0; y < c.side; ++y) {
      for (int x = 0; x < c.side; ++x) differ += image.pixel(x, y) != expected.pixel(x, y);
    }
    EXPECT_EQ(differ, 0);
  }
}

// Polylines painted in bands of columns paint the pixels of drawPolyline one
// after the other: dense oscillations crossing every row many times per
// column, jitter, near-vertical runs, repeated points, runs out past the
// edges, lines that turn back and loop, pens of several widths; handed over
// whole, band range by band range, or with the caller made to paint as it
// hands over; a second line of another colour over the first where they cross.
TEST(GraphPainter, BandsPaintTheWholePolyline) {
  const int w = 300, h = 200;
  std::mt19937 random(7);
  std::uniform_real_distribution<double> unit(0, 1);
  struct Case {
    const char* name;
    std::function<QPointF(double)> at;  // of t from 0 to 1
    int points, pen;
  };
  const auto graph = [](std::function<double(double)> y) {
    return [y](double t) {
      const double x = -10 + (w + 20.0) * t;
      return QPointF(x, y(x));
    };
  };
  const Case cases[] = {
      {"oscillating", graph([](double x) { return 100 + 60 * std::sin(x * 3); }), 40000, 2},
      {"jitter", graph([&](double x) { return 100 + x / 10 + 8 * unit(random); }), 20000, 2},
      {"steep", graph([](double x) { return 100 + 2000 * std::sin(x / 9); }), 30000, 2},
      {"beyond the edges", graph([](double x) { return -50 + 300 * std::sin(x / 40); }), 5000, 3},
      {"repeated points", graph([](double x) { return 50 + std::floor(x / 7) * 3; }), 8000, 2},
      {"wide pen", graph([](double x) { return 100 + 40 * std::sin(x / 2); }), 20000, 5},
      {"loops", [](double t) { return QPointF(150 + 140 * std::cos(t * 40), 100 + 90 * std::sin(t * 37)); }, 9000, 2},
      {"back and forth", [](double t) { return QPointF(150 + 160 * std::sin(t * 25), 20 + 160 * t); }, 6000, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QPolygonF line, across;
    for (int i = 0; i < c.points; ++i) line.append(c.at(static_cast<double>(i) / (c.points - 1)));
    for (int i = 0; i <= 600; ++i) across.append(QPointF(-5 + i * 0.52, 30 + i * 0.25 + 10 * std::sin(i * 0.7)));
    const QPen first(QColor(kRed), c.pen, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    QPen second = first;
    second.setColor(QColor(kBlue));
    // With kFewWaiting the caller paints as soon as 100 points wait.
    enum class Way { kOneAfterTheOther, kWhole, kBandRanges, kFewWaiting };
    const auto paint = [&](Way way) {
      QImage image(w, h, QImage::Format_RGB32);
      image.fill(Qt::white);
      if (way == Way::kOneAfterTheOther) {
        QPainter painter(&image);
        painter.setClipRect(QRect(0, 0, w, h));
        painter.setPen(first);
        painter.drawPolyline(line);
        painter.setPen(second);
        painter.drawPolyline(across);
        return image;
      }
      BandPainter bands(image, QRect(0, 0, w, h), c.pen + 2, false, way == Way::kFewWaiting ? 100 : 1 << 20);
      if (way != Way::kBandRanges) {
        bands.Paint(line, first);
      } else {
        int from = std::numeric_limits<int>::min();
        for (const int to : {2, 3, 7}) {
          bands.Paint(line, first, from, to);
          from = to;
        }
        bands.Paint(line, first, from);
      }
      bands.Paint(across, second);
      bands.Finish();
      return image;
    };
    const QImage expected = paint(Way::kOneAfterTheOther);
    int inked = 0;
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) inked += expected.pixel(x, y) == QColor(kRed).rgb();
    }
    EXPECT_GT(inked, w);  // the line shows at all
    for (const Way way : {Way::kWhole, Way::kBandRanges, Way::kFewWaiting}) {
      const QImage banded = paint(way);
      int differ = 0;
      for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) differ += banded.pixel(x, y) != expected.pixel(x, y);
      }
      EXPECT_EQ(differ, 0) << static_cast<int>(way);
    }
  }
}

// The polylines of one stroke colour in an SVG file, in its user units.
std::vector<std::vector<QPointF>> SvgPolylines(const QString& path, const QString& stroke) {
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::ReadOnly));
  QXmlStreamReader xml(&file);
  std::vector<std::vector<QPointF>> lines;
  std::vector<QString> strokes{QString()};
  while (!xml.atEnd()) {
    xml.readNext();
    if (xml.isStartElement()) {
      const QString own = xml.attributes().value("stroke").toString();
      strokes.push_back(own.isEmpty() ? strokes.back() : own);
      if (xml.name() == QLatin1String("polyline") && strokes.back().compare(stroke, Qt::CaseInsensitive) == 0) {
        std::vector<QPointF> line;
        for (const QString& pair : xml.attributes().value("points").toString().split(' ', Qt::SkipEmptyParts)) {
          const QStringList xy = pair.split(',');
          if (xy.size() == 2) line.emplace_back(xy[0].toDouble(), xy[1].toDouble());
        }
        lines.push_back(std::move(line));
      }
    } else if (xml.isEndElement()) {
      strokes.pop_back();
    }
  }
  EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  return lines;
}

TEST(GraphExport, SvgPolylinesFollowTheEquationAndBreakAtPoles) {
  QTemporaryDir dir;
  const int side = 400;
  struct Case {
    const char* expression;
    std::size_t lines;  // branches visible on -10..10
    double pole;        // a pole no segment may cross (NaN: none)
  };
  const Case cases[] = {
      {"1/x", 2, 0},
      {"tan(x)", 7, M_PI / 2},  // poles at +-pi/2, +-3pi/2, +-5pi/2 cut it in seven
      {"sqrt(4-x^2)", 1, NAN},  // one arc; the failed samples outside [-2, 2] draw nothing
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expression);
    const QString path = dir.filePath("graph.svg");
    const GraphDescription graph = Described({{c.expression, "", kRed}});
    ASSERT_EQ(ExportGraph(graph, path, QSize(side, side)), "");
    const auto lines = SvgPolylines(path, "#ff0000");
    EXPECT_EQ(lines.size(), c.lines);
    for (const auto& line : lines) {
      EXPECT_GE(line.size(), 2u);
      for (std::size_t i = 0; i < line.size(); ++i) {
        const double x = line[i].x() * 20.0 / side - 10, y = 10 - line[i].y() * 20.0 / side;
        const bool onBorder = line[i].y() < 0 || line[i].y() > side;  // where a clipped end lies
        if (!onBorder) {
          const double expected = c.expression[0] == '1'   ? 1 / x
                                  : c.expression[0] == 't' ? std::tan(x)
                                                           : std::sqrt(4 - x * x);
          // Within a pixel of the curve, measured along y where it is flat
          // enough; near the poles a tiny x error is a large y error.
          if (std::abs(expected) < 8) {
            EXPECT_NEAR(y, expected, 20.0 / side * 1.5) << "x = " << x;
          }
        }
        if (i > 0 && !std::isnan(c.pole)) {
          const double x0 = line[i - 1].x() * 20.0 / side - 10;
          for (double pole = c.pole - 3 * (c.pole == 0 ? 0 : M_PI); pole <= 10; pole += (c.pole == 0 ? 100 : M_PI))
            EXPECT_FALSE((x0 - pole) * (x - pole) < 0) << "a segment crosses the pole at " << pole;
        }
      }
    }
  }
  // The axes and labels are there as vector shapes and text, the crosshair never.
  QFile file(dir.filePath("graph.svg"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray svg = file.readAll();
  EXPECT_TRUE(svg.contains("<text")) << "labels as text";
  EXPECT_FALSE(svg.contains("<image")) << "no bitmap inside";
}

TEST(GraphExport, PdfShowsTheGraphWhenRendered) {
  if (QProcess::execute("pdftoppm", {"-v"}) < 0) GTEST_SKIP() << "pdftoppm is not installed";
  QTemporaryDir dir;
  const int side = 481;
  const Plane p{side};
  ASSERT_EQ(ExportGraph(Described({{"x^2", "", kBlue}}), dir.filePath("graph.pdf"), QSize(side, side), 96), "");
  // At the screen's resolution the page is the plane again, pixel for pixel.
  ASSERT_EQ(QProcess::execute("pdftoppm",
                              {"-r", "96", "-png", "-singlefile", dir.filePath("graph.pdf"), dir.filePath("page")}),
            0);
  QImage page(dir.filePath("page.png"));
  ASSERT_FALSE(page.isNull());
  EXPECT_NEAR(page.width(), side, 1);
  EXPECT_NEAR(page.height(), side, 1);
  const auto blueish = [](QRgb c) { return qBlue(c) > 150 && qRed(c) < 120 && qGreen(c) < 120; };
  EXPECT_GT(p.Around(page, 2, 4, 2, blueish), 1);
  EXPECT_GT(p.Around(page, -2.5, 6.25, 2, blueish), 1);
  EXPECT_EQ(p.Around(page, 2, -4, 5, blueish), 0);
  EXPECT_GT(p.Around(page, 0, 5, 1, IsDark), 0);  // the y axis
  EXPECT_EQ(qGray(page.pixel(20, 20)), 255);      // white background, nothing at (-9.2, 9.2)
}

TEST(GraphExport, PngAtTheChosenSizeAndFailuresLeaveNoFile) {
  QTemporaryDir dir;
  const QString png = dir.filePath("graph.png");
  ASSERT_EQ(ExportGraph(Described({{"x", "", kRed}}), png, QSize(300, 200)), "");
  const QImage image(png);
  ASSERT_EQ(image.size(), QSize(300, 200));
  EXPECT_TRUE(IsDark(image.pixel(150, 5)));  // the y axis in the middle column
  EXPECT_TRUE(IsDark(image.pixel(5, 100)));  // the x axis in the middle row
  EXPECT_TRUE(IsColor(image.pixel(225, 50), kRed) || IsColor(image.pixel(224, 50), kRed) ||
              IsColor(image.pixel(225, 49), kRed) || IsColor(image.pixel(224, 49), kRed));  // (5, 5)

  const QString missing = dir.filePath("no/such/folder/graph.png");
  const QString error = ExportGraph(Described({}), missing, QSize(100, 100));
  EXPECT_TRUE(error.contains(missing)) << error.toStdString();
  EXPECT_FALSE(QFile::exists(missing));
  EXPECT_TRUE(ExportGraph(Described({}), dir.filePath("graph.gif"), QSize(100, 100)).contains("graph.gif"));
  EXPECT_FALSE(ExportGraph(Described({}), png, QSize(0, 100)).isEmpty());
  // A failed export leaves the earlier file as it was.
  EXPECT_EQ(QImage(png).size(), QSize(300, 200));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"graph.png"});
}

TEST(GraphPainter, ConnectedSamplesCloseGapsButNotPoles) {
  // y = 1000x rises 1 unit (20 pixels) per sample on 400 pixels: as dots a
  // dashed trace, as lines an unbroken one. tan(x) jumps at its poles.
  const int side = 400;
  const Plane p{side};
  const auto redRows = [&](const QImage& image, int left, int right) {
    int rows = 0;
    for (int y = 0; y < side; ++y) {
      bool red = false;
      for (int x = left; x <= right; ++x) red = red || IsColor(image.pixel(x, y), kRed);
      rows += red;
    }
    return rows;
  };
  GraphDescription steep = Described({{"1000*x", "", kRed}});
  const int column = static_cast<int>(p.Col(0));
  EXPECT_LT(redRows(RenderGraph(steep, QSize(side, side)), column - 3, column + 3), side / 2);
  steep.connectSamples = true;
  EXPECT_GE(redRows(RenderGraph(steep, QSize(side, side)), column - 3, column + 3), side - 2);

  GraphDescription tangent = Described({{"tan(x)", "", kRed}});
  tangent.connectSamples = true;
  const QImage image = RenderGraph(tangent, QSize(side, side));
  // Near the pole at pi/2 the curve runs off the top on the left of it and
  // comes in from the bottom on its right; no line joins the two.
  const int pole = static_cast<int>(p.Col(M_PI / 2));
  EXPECT_LT(redRows(image, pole - 1, pole + 1), side / 4);
  EXPECT_GT(p.Around(image, 1.4, std::tan(1.4), 2, [](QRgb c) { return IsColor(c, kRed); }), 0);
  EXPECT_GT(p.Around(image, 1.75, std::tan(1.75), 2, [](QRgb c) { return IsColor(c, kRed); }), 0);
}

// The equations are sampled at once, yet the bar of a Graph job shows them
// one after the other, as they used to draw: the first equation not drawn
// whole yet, from empty to full on the window's maximum, and empty at the end.
TEST(GraphPainter, JobBarShowsOneEquationAfterAnother) {
  for (const bool connect : {false, true}) {
    SCOPED_TRACE(connect ? "connected samples" : "dots");
    GraphDescription graph = Described({{"sin(x)", "", kRed}, {"cos(x)", "", kBlue}});
    graph.window.xmin = -5000;
    graph.window.xmax = 5000;
    graph.connectSamples = connect;
    GraphJob job(graph, QSize(200, 200), 1, 96);
    std::vector<std::pair<int, int>> bar;
    bool complete = false;
    QEventLoop loop;
    QObject::connect(&job, &GraphJob::ProgressChanged, [&](int max, int value) { bar.emplace_back(max, value); });
    QObject::connect(&job, &GraphJob::Finished, [&](const QImage&, bool whole) {
      complete = whole;
      loop.quit();
    });
    QTimer guard;  // only against a hang
    QObject::connect(&guard, &QTimer::timeout, &loop, &QEventLoop::quit);
    guard.start(300000);
    job.Start();
    loop.exec();
    ASSERT_TRUE(complete);
    ASSERT_GE(bar.size(), 3u);
    const int max = MakeSweepProgress(graph.window.xmin, graph.window.xmax).max;
    int drops = 0;
    for (std::size_t k = 0; k < bar.size(); ++k) {
      EXPECT_EQ(bar[k].first, max);
      EXPECT_GE(bar[k].second, 0);
      EXPECT_LE(bar[k].second, max);
      if (k > 0 && k + 1 < bar.size()) drops += bar[k].second < bar[k - 1].second;
    }
    // Back to the start once, for the second equation, not filled once for both.
    EXPECT_EQ(drops, 1);
    EXPECT_EQ(bar.back().second, 0);
  }
}

// Connected samples show the picture as it grows: every picture shown has
// each pixel either as before the curve or as in the finished picture, and
// the curve's pixels only ever grow.
TEST(GraphPainter, ConnectedLinesShowThePictureAsItGrows) {
  GraphDescription graph = Described({{"sin(x)*5", "", kRed}});
  graph.connectSamples = true;
  graph.window.xmin = -3000;
  graph.window.xmax = 3000;
  GraphDescription empty = graph;
  empty.equations[0].expression = "sqrt(-1)";
  const QSize side(300, 300);
  const QImage before = RenderGraph(empty, side, 96);
  const QImage after = RenderGraph(graph, side, 96);
  std::vector<int> inked;
  PaintOptions options;
  options.shown = [&](const QImage& sofar) {
    int n = 0, stray = 0;
    for (int y = 0; y < side.height(); ++y) {
      for (int x = 0; x < side.width(); ++x) {
        const QRgb pixel = sofar.pixel(x, y);
        stray += pixel != before.pixel(x, y) && pixel != after.pixel(x, y);
        n += IsColor(pixel, kRed);
      }
    }
    EXPECT_EQ(stray, 0);
    inked.push_back(n);
  };
  EXPECT_TRUE(RenderGraph(graph, side, 96, options) == after);
  ASSERT_FALSE(inked.empty());  // six million samples take longer than a picture's interval
  EXPECT_TRUE(std::is_sorted(inked.begin(), inked.end()));
}

TEST(GraphPainter, StoppedDrawingKeepsWhatWasDrawn) {
  const GraphDescription graph = Described({{"x", "", kRed}, {"-x", "", kBlue}});
  QImage image(400, 400, QImage::Format_RGB32);
  image.fill(Qt::white);
  PaintOptions options;
  options.parallel = false;  // asked at every bar step, one sample after the other
  int asked = 0;
  options.cancelled = [&asked] { return ++asked == 20; };  // after 10000 samples of the first
  QPainter painter(&image);
  EXPECT_FALSE(DrawGraph(painter, image.size(), graph, options));
  painter.end();
  const Plane p{400};
  EXPECT_GT(p.Around(image, -5, -5, 2, [](QRgb c) { return IsColor(c, kRed); }), 0);  // drawn before the stop
  EXPECT_EQ(p.Around(image, 5, 5, 3, [](QRgb c) { return IsColor(c, kRed); }), 0);    // not reached
  EXPECT_EQ(p.Around(image, -5, 5, 3, [](QRgb c) { return IsColor(c, kBlue); }), 0);  // never started

  // On every core: stopped at the first question, with the stat plot never drawn.
  GraphDescription wide = graph;
  wide.window.xmin = -32768;
  wide.window.xmax = 32767;
  wide.statPoints = {{0, 0}};
  PaintOptions stopAtOnce;
  stopAtOnce.cancelled = [] { return true; };
  QPainter again(&image);
  EXPECT_FALSE(DrawGraph(again, image.size(), wide, stopAtOnce));
}

}  // namespace
}  // namespace cn

namespace cn {
namespace {

// A workspace file's marks reach every picture made of it: a ring in the
// row's colour with the point written beside it; a label that would cover
// another is left out, its ring kept.
TEST(GraphExport, MarksShowInEveryKindOfFile) {
  WorkspaceDocument document;
  document.equations = {{"x^2", "", kBlue}};
  // The second label would cover the first, the third the x axis's tick labels.
  document.marks = {{2, -4, 0}, {2.6, -4, 0}, {-5.9, -0.9, 0}};
  WorkspaceSession session;
  session.Apply(document);
  const GraphDescription graph = session.Graph();
  const int side = 481;
  const Plane p{side};
  const QImage image = RenderGraph(graph, QSize(side, side));
  // Rings are smoothed: blue over white.
  const auto blue = [](QRgb c) { return qBlue(c) > 200 && qRed(c) < 200 && qGreen(c) < 200; };
  EXPECT_GT(p.Around(image, 2, -4, 5, blue), 16) << "the ring";
  EXPECT_EQ(qGray(image.pixel(static_cast<int>(p.Col(2)), static_cast<int>(p.Row(-4)))), 255) << "a ring, not a dot";
  EXPECT_GT(p.Around(image, 3.2, -3.4, 14, blue), 10) << "the label beside it";

  QTemporaryDir dir;
  ASSERT_EQ(ExportGraph(graph, dir.filePath("g.svg"), QSize(side, side), 96), "");
  QFile svg(dir.filePath("g.svg"));
  ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
  const QByteArray text = svg.readAll();
  EXPECT_TRUE(text.contains("(2, -4)"));
  EXPECT_FALSE(text.contains("(2.6, -4)")) << "left out where it would cover the first";
  EXPECT_FALSE(text.contains("(-5.9, -0.9)")) << "and where it would cover a tick label";
}

}  // namespace
}  // namespace cn
