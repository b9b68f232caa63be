#include "picture/canvas.h"
#include "picture/colours.h"
#include "picture/fonts.h"

#include <gtest/gtest.h>

#include <array>

namespace t1::testing {

namespace {

constexpr QRgb kGround = colour::white;

Canvas blank(int w = 64, int h = 48)
{
    return Canvas(w, h, kGround);
}

int countColour(const Canvas& c, QRgb colour)
{
    int n = 0;
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < c.width(); ++x)
            n += c.pixel(x, y) == colour;
    return n;
}

}  // namespace

TEST(CanvasRectangle, CoversFirstCornerButNotTheSecond)
{
    Canvas c = blank();
    c.setPenColour(colour::black);
    c.setBrushColour(colour::yellow);
    c.rectangle(10, 5, 20, 15);

    // Outline on the first and last covered rows and columns.
    EXPECT_EQ(c.pixel(10, 5), colour::black);
    EXPECT_EQ(c.pixel(19, 14), colour::black);
    EXPECT_EQ(c.pixel(19, 5), colour::black);
    EXPECT_EQ(c.pixel(10, 14), colour::black);
    // The second corner's row and column stay untouched.
    EXPECT_EQ(c.pixel(20, 10), kGround);
    EXPECT_EQ(c.pixel(15, 15), kGround);
    EXPECT_EQ(c.pixel(9, 10), kGround);
    EXPECT_EQ(c.pixel(15, 4), kGround);
    // The inside takes the brush.
    EXPECT_EQ(c.pixel(11, 6), colour::yellow);
    EXPECT_EQ(c.pixel(18, 13), colour::yellow);
    EXPECT_EQ(countColour(c, colour::yellow), 8 * 8);
    EXPECT_EQ(countColour(c, colour::black), 10 * 10 - 8 * 8);
}

TEST(CanvasRectangle, SwappedCornersAndDegenerateSizes)
{
    Canvas a = blank();
    Canvas b = blank();
    a.setPenAndBrush(colour::red);
    b.setPenAndBrush(colour::red);
    a.rectangle(3, 4, 13, 9);
    b.rectangle(13, 9, 3, 4);
    EXPECT_EQ(a.image(), b.image());

    Canvas c = blank();
    c.setPenAndBrush(colour::red);
    c.rectangle(5, 5, 5, 20);  // zero width: nothing
    EXPECT_EQ(countColour(c, colour::red), 0);
    c.rectangle(5, 5, 6, 6);  // one pixel
    EXPECT_EQ(countColour(c, colour::red), 1);
}

TEST(CanvasRectangle, WidePenSpreadsAroundTheBorder)
{
    Canvas c = blank();
    c.setPenWidth(2);
    c.setPenColour(colour::black);
    c.setBrushColour(colour::yellow);
    c.rectangle(10, 10, 20, 20);
    // A 2-pixel outline covers one pixel outside the first corner and stays
    // inside the second.
    EXPECT_EQ(c.pixel(9, 9), colour::black);
    EXPECT_EQ(c.pixel(10, 10), colour::black);
    EXPECT_EQ(c.pixel(19, 19), colour::black);
    EXPECT_EQ(c.pixel(18, 18), colour::black);
    EXPECT_EQ(c.pixel(20, 20), kGround);
    EXPECT_EQ(c.pixel(8, 8), kGround);
    EXPECT_EQ(c.pixel(15, 15), colour::yellow);
}

TEST(CanvasRectangle, DiagonalCrossHatchLeavesGapsUnpainted)
{
    Canvas c = blank(15, 60);
    c.setPenColour(colour::black);
    c.setBrushColour(colour::black);
    c.setBrushStyle(BrushStyle::DiagCross);
    c.rectangle(0, 0, 15, 60);

    // Frame solid.
    for (int y = 0; y < 60; ++y) {
        EXPECT_EQ(c.pixel(0, y), colour::black);
        EXPECT_EQ(c.pixel(14, y), colour::black);
    }
    // Inside: both diagonals cross, the gaps keep the white ground.
    int painted = 0;
    int gaps = 0;
    for (int y = 1; y < 59; ++y)
        for (int x = 1; x < 14; ++x)
            (c.pixel(x, y) == colour::black ? painted : gaps)++;
    EXPECT_GT(painted, 0);
    EXPECT_GT(gaps, painted);
    // A falling and a rising diagonal through the inside.
    EXPECT_EQ(c.pixel(8, 8), colour::black);
    EXPECT_EQ(c.pixel(9, 9), colour::black);
    EXPECT_EQ(c.pixel(7, 9), colour::black);
    EXPECT_EQ(c.pixel(9, 10), kGround);

    // Recolouring with the same hatch repaints exactly the same pixels.
    const QImage before = c.image();
    c.setPenAndBrush(colour::red);
    c.rectangle(0, 0, 15, 60);
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 15; ++x)
            EXPECT_EQ(before.pixel(x, y) == colour::black, c.pixel(x, y) == colour::red) << x << "," << y;
}

TEST(CanvasLine, DoesNotPaintItsEndPoint)
{
    Canvas c = blank();
    c.setPenColour(colour::red);
    c.line(5, 10, 15, 10);
    EXPECT_EQ(c.pixel(5, 10), colour::red);
    EXPECT_EQ(c.pixel(14, 10), colour::red);
    EXPECT_EQ(c.pixel(15, 10), kGround);
    EXPECT_EQ(countColour(c, colour::red), 10);

    c.setPenColour(colour::blue);
    c.line(30, 40, 30, 20);  // upwards
    EXPECT_EQ(c.pixel(30, 40), colour::blue);
    EXPECT_EQ(c.pixel(30, 21), colour::blue);
    EXPECT_EQ(c.pixel(30, 20), kGround);
    EXPECT_EQ(countColour(c, colour::blue), 20);
}

TEST(CanvasLine, SlantedLineStartsOnFirstPointStopsShortOfLast)
{
    Canvas c = blank();
    c.setPenColour(colour::black);
    c.line(40, 20, 47, 13);  // a rising 45-degree arrowhead stroke
    EXPECT_EQ(c.pixel(40, 20), colour::black);
    EXPECT_EQ(c.pixel(46, 14), colour::black);
    EXPECT_EQ(c.pixel(47, 13), kGround);
    EXPECT_EQ(countColour(c, colour::black), 7);

    Canvas d = blank();
    d.setPenColour(colour::black);
    d.line(2, 2, 12, 6);  // shallow: one pixel per column
    EXPECT_EQ(d.pixel(2, 2), colour::black);
    EXPECT_EQ(d.pixel(12, 6), kGround);
    EXPECT_EQ(countColour(d, colour::black), 10);
    for (int x = 2; x < 12; ++x) {
        int inColumn = 0;
        for (int y = 0; y < d.height(); ++y)
            inColumn += d.pixel(x, y) == colour::black;
        EXPECT_EQ(inColumn, 1) << "column " << x;
    }
}

TEST(CanvasLine, PolylineSharesItsCorners)
{
    Canvas c = blank();
    c.setPenColour(colour::red);
    c.moveTo(10, 10);
    c.lineTo(20, 10);
    c.lineTo(20, 20);
    EXPECT_EQ(c.penPosition(), QPoint(20, 20));
    EXPECT_EQ(c.pixel(20, 10), colour::red);  // painted by the second segment
    EXPECT_EQ(c.pixel(20, 20), kGround);
    EXPECT_EQ(countColour(c, colour::red), 20);
}

TEST(CanvasLine, WidePenCoversTheRowAboveAndItsEndPoint)
{
    Canvas c = blank();
    c.setPenWidth(2);
    c.setPenColour(colour::black);
    c.line(10, 30, 20, 30);
    for (int x = 10; x <= 20; ++x) {
        EXPECT_EQ(c.pixel(x, 29), colour::black);
        EXPECT_EQ(c.pixel(x, 30), colour::black);
        EXPECT_EQ(c.pixel(x, 31), kGround);
    }
    EXPECT_EQ(c.pixel(21, 30), kGround);
    EXPECT_EQ(c.pixel(9, 30), kGround);

    // Upwards: the cap reaches the row of the end point, no further.
    c.line(40, 20, 40, 10);
    EXPECT_EQ(c.pixel(39, 20), colour::black);
    EXPECT_EQ(c.pixel(40, 10), colour::black);
    EXPECT_EQ(c.pixel(40, 9), kGround);
    EXPECT_EQ(c.pixel(41, 15), kGround);
}

TEST(CanvasLine, DottedPenLeavesRegularGaps)
{
    Canvas c = blank();
    c.setPenColour(colour::blue);
    c.setPenStyle(PenStyle::Dot);
    c.line(0, 5, 30, 5);
    int on = 0;
    bool sawGap = false;
    for (int x = 0; x < 30; ++x) {
        on += c.pixel(x, 5) == colour::blue;
        sawGap |= c.pixel(x, 5) == kGround;
    }
    EXPECT_EQ(c.pixel(0, 5), colour::blue);
    EXPECT_TRUE(sawGap);
    EXPECT_EQ(on, 15);

    // Back to solid.
    c.setPenStyle(PenStyle::Solid);
    c.line(0, 8, 30, 8);
    for (int x = 0; x < 30; ++x)
        EXPECT_EQ(c.pixel(x, 8), colour::blue);
}

TEST(CanvasClipping, FiguresOutsideTheImageAreClipped)
{
    Canvas c = blank(20, 20);
    c.setPenAndBrush(colour::red);
    c.rectangle(-50, -50, 5, 5);
    c.rectangle(15, 15, 500, 500);
    c.line(-100, 10, 300, 10);
    c.line(10, -100, 10, 300);
    c.textOut(-30, -4, QStringLiteral("Convert."));
    c.textOut(15, 15, QStringLiteral("Régulateur"));
    c.fillRect(-5, -5, 100, 2);
    EXPECT_EQ(c.pixel(0, 0), colour::red);
    EXPECT_EQ(c.pixel(19, 19), colour::red);
    EXPECT_EQ(c.pixel(19, 10), colour::red);
    EXPECT_EQ(c.pixel(10, 19), colour::red);
}

TEST(CanvasEllipse, StaysInsideItsBox)
{
    Canvas c = blank(120, 120);
    c.setPenColour(colour::red);
    c.setBrushColour(colour::white);
    c.ellipse(60, 60, 100, 100);
    int left = 1000, right = -1, top = 1000, bottom = -1;
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < c.width(); ++x)
            if (c.pixel(x, y) == colour::red) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    EXPECT_EQ(left, 60);
    EXPECT_EQ(top, 60);
    EXPECT_EQ(right, 99);
    EXPECT_EQ(bottom, 99);
}

TEST(CanvasPolygon, FillsWithBrushAndOutlinesWithPen)
{
    Canvas c = blank(30, 60);
    c.setPenColour(colour::blue);
    c.setBrushColour(colour::yellow);
    const std::array pts{QPoint(20, 29), QPoint(24, 53), QPoint(12, 35), QPoint(0, 33), QPoint(11, 25), QPoint(20, 2)};
    c.polygon(pts);
    for (const QPoint& p : pts)
        EXPECT_EQ(c.pixel(p.x(), p.y()), colour::blue) << p.x() << "," << p.y();
    EXPECT_EQ(c.pixel(15, 30), colour::yellow);  // near the hub
    EXPECT_EQ(c.pixel(2, 50), kGround);
}

TEST(CanvasDraw, CopiesABitmapWithClipping)
{
    Canvas sprite(4, 3, colour::green);
    Canvas c = blank(10, 10);
    c.draw(8, 8, sprite.image());
    EXPECT_EQ(c.pixel(8, 8), colour::green);
    EXPECT_EQ(c.pixel(9, 9), colour::green);
    EXPECT_EQ(c.pixel(7, 8), kGround);
    c.draw(-2, -1, sprite.image());
    EXPECT_EQ(c.pixel(0, 0), colour::green);
    EXPECT_EQ(c.pixel(1, 1), colour::green);
    EXPECT_EQ(c.pixel(2, 0), kGround);
}

TEST(CanvasText, ReprintingLeavesThePixelsOfOnePrint)
{
    Canvas once = blank(200, 30);
    Canvas many = blank(200, 30);
    for (Canvas* c : {&once, &many}) {
        c->setFontColour(colour::blue);
        c->setFontSize(fonts::pt7);
    }
    const QString line = QStringLiteral("Première Période : S=(température-20)/8 ; 3,9 V");
    once.textOut(4, 6, line);
    for (int i = 0; i < 50; ++i)
        many.textOut(4, 6, line);
    EXPECT_EQ(once.image(), many.image());

    // No antialiasing: every pixel is either the text colour or the ground.
    const int inked = countColour(once, colour::blue);
    EXPECT_GT(inked, 100);
    EXPECT_EQ(inked + countColour(once, kGround), 200 * 30);
}

TEST(CanvasText, TransparentBackgroundAndCellTop)
{
    Canvas c(120, 40, colour::red);
    c.setFontColour(colour::blue);
    c.setFontSize(fonts::pt7);
    c.textOut(10, 10, QStringLiteral("Régulateur"));
    int top = 1000, bottom = -1, left = 1000;
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < c.width(); ++x) {
            const QRgb p = c.pixel(x, y);
            ASSERT_TRUE(p == colour::red || p == colour::blue);
            if (p == colour::blue) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
                left = std::min(left, x);
            }
        }
    // The cell's top-left corner is the given point: ink starts just below
    // and right of it (the accent of "é" reaches near the top).
    EXPECT_GE(top, 10);
    EXPECT_LE(top, 12);
    EXPECT_LE(bottom, 10 + 12);
    EXPECT_GE(left, 10);
    EXPECT_LE(left, 12);
}

TEST(CanvasText, SameTextAtAnotherPlaceIsTheSameShape)
{
    Canvas c = blank(200, 60);
    c.setFontColour(colour::black);
    c.setFontSize(fonts::pt8);
    c.textOut(3, 2, QStringLiteral("Commande"));
    c.textOut(103, 32, QStringLiteral("Commande"));
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 100; ++x)
            EXPECT_EQ(c.pixel(x, y), c.pixel(x + 100, y + 30));
}

TEST(CanvasDirty, ReportsWhatChangedOnce)
{
    Canvas c = blank(100, 100);
    EXPECT_TRUE(c.takeDirty().isEmpty());
    c.setPenColour(colour::black);
    c.line(10, 20, 30, 20);
    c.rectangle(50, 50, 60, 70);
    const QRegion d = c.takeDirty();
    EXPECT_TRUE(d.contains(QPoint(10, 20)));
    EXPECT_TRUE(d.contains(QPoint(59, 69)));
    EXPECT_TRUE(c.takeDirty().isEmpty());
}

TEST(CanvasDirty, OnlyPixelsThatTakeANewColourCount)
{
    Canvas c = blank(200, 100);
    c.setPenColour(colour::black);
    c.line(10, 10, 60, 10);
    c.line(150, 90, 190, 90);
    const QRegion first = c.takeDirty();
    // Two places far apart: what lies between them is not to be copied again.
    EXPECT_TRUE(first.contains(QPoint(10, 10)));
    EXPECT_TRUE(first.contains(QPoint(189, 90)));
    EXPECT_FALSE(first.contains(QPoint(100, 50)));

    // The same figures again, and a fill in the colour already there.
    c.line(10, 10, 60, 10);
    c.line(150, 90, 190, 90);
    c.setPenAndBrush(kGround);
    c.rectangle(20, 30, 80, 60);
    EXPECT_TRUE(c.takeDirty().isEmpty());
}

// Drawing writes into the canvas's own picture, never into a copy taken of it.
TEST(CanvasDirty, ACopyOfThePictureKeepsItsPixels)
{
    Canvas c = blank();
    const QImage before = c.image();
    c.setPenColour(colour::black);
    c.line(0, 5, 40, 5);
    c.setFontColour(colour::blue);
    c.textOut(2, 20, QStringLiteral("Ep"));
    EXPECT_EQ(before.pixel(3, 5), kGround);
    EXPECT_EQ(c.pixel(3, 5), colour::black);
    EXPECT_EQ(countColour(Canvas(before), kGround), 64 * 48);
}

// A text printed again over itself is skipped, but only while nothing has
// changed under it: erased, crossed or recoloured, it is printed in full.
TEST(CanvasText, ReprintRestoresWhatWasDrawnOverIt)
{
    const QString text = QStringLiteral("Consigne numérique E");
    Canvas reference = blank(200, 40);
    reference.setFontColour(colour::blue);
    reference.setFontSize(fonts::pt8);
    reference.textOut(5, 10, text);

    Canvas c = blank(200, 40);
    c.setFontColour(colour::blue);
    c.setFontSize(fonts::pt8);
    c.textOut(5, 10, text);
    c.takeDirty();
    c.textOut(5, 10, text);
    EXPECT_TRUE(c.takeDirty().isEmpty());

    c.setPenAndBrush(kGround);
    c.rectangle(40, 0, 70, 40);  // erases the middle of the text
    c.setPenColour(colour::red);
    c.line(0, 16, 200, 16);  // crosses all of it
    c.textOut(5, 10, text);
    c.setPenAndBrush(kGround);
    c.setPenColour(kGround);
    c.line(0, 16, 200, 16);
    c.textOut(5, 10, text);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 200; ++x)
            ASSERT_EQ(c.pixel(x, y), reference.pixel(x, y)) << x << "," << y;

    c.setFontColour(colour::red);
    c.textOut(5, 10, text);
    EXPECT_EQ(countColour(c, colour::blue), 0);
    EXPECT_EQ(countColour(c, colour::red), countColour(reference, colour::blue));

    // Another text in the same cell, then the first one again.
    c.textOut(5, 10, QStringLiteral("X"));
    c.setPenAndBrush(kGround);
    c.rectangle(0, 0, 200, 40);
    c.textOut(5, 10, text);
    EXPECT_EQ(countColour(c, colour::red), countColour(reference, colour::blue));
}

TEST(CanvasText, ANewPictureForgetsWhatWasPrinted)
{
    Canvas c = blank(200, 40);
    c.setFontColour(colour::blue);
    c.textOut(5, 10, QStringLiteral("Température"));
    const int printed = countColour(c, colour::blue);
    c.setImage(blank(200, 40).image());
    c.textOut(5, 10, QStringLiteral("Température"));
    EXPECT_EQ(countColour(c, colour::blue), printed);
    EXPECT_GT(printed, 0);
}

}  // namespace t1::testing
