#include "lessons/scene.h"
#include "lessons/scene_clock.h"
#include "picture/colours.h"
#include "stage/image_view.h"
#include "tests/support/window_rig.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

#include <gtest/gtest.h>

using namespace t1;
using namespace t1::testing;

namespace {

// Expected states: 1 on (enabled and visible), 0 off, -1 not checked.
struct Expect {
    int button1, button2, button4, button3, listBox2, listBox3, label7;
};

class WindowTest : public WindowRig {
protected:
    static int on(const QWidget* widget) { return widget->isEnabled() && widget->isVisible() ? 1 : 0; }

    void expect(const Expect& e, const char* after)
    {
        SCOPED_TRACE(after);
        auto check = [](int want, int got, const char* name) {
            if (want >= 0) {
                EXPECT_EQ(got, want) << name;
            }
        };
        check(e.button1, on(w->Button1), "Button1");
        check(e.button2, on(w->Button2), "Button2");
        check(e.button4, on(w->Button4), "Button4");
        check(e.button3, on(w->Button3), "Button3");
        check(e.listBox2, on(w->ListBox2), "ListBox2");
        check(e.listBox3, on(w->ListBox3), "ListBox3");
        check(e.label7, w->Label7->isVisible() ? 1 : 0, "Label7");
    }

    QRgb surface(int x, int y) { return w->scene().surfaces.window.pixel(x, y); }
};

}  // namespace

TEST_F(WindowTest, StartsWithOnlyTheMenuSpeedBarAndLabels)
{
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Temperature1"));
    EXPECT_GE(w->width(), 800);
    EXPECT_GE(w->height(), 550);
    expect({0, 0, 0, 0, 0, 0, 0}, "start-up");
    EXPECT_FALSE(w->RichEdit1->isVisible());
    EXPECT_FALSE(w->RichEdit2->isVisible());
    EXPECT_EQ(w->RichEdit1->toPlainText(), QStringLiteral("RichEdit1"));
    EXPECT_EQ(w->RichEdit2->toPlainText(), QStringLiteral("RichEdit2"));
    EXPECT_TRUE(w->ListBox1->selectedItems().isEmpty());
    EXPECT_EQ(w->ListBox1->count(), 7);
    EXPECT_EQ(w->ListBox1->item(3)->text(), QStringLiteral("Réponse Pile en boucle fermée (régulation PI)"));
    EXPECT_EQ(w->ScrollBar1->value(), 100);
    EXPECT_EQ(w->ScrollBar1->minimum(), 10);
    EXPECT_EQ(w->ScrollBar1->maximum(), 200);
    EXPECT_EQ(w->Timer1->interval(), 100);
    EXPECT_EQ(w->Timer1->timerType(), Qt::PreciseTimer);
    EXPECT_EQ(w->Label2->text(), QStringLiteral("+               -"));
    EXPECT_EQ(st().gSceneTick, 0);
}

TEST_F(WindowTest, ControlsKeepOutOfTheLessonsWayAndOnlyTheSwappedOnesShareAPlace)
{
    const QRect scene(0, 0, 800, 550);
    const QRect lessonArea(0, kLessonAreaTop, 800, kLessonAreaBottom - kLessonAreaTop);
    // The start and period buttons, and the two mode lists, take turns in
    // one place each (never two of them shown at once).
    EXPECT_EQ(w->Button4->geometry(), w->Button2->geometry());
    EXPECT_TRUE(w->Button2->geometry().contains(w->Button1->geometry().center()));
    EXPECT_EQ(w->ListBox3->geometry(), w->ListBox2->geometry());
    const QWidget* bottomBand[] = {w->Label1,     w->Label2,   w->Label3,  w->Label7,
                                   w->Button1,    w->ScrollBar1, w->ListBox1, w->ListBox2};
    for (const QWidget* c : bottomBand) {
        EXPECT_TRUE(scene.contains(c->geometry())) << c->metaObject()->className();
        // Below the plots and texts, so that no control hides a lesson's drawing.
        EXPECT_FALSE(c->geometry().intersects(lessonArea)) << c->metaObject()->className();
        for (const QWidget* other : bottomBand) {
            if (other != c) {
                EXPECT_FALSE(c->geometry().intersects(other->geometry()))
                    << c->metaObject()->className() << " over " << other->metaObject()->className();
            }
        }
    }
    // The lesson menu shows its rows whole: no horizontal scroll bar, 13 px rows.
    EXPECT_EQ(w->ListBox1->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(w->ListBox1->visualItemRect(w->ListBox1->item(0)).height(), 13);
    EXPECT_GE(w->ListBox1->viewport()->height(), 4 * 13 + 9);
}

TEST_F(WindowTest, ControlsFollowTheBlueSmallWindowFontLabelsKeepTheirOwn)
{
    EXPECT_EQ(w->Button1->font().pixelSize(), 9);
    EXPECT_EQ(w->ListBox1->font().pixelSize(), 9);
    EXPECT_EQ(w->ListBox1->palette().color(QPalette::Text), QColor(0, 0, 255));
    EXPECT_EQ(w->Button2->palette().color(QPalette::ButtonText), QColor(0, 0, 255));
    EXPECT_EQ(w->Label3->font().pixelSize(), 13);
    EXPECT_TRUE(w->Label3->font().bold());
    EXPECT_EQ(w->Label3->palette().color(QPalette::WindowText), QColor(0, 0, 128));
    EXPECT_EQ(w->Label1->palette().color(QPalette::WindowText), QColor(128, 128, 0));
    EXPECT_EQ(w->Label4->palette().color(QPalette::WindowText), QColor(128, 0, 0));
    EXPECT_EQ(w->Label2->font().pixelSize(), 19);
}

TEST_F(WindowTest, MenuItemsWithoutModesShowTheStartButton)
{
    for (int item : {0, 1, 4}) {
        menu(item);
        expect({1, 0, 0, 0, 0, 0, 0}, "menu item 0, 1 or 4");
        EXPECT_EQ(st().gSceneTick, 0);
    }
}

TEST_F(WindowTest, ClosedLoopMenuItemsShowTheirModeList)
{
    menu(2);
    expect({0, 0, 0, 0, 1, 0, 1}, "menu item 2, no mode chosen");
    menu(5);
    expect({0, 0, 0, 0, 1, 0, 1}, "menu item 5");
    menu(3);
    expect({0, 0, 0, 0, 0, 1, 1}, "menu item 3");
    menu(6);
    expect({0, 0, 0, 0, 0, 1, 1}, "menu item 6");
}

TEST_F(WindowTest, ModeListsChooseTheButtons)
{
    menu(2);
    clickRow(w->ListBox2, 0);
    expect({1, 0, 0, 0, -1, -1, -1}, "en continu in ListBox2");
    clickRow(w->ListBox2, 1);
    expect({0, 1, 0, 0, -1, -1, -1}, "pas à pas in ListBox2");

    menu(3);
    clickRow(w->ListBox3, 1);
    expect({0, 0, 1, 0, -1, -1, -1}, "pas à pas in ListBox3");
    clickRow(w->ListBox3, 0);
    expect({1, 0, 0, 0, -1, -1, -1}, "en continu in ListBox3");
}

TEST_F(WindowTest, MenuRemembersTheModeOfEitherList)
{
    // "en continu" chosen in the PI list shows the start button for a P lesson too.
    menu(3);
    clickRow(w->ListBox3, 0);
    menu(2);
    expect({1, 0, 0, 0, 1, 0, 1}, "menu 2 after a continuous PI lesson");
    click(w->Button1);
    EXPECT_EQ(st().gSceneTick, 1001);
    EXPECT_EQ(st().gPeriodLoopP, 0);

    // "pas à pas" in the P list is kept when coming back to a P lesson.
    clickRow(w->ListBox2, 1);
    menu(1);
    menu(5);
    expect({0, 1, 0, 0, 1, 0, 1}, "menu 5 with pas à pas in ListBox2");
}

TEST_F(WindowTest, SwitchingToStepModeResetsBothPeriodIndices)
{
    menu(2);
    clickRow(w->ListBox2, 1);
    click(w->Button2);
    click(w->Button2);
    EXPECT_EQ(st().gPeriodLoopP, 2);
    st().gPeriodDisturbP = 4;
    clickRow(w->ListBox2, 0);
    clickRow(w->ListBox2, 1);
    EXPECT_EQ(st().gPeriodLoopP, 0);
    EXPECT_EQ(st().gPeriodDisturbP, 0);
    EXPECT_EQ(st().gSceneTick, 0);
}

TEST_F(WindowTest, StartButtonPutsTheClockOnEachLessonsStartCode)
{
    const int codes[] = {-1, 1, 1001, 2001, 3001, 4001, 5001};
    for (int item = 0; item < kLessonCount; ++item) {
        menu(item);
        if (w->ListBox2->isVisible())
            clickRow(w->ListBox2, 0);
        if (w->ListBox3->isVisible())
            clickRow(w->ListBox3, 0);
        st().gPeriodLoopP = st().gPeriodLoopPI = st().gPeriodDisturbP = st().gPeriodDisturbPI = 3;
        click(w->Button1);
        EXPECT_EQ(st().gSceneTick, codes[item]) << item;
        expect({1, 0, 0, 0, -1, -1, -1}, "start button");
    }
    EXPECT_EQ(st().gPeriodDisturbPI, 0);
}

TEST_F(WindowTest, StepModeThroughClicks)
{
    menu(2);
    clickRow(w->ListBox2, 1);
    // Something drawn in the lesson area is cleared by the first press.
    w->scene().surfaces.window.setPenAndBrush(colour::red);
    w->scene().surfaces.window.rectangle(300, 300, 310, 310);
    click(w->Button2);
    EXPECT_EQ(surface(305, 305), colour::btnFace);
    EXPECT_EQ(st().gPeriodLoopP, 1);
    for (int i = 0; i < 50; ++i)
        w->Timer1Timer();
    EXPECT_EQ(st().gSceneTick, 1039);
    EXPECT_EQ(st().gTickLoopP, 39);

    // A lesson shows the comment button; a period press keeps it.
    w->showCommentButton();
    for (int k = 2; k <= 6; ++k) {
        click(w->Button2);
        expect({0, 1, 0, 1, -1, -1, -1}, "period press");
        for (int i = 0; i < 50; ++i)
            w->Timer1Timer();
    }
    EXPECT_EQ(st().gSceneTick, 1240);
    click(w->Button2);  // the seventh press starts period 1 again
    EXPECT_EQ(st().gPeriodLoopP, 1);
    EXPECT_EQ(st().gSceneTick, 1001);
    expect({0, 1, 0, 1, -1, -1, -1}, "seventh press");
}

TEST_F(WindowTest, PeriodButtonsServeTheLessonOfTheMenu)
{
    menu(5);
    clickRow(w->ListBox2, 1);
    click(w->Button2);
    EXPECT_EQ(st().gPeriodDisturbP, 1);
    EXPECT_EQ(st().gPeriodLoopP, 0);
    EXPECT_EQ(st().gSceneTick, 4001);

    menu(3);
    clickRow(w->ListBox3, 1);
    click(w->Button4);
    click(w->Button4);
    EXPECT_EQ(st().gPeriodLoopPI, 2);
    EXPECT_EQ(st().gSceneTick, 2040);

    menu(6);
    click(w->Button4);
    EXPECT_EQ(st().gPeriodDisturbPI, 1);
    EXPECT_EQ(st().gSceneTick, 5001);
}

TEST_F(WindowTest, ChoosingALessonDuringARunStopsItAndHidesTheBoxes)
{
    menu(2);
    clickRow(w->ListBox2, 0);
    click(w->Button1);
    for (int i = 0; i < 160; ++i)
        w->Timer1Timer();
    w->showCommentButton();
    w->showRecurrenceBox();
    click(w->Button3);
    EXPECT_TRUE(w->RichEdit1->isVisible());
    EXPECT_TRUE(w->RichEdit1->isEnabled());
    EXPECT_FALSE(w->RichEdit1->isReadOnly());

    menu(4);
    EXPECT_EQ(st().gSceneTick, 0);
    EXPECT_FALSE(w->RichEdit1->isVisible());
    EXPECT_FALSE(w->RichEdit2->isVisible());
    expect({1, 0, 0, 0, 0, 0, 0}, "menu during a run");
}

TEST_F(WindowTest, KeyboardSelectionActsLikeAClick)
{
    w->ListBox1->setFocus();
    menu(0);
    QTest::keyClick(w->ListBox1, Qt::Key_Down);
    QTest::keyClick(w->ListBox1, Qt::Key_Down);
    EXPECT_EQ(w->ListBox1->currentRow(), 2);
    // With no mode chosen yet the start button of item 0 stays as it was.
    expect({1, 0, 0, 0, 1, 0, 1}, "arrow keys to item 2");
    QTest::keyClick(w->ListBox1, Qt::Key_Down);
    expect({1, 0, 0, 0, 0, 1, 1}, "arrow key to item 3");
}

TEST_F(WindowTest, ClickingTheSelectedItemAgainClearsTheLessonArea)
{
    menu(0);
    click(w->Button1);
    EXPECT_EQ(st().gSceneTick, -1);
    w->scene().surfaces.window.setPenAndBrush(colour::red);
    w->scene().surfaces.window.rectangle(10, 300, 20, 310);
    menu(0);
    EXPECT_EQ(st().gSceneTick, 0);
    EXPECT_EQ(surface(15, 305), colour::btnFace);
}

TEST_F(WindowTest, TimerTakesItsIntervalFromTheSpeedBar)
{
    w->ScrollBar1->setValue(10);
    EXPECT_EQ(w->Timer1->interval(), 100);  // only from the next tick
    w->Timer1Timer();
    EXPECT_EQ(w->Timer1->interval(), 10);
    w->ScrollBar1->setValue(200);
    w->Timer1Timer();
    EXPECT_EQ(w->Timer1->interval(), 200);
}

TEST_F(WindowTest, SurfaceShowsTheBlockDiagramAndIsCopiedToTheScreen)
{
    EXPECT_EQ(surface(150, 100), colour::red);  // regulator
    EXPECT_EQ(surface(272, 100), colour::yellow);
    const QImage shown = w->grab(QRect(0, 0, 800, 550)).toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown.pixel(150, 100), colour::red);
    EXPECT_EQ(shown.pixel(272, 100), colour::yellow);
    EXPECT_EQ(shown.pixel(400, 300), colour::btnFace);
}
