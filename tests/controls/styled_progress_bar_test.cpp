// The drawn progress bar, rendered offscreen and read pixel by pixel. Every
// expected column and colour below is worked out by hand from the drawing
// rules (fill length = round(Value / Max * (W - k)), lines exclude their end
// point, LightenColor(c, a) = a + (255 - a) * c \ 255 per channel).
#include <gtest/gtest.h>

#include <QApplication>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <climits>
#include <memory>
#include <string>

#include "controls/property_bag.h"
#include "controls/styled_progress_bar.h"

namespace {

using cn::PackedColor;
using cn::PackRgb;
using cn::StyledProgressBar;

constexpr PackedColor kBlue = PackRgb(0, 0, 255);

std::string Px(const QImage& image, int x, int y) {
  const QRgb c = image.pixel(x, y);
  return std::to_string(qRed(c)) + "," + std::to_string(qGreen(c)) + "," + std::to_string(qBlue(c));
}

struct Look {
  int style = 0;
  int width = 100;
  int height = 20;
  int max = 100;
  int value = 0;
  PackedColor color = kBlue;
  bool text = false;
  int orientation = 0;
};

QImage Draw(const Look& look, const QPixmap& image = QPixmap()) {
  StyledProgressBar bar;
  bar.resize(look.width, look.height);
  bar.Scrolling(look.style);
  bar.Color(look.color);
  bar.Orientation(look.orientation);
  bar.Image(image);
  bar.ShowText(look.text);
  bar.Max(look.max);
  bar.Value(look.value);
  return bar.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// The columns of row y where two renderings differ: "a..b", "none", or
// "scattered" when they do not form one run.
std::string DiffRun(const QImage& a, const QImage& b, int y) {
  int first = -1, last = -1, count = 0;
  for (int x = 0; x < a.width(); ++x) {
    if (a.pixel(x, y) == b.pixel(x, y)) continue;
    if (first < 0) first = x;
    last = x;
    ++count;
  }
  if (count == 0) return "none";
  if (count != last - first + 1) return "scattered";
  return std::to_string(first) + ".." + std::to_string(last);
}

QPixmap RedTile() {
  QPixmap tile(8, 8);
  tile.fill(QColor(255, 0, 0));
  return tile;
}

// Width 100, height 20, Max 100: the filled columns of row 10 against the
// empty bar of the same style.
TEST(StyledProgressBar, FilledExtentOfStylesThreeToNine) {
  struct Case {
    int style, value;
    const char* run;
  } cases[] = {
      // Flat: columns 1 .. fx - 1, the border at 99 stays.
      {3, 50, "1..49"},
      {3, 100, "1..98"},
      {3, 150, "1..98"},
      // Etched gradient, k = 4: columns 2 .. 2 + fx, the edge is two pixels wide.
      {4, 50, "2..50"},
      {4, 100, "2..97"},
      {4, 150, "2..97"},
      // Glass: fill columns 3 .. fx - 1 plus the line at column fx.
      {5, 50, "3..50"},
      {5, 100, "3..98"},
      {5, 150, "3..98"},
      // Dark, k = 5: columns 2 .. 2 + fx, column 2 is black like the background;
      // 28.5 rounds to 28 and 47.5 to 48 (ties to even).
      {6, 30, "3..30"},
      {6, 50, "3..50"},
      {6, 100, "3..97"},
      {6, 150, "3..98"},
      // Hatched: columns 2 .. fx - 1.
      {7, 50, "2..49"},
      {7, 100, "2..97"},
      {7, 150, "2..97"},
      // Picture: fx columns from column 2.
      {8, 50, "2..51"},
      {8, 100, "2..98"},
      {8, 150, "2..98"},
      // Gloss, k = 4: columns 2 .. fx - 1, column 2 under the frame.
      {9, 50, "3..47"},
      {9, 100, "3..95"},
      {9, 150, "3..97"},
      // Far out of range: cut at the edges, and quick.
      {3, INT_MAX, "1..98"},
      {9, INT_MAX, "3..97"},
      {4, INT_MIN, "none"},
      {9, INT_MIN, "none"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("style " + std::to_string(c.style) + " value " + std::to_string(c.value));
    const QImage empty = Draw({c.style, 100, 20, 100, 0}, RedTile());
    const QImage filled = Draw({c.style, 100, 20, 100, c.value}, RedTile());
    EXPECT_EQ(DiffRun(empty, filled, 10), c.run);
  }
}

// The marquee (style 2) moves with Value alone and is left out.
TEST(StyledProgressBar, NoRoomMeansAnEmptyBarInEveryStyle) {
  for (int style : {0, 1, 3, 4, 5, 6, 7, 8, 9}) {
    SCOPED_TRACE("style " + std::to_string(style));
    const QImage empty = Draw({style, 100, 20, 100, 0});
    for (int max : {0, -5}) {
      const QImage image = Draw({style, 100, 20, max, 50});
      EXPECT_EQ(image, empty) << "Max " << max;
    }
  }
  // The segmented styles: far past the end is full, below zero is empty.
  for (int style : {0, 1}) {
    EXPECT_EQ(Draw({style, 100, 20, 100, INT_MAX}), Draw({style, 100, 20, 100, 1000}));
    EXPECT_EQ(Draw({style, 100, 20, 100, INT_MIN}), Draw({style, 100, 20, 100, 0}));
  }
}

TEST(StyledProgressBar, ColoursOfStylesThreeToEight) {
  const QImage flat = Draw({3, 100, 20, 100, 50});
  EXPECT_EQ(Px(flat, 20, 10), "180,180,255");  // LightenColor(blue, 180)
  EXPECT_EQ(Px(flat, 0, 10), "100,100,255");   // LightenColor(blue, 100)
  EXPECT_EQ(Px(flat, 60, 10), "255,255,255");
  // Empty bars show their track alone, with no stub of fill.
  EXPECT_EQ(Px(Draw({3, 100, 20, 100, 0}), 1, 10), "255,255,255");
  EXPECT_EQ(Px(Draw({4, 100, 20, 100, 0}), 2, 10), "255,255,255");
  EXPECT_EQ(Px(Draw({5, 100, 20, 100, 0}), 3, 10), "53,53,255");  // track row 10: 100 * 8 / 15 = 53.3

  const QImage dark = Draw({6, 100, 20, 100, 30});
  EXPECT_EQ(Px(dark, 0, 10), "0,0,200");  // BlendColor(blue, black, 200)
  EXPECT_EQ(Px(dark, 31, 10), "0,0,0");
  // The gradient ends at LightenColor(BlendColor(blue, black, 100), 10).
  EXPECT_EQ(Px(dark, 30, 10), "10,10,106");

  const QImage hatched = Draw({7, 100, 20, 100, 50});
  int hatch = 0, ground = 0;
  for (int x = 2; x < 50; ++x) {
    for (int y = 2; y < 18; ++y) {
      const std::string px = Px(hatched, x, y);
      if (px == "0,0,255")
        ++hatch;
      else if (px == "140,140,255")
        ++ground;
      else
        ADD_FAILURE() << "pixel " << x << "," << y << " is " << px;
    }
  }
  EXPECT_GT(hatch, 0);
  EXPECT_GT(ground, hatch);

  EXPECT_EQ(Px(Draw({8, 100, 20, 100, 50}, RedTile()), 10, 10), "255,0,0");
  EXPECT_EQ(Draw({8, 100, 20, 100, 100}), Draw({8, 100, 20, 100, 0})) << "no image, no fill";
}

// The main window's look: style 9 in RGB(21, 63, 107), 14 pixels high, so
// h = round(5.5) = 6: the upper gradients cover rows 2..8, the lower rows 6..12.
TEST(StyledProgressBar, GlossStyleAtAQuarter) {
  const QImage image = Draw({9, 204, 14, 200, 50, StyledProgressBar::kSweepColor});
  // fx = round(50 / 200 * 200) = 50: the fill covers columns 2 to 49.
  // Lower fill row 8 (i = 2): BlendColor(c, black, 190) = (16, 47, 80) towards c.
  EXPECT_EQ(Px(image, 49, 8), "18,52,89");
  EXPECT_EQ(Px(image, 50, 8), "192,192,192");
  // Upper fill row 3 (i = 1): LightenColor(c, 150) = (158, 175, 194) towards (15, 44, 76).
  EXPECT_EQ(Px(image, 30, 3), "134,153,174");
  // Upper track: white to silver in 6 steps of 10.5; 244.5 rounds to 244.
  EXPECT_EQ(Px(image, 150, 3), "244,244,244");
  EXPECT_EQ(Px(image, 150, 4), "234,234,234");
  // The bevel frame and some of its corners.
  EXPECT_EQ(Px(image, 0, 0), "255,255,255");
  EXPECT_EQ(Px(image, 1, 1), "119,119,119");
  EXPECT_EQ(Px(image, 100, 0), "104,104,104");
  EXPECT_EQ(Px(image, 100, 1), "190,190,190");
  EXPECT_EQ(Px(image, 100, 12), "239,239,239");
  EXPECT_EQ(Px(image, 202, 1), "104,104,104");
  EXPECT_EQ(Px(image, 202, 12), "119,119,119");
}

TEST(StyledProgressBar, SegmentedStyles) {
  struct Case {
    const char* what;
    Look look;
    int x, y;
    const char* rgb;
  } cases[] = {
      // Value 0, style 1: the fill's right edge 3 is raised to 12, so a stub
      // shows at columns 4..11 (rows 8 and 9 are the plain colour).
      {"stub", {1, 100, 20, 100, 0}, 11, 9, "0,0,255"},
      {"stub end", {1, 100, 20, 100, 0}, 12, 9, "255,255,255"},
      {"stub shading", {1, 100, 20, 100, 0}, 4, 3, "150,150,255"},
      // Style 0 full at width 100: right edge 3 + 8 * 12 = 99, tube to 94, white
      // bands at 10-11, 18-19, ...
      {"block", {0, 100, 20, 100, 100}, 9, 9, "0,0,255"},
      {"band", {0, 100, 20, 100, 100}, 10, 9, "255,255,255"},
      {"band", {0, 100, 20, 100, 100}, 11, 9, "255,255,255"},
      {"block", {0, 100, 20, 100, 100}, 12, 9, "0,0,255"},
      {"band", {0, 100, 20, 100, 100}, 18, 9, "255,255,255"},
      {"last block", {0, 100, 20, 100, 100}, 94, 9, "0,0,255"},
      {"after tube", {0, 100, 20, 100, 100}, 95, 9, "255,255,255"},
      // Marquee at 50: right edge round(51.5) = 52 snapped to 51; blocks start at
      // round(28.5) = 28, round(40.5) = 40, round(52.5) = 52, ten columns each.
      {"before block 1", {2, 100, 20, 100, 50}, 27, 10, "255,255,255"},
      {"block 1", {2, 100, 20, 100, 50}, 28, 10, "220,220,255"},
      {"block 1 end", {2, 100, 20, 100, 50}, 37, 10, "200,200,255"},
      {"gap", {2, 100, 20, 100, 50}, 38, 10, "255,255,255"},
      {"block 2", {2, 100, 20, 100, 50}, 40, 10, "180,180,255"},
      {"block 3", {2, 100, 20, 100, 50}, 52, 10, "140,140,255"},
      {"block 3 end", {2, 100, 20, 100, 50}, 61, 10, "120,120,255"},
      {"after block 3", {2, 100, 20, 100, 50}, 62, 10, "255,255,255"},
      // Vertical, half full: the fill rises from the bottom to row 50.
      {"vertical top", {1, 20, 100, 100, 50, kBlue, false, 1}, 10, 50, "0,0,255"},
      {"vertical above", {1, 20, 100, 100, 50, kBlue, false, 1}, 10, 49, "255,255,255"},
      {"vertical bottom", {1, 20, 100, 100, 50, kBlue, false, 1}, 10, 97, "0,0,255"},
      {"vertical empty", {1, 20, 100, 100, 0, kBlue, false, 1}, 10, 97, "255,255,255"},
      {"vertical block", {0, 20, 100, 100, 100, kBlue, false, 1}, 10, 97, "0,0,255"},
      // Style 0 vertical, full: top snapped to 4, white bands at rows 98-99, 90-91, ...
      {"vertical band", {0, 20, 100, 100, 100, kBlue, false, 1}, 10, 90, "255,255,255"},
      {"vertical block", {0, 20, 100, 100, 100, kBlue, false, 1}, 10, 89, "0,0,255"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Px(Draw(c.look), c.x, c.y), c.rgb);
  }
}

TEST(StyledProgressBar, CaptionText) {
  struct Case {
    int value, max, style;
    const char* text;
  } cases[] = {
      {50, 200, 9, "25 %"}, {0, 100, 9, "0 %"}, {100, 100, 0, "100 %"}, {120, 100, 9, "120 %"},     {1, 8, 3, "12 %"},
      {3, 8, 3, "38 %"},    {50, 0, 9, "0 %"},  {50, -3, 9, "0 %"},     {5, 100, 2, "Searching.."},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(cn::ProgressCaption(c.value, c.max, c.style).toStdString(), c.text) << c.value << "/" << c.max;
  }
}

// The caption's pixels: those that the text changes, split at column s.
struct CaptionColours {
  int leftPlain = 0, leftOverlay = 0, rightPlain = 0, rightOverlay = 0, other = 0;
};

CaptionColours Caption(Look look, int s, const std::string& plain, const std::string& overlay) {
  const QImage bare = Draw(look);
  look.text = true;
  const QImage text = Draw(look);
  CaptionColours out;
  for (int y = 0; y < text.height(); ++y) {
    for (int x = 0; x < text.width(); ++x) {
      if (bare.pixel(x, y) == text.pixel(x, y)) continue;
      const std::string px = Px(text, x, y);
      if (px == plain)
        ++(x < s ? out.leftPlain : out.rightPlain);
      else if (px == overlay)
        ++(x < s ? out.leftOverlay : out.rightOverlay);
      else
        ++out.other;
    }
  }
  return out;
}

TEST(StyledProgressBar, CaptionTurnsContrastingOverTheFill) {
  // Style 9, width 204, Max 200: s = Value / Max * 204.
  const std::string black = "0,0,0", white = "255,255,255";
  CaptionColours half = Caption({9, 204, 24, 200, 100}, 102, black, white);
  EXPECT_EQ(half.leftPlain + half.rightOverlay + half.other, 0);
  EXPECT_GT(half.leftOverlay, 0);
  EXPECT_GT(half.rightPlain, 0);

  CaptionColours over = Caption({9, 204, 24, 200, 240}, 0, black, white);  // "120 %", all over the fill
  EXPECT_EQ(over.rightPlain + over.other, 0);
  EXPECT_GT(over.rightOverlay, 0);

  CaptionColours none = Caption({9, 204, 24, 200, 0}, 0, black, white);
  EXPECT_EQ(none.rightOverlay + none.other, 0);
  EXPECT_GT(none.rightPlain, 0);

  // Style 6: silver, and LightenColor(blue, 80) over the fill.
  CaptionColours dark = Caption({6, 204, 24, 200, 100}, 102, "192,192,192", "80,80,255");
  EXPECT_EQ(dark.leftPlain + dark.rightOverlay + dark.other, 0);
  EXPECT_GT(dark.leftOverlay, 0);
  EXPECT_GT(dark.rightPlain, 0);

  // Other styles write black everywhere.
  CaptionColours flat = Caption({3, 204, 24, 200, 100}, 102, black, white);
  EXPECT_EQ(flat.leftOverlay + flat.rightOverlay + flat.other, 0);
  EXPECT_GT(flat.leftPlain, 0);
  EXPECT_GT(flat.rightPlain, 0);
}

TEST(StyledProgressBar, RedrawsOnValueAtOnceButNotOnMax) {
  QWidget window;
  auto* bar = new StyledProgressBar(&window);
  bar->setGeometry(0, 0, 100, 20);
  window.show();
  bar->Scrolling(StyledProgressBar::kFlat);
  bar->Color(kBlue);
  QImage copy(100, 20, QImage::Format_RGB32);
  auto pixel = [&](int x) {
    copy.fill(Qt::black);
    QPainter p(&copy);
    bar->pDraw(p, 0, 0, 0, 0, 0, 0);
    p.end();
    return Px(copy, x, 10);
  };
  bar->Value(50);  // no event loop runs: the buffer must already hold the new bar
  EXPECT_EQ(pixel(49), "180,180,255");
  EXPECT_EQ(pixel(60), "255,255,255");
  bar->Max(50);  // shows only at the next redraw
  EXPECT_EQ(pixel(60), "255,255,255");
  bar->Value(50);
  EXPECT_EQ(pixel(60), "180,180,255");

  // A part of the buffer: columns 98..101 and rows 5..7 land at (1, 1).
  QImage target(10, 10, QImage::Format_RGB32);
  target.fill(Qt::black);
  QPainter p(&target);
  bar->pDraw(p, 98, 5, 4, 3, 1, 1);
  p.end();
  EXPECT_EQ(Px(target, 0, 1), "0,0,0");
  EXPECT_EQ(Px(target, 1, 3), "180,180,255");
  EXPECT_EQ(Px(target, 2, 1), "100,100,255");  // the border at column 99
  EXPECT_EQ(Px(target, 3, 1), "0,0,0");        // past the buffer's edge
  EXPECT_EQ(Px(target, 1, 4), "0,0,0");
}

TEST(StyledProgressBar, BufferOnlyGrows) {
  QWidget window;
  window.resize(400, 100);
  auto* bar = new StyledProgressBar(&window);
  window.show();
  struct Step {
    int w, h, bufferW, bufferH;
  } steps[] = {{300, 20, 300, 30}, {50, 10, 300, 30}, {120, 60, 300, 60}, {350, 5, 350, 60}};
  bar->setGeometry(0, 0, 100, 30);
  for (const Step& s : steps) {
    bar->setGeometry(0, 0, s.w, s.h);
    EXPECT_EQ(bar->BufferSize(), QSize(s.bufferW, s.bufferH)) << s.w << "x" << s.h;
  }
  // A bar smaller than its buffer still draws at its own size.
  bar->setGeometry(0, 0, 50, 10);
  bar->Scrolling(StyledProgressBar::kGloss);
  const QImage image = bar->grab().toImage();
  EXPECT_EQ(image.size(), QSize(50, 10));
  EXPECT_EQ(Px(image, 49, 9), "255,255,255");
  EXPECT_EQ(Px(image, 48, 9), "190,190,190");
}

TEST(StyledProgressBar, DrawLineLeavesOutItsEndPoint) {
  StyledProgressBar bar;
  struct Case {
    int x1, y1, x2, y2;
    const char* painted;  // the painted pixels of an 8 x 8 image, row by row
  } cases[] = {
      {2, 3, 6, 3, "(2,3)(3,3)(4,3)(5,3)"}, {5, 6, 5, 3, "(5,4)(5,5)(5,6)"},
      {0, 0, 3, 3, "(0,0)(1,1)(2,2)"},      {4, 4, 4, 4, ""},
      {-3, 1, 2, 1, "(0,1)(1,1)"},
  };
  for (const Case& c : cases) {
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    bar.DrawLine(c.x1, c.y1, c.x2, c.y2, p, PackRgb(255, 0, 0));
    p.end();
    std::string painted;
    for (int y = 0; y < 8; ++y) {
      for (int x = 0; x < 8; ++x) {
        if (Px(image, x, y) == "255,0,0") painted += "(" + std::to_string(x) + "," + std::to_string(y) + ")";
      }
    }
    EXPECT_EQ(painted, c.painted) << c.x1 << "," << c.y1 << " to " << c.x2 << "," << c.y2;
  }
}

TEST(StyledProgressBar, DrawGradientSteps) {
  StyledProgressBar bar;
  QImage image(10, 10, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter p(&image);
  // Vertical lines at columns 1..5 (N = 4), rows 0..2, from (0, 0, 0) to (40, 80, 120).
  PackedColor end = PackRgb(0, 0, 0), start = PackRgb(40, 80, 120);
  bar.DrawGradient(end, start, 1, 0, 4, 3, p, true);
  // One horizontal line when N = 0, in the end colour; a system colour comes back resolved.
  PackedColor highlight = cn::SystemColorCode(cn::kSystemHighlight), other = PackRgb(1, 2, 3);
  bar.DrawGradient(highlight, other, 0, 8, 4, 0, p, false);
  // A negative count draws nothing.
  PackedColor a = PackRgb(9, 9, 9), b = a;
  bar.DrawGradient(a, b, 0, 9, 5, -1, p, false);
  p.end();
  EXPECT_EQ(Px(image, 0, 0), "255,255,255");
  EXPECT_EQ(Px(image, 1, 0), "0,0,0");
  EXPECT_EQ(Px(image, 3, 2), "20,40,60");
  EXPECT_EQ(Px(image, 5, 1), "40,80,120");
  EXPECT_EQ(Px(image, 6, 1), "255,255,255");
  EXPECT_EQ(Px(image, 3, 3), "255,255,255");
  const QColor h = QGuiApplication::palette().color(QPalette::Active, QPalette::Highlight);
  EXPECT_EQ(highlight, PackRgb(h.red(), h.green(), h.blue()));
  EXPECT_EQ(Px(image, 3, 8),
            std::to_string(h.red()) + "," + std::to_string(h.green()) + "," + std::to_string(h.blue()));
  EXPECT_EQ(Px(image, 4, 8), "255,255,255");
  EXPECT_EQ(Px(image, 0, 9), "255,255,255");
}

PackedColor PaletteColor(QPalette::ColorRole role) {
  const QColor c = QGuiApplication::palette().color(QPalette::Active, role);
  return PackRgb(c.red(), c.green(), c.blue());
}

TEST(StyledProgressBar, SystemColoursReadBackResolved) {
  StyledProgressBar bar;
  EXPECT_EQ(bar.Color(), PaletteColor(QPalette::Highlight));
  bar.Color(cn::SystemColorCode(5));  // the window background
  EXPECT_EQ(bar.Color(), PaletteColor(QPalette::Base));
  bar.Color(PackRgb(21, 63, 107));
  EXPECT_EQ(bar.Color(), 21 + 256 * 63 + 65536 * 107);
}

TEST(StyledProgressBar, PropertyStoreDefaults) {
  StyledProgressBar fresh;
  EXPECT_EQ(fresh.BrushStyle(), 0);  // a new control, before any store is read
  StyledProgressBar bar;
  bar.Max(7);
  bar.Value(3);
  bar.ShowText(true);
  bar.ReadProperties(cn::PropertyBag());
  EXPECT_EQ(bar.BrushStyle(), 4);
  EXPECT_EQ(bar.Color(), PaletteColor(QPalette::Highlight));
  EXPECT_EQ(bar.Max(), 100);
  EXPECT_EQ(bar.Min(), 0);
  EXPECT_EQ(bar.Orientation(), 0);
  EXPECT_EQ(bar.Scrolling(), 0);
  EXPECT_FALSE(bar.ShowText());
  EXPECT_EQ(bar.Value(), 0);
  EXPECT_TRUE(bar.Image().isNull());
}

TEST(StyledProgressBar, PropertyStoreRoundTrip) {
  StyledProgressBar bar;
  QFont font("DejaVu Sans", 11);
  font.setBold(true);
  bar.Font(font);
  bar.BrushStyle(2);
  bar.Color(PackRgb(21, 63, 107));
  bar.Image(RedTile());
  bar.Max(500);
  bar.Min(3);
  bar.Orientation(1);
  bar.Scrolling(9);
  bar.ShowText(true);
  bar.Value(250);
  cn::PropertyBag bag;
  bar.WriteProperties(bag);
  QStringList names = bag.Names();
  names.sort();
  EXPECT_EQ(names.join(' ').toStdString(), "BrushStyle Color Font Image Max Min Orientation Scrolling ShowText Value");
  EXPECT_EQ(bag.ReadProperty("Color").toInt(), 21 + 256 * 63 + 65536 * 107);

  const std::optional<cn::PropertyBag> loaded = cn::PropertyBag::Load(bag.Save());
  ASSERT_TRUE(loaded.has_value());
  StyledProgressBar copy;
  copy.ReadProperties(*loaded);
  EXPECT_EQ(copy.Font(), font);
  EXPECT_EQ(copy.BrushStyle(), 2);
  EXPECT_EQ(copy.Color(), PackRgb(21, 63, 107));
  EXPECT_EQ(copy.Image().size(), QSize(8, 8));
  EXPECT_EQ(Px(copy.Image().toImage(), 3, 3), "255,0,0");
  EXPECT_EQ(copy.Max(), 500);
  EXPECT_EQ(copy.Min(), 3);
  EXPECT_EQ(copy.Orientation(), 1);
  EXPECT_EQ(copy.Scrolling(), 9);
  EXPECT_TRUE(copy.ShowText());
  EXPECT_EQ(copy.Value(), 250);

  // Values at their defaults are left out and read back as those defaults.
  StyledProgressBar plain;
  plain.BrushStyle(4);
  cn::PropertyBag small;
  plain.WriteProperties(small);
  names = small.Names();
  names.sort();
  EXPECT_EQ(names.join(' ').toStdString(), "Color Font");
  EXPECT_FALSE(cn::PropertyBag::Load(QByteArray("not a property store")).has_value());
}

}  // namespace
