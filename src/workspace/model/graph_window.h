// The graph window as a value: the four whole-number bounds and the two tick
// steps, read from the six texts of the main window's boxes by one function,
// and the zoom and pan moves that produce a new window from an old one.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace cn {

struct GraphWindow {
  std::int16_t xmin = -10;
  std::int16_t xmax = 10;
  std::int16_t ymin = -10;
  std::int16_t ymax = 10;
  float ystep = 1;
  float xstep = 1;

  bool operator==(const GraphWindow&) const = default;
};

// The texts of the boxes in reading order: XMin, XMax, YMin, YMax, YStep, XStep.
using WindowTexts = std::array<std::string_view, 6>;

struct WindowReading {
  std::optional<GraphWindow> window;  // set when the texts make a drawable window
  std::string error;                  // else the message, naming the box
};

// Bounds: the leading number of the text (see LeadingNumber), rounded half to
// even, must lie within -32768..32767 ("XMin must lie between -32768 and
// 32767."); XMin == XMax or YMin == YMax is refused too. Steps: the leading
// number in single precision, fraction kept. Examples: "2.5" reads 2, "3.5"
// reads 4, "&H10" reads 16, "abc" reads 0.
WindowReading ReadGraphWindow(const WindowTexts& texts);

// The limits every zoom and pan keeps: bounds within the 16-bit range and no
// side shorter than kMinSide units.
inline constexpr int kMinSide = 2;
inline constexpr int kLowestBound = -32768;
inline constexpr int kHighestBound = 32767;

// Scales both sides by `factor` (0.5 zooms in, 2 out) about the world point
// (cx, cy), which stays where it is up to rounding. The new lower bound and
// the new side are rounded to whole numbers (ties to even); a side that would shrink below kMinSide keeps
// kMinSide about the point, and a bound that would leave the 16-bit range
// stops at its limit. Steps are kept. Mirrored windows (xmin > xmax) stay
// mirrored.
GraphWindow ZoomWindow(const GraphWindow& window, double factor, double cx, double cy);

// Moves the window by whole units (dx to the right, dy upwards). A move that
// would carry a bound out of the 16-bit range stops at the limit, keeping the
// window's size.
GraphWindow PanWindow(const GraphWindow& window, long dx, long dy);

// -10..10 on both axes, steps 1.
inline constexpr GraphWindow kStandardWindow{};

}  // namespace cn
