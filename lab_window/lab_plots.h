#pragma once

#include "lab_window/plot_scale.h"

#include <QRgb>

namespace t1 {

class Canvas;

namespace model {
class Simulation;
}

// The laboratory's two plots, in the lessons' picture language: blue frames
// with arrowheads, period marks, 7 pt blue texts; U as a held staircase, S
// continuous between the acquisitions, each acquisition marked, and X (and
// E dotted) as volts on the S plot, X/25,5 being the S the converter read.
// The curves grow one piece per tick and are never redrawn, but when the
// whole band is drawn anew.

// The traces' faded colours, one per earlier run kept.
QRgb traceColour(int index);
// The heat level of the oven picture for S: 0 V cold, 10 V fully red.
int heatLevel(double s);

// Clears the band and draws both frames, the volt and period graduations,
// the titles and the key of the S plot.
void drawPlotBackdrop(Canvas& window, const PlotScale& scale);

// An earlier run, faded: its U and S up to `ticks`.
void drawTrace(Canvas& window, const PlotScale& scale, const model::Simulation& run, int ticks, QRgb colour);

// What acquisition k adds: the steps of U and X, and the line of a parameter
// change made there, with its label.
void drawAcquisition(Canvas& window, const PlotScale& scale, const model::Simulation& run, int k);
// The mark of acquisition k on S, drawn over the curves.
void drawSampleMark(Canvas& window, const PlotScale& scale, const model::Simulation& run, int k);
// Tick n's piece of every curve, from n/40 to (n+1)/40 periods.
void drawPiece(Canvas& window, const PlotScale& scale, const model::Simulation& run, int tick);

// The current run from its start, as its ticks drew it.
void drawRunSoFar(Canvas& window, const PlotScale& scale, const model::Simulation& run, int ticks, int lastTick);

}  // namespace t1
