#pragma once

#include <QFont>

namespace t1::fonts {

// Sizes in pixels, so the picture does not depend on the screen's dots per inch.
inline constexpr int pt7 = 9;
inline constexpr int pt8 = 11;
inline constexpr int pt10 = 13;
inline constexpr int pt12 = 16;
inline constexpr int pt14 = 19;

// A free sans-serif with Arial's metrics: the longest lesson lines then end
// before the right edge of the drawing surface.
inline constexpr const char* family = "Liberation Sans";

// Aliased and fully hinted: texts are reprinted over themselves on every
// tick, and antialiased edges would darken into a smear.
QFont make(int pixelSize, bool bold = false);

}  // namespace t1::fonts
