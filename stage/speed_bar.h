#pragma once

class QScrollBar;

// "Réglage vitesse animation": the bar's position is the timer's interval
// in milliseconds, from the fastest tick to the slowest.
inline constexpr int kSpeedMin = 10;
inline constexpr int kSpeedMax = 200;
inline constexpr int kSpeedDefault = 100;

// Its range, steps, default position, keyboard focus and accessible name.
void setUpSpeedBar(QScrollBar* bar);
