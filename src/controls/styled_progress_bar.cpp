#include "controls/styled_progress_bar.h"

#include <QBrush>
#include <QColor>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPaintDevice>
#include <QPaintEvent>
#include <QPainter>
#include <QPalette>
#include <QRect>
#include <QResizeEvent>
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "controls/property_bag.h"
#include "platform/color.h"

namespace cn {

namespace {

constexpr PackedColor kWhite = PackRgb(255, 255, 255);
constexpr PackedColor kBlack = PackRgb(0, 0, 0);
constexpr PackedColor kSilver = PackRgb(192, 192, 192);
constexpr PackedColor kFrameGrey = PackRgb(104, 104, 104);
constexpr PackedColor kLightLine = PackRgb(190, 190, 190);
constexpr PackedColor kPaleLine = PackRgb(239, 239, 239);
constexpr PackedColor kCornerA = PackRgb(172, 171, 166);
constexpr PackedColor kCornerB = PackRgb(127, 126, 125);
constexpr PackedColor kCornerC = PackRgb(172, 171, 167);
constexpr PackedColor kCornerD = PackRgb(119, 119, 119);

// Classic system colour indices used by the edges.
constexpr int kSysBtnShadow = 16;
constexpr int kSysBtnHighlight = 20;
constexpr int kSysDarkShadow = 21;
constexpr int kSysLight = 22;

// Lengths far past the surface only cost time: every loop is cut at the
// surface, and lengths are kept within this bound so that no sum overflows.
constexpr double kLengthLimit = 1e9;

int Channel(PackedColor c, int channel) { return (c >> (8 * channel)) & 0xFF; }

// Nearest integer, ties to even (the default rounding mode), on the exact value.
double RoundEven(double v) { return std::nearbyint(v); }

int ClampLength(double v) {
  if (!(v == v)) return 0;
  return static_cast<int>(std::clamp(v, -kLengthLimit, kLengthLimit));
}

QColor ToQColor(PackedColor c) { return FromPacked(static_cast<std::uint32_t>(c)); }
PackedColor FromQColor(const QColor& c) { return static_cast<PackedColor>(ToPacked(c)); }

// The desktop's colour for a classic system colour index, taken from the
// application palette; an unknown index is black.
PackedColor SystemColor(int index) {
  const QPalette pal = QGuiApplication::palette();
  QPalette::ColorGroup group = QPalette::Active;
  QPalette::ColorRole role;
  switch (index) {
    case 0:
      role = QPalette::Button;
      break;  // scroll bar
    case 1:
      role = QPalette::Dark;
      break;  // desktop
    case 2:
      role = QPalette::Highlight;
      break;  // active caption
    case 3:
      group = QPalette::Inactive;
      role = QPalette::Highlight;
      break;
    case 4:
      role = QPalette::Window;
      break;  // menu
    case 5:
      role = QPalette::Base;
      break;  // window
    case 6:
      role = QPalette::Shadow;
      break;  // window frame
    case 7:
      role = QPalette::WindowText;
      break;  // menu text
    case 8:
      role = QPalette::Text;
      break;  // window text
    case 9:
      role = QPalette::HighlightedText;
      break;  // caption text
    case 10:
    case 11:
      role = QPalette::Window;
      break;  // borders
    case 12:
      role = QPalette::Dark;
      break;  // application workspace
    case 13:
      role = QPalette::Highlight;
      break;
    case 14:
      role = QPalette::HighlightedText;
      break;
    case 15:
      role = QPalette::Button;
      break;  // button face
    case 16:
      role = QPalette::Dark;
      break;  // button shadow
    case 17:
      group = QPalette::Disabled;
      role = QPalette::Text;
      break;
    case 18:
      role = QPalette::ButtonText;
      break;
    case 19:
      group = QPalette::Inactive;
      role = QPalette::WindowText;
      break;
    case 20:
      role = QPalette::Light;
      break;  // button highlight
    case 21:
      role = QPalette::Shadow;
      break;  // dark shadow
    case 22:
      role = QPalette::Midlight;
      break;  // light
    case 23:
      role = QPalette::ToolTipText;
      break;
    case 24:
      role = QPalette::ToolTipBase;
      break;
    case 26:
      role = QPalette::Link;
      break;
    case 27:
      role = QPalette::Highlight;
      break;
    case 28:
      group = QPalette::Inactive;
      role = QPalette::Highlight;
      break;
    case 29:
      role = QPalette::Highlight;
      break;
    case 30:
      role = QPalette::Window;
      break;
    default:
      return kBlack;
  }
  return FromQColor(pal.color(group, role));
}

// Fills [left, right) x [top, bottom), cut to the surface.
void FillClipped(QPainter& p, long long left, long long top, long long right, long long bottom, const QColor& color) {
  const QPaintDevice* device = p.device();
  left = std::max(left, 0LL);
  top = std::max(top, 0LL);
  right = std::min<long long>(right, device->width());
  bottom = std::min<long long>(bottom, device->height());
  if (left >= right || top >= bottom) return;
  p.fillRect(QRect(static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
                   static_cast<int>(bottom - top)),
             color);
}

Qt::BrushStyle HatchPattern(int style) {
  switch (style) {
    case 0:
      return Qt::HorPattern;
    case 1:
      return Qt::VerPattern;
    case 2:
      return Qt::FDiagPattern;
    case 3:
      return Qt::BDiagPattern;
    case 4:
      return Qt::CrossPattern;
    case 5:
      return Qt::DiagCrossPattern;
    default:
      return Qt::SolidPattern;
  }
}

}  // namespace

QString ProgressCaption(int value, int max, int scrolling) {
  if (scrolling == StyledProgressBar::kMarquee) return QStringLiteral("Searching..");
  const double fraction = max > 0 ? static_cast<double>(value) / max : 0.0;
  const double percent = RoundEven(fraction * 100.0);
  return QString::number(static_cast<long long>(percent)) + QStringLiteral(" %");
}

// ---- Life cycle ------------------------------------------------------------

StyledProgressBar::StyledProgressBar(QWidget* parent) : QWidget(parent) {
  // Every pixel is painted by the bar itself.
  setAttribute(Qt::WA_OpaquePaintEvent);
  font_ = QWidget::font();
  hdc(nullptr);
  hwnd_ = this;
  max_ = 100;
  min_ = 0;
  value_ = 0;
  orientation_ = 0;
  scrolling_ = 0;
  color_ = TranslateColor(SystemColorCode(kSystemHighlight));
  DrawProgressBar();
}

StyledProgressBar::~StyledProgressBar() { FreeBuffer(); }

void StyledProgressBar::paintEvent(QPaintEvent*) {
  QPainter screen(this);
  if (!buffered_ || bufferWidth_ < width() || bufferHeight_ < height()) hdc(nullptr);
  if (buffered_) {
    // DrawProgressBar has just composed the buffer when it asked for this paint.
    if (!composed_) {
      QPainter back(&buffer_);
      Compose(back);
    }
    composed_ = false;
    pDraw(screen, 0, 0, width(), height(), 0, 0);
  } else {
    Compose(screen);
  }
}

void StyledProgressBar::resizeEvent(QResizeEvent* event) {
  hdc(nullptr);
  composed_ = false;
  QWidget::resizeEvent(event);
}

// ---- Properties ------------------------------------------------------------

void StyledProgressBar::BrushStyle(int Style) {
  brushStyle_ = Style;
  composed_ = false;  // shows at the next paint
}

void StyledProgressBar::Color(PackedColor lColor) {
  color_ = TranslateColor(lColor);
  DrawProgressBar();
}

void StyledProgressBar::Font(const QFont& fnt) {
  font_ = fnt;
  composed_ = false;  // shows at the next paint
}

QPaintDevice* StyledProgressBar::hdc() {
  if (buffered_) return &buffer_;
  return this;
}

void StyledProgressBar::hdc(QPaintDevice*) { buffered_ = EnsureBuffer(width(), height()) != nullptr; }

void StyledProgressBar::Image(const QPixmap& handle) {
  image_ = handle;
  DrawProgressBar();
}

void StyledProgressBar::Min(int cMin) {
  min_ = cMin;
  composed_ = false;  // shows at the next paint
}

void StyledProgressBar::Max(int cMax) {
  max_ = cMax;
  composed_ = false;  // shows at the next paint
}

void StyledProgressBar::Orientation(int cOrientation) {
  orientation_ = cOrientation;
  DrawProgressBar();
}

void StyledProgressBar::Scrolling(int lScrolling) {
  scrolling_ = lScrolling;
  DrawProgressBar();
}

void StyledProgressBar::ShowText(bool bShowText) {
  showText_ = bShowText;
  DrawProgressBar();
}

void StyledProgressBar::Value(int cValue) {
  value_ = cValue;
  DrawProgressBar();
}

void StyledProgressBar::UseSweepLook(bool showText) {
  // One redraw instead of three through the setters.
  scrolling_ = kGloss;
  color_ = kSweepColor;
  showText_ = showText;
  DrawProgressBar();
}

// ---- Property store --------------------------------------------------------

void StyledProgressBar::ReadProperties(const PropertyBag& bag) {
  const QVariant font = bag.ReadProperty(QStringLiteral("Font"));
  Font(font.isValid() ? font.value<QFont>() : QWidget::font());
  BrushStyle(bag.ReadProperty(QStringLiteral("BrushStyle"), 4).toInt());
  Color(bag.ReadProperty(QStringLiteral("Color"), SystemColorCode(kSystemHighlight)).toInt());
  Image(bag.ReadProperty(QStringLiteral("Image")).value<QPixmap>());
  Max(bag.ReadProperty(QStringLiteral("Max"), 100).toInt());
  Min(bag.ReadProperty(QStringLiteral("Min"), 0).toInt());
  Orientation(bag.ReadProperty(QStringLiteral("Orientation"), 0).toInt());
  Scrolling(bag.ReadProperty(QStringLiteral("Scrolling"), 0).toInt());
  ShowText(bag.ReadProperty(QStringLiteral("ShowText"), false).toBool());
  Value(bag.ReadProperty(QStringLiteral("Value"), 0).toInt());
}

void StyledProgressBar::WriteProperties(PropertyBag& bag) const {
  bag.WriteProperty(QStringLiteral("BrushStyle"), brushStyle_, 4);
  bag.WriteProperty(QStringLiteral("Color"), color_, SystemColorCode(kSystemHighlight));
  bag.WriteProperty(QStringLiteral("Font"), font_);
  bag.WriteProperty(QStringLiteral("Image"), image_.isNull() ? QVariant() : QVariant(image_), QVariant());
  bag.WriteProperty(QStringLiteral("Min"), min_, 0);
  bag.WriteProperty(QStringLiteral("Max"), max_, 100);
  bag.WriteProperty(QStringLiteral("Orientation"), orientation_, 0);
  bag.WriteProperty(QStringLiteral("Scrolling"), scrolling_, 0);
  bag.WriteProperty(QStringLiteral("ShowText"), showText_, false);
  bag.WriteProperty(QStringLiteral("Value"), value_, 0);
}

// ---- Colours and plain shapes ----------------------------------------------

PackedColor StyledProgressBar::TranslateColor(PackedColor c) {
  if (c < 0) return SystemColor(static_cast<int>(static_cast<std::uint32_t>(c) & 0x7FFFFFFFu));
  return c;
}

PackedColor StyledProgressBar::LightenColor(PackedColor c, int amount) {
  c = TranslateColor(c);
  int out[3];
  for (int i = 0; i < 3; ++i) out[i] = std::min(255, amount + (255 - amount) * Channel(c, i) / 255);
  return PackRgb(out[0], out[1], out[2]);
}

PackedColor StyledProgressBar::BlendColor(PackedColor c1, PackedColor c2, int weight) {
  c1 = TranslateColor(c1);
  c2 = TranslateColor(c2);
  int out[3];
  for (int i = 0; i < 3; ++i) {
    const double v = (255.0 - weight) * Channel(c2, i) / 255.0 + static_cast<double>(weight) * Channel(c1, i) / 255.0;
    out[i] = static_cast<int>(std::clamp(RoundEven(v), 0.0, 255.0));
  }
  return PackRgb(out[0], out[1], out[2]);
}

void StyledProgressBar::FrameRectColor(QPainter& p, const Rect& r, PackedColor c) {
  if (r.left >= r.right || r.top >= r.bottom) return;
  const QColor color = ToQColor(TranslateColor(c));
  FillClipped(p, r.left, r.top, r.right, r.top + 1, color);
  FillClipped(p, r.left, r.bottom - 1, r.right, r.bottom, color);
  FillClipped(p, r.left, r.top, r.left + 1, r.bottom, color);
  FillClipped(p, r.right - 1, r.top, r.right, r.bottom, color);
}

void StyledProgressBar::FillRectColor(QPainter& p, const Rect& r, PackedColor c) {
  FillClipped(p, r.left, r.top, r.right, r.bottom, ToQColor(TranslateColor(c)));
}

// Two-tone rings: the top and left sides in one colour, the bottom and right
// sides in the other, as the desktop draws raised and sunken edges.
void StyledProgressBar::DrawEdge(QPainter& p, const Rect& r, Edge edge) {
  auto ring = [&p](const Rect& rect, int topLeftIndex, int bottomRightIndex) {
    if (rect.right - rect.left < 2 || rect.bottom - rect.top < 2) return;
    const QColor tl = ToQColor(SystemColor(topLeftIndex));
    const QColor br = ToQColor(SystemColor(bottomRightIndex));
    FillClipped(p, rect.left, rect.top, rect.right - 1, rect.top + 1, tl);
    FillClipped(p, rect.left, rect.top, rect.left + 1, rect.bottom - 1, tl);
    FillClipped(p, rect.left, rect.bottom - 1, rect.right, rect.bottom, br);
    FillClipped(p, rect.right - 1, rect.top, rect.right, rect.bottom, br);
  };
  const Rect inner{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
  switch (edge) {
    case Edge::kEtched:
      ring(r, kSysBtnShadow, kSysBtnHighlight);
      ring(inner, kSysBtnHighlight, kSysBtnShadow);
      break;
    case Edge::kBump:
      ring(r, kSysLight, kSysDarkShadow);
      ring(inner, kSysDarkShadow, kSysLight);
      break;
    case Edge::kSunkenOuter:
      ring(r, kSysBtnShadow, kSysBtnHighlight);
      break;
  }
}

// ---- Public drawing methods ------------------------------------------------

void StyledProgressBar::DrawLine(int X, int Y, int Width, int Height, QPainter& cHdc, PackedColor Color) {
  const QColor color = ToQColor(TranslateColor(Color));
  const long long x1 = X, y1 = Y, x2 = Width, y2 = Height;
  if (y1 == y2) {
    if (x1 == x2) return;
    if (x1 < x2)
      FillClipped(cHdc, x1, y1, x2, y1 + 1, color);
    else
      FillClipped(cHdc, x2 + 1, y1, x1 + 1, y1 + 1, color);
    return;
  }
  if (x1 == x2) {
    if (y1 < y2)
      FillClipped(cHdc, x1, y1, x1 + 1, y2, color);
    else
      FillClipped(cHdc, x1, y2 + 1, x1 + 1, y1 + 1, color);
    return;
  }
  // Any other direction: Bresenham, stopping one pixel short of the end.
  const long long dx = std::llabs(x2 - x1), dy = -std::llabs(y2 - y1);
  const long long sx = x1 < x2 ? 1 : -1, sy = y1 < y2 ? 1 : -1;
  long long err = dx + dy, x = x1, y = y1;
  const QPaintDevice* device = cHdc.device();
  while (x != x2 || y != y2) {
    if (x >= 0 && y >= 0 && x < device->width() && y < device->height()) {
      cHdc.fillRect(QRect(static_cast<int>(x), static_cast<int>(y), 1, 1), color);
    }
    const long long e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y += sy;
    }
  }
}

void StyledProgressBar::DrawGradient(PackedColor& lEndColor, PackedColor& lStartcolor, int X, int Y, int X2, int Y2,
                                     QPainter& hdc, bool bH) {
  lEndColor = TranslateColor(lEndColor);
  lStartcolor = TranslateColor(lStartcolor);
  const int n = bH ? X2 : Y2;
  if (n < 0) return;
  // With n = 0 the step cannot be computed; it stays 0 and one line is drawn.
  float step[3] = {0.0f, 0.0f, 0.0f};
  if (n != 0) {
    for (int c = 0; c < 3; ++c) {
      step[c] = static_cast<float>(Channel(lStartcolor, c) - Channel(lEndColor, c)) / static_cast<float>(n);
    }
  }
  // Only the lines that land on the surface are drawn.
  const long long origin = bH ? X : Y;
  const long long extent = bH ? hdc.device()->width() : hdc.device()->height();
  const long long first = std::max(0LL, -origin);
  const long long last = std::min<long long>(n, extent - 1 - origin);
  for (long long i = first; i <= last; ++i) {
    int rgb[3];
    for (int c = 0; c < 3; ++c) {
      const double v = Channel(lEndColor, c) + static_cast<double>(step[c]) * static_cast<double>(i);
      rgb[c] = static_cast<int>(std::clamp(RoundEven(v), 0.0, 255.0));
    }
    const PackedColor color = PackRgb(rgb[0], rgb[1], rgb[2]);
    const int at = static_cast<int>(origin + i);
    if (bH) {
      DrawLine(at, Y, at, Y2, hdc, color);
    } else {
      DrawLine(X, at, X2, at, hdc, color);
    }
  }
}

void StyledProgressBar::pDraw(QPainter& hdc, int xSrc, int ySrc, int WidthSrc, int HeightSrc, int xDst, int yDst) {
  if (buffer_.isNull()) return;
  if (WidthSrc < 1) WidthSrc = bufferWidth_;
  if (HeightSrc < 1) HeightSrc = bufferHeight_;
  hdc.drawImage(QPoint(xDst, yDst), buffer_, QRect(xSrc, ySrc, WidthSrc, HeightSrc));
}

// ---- Buffer ----------------------------------------------------------------

QPaintDevice* StyledProgressBar::EnsureBuffer(int width, int height) {
  if (!buffer_.isNull()) {
    // Never shrinks: a request smaller in one dimension keeps that dimension.
    if (width > bufferWidth_ || height > bufferHeight_) {
      CreateBuffer(std::max(width, bufferWidth_), std::max(height, bufferHeight_));
    }
  } else if (width > 0 && height > 0) {
    CreateBuffer(width, height);
  }
  return buffer_.isNull() ? nullptr : &buffer_;
}

void StyledProgressBar::CreateBuffer(int width, int height) {
  FreeBuffer();
  QImage image(width, height, QImage::Format_RGB32);
  if (image.isNull()) return;  // out of memory: the bar then draws on itself
  buffer_ = std::move(image);
  bufferWidth_ = width;
  bufferHeight_ = height;
}

void StyledProgressBar::FreeBuffer() {
  buffer_ = QImage();
  bufferWidth_ = 0;
  bufferHeight_ = 0;
  buffered_ = false;
}

// ---- Repaint ---------------------------------------------------------------

void StyledProgressBar::DrawProgressBar() {
  // A hidden control gets its resize event only when shown.
  if (!buffered_ || bufferWidth_ < width() || bufferHeight_ < height()) hdc(nullptr);
  if (!buffered_) {
    if (isVisible()) repaint();  // draws straight on the control
    return;
  }
  {
    QPainter back(&buffer_);
    Compose(back);
  }
  composed_ = true;
  // Synchronous: the sweeps block the event loop, and only the bar may move.
  if (isVisible() && updatesEnabled()) repaint();
}

double StyledProgressBar::Fraction() const {
  // A bar without room stays empty rather than dividing by zero.
  if (max_ <= 0) return 0.0;
  return static_cast<double>(value_) / max_;
}

int StyledProgressBar::FillLength(int k) const { return ClampLength(RoundEven(Fraction() * (client_.right - k))); }

void StyledProgressBar::Compose(QPainter& p) {
  p.setRenderHint(QPainter::Antialiasing, false);
  client_ = Rect{0, 0, width(), height()};
  FillRectColor(p, client_, scrolling_ == kDark ? kBlack : kWhite);
  switch (scrolling_) {
    case kFlat:
      DrawFlat(p);
      break;
    case kEtchedGradient:
      DrawEtchedGradient(p);
      break;
    case kGlass:
      DrawGlass(p);
      break;
    case kDark:
      DrawDark(p);
      break;
    case kHatched:
      DrawHatched(p);
      break;
    case kPicture:
      DrawPicture(p);
      break;
    case kGloss:
      DrawGloss(p);
      break;
    default:
      ComputeSegments();
      DrawTube(p);
      if (scrolling_ == kBlocks) DrawSeparators(p);
      DrawBevelFrame(p);
      break;
  }
  DrawCaption(p);
}

// ---- Styles 0 to 2 ---------------------------------------------------------

void StyledProgressBar::ComputeSegments() {
  const int W = client_.right, H = client_.bottom;
  block_ = scrolling_ == kBlocks ? 6 : 0;
  gap_ = 2;
  const long long step = block_ + gap_;
  fill_ = Rect{3, 0, W, H};
  double f = Fraction();
  if (!(f >= 0)) f = 0;
  if (orientation_ == 0) {
    // Far past the right edge every length looks the same; the bound keeps
    // the separator loop short.
    const long long p = std::min<long long>(static_cast<long long>(RoundEven((W - 3) * std::min(f, 1e6) + 3)),
                                            static_cast<long long>(W) + 64);
    fill_.right = static_cast<int>(std::max(3LL, p - (p - 3) % step));
  } else {
    f = 1 - f;
    const long long p = std::max<long long>(static_cast<long long>(RoundEven(H * std::max(f, -1e6))), -64LL);
    fill_.top = static_cast<int>(std::min<long long>(H, p - (p - H) % step));
  }
}

void StyledProgressBar::DrawTube(QPainter& p) {
  const int W = client_.right, H = client_.bottom;
  PackedColor color = color_;
  PackedColor c150 = LightenColor(color_, 150);
  if (orientation_ == 0) {
    if (fill_.right <= 14) fill_.right = 12;  // a stub always shows
    if (scrolling_ != kMarquee) {
      const int r = W < fill_.right + 4 ? fill_.right - 4 : fill_.right;
      DrawGradient(c150, color, 4, 3, r, 6, p, false);  // rows 3 to 9
      FillRectColor(p, Rect{4, 8, r, H - 8}, color);
      DrawGradient(color, c150, 4, H - 10, r, 6, p, false);  // rows H - 10 to H - 4
    } else {
      for (int i = 0; i < 3; ++i) {
        const int x = ClampLength(RoundEven((gap_ + 10) * i + fill_.right - (100.0 - value_) / 100.0 * 45.0));
        PackedColor from = LightenColor(color_, 220 - 40 * i);
        PackedColor to = LightenColor(color_, 200 - 40 * i);
        DrawGradient(from, to, x, 3, 9, H - 2, p, true);  // ten columns
      }
    }
  } else {
    if (scrolling_ != kMarquee) {
      DrawGradient(c150, color, 4, fill_.top, 4, H, p, true);  // columns 4 to 8
      FillRectColor(p, Rect{9, fill_.top, W - 8, H}, color);
      DrawGradient(color, c150, W - 8, fill_.top, 4, H, p, true);  // columns W - 8 to W - 4
    } else {
      for (int i = 0; i < 3; ++i) {
        const int y = (gap_ + 10) * i + fill_.top;
        PackedColor from = LightenColor(color_, 220 - 40 * i);
        PackedColor to = LightenColor(color_, 200 - 40 * i);
        DrawGradient(from, to, W - 2, y, 2, 9, p, false);  // ten rows
      }
    }
  }
}

void StyledProgressBar::DrawSeparators(QPainter& p) {
  const int step = block_ + gap_;
  if (orientation_ == 0) {
    for (int x = 3 + block_; x <= fill_.right; x += step) {
      FillRectColor(p, Rect{x + 1, fill_.top, x + 3, fill_.bottom}, kWhite);
    }
  } else {
    for (int y = client_.bottom; y >= fill_.top + block_; y -= step) {
      FillRectColor(p, Rect{fill_.left, y - 2, fill_.right, y}, kWhite);
    }
  }
}

void StyledProgressBar::DrawBevelFrame(QPainter& p) {
  const int W = client_.right, H = client_.bottom;
  DrawLine(2, 1, W - 2, 1, p, kLightLine);
  DrawLine(2, H - 2, W - 2, H - 2, p, kPaleLine);
  DrawLine(1, 2, 1, H - 2, p, kLightLine);
  DrawLine(2, 2, 2, H - 2, p, kPaleLine);
  DrawLine(2, 2, W - 2, 2, p, kPaleLine);
  DrawLine(W - 2, 2, W - 2, H - 2, p, kPaleLine);
  FrameRectColor(p, client_, kFrameGrey);
  struct Pixel {
    int x, y;
    PackedColor color;
  };
  const Pixel corners[] = {
      {0, 0, kWhite},           {0, 1, kCornerA},         {0, 2, kCornerB},           {1, 0, kCornerC},
      {1, 1, kCornerD},         {2, 0, kCornerB},         {2, 2, kLightLine},         {0, H - 1, kWhite},
      {1, H - 1, kCornerA},     {2, H - 1, kCornerB},     {0, H - 3, kCornerB},       {0, H - 2, kCornerC},
      {1, H - 2, kCornerD},     {W - 1, 0, kWhite},       {W - 1, 1, kLightLine},     {W - 1, 2, kCornerB},
      {W - 2, 2, kLightLine},   {W - 2, 1, kFrameGrey},   {W - 1, H - 1, kWhite},     {W - 1, H - 2, kLightLine},
      {W - 1, H - 3, kCornerB}, {W - 2, H - 2, kCornerD}, {W - 2, H - 1, kLightLine}, {W - 3, H - 1, kCornerB},
  };
  for (const Pixel& px : corners) FillClipped(p, px.x, px.y, px.x + 1LL, px.y + 1LL, ToQColor(px.color));
}

// ---- Styles 3 to 9 ---------------------------------------------------------
// A fill that ends before it starts is not drawn at all, so an empty bar
// shows only its track.

void StyledProgressBar::DrawFlat(QPainter& p) {
  const int fx = FillLength(0);
  FillRectColor(p, Rect{1, 1, fx, client_.bottom - 1}, LightenColor(color_, 180));
  FrameRectColor(p, client_, LightenColor(color_, 100));
}

void StyledProgressBar::DrawEtchedGradient(QPainter& p) {
  const int fx = FillLength(4);
  if (fx > 0) {
    PackedColor left = LightenColor(color_, 140);
    PackedColor right = LightenColor(color_, 200);
    DrawGradient(left, right, 2, 2, fx, client_.bottom - 3, p, true);
  }
  DrawEdge(p, client_, Edge::kEtched);
}

void StyledProgressBar::DrawGlass(QPainter& p) {
  const int W = client_.right, H = client_.bottom;
  const int fx = FillLength(0);
  PackedColor top = color_;
  PackedColor bottom = LightenColor(color_, 100);
  DrawGradient(top, bottom, 2, 2, W - 2, H - 5, p, false);  // rows 2 to H - 3
  if (fx > 3) {
    PackedColor shine = LightenColor(color_, 250);
    PackedColor base = color_;
    DrawGradient(shine, base, 3, 3, fx, H - 6, p, false);  // rows 3 to H - 3
  }
  if (fx > 0) DrawLine(fx, 2, fx, H - 2, p, LightenColor(color_, 25));
  FrameRectColor(p, client_, LightenColor(color_, 10));
}

void StyledProgressBar::DrawDark(QPainter& p) {
  const int fx = FillLength(5);
  if (fx > 0) {
    PackedColor left = kBlack;
    PackedColor right = LightenColor(BlendColor(color_, kBlack, 100), 10);
    DrawGradient(left, right, 2, 2, fx, client_.bottom - 2, p, true);
  }
  FrameRectColor(p, client_, BlendColor(color_, kBlack, 200));
}

void StyledProgressBar::DrawHatched(QPainter& p) {
  const int fx = FillLength(0);
  const Rect area{2, 2, std::min(fx, client_.right), client_.bottom - 2};
  if (area.right > area.left && area.bottom > area.top) {
    const QRect rect(area.left, area.top, area.right - area.left, area.bottom - area.top);
    p.fillRect(rect, ToQColor(LightenColor(color_, 140)));
    p.fillRect(rect, QBrush(ToQColor(color_), HatchPattern(brushStyle_)));
  }
  DrawEdge(p, client_, Edge::kBump);
}

void StyledProgressBar::DrawPicture(QPainter& p) {
  const int fx = std::min(FillLength(0), client_.right);
  if (!image_.isNull() && fx > 0 && client_.bottom > 4) {
    p.drawTiledPixmap(QRect(2, 2, fx, client_.bottom - 4), image_);
  }
  DrawEdge(p, client_, Edge::kSunkenOuter);
}

void StyledProgressBar::DrawGloss(QPainter& p) {
  const int W = client_.right, H = client_.bottom;
  const int fx = FillLength(4);
  const int h = static_cast<int>(RoundEven((H - 3) / 2.0));
  PackedColor white = kWhite;
  PackedColor silver = kSilver;
  PackedColor silver2 = kSilver;
  DrawGradient(white, silver, 2, 2, W - 3, h, p, false);    // upper half of the track
  DrawGradient(silver, silver2, 2, h, W - 3, h, p, false);  // lower half
  if (fx > 2) {
    PackedColor shine = LightenColor(color_, 150);
    PackedColor dark180 = BlendColor(color_, kBlack, 180);
    PackedColor dark190 = BlendColor(color_, kBlack, 190);
    PackedColor base = color_;
    DrawGradient(shine, dark180, 2, 2, fx, h, p, false);
    DrawGradient(dark190, base, 2, h, fx, h, p, false);
  }
  DrawBevelFrame(p);
}

// ---- Caption ---------------------------------------------------------------

void StyledProgressBar::DrawCaption(QPainter& p) {
  if (!showText_) return;
  const QString text = ProgressCaption(value_, max_, scrolling_);
  // Crisp glyphs: the overlay must split the caption at one exact column.
  QFont font = font_;
  font.setStyleStrategy(QFont::NoAntialias);
  p.setFont(font);
  CenterCaption(p, text);
  const bool contrasting = scrolling_ == kDark || scrolling_ == kGloss;
  const double s = Fraction() * client_.right;  // where the fill ends, for the caption
  if (!contrasting || s <= caption_.right) {
    DrawCaptionText(p, text, caption_, scrolling_ == kDark ? kSilver : kBlack);
  }
  if (contrasting) DrawCaptionOverlay(p, text, s);
}

void StyledProgressBar::CenterCaption(QPainter& p, const QString& text) {
  const QFontMetrics metrics = p.fontMetrics();
  const int tw = metrics.horizontalAdvance(text);
  const int th = metrics.height();
  caption_.left = static_cast<int>(RoundEven(client_.right / 2.0 - tw / 2.0));
  caption_.top = static_cast<int>(RoundEven(client_.bottom / 2.0 - th / 2.0));
  caption_.right = caption_.left + tw;
  caption_.bottom = caption_.top + th;
}

void StyledProgressBar::DrawCaptionOverlay(QPainter& p, const QString& text, double s) {
  if (!(s >= caption_.left)) return;
  Rect part = caption_;
  part.right = ClampLength(RoundEven(s));
  DrawCaptionText(p, text, part, scrolling_ == kDark ? LightenColor(color_, 80) : kWhite);
}

void StyledProgressBar::DrawCaptionText(QPainter& p, const QString& text, const Rect& r, PackedColor c) {
  if (r.right <= r.left || r.bottom <= r.top) return;
  p.save();
  p.setClipRect(QRect(r.left, r.top, r.right - r.left, r.bottom - r.top));
  p.setPen(ToQColor(c));
  p.drawText(r.left, r.top + p.fontMetrics().ascent(), text);
  p.restore();
}

}  // namespace cn
