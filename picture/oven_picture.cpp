#include "picture/oven_picture.h"

#include "picture/figures.h"
#include "picture/fonts.h"
#include "picture/number_text.h"
#include "picture/rotor.h"
#include "picture/sprites.h"

#include <array>
#include <limits>

namespace t1 {

namespace {

// The inside reaches one row below what the picture shows.
constexpr Box kInterior{0, 0, 200, 90};

// The resistor's supply leads meet the thick lines of the block diagram,
// the sensor's lead the line to the converter A/N.
constexpr std::array kLeads{
    Box{38, 70, 40, 80},    // lower resistor lead
    Box{38, 0, 40, 10},     // upper resistor lead
    Box{188, 39, 200, 41},  // sensor lead
};
constexpr Box kSensor{168, 30, 188, 50};

constexpr QPoint kFanAt{0, 10};
constexpr QPoint kResistorAt{31, 10};

constexpr Segment kDoorLine{60, 79, 110, 79};
constexpr int kDoorWidth = 2;

// Heat lines: groups of three strokes drifting right by half a pixel per
// level, each group shown while low < n < high. A new group enters just
// right of the resistor every 40 levels; the first two vanish at the sensor.
struct HeatGroup {
    int offset;
    int low;
    int high;
};
constexpr int kAlways = std::numeric_limits<int>::max();
constexpr int kNever = std::numeric_limits<int>::min();
constexpr std::array kHeatGroups{
    HeatGroup{-70, 240, kAlways}, HeatGroup{-50, 200, kAlways}, HeatGroup{-30, 160, kAlways},
    HeatGroup{-10, 120, kAlways}, HeatGroup{10, 80, kAlways},   HeatGroup{30, 40, kAlways},
    HeatGroup{50, kNever, kAlways}, HeatGroup{70, kNever, 215}, HeatGroup{90, kNever, 195},
};
// Upper, middle and lower stroke: row and ends relative to the group's place.
struct HeatStroke {
    int y;
    int from;
    int to;
};
constexpr std::array kHeatStrokes{HeatStroke{20, 0, 10}, HeatStroke{40, -5, 5}, HeatStroke{60, 0, 10}};
constexpr double kDriftPerLevel = 0.5;

constexpr QPoint kCaptionNumberAt{168, 66};
constexpr QPoint kCaptionUnitAt{188, 66};
constexpr QStringView kCaptionUnit = u"°C";

bool spritesBuilt(const Surfaces& s)
{
    return s.gResistorBmp && s.gFanBmpA && s.gFanBmpB && s.gBackgroundBmp;
}

// A plain copy of the background. Once the picture has the background's
// size, the pixels are copied into it and no new image is made.
void copyBackground(Surfaces& s)
{
    const QImage& background = s.gBackgroundBmp->image();
    if (s.fond.image().size() == background.size())
        s.fond.draw(0, 0, background);
    else
        s.fond.setImage(background.copy());
}

void fillInterior(Canvas& fond, QRgb c)
{
    fond.setPenWidth(1);
    fond.setPenAndBrush(c);
    drawBox(fond, kInterior);
}

void drawLeads(Canvas& fond)
{
    fond.setPenAndBrush(colour::black);
    for (const Box& lead : kLeads)
        drawBox(fond, lead);
}

void drawSensor(Canvas& fond)
{
    fond.setPenAndBrush(colour::green);
    drawBox(fond, kSensor);
}

void drawHeatLines(Canvas& fond, int n)
{
    fond.setPenWidth(1);
    fond.setPenColour(colour::yellow);
    for (const HeatGroup& g : kHeatGroups) {
        if (!(g.low < n && n < g.high))
            continue;
        const double at = n * kDriftPerLevel + g.offset;
        for (const HeatStroke& s : kHeatStrokes)
            fond.line(static_cast<int>(at + s.from), s.y, static_cast<int>(at + s.to), s.y);
    }
}

void drawRotor(Canvas& fan, QRgb ground, int n)
{
    fan.setPenColour(ground);
    fan.setBrushColour(colour::yellow);
    const RotorPolygon rotor = rotorPolygon(rotorAngles(n));
    fan.polygon(rotor);
}

}  // namespace

void drawClosedDoor(Canvas& fond)
{
    fond.setPenColour(colour::green);
    fond.setPenWidth(kDoorWidth);
    fond.line(kDoorLine.x1, kDoorLine.y1, kDoorLine.x2, kDoorLine.y2);
}

void drawIdleOven(Surfaces& s)
{
    if (!spritesBuilt(s))
        return;
    Canvas& fond = s.fond;
    copyBackground(s);
    fillInterior(fond, colour::blue);
    drawLeads(fond);
    fond.draw(kFanAt.x(), kFanAt.y(), s.gFanBmpA->image());
    fond.draw(kResistorAt.x(), kResistorAt.y(), s.gResistorBmp->image());
    drawSensor(fond);
}

void drawOven(Surfaces& s, const OvenLook& look, const OvenHooks& hooks)
{
    if (!spritesBuilt(s))
        return;
    Canvas& fond = s.fond;
    Canvas& fan = *s.gFanBmpB;
    Canvas& resistor = *s.gResistorBmp;
    const int n = look.heatLevel;

    copyBackground(s);
    fillInterior(fond, look.interior);
    if (hooks.afterFill)
        hooks.afterFill(s, n);
    drawLeads(fond);
    drawSensor(fond);
    if (hooks.afterSensor)
        hooks.afterSensor(s, n);
    if (look.heatLines)
        drawHeatLines(fond, n);

    fan.setPenAndBrush(look.fanGround);
    fan.rectangle(0, 0, kFanWidth, kFanHeight);

    // Frame and hatch turn red; the gaps between the hatch lines stay white.
    resistor.setPenAndBrush(colour::red);
    resistor.setBrushStyle(BrushStyle::DiagCross);
    resistor.rectangle(0, 0, kResistorWidth, kResistorHeight);
    fond.draw(kResistorAt.x(), kResistorAt.y(), resistor.image());

    drawRotor(fan, look.fanGround, n);
    fond.draw(kFanAt.x(), kFanAt.y(), fan.image());
    if (hooks.afterLast)
        hooks.afterLast(s, n);
}

void drawTemperatureCaption(Canvas& fond, double temperature)
{
    fond.setPenWidth(1);
    fond.setPenColour(colour::black);
    // The picture's own default font, black.
    fond.setFontColour(colour::black);
    fond.setFontSize(fonts::pt8);
    fond.setFontBold(false);
    fond.textOut(kCaptionNumberAt.x(), kCaptionNumberAt.y(), ceilingText(temperature));
    fond.textOut(kCaptionUnitAt.x(), kCaptionUnitAt.y(), borrowed(kCaptionUnit));
}

}  // namespace t1
