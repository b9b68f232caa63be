#include "lessons/disturbance_model.h"
#include "lessons/scene_clock.h"
#include "tests/support/lesson_rig.h"

#include <gtest/gtest.h>

#include <utility>

namespace t1::testing {

namespace {

// Under the oven, below the rows the oven picture covers.
const QRect kUnderOven(500, 120, 100, 22);

struct DisturbModel : ::testing::Test {
    LessonRig rig;
    Canvas& w = rig.window();
    void runTo(int d)
    {
        if (rig.scene.st.gSceneTick <= lesson("disturbance model").band.base)
            rig.start(lesson("disturbance model").band.start);
        rig.runTo(lesson("disturbance model").band.base + d);
    }
    bool doorOpenUnderOven() const
    {
        return countIn(rig.scene.surfaces.window, kUnderOven, colour::green) > 0
               && rig.scene.surfaces.window.pixel(545, 125) == colour::red;
    }
    bool doorShutOnPicture() { return rig.fond().pixel(85, 79) == colour::green; }
};

}  // namespace

TEST(DisturbModelScript, DropThenSlowRecovery)
{
    const std::pair<int, int> drop[] = {{101, 200}, {110, 204}, {120, 208}, {130, 212}, {139, 215}, {140, 216}};
    for (auto [d, y] : drop)
        EXPECT_EQ(disturbDropY(d), y) << "d " << d;
    const std::pair<int, int> recovery[] = {{141, 215}, {180, 213}, {220, 210}};
    for (auto [d, y] : recovery)
        EXPECT_EQ(disturbRecoveryY(d), y) << "d " << d;
    // The curve keeps the steady level up to kT and still drops at (k+1)T.
    EXPECT_EQ(disturbModelCurveY(2), 200);
    EXPECT_EQ(disturbModelCurveY(100), 200);
    EXPECT_EQ(disturbModelCurveY(140), 216);
    EXPECT_EQ(disturbModelCurveY(141), 215);
}

TEST(DisturbModelScript, ReadoutsAlongTheRun)
{
    ScopedLocale french;
    const std::pair<int, const char*> timeline[] = {
        {2, "E 100 Ep 100 Epu 100 U 3,9 S 3,9 X 100 T 51"},
        {100, "E 100 Ep 100 Epu 100 U 3,9 S 3,9 X 100 T 51"},
        // The drop formula starts from 3.8 V: S falls at once, the temperature not yet.
        {101, "E 100 Ep 100 Epu 100 U 3,9 S 3,8 X 97 T 51"},
        {110, "E 100 Ep 100 Epu 100 U 3,9 S 3,5 X 90 T 49"},
        {139, "E 100 Ep 100 Epu 100 U 3,9 S 2,6 X 67 T 42"},
        // At (k+1)T the values already follow the recovery.
        {140, "E 100 Ep 100 Epu 100 U 3,9 S 2,7 X 69 T 42"},
        {180, "E 100 Ep 100 Epu 100 U 3,9 S 2,9 X 74 T 43"},
        {220, "E 100 Ep 100 Epu 100 U 3,9 S 3,1 X 80 T 45"},
    };
    for (auto [d, line] : timeline)
        EXPECT_EQ(readouts(disturbModelValues(d)), line) << "d " << d;
    // Once fallen, the temperature does not come back to 51 within the lesson.
    for (int d = 104; d <= 220; ++d)
        EXPECT_LT(disturbModelValues(d).gTemperature, 50) << d;
}

TEST_F(DisturbModel, DoorShutOpenAndShutAgain)
{
    rig.start(lesson("disturbance model").band.start);
    for (int d = 2; d <= 220; ++d) {
        runTo(d);
        ASSERT_EQ(rig.scene.st.gTickDisturbModel(), d);
        // Nothing is drawn at kT and (k+1)T: the open door of tick 139 stays until 141.
        EXPECT_EQ(doorShutOnPicture(), d < 100 || d > 140) << d;
        EXPECT_EQ(doorOpenUnderOven(), d > 100 && d < 141) << d;
        EXPECT_EQ(countIn(w, kUnderOven, colour::violet) > 0, d > 100 && d < 141) << d;
    }
    EXPECT_EQ(rig.controls.commentButton + rig.controls.recurrenceBox, 0);
}

TEST_F(DisturbModel, LeakStrokesMoveWithTheTick)
{
    runTo(101);
    EXPECT_EQ(w.pixel(559, 125), colour::violet);
    EXPECT_EQ(w.pixel(560, 125), colour::btnFace);
    EXPECT_EQ(countIn(w, QRect(540, 125, 10, 1), colour::violet), 0);
    runTo(121);
    EXPECT_EQ(w.pixel(554, 130), colour::violet);  // second group, right of the triangle
    EXPECT_EQ(w.pixel(555, 130), colour::btnFace);
    runTo(139);
    EXPECT_EQ(w.pixel(578, 125), colour::violet);
    EXPECT_EQ(w.pixel(559, 130), colour::violet);
    EXPECT_EQ(w.pixel(550, 125), colour::red);  // the triangle over the first strokes' old place
}

TEST_F(DisturbModel, PulseAndCurve)
{
    runTo(2);
    EXPECT_EQ(w.pixel(141, 299), colour::red);
    EXPECT_EQ(w.pixel(491, 199), colour::red);
    EXPECT_EQ(w.pixel(140, 299), colour::blue);  // d = 1 is never drawn
    runTo(140);
    EXPECT_EQ(w.pixel(240, 275), colour::red);  // rising edge at kT
    EXPECT_EQ(w.pixel(279, 275), colour::red);  // falling edge at (k+1)T
    EXPECT_EQ(w.pixel(260, 250), colour::red);  // top of the pulse
    EXPECT_EQ(w.pixel(629, 216), colour::red);  // lowest point of S
    runTo(141);
    EXPECT_EQ(w.pixel(281, 299), colour::red);  // the base resumes after the pulse
    EXPECT_EQ(w.pixel(281, 250), colour::btnFace);
}

TEST_F(DisturbModel, MarksOfTheOpening)
{
    runTo(100);
    EXPECT_EQ(countIn(w, QRect(585, 203, 10, 78), colour::blue), 0);
    runTo(101);
    // Dotted, three on and three off, from the steady level down.
    for (int y = 206; y <= 208; ++y)
        EXPECT_EQ(w.pixel(590, y), colour::blue) << y;
    for (int y = 209; y <= 211; ++y)
        EXPECT_EQ(w.pixel(590, y), colour::btnFace) << y;
    EXPECT_GT(countIn(w, QRect(585, 285, 15, 12), colour::blue), 0);  // "kT"
    EXPECT_EQ(countIn(w, QRect(620, 200, 40, 90), colour::blue), 0);
    runTo(141);
    EXPECT_EQ(w.pixel(630, 210), colour::blue);  // the double arrow, solid
    EXPECT_EQ(w.pixel(626, 204), colour::blue);
    EXPECT_EQ(w.pixel(630, 218), colour::blue);  // its dotted guide down to the axis
    EXPECT_EQ(w.pixel(630, 220), colour::btnFace);
    EXPECT_GT(countIn(w, QRect(635, 180, 30, 12), colour::blue), 0);  // "10°C"
}

TEST_F(DisturbModel, LastTickAndNothingAfter)
{
    runTo(220);
    EXPECT_EQ(w.pixel(709, 210), colour::red);
    EXPECT_EQ(rig.fond().pixel(100, 20), colour::red);  // red inside, no heat lines
    const QImage window = w.image();
    EXPECT_TRUE(rig.runTo().empty());
    EXPECT_EQ(rig.scene.st.gSceneTick, lesson("disturbance model").band.end);
    EXPECT_EQ(w.image(), window);
}

// Left with the door open, the lesson leaves the open door and its leak
// under the oven, above the lesson area that the menu clears.
TEST_F(DisturbModel, LeftWhileTheDoorIsOpen)
{
    runTo(125);
    rig.leave();
    sceneTick(rig.scene);
    EXPECT_TRUE(doorOpenUnderOven());
    EXPECT_GT(countIn(w, kUnderOven, colour::violet), 0);
    EXPECT_EQ(rig.fond().pixel(100, 85), colour::blue);  // the idle oven
}

// Restarting while the door is open wipes it on the first tick.
TEST_F(DisturbModel, RestartGivesTheSamePictureAsAFirstRun)
{
    LessonRig first;
    first.start(lesson("disturbance model").band.start);
    first.runTo(lesson("disturbance model").band.end);

    runTo(125);
    rig.start(lesson("disturbance model").band.start);
    runTo(2);
    EXPECT_FALSE(doorOpenUnderOven());
    EXPECT_EQ(countIn(w, kUnderOven, colour::violet), 0);
    runTo(220);
    EXPECT_EQ(w.image(), first.window().image());
    EXPECT_EQ(rig.fond().image(), first.fond().image());
}

}  // namespace t1::testing
