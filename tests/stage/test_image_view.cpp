// A retained picture shown scaled: crisp blocks from one up, and below one
// every stroke of a text still there, fainter, rather than dropped.
#include "stage/image_view.h"
#include "stage/zoom.h"

#include "picture/canvas.h"
#include "picture/colours.h"
#include "picture/fonts.h"

#include <QGraphicsView>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace t1::testing {
namespace {

constexpr int kWidth = 240;
constexpr int kHeight = 40;
constexpr QPoint kTextAt{6, 12};

// How far a pixel is from the background, 0 to 255.
int contrast(QRgb pixel, QRgb background)
{
    return std::max({std::abs(qRed(pixel) - qRed(background)), std::abs(qGreen(pixel) - qGreen(background)),
                     std::abs(qBlue(pixel) - qBlue(background))});
}

TEST(ImageView, ShrunkEveryColumnOfAWordKeepsItsInk)
{
    Canvas picture(kWidth, kHeight, colour::btnFace);
    picture.setFontColour(colour::blue);
    picture.setFontSize(fonts::pt7);
    picture.textOut(kTextAt.x(), kTextAt.y(), QStringLiteral("2,61 V Erreur statique depuis le départ"));
    const QImage source = picture.image();

    QWidget window;
    window.resize(kWidth, kHeight);
    auto* view = new ImageView(picture, colour::btnFace, &window);
    view->resize(kWidth, kHeight);
    Zoom zoom(&window, view);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    for (const double factor : {0.87, 0.75, 0.5}) {
        SCOPED_TRACE(factor);
        zoom.setFactor(factor);
        ASSERT_NE(zoom.view(), nullptr);
        const QImage shown = zoom.view()->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QPoint origin = zoom.view()->mapFromScene(QPointF(0, 0));
        int faint = 0;
        for (int x = 0; x < kWidth; ++x) {
            int ink = 0;
            for (int y = 0; y < kHeight; ++y)
                ink = std::max(ink, contrast(source.pixel(x, y), colour::btnFace));
            if (ink == 0)
                continue;
            // The screen column over the middle of this one shows some of it.
            const int sx = origin.x() + int(std::floor((x + 0.5) * factor));
            int seen = 0;
            for (int y = 0; y < shown.height(); ++y)
                seen = std::max(seen, contrast(shown.pixel(sx, y), colour::btnFace));
            faint += seen < ink * factor / 4;
        }
        EXPECT_EQ(faint, 0);
    }
}

}  // namespace
}  // namespace t1::testing
