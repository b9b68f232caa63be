#include "tests/support/classroom_rig.h"
#include "stage/image_view.h"
#include "stage/zoom.h"

#include <QGraphicsView>
#include <QLabel>
#include <QPaintEvent>
#include <QScreen>
#include <QScrollBar>
#include <QSet>
#include <QTextEdit>

using namespace t1;
using namespace t1::testing;

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 550;

// Collects the areas a widget repaints, and how many pixels all its paints cover.
struct PaintSpy : QObject {
    explicit PaintSpy(QWidget* watched) { watched->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            const QRegion region = static_cast<QPaintEvent*>(event)->region();
            painted += region;
            for (const QRect& r : region)
                pixels += qint64(r.width()) * r.height();
        }
        return false;
    }
    QRegion painted;
    qint64 pixels = 0;
};

class ZoomTest : public ClassroomRig {
protected:
    Zoom& zoom() { return classroom().zoom(); }

    // A click where the user sees a point of the 800 x 550 scene.
    void clickScene(QPoint at)
    {
        QGraphicsView* view = zoom().view();
        ASSERT_NE(view, nullptr);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->mapFromScene(QPointF(at) + QPointF(0.5, 0.5)));
    }

    // The widgets of the window in the order Tab visits them.
    static QList<QWidget*> focusChain(QWidget* root)
    {
        QList<QWidget*> chain;
        for (QWidget* x = root->nextInFocusChain(); x && x != root; x = x->nextInFocusChain())
            chain << x;
        return chain;
    }

    // The rows and columns holding anything but the background, in a label.
    static QRect ink(const QImage& image, QRect area)
    {
        const QRgb background = image.pixel(area.topLeft());
        QRect box;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                if (image.pixel(x, y) != background)
                    box |= QRect(x, y, 1, 1);
        return box;
    }
};

}  // namespace

TEST_F(ZoomTest, ClicksLandOnTheScaledControls)
{
    menu(lesson("open loop"));
    zoom().setFactor(2);
    clickScene(ui->Button1->geometry().center());
    EXPECT_EQ(st().gSceneTick, 1);

    // A row of the menu, 13 px high from the top of the list's viewport.
    const QRect list = ui->ListBox1->geometry();
    const QRect row = ui->ListBox1->visualItemRect(ui->ListBox1->item(menuIndex(lesson("closed loop PI"))));
    clickScene(list.topLeft() + ui->ListBox1->viewport()->geometry().topLeft() + row.center());
    EXPECT_EQ(ui->ListBox1->currentRow(), menuIndex(lesson("closed loop PI")));
    EXPECT_TRUE(ui->ListBox3->isVisible());

    zoom().setFactor(1.5);
    clickScene(ui->ListBox3->geometry().topLeft() + QPoint(20, 20));  // "pas à pas"
    EXPECT_TRUE(ui->Button4->isVisible());
    clickScene(ui->Button4->geometry().center());
    EXPECT_EQ(st().gSceneTick, 2001);
}

TEST_F(ZoomTest, TwiceTheSceneIsTheSceneWithEveryPixelDoubledOutsideTheControls)
{
    startContinuous(lesson("closed loop P"));
    ticks(170);
    w->resize(2 * kWidth, 2 * kHeight);
    const QImage one = shown(kWidth, kHeight);
    zoom().setFactor(2);
    const QImage two = shown(2 * kWidth, 2 * kHeight);
    const QImage doubled = one.scaled(2 * kWidth, 2 * kHeight, Qt::IgnoreAspectRatio, Qt::FastTransformation);

    // The controls draw their frames, gradients and texts afresh at the
    // larger size; everything else is the surface and the oven, doubled.
    QRegion controls;
    for (const QWidget* c : zoom().scene()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (c->isVisible() && c != ui->FOND)
            controls += QRect(c->geometry().topLeft() * 2, c->geometry().size() * 2);
    int differing = 0;
    for (int y = 0; y < 2 * kHeight; ++y)
        for (int x = 0; x < 2 * kWidth; ++x)
            if (!controls.contains(QPoint(x, y)) && two.pixel(x, y) != doubled.pixel(x, y))
                ++differing;
    EXPECT_EQ(differing, 0);

    // Inside, the controls' texts are drawn at twice their size.
    const QRect label = ui->Label3->geometry();
    const QRect small = ink(one, label);
    const QRect large = ink(two, QRect(label.topLeft() * 2, label.size() * 2));
    EXPECT_NEAR(large.height(), 2 * small.height(), 2);
    EXPECT_NEAR(large.width(), 2 * small.width(), 4);
    EXPECT_EQ(ui->ListBox1->font().pixelSize(), 9);
    EXPECT_EQ(ui->ListBox1->palette().color(QPalette::Text), QColor(0, 0, 255));
}

TEST_F(ZoomTest, BetweenWholeFactorsThePicturesStayCrispWithoutBlendedColours)
{
    startContinuous(lesson("closed loop P"));
    ticks(170);
    const QImage one = shown(kWidth, kHeight);
    QSet<QRgb> colours;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            colours.insert(one.pixel(x, y));
    for (const double factor : {1.5, 2.5}) {
        SCOPED_TRACE(factor);
        w->resize(int(factor * kWidth), int(factor * kHeight));
        zoom().setFactor(factor);
        const QImage scaled = shown(int(factor * kWidth), int(factor * kHeight));
        // The diagram, the oven and the plots, outside the controls' own
        // drawing: a smoothed picture would show colours between its neighbours'.
        QRegion controls;
        for (const QWidget* c : zoom().scene()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (c->isVisible() && c != ui->FOND)
                controls += QRect(c->geometry().topLeft() * factor, c->geometry().size() * factor).adjusted(-2, -2, 2, 2);
        const QRect pictures(0, 0, int(factor * kWidth), int(factor * kHeight));
        int blended = 0;
        for (int y = pictures.top(); y <= pictures.bottom(); ++y)
            for (int x = pictures.left(); x <= pictures.right(); ++x)
                blended += !controls.contains(QPoint(x, y)) && !colours.contains(scaled.pixel(x, y));
        EXPECT_EQ(blended, 0);
    }
}

TEST_F(ZoomTest, WhatATickDrawsIsRepaintedOnTheScaledScene)
{
    startContinuous(lesson("closed loop P"));
    w->resize(2 * kWidth, 2 * kHeight);
    zoom().setFactor(2);
    PaintSpy spy(zoom().scene());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !spy.painted.isEmpty(); }));
    QTest::qWait(100);  // whatever showing the view still had to paint

    // The readouts and the first pieces of both curves are new on the surface.
    spy.painted = {};
    ticks(1);
    const QRegion drawn(QRect(140, 190, 400, 110));
    EXPECT_TRUE(QTest::qWaitFor([&] { return spy.painted.intersects(drawn); }, 1000));
    // What the platform was given to show, not a fresh rendering.
    const QImage screen = w->screen()->grabWindow(w->winId()).toImage().convertToFormat(QImage::Format_RGB32);
    const QImage& surface = w->scene().surfaces.window.image();
    int differing = 0;
    for (const QRect& r : drawn)
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                differing += screen.pixel(2 * x + 1, 2 * y + 1) != surface.pixel(x, y);
    EXPECT_EQ(differing, 0);
}

TEST_F(ZoomTest, ScaledATickRepaintsItsFewSmallAreasNotTheRectangleSpanningThem)
{
    startContinuous(lesson("closed loop P"));
    w->resize(2 * kWidth, 2 * kHeight);
    zoom().setFactor(2);
    PaintSpy spy(zoom().view()->viewport());
    ASSERT_TRUE(QTest::qWaitFor([&] { return spy.pixels > 0; }));  // the view's first, whole paint
    QTest::qWait(100);
    spy.pixels = 0;
    constexpr int kTicks = 20;
    for (int i = 0; i < kTicks; ++i) {
        ticks(1);
        QApplication::processEvents();
    }
    const qint64 pixels = spy.pixels;
    // The readouts (y 60), the oven (440..640) and the curves' new pieces
    // (x 140..745, y 200..300) span about 700 x 250 scene pixels; what
    // changes is the oven and a few small pieces.
    constexpr qint64 kOvenOnScreen = 4 * 200 * 80;
    EXPECT_LT(pixels, kTicks * 2 * kOvenOnScreen);
    EXPECT_GT(pixels, 0);
}

TEST_F(ZoomTest, BackToOneTheWindowIsAsItWas)
{
    menu(lesson("closed loop P"));
    clickRow(ui->ListBox2, 0);
    ui->ListBox1->setFocus();
    const QImage before = shown(kWidth, kHeight);
    const QList<QWidget*> chain = focusChain(w.get());

    zoom().setFactor(2);
    EXPECT_EQ(ui->Button1->parentWidget(), zoom().scene());
    zoom().zoomOut();
    zoom().reset();

    EXPECT_EQ(zoom().view(), nullptr);
    EXPECT_EQ(zoom().scene()->parentWidget(), w.get());
    EXPECT_EQ(zoom().scene()->pos(), QPoint(0, 0));
    EXPECT_EQ(ui->Button1->parentWidget(), zoom().scene());
    EXPECT_EQ(ui->Button1->geometry(), QRect(504, 512, 105, 25));
    EXPECT_FALSE(ui->Label7->isHidden());
    EXPECT_TRUE(ui->Button2->isHidden());
    EXPECT_TRUE(ui->RichEdit1->isHidden());
    EXPECT_EQ(focusChain(w.get()), chain);
    EXPECT_EQ(QApplication::focusWidget(), ui->ListBox1);
    EXPECT_EQ(shown(kWidth, kHeight), before);
}

TEST_F(ZoomTest, ControlKeysStepTheFactorAndZeroComesBack)
{
    press(Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(zoom().factor(), 1.25);
    // Larger than the window, the scene shows from its top-left corner.
    EXPECT_EQ(zoom().view()->mapToScene(QPoint(0, 0)), QPointF(0, 0));
    press(Qt::Key_Equal, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(zoom().factor(), 1.5);
    press(Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(zoom().factor(), 1.25);
    for (int i = 0; i < 20; ++i)
        press(Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(zoom().factor(), 4);
    press(Qt::Key_0, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(zoom().factor(), 1);
    EXPECT_EQ(zoom().view(), nullptr);
}

TEST_F(ZoomTest, FitFillsTheWindowAndFollowsItsSize)
{
    w->resize(2 * kWidth, 2 * kHeight);
    zoom().setFit(true);
    EXPECT_DOUBLE_EQ(zoom().factor(), 2);
    w->resize(1200, 2 * kHeight);
    EXPECT_DOUBLE_EQ(zoom().factor(), 1.5);
    EXPECT_EQ(zoom().view()->geometry(), w->rect());
    // A step from the fit goes on from the factor it had.
    zoom().zoomIn();
    EXPECT_FALSE(zoom().fitting());
    EXPECT_DOUBLE_EQ(zoom().factor(), 1.75);
}

TEST_F(ZoomTest, F11IsFullScreenWithTheSceneFittedAndF11LeavesIt)
{
    zoom().setFactor(1.5);
    press(Qt::Key_F11);
    EXPECT_TRUE(w->isFullScreen());
    EXPECT_TRUE(zoom().fitting());
    press(Qt::Key_Escape);
    EXPECT_FALSE(w->isFullScreen());
    EXPECT_DOUBLE_EQ(zoom().factor(), 1.5);
    press(Qt::Key_F11);
    press(Qt::Key_F11);
    EXPECT_FALSE(w->isFullScreen());
    EXPECT_FALSE(zoom().fitting());
}

TEST_F(ZoomTest, TabGoesRoundTheScaledControlsInTheirOrder)
{
    menu(lesson("closed loop P"));
    clickRow(ui->ListBox2, 0);
    zoom().setFactor(2);
    ui->Button1->setFocus();
    const QWidget* expected[] = {ui->ScrollBar1, ui->ListBox1, ui->ListBox2, ui->Button5, ui->Button1, ui->ScrollBar1};
    for (const QWidget* next : expected) {
        press(Qt::Key_Tab);
        EXPECT_EQ(zoom().scene()->focusWidget(), next);
    }
    press(Qt::Key_Backtab);
    EXPECT_EQ(zoom().scene()->focusWidget(), ui->Button1);
    press(Qt::Key_Space);
    EXPECT_EQ(st().gSceneTick, 1001);
}

TEST_F(ZoomTest, TheWindowClosesWhileScaled)
{
    startContinuous(lesson("closed loop P"));
    zoom().setFactor(2.5);
    ticks(3);
    QApplication::processEvents();
    w.reset();  // the scene and every control are freed once, with the window
}
