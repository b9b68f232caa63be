#include "picture/sprites.h"

#include "picture/colours.h"
#include "picture/rotor.h"
#include "picture/surfaces.h"

namespace t1 {

namespace {

// The background picture is one colour, RGB(128, 255, 255).
constexpr QRgb kBackgroundColour = fromBgr(0xFFFF80);

// New bitmaps are white.
Canvas newBitmap(int width, int height)
{
    return Canvas(width, height, colour::white);
}

void drawResistor(Canvas& c)
{
    c.setPenWidth(1);
    c.setPenAndBrush(colour::black);
    c.setBrushStyle(BrushStyle::DiagCross);
    c.rectangle(0, 0, kResistorWidth, kResistorHeight);
}

// Blue ground, yellow rotor outlined in blue.
void drawFirstFanFrame(Canvas& c)
{
    c.setPenAndBrush(colour::blue);
    c.rectangle(0, 0, kFanWidth, kFanHeight);
    c.setPenWidth(1);
    c.setPenColour(colour::blue);
    c.setBrushColour(colour::yellow);
    const RotorPolygon rotor = rotorPolygon(kStartupRotorAngles);
    c.polygon(rotor);
}

}  // namespace

void buildSprites(Surfaces& s)
{
    s.gResistorBmp = newBitmap(kResistorWidth, kResistorHeight);
    drawResistor(*s.gResistorBmp);

    s.gFanBmpA = newBitmap(kFanWidth, kFanHeight);
    drawFirstFanFrame(*s.gFanBmpA);

    s.gFanBmpB = newBitmap(kFanWidth, kFanHeight);
    drawFirstFanFrame(*s.gFanBmpB);

    s.gBackgroundBmp = Canvas(kBackgroundWidth, kBackgroundHeight, kBackgroundColour);
}

void freeSprites(Surfaces& s)
{
    for (std::optional<Canvas>* sprite : {&s.gResistorBmp, &s.gBackgroundBmp, &s.gFanBmpA, &s.gFanBmpB})
        if (sprite->has_value())
            sprite->reset();
}

}  // namespace t1
