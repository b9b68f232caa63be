#include "lessons/open_loop.h"
#include "lessons/scene_clock.h"
#include "tests/support/lesson_rig.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>

namespace t1::testing {

namespace {

struct OpenLoop : ::testing::Test {
    LessonRig rig;
    Canvas& w = rig.window();
    void runTo(int n)
    {
        if (rig.scene.st.gSceneTick < lesson("open loop").band.start)
            rig.start(lesson("open loop").band.start);
        rig.runTo(n);
    }
};

}  // namespace

TEST(OpenLoopScript, CurveRisesFrom299Toward199)
{
    const std::pair<int, int> points[] = {{0, 299}, {1, 295}, {2, 292},   {28, 238},
                                          {29, 237}, {30, 235}, {100, 202}, {253, 199}};
    for (auto [tau, y] : points)
        EXPECT_EQ(openLoopCurveY(tau), y) << "tau " << tau;
}

TEST(OpenLoopScript, ReadoutsAlongTheRun)
{
    ScopedLocale french;
    const std::pair<int, const char*> timeline[] = {
        {2, "E 100 Ep 100 Epu 100 U 3,9 S 0,3 X 8 T 22"},
        {29, "E 100 Ep 100 Epu 100 U 3,9 S 2,5 X 64 T 40"},
        {103, "E 100 Ep 100 Epu 100 U 3,9 S 3,8 X 97 T 50"},
        {104, "E 100 Ep 100 Epu 100 U 3,9 S 3,8 X 97 T 51"},
        {109, "E 100 Ep 100 Epu 100 U 3,9 S 3,8 X 97 T 51"},
        {110, "E 100 Ep 100 Epu 100 U 3,9 S 3,9 X 100 T 51"},
        {255, "E 100 Ep 100 Epu 100 U 3,9 S 3,9 X 100 T 51"},
    };
    for (auto [n, line] : timeline)
        EXPECT_EQ(readouts(openLoopValues(n)), line) << "n " << n;

    // S never shows more than 3,9 V, and X reads 100 only together with it.
    for (int n = 2; n <= 255; ++n) {
        const LoopValues v = openLoopValues(n);
        EXPECT_LE(v.gS, 3.9) << n;
        EXPECT_EQ(std::ceil(v.gX) == 100, n >= 110) << n;
    }
    const LoopValues last = openLoopValues(255);
    EXPECT_DOUBLE_EQ(last.gX, 99.45);
    EXPECT_NEAR(last.gTemperature, 50.99, 0.005);
}

TEST_F(OpenLoop, EachTickWritesTheLoopVariables)
{
    runTo(29);
    EXPECT_EQ(rig.scene.st.gSceneTick, 29);
    const LoopValues expected = openLoopValues(29);
    EXPECT_EQ(rig.scene.st.gS, expected.gS);
    EXPECT_EQ(rig.scene.st.gTemperature, expected.gTemperature);
    EXPECT_EQ(rig.controls.commentButton + rig.controls.recurrenceBox, 0);
}

TEST_F(OpenLoop, RedCurveUntilT1ThenNavy)
{
    runTo(2);
    EXPECT_EQ(w.pixel(491, 299), colour::red);  // first segment (491,299)-(492,295)
    EXPECT_EQ(w.pixel(141, 200), colour::maroon);
    EXPECT_EQ(w.pixel(142, 200), colour::btnFace);
    EXPECT_EQ(w.pixel(140, 250), colour::maroon);  // the step, over the axis
    EXPECT_EQ(w.pixel(485, 300), colour::red);     // stub over the time axis

    runTo(29);
    EXPECT_EQ(w.pixel(518, 239), colour::red);  // segment ending at x = 519
    EXPECT_EQ(countIn(w, QRect(490, 236, 31, 65), colour::purple), 0);

    runTo(30);
    EXPECT_EQ(w.pixel(519, 238), colour::navy);  // segment ending at x = 520
    EXPECT_EQ(w.pixel(520, 299), colour::purple);
    EXPECT_EQ(w.pixel(520, 237), colour::purple);
    EXPECT_EQ(w.pixel(490, 236), colour::purple);
    EXPECT_EQ(w.pixel(519, 236), colour::purple);
    EXPECT_EQ(w.pixel(520, 236), colour::btnFace);
    // The stub is no longer drawn: the frame's axis covers it again.
    EXPECT_EQ(w.pixel(485, 300), colour::blue);
}

TEST_F(OpenLoop, LastTickAndNothingAfter)
{
    runTo(lesson("open loop").band.end);
    EXPECT_EQ(w.pixel(394, 200), colour::maroon);  // the U level ends at x = 395
    EXPECT_EQ(w.pixel(395, 200), colour::btnFace);
    EXPECT_EQ(w.pixel(744, 199), colour::navy);  // and S at x = 745
    EXPECT_EQ(w.pixel(745, 199), colour::btnFace);
    EXPECT_EQ(rig.fond().pixel(100, 85), colour::red);

    const QImage window = w.image();
    const QImage fond = rig.fond().image();
    EXPECT_TRUE(rig.runTo().empty());
    EXPECT_EQ(rig.scene.st.gSceneTick, lesson("open loop").band.end);
    EXPECT_EQ(w.image(), window);
    EXPECT_EQ(rig.fond().image(), fond);
}

TEST_F(OpenLoop, ConclusionFromTick201)
{
    const QRect conclusion(480, 320, 320, 130);
    runTo(200);
    EXPECT_EQ(countIn(w, conclusion, colour::blue), 0);
    EXPECT_GT(countIn(w, QRect(100, 320, 370, 95), colour::blue), 0);
    runTo(201);
    EXPECT_GT(countIn(w, conclusion, colour::blue), 0);
}

TEST_F(OpenLoop, FeedbackCutAndLabelAboveTheLessonArea)
{
    runTo(2);
    EXPECT_EQ(w.pixel(80, 120), colour::red);      // bar over the earth symbol
    EXPECT_EQ(w.pixel(80, 140), colour::btnFace);  // the cut
    EXPECT_EQ(w.pixel(143, 77), colour::red);      // the label's patch
    EXPECT_GT(countIn(w, QRect(155, 75, 70, 28), colour::blue), 0);
}

// A second press of the start button mid-run starts over from an empty plot.
TEST_F(OpenLoop, RestartGivesTheSamePictureAsAFirstRun)
{
    LessonRig first;
    first.start(lesson("open loop").band.start);
    first.runTo(lesson("open loop").band.end);

    runTo(150);
    rig.start(lesson("open loop").band.start);
    runTo(lesson("open loop").band.end);
    EXPECT_EQ(w.image(), first.window().image());
    EXPECT_EQ(rig.fond().image(), first.fond().image());
}

}  // namespace t1::testing
