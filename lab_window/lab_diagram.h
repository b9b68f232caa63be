#pragma once

#include "model/parameters.h"
#include "model/sample.h"

#include <QString>

namespace t1 {

struct Surfaces;
class Canvas;

// What the block diagram and the oven show: an acquisition's values, and S
// at the instant shown (the live one, or the acquisition's under the cursor).
struct DiagramValues {
    model::Sample sample;
    double s = 0;
    bool doorOpen = false;
    bool heating = false;  // the resistor fed: not before the first acquisition
};

// The readouts' boxes, wide enough for the laboratory's values: three
// digits and a sign, U and S with two decimals.
struct ReadoutBoxes;
extern const ReadoutBoxes kLabReadout;

// The oven's door as drawn under the picture while open: how long it has
// been open, to move the leaking heat on.
struct DoorView {
    bool open = false;
    int openTicks = 0;
};

// The oven for tick n: heat colour from S, the fan turning, heat lines while
// the resistor is fed, the door shut on the picture or open under it. With
// `moving` false the same instant is drawn again (the cursor moved).
void drawLabOven(Surfaces& s, int tick, const DiagramValues& v, DoorView& door, bool moving);

// The regulator's label in its red box, from its row: "proportionnel" and
// "G = 2" under it, or "PI".
void drawLabRegulator(Canvas& window, const model::Parameters& p);

// E, Ep, Epu, U, S and X above their names, U and S to two decimals; the
// parts of the law its row shows (PI: proportional and integral) under the
// regulator.
void drawLabReadouts(Canvas& window, const DiagramValues& v, const model::Parameters& p);

// The texts the readouts print, the law's parts empty where its row does
// not show them (all under P).
struct ReadoutTexts {
    QString e, ep, epu, u, s, x, temperature;
    QString proportional, integral, derivative;
};
ReadoutTexts readoutTexts(const DiagramValues& v, const model::Parameters& p);

// Rounded to two decimals, as the readouts print it; never -0.
double hundredths(double volts);

}  // namespace t1
