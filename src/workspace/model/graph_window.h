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

// The window with tick steps that suit its sides after a zoom or a pan: each
// step is the smallest of 1, 2 and 5 times a power of ten (0.2, 5, 1000, ...)
// that gives its axis at most kMostTicks ticks (side / step). The next larger
// step of the series is at most 2.5 times as large, so an axis keeps more
// than 4.8 ticks: 5 or more except on sides just under 2.5 times a power of
// ten (a side of 245 gets a step of 50). -10..10 gets steps of 2; Zoom
// Standard sets its steps of 1 itself. Bounds are kept.
inline constexpr int kMostTicks = 12;
GraphWindow WithNiceSteps(const GraphWindow& window);

// Why a zoom left the window as it was: "" when `after` has other bounds
// than `before`; else "Zoomed in as far as the plane goes: a side of 2
// units." or "Zoomed out as far as the plane goes: -32768 to 32767."
std::string ZoomLimitText(const GraphWindow& before, const GraphWindow& after, bool zoomIn);
// Why a pan by (dx, dy) whole units left the window as it was: "" when the
// window moves (or no move was asked); else the edges that stopped it, "The
// plane ends at x = 32767." or "The plane ends at x = -32768 and y = 32767."
std::string PanLimitText(const GraphWindow& window, long dx, long dy);

// -10..10 on both axes, steps 1.
inline constexpr GraphWindow kStandardWindow{};

}  // namespace cn
