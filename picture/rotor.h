#pragma once

#include <QPoint>

#include <array>

namespace t1 {

// The fan's three-bladed rotor, seen at an angle: its tips lie on an
// ellipse. Six vertices, hub and tip alternating, in polygon order.
inline constexpr int kRotorVertices = 6;
using RotorAngles = std::array<double, kRotorVertices>;
using RotorPolygon = std::array<QPoint, kRotorVertices>;

// The frame the fan sprites are built with; the same as rotorAngles(4).
inline constexpr RotorAngles kStartupRotorAngles{-0.12, 0.92, 1.97, 3.018, 4.06, -1.17};

// The rotor turns by 0.1 rad per heat level.
RotorAngles rotorAngles(int heatLevel);

// Vertex i at angle a: (trunc(15 + rx cos a), trunc(30 + ry sin a)), with the
// hub's radii on even i and the tip's on odd i.
RotorPolygon rotorPolygon(const RotorAngles& angles);

}  // namespace t1
