// A tick copies to the screen only what it changed: a page that stays as it
// is costs no repaint, and a lesson's tick repaints a few small areas, not
// the rectangle that spans them.
#include "tests/support/window_rig.h"

#include <QListWidget>
#include <QPaintEvent>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace t1;
using namespace t1::testing;

namespace {

constexpr int kMenuPresentation = menuIndex(lesson("presentation"));
constexpr int kMenuLoopPI = menuIndex(lesson("closed loop PI"));
constexpr int kContinuous = 0;
constexpr int kTicks = 100;
constexpr qint64 kMostPixelsPerTick = 10'000;

// Counts the window's paint events and the pixels they cover.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* w) { w->installEventFilter(this); }
    int paints = 0;
    qint64 pixels = 0;

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint) {
            ++paints;
            for (const QRect& r : static_cast<QPaintEvent*>(e)->region())
                pixels += qint64(r.width()) * r.height();
        }
        return false;
    }
};

class Repaint : public WindowRig {
protected:
    void tick()
    {
        ticks(1);
        QCoreApplication::processEvents();
    }
};

}  // namespace

TEST_F(Repaint, ThePresentationIsCopiedOnceThenLeftAlone)
{
    ui->ListBox1->setCurrentRow(kMenuPresentation);
    ui->Button1->click();
    tick();
    tick();
    PaintCounter window(w->sceneView());
    for (int i = 0; i < kTicks; ++i)
        tick();
    EXPECT_EQ(window.paints, 0);
}

TEST_F(Repaint, ALessonTickRepaintsWhatMovedOnly)
{
    ui->ListBox1->setCurrentRow(kMenuLoopPI);
    ui->ListBox3->setCurrentRow(kContinuous);
    ui->Button1->click();
    for (int i = 0; i < 5; ++i)
        tick();
    PaintCounter window(w->sceneView());
    for (int i = 0; i < kTicks; ++i)
        tick();
    // The curves grow on every tick, the readouts are printed again; the
    // rectangle spanning them would be over a hundred thousand pixels.
    EXPECT_GE(window.paints, kTicks / 2);
    EXPECT_LT(window.pixels / kTicks, kMostPixelsPerTick);
}
