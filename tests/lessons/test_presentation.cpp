#include "lessons/lesson_table.h"
#include "lessons/scene.h"
#include "picture/block_diagram.h"

#include <gtest/gtest.h>

namespace t1::testing {

namespace {

bool inkInRow(const Canvas& c, int x1, int x2, int y1, int y2, QRgb colour)
{
    for (int y = y1; y < y2; ++y)
        for (int x = x1; x < x2; ++x)
            if (c.pixel(x, y) == colour)
                return true;
    return false;
}

int rightmostInk(const Canvas& c, int y1, int y2, QRgb colour)
{
    int right = -1;
    for (int y = y1; y < y2; ++y)
        for (int x = 0; x < c.width(); ++x)
            if (c.pixel(x, y) == colour)
                right = std::max(right, x);
    return right;
}

}  // namespace

TEST(Presentation, TwoColumnsAndTheirFuchsiaBars)
{
    Scene scene;
    presentationTick(scene, 0);
    const Canvas& c = scene.surfaces.window;
    const QRgb fuchsia = fromBgr(0xFF00FF);
    for (int y = 170; y <= 465; ++y)
        EXPECT_EQ(c.pixel(5, y), fuchsia) << y;
    EXPECT_EQ(c.pixel(4, 300), fuchsia);  // 2 px wide
    EXPECT_EQ(c.pixel(5, 466), colour::btnFace);
    EXPECT_EQ(c.pixel(445, 345), fuchsia);
    EXPECT_EQ(c.pixel(445, 346), colour::btnFace);
    EXPECT_EQ(c.pixel(445, 400), colour::btnFace);

    // Every line of both columns is there, in blue.
    for (int y = 170; y <= 450; y += 20)
        EXPECT_TRUE(inkInRow(c, 10, 440, y, y + 12, colour::blue)) << "left column, y " << y;
    for (int y = 170; y <= 330; y += 20)
        EXPECT_TRUE(inkInRow(c, 450, 800, y, y + 12, colour::blue)) << "right column, y " << y;
    EXPECT_FALSE(inkInRow(c, 450, 800, 350, 480, colour::blue));
    // The left column stays clear of the right one, and the right one of the window's edge.
    EXPECT_LT(rightmostInk(c, 170, 342, colour::blue), 800);
    for (int y = 170; y <= 330; y += 20)
        EXPECT_FALSE(inkInRow(c, 440, 449, y, y + 12, colour::blue)) << y;
}

TEST(Presentation, RedrawnOverItselfAndNothingElseTouched)
{
    Scene scene;
    drawBlockDiagram(scene.surfaces.window);
    const QImage before = scene.surfaces.window.image();
    presentationTick(scene, 0);
    const QImage once = scene.surfaces.window.image();
    for (int i = 0; i < 20; ++i)
        presentationTick(scene, 0);
    EXPECT_EQ(scene.surfaces.window.image(), once);
    EXPECT_EQ(once.copy(0, 0, 800, 170), before.copy(0, 0, 800, 170));
    EXPECT_TRUE(scene.surfaces.fond.image().isNull());
    EXPECT_EQ(scene.st.gSceneTick, 0);
}

}  // namespace t1::testing
