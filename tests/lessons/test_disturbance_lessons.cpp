#include "tests/support/closed_loop_rig.h"
#include "picture/colours.h"

#include <gtest/gtest.h>

namespace t1::testing {

namespace {

bool anyIn(const Canvas& c, int x1, int y1, int x2, int y2, QRgb colour)
{
    for (int y = y1; y < y2; ++y)
        for (int x = x1; x < x2; ++x)
            if (c.pixel(x, y) == colour)
                return true;
    return false;
}

// The door as a tick leaves it.
struct Door {
    bool shutOnPicture;  // the green line along the oven's bottom edge
    bool openBelow;      // the door swung down under the oven
    bool triangle;       // the red opening above it
};

class DisturbanceRun : public ::testing::Test, protected ClosedLoopRig {
protected:
    void SetUp() override
    {
        onTick = [this](int t) {
            const Canvas& w = scene.surfaces.window;
            doors[t] = {scene.surfaces.fond.pixel(85, 79) == colour::green, anyIn(w, 503, 120, 508, 125, colour::green),
                        w.pixel(545, 121) == colour::red};
        };
    }
    std::map<int, Door> doors;
};

}  // namespace

TEST_F(DisturbanceRun, ProportionalValuesThroughTheOpening)
{
    runContinuous(lesson("disturbance P"));
    ASSERT_EQ(shown.size(), 239u);
    const char* const steady = "E 100 Ep 18 Epu 82 U 3,2 S 3,2 X 82 T 46";
    expectShown(shown.at(2), steady, 2);
    expectShown(shown.at(39), steady, 39);
    expectShown(shown.at(40), steady, 40);
    expectShown(shown.at(79), "E 100 Ep 18 Epu 82 U 3,2 S 2 X 82 T 36", 79);
    expectShown(shown.at(80), "E 100 Ep 49 Epu 223 U 8,7 S 2 X 51 T 36", 80);
    expectShown(shown.at(119), "E 100 Ep 49 Epu 223 U 8,7 S 3,2 X 51 T 46", 119);
    expectShown(shown.at(120), steady, 120);
    expectShown(shown.at(239), steady, 239);
    expectShown(shown.at(240), steady, 240);
    // The temperature never goes below 36.
    for (const auto& [t, f] : shown)
        EXPECT_GE(f.gTemperature.toInt(), 36) << t;
}

TEST_F(DisturbanceRun, PIValuesOvershootAndSettle)
{
    runContinuous(lesson("disturbance PI"));
    const char* const steady = "E 40 Ep 0 Epu 40 U 1,6 S 1,6 X 40 T 33";
    expectShown(shown.at(2), steady, 2);
    expectShown(shown.at(42), steady, 42);
    const std::map<int, QString> sDuringOpening{{43, "1,5"}, {58, "1"}, {75, "0,5"}, {78, "0,4"}, {79, "0,4"}};
    for (const auto& [t, s] : sDuringOpening)
        EXPECT_EQ(shown.at(t).gS, s) << t;
    EXPECT_EQ(shown.at(79).gTemperature, "24");
    expectShown(shown.at(80), "E 40 Ep 29 Epu 200 U 7,8 S 1,25 X 11 T 30", 80);
    EXPECT_EQ(shown.at(98).gS, "1,5");
    EXPECT_EQ(shown.at(106).gS, "1,6");
    expectShown(shown.at(119), "E 40 Ep 29 Epu 200 U 7,8 S 1,74 X 11 T 34", 119);
    expectShown(shown.at(120), "E 40 Ep -5 Epu 41 U 1,6 S 1,72 X 45 T 34", 120);
    expectShown(shown.at(160), "E 40 Ep -4 Epu 41 U 1,6 S 1,7 X 44 T 34", 160);
    expectShown(shown.at(200), "E 40 Ep -3 Epu 42 U 1,6 S 1,7 X 43 T 34", 200);
    expectShown(shown.at(240), shown.at(239), 240);
}

TEST_F(DisturbanceRun, DoorShutThenOpenForTheSecondPeriodThenShutAgain)
{
    for (const LessonRow* l : {&lesson("disturbance P"), &lesson("disturbance PI")}) {
        doors.clear();
        runContinuous(*l);
        ASSERT_EQ(doors.size(), 239u);
        for (const auto& [t, d] : doors) {
            const bool open = 40 < t && t < 80;
            EXPECT_EQ(d.shutOnPicture, t < 40 || t > 80) << "door line on the picture at " << t;
            EXPECT_EQ(d.triangle, open || t == 80) << "triangle at " << t;  // tick 80 leaves 79's drawing
            EXPECT_EQ(d.openBelow, open || t == 80) << "open door at " << t;
        }
    }
}

TEST_F(DisturbanceRun, LeakStrokesMoveRightWhileTheDoorIsOpen)
{
    const LessonRow& disturbP = lesson("disturbance P");
    start(disturbP);
    runToTick(disturbP, 41);
    // First group at phase t + 60: 550 to 560 on row 125, its left end under
    // the red opening drawn after it.
    EXPECT_EQ(at(559, 125), colour::violet);
    EXPECT_EQ(at(560, 125), colour::btnFace);
    EXPECT_EQ(at(549, 125), colour::red);
    EXPECT_EQ(at(510, 125), colour::btnFace);  // no second group yet
    runToTick(disturbP, 79);
    EXPECT_EQ(at(575, 125), colour::violet);
    EXPECT_EQ(at(560, 125), colour::btnFace);  // wiped as it moved
    EXPECT_EQ(at(555, 125), colour::violet);   // second group, from t = 61
    runToTick(disturbP, 81);
    for (int x = 500; x < 600; ++x)
        for (int y = 121; y < 142; ++y)
            ASSERT_EQ(at(x, y), colour::btnFace) << x << "," << y;
}

TEST_F(DisturbanceRun, NewRunWipesWhatAnInterruptedRunLeftUnderTheOven)
{
    const LessonRow& disturbPI = lesson("disturbance PI");
    start(disturbPI);
    runToTick(disturbPI, 60);
    EXPECT_EQ(at(545, 121), colour::red);
    start(disturbPI);
    runToTick(disturbPI, 2);
    for (int x = 500; x < 600; ++x)
        for (int y = 121; y < 142; ++y)
            ASSERT_EQ(at(x, y), colour::btnFace) << x << "," << y;
}

TEST_F(DisturbanceRun, ProportionalCurves)
{
    runContinuous(lesson("disturbance P"));
    // U: steady at y = 270, up to 8,7 V at x = 219, back down at x = 259.
    EXPECT_EQ(at(135, 270), colour::red);  // the steady state before t = 0
    EXPECT_EQ(at(141, 270), colour::red);
    for (int y = 220; y < 270; ++y) {
        EXPECT_EQ(at(219, y), colour::red) << y;
        EXPECT_EQ(at(259, y), colour::red) << y;
    }
    EXPECT_EQ(at(230, 219), colour::red);
    EXPECT_EQ(at(300, 270), colour::red);
    // S: flat at 200, down to 215 at the end of period 2, 216 at the start of
    // period 3, back to 200.
    EXPECT_EQ(at(491, 200), colour::red);
    EXPECT_EQ(at(568, 215), colour::red);  // t = 79
    EXPECT_EQ(at(569, 216), colour::red);  // t = 80
    EXPECT_EQ(at(650, 200), colour::red);
}

TEST_F(DisturbanceRun, PIReturnCurveStepsDownOnePixelPerPeriod)
{
    runContinuous(lesson("disturbance PI"));
    const std::pair<int, int> points[] = {{120, 244}, {159, 247}, {160, 248}, {199, 250}, {200, 251}, {239, 252}};
    for (const auto& [t, y] : points)
        EXPECT_EQ(at(t + 489, y), colour::red) << "S at t " << t;
    EXPECT_EQ(at(569, 266), colour::red);  // the rise starts under the fall's end
    EXPECT_EQ(at(219 + 1, 202), colour::red);
    for (int y = 203; y < 280; ++y)
        EXPECT_EQ(at(219, y), colour::red) << y;
}

TEST_F(DisturbanceRun, StepModeOpensOnTick41AndClosesOnTick81)
{
    runStepByStep(lesson("disturbance P"));
    EXPECT_EQ(doors.count(40), 0u);
    EXPECT_EQ(doors.count(80), 0u);
    EXPECT_TRUE(doors.at(41).openBelow);
    EXPECT_FALSE(doors.at(41).shutOnPicture);
    EXPECT_FALSE(doors.at(81).openBelow);
    EXPECT_TRUE(doors.at(81).shutOnPicture);
    EXPECT_EQ(scene.st.gSceneTick, 4240);
}

}  // namespace t1::testing
