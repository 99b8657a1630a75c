// Colours as the program stores them (in workspaces, equations and the
// progress bar's properties) and as Qt draws them.
#pragma once

#include <QColor>
#include <cstdint>

namespace cn {

// Packed RGB is red + 256 * green + 65536 * blue; the byte above blue is
// ignored. FromPacked(0x0000FF) is red, FromPacked(0xFF0000) blue, and
// ToPacked(FromPacked(c)) == (c & 0xFFFFFF).
inline QColor FromPacked(std::uint32_t packed) {
  return QColor(static_cast<int>(packed & 0xFF), static_cast<int>((packed >> 8) & 0xFF),
                static_cast<int>((packed >> 16) & 0xFF));
}

inline std::uint32_t ToPacked(const QColor& color) {
  return static_cast<std::uint32_t>(color.red()) | static_cast<std::uint32_t>(color.green()) << 8 |
         static_cast<std::uint32_t>(color.blue()) << 16;
}

}  // namespace cn
