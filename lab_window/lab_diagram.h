#pragma once

#include "model/parameters.h"
#include "model/sample.h"
#include "picture/readouts.h"

#include <QString>

namespace t1 {

struct Surfaces;
class Canvas;

// What the block diagram and the oven show: an acquisition's values, S at
// the instant shown (the live one, or the acquisition's under the cursor),
// and the parameters in force at that acquisition.
struct DiagramValues {
    model::Sample sample;
    double s = 0;
    bool doorOpen = false;
    bool heating = false;  // the resistor fed: not before the first acquisition
    model::Parameters parameters;
};

// The readouts' boxes, wide enough for the laboratory's values: three
// digits, a sign and two decimals.
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
// "G = 2" under it, "PI", or "manuel" and "U = 4 V".
void drawLabRegulator(Canvas& window, const model::Parameters& p);

// The return branch as the row has it: whole into the comparator, or open
// (the manual command) as in the open-loop lesson, the comparator's minus
// input earthed.
void drawLabFeedback(Canvas& window, const model::Parameters& p);

// E, Ep, Epu, U, S and X above their names as the model used them, to two
// decimals at most (whole digits when the converters quantise), with the
// user's decimal separator; under the regulator the parts of the law its row
// shows. Open loop, Ep is E, the comparator's minus input being earthed.
void drawLabReadouts(Canvas& window, const DiagramValues& v);

// The texts the readouts print, the law's parts empty where the row in
// force at the acquisition does not show them (all under P).
struct ReadoutTexts : ReadoutStrings {
    QString temperature;
    QString proportional, integral, derivative;
};
ReadoutTexts readoutTexts(const DiagramValues& v);

}  // namespace t1
