#include "picture/colours.h"
#include "picture/oven_door.h"
#include "picture/surfaces.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace t1::testing {

namespace {

// Runs of a colour on one row, as inclusive (first, last) pairs.
std::vector<std::pair<int, int>> runs(const Canvas& c, int y, QRgb colour)
{
    std::vector<std::pair<int, int>> found;
    for (int x = 0; x < c.width(); ++x) {
        if (c.pixel(x, y) != colour)
            continue;
        const int first = x;
        while (x + 1 < c.width() && c.pixel(x + 1, y) == colour)
            ++x;
        found.emplace_back(first, x);
    }
    return found;
}

using Runs = std::vector<std::pair<int, int>>;

Canvas window()
{
    return Canvas(kSurfaceWidth, kSurfaceHeight, colour::btnFace);
}

}  // namespace

TEST(OvenDoor, OpenDoorAndTheRedOpeningAboveIt)
{
    Canvas w = window();
    drawOpenDoor(w);
    // The door from its hinge to its foot, both ends covered by the wide pen.
    EXPECT_EQ(w.pixel(500, 119), colour::green);
    EXPECT_EQ(w.pixel(550, 140), colour::green);
    EXPECT_EQ(w.pixel(525, 129), colour::green);
    // The opening: a red triangle right of the door, closed by a vertical side at x = 552.
    EXPECT_EQ(w.pixel(502, 118), colour::red);
    EXPECT_EQ(w.pixel(552, 118), colour::red);
    EXPECT_EQ(w.pixel(545, 125), colour::red);
    EXPECT_EQ(w.pixel(551, 138), colour::red);
    EXPECT_EQ(w.pixel(553, 125), colour::btnFace);
    EXPECT_EQ(w.pixel(505, 135), colour::btnFace);  // below the door
    EXPECT_EQ(w.penWidth(), 1);
}

TEST(OvenDoor, LeakStrokesDriftHalfAPixelPerPhase)
{
    Canvas w = window();
    moveLeakStrokes(w, LeakGroup::First, 101);
    EXPECT_EQ(runs(w, 125, colour::violet), (Runs{{550, 559}}));
    EXPECT_EQ(runs(w, 130, colour::violet), (Runs{{555, 564}}));
    EXPECT_EQ(runs(w, 135, colour::violet), (Runs{{550, 559}}));

    // The next phase wipes the previous place: only the new one shows.
    moveLeakStrokes(w, LeakGroup::First, 102);
    EXPECT_EQ(runs(w, 125, colour::violet), (Runs{{551, 560}}));
    moveLeakStrokes(w, LeakGroup::First, 103);
    EXPECT_EQ(runs(w, 125, colour::violet), (Runs{{551, 560}}));
    EXPECT_EQ(w.pixel(550, 125), colour::btnFace);

    // The second group trails the first with shorter strokes.
    moveLeakStrokes(w, LeakGroup::Second, 121);
    EXPECT_EQ(runs(w, 125, colour::violet), (Runs{{545, 549}, {551, 560}}));
    EXPECT_EQ(runs(w, 130, colour::violet), (Runs{{550, 554}, {556, 565}}));
    EXPECT_EQ(runs(w, 135, colour::violet), (Runs{{545, 549}, {551, 560}}));
}

TEST(OvenDoor, WipeClearsUnderTheOvenOnly)
{
    Canvas w(kSurfaceWidth, kSurfaceHeight, colour::black);
    wipeUnderOven(w);
    for (auto [x, y] : {std::pair{500, 121}, {599, 141}, {552, 120}, {550, 125}})
        EXPECT_EQ(w.pixel(x, y), colour::btnFace) << x << "," << y;
    // The picture's last rows above and the diagram's lines around stay.
    for (auto [x, y] : {std::pair{550, 119}, {550, 142}, {601, 130}, {497, 130}})
        EXPECT_EQ(w.pixel(x, y), colour::black) << x << "," << y;
}

}  // namespace t1::testing
