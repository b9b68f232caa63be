#include "picture/rotor.h"

#include <cmath>

namespace t1 {

namespace {

constexpr double kTurnPerLevel = 0.1;
constexpr RotorAngles kAngleOffsets{-0.52, 0.52, 1.57, 2.618, 3.66, -1.57};

// Centre of the rotor in the fan sprite, and the radii of hub and tips.
constexpr double kCentreX = 15;
constexpr double kCentreY = 30;
constexpr double kHubRadius = 6;
constexpr double kTipRadiusX = 15;
constexpr double kTipRadiusY = 30;

}  // namespace

RotorAngles rotorAngles(int heatLevel)
{
    RotorAngles a{};
    for (int i = 0; i < kRotorVertices; ++i)
        a[i] = heatLevel * kTurnPerLevel + kAngleOffsets[i];
    return a;
}

RotorPolygon rotorPolygon(const RotorAngles& angles)
{
    RotorPolygon p{};
    for (int i = 0; i < kRotorVertices; ++i) {
        const bool tip = i % 2 == 1;
        const double rx = tip ? kTipRadiusX : kHubRadius;
        const double ry = tip ? kTipRadiusY : kHubRadius;
        // Truncation toward zero, as the conversion to int does.
        p[i] = QPoint(static_cast<int>(kCentreX + rx * std::cos(angles[i])),
                      static_cast<int>(kCentreY + ry * std::sin(angles[i])));
    }
    return p;
}

}  // namespace t1
