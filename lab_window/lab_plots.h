#pragma once

#include "lab_window/plot_scale.h"

#include <QRect>
#include <QRgb>
#include <QString>

#include <span>
#include <vector>

namespace t1 {

class Canvas;

namespace model {
class Experiment;
class Simulation;
}  // namespace model

// The laboratory's two plots, in the lessons' picture language: blue frames
// with arrowheads, period marks, 7 pt blue texts; U as a held staircase, S
// continuous between the acquisitions, each acquisition marked, and X (and
// E dotted) as volts on the S plot, X/25,5 being the S the converter read.
// Earlier runs are drawn faded on the same time axis. The curves grow one
// piece per tick and are never redrawn, but when the whole band is drawn
// anew.

// The plots' colours, chosen to stay apart for every eye, a red-green
// deficiency included, from each other, from the axes' blue and the
// background.
namespace plot_colour {
inline constexpr QRgb run = qRgb(178, 12, 22);   // U and S of the current run
inline constexpr QRgb x = qRgb(47, 116, 88);     // X/25,5 and the acquisitions' marks
inline constexpr QRgb e = qRgb(95, 64, 103);     // E/25,5, dotted
inline constexpr QRgb change = qRgb(2, 1, 68);   // a parameter change's line and label
inline constexpr QRgb door = qRgb(253, 251, 233);  // the band behind the curves while the door is open
}  // namespace plot_colour

// The traces' faded colours, one per earlier run kept.
QRgb traceColour(int index);
std::span<const QRgb> traceColours();
// The heat level of the oven picture for S: 0 V cold, 10 V fully red.
int heatLevel(double s);

// The periods of the current run during which the door is open, [from, to):
// as they were for those simulated, as the parameters say for the others.
struct DoorSpan {
    int from = 0;
    int to = 0;
    bool operator==(const DoorSpan&) const = default;
};

// What the plots' backdrop is drawn from: when it changes (a change of T,
// of the door, of the shown periods or of the unit), the plots are drawn
// anew.
struct PlotView {
    PlotScale scale;
    std::vector<DoorSpan> door;
    bool operator==(const PlotView&) const = default;
};
PlotView plotView(const model::Experiment& experiment, TimeUnit unit);

// A text of the plots, its cell on the scene.
struct PlotLabel {
    QRect rect;
    QString text;
    QRgb colour;
    int mark = -1;  // the index of the change it names; -1 for the others
};

// Every text of the plots: titles, key, graduations, time marks, the door's
// and those of the changes recorded so far (the last may wait for its
// acquisition). Each is placed where it overlaps no other one, a change's
// beside the top of its line or lower down.
std::vector<PlotLabel> plotLabels(const PlotView& view, const model::Simulation& run);

// Clears the band and draws the door's bands, both frames, the volt and time
// graduations, the titles and the key of the S plot.
void drawPlotBackdrop(Canvas& window, const PlotView& view, const model::Simulation& run);

// An earlier run, faded: its U and S up to `ticks`, in time on the current
// axis; what reaches past the axis is not drawn.
void drawTrace(Canvas& window, const PlotScale& scale, const model::Simulation& run, int ticks, QRgb colour);

// What acquisition k adds: the steps of U and X, and the line of a parameter
// change made there, with its label.
void drawAcquisition(Canvas& window, const PlotView& view, const model::Simulation& run, int k);
// The mark of acquisition k on S, drawn over the curves.
void drawSampleMark(Canvas& window, const PlotScale& scale, const model::Simulation& run, int k);
// Tick n's piece of every curve, from n/40 to (n+1)/40 periods.
void drawPiece(Canvas& window, const PlotScale& scale, const model::Simulation& run, int tick);

// The current run from its start, as its ticks drew it.
void drawRunSoFar(Canvas& window, const PlotView& view, const model::Simulation& run, int ticks, int lastTick);

}  // namespace t1
