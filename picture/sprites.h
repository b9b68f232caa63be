#pragma once

namespace t1 {

struct Surfaces;

// Sizes of the sprites. The background is larger than the 200 x 80 that
// the oven picture shows; the rest of it never shows.
inline constexpr int kResistorWidth = 15;
inline constexpr int kResistorHeight = 60;
inline constexpr int kFanWidth = 30;
inline constexpr int kFanHeight = 60;
inline constexpr int kBackgroundWidth = 353;
inline constexpr int kBackgroundHeight = 262;

// Builds the four sprites, in this order: the black hatched resistor, the
// first fan frame, the same frame again for the fan that turns, and the
// light cyan background of the oven picture.
void buildSprites(Surfaces& s);

// Frees whichever sprites exist.
void freeSprites(Surfaces& s);

}  // namespace t1
