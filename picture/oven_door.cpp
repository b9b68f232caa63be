#include "picture/oven_door.h"

#include "picture/canvas.h"
#include "picture/colours.h"
#include "picture/figures.h"

#include <QPoint>

#include <array>

namespace t1 {

namespace {

constexpr Segment kOpenDoor{500, 119, 550, 140};
constexpr int kDoorWidth = 2;
// Closed on its first corner.
constexpr std::array kOpening{QPoint(502, 118), QPoint(552, 118), QPoint(552, 140), QPoint(502, 118)};

// A stroke at phase p runs from trunc(p/2 + from) to trunc(p/2 + to) on row y.
struct LeakStroke {
    int from;
    int to;
    int y;
};
using LeakStrokes = std::array<LeakStroke, 3>;
constexpr LeakStrokes kFirstLeak{LeakStroke{500, 510, 125}, LeakStroke{505, 515, 130}, LeakStroke{500, 510, 135}};
constexpr LeakStrokes kSecondLeak{LeakStroke{485, 490, 125}, LeakStroke{490, 495, 130}, LeakStroke{485, 490, 135}};
constexpr double kDriftPerPhase = 0.5;

// Under the oven, down to the foot of the open door.
constexpr Box kUnderOven{500, 121, 600, 142};
constexpr int kWipeWidth = 2;

void drawStroke(Canvas& w, const LeakStroke& s, int phase, QRgb c)
{
    const double at = phase * kDriftPerPhase;
    w.setPenColour(c);
    w.line(static_cast<int>(at + s.from), s.y, static_cast<int>(at + s.to), s.y);
}

}  // namespace

void drawOpenDoor(Canvas& w)
{
    w.setPenColour(colour::green);
    w.setPenWidth(kDoorWidth);
    w.line(kOpenDoor.x1, kOpenDoor.y1, kOpenDoor.x2, kOpenDoor.y2);

    w.setPenWidth(1);
    w.setPenAndBrush(colour::red);
    w.polygon(kOpening);
}

void moveLeakStrokes(Canvas& w, LeakGroup group, int phase)
{
    w.setPenWidth(1);
    for (const LeakStroke& s : group == LeakGroup::First ? kFirstLeak : kSecondLeak) {
        drawStroke(w, s, phase - 1, colour::btnFace);
        drawStroke(w, s, phase, colour::violet);
    }
}

void wipeUnderOven(Canvas& w)
{
    w.setPenWidth(kWipeWidth);
    w.setPenAndBrush(colour::btnFace);
    drawBox(w, kUnderOven);
}

}  // namespace t1
