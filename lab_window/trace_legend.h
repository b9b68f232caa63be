#pragma once

#include <QFont>
#include <QRgb>
#include <QSize>
#include <QString>

#include <deque>
#include <vector>

namespace t1 {

namespace model {
struct Trace;
}

// One earlier run in the legend: its colour on the plots and its text.
struct LegendEntry {
    QRgb colour;
    QString text;
};
std::vector<LegendEntry> legendEntries(const std::deque<model::Trace>& traces);

// The legend of the earlier runs as rich text that fits a label of this
// size and font, every run named: each entry wrapped while they all fit, in
// a smaller font if need be, else each on one line, shortened with "…";
// the whole texts go in the tooltip.
struct Legend {
    QString html;
    QString tooltip;  // empty when nothing is shortened
};
Legend fittedLegend(const std::vector<LegendEntry>& entries, const QFont& font, QSize box);

}  // namespace t1
