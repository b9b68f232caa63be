#pragma once

#include <QRgb>
#include <cstdint>

namespace t1 {

// The lessons' tables write colours as 0x00BBGGRR (blue in the high byte).
// This is the one place where such a value becomes a Qt pixel.
constexpr QRgb fromBgr(std::uint32_t bbggrr)
{
    const std::uint32_t r = bbggrr & 0xFFu;
    const std::uint32_t g = (bbggrr >> 8) & 0xFFu;
    const std::uint32_t b = (bbggrr >> 16) & 0xFFu;
    return 0xFF000000u | (r << 16) | (g << 8) | b;
}

namespace colour {
inline constexpr QRgb black = fromBgr(0x000000);
inline constexpr QRgb white = fromBgr(0xFFFFFF);
inline constexpr QRgb red = fromBgr(0x0000FF);
inline constexpr QRgb yellow = fromBgr(0x00FFFF);
inline constexpr QRgb blue = fromBgr(0xFF0000);
inline constexpr QRgb green = fromBgr(0x008000);   // dark green
inline constexpr QRgb purple = fromBgr(0x800080);
inline constexpr QRgb fuchsia = fromBgr(0xFF00FF);
inline constexpr QRgb maroon = fromBgr(0x000080);
inline constexpr QRgb navy = fromBgr(0x800000);
inline constexpr QRgb olive = fromBgr(0x008080);
inline constexpr QRgb violet = fromBgr(0x9C0063);  // the heat leaking out of the open door
// The window background, the system's button-face grey. Fixed rather than
// read from the style, so that the picture is the same on every desktop;
// the window gives its palette this same colour.
inline constexpr QRgb btnFace = fromBgr(0xF0F0F0);
}  // namespace colour

// The oven's colour at heat level n: blue when cold, red when hot. Only the
// low byte of n counts, so a level past 255 starts again from blue.
constexpr QRgb heatColour(int n)
{
    const std::uint32_t level = static_cast<std::uint32_t>(n) & 0xFFu;
    return fromBgr(((0xFFu - level) << 16) | level);
}

}  // namespace t1
