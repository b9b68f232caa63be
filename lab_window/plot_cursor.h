#pragma once

#include "lab_window/plot_scale.h"

#include <QRect>
#include <QString>
#include <QWidget>

#include <optional>

namespace t1 {

namespace model {
class Experiment;
}

// What the cursor reads at an instant of the current run: the time on the
// axis, U held on the staircase, S on the exact curve, and the acquisition
// at that instant or before it, whose values the diagram shows.
struct CursorReading {
    double periods = 0;
    int sample = 0;
    double time = 0;  // on the axis, in its unit
    double u = 0;
    double s = 0;
    QString timeText;  // "t = 3,45 T (k = 3)", "t = 69 s (k = 3)"
    QString uText;     // "U = 7,84 V"
    QString sText;
};
// None before the first acquisition.
std::optional<CursorReading> cursorReading(const model::Experiment& experiment, const PlotScale& scale,
                                           double periods);

// Lies over the two plots: a crosshair reads any instant drawn, U on the
// left, S on the right, with dashed guides to the axes and the values at
// their ends. The mouse over the plots moves it; Left and Right go from one
// acquisition to the next, Shift with them by a tenth of a period; Home
// goes to the start; leaving the plots, End or Escape give the live values
// back. It is drawn here, over the retained picture, so that moving it
// leaves the picture as it was.
class PlotCursor : public QWidget {
    Q_OBJECT
public:
    PlotCursor(QWidget* scene, const model::Experiment& experiment);

    // A new axis, or the run moved on or restarted: the cursor stays on
    // what is drawn.
    void setScale(const PlotScale& scale);

    // The instant read, in periods of the current run; none: the live values.
    std::optional<double> instant() const { return m_instant; }
    void setInstant(std::optional<double> periods);
    // The acquisition under the cursor, or the last one before it.
    std::optional<int> sample() const;
    void setSample(std::optional<int> k);

signals:
    // The acquisition read changed.
    void sampleChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // One plot's crosshair, in the scene's coordinates.
    struct Cross {
        QPoint point;
        QRect valueText;  // at the value axis, beside the horizontal guide
        QRect timeText;   // under the time axis, beside the vertical guide
    };
    Cross cross(const PlotArea& area, double value, const CursorReading& r) const;
    QRegion region() const;
    // How far the current run is drawn, in its periods; none before its first acquisition.
    std::optional<double> reach() const;
    std::optional<double> held(std::optional<double> periods) const;
    std::optional<double> keyTarget(int key, bool fine) const;

    const model::Experiment& m_experiment;
    PlotScale m_scale;
    std::optional<double> m_instant;
};

}  // namespace t1
