#pragma once

#include "lab_window/plot_scale.h"
#include "model/analysis.h"
#include "model/simulation.h"

#include <QPoint>
#include <QString>

#include <array>

namespace t1 {

class Canvas;

// The measures beside the plots: measured on the run, from the last
// parameter change that acted on, and what the linear model predicts beside
// them, "—" where there is none. A line under the title says whether the
// run has settled, has not settled yet, or oscillates. Only a settled run
// has final values; one that oscillates has its amplitude and period
// instead of the overshoot and settling time. The overshoot is measured on
// a set-point step only, and predicted for a step from a cold oven only.
// Durations are in periods or in seconds.
struct MeasureRow {
    QString name, measured, predicted;
    bool operator==(const MeasureRow&) const = default;
};
inline constexpr int kMeasureRows = 5;
struct MeasureTable {
    QString title;
    QString state;
    std::array<MeasureRow, kMeasureRows> rows;
    bool operator==(const MeasureTable&) const = default;
};

MeasureTable measureTable(const model::Simulation& run, const model::Theory& theory,
                          TimeUnit unit = TimeUnit::Periods);
// One line a row, for a screen reader and the tests.
QString plainText(const MeasureTable& table);
QString measuresText(const model::Simulation& run, const model::Theory& theory, TimeUnit unit = TimeUnit::Periods);

// The table on the scene from its top-left corner. Only the cells that
// differ from `shown` are wiped and printed again; `shown` becomes `table`.
void drawMeasureTable(Canvas& window, QPoint at, const MeasureTable& table, MeasureTable& shown);

// The closed loop's poles in z, whether one is cancelled by the regulator's
// zero, and whether the loop is stable.
QString polesText(const model::Poles& poles);

// The poles on one line, for a screen reader and the tests: "z = 0,45".
QString polesLine(const model::Poles& poles);

}  // namespace t1
