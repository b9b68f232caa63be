#include "tests/support/classroom_rig.h"
#include "stage/image_view.h"
#include "classroom/pause.h"
#include "lessons/scene.h"
#include "picture/colours.h"

#include <QLabel>
#include <QScrollBar>

using namespace t1;
using namespace t1::testing;

namespace {

class PauseTest : public ClassroomRig {
protected:
    QImage surface() { return w->scene().surfaces.window.image().copy(); }
    QImage oven() { return w->scene().surfaces.fond.image().copy(); }
    QLabel* sign() { return classroom().pause().indicator(); }
};

}  // namespace

TEST_F(PauseTest, PFreezesTheClockAndEveryPictureWhileTheTimerGoesOn)
{
    startContinuous(int(Lesson::LoopP));
    ticks(50);
    press(Qt::Key_P);
    ASSERT_TRUE(classroom().paused());
    EXPECT_TRUE(sign()->isVisible());
    EXPECT_EQ(sign()->text(), QStringLiteral("Pause"));

    const int clock = st().gSceneTick;
    const QImage window = surface();
    const QImage fond = oven();
    const std::size_t rows = classroom().runLog().rows().size();
    w->ScrollBar1->setValue(30);
    ticks(40);
    EXPECT_EQ(st().gSceneTick, clock);
    EXPECT_EQ(surface(), window);
    EXPECT_EQ(oven(), fond);
    EXPECT_EQ(classroom().runLog().rows().size(), rows);
    EXPECT_EQ(w->Timer1->interval(), 30);  // the speed bar still sets the interval

    press(Qt::Key_P);
    EXPECT_FALSE(classroom().paused());
    EXPECT_FALSE(sign()->isVisible());
    ticks(1);
    EXPECT_EQ(st().gSceneTick, clock + 1);
}

TEST_F(PauseTest, PeriodKeyDrawsExactlyOneTickWhilePaused)
{
    startContinuous(int(Lesson::LoopPI));
    ticks(10);
    // Running, the first press only pauses.
    press(Qt::Key_Period);
    ASSERT_TRUE(classroom().paused());
    EXPECT_EQ(st().gSceneTick, 2011);

    const QImage before = surface();
    press(Qt::Key_Period);
    EXPECT_EQ(st().gSceneTick, 2012);
    EXPECT_EQ(st().gTickLoopPI, 12);
    EXPECT_NE(surface(), before);
    ticks(5);
    EXPECT_EQ(st().gSceneTick, 2012);
    for (int i = 0; i < 3; ++i)
        press(Qt::Key_Period);
    EXPECT_EQ(st().gSceneTick, 2015);
    EXPECT_EQ(classroom().runLog().rows().back().tick, 15);
    EXPECT_EQ(classroom().runLog().rows().size(), 14u);  // local ticks 2..15
}

TEST_F(PauseTest, PauseOutlivesANewRunAndAChangeOfLesson)
{
    startContinuous(int(Lesson::OpenLoop));
    ticks(20);
    press(Qt::Key_P);
    QTest::mouseClick(w->Button1, Qt::LeftButton);
    EXPECT_EQ(st().gSceneTick, 1);
    ticks(10);
    EXPECT_EQ(st().gSceneTick, 1);  // the new run waits for the class

    menu(int(Lesson::DisturbModel));
    const QImage fond = oven();
    ticks(3);
    EXPECT_EQ(oven(), fond);  // not even the idle oven comes back
    EXPECT_TRUE(classroom().paused());
    EXPECT_TRUE(sign()->isVisible());
}

TEST_F(PauseTest, KeysReachTheWindowWhateverControlHasTheFocus)
{
    menu(int(Lesson::LoopP));
    w->ListBox1->setFocus();
    press(Qt::Key_P);
    EXPECT_TRUE(classroom().paused());
    // The list did not take P as the first letter of "Présentation".
    EXPECT_EQ(w->ListBox1->currentRow(), int(Lesson::LoopP));
    EXPECT_TRUE(w->ListBox2->isVisible());
}

TEST_F(PauseTest, SignSitsWhereNoLessonEverDraws)
{
    for (int lesson = 0; lesson < kLessonCount; ++lesson) {
        startContinuous(lesson);
        ticks(260);
    }
    const QRect place = sign()->geometry();
    EXPECT_LT(place.bottom(), kLessonAreaTop);
    const Canvas& surface = w->scene().surfaces.window;
    for (int y = place.top(); y <= place.bottom(); ++y)
        for (int x = place.left(); x <= place.right(); ++x)
            ASSERT_EQ(surface.pixel(x, y), colour::btnFace) << x << "," << y;
    for (const QWidget* control : w->sceneView()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (control != sign()) {
            EXPECT_FALSE(control->geometry().intersects(place)) << control->metaObject()->className();
        }
    }
}
