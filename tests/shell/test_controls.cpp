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

constexpr const LessonRow& kPresentation = lesson("presentation");
constexpr const LessonRow& kOpenLoop = lesson("open loop");
constexpr const LessonRow& kLoopP = lesson("closed loop P");
constexpr const LessonRow& kLoopPI = lesson("closed loop PI");
constexpr const LessonRow& kDisturbModel = lesson("disturbance model");
constexpr const LessonRow& kDisturbP = lesson("disturbance P");
constexpr const LessonRow& kDisturbPI = lesson("disturbance PI");

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
        check(e.button1, on(ui->Button1), "Button1");
        check(e.button2, on(ui->Button2), "Button2");
        check(e.button4, on(ui->Button4), "Button4");
        check(e.button3, on(ui->Button3), "Button3");
        check(e.listBox2, on(ui->ListBox2), "ListBox2");
        check(e.listBox3, on(ui->ListBox3), "ListBox3");
        check(e.label7, ui->Label7->isVisible() ? 1 : 0, "Label7");
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
    EXPECT_FALSE(ui->RichEdit1->isVisible());
    EXPECT_FALSE(ui->RichEdit2->isVisible());
    EXPECT_EQ(ui->RichEdit1->toPlainText(), QStringLiteral("RichEdit1"));
    EXPECT_EQ(ui->RichEdit2->toPlainText(), QStringLiteral("RichEdit2"));
    EXPECT_TRUE(ui->ListBox1->selectedItems().isEmpty());
    ASSERT_EQ(ui->ListBox1->count(), kLessonCount);
    for (const LessonRow& row : kLessons)
        EXPECT_EQ(ui->ListBox1->item(menuIndex(row))->text(), QString::fromUtf8(row.title));
    EXPECT_EQ(ui->ListBox1->item(3)->text(), QStringLiteral("Réponse Pile en boucle fermée (régulation PI)"));
    EXPECT_EQ(ui->ScrollBar1->value(), 100);
    EXPECT_EQ(ui->ScrollBar1->minimum(), 10);
    EXPECT_EQ(ui->ScrollBar1->maximum(), 200);
    EXPECT_EQ(ui->Timer1->interval(), 100);
    EXPECT_EQ(ui->Timer1->timerType(), Qt::PreciseTimer);
    EXPECT_EQ(ui->Label2->text(), QStringLiteral("+               -"));
    EXPECT_EQ(st().gSceneTick, 0);
}

TEST_F(WindowTest, ControlsKeepOutOfTheLessonsWayAndOnlyTheSwappedOnesShareAPlace)
{
    const QRect scene(0, 0, 800, 550);
    const QRect lessonArea(0, kLessonAreaTop, 800, kLessonAreaBottom - kLessonAreaTop);
    // The start and period buttons, and the two mode lists, take turns in
    // one place each (never two of them shown at once).
    EXPECT_EQ(ui->Button4->geometry(), ui->Button2->geometry());
    EXPECT_TRUE(ui->Button2->geometry().contains(ui->Button1->geometry().center()));
    EXPECT_EQ(ui->ListBox3->geometry(), ui->ListBox2->geometry());
    const QWidget* bottomBand[] = {ui->Label1,     ui->Label2,   ui->Label3,  ui->Label7,
                                   ui->Button1,    ui->ScrollBar1, ui->ListBox1, ui->ListBox2};
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
    EXPECT_EQ(ui->ListBox1->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(ui->ListBox1->visualItemRect(ui->ListBox1->item(0)).height(), 13);
    EXPECT_GE(ui->ListBox1->viewport()->height(), 4 * 13 + 9);
}

TEST_F(WindowTest, ControlsFollowTheBlueSmallWindowFontLabelsKeepTheirOwn)
{
    EXPECT_EQ(ui->Button1->font().pixelSize(), 9);
    EXPECT_EQ(ui->ListBox1->font().pixelSize(), 9);
    EXPECT_EQ(ui->ListBox1->palette().color(QPalette::Text), QColor(0, 0, 255));
    EXPECT_EQ(ui->Button2->palette().color(QPalette::ButtonText), QColor(0, 0, 255));
    EXPECT_EQ(ui->Label3->font().pixelSize(), 13);
    EXPECT_TRUE(ui->Label3->font().bold());
    EXPECT_EQ(ui->Label3->palette().color(QPalette::WindowText), QColor(0, 0, 128));
    EXPECT_EQ(ui->Label1->palette().color(QPalette::WindowText), QColor(128, 128, 0));
    EXPECT_EQ(ui->Label4->palette().color(QPalette::WindowText), QColor(128, 0, 0));
    EXPECT_EQ(ui->Label2->font().pixelSize(), 19);
}

TEST_F(WindowTest, MenuItemsWithoutModesShowTheStartButton)
{
    for (const LessonRow& row : kLessons) {
        if (row.regulation != Regulation::None)
            continue;
        menu(row);
        expect({1, 0, 0, 0, 0, 0, 0}, row.runName);
        EXPECT_EQ(st().gSceneTick, 0);
    }
}

TEST_F(WindowTest, ClosedLoopMenuItemsShowTheirModeList)
{
    // No mode chosen yet: the lesson's own list, and no button.
    for (const LessonRow& row : kLessons) {
        if (row.regulation == Regulation::None)
            continue;
        menu(row);
        const int p = row.regulation == Regulation::P;
        expect({0, 0, 0, 0, p, 1 - p, 1}, row.runName);
    }
}

TEST_F(WindowTest, ModeListsChooseTheButtons)
{
    menu(kLoopP);
    clickRow(ui->ListBox2, 0);
    expect({1, 0, 0, 0, -1, -1, -1}, "en continu in ListBox2");
    clickRow(ui->ListBox2, 1);
    expect({0, 1, 0, 0, -1, -1, -1}, "pas à pas in ListBox2");

    menu(kLoopPI);
    clickRow(ui->ListBox3, 1);
    expect({0, 0, 1, 0, -1, -1, -1}, "pas à pas in ListBox3");
    clickRow(ui->ListBox3, 0);
    expect({1, 0, 0, 0, -1, -1, -1}, "en continu in ListBox3");
}

TEST_F(WindowTest, MenuRemembersTheModeOfEitherList)
{
    // "en continu" chosen in the PI list shows the start button for a P lesson too.
    menu(kLoopPI);
    clickRow(ui->ListBox3, 0);
    menu(kLoopP);
    expect({1, 0, 0, 0, 1, 0, 1}, "menu 2 after a continuous PI lesson");
    click(ui->Button1);
    EXPECT_EQ(st().gSceneTick, 1001);
    EXPECT_EQ(st().gPeriodLoopP(), 0);

    // "pas à pas" in the P list is kept when coming back to a P lesson.
    clickRow(ui->ListBox2, 1);
    menu(kOpenLoop);
    menu(kDisturbP);
    expect({0, 1, 0, 0, 1, 0, 1}, "menu 5 with pas à pas in ListBox2");
}

TEST_F(WindowTest, SwitchingToStepModeResetsBothPeriodIndices)
{
    menu(kLoopP);
    clickRow(ui->ListBox2, 1);
    click(ui->Button2);
    click(ui->Button2);
    EXPECT_EQ(st().gPeriodLoopP(), 2);
    st().gPeriodDisturbP() = 4;
    clickRow(ui->ListBox2, 0);
    clickRow(ui->ListBox2, 1);
    EXPECT_EQ(st().gPeriodLoopP(), 0);
    EXPECT_EQ(st().gPeriodDisturbP(), 0);
    EXPECT_EQ(st().gSceneTick, 0);
}

TEST_F(WindowTest, StartButtonPutsTheClockOnEachLessonsStartCode)
{
    for (const LessonRow& row : kLessons) {
        menu(row);
        if (ui->ListBox2->isVisible())
            clickRow(ui->ListBox2, 0);
        if (ui->ListBox3->isVisible())
            clickRow(ui->ListBox3, 0);
        for (LessonClock& clock : st().lessonClocks)
            clock.period = 3;
        click(ui->Button1);
        EXPECT_EQ(st().gSceneTick, row.band.start) << row.runName;
        EXPECT_EQ(st().clockOf(row).period, 0) << row.runName;
        expect({1, 0, 0, 0, -1, -1, -1}, "start button");
    }
}

TEST_F(WindowTest, StepModeThroughClicks)
{
    menu(kLoopP);
    clickRow(ui->ListBox2, 1);
    // Something drawn in the lesson area is cleared by the first press.
    w->scene().surfaces.window.setPenAndBrush(colour::red);
    w->scene().surfaces.window.rectangle(300, 300, 310, 310);
    click(ui->Button2);
    EXPECT_EQ(surface(305, 305), colour::btnFace);
    EXPECT_EQ(st().gPeriodLoopP(), 1);
    for (int i = 0; i < 50; ++i)
        ui->Timer1Timer();
    EXPECT_EQ(st().gSceneTick, 1039);
    EXPECT_EQ(st().gTickLoopP(), 39);

    // A lesson shows the comment button; a period press keeps it.
    w->showCommentButton();
    for (int k = 2; k <= 6; ++k) {
        click(ui->Button2);
        expect({0, 1, 0, 1, -1, -1, -1}, "period press");
        for (int i = 0; i < 50; ++i)
            ui->Timer1Timer();
    }
    EXPECT_EQ(st().gSceneTick, 1240);
    click(ui->Button2);  // the seventh press starts period 1 again
    EXPECT_EQ(st().gPeriodLoopP(), 1);
    EXPECT_EQ(st().gSceneTick, 1001);
    expect({0, 1, 0, 1, -1, -1, -1}, "seventh press");
}

TEST_F(WindowTest, PeriodButtonsServeTheLessonOfTheMenu)
{
    menu(kDisturbP);
    clickRow(ui->ListBox2, 1);
    click(ui->Button2);
    EXPECT_EQ(st().gPeriodDisturbP(), 1);
    EXPECT_EQ(st().gPeriodLoopP(), 0);
    EXPECT_EQ(st().gSceneTick, 4001);

    menu(kLoopPI);
    clickRow(ui->ListBox3, 1);
    click(ui->Button4);
    click(ui->Button4);
    EXPECT_EQ(st().gPeriodLoopPI(), 2);
    EXPECT_EQ(st().gSceneTick, 2040);

    menu(kDisturbPI);
    click(ui->Button4);
    EXPECT_EQ(st().gPeriodDisturbPI(), 1);
    EXPECT_EQ(st().gSceneTick, 5001);
}

TEST_F(WindowTest, ChoosingALessonDuringARunStopsItAndHidesTheBoxes)
{
    menu(kLoopP);
    clickRow(ui->ListBox2, 0);
    click(ui->Button1);
    for (int i = 0; i < 160; ++i)
        ui->Timer1Timer();
    w->showCommentButton();
    w->showRecurrenceBox();
    click(ui->Button3);
    EXPECT_TRUE(ui->RichEdit1->isVisible());
    EXPECT_TRUE(ui->RichEdit1->isEnabled());
    EXPECT_FALSE(ui->RichEdit1->isReadOnly());

    menu(kDisturbModel);
    EXPECT_EQ(st().gSceneTick, 0);
    EXPECT_FALSE(ui->RichEdit1->isVisible());
    EXPECT_FALSE(ui->RichEdit2->isVisible());
    expect({1, 0, 0, 0, 0, 0, 0}, "menu during a run");
}

TEST_F(WindowTest, KeyboardSelectionActsLikeAClick)
{
    ui->ListBox1->setFocus();
    menu(kPresentation);
    QTest::keyClick(ui->ListBox1, Qt::Key_Down);
    QTest::keyClick(ui->ListBox1, Qt::Key_Down);
    EXPECT_EQ(ui->ListBox1->currentRow(), 2);
    // With no mode chosen yet the start button of item 0 stays as it was.
    expect({1, 0, 0, 0, 1, 0, 1}, "arrow keys to item 2");
    QTest::keyClick(ui->ListBox1, Qt::Key_Down);
    expect({1, 0, 0, 0, 0, 1, 1}, "arrow key to item 3");
}

TEST_F(WindowTest, ClickingTheSelectedItemAgainClearsTheLessonArea)
{
    menu(kPresentation);
    click(ui->Button1);
    EXPECT_EQ(st().gSceneTick, -1);
    w->scene().surfaces.window.setPenAndBrush(colour::red);
    w->scene().surfaces.window.rectangle(10, 300, 20, 310);
    menu(kPresentation);
    EXPECT_EQ(st().gSceneTick, 0);
    EXPECT_EQ(surface(15, 305), colour::btnFace);
}

TEST_F(WindowTest, TimerTakesItsIntervalFromTheSpeedBar)
{
    ui->ScrollBar1->setValue(10);
    EXPECT_EQ(ui->Timer1->interval(), 100);  // only from the next tick
    ui->Timer1Timer();
    EXPECT_EQ(ui->Timer1->interval(), 10);
    ui->ScrollBar1->setValue(200);
    ui->Timer1Timer();
    EXPECT_EQ(ui->Timer1->interval(), 200);
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
