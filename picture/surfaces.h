#pragma once

#include "picture/canvas.h"
#include "picture/colours.h"

#include <optional>

namespace t1 {

// The window's drawing surface: everything drawn "on the window" lands here,
// and the window only copies it to the screen.
inline constexpr int kSurfaceWidth = 800;
inline constexpr int kSurfaceHeight = 550;

// Where the oven picture sits on the window, and how much of its picture it shows.
inline constexpr int kFondLeft = 440;
inline constexpr int kFondTop = 40;
inline constexpr int kFondWidth = 200;
inline constexpr int kFondHeight = 80;

// Every surface the lessons draw on.
struct Surfaces {
    Canvas window{kSurfaceWidth, kSurfaceHeight, colour::btnFace};
    Canvas fond;  // the oven picture; empty until the first tick

    // Off-screen sprites of the oven picture: built by the window's
    // constructor after its controls, freed by its Destruction.
    std::optional<Canvas> gResistorBmp;
    std::optional<Canvas> gFanBmpA;
    std::optional<Canvas> gFanBmpB;
    std::optional<Canvas> gBackgroundBmp;
};

}  // namespace t1
