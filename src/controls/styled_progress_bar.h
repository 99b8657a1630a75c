// StyledProgressBar: a self-drawn progress bar in ten styles with an optional
// centred percentage. Every repaint is composed in an off-screen buffer and
// copied to the window in one piece, so a rapidly rising Value does not
// flicker; the buffer is reused and only ever grows.
#pragma once

#include <QFont>
#include <QImage>
#include <QPixmap>
#include <QSize>
#include <QString>
#include <QWidget>
#include <cstdint>

#include "core/progress.h"

class QPainter;
class QPaintDevice;

namespace cn {

class PropertyBag;

// A colour as the bar's properties hold it: packed RGB (red + 256 * green +
// 65536 * blue), or a system colour code: the high bit set (so negative) and
// the colour's index in the low bits.
using PackedColor = std::int32_t;

constexpr PackedColor PackRgb(int red, int green, int blue) {
  return static_cast<PackedColor>((red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16));
}
constexpr PackedColor SystemColorCode(int index) {
  return static_cast<PackedColor>(0x80000000u | static_cast<std::uint32_t>(index));
}
inline constexpr int kSystemHighlight = 13;

// The caption for a value: "Searching.." in the marquee style, otherwise the
// percentage Value / Max rounded half to even, then " %" ("45 %", "120 %").
// A bar without room (max <= 0) reads "0 %".
QString ProgressCaption(int value, int max, int scrolling);

class StyledProgressBar : public QWidget, public Progress {
  Q_OBJECT
  Q_CLASSINFO("ProgId", "Curvenest.StyledProgressBar")
  Q_CLASSINFO("ColorDescription", "Returns/sets the color of the ProgressBar")

 public:
  // The drawing styles, the values of Scrolling.
  enum Style : int {
    kBlocks = 0,
    kSmooth = 1,
    kMarquee = 2,
    kFlat = 3,
    kEtchedGradient = 4,
    kGlass = 5,
    kDark = 6,
    kHatched = 7,
    kPicture = 8,
    kGloss = 9,
  };
  // The look of the sweeping windows' bars: glossy dark blue.
  static constexpr PackedColor kSweepColor = PackRgb(21, 63, 107);

  explicit StyledProgressBar(QWidget* parent = nullptr);
  ~StyledProgressBar() override;

  // Properties, in get/set pairs. Setters that redraw say so.
  int BrushStyle() const { return brushStyle_; }
  void BrushStyle(int Style);  // hatch of style 7: 0 horizontal .. 5 diagonal cross
  PackedColor Color() const { return color_; }
  void Color(PackedColor lColor);  // resolved to RGB; redraws
  QFont Font() const { return font_; }
  void Font(const QFont& fnt);
  QWidget* hwnd() const { return hwnd_; }
  void hwnd(QWidget* chWnd) { hwnd_ = chWnd; }
  // The buffer when there is one, else the control itself.
  QPaintDevice* hdc();
  void hdc(QPaintDevice* cHdc);  // the value is ignored: (re)builds the buffer
  QPixmap Image() const { return image_; }
  void Image(const QPixmap& handle);  // redraws
  int Min() const { return min_; }
  void Min(int cMin);
  int Max() const override { return max_; }
  void Max(int cMax) override;
  int Orientation() const { return orientation_; }
  void Orientation(int cOrientation);  // 0 horizontal, other vertical; redraws
  int Scrolling() const { return scrolling_; }
  void Scrolling(int lScrolling);  // drawing style 0 to 9; redraws
  bool ShowText() const { return showText_; }
  void ShowText(bool bShowText);  // redraws
  int Value() const override { return value_; }
  void Value(int cValue) override;  // repaints at once

  // Sets the style, colour and caption of the sweeping windows' bars in one go.
  void UseSweepLook(bool showText);

  // Repaints everything: synchronously on screen when shown, else in the buffer.
  void DrawProgressBar();
  // A one-pixel line from (X, Y) towards the end point (Width, Height), which
  // itself is not painted.
  void DrawLine(int X, int Y, int Width, int Height, QPainter& cHdc, PackedColor Color);
  // A linear gradient as a stack of lines, from lEndColor (line 0) to
  // lStartcolor (line N). bH: vertical lines at columns X .. X + X2, each from
  // row Y to Y2; otherwise horizontal lines at rows Y .. Y + Y2, each from
  // column X to X2. Both colours come back resolved to RGB.
  void DrawGradient(PackedColor& lEndColor, PackedColor& lStartcolor, int X, int Y, int X2, int Y2, QPainter& hdc,
                    bool bH);
  // Copies a rectangle of the buffer to `hdc`; a width or height below 1
  // means the buffer's full width or height.
  void pDraw(QPainter& hdc, int xSrc, int ySrc, int WidthSrc, int HeightSrc, int xDst, int yDst);

  // The form's property store.
  void ReadProperties(const PropertyBag& bag);
  void WriteProperties(PropertyBag& bag) const;

  // The off-screen buffer's size (0 x 0 when there is none).
  QSize BufferSize() const { return QSize(bufferWidth_, bufferHeight_); }

  QSize sizeHint() const override { return QSize(200, 14); }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  // Edges are [left, right) x [top, bottom), as the drawing routines use them.
  struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
  };
  enum class Edge { kEtched, kBump, kSunkenOuter };

  static PackedColor TranslateColor(PackedColor c);
  static PackedColor LightenColor(PackedColor c, int amount);
  static PackedColor BlendColor(PackedColor c1, PackedColor c2, int weight);
  static void FrameRectColor(QPainter& p, const Rect& rect, PackedColor c);
  static void FillRectColor(QPainter& p, const Rect& rect, PackedColor c);
  static void DrawEdge(QPainter& p, const Rect& rect, Edge edge);

  QPaintDevice* EnsureBuffer(int width, int height);
  void CreateBuffer(int width, int height);
  void FreeBuffer();

  // Steps 1 to 4 of a repaint, on any surface at least W x H.
  void Compose(QPainter& p);
  double Fraction() const;
  int FillLength(int k) const;

  void ComputeSegments();
  void DrawTube(QPainter& p);
  void DrawSeparators(QPainter& p);
  void DrawBevelFrame(QPainter& p);
  void DrawCaption(QPainter& p);
  void CenterCaption(QPainter& p, const QString& text);
  void DrawCaptionOverlay(QPainter& p, const QString& text, double s);
  static void DrawCaptionText(QPainter& p, const QString& text, const Rect& rect, PackedColor c);

  void DrawFlat(QPainter& p);            // style 3
  void DrawEtchedGradient(QPainter& p);  // style 4
  void DrawGlass(QPainter& p);           // style 5
  void DrawDark(QPainter& p);            // style 6
  void DrawHatched(QPainter& p);         // style 7
  void DrawPicture(QPainter& p);         // style 8
  void DrawGloss(QPainter& p);           // style 9

  // Properties.
  int brushStyle_ = 0;
  PackedColor color_ = 0;
  QFont font_;
  QWidget* hwnd_ = nullptr;
  QPixmap image_;
  int min_ = 0;
  int max_ = 100;
  int orientation_ = 0;
  int scrolling_ = 0;
  bool showText_ = false;
  int value_ = 0;

  // The off-screen buffer.
  QImage buffer_;
  int bufferWidth_ = 0;
  int bufferHeight_ = 0;
  bool buffered_ = false;
  bool composed_ = false;  // the buffer holds the bar as it is now

  // Per-paint state.
  Rect client_;
  Rect fill_;
  Rect caption_;
  int block_ = 0;
  int gap_ = 2;
};

}  // namespace cn
