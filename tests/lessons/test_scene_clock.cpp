#include "tests/support/lesson_rig.h"
#include "lessons/scene.h"
#include "lessons/lesson_table.h"

#include <gtest/gtest.h>

#include <vector>

using namespace t1;
using t1::testing::FakeControls;

namespace {

struct Rig {
    Scene scene;
    FakeControls controls;
    Rig() { scene.controls = &controls; }

    // Ticks until the clock stops moving; returns the local ticks drawn.
    std::vector<int> runUntilHalt(const LessonRow& l, int limit = 400)
    {
        std::vector<int> drawn;
        for (int i = 0; i < limit; ++i) {
            const int before = scene.st.gSceneTick;
            sceneTick(scene);
            if (scene.st.gSceneTick == before)
                break;
            drawn.push_back(scene.st.*l.localTick);
        }
        return drawn;
    }
};

std::vector<int> range(int from, int to)
{
    std::vector<int> v;
    for (int i = from; i <= to; ++i)
        v.push_back(i);
    return v;
}

const LessonRow kClosedLoops[] = {lessonRow(Lesson::LoopP), lessonRow(Lesson::LoopPI), lessonRow(Lesson::DisturbP), lessonRow(Lesson::DisturbPI)};

}  // namespace

TEST(PeriodWindow, BoundsOfEveryPeriod)
{
    struct Row {
        int period, low, high;
    };
    const Row rows[] = {{0, 0, 240}, {1, 0, 39}, {2, 39, 79}, {3, 79, 119}, {4, 119, 159}, {5, 159, 199}, {6, 199, 240}};
    for (const LessonRow& l : kClosedLoops)
        for (const Row& r : rows) {
            const PeriodWindow w = periodWindow(l.band.base, r.period);
            EXPECT_EQ(w.low, l.band.base + r.low) << l.band.base << " p" << r.period;
            EXPECT_EQ(w.high, l.band.base + r.high) << l.band.base << " p" << r.period;
        }
}

TEST(PeriodCycle, OnePressMovesExactlyOneStep)
{
    int p = 0;
    int clock = 0;
    const int base = 4000;
    EXPECT_TRUE(advancePeriod(p, clock, base));
    EXPECT_EQ(p, 1);
    EXPECT_EQ(clock, 4001);
    const int starts[] = {4040, 4080, 4120, 4160, 4200};
    for (int k = 2; k <= 6; ++k) {
        EXPECT_FALSE(advancePeriod(p, clock, base));
        EXPECT_EQ(p, k);
        EXPECT_EQ(clock, starts[k - 2]);
    }
    // The seventh press clears the area and starts period 1 again.
    EXPECT_TRUE(advancePeriod(p, clock, base));
    EXPECT_EQ(p, 1);
    EXPECT_EQ(clock, 4001);
}

TEST(SceneClock, ContinuousRunOfEachLessonRow)
{
    for (const LessonRow& l : kClosedLoops) {
        Rig rig;
        rig.scene.st.gSceneTick = l.band.start;
        EXPECT_EQ(rig.runUntilHalt(l), range(2, 240)) << l.band.base;
        EXPECT_EQ(rig.scene.st.gSceneTick, l.band.end);
        // Further ticks change nothing.
        sceneTick(rig.scene);
        EXPECT_EQ(rig.scene.st.gSceneTick, l.band.end);
        EXPECT_EQ(rig.scene.st.*l.localTick, 240);
    }
}

TEST(SceneClock, StepModeDrawsEachPeriodAndHaltsAtItsEnd)
{
    const std::vector<int> drawnPerPeriod[] = {range(2, 39), range(41, 79), range(81, 119),
                                               range(121, 159), range(161, 199), range(201, 240)};
    const int halts[] = {39, 79, 119, 159, 199, 240};
    for (const LessonRow& l : kClosedLoops) {
        Rig rig;
        AnimationState& st = rig.scene.st;
        for (int round = 0; round < 2; ++round)  // the cycle restarts after period 6
            for (int k = 1; k <= kPeriodCount; ++k) {
                advancePeriod(st.*l.period, st.gSceneTick, l.band.base);
                EXPECT_EQ(rig.runUntilHalt(l), drawnPerPeriod[k - 1]) << l.band.base << " period " << k;
                EXPECT_EQ(st.gSceneTick, l.band.base + halts[k - 1]);
            }
    }
}

TEST(SceneClock, PressDuringAPeriodJumpsToTheNext)
{
    Rig rig;
    AnimationState& st = rig.scene.st;
    advancePeriod(st.gPeriodLoopPI, st.gSceneTick, kLoopPIBand.base);
    for (int i = 0; i < 10; ++i)
        sceneTick(rig.scene);
    EXPECT_EQ(st.gTickLoopPI, 11);
    advancePeriod(st.gPeriodLoopPI, st.gSceneTick, kLoopPIBand.base);
    sceneTick(rig.scene);
    EXPECT_EQ(st.gTickLoopPI, 41);
}

TEST(SceneClock, PeriodIndexOfAnotherLessonDoesNotRunThisOne)
{
    Rig rig;
    AnimationState& st = rig.scene.st;
    // The P lesson's clock with only the PI period index released.
    st.gSceneTick = kLoopPBand.base + 45;
    st.gPeriodLoopP = 1;
    st.gPeriodLoopPI = 2;
    sceneTick(rig.scene);
    EXPECT_EQ(st.gSceneTick, kLoopPBand.base + 45);
}

TEST(SceneClock, ContinuousOnlyBands)
{
    Rig rig;
    AnimationState& st = rig.scene.st;
    st.gSceneTick = kOpenLoopBand.start;
    int ticks = 0;
    while (ticks < 1000) {
        const int before = st.gSceneTick;
        sceneTick(rig.scene);
        if (st.gSceneTick == before)
            break;
        ++ticks;
    }
    EXPECT_EQ(ticks, 254);
    EXPECT_EQ(st.gSceneTick, 255);

    st.gSceneTick = kDisturbModelBand.start;
    std::vector<int> drawn;
    for (int i = 0; i < 1000; ++i) {
        const int before = st.gSceneTick;
        sceneTick(rig.scene);
        if (st.gSceneTick == before)
            break;
        drawn.push_back(st.gTickDisturbModel);
    }
    EXPECT_EQ(drawn, range(2, 220));
    EXPECT_EQ(st.gSceneTick, 3220);
}

TEST(SceneClock, IdleAndPresentationNeverMove)
{
    Rig rig;
    for (int clock : {kIdleClock, kPresentationClock}) {
        rig.scene.st.gSceneTick = clock;
        for (int i = 0; i < 5; ++i)
            sceneTick(rig.scene);
        EXPECT_EQ(rig.scene.st.gSceneTick, clock);
    }
}

TEST(SceneClock, LocalTicksKeepTheirValueWhenAnotherLessonRuns)
{
    Rig rig;
    AnimationState& st = rig.scene.st;
    st.gSceneTick = kLoopPBand.start;
    for (int i = 0; i < 30; ++i)
        sceneTick(rig.scene);
    EXPECT_EQ(st.gTickLoopP, 31);
    st.gSceneTick = kDisturbPIBand.start;
    sceneTick(rig.scene);
    EXPECT_EQ(st.gTickDisturbPI, 2);
    EXPECT_EQ(st.gTickLoopP, 31);
}

TEST(LessonArea, ClearingCoversExactlyTheLowerBand)
{
    Canvas window(kSurfaceWidth, kSurfaceHeight, colour::black);
    clearLessonArea(window);
    EXPECT_EQ(window.pixel(0, 170), colour::btnFace);
    EXPECT_EQ(window.pixel(799, 479), colour::btnFace);
    EXPECT_EQ(window.pixel(400, 169), colour::black);
    EXPECT_EQ(window.pixel(400, 480), colour::black);
}
