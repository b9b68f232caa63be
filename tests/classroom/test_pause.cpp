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
    startContinuous(lesson("closed loop P"));
    ticks(50);
    press(Qt::Key_P);
    ASSERT_TRUE(classroom().paused());
    EXPECT_TRUE(sign()->isVisible());
    EXPECT_EQ(sign()->text(), QStringLiteral("Pause"));

    const int clock = st().gSceneTick;
    const QImage window = surface();
    const QImage fond = oven();
    const std::size_t rows = classroom().runLog().rows().size();
    ui->ScrollBar1->setValue(30);
    ticks(40);
    EXPECT_EQ(st().gSceneTick, clock);
    EXPECT_EQ(surface(), window);
    EXPECT_EQ(oven(), fond);
    EXPECT_EQ(classroom().runLog().rows().size(), rows);
    EXPECT_EQ(ui->Timer1->interval(), 30);  // the speed bar still sets the interval

    press(Qt::Key_P);
    EXPECT_FALSE(classroom().paused());
    EXPECT_FALSE(sign()->isVisible());
    ticks(1);
    EXPECT_EQ(st().gSceneTick, clock + 1);
}

TEST_F(PauseTest, PeriodKeyDrawsExactlyOneTickWhilePaused)
{
    startContinuous(lesson("closed loop PI"));
    ticks(10);
    // Running, the first press only pauses.
    press(Qt::Key_Period);
    ASSERT_TRUE(classroom().paused());
    EXPECT_EQ(st().gSceneTick, 2011);

    const QImage before = surface();
    press(Qt::Key_Period);
    EXPECT_EQ(st().gSceneTick, 2012);
    EXPECT_EQ(st().gTickLoopPI(), 12);
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
    startContinuous(lesson("open loop"));
    ticks(20);
    press(Qt::Key_P);
    QTest::mouseClick(ui->Button1, Qt::LeftButton);
    EXPECT_EQ(st().gSceneTick, 1);
    ticks(10);
    EXPECT_EQ(st().gSceneTick, 1);  // the new run waits for the class

    menu(lesson("disturbance model"));
    const QImage fond = oven();
    ticks(3);
    EXPECT_EQ(oven(), fond);  // not even the idle oven comes back
    EXPECT_TRUE(classroom().paused());
    EXPECT_TRUE(sign()->isVisible());
}

TEST_F(PauseTest, KeysReachTheWindowWhateverControlHasTheFocus)
{
    menu(lesson("closed loop P"));
    ui->ListBox1->setFocus();
    press(Qt::Key_P);
    EXPECT_TRUE(classroom().paused());
    // The list did not take P as the first letter of "Présentation".
    EXPECT_EQ(ui->ListBox1->currentRow(), menuIndex(lesson("closed loop P")));
    EXPECT_TRUE(ui->ListBox2->isVisible());
}

TEST_F(PauseTest, SignSitsWhereNoLessonEverDraws)
{
    for (const LessonRow& lesson : kLessons) {
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
