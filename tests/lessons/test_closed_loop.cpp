#include "tests/support/closed_loop_rig.h"
#include "lessons/closed_loop.h"
#include "picture/colours.h"

#include <gtest/gtest.h>

namespace t1::testing {

namespace {

class ClosedLoopRun : public ::testing::Test, protected ClosedLoopRig {
protected:
    void SetUp() override
    {
        onTick = [this](int t) {
            if (t == kCommentFromTick - 1)
                commentsBefore = controls.commentButton;
        };
    }
    int commentsBefore = -1;
};

}  // namespace

TEST_F(ClosedLoopRun, ProportionalLoopValuesAtEachPeriodsEnds)
{
    runContinuous(lesson("closed loop P"));
    ASSERT_EQ(shown.size(), 239u);
    const std::map<int, const char*> want{
        {2, "E 100 Ep 100 Epu 200 U 7,8 S 0,1 X 0 T 21"},
        {39, "E 100 Ep 100 Epu 200 U 7,8 S 1,4 X 0 T 32"},
        {40, "E 100 Ep 64 Epu 128 U 5 S 1,5 X 36 T 32"},
        {41, "E 100 Ep 64 Epu 128 U 5 S 1,5 X 36 T 32"},
        {79, "E 100 Ep 64 Epu 128 U 5 S 2,1 X 36 T 37"},
        {80, "E 100 Ep 47 Epu 94 U 3,7 S 2,1 X 53 T 37"},
        {119, "E 100 Ep 47 Epu 94 U 3,7 S 2,4 X 53 T 40"},
        {120, "E 100 Ep 40 Epu 80 U 3,1 S 2,4 X 60 T 40"},
        {159, "E 100 Ep 40 Epu 80 U 3,1 S 2,6 X 60 T 41"},
        {160, "E 100 Ep 36 Epu 72 U 2,8 S 2,6 X 64 T 41"},
        {199, "E 100 Ep 36 Epu 72 U 2,8 S 2,6 X 64 T 41"},
        {200, "E 100 Ep 35 Epu 70 U 2,7 S 2,6 X 65 T 41"},
        {239, "E 100 Ep 35 Epu 70 U 2,7 S 2,6 X 65 T 41"},
        {240, "E 100 Ep 35 Epu 70 U 2,7 S 2,6 X 65 T 41"},  // tick 240 writes nothing
    };
    for (const auto& [t, w] : want)
        expectShown(shown.at(t), w, t);
    // S only ever climbs, one tenth at a time.
    auto volts = [&](int t) { return QLocale().toDouble(shown.at(t).gS); };
    for (int t = 3; t <= 240; ++t)
        EXPECT_GE(volts(t), volts(t - 1)) << t;
}

TEST_F(ClosedLoopRun, PILoopValuesFollowTheDeadbeatScript)
{
    runContinuous(lesson("closed loop PI"));
    const std::map<int, QString> sAt{{2, "0,1"}, {10, "0,5"}, {22, "1"}, {36, "1,5"}, {37, "1,5"}, {38, "1,6"}, {39, "1,6"}};
    for (const auto& [t, s] : sAt)
        EXPECT_EQ(shown.at(t).gS, s) << t;
    expectShown(shown.at(2), "E 40 Ep 40 Epu 221 U 8,7 S 0,1 X 0 T 21", 2);
    expectShown(shown.at(40), "E 40 Ep 0 Epu 40 U 1,6 S 1,6 X 40 T 33", 40);
    expectShown(shown.at(239), "E 40 Ep 0 Epu 40 U 1,6 S 1,6 X 40 T 33", 239);
    expectShown(shown.at(240), "E 40 Ep 0 Epu 40 U 1,6 S 1,6 X 40 T 33", 240);
    EXPECT_DOUBLE_EQ(scene.st.gTemperature, 32.8);
    // The recurrence box is shown on every tick of the lesson.
    EXPECT_EQ(controls.recurrenceBox, 239);
}

TEST_F(ClosedLoopRun, StepModeShowsTheNewValuesOnAPeriodsFirstDrawnTick)
{
    runStepByStep(lesson("closed loop P"));
    EXPECT_EQ(shown.count(40), 0u);
    expectShown(shown.at(41), "E 100 Ep 64 Epu 128 U 5 S 1,5 X 36 T 32", 41);
    expectShown(shown.at(81), "E 100 Ep 47 Epu 94 U 3,7 S 2,1 X 53 T 37", 81);
    EXPECT_EQ(scene.st.gSceneTick, 1240);
}

TEST_F(ClosedLoopRun, CommentButtonFromTheFourthPeriod)
{
    runContinuous(lesson("closed loop P"));
    EXPECT_EQ(commentsBefore, 0);
    EXPECT_EQ(controls.commentButton, 240 - 151 + 1);
    EXPECT_EQ(controls.recurrenceBox, 0);
}

TEST_F(ClosedLoopRun, ProportionalStaircaseInTheHeatColour)
{
    runContinuous(lesson("closed loop P"));
    // Level pieces at x = t + 139, in the heat colour of their tick.
    struct Level {
        int first, last, y;
    };
    const Level levels[] = {{2, 39, 200}, {40, 79, 236}, {80, 119, 253}, {120, 159, 260}, {160, 199, 264}, {200, 239, 265}};
    // (A period's last piece lies under the next period's edge.)
    for (const Level& l : levels)
        for (int t : {l.first, (l.first + l.last) / 2, l.last - 1})
            EXPECT_EQ(at(t + 139, l.y), heatColour(t)) << "U level at t " << t;
    EXPECT_EQ(at(239 + 139, 265), heatColour(239));
    EXPECT_NE(at(240 + 139, 265), heatColour(240));  // tick 240 draws no piece
    // Edges from the previous level, redrawn on every tick of their period.
    struct Edge {
        int x, from, to, lastTick;
    };
    const Edge edges[] = {{178, 200, 236, 79}, {218, 236, 253, 119}, {258, 253, 260, 159}, {298, 260, 264, 199}, {338, 264, 265, 239}};
    for (const Edge& e : edges) {
        for (int y = e.from; y < e.to; ++y)
            EXPECT_EQ(at(e.x, y), heatColour(e.lastTick)) << "edge x " << e.x << " y " << y;
    }
    // The first level sits on the U axis: no edge at x = 140 in the curve's colour.
    EXPECT_EQ(at(140, 250), colour::blue);
}

TEST_F(ClosedLoopRun, ProportionalSPiecesJoin)
{
    runContinuous(lesson("closed loop P"));
    EXPECT_EQ(at(491, 299), heatColour(2));  // the curve starts on its first tick
    // Each period's first piece starts where the script's table says.
    const std::pair<int, int> starts[] = {{40, 257}, {80, 237}, {120, 227}, {160, 223}, {200, 221}};
    for (const auto& [t, y] : starts)
        EXPECT_EQ(at(t + 489, y), heatColour(t)) << "S at t " << t;
    // Period 1 ends one pixel under period 2's start; the run ends at 220.
    EXPECT_EQ(at(528, 259), heatColour(39));
    EXPECT_EQ(at(728, 220), heatColour(239));
    // During period 1 the S stub left of the axis took the heat colour; the
    // blue frame covered it again from period 2 on.
    EXPECT_EQ(at(485, 300), colour::blue);
}

TEST_F(ClosedLoopRun, StepModeLeavesOnePixelGapsAtPeriodStarts)
{
    runStepByStep(lesson("closed loop PI"));
    for (int t : {40, 80, 120, 160, 200}) {
        EXPECT_NE(at(t + 139, 282), heatColour(t)) << "U gap at t " << t;
        EXPECT_EQ(at(t + 140, 282), heatColour(t + 1)) << "U after the gap at t " << t;
        EXPECT_EQ(at(t + 489, 229), colour::btnFace) << "S gap at t " << t;
        EXPECT_EQ(at(t + 490, 229), heatColour(t + 1));
    }
}

TEST_F(ClosedLoopRun, ContinuousModeHasNoGaps)
{
    runContinuous(lesson("closed loop PI"));
    for (int t = 41; t <= 239; ++t) {
        EXPECT_EQ(at(t + 139, 282), heatColour(t)) << t;
        EXPECT_EQ(at(t + 489, 229), heatColour(t)) << t;
    }
    // The step and the first rise of the PI lesson.
    EXPECT_EQ(at(141, 200), heatColour(2));
    EXPECT_EQ(at(178, 250), heatColour(79));  // the fall to 1,6 V, last drawn at t = 79
    EXPECT_EQ(at(491, 299), heatColour(2));
}

TEST_F(ClosedLoopRun, TextsAppearFromTheirTickWithTheirMarkers)
{
    const LessonRow& loopP = lesson("closed loop P");
    start(loopP);
    runToTick(loopP, 37);
    EXPECT_EQ(at(50, 338), colour::btnFace);
    runToTick(loopP, 39);
    EXPECT_EQ(at(50, 338), colour::yellow);
    EXPECT_EQ(at(50, 337), colour::yellow);
    EXPECT_EQ(at(50, 378), colour::btnFace);
    runToTick(loopP, 79);
    EXPECT_EQ(at(50, 378), colour::fuchsia);
    EXPECT_EQ(at(140, 430), colour::btnFace);
    runToTick(loopP, 201);
    EXPECT_EQ(scene.st.gTickLoopP(), 201);
    EXPECT_EQ(at(140, 430), colour::purple);
}

TEST_F(ClosedLoopRun, RedrawingATickLeavesTheSamePicture)
{
    // The lesson reprints its texts and labels over themselves: running it
    // twice through the same periods gives the same window.
    runContinuous(lesson("closed loop PI"));
    const QImage first = scene.surfaces.window.image();
    clearLessonArea(scene.surfaces.window);
    runContinuous(lesson("closed loop PI"));
    EXPECT_EQ(scene.surfaces.window.image(), first);
}

}  // namespace t1::testing
