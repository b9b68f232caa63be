// The Laboratoire opened on a screen smaller than its scene at 1x: the
// offscreen platform's own 800 x 800, or the netbook's 1024 x 600 and the
// projector's 800 x 600 its configuration files give (T1_SCREEN_SIZE says
// which). Every control must be on the screen, and reachable at 1x too.
#include "lab_window/laboratory.h"
#include "lab_window/number_field.h"
#include "stage/zoom.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGraphicsView>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

namespace t1::testing {
namespace {

// The controls a student uses, shown.
std::vector<QWidget*> controls(Laboratory& lab)
{
    std::vector<QWidget*> all;
    for (QWidget* w : lab.sceneView()->findChildren<QWidget*>()) {
        const bool control = qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w) ||
                             qobject_cast<QScrollBar*>(w);
        if (control && w->isVisibleTo(lab.sceneView()))
            all.push_back(w);
    }
    return all;
}

// Where a control of the scene is on the window, through the zoom's view.
QRect onWindow(Laboratory& lab, QWidget* w)
{
    const QRect inScene(w->mapTo(lab.sceneView(), QPoint(0, 0)), w->size());
    QGraphicsView* view = lab.zoom().view();
    if (!view)
        return inScene;
    const QRect inViewport = view->mapFromScene(QRectF(inScene)).boundingRect();
    return inViewport.translated(view->viewport()->mapTo(&lab, QPoint(0, 0)));
}

class SmallScreen : public ::testing::Test {
protected:
    void SetUp() override
    {
        room = QGuiApplication::primaryScreen()->availableGeometry();
        if (const QByteArray size = qgetenv("T1_SCREEN_SIZE"); !size.isEmpty()) {
            ASSERT_EQ(QStringLiteral("%1x%2").arg(room.width()).arg(room.height()), QString::fromLatin1(size));
        }
        if (room.width() >= kLabSceneWidth && room.height() >= kLabSceneHeight)
            GTEST_SKIP() << "the screen holds the scene at 1x";
        lab.setManualTicks(true);
        lab.showRaised();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&lab));
    }

    QRect room;
    Laboratory lab;
};

TEST_F(SmallScreen, EveryControlIsOnTheScreenAndTakesClicks)
{
    EXPECT_TRUE(room.contains(lab.frameGeometry())) << lab.frameGeometry().width() << "x" << lab.frameGeometry().height();
    ASSERT_NE(lab.zoom().view(), nullptr);
    EXPECT_LT(lab.zoom().factor(), 1);
    const std::vector<QWidget*> shown = controls(lab);
    EXPECT_GT(shown.size(), 25u);
    for (QWidget* w : shown)
        EXPECT_TRUE(lab.rect().contains(onWindow(lab, w))) << w->accessibleName().toStdString() << " "
                                                          << qPrintable(w->objectName());
    // The buttons at the bottom right answer through the fitted view.
    QGraphicsView* view = lab.zoom().view();
    const auto clickOn = [&](QWidget* w) {
        const QPoint centre = onWindow(lab, w).center();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->viewport()->mapFrom(&lab, centre));
    };
    clickOn(lab.startButton);
    EXPECT_EQ(lab.experiment().state(), model::RunState::Running);
    for (int i = 0; i < model::kTicksPerPeriod; ++i)
        lab.tick();
    clickOn(lab.restartButton);
    EXPECT_EQ(lab.experiment().traces().size(), 1u);
    clickOn(lab.clearButton);
    EXPECT_TRUE(lab.experiment().traces().empty());
}

TEST_F(SmallScreen, AtOneScrollBarsReachTheRestAndFollowTheKeyboard)
{
    lab.zoom().reset();
    QGraphicsView* view = lab.zoom().view();
    ASSERT_NE(view, nullptr);
    EXPECT_DOUBLE_EQ(view->transform().m11(), 1);
    // Along each side shorter than the scene, a scroll bar reaches its end.
    if (lab.width() < kLabSceneWidth) {
        EXPECT_TRUE(view->horizontalScrollBar()->isVisible());
        EXPECT_EQ(view->horizontalScrollBar()->maximum() + view->viewport()->width(), kLabSceneWidth);
    }
    if (lab.height() < kLabSceneHeight) {
        EXPECT_TRUE(view->verticalScrollBar()->isVisible());
        EXPECT_EQ(view->verticalScrollBar()->maximum() + view->viewport()->height(), kLabSceneHeight);
    }
    // Tab to a button beyond the window's edge brings it into view (Recommencer
    // is not enabled before a run).
    EXPECT_FALSE(lab.rect().contains(onWindow(lab, lab.clearButton)));
    lab.clearButton->setEnabled(true);
    lab.periodButton->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(lab.zoom().scene()->focusWidget(), lab.clearButton);
    EXPECT_TRUE(lab.rect().contains(onWindow(lab, lab.clearButton)));
    // A window as large as the scene holds it again, without a view.
    lab.showNormal();
    lab.resize(kLabSceneWidth, kLabSceneHeight);
    EXPECT_EQ(lab.zoom().view(), nullptr);
}

}  // namespace
}  // namespace t1::testing
