#include "picture/block_diagram.h"
#include "picture/canvas.h"
#include "picture/colours.h"
#include "picture/fonts.h"
#include "picture/surfaces.h"

#include <gtest/gtest.h>

namespace t1::testing {

namespace {

Canvas diagram()
{
    Canvas c(kSurfaceWidth, kSurfaceHeight, colour::btnFace);
    drawBlockDiagram(c);
    return c;
}

bool anyInBox(const Canvas& c, int x1, int y1, int x2, int y2, QRgb colour)
{
    for (int y = y1; y < y2; ++y)
        for (int x = x1; x < x2; ++x)
            if (c.pixel(x, y) == colour)
                return true;
    return false;
}

}  // namespace

TEST(BlockDiagram, ThickLinesReachTheOvenPicture)
{
    const Canvas c = diagram();
    // Supply and return run 2 px wide down to the resistor's leads at
    // window x 478..479, where the oven picture starts (y 40 and y 120).
    for (int y = 30; y < 40; ++y) {
        EXPECT_EQ(c.pixel(478, y), colour::black) << y;
        EXPECT_EQ(c.pixel(479, y), colour::black) << y;
    }
    EXPECT_EQ(c.pixel(480, 35), colour::btnFace);
    for (int y = 120; y <= 130; ++y)
        EXPECT_EQ(c.pixel(479, y), colour::black) << y;
    EXPECT_EQ(c.pixel(479, 119), colour::btnFace);  // the oven picture's last row
    // The horizontal runs join the vertical ones without a gap.
    for (int x = 398; x < 479; ++x) {
        EXPECT_EQ(c.pixel(x, 30), colour::black) << x;
        EXPECT_EQ(c.pixel(x, 130), colour::black) << x;
    }
    // Sensor line from the oven picture's right edge to the converter A/N.
    for (int x = 640; x < 680; ++x)
        EXPECT_EQ(c.pixel(x, 80), colour::black) << x;
    EXPECT_EQ(c.pixel(639, 80), colour::btnFace);
    // Command U, between the converter N/A and the command box.
    EXPECT_EQ(c.pixel(335, 80), colour::black);
    EXPECT_EQ(c.pixel(335, 79), colour::black);
}

TEST(BlockDiagram, RedDigitalSignalsAndTheFeedbackLoop)
{
    const Canvas c = diagram();
    EXPECT_EQ(c.pixel(20, 80), colour::red);    // E
    EXPECT_EQ(c.pixel(59, 80), colour::red);
    EXPECT_EQ(c.pixel(120, 80), colour::red);   // Ep
    EXPECT_EQ(c.pixel(250, 80), colour::red);   // Epu
    EXPECT_EQ(c.pixel(760, 80), colour::red);   // X leaves the converter A/N
    EXPECT_EQ(c.pixel(780, 115), colour::red);  // down the right side
    EXPECT_EQ(c.pixel(400, 150), colour::red);  // along the bottom
    EXPECT_EQ(c.pixel(80, 150), colour::red);   // the corner under the comparator
    EXPECT_EQ(c.pixel(80, 120), colour::red);   // up into the comparator
    EXPECT_EQ(c.pixel(79, 120), colour::btnFace);
    EXPECT_EQ(c.pixel(81, 120), colour::btnFace);
}

TEST(BlockDiagram, BoxesAndComparator)
{
    const Canvas c = diagram();
    // Command box: black outline, white inside; its right and bottom edges excluded.
    EXPECT_EQ(c.pixel(370, 60), colour::black);
    EXPECT_EQ(c.pixel(429, 60), colour::black);
    EXPECT_EQ(c.pixel(400, 109), colour::black);
    EXPECT_EQ(c.pixel(380, 100), colour::white);
    EXPECT_EQ(c.pixel(430, 100), colour::btnFace);
    // Converters: yellow inside a black outline.
    EXPECT_EQ(c.pixel(272, 100), colour::yellow);
    EXPECT_EQ(c.pixel(270, 100), colour::black);
    EXPECT_EQ(c.pixel(735, 100), colour::yellow);
    EXPECT_EQ(c.pixel(739, 100), colour::black);
    EXPECT_EQ(c.pixel(740, 100), colour::btnFace);
    // Regulator: red inside a black outline.
    EXPECT_EQ(c.pixel(150, 100), colour::red);
    EXPECT_EQ(c.pixel(140, 100), colour::black);
    EXPECT_EQ(c.pixel(229, 100), colour::black);
    // Comparator: red circle with white inside and a red cross.
    EXPECT_EQ(c.pixel(60, 80), colour::red);
    EXPECT_EQ(c.pixel(99, 80), colour::red);
    EXPECT_EQ(c.pixel(80, 60), colour::red);
    EXPECT_EQ(c.pixel(80, 99), colour::red);
    EXPECT_EQ(c.pixel(80, 80), colour::red);  // centre of the cross
    EXPECT_EQ(c.pixel(70, 70), colour::red);
    EXPECT_EQ(c.pixel(70, 90), colour::red);
    EXPECT_EQ(c.pixel(88, 80), colour::white);
}

TEST(BlockDiagram, LabelsInBlueAndTheTextFontLeftForLaterTexts)
{
    const Canvas c = diagram();
    struct Spot {
        int x, y;
        const char* name;
    };
    const Spot labels[] = {{373, 72, "Commande"}, {278, 62, "Convert."}, {286, 82, "N/A"}, {688, 62, "Convert."},
                           {696, 82, "A/N"},      {10, 85, "E"},         {110, 85, "Ep"},   {240, 85, "Epu"},
                           {340, 85, "U"},        {650, 85, "S"},        {120, 155, "X"},   {65, 73, "+"}};
    for (const Spot& s : labels)
        EXPECT_TRUE(anyInBox(c, s.x, s.y, s.x + 12, s.y + 12, colour::blue)) << s.name;
    // "Régulateur" is written in blue on the red box.
    EXPECT_TRUE(anyInBox(c, 160, 60, 210, 72, colour::blue));
    // No value is shown before a lesson runs.
    EXPECT_FALSE(anyInBox(c, 10, 60, 30, 70, colour::blue));

    Canvas again = diagram();
    EXPECT_EQ(again.fontColour(), colour::blue);
    EXPECT_EQ(again.fontSize(), fonts::pt7);
}

TEST(BlockDiagram, RepaintingIsIdempotent)
{
    Canvas c = diagram();
    const QImage once = c.image();
    drawBlockDiagram(c);
    EXPECT_EQ(c.image(), once);
}

}  // namespace t1::testing
