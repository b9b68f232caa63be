#include "stage/image_view.h"
#include "shell/temperature1.h"
#include "tests/support/window_form.h"
#include "picture/colours.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

using namespace t1;
using t1::testing::WindowForm;

namespace {

// The window's surface with the oven picture laid over it, as on screen.
QImage composed(const TTemperature1& w)
{
    QImage screen = w.scene().surfaces.window.image().copy();
    QPainter p(&screen);
    p.drawImage(QPoint(kFondLeft, kFondTop), w.scene().surfaces.fond.image(),
                QRect(0, 0, kFondWidth, kFondHeight));
    return screen;
}

}  // namespace

TEST(OvenWindow, SpritesLiveFromConstructionToDestruction)
{
    TTemperature1 w;
    const WindowForm ui(w);
    const Surfaces& s = w.scene().surfaces;
    EXPECT_TRUE(s.gResistorBmp && s.gFanBmpA && s.gFanBmpB && s.gBackgroundBmp);
    EXPECT_TRUE(s.fond.image().isNull());  // empty until the first tick

    ui.Destruction();
    EXPECT_FALSE(s.gResistorBmp || s.gFanBmpA || s.gFanBmpB || s.gBackgroundBmp);
    // A tick without sprites draws no oven rather than failing.
    ui.Timer1Timer();
    EXPECT_TRUE(s.fond.image().isNull());
}

TEST(OvenWindow, IdleOvenShowsInFondAndJoinsTheDiagram)
{
    TTemperature1 w;
    const WindowForm ui(w);
    ui.Timer1Timer();
    const QImage shown = ui.FOND->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shown.size(), QSize(kFondWidth, kFondHeight));
    EXPECT_EQ(shown.pixel(100, 20), colour::blue);
    EXPECT_EQ(shown.pixel(178, 40), colour::green);

    // The thick lines run on into the resistor's leads and the sensor's lead
    // without a gap: two pixels wide across each seam.
    const QImage screen = composed(w);
    for (int y = 36; y <= 44; ++y)  // supply, top
        for (int x : {478, 479})
            EXPECT_EQ(screen.pixel(x, y), colour::black) << x << "," << y;
    for (int y = 115; y <= 125; ++y)  // return, bottom
        for (int x : {478, 479})
            EXPECT_EQ(screen.pixel(x, y), colour::black) << x << "," << y;
    for (int x = 635; x <= 645; ++x)  // sensor
        for (int y : {79, 80})
            EXPECT_EQ(screen.pixel(x, y), colour::black) << x << "," << y;
}
