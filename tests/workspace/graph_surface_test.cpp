// The drawing surface, checked pixel by pixel. Every expected position is
// worked out by hand from the mapping: on a 400 x 400 surface showing
// -10..10 on both axes, one world unit is 20 pixels, x = -10 is pixel column
// 0, y = 10 is pixel row 0, and the origin is pixel (200, 200).
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>
#include <cmath>
#include <limits>
#include <vector>

#include "workspace/graph_surface.h"

namespace {

constexpr int kSide = 400;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
const QRgb kWhite = qRgb(255, 255, 255);

// A surface of kSide x kSide pixels with the default plane (-10..10).
class Surface : public ::testing::Test {
 protected:
  void SetUp() override {
    surface.setFixedSize(kSide, kSide);
    surface.Cls();
    ASSERT_TRUE(surface.SetScale(-10, 10, 10, -10));
  }

  // Pixels that differ from white, and their bounding box.
  struct Ink {
    int count = 0;
    int left = kSide, top = kSide, right = -1, bottom = -1;
  };
  static Ink InkOf(const QImage& image) {
    Ink ink;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x)
        if (image.pixel(x, y) != kWhite) {
          ++ink.count;
          ink.left = std::min(ink.left, x);
          ink.right = std::max(ink.right, x);
          ink.top = std::min(ink.top, y);
          ink.bottom = std::max(ink.bottom, y);
        }
    return ink;
  }

  cn::GraphSurface surface;
};

TEST_F(Surface, ImageHasTheWidgetSizeAndStartsWhite) {
  EXPECT_EQ(surface.Image().size(), QSize(kSide, kSide));
  EXPECT_EQ(surface.Image().format(), QImage::Format_RGB32);
  EXPECT_EQ(InkOf(surface.Image()).count, 0);
}

TEST_F(Surface, MapsWorldToPixelsAndBack) {
  struct Case {
    double x1, y1, x2, y2;  // mapping: left, top, right, bottom
    double x, y;            // world point
    double px, py;          // its pixel position, by hand
  };
  const Case cases[] = {
      {-10, 10, 10, -10, -10, 10, 0, 0},                                             // top-left corner
      {-10, 10, 10, -10, 10, -10, 400, 400},                                         // bottom-right corner
      {-10, 10, 10, -10, 0, 0, 200, 200},                                            // centre
      {-10, 10, 10, -10, 2.5, -1.25, 250, 225}, {0, 5, 40, -15, 10, 0, 100, 100},    // 10 px per unit across, 20 down
      {0, 5, 40, -15, 40, -15, 400, 400},       {10, -10, -10, 10, 5, 5, 100, 300},  // mirrored both ways
      {-1, 1, 1, -1, 0.5, -0.25, 300, 250},                                          // 200 px per unit
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "mapping " << c.x1 << "," << c.y1 << " - " << c.x2 << "," << c.y2 << " point "
                                    << c.x << "," << c.y);
    ASSERT_TRUE(surface.SetScale(c.x1, c.y1, c.x2, c.y2));
    const QPointF pixel = surface.ToPixel(c.x, c.y);
    EXPECT_NEAR(pixel.x(), c.px, 1e-9);
    EXPECT_NEAR(pixel.y(), c.py, 1e-9);
    const QPointF world = surface.ToWorld(QPointF(c.px, c.py));
    EXPECT_NEAR(world.x(), c.x, 1e-12);
    EXPECT_NEAR(world.y(), c.y, 1e-12);
  }
}

TEST_F(Surface, DegenerateOrNonFiniteMappingIsRefusedAndTheOldOneStays) {
  struct Case {
    double x1, y1, x2, y2;
  };
  const Case refused[] = {
      {3, 10, 3, -10},      {-10, 4, 10, 4},       {0, 0, 0, 0},        {kNaN, 10, 10, -10},
      {-10, kInf, 10, -10}, {-10, 10, -kInf, -10}, {-10, 10, 10, kNaN},
  };
  for (const Case& c : refused) {
    SCOPED_TRACE(testing::Message() << c.x1 << "," << c.y1 << " - " << c.x2 << "," << c.y2);
    EXPECT_FALSE(surface.SetScale(c.x1, c.y1, c.x2, c.y2));
    const QPointF pixel = surface.ToPixel(5, 5);
    EXPECT_DOUBLE_EQ(pixel.x(), 300);
    EXPECT_DOUBLE_EQ(pixel.y(), 100);
  }
}

TEST_F(Surface, DotLandsOnThePixelContainingThePointInThePenColour) {
  struct Case {
    double x, y;
    std::uint32_t color;  // red + 256 green + 65536 blue
    int px, py;
    QRgb rgb;
  };
  const Case cases[] = {
      {0, 0, 255, 200, 200, qRgb(255, 0, 0)},
      {0.04, -0.04, 65280, 200, 200, qRgb(0, 255, 0)},                    // 200.8 -> 200
      {-0.01, 0.01, 16711680, 199, 199, qRgb(0, 0, 255)},                 // 199.8 -> 199
      {-10, 10, 255 + 256 * 128 + 65536 * 64, 0, 0, qRgb(255, 128, 64)},  // top-left pixel
      {9.99, -9.99, 0, 399, 399, qRgb(0, 0, 0)},                          // 399.8 -> 399
      {-7.5, 2.5, 0x123456, 50, 150, qRgb(0x56, 0x34, 0x12)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "dot at " << c.x << "," << c.y);
    surface.Cls();
    surface.SetForeColor(c.color);
    surface.PSet(c.x, c.y);
    const QImage& image = surface.Image();
    EXPECT_EQ(image.pixel(c.px, c.py), c.rgb);
    const Ink ink = InkOf(image);
    EXPECT_EQ(ink.count, 1);
  }
}

TEST_F(Surface, DotIsADiscOfThePenWidth) {
  struct Case {
    int width;
    int count;                     // pixels covered, counted by hand
    int left, top, right, bottom;  // bounding box
    bool cornersEmpty;             // round, not square
  };
  // Dot at the origin, which maps to the corner between pixels 199 and 200.
  // Odd widths centre on pixel 200; even widths on that corner. Width 7:
  // rows of 3, 5, 7, 7, 7, 5, 3 pixels.
  const Case cases[] = {
      {1, 1, 200, 200, 200, 200, false}, {2, 4, 199, 199, 200, 200, false}, {3, 9, 199, 199, 201, 201, false},
      {4, 12, 198, 198, 201, 201, true}, {7, 37, 197, 197, 203, 203, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "width " << c.width);
    surface.Cls();
    surface.SetDrawWidth(c.width);
    EXPECT_EQ(surface.DrawWidth(), c.width);
    surface.SetForeColor(255);
    surface.PSet(0, 0);
    const Ink ink = InkOf(surface.Image());
    EXPECT_EQ(ink.count, c.count);
    EXPECT_EQ(ink.left, c.left);
    EXPECT_EQ(ink.top, c.top);
    EXPECT_EQ(ink.right, c.right);
    EXPECT_EQ(ink.bottom, c.bottom);
    EXPECT_EQ(surface.Image().pixel(c.left, c.top) == kWhite, c.cornersEmpty);
  }
}

TEST_F(Surface, DotAtTheEdgeIsClipped) {
  // Width 7 centred on pixel (400, 0), just outside the top-right corner:
  // only columns 397..399 of rows 0..3 remain: 3 + 3 + 2 + 1 pixels.
  surface.SetDrawWidth(7);
  surface.PSet(10, 10);
  const Ink ink = InkOf(surface.Image());
  EXPECT_EQ(ink.count, 9);
  EXPECT_EQ(ink.left, 397);
  EXPECT_EQ(ink.right, 399);
  EXPECT_EQ(ink.top, 0);
  EXPECT_EQ(ink.bottom, 3);
}

TEST_F(Surface, DotsThatCannotShowDrawNothing) {
  const double points[][2] = {
      {kNaN, 0}, {0, kNaN}, {kInf, 0},  {0, -kInf}, {1e300, 1e300}, {-1e20, 0},
      {0, 10.5}, {10.5, 0}, {-10.2, 0}, {0, -10.2}, {-kInf, kInf},
  };
  for (int width : {1, 2, 7}) {
    surface.SetDrawWidth(width);
    for (const auto& p : points) surface.PSet(p[0], p[1]);
  }
  EXPECT_EQ(InkOf(surface.Image()).count, 0);
}

TEST_F(Surface, DrawingDoesNotChangeACopyTakenEarlier) {
  // The clipboard and the printer keep copies of the image.
  surface.PSet(1, 1);
  const QImage copy = surface.Image();
  surface.PSet(-1, -1);
  surface.Line(-10, 0, 10, 0);
  EXPECT_EQ(InkOf(copy).count, 1);
  EXPECT_EQ(copy.pixel(220, 180), qRgb(0, 0, 0));
  EXPECT_EQ(copy.pixel(180, 220), kWhite);
}

TEST_F(Surface, LinesRunBetweenTheirMappedEndpoints) {
  struct Case {
    int width;
    double x1, y1, x2, y2;
    std::vector<QPoint> inked;
    std::vector<QPoint> blank;
  };
  const Case cases[] = {
      // x axis: row 200 from edge to edge.
      {1, -10, 0, 10, 0, {{0, 200}, {200, 200}, {399, 200}}, {{0, 199}, {399, 201}}},
      // y axis: column 200.
      {1, 0, 10, 0, -10, {{200, 0}, {200, 399}}, {{199, 0}, {201, 399}}},
      // From pixel (100, 100) to (300, 100): nothing beyond its ends.
      {1, -5, 5, 5, 5, {{100, 100}, {200, 100}, {299, 100}}, {{98, 100}, {302, 100}, {200, 99}, {200, 101}}},
      // Diagonal corner to corner.
      {1, -10, 10, 10, -10, {{50, 50}, {200, 200}, {350, 350}}, {{50, 53}, {353, 350}}},
      // An even pen straddles the line: rows 199 and 200.
      {2, -10, 0, 10, 0, {{0, 199}, {0, 200}, {399, 199}}, {{0, 198}, {0, 201}}},
      // Endpoints absurdly far out still give the visible part.
      {1, 0, 1e300, 0, -1e300, {{200, 0}, {200, 399}}, {{199, 200}, {201, 200}}},
      {1, -1e9, -5, 1e9, -5, {{0, 300}, {399, 300}}, {{0, 299}, {0, 301}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "line " << c.x1 << "," << c.y1 << " - " << c.x2 << "," << c.y2 << " width "
                                    << c.width);
    surface.Cls();
    surface.SetDrawWidth(c.width);
    surface.SetForeColor(0);
    surface.Line(c.x1, c.y1, c.x2, c.y2);
    for (const QPoint& p : c.inked) EXPECT_EQ(surface.Image().pixel(p), qRgb(0, 0, 0)) << p.x() << "," << p.y();
    for (const QPoint& p : c.blank) EXPECT_EQ(surface.Image().pixel(p), kWhite) << p.x() << "," << p.y();
  }
}

TEST_F(Surface, LinesThatCannotShowDrawNothing) {
  const double lines[][4] = {
      {kNaN, 0, 1, 1}, {0, 0, kInf, 1}, {-20, 12, 20, 12}, {11, -20, 11, 20}, {1e300, 1e300, 2e300, 2e300},
  };
  for (const auto& l : lines) surface.Line(l[0], l[1], l[2], l[3]);
  EXPECT_EQ(InkOf(surface.Image()).count, 0);
}

TEST_F(Surface, TextMeasuresInWorldUnits) {
  // 8.25 pt at 96 dpi is 11 pixels; DejaVu Sans Bold digits advance about
  // 0.7 em (about 8 px each) and a line is about 1.16 em (about 13 px). At
  // 20 px per unit "10" is roughly 0.8 units wide and a line -0.65 high.
  const double w10 = surface.TextWidth("10");
  const double h10 = surface.TextHeight("10");
  EXPECT_GT(w10, 0.6);
  EXPECT_LT(w10, 1.0);
  EXPECT_LT(h10, -0.55);
  EXPECT_GT(h10, -0.85);
  // Digits share one advance, so four take twice the room of two.
  EXPECT_NEAR(surface.TextWidth("1000"), 2 * w10, 1e-9);
  EXPECT_GT(surface.TextWidth("-10"), w10);

  // Other mappings scale the same pixel sizes: 0..40 across and 0..40 down
  // is 10 px per unit with y growing downwards: twice the width, height
  // positive and twice as large.
  ASSERT_TRUE(surface.SetScale(0, 0, 40, 40));
  EXPECT_NEAR(surface.TextWidth("10"), 2 * w10, 1e-9);
  EXPECT_NEAR(surface.TextHeight("10"), -2 * h10, 1e-9);
}

TEST_F(Surface, PrintWritesAtTheTopLeftCornerAndMovesOneLineDown) {
  surface.SetForeColor(16711680);  // blue
  surface.SetCurrentX(0);
  surface.SetCurrentY(0);
  const double width = surface.TextWidth("88"), height = surface.TextHeight("88");
  surface.Print("88");
  EXPECT_DOUBLE_EQ(surface.CurrentX(), 0);
  EXPECT_DOUBLE_EQ(surface.CurrentY(), height);

  // The ink stays inside the text's box, which starts at pixel (200, 200).
  const Ink ink = InkOf(surface.Image());
  ASSERT_GT(ink.count, 20);
  EXPECT_GE(ink.left, 200);
  EXPECT_GE(ink.top, 200);
  EXPECT_LE(ink.right, 200 + width * 20 + 1);
  EXPECT_LE(ink.bottom, 200 - height * 20 + 1);
  // The strokes are blue (edges may blend with white).
  int blue = 0;
  for (int y = ink.top; y <= ink.bottom; ++y)
    for (int x = ink.left; x <= ink.right; ++x) {
      const QRgb p = surface.Image().pixel(x, y);
      if (p == kWhite) continue;
      EXPECT_GT(qBlue(p), qRed(p));
      EXPECT_EQ(qRed(p), qGreen(p));
      if (p == qRgb(0, 0, 255)) ++blue;
    }
  EXPECT_GT(blue, 0);

  // A second line goes right below the first.
  surface.Print("88");
  EXPECT_DOUBLE_EQ(surface.CurrentY(), 2 * height);
  EXPECT_GT(InkOf(surface.Image()).bottom, ink.bottom);
}

TEST_F(Surface, ClsWipesTheImageAndReturnsToTheTopLeft) {
  surface.SetDrawWidth(7);
  surface.PSet(0, 0);
  surface.Line(-10, 10, 10, -10);
  surface.SetCurrentX(3);
  surface.SetCurrentY(4);
  surface.Print("x");
  surface.Cls();
  EXPECT_EQ(InkOf(surface.Image()).count, 0);
  EXPECT_DOUBLE_EQ(surface.CurrentX(), -10);
  EXPECT_DOUBLE_EQ(surface.CurrentY(), 10);
}

TEST_F(Surface, CrosshairShowsOnScreenButNeverInTheImage) {
  surface.Line(-10, 0, 10, 0);
  const QImage before = surface.Image().copy();
  surface.SetCrosshairVisible(true);
  surface.MoveCrosshair(2.5, -1.25);  // column 250, row 225

  const QImage shown = surface.grab().toImage().convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(shown.size(), QSize(kSide, kSide));
  for (const QPoint& p : {QPoint(250, 0), QPoint(250, 399), QPoint(0, 225), QPoint(399, 225)}) {
    EXPECT_LT(qGray(shown.pixel(p)), 100) << p.x() << "," << p.y();
    EXPECT_EQ(surface.Image().pixel(p), kWhite) << p.x() << "," << p.y();
  }
  EXPECT_EQ(shown.pixel(251, 10), kWhite);
  EXPECT_EQ(shown.pixel(10, 226), kWhite);
  EXPECT_EQ(shown.pixel(10, 200), qRgb(0, 0, 0));  // the image underneath
  EXPECT_EQ(surface.Image(), before);

  surface.SetCrosshairVisible(false);
  const QImage hidden = surface.grab().toImage().convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(hidden.pixel(250, 10), kWhite);
  EXPECT_EQ(hidden, before);
}

TEST_F(Surface, MouseReportsWorldCoordinates) {
  surface.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&surface));
  std::vector<std::pair<float, float>> moves;
  QObject::connect(&surface, &cn::GraphSurface::MouseMoved,
                   [&](Qt::MouseButtons, Qt::KeyboardModifiers, float x, float y) { moves.emplace_back(x, y); });
  struct Case {
    QPoint pixel;
    float x, y;
  };
  const Case cases[] = {
      {{20, 380}, -9, -9},  {{200, 200}, 0, 0},       {{0, 1}, -10, 9.95f},
      {{100, 300}, -5, -5}, {{399, 1}, 9.95f, 9.95f}, {{250, 225}, 2.5f, -1.25f},
  };
  // (QTest takes the point (0, 0) to mean the widget's centre.)
  for (const Case& c : cases) {
    moves.clear();
    QTest::mouseMove(&surface, c.pixel);
    ASSERT_FALSE(moves.empty()) << c.pixel.x() << "," << c.pixel.y();
    EXPECT_FLOAT_EQ(moves.back().first, c.x);
    EXPECT_FLOAT_EQ(moves.back().second, c.y);
  }

  std::vector<std::tuple<Qt::MouseButton, float, float>> presses;
  QObject::connect(&surface, &cn::GraphSurface::MousePressed,
                   [&](Qt::MouseButton button, float x, float y) { presses.emplace_back(button, x, y); });
  QTest::mousePress(&surface, Qt::RightButton, {}, QPoint(300, 100));
  QTest::mouseRelease(&surface, Qt::RightButton, {}, QPoint(300, 100));
  ASSERT_EQ(presses.size(), 1u);
  EXPECT_EQ(std::get<0>(presses[0]), Qt::RightButton);
  EXPECT_FLOAT_EQ(std::get<1>(presses[0]), 5);
  EXPECT_FLOAT_EQ(std::get<2>(presses[0]), 5);
}

TEST_F(Surface, ResizingKeepsTheDrawingAndStretchesTheMapping) {
  surface.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&surface));
  surface.PSet(0, 0);  // pixel (200, 200)
  surface.setFixedSize(500, 500);
  ASSERT_EQ(surface.Image().size(), QSize(500, 500));
  EXPECT_EQ(surface.Image().pixel(200, 200), qRgb(0, 0, 0));
  EXPECT_EQ(surface.Image().pixel(450, 450), kWhite);
  const QPointF centre = surface.ToPixel(0, 0);  // 25 px per unit now
  EXPECT_DOUBLE_EQ(centre.x(), 250);
  EXPECT_DOUBLE_EQ(centre.y(), 250);
}

}  // namespace
