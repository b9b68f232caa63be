#include "model/experiment.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace t1::model;

namespace {

int runToEnd(Experiment& x)
{
    int ticks = 0;
    while (x.advance())
        ++ticks;
    return ticks;
}

}  // namespace

TEST(Experiment, AcquiresEveryFortyTicksAndLastAtTheRightEdge)
{
    Experiment x({}, Start::Cold, 6);
    EXPECT_EQ(x.state(), RunState::Ready);
    EXPECT_FALSE(x.advance());  // nothing moves before Démarrer
    x.play();
    const std::optional<TickStep> first = x.advance();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->acquired, 0);
    EXPECT_TRUE(first->piece);
    for (int n = 1; n < kTicksPerPeriod; ++n)
        EXPECT_FALSE(x.advance()->acquired) << n;
    EXPECT_EQ(x.advance()->acquired, 1);
    // 6 periods: 240 pieces, and a 241st tick that only takes acquisition 6.
    EXPECT_EQ(runToEnd(x) + kTicksPerPeriod + 1, 6 * kTicksPerPeriod + 1);
    EXPECT_EQ(x.state(), RunState::Finished);
    EXPECT_EQ(x.run().samples().size(), 7u);
    EXPECT_DOUBLE_EQ(x.drawnUntil(), 6);
    x.play();
    EXPECT_EQ(x.state(), RunState::Finished);
}

TEST(Experiment, NextPeriodStopsAtTheEndOfThePeriodUnderWay)
{
    Experiment x;
    x.nextPeriod();
    EXPECT_EQ(runToEnd(x), kTicksPerPeriod);
    EXPECT_EQ(x.state(), RunState::Paused);
    EXPECT_EQ(x.run().samples().size(), 1u);  // the next acquisition waits for the next press
    x.play();
    for (int i = 0; i < 10; ++i)
        x.advance();
    x.nextPeriod();  // finishes the second period
    x.nextPeriod();  // and one more
    EXPECT_EQ(runToEnd(x), 3 * kTicksPerPeriod - 50);
    EXPECT_EQ(x.ticks(), 3 * kTicksPerPeriod);
}

TEST(Experiment, ShowsNoFewerPeriodsThanSimulated)
{
    Experiment x({}, Start::Cold, 10);
    x.play();
    for (int i = 0; i < 8 * kTicksPerPeriod + 1; ++i)
        x.advance();
    EXPECT_EQ(x.periodsNeeded(), 9);
    EXPECT_FALSE(x.setShownPeriods(8));
    EXPECT_EQ(x.shownPeriods(), 10);
    EXPECT_TRUE(x.setShownPeriods(9));
    runToEnd(x);
    EXPECT_EQ(x.run().samples().size(), 10u);
    // More periods after the end: the run goes on from where it stopped.
    EXPECT_TRUE(x.setShownPeriods(12));
    EXPECT_EQ(x.state(), RunState::Paused);
    x.play();
    runToEnd(x);
    EXPECT_EQ(x.run().samples().size(), 13u);
}

TEST(Experiment, RestartKeepsFiveEarlierRunsWithTheirColours)
{
    Experiment x;
    x.restart();  // nothing drawn yet: no trace
    EXPECT_TRUE(x.traces().empty());
    for (int run = 0; run < 7; ++run) {
        x.advance();
        x.restart();
    }
    ASSERT_EQ(x.traces().size(), std::size_t(kMaxTraces));
    // The oldest went; each kept its colour.
    EXPECT_EQ(x.traces().front().colour, 2);
    EXPECT_EQ(x.traces().back().colour, 1);
    x.clearTraces();
    EXPECT_TRUE(x.traces().empty());
    EXPECT_EQ(x.state(), RunState::Running);
}

TEST(Experiment, ParametersBeforeTheFirstAcquisitionStartTheRun)
{
    Experiment x;
    Parameters p = x.parameters();
    double& g = p.field(Regulator::P, kGainField);
    const auto startedWith = [](const Trace& t) { return t.run.startedWith().field(Regulator::P, kGainField); };
    g = 4;
    x.change(p);
    EXPECT_TRUE(x.run().marks().empty());
    EXPECT_EQ(x.startedWith(), p);
    x.play();
    x.advance();
    g = 1;
    x.change(p);
    ASSERT_EQ(x.run().marks().size(), 1u);
    EXPECT_EQ(x.run().marks().front().k, 1);
    EXPECT_EQ(x.startedWith().field(Regulator::P, kGainField), 4);
    x.setStart(Start::Steady);
    EXPECT_TRUE(x.startPending());
    x.restart();
    EXPECT_FALSE(x.startPending());
    EXPECT_EQ(startedWith(x.traces().back()), 4);
    EXPECT_FALSE(x.traces().back().changedDuringRun);  // the change never acted
    x.advance();
    x.advance();
    g = 3;
    x.change(p);  // waits for the next acquisition, which never comes
    x.restart();
    EXPECT_EQ(startedWith(x.traces().back()), 1);
    EXPECT_FALSE(x.traces().back().changedDuringRun);
    x.advance();
    g = 5;
    x.change(p);
    for (int n = 0; n < kTicksPerPeriod; ++n)
        x.advance();
    x.restart();
    EXPECT_EQ(startedWith(x.traces().back()), 3);
    EXPECT_TRUE(x.traces().back().changedDuringRun);
}
