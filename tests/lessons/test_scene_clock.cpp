#include "tests/support/lesson_rig.h"
#include "lessons/scene.h"
#include "lessons/lesson_table.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace t1::testing {

namespace {

// The clocks from..to of a lesson's band, both included.
std::vector<int> clocks(const LessonRow& l, int from, int to)
{
    std::vector<int> v;
    for (int t = from; t <= to; ++t)
        v.push_back(l.band.base + t);
    return v;
}

const LessonRow kClosedLoops[] = {lessonRow(Lesson::LoopP), lessonRow(Lesson::LoopPI), lessonRow(Lesson::DisturbP),
                                  lessonRow(Lesson::DisturbPI)};

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
        LessonRig rig{Backdrop::ClockOnly};
        rig.start(l);
        EXPECT_EQ(rig.runTo(), clocks(l, 2, 240)) << l.band.base;
        EXPECT_EQ(rig.scene.st.gSceneTick, l.band.end);
        EXPECT_EQ(rig.scene.st.*l.localTick, 240);
        // Further ticks change nothing.
        EXPECT_TRUE(rig.runTo().empty());
        EXPECT_EQ(rig.scene.st.gSceneTick, l.band.end);
    }
}

TEST(SceneClock, StepModeDrawsEachPeriodAndHaltsAtItsEnd)
{
    const std::pair<int, int> drawnPerPeriod[] = {{2, 39}, {41, 79}, {81, 119}, {121, 159}, {161, 199}, {201, 240}};
    for (const LessonRow& l : kClosedLoops) {
        LessonRig rig{Backdrop::ClockOnly};
        AnimationState& st = rig.scene.st;
        for (int round = 0; round < 2; ++round)  // the cycle restarts after period 6
            for (int k = 1; k <= kPeriodCount; ++k) {
                advancePeriod(st.*l.period, st.gSceneTick, l.band.base);
                const auto [from, to] = drawnPerPeriod[k - 1];
                EXPECT_EQ(rig.runTo(), clocks(l, from, to)) << l.band.base << " period " << k;
                EXPECT_EQ(st.gSceneTick, l.band.base + to);
            }
    }
}

TEST(SceneClock, PressDuringAPeriodJumpsToTheNext)
{
    LessonRig rig{Backdrop::ClockOnly};
    AnimationState& st = rig.scene.st;
    advancePeriod(st.gPeriodLoopPI, st.gSceneTick, kLoopPIBand.base);
    rig.runTo(kLoopPIBand.base + 11);
    EXPECT_EQ(st.gTickLoopPI, 11);
    advancePeriod(st.gPeriodLoopPI, st.gSceneTick, kLoopPIBand.base);
    sceneTick(rig.scene);
    EXPECT_EQ(st.gTickLoopPI, 41);
}

TEST(SceneClock, PeriodIndexOfAnotherLessonDoesNotRunThisOne)
{
    LessonRig rig{Backdrop::ClockOnly};
    AnimationState& st = rig.scene.st;
    // The P lesson's clock with only the PI period index released.
    st.gSceneTick = kLoopPBand.base + 45;
    st.gPeriodLoopP = 1;
    st.gPeriodLoopPI = 2;
    EXPECT_TRUE(rig.runTo().empty());
    EXPECT_EQ(st.gSceneTick, kLoopPBand.base + 45);
}

TEST(SceneClock, ContinuousOnlyBands)
{
    LessonRig rig{Backdrop::ClockOnly};
    rig.start(lessonRow(Lesson::OpenLoop));
    EXPECT_EQ(rig.runTo(), clocks(lessonRow(Lesson::OpenLoop), 2, 255));
    EXPECT_EQ(rig.scene.st.gSceneTick, 255);

    const LessonRow& model = lessonRow(Lesson::DisturbModel);
    rig.start(model);
    EXPECT_EQ(rig.runTo(), clocks(model, 2, 220));
    EXPECT_EQ(rig.scene.st.gSceneTick, 3220);
    EXPECT_EQ(rig.scene.st.gTickDisturbModel, 220);
}

TEST(SceneClock, IdleAndPresentationNeverMove)
{
    LessonRig rig{Backdrop::ClockOnly};
    for (int clock : {kIdleClock, kPresentationClock}) {
        rig.scene.st.gSceneTick = clock;
        EXPECT_TRUE(rig.runTo().empty());
        EXPECT_EQ(rig.scene.st.gSceneTick, clock);
    }
}

TEST(SceneClock, LocalTicksKeepTheirValueWhenAnotherLessonRuns)
{
    LessonRig rig{Backdrop::ClockOnly};
    AnimationState& st = rig.scene.st;
    rig.start(lessonRow(Lesson::LoopP));
    rig.runTo(kLoopPBand.base + 31);
    EXPECT_EQ(st.gTickLoopP, 31);
    rig.start(lessonRow(Lesson::DisturbPI));
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

}  // namespace t1::testing
