#include "picture/colours.h"
#include "picture/fonts.h"
#include "picture/oven_picture.h"
#include "picture/rotor.h"
#include "picture/sprites.h"
#include "picture/surfaces.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace t1::testing {

namespace {

constexpr QRgb kCyan = fromBgr(0xFFFF80);
constexpr QRgb kMarker = fromBgr(0x123456);

QRgb rgb(int r, int g, int b)
{
    return qRgb(r, g, b);
}

// The runs of yellow pixels on one row of the picture right of the resistor,
// as inclusive (first, last) pairs.
std::vector<std::pair<int, int>> yellowRuns(const Canvas& c, int y)
{
    std::vector<std::pair<int, int>> runs;
    for (int x = 46; x < 200; ++x) {
        if (c.pixel(x, y) != colour::yellow)
            continue;
        const int first = x;
        while (x + 1 < 200 && c.pixel(x + 1, y) == colour::yellow)
            ++x;
        runs.emplace_back(first, x);
    }
    return runs;
}

std::vector<QPoint> points(const RotorPolygon& p)
{
    return {p.begin(), p.end()};
}

struct OvenFixture : ::testing::Test {
    OvenFixture() { buildSprites(s); }
    Surfaces s;
};

}  // namespace

TEST(HeatColour, GoesFromBlueToRedOnTheLowByte)
{
    EXPECT_EQ(heatColour(0), rgb(0, 0, 255));
    EXPECT_EQ(heatColour(2), rgb(2, 0, 253));
    EXPECT_EQ(heatColour(128), rgb(128, 0, 127));
    EXPECT_EQ(heatColour(255), rgb(255, 0, 0));
    // Only the low byte counts: past 255 the colour starts again from blue.
    EXPECT_EQ(heatColour(256), rgb(0, 0, 255));
    EXPECT_EQ(heatColour(300), rgb(44, 0, 211));
    EXPECT_EQ(heatColour(-1), rgb(255, 0, 0));
}

TEST(Rotor, VerticesForThreeLevels)
{
    EXPECT_EQ(points(rotorPolygon(rotorAngles(2))),
              (std::vector<QPoint>{{20, 28}, {26, 49}, {13, 35}, {0, 39}, {10, 26}, {17, 0}}));
    EXPECT_EQ(points(rotorPolygon(rotorAngles(100))),
              (std::vector<QPoint>{{9, 29}, {8, 3}, {18, 24}, {29, 31}, {17, 35}, {6, 55}}));
    // Level 4 is the frame the sprites are built with.
    const std::vector<QPoint> startup{{20, 29}, {24, 53}, {12, 35}, {0, 33}, {11, 25}, {20, 2}};
    EXPECT_EQ(points(rotorPolygon(rotorAngles(4))), startup);
    EXPECT_EQ(points(rotorPolygon(kStartupRotorAngles)), startup);
}

TEST_F(OvenFixture, SpritesAsBuilt)
{
    ASSERT_TRUE(s.gResistorBmp && s.gFanBmpA && s.gFanBmpB && s.gBackgroundBmp);
    EXPECT_EQ(s.gResistorBmp->image().size(), QSize(15, 60));
    EXPECT_EQ(s.gFanBmpA->image().size(), QSize(30, 60));
    EXPECT_EQ(s.gBackgroundBmp->image().size(), QSize(353, 262));

    // Resistor: black frame and crossing diagonals on white.
    const Canvas& r = *s.gResistorBmp;
    EXPECT_EQ(r.pixel(0, 0), colour::black);
    EXPECT_EQ(r.pixel(14, 59), colour::black);
    EXPECT_EQ(r.pixel(8, 8), colour::black);
    EXPECT_EQ(r.pixel(2, 3), colour::white);

    // Fan: blue ground, yellow rotor with a blue outline.
    const Canvas& fan = *s.gFanBmpA;
    EXPECT_EQ(fan.pixel(0, 0), colour::blue);
    EXPECT_EQ(fan.pixel(29, 59), colour::blue);
    EXPECT_EQ(fan.pixel(15, 30), colour::yellow);
    EXPECT_EQ(fan.pixel(20, 2), colour::blue);  // the outline on a tip

    EXPECT_EQ(s.gFanBmpB->image(), fan.image());

    const Canvas& bg = *s.gBackgroundBmp;
    EXPECT_EQ(bg.pixel(0, 0), kCyan);
    EXPECT_EQ(bg.pixel(352, 261), kCyan);
}

TEST_F(OvenFixture, FreeingTheSpritesLeavesNothingToDrawWith)
{
    freeSprites(s);
    EXPECT_FALSE(s.gResistorBmp || s.gFanBmpA || s.gFanBmpB || s.gBackgroundBmp);
    freeSprites(s);  // twice is harmless
    drawIdleOven(s);
    drawOven(s, heatingOven(2));
    EXPECT_TRUE(s.fond.image().isNull());
}

TEST_F(OvenFixture, IdlePicture)
{
    drawIdleOven(s);
    const Canvas& f = s.fond;
    EXPECT_EQ(f.image().size(), QSize(353, 262));
    // Cold blue inside, down to row 89; the background shows below it.
    EXPECT_EQ(f.pixel(100, 20), colour::blue);
    EXPECT_EQ(f.pixel(199, 89), colour::blue);
    EXPECT_EQ(f.pixel(100, 90), kCyan);
    EXPECT_EQ(f.pixel(200, 20), kCyan);
    // Resistor leads above and below the resistor, sensor lead to the edge.
    for (QPoint p : {QPoint(38, 0), QPoint(39, 9), QPoint(38, 70), QPoint(39, 79), QPoint(188, 39), QPoint(199, 40)})
        EXPECT_EQ(f.pixel(p.x(), p.y()), colour::black) << p.x() << "," << p.y();
    for (QPoint p : {QPoint(37, 0), QPoint(40, 9), QPoint(39, 80), QPoint(199, 38), QPoint(199, 41)})
        EXPECT_NE(f.pixel(p.x(), p.y()), colour::black) << p.x() << "," << p.y();
    // Sensor, outline and fill.
    EXPECT_EQ(f.pixel(168, 30), colour::green);
    EXPECT_EQ(f.pixel(178, 40), colour::green);
    EXPECT_EQ(f.pixel(187, 49), colour::green);
    EXPECT_EQ(f.pixel(178, 50), colour::blue);
    // Fan ground at (0, 10), resistor at (31, 10), both as built; no heat lines.
    EXPECT_EQ(f.pixel(0, 10), colour::blue);
    EXPECT_EQ(f.pixel(15, 40), colour::yellow);
    EXPECT_EQ(f.pixel(31, 10), colour::black);
    EXPECT_EQ(f.pixel(45, 69), colour::black);
    EXPECT_TRUE(yellowRuns(f, 20).empty());
}

TEST_F(OvenFixture, FanFramesStayIdenticalUntilTheFirstLessonTick)
{
    for (int i = 0; i < 3; ++i)
        drawIdleOven(s);
    EXPECT_EQ(s.gFanBmpA->image(), s.gFanBmpB->image());
    drawOven(s, heatingOven(2));
    EXPECT_NE(s.gFanBmpA->image(), s.gFanBmpB->image());
    drawIdleOven(s);
    // The idle picture keeps showing the first frame, never the turned one.
    EXPECT_EQ(s.fond.image().copy(0, 10, 30, 60), s.gFanBmpA->image());
}

TEST_F(OvenFixture, HeatLineGroupsFollowTheLevel)
{
    using Runs = std::vector<std::pair<int, int>>;
    struct Case {
        int n;
        Runs upper;
    };
    const Case cases[] = {
        {2, {{51, 60}, {71, 80}, {91, 100}}},
        // Groups 70 and 90 stopped after 214 and 194; -70 waits for 241.
        {240, {{70, 79}, {90, 99}, {110, 119}, {130, 139}, {150, 159}, {170, 179}}},
        {255, {{57, 66}, {77, 86}, {97, 106}, {117, 126}, {137, 146}, {157, 166}, {177, 186}}},
    };
    for (const Case& c : cases) {
        drawOven(s, heatingOven(c.n));
        EXPECT_EQ(yellowRuns(s.fond, 20), c.upper) << "n = " << c.n;
        EXPECT_EQ(yellowRuns(s.fond, 60), c.upper) << "n = " << c.n;
    }
    // The middle line of a group sits 5 pixels left of the others.
    drawOven(s, heatingOven(2));
    EXPECT_EQ(yellowRuns(s.fond, 40), (Runs{{46, 55}, {66, 75}, {86, 95}}));

    drawOven(s, hotOven(2, false));
    EXPECT_TRUE(yellowRuns(s.fond, 20).empty());
}

TEST_F(OvenFixture, InsideFanAndResistorTakeTheLessonsColours)
{
    drawOven(s, heatingOven(2));
    EXPECT_EQ(s.fond.pixel(100, 85), rgb(2, 0, 253));
    EXPECT_EQ(s.fond.pixel(29, 10), rgb(2, 0, 253));  // fan ground
    EXPECT_EQ(s.gFanBmpB->pixel(0, 0), rgb(2, 0, 253));
    // The rotor outline is in the ground's colour, the blades yellow.
    EXPECT_EQ(s.gFanBmpB->pixel(17, 0), rgb(2, 0, 253));
    EXPECT_EQ(s.gFanBmpB->pixel(15, 30), colour::yellow);

    // Frame and hatch of the resistor turn red, the gaps stay white.
    EXPECT_EQ(s.gResistorBmp->pixel(0, 0), colour::red);
    EXPECT_EQ(s.gResistorBmp->pixel(8, 8), colour::red);
    EXPECT_EQ(s.gResistorBmp->pixel(2, 3), colour::white);
    EXPECT_EQ(s.fond.pixel(31, 10), colour::red);

    drawOven(s, heatingOven(255));
    EXPECT_EQ(s.fond.pixel(100, 85), colour::red);

    drawOven(s, hotOven(120, true));
    EXPECT_EQ(s.fond.pixel(100, 85), colour::red);
    EXPECT_EQ(s.gFanBmpB->pixel(0, 0), colour::red);

    // Once a lesson has run, the idle oven shows the red resistor.
    drawIdleOven(s);
    EXPECT_EQ(s.fond.pixel(31, 10), colour::red);
    EXPECT_EQ(s.fond.pixel(100, 85), colour::blue);
}

TEST_F(OvenFixture, EveryTickStartsFromTheBackground)
{
    drawOven(s, heatingOven(10));
    s.fond.setPenAndBrush(kMarker);
    s.fond.rectangle(250, 150, 260, 160);
    drawOven(s, heatingOven(11));
    EXPECT_EQ(s.fond.pixel(255, 155), kCyan);
    EXPECT_EQ(s.fond.image().size(), QSize(353, 262));
}

namespace {

// What the hooks saw, in the order they ran.
std::vector<std::pair<char, int>> gHookCalls;

void markSensor(Surfaces& s, int n)
{
    gHookCalls.emplace_back('s', n);
    // Where the heat lines will pass: they must be drawn over this.
    s.fond.setPenAndBrush(kMarker);
    s.fond.rectangle(51, 20, 53, 21);
    s.window.setPenAndBrush(kMarker);
    s.window.rectangle(550, 125, 560, 126);
}

}  // namespace

TEST_F(OvenFixture, DoorAndLeakHooksRunAtTheirPlaces)
{
    gHookCalls.clear();
    OvenHooks hooks;
    hooks.afterFill = [](Surfaces& s, int n) {
        gHookCalls.emplace_back('f', n);
        drawClosedDoor(s.fond);
    };
    hooks.afterSensor = markSensor;
    hooks.afterLast = [](Surfaces&, int n) { gHookCalls.emplace_back('l', n); };
    drawOven(s, hotOven(2, true), hooks);

    EXPECT_EQ(gHookCalls, (std::vector<std::pair<char, int>>{{'f', 2}, {'s', 2}, {'l', 2}}));
    EXPECT_EQ(s.fond.pixel(51, 20), colour::yellow);
    EXPECT_EQ(s.window.pixel(555, 125), kMarker);
    // The door along the bottom edge, two rows thick, up to its end point.
    EXPECT_EQ(s.fond.pixel(60, 79), colour::green);
    EXPECT_EQ(s.fond.pixel(109, 78), colour::green);
    EXPECT_EQ(s.fond.pixel(110, 79), colour::green);
    EXPECT_EQ(s.fond.pixel(111, 79), colour::red);
    // Its 2-pixel pen outlines the leads and the sensor that follow.
    EXPECT_EQ(s.fond.pixel(37, 0), colour::black);
    EXPECT_EQ(s.fond.pixel(167, 30), colour::green);

    // The same door after the last step: the leads keep their 1-pixel outline.
    drawOven(s, hotOven(3, true), OvenHooks{nullptr, nullptr, kClosedDoor});
    EXPECT_EQ(s.fond.pixel(60, 79), colour::green);
    EXPECT_EQ(s.fond.pixel(37, 0), colour::red);
    EXPECT_EQ(s.fond.pixel(167, 30), colour::red);

    // Without hooks no door: the next tick's picture has none.
    drawOven(s, hotOven(4, true));
    EXPECT_EQ(s.fond.pixel(60, 79), colour::red);
}

TEST_F(OvenFixture, CaptionShowsTheTemperatureRoundedUp)
{
    drawOven(s, heatingOven(10));
    Canvas expected = s.fond;
    drawTemperatureCaption(s.fond, 50.2);
    expected.setFontColour(colour::black);
    expected.setFontSize(fonts::pt8);
    expected.textOut(168, 66, QStringLiteral("51"));
    expected.textOut(188, 66, QStringLiteral("°C"));
    EXPECT_EQ(s.fond.image(), expected.image());
    // Below the sensor, in black, inside the part of the picture that shows.
    const QRect caption(168, 66, 32, 14);
    bool inked = false;
    for (int y = caption.top(); y <= caption.bottom(); ++y)
        for (int x = caption.left(); x <= caption.right(); ++x)
            inked = inked || s.fond.pixel(x, y) == colour::black;
    EXPECT_TRUE(inked);
}

}  // namespace t1::testing
