#include "exercises/exercise_plot.h"

#include "exercises/exercise_texts.h"
#include "lab_window/lab_plots.h"
#include "lab_window/plot_scale.h"
#include "model/experiment.h"
#include "model/sample.h"
#include "model/sheet.h"
#include "picture/canvas.h"
#include "picture/colours.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>

#include <cmath>

namespace t1 {

namespace {

// The band of the Laboratoire's scene the plots take, their time texts included.
constexpr QRect kBand{0, kPlotsTop, kPlotsRight, kPlotsBottom - kPlotsTop};
constexpr TimeUnit kUnit = TimeUnit::Seconds;
constexpr int kReadingHeight = 22;
constexpr QRgb kAidColour = qRgb(0, 92, 170);
constexpr QRgb kModelColour = qRgb(230, 120, 0);
// How far the tangent is drawn on either side of its point, in periods.
constexpr double kTangentBefore = 2;
constexpr double kTangentAfter = 8;
constexpr int kTimeDecimals = 1;
constexpr int kVoltDecimals = 2;
constexpr int kLevelTextGap = 3;

std::vector<DoorSpan> doorSpans(const model::Simulation& run, int periods)
{
    std::vector<DoorSpan> spans;
    const auto& samples = run.samples();
    for (int k = 0; k < periods && k < int(samples.size()); ++k) {
        if (!samples[std::size_t(k)].doorOpen)
            continue;
        if (!spans.empty() && spans.back().to == k)
            spans.back().to = k + 1;
        else
            spans.push_back({k, k + 1});
    }
    return spans;
}

QRect sPlotRect()
{
    return QRect(QPoint(kSPlot.left, PlotScale::y(kHighestVolts)), QPoint(kSPlot.right, kPlotBaseline));
}

}  // namespace

ExercisePlot::ExercisePlot(QWidget* parent) : QWidget(parent), m_reading(new QLabel(this))
{
    setMouseTracking(true);
    setFixedSize(kBand.width(), kBand.height() + kReadingHeight);
    m_reading->setGeometry(kSPlot.left, kBand.height(), kBand.width() - kSPlot.left, kReadingHeight);
    m_reading->setAccessibleName(QStringLiteral("Lecture du réticule"));
    setAccessibleName(QStringLiteral("Courbes de l'essai"));
    redraw();
}

QSize ExercisePlot::sizeHint() const
{
    return size();
}

void ExercisePlot::setRun(const model::Simulation& run, int periods, std::optional<int> until)
{
    m_run = run;
    m_periods = periods;
    m_until = until;
    redraw();
}

void ExercisePlot::clearRun()
{
    m_run.reset();
    redraw();
}

void ExercisePlot::setLevels(std::optional<std::pair<double, double>> levels)
{
    m_levels = levels;
    update();
}

void ExercisePlot::setTangent(std::optional<double> seconds)
{
    m_tangent = seconds;
    update();
}

void ExercisePlot::setModel(std::optional<model::FirstOrderModel> m)
{
    m_model = m;
    update();
}

void ExercisePlot::redraw()
{
    Canvas canvas(kPlotsRight, kPlotsBottom, colour::btnFace);
    canvas.touchAll();  // shown whole
    const model::Simulation empty;
    const model::Simulation& run = m_run ? *m_run : empty;
    const int periods = m_run ? m_periods : int(model::kExercisePeriods.fallback);
    const PlotView view{PlotScale(run, periods, kUnit), doorSpans(run, periods)};
    drawPlotBackdrop(canvas, view, run);
    if (m_run) {
        const int lastTick = model::kTicksPerPeriod * periods;
        const int ticks = m_until ? (*m_until > 0 ? (*m_until - 1) * model::kTicksPerPeriod + 1 : 0) : lastTick + 1;
        drawRunSoFar(canvas, view, run, ticks, lastTick);
    }
    m_image = canvas.image();
    update();
}

QImage ExercisePlot::picture() const
{
    QImage image = m_image.copy(kBand);
    QPainter p(&image);
    paintOverlays(p);
    return image;
}

// Over the retained plots, in the widget's coordinates (the band's).
void ExercisePlot::paintOverlays(QPainter& p) const
{
    if (!m_run)
        return;
    p.save();
    p.translate(-kBand.topLeft());
    p.setRenderHint(QPainter::Antialiasing);
    p.setClipRect(sPlotRect());
    const PlotScale scale(*m_run, m_periods, kUnit);
    if (m_levels) {
        p.setPen(QPen(QColor(kAidColour), 1, Qt::DashLine));
        for (const model::StepLevel& l : model::stepLevels(m_levels->first, m_levels->second)) {
            const int y = PlotScale::y(l.s);
            p.drawLine(kSPlot.left, y, kSPlot.right, y);
            p.drawText(kSPlot.left + kLevelTextGap, y - kLevelTextGap,
                       frenchNumber(l.fraction * 100, 0) + QStringLiteral(" %"));
        }
    }
    if (m_tangent) {
        const model::Tangent t = model::tangentAt(*m_run, runPeriods(*m_run, *m_tangent, kUnit));
        const double from = t.t - kTangentBefore;
        const double to = t.t + kTangentAfter;
        p.setPen(QPen(QColor(kAidColour), 1));
        p.drawLine(QPointF(scale.x(kSPlot, *m_run, from), PlotScale::y(t.at(from))),
                   QPointF(scale.x(kSPlot, *m_run, to), PlotScale::y(t.at(to))));
    }
    if (m_model) {
        const model::CommandHistory commands = model::commandHistory(*m_run);
        QPolygonF curve;
        for (int x = kSPlot.left; x <= kSPlot.right; ++x)
            curve << QPointF(x, PlotScale::y(model::modelResponse(*m_model, commands, scale.timeAt(kSPlot, x))));
        p.setPen(QPen(QColor(kModelColour), 2));
        p.drawPolyline(curve);
    }
    p.restore();
}

QPoint ExercisePlot::pointOf(double periods, double volts) const
{
    if (!m_run)
        return {};
    const PlotScale scale(*m_run, m_periods, kUnit);
    return QPoint(scale.x(kSPlot, *m_run, periods), PlotScale::y(volts) - kBand.top());
}

std::optional<ExercisePlot::Point> ExercisePlot::pointAt(QPoint p) const
{
    if (!m_run)
        return std::nullopt;
    const QPoint scene = p + kBand.topLeft();
    const std::optional<PlotArea> area = PlotScale::areaAt(scene.x(), scene.y());
    if (!area)
        return std::nullopt;
    const PlotScale scale(*m_run, m_periods, kUnit);
    const double seconds = scale.timeAt(*area, scene.x());
    const double periods = runPeriods(*m_run, seconds, kUnit);
    const double known = m_until ? std::max(0, *m_until - 1) : m_periods;
    if (periods < 0 || periods > known)
        return std::nullopt;
    return Point{*area == kSPlot, seconds, periods};
}

QString ExercisePlot::readingAt(QPoint p) const
{
    const std::optional<Point> at = pointAt(p);
    if (!at)
        return {};
    const QString t = QStringLiteral("t = %1 s").arg(frenchNumber(at->seconds, kTimeDecimals));
    if (at->onS)
        return t + QStringLiteral(" ; S = %1 V").arg(frenchNumber(m_run->sAt(at->periods), kVoltDecimals));
    const auto& samples = m_run->samples();
    const std::size_t k = std::min(samples.size() - 1, std::size_t(std::floor(at->periods)));
    return t + QStringLiteral(" ; U = %1 V").arg(frenchNumber(samples[k].u, kVoltDecimals));
}

QString ExercisePlot::reading() const
{
    return m_reading->text();
}

// The retained plots as they are, the overlays over them: no copy of the image.
void ExercisePlot::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.drawImage(QPoint(0, 0), m_image, kBand);
    paintOverlays(p);
}

void ExercisePlot::mouseMoveEvent(QMouseEvent* event)
{
    m_reading->setText(readingAt(event->position().toPoint()));
}

void ExercisePlot::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    if (const std::optional<Point> at = pointAt(event->position().toPoint()))
        emit picked(at->periods, at->seconds, m_run->sAt(at->periods));
}

void ExercisePlot::leaveEvent(QEvent*)
{
    m_reading->clear();
}

}  // namespace t1
