#pragma once

#include "model/identification.h"
#include "model/simulation.h"

#include <QImage>
#include <QWidget>

#include <optional>

class QLabel;
class QPainter;

namespace t1 {

// The plots of an exercise's run, drawn as the Laboratoire draws its own
// (lab_plots.h), with the time in seconds: from a run alone, so that no
// parameter of the oven is shown, only what the run measured. The mouse on
// them reads t and S on the exact curve, as the Laboratoire's crosshair
// does. Over them, the reading aids of an identification: the levels of the
// step, the tangent at an instant, and the student's model once revealed.
class ExercisePlot : public QWidget {
    Q_OBJECT
public:
    explicit ExercisePlot(QWidget* parent = nullptr);

    // The run up to acquisition `until` (all of it when none), on an axis
    // of `periods` periods.
    void setRun(const model::Simulation& run, int periods, std::optional<int> until = std::nullopt);
    void clearRun();
    bool hasRun() const { return m_run.has_value(); }
    const std::optional<model::Simulation>& run() const { return m_run; }

    // The levels at 28, 40 and 63 % between the two the student marked.
    void setLevels(std::optional<std::pair<double, double>> levels);
    // The tangent to S at an instant, in seconds from the start.
    void setTangent(std::optional<double> seconds);
    void setModel(std::optional<model::FirstOrderModel> m);

    // The crosshair's reading at a point of the widget: t, then S; empty
    // off the S plot.
    QString readingAt(QPoint p) const;
    QString reading() const;
    // The plots as drawn, overlays included.
    QImage picture() const;
    // The point of the widget at t periods and S volts on the S plot.
    QPoint pointOf(double periods, double volts) const;

    QSize sizeHint() const override;

signals:
    // A click on either plot within the run: the instant in periods and in
    // seconds, and S there.
    void picked(double periods, double seconds, double s);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void redraw();
    void paintOverlays(QPainter& painter) const;
    struct Point {
        bool onS = false;
        double seconds = 0;
        double periods = 0;
    };
    // Where the crosshair is at a point of the widget; none off the plots
    // or beyond what the run has drawn.
    std::optional<Point> pointAt(QPoint p) const;

    std::optional<model::Simulation> m_run;
    int m_periods = 0;
    std::optional<int> m_until;
    std::optional<std::pair<double, double>> m_levels;
    std::optional<double> m_tangent;
    std::optional<model::FirstOrderModel> m_model;
    QImage m_image;
    QLabel* m_reading;
};

}  // namespace t1
