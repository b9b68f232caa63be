#include "lessons/closed_loop.h"
#include "lessons/scene.h"
#include "lessons/scene_clock.h"
#include "picture/colours.h"
#include "picture/number_text.h"
#include "picture/sprites.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <map>

using namespace t1;

namespace {

struct NullControls : LessonControls {
    void showCommentButton() override {}
    void showRecurrenceBox() override {}
};

bool anyIn(const Canvas& c, int x1, int y1, int x2, int y2, QRgb colour)
{
    for (int y = y1; y < y2; ++y)
        for (int x = x1; x < x2; ++x)
            if (c.pixel(x, y) == colour)
                return true;
    return false;
}

struct Shown {
    QString e, x, ep, epu, u, s, temperature;
};

// What a test looks at on each drawn tick of a run.
struct Frame {
    Shown values;
    bool doorShutOnPicture;  // the green line along the oven's bottom edge
    bool doorOpenBelow;      // the door swung down under the oven
    bool triangle;           // the red opening above it
};

class DisturbanceRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        QLocale::setDefault(QLocale(QLocale::French));
        scene.controls = &controls;
        buildSprites(scene.surfaces);
    }

    void start(const ClosedLoopLesson& l)
    {
        scene.st.*l.period = 0;
        scene.st.gSceneTick = l.band.start;
    }

    // Runs until the clock halts, recording every drawn tick.
    void run(const ClosedLoopLesson& l, int stopAfter = 1000)
    {
        for (int i = 0; i < 300; ++i) {
            if (scene.st.*l.localTick >= stopAfter && scene.st.gSceneTick != l.band.start)
                return;
            const int before = scene.st.gSceneTick;
            sceneTick(scene);
            if (scene.st.gSceneTick == before)
                return;
            const LoopValues& v = scene.st;
            const Canvas& w = scene.surfaces.window;
            frames[scene.st.*l.localTick] = {
                {ceilingText(v.gE), ceilingText(v.gX), ceilingText(v.gEp), ceilingText(v.gEpu), numberText(v.gU),
                 numberText(v.gS), ceilingText(v.gTemperature)},
                scene.surfaces.fond.pixel(85, 79) == colour::green,
                anyIn(w, 503, 120, 508, 125, colour::green),
                w.pixel(545, 121) == colour::red,
            };
        }
    }

    void runStepByStep(const ClosedLoopLesson& l)
    {
        scene.st.*l.period = 0;
        for (int k = 1; k <= kPeriodCount; ++k) {
            advancePeriod(scene.st.*l.period, scene.st.gSceneTick, l.band.base);
            run(l);
        }
    }

    QRgb at(int x, int y) const { return scene.surfaces.window.pixel(x, y); }

    Scene scene;
    NullControls controls;
    std::map<int, Frame> frames;
};

void expectShown(const Shown& got, const Shown& want, int t)
{
    EXPECT_EQ(got.e, want.e) << "E at " << t;
    EXPECT_EQ(got.x, want.x) << "X at " << t;
    EXPECT_EQ(got.ep, want.ep) << "Ep at " << t;
    EXPECT_EQ(got.epu, want.epu) << "Epu at " << t;
    EXPECT_EQ(got.u, want.u) << "U at " << t;
    EXPECT_EQ(got.s, want.s) << "S at " << t;
    EXPECT_EQ(got.temperature, want.temperature) << "temperature at " << t;
}

}  // namespace

TEST_F(DisturbanceRun, ProportionalValuesThroughTheOpening)
{
    start(kDisturbP);
    run(kDisturbP);
    ASSERT_EQ(frames.size(), 239u);
    const Shown steady{"100", "82", "18", "82", "3,2", "3,2", "46"};
    expectShown(frames.at(2).values, steady, 2);
    expectShown(frames.at(39).values, steady, 39);
    expectShown(frames.at(40).values, steady, 40);
    expectShown(frames.at(79).values, {"100", "82", "18", "82", "3,2", "2", "36"}, 79);
    expectShown(frames.at(80).values, {"100", "51", "49", "223", "8,7", "2", "36"}, 80);
    expectShown(frames.at(119).values, {"100", "51", "49", "223", "8,7", "3,2", "46"}, 119);
    expectShown(frames.at(120).values, steady, 120);
    expectShown(frames.at(239).values, steady, 239);
    expectShown(frames.at(240).values, steady, 240);
    // The temperature never goes below 36.
    for (const auto& [t, f] : frames)
        EXPECT_GE(f.values.temperature.toInt(), 36) << t;
}

TEST_F(DisturbanceRun, PIValuesOvershootAndSettle)
{
    start(kDisturbPI);
    run(kDisturbPI);
    const Shown steady{"40", "40", "0", "40", "1,6", "1,6", "33"};
    expectShown(frames.at(2).values, steady, 2);
    expectShown(frames.at(42).values, steady, 42);
    const std::map<int, QString> sDuringOpening{{43, "1,5"}, {58, "1"}, {75, "0,5"}, {78, "0,4"}, {79, "0,4"}};
    for (const auto& [t, s] : sDuringOpening)
        EXPECT_EQ(frames.at(t).values.s, s) << t;
    EXPECT_EQ(frames.at(79).values.temperature, "24");
    expectShown(frames.at(80).values, {"40", "11", "29", "200", "7,8", "1,25", "30"}, 80);
    EXPECT_EQ(frames.at(98).values.s, "1,5");
    EXPECT_EQ(frames.at(106).values.s, "1,6");
    expectShown(frames.at(119).values, {"40", "11", "29", "200", "7,8", "1,74", "34"}, 119);
    expectShown(frames.at(120).values, {"40", "45", "-5", "41", "1,6", "1,72", "34"}, 120);
    expectShown(frames.at(160).values, {"40", "44", "-4", "41", "1,6", "1,7", "34"}, 160);
    expectShown(frames.at(200).values, {"40", "43", "-3", "42", "1,6", "1,7", "34"}, 200);
    expectShown(frames.at(240).values, frames.at(239).values, 240);
}

TEST_F(DisturbanceRun, DoorShutThenOpenForTheSecondPeriodThenShutAgain)
{
    for (const ClosedLoopLesson* l : {&kDisturbP, &kDisturbPI}) {
        frames.clear();
        start(*l);
        run(*l);
        for (const auto& [t, f] : frames) {
            const bool open = 40 < t && t < 80;
            EXPECT_EQ(f.doorShutOnPicture, t < 40 || t > 80) << "door line on the picture at " << t;
            EXPECT_EQ(f.triangle, open || t == 80) << "triangle at " << t;  // tick 80 leaves 79's drawing
            EXPECT_EQ(f.doorOpenBelow, open || t == 80) << "open door at " << t;
        }
    }
}

TEST_F(DisturbanceRun, LeakStrokesMoveRightWhileTheDoorIsOpen)
{
    start(kDisturbP);
    run(kDisturbP, 41);
    // First group at phase t + 60: 550 to 560 on row 125, its left end under
    // the red opening drawn after it.
    EXPECT_EQ(at(559, 125), colour::violet);
    EXPECT_EQ(at(560, 125), colour::btnFace);
    EXPECT_EQ(at(549, 125), colour::red);
    EXPECT_EQ(at(510, 125), colour::btnFace);  // no second group yet
    run(kDisturbP, 79);
    EXPECT_EQ(at(575, 125), colour::violet);
    EXPECT_EQ(at(560, 125), colour::btnFace);  // wiped as it moved
    EXPECT_EQ(at(555, 125), colour::violet);   // second group, from t = 61
    run(kDisturbP, 81);
    for (int x = 500; x < 600; ++x)
        for (int y = 121; y < 142; ++y)
            ASSERT_EQ(at(x, y), colour::btnFace) << x << "," << y;
}

TEST_F(DisturbanceRun, NewRunWipesWhatAnInterruptedRunLeftUnderTheOven)
{
    start(kDisturbPI);
    run(kDisturbPI, 60);
    EXPECT_EQ(at(545, 121), colour::red);
    start(kDisturbPI);
    run(kDisturbPI, 2);
    for (int x = 500; x < 600; ++x)
        for (int y = 121; y < 142; ++y)
            ASSERT_EQ(at(x, y), colour::btnFace) << x << "," << y;
}

TEST_F(DisturbanceRun, ProportionalCurves)
{
    start(kDisturbP);
    run(kDisturbP);
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
    start(kDisturbPI);
    run(kDisturbPI);
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
    runStepByStep(kDisturbP);
    EXPECT_EQ(frames.count(40), 0u);
    EXPECT_EQ(frames.count(80), 0u);
    EXPECT_TRUE(frames.at(41).doorOpenBelow);
    EXPECT_FALSE(frames.at(41).doorShutOnPicture);
    EXPECT_FALSE(frames.at(81).doorOpenBelow);
    EXPECT_TRUE(frames.at(81).doorShutOnPicture);
    EXPECT_EQ(scene.st.gSceneTick, 4240);
}
