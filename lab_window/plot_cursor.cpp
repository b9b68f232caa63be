#include "lab_window/plot_cursor.h"

#include "lab_window/fields.h"
#include "model/experiment.h"
#include "picture/colours.h"
#include "picture/fonts.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRegion>
#include <QStringList>

#include <algorithm>
#include <cmath>

namespace t1 {

namespace {

constexpr QRgb kCursorColour = qRgb(0, 0, 0);
constexpr int kValueDecimals = 2;
constexpr int kPeriodDecimals = 2;
constexpr int kMostSecondsDecimals = 3;
// Shift with an arrow moves by this much of a period.
constexpr double kFineStep = 0.1;
// An instant this close to an acquisition is on it.
constexpr double kOnSample = 1e-6;
constexpr int kPointHalf = 2;
constexpr int kTextPad = 2;
constexpr int kTextGap = 3;
// Under the time marks' labels.
constexpr int kTimeTextTop = kPlotBaseline + 17;

QString number(double v, int decimals)
{
    return QString::fromStdString(formatDecimal(v, decimals));
}

// Seconds to the tenth of a pixel's worth or so.
int secondsDecimals(const PlotScale& scale)
{
    const double perPixel = 1 / scale.pixelsPerUnit();
    return std::clamp(static_cast<int>(std::ceil(-std::log10(perPixel))), 0, kMostSecondsDecimals);
}

}  // namespace

std::optional<CursorReading> cursorReading(const model::Experiment& e, const PlotScale& scale, double periods)
{
    const model::Simulation& run = e.run();
    const auto& samples = run.samples();
    if (samples.empty())
        return std::nullopt;
    CursorReading r;
    r.periods = std::clamp(std::isfinite(periods) ? periods : 0.0, 0.0, double(run.simulatedPeriods()));
    r.sample = std::min(static_cast<int>(std::floor(r.periods + kOnSample)), static_cast<int>(samples.size()) - 1);
    r.time = axisTime(run, r.periods, scale.unit());
    r.u = samples[std::size_t(r.sample)].u;
    r.s = run.sAt(r.periods);
    const QString k = QStringLiteral(" (k = %1)").arg(r.sample);
    r.timeText = scale.unit() == TimeUnit::Seconds
                     ? QStringLiteral("t = %1 s").arg(number(r.time, secondsDecimals(scale))) + k
                     : QStringLiteral("t = %1 T").arg(number(r.periods, kPeriodDecimals)) + k;
    r.uText = QStringLiteral("U = %1 V").arg(number(r.u, kValueDecimals));
    r.sText = QStringLiteral("S = %1 V").arg(number(r.s, kValueDecimals));
    return r;
}

PlotCursor::PlotCursor(QWidget* scene, const model::Experiment& experiment)
    : QWidget(scene),
      m_experiment(experiment),
      m_scale(experiment.run(), experiment.shownPeriods(), TimeUnit::Periods)
{
    setGeometry(0, kPlotsTop, kPlotsRight, kPlotsBottom - kPlotsTop);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(QStringLiteral("Courbes U(t) et S(t)"));
    setFont(fonts::make(fonts::pt7));
    setInstant(std::nullopt);
}

std::optional<double> PlotCursor::reach() const
{
    if (m_experiment.run().samples().empty())
        return std::nullopt;
    return m_experiment.drawnUntil();
}

std::optional<double> PlotCursor::held(std::optional<double> periods) const
{
    const std::optional<double> until = reach();
    if (!periods || !until)
        return std::nullopt;
    return std::clamp(std::isfinite(*periods) ? *periods : 0.0, 0.0, *until);
}

void PlotCursor::setScale(const PlotScale& scale)
{
    update(region());
    m_scale = scale;
    const std::optional<int> before = sample();
    m_instant = held(m_instant);
    update(region());
    if (sample() != before)
        emit sampleChanged();
}

std::optional<int> PlotCursor::sample() const
{
    if (!m_instant)
        return std::nullopt;
    const int count = static_cast<int>(m_experiment.run().samples().size());
    return std::min(static_cast<int>(std::floor(*m_instant + kOnSample)), count - 1);
}

void PlotCursor::setSample(std::optional<int> k)
{
    setInstant(k ? std::optional<double>(*k) : std::nullopt);
}

void PlotCursor::setInstant(std::optional<double> periods)
{
    const std::optional<double> next = held(periods);
    const std::optional<int> before = sample();
    if (next != m_instant) {
        update(region());
        m_instant = next;
        update(region());
    }
    const std::optional<CursorReading> r = m_instant ? cursorReading(m_experiment, m_scale, *m_instant) : std::nullopt;
    setAccessibleDescription(
        (r ? QStringList{r->timeText, r->uText, r->sText}.join(QStringLiteral(" ; ")) + QStringLiteral(". ")
           : QString())
        + QStringLiteral("Flèches gauche et droite : d'une acquisition à l'autre ; avec Maj : par dixième de "
                         "période ; Origine : le départ ; Fin ou Échap : valeurs en cours"));
    if (sample() != before)
        emit sampleChanged();
}

PlotCursor::Cross PlotCursor::cross(const PlotArea& area, double value, const CursorReading& r) const
{
    const QFontMetrics fm(font());
    const model::Simulation& run = m_experiment.run();
    Cross c;
    c.point = QPoint(m_scale.x(area, run, r.periods), PlotScale::y(value));
    const QString& valueText = area == kUPlot ? r.uText : r.sText;
    const QSize valueSize(fm.horizontalAdvance(valueText) + 2 * kTextPad, fm.height());
    // Above the horizontal guide, or under it near the top.
    int top = c.point.y() - kTextGap - valueSize.height();
    if (top < kAxisTop + fm.height())
        top = c.point.y() + kTextGap;
    c.valueText = QRect(QPoint(area.left + kTextGap, top), valueSize);
    const QSize timeSize(fm.horizontalAdvance(r.timeText) + 2 * kTextPad, fm.height());
    int left = c.point.x() + kTextGap;
    if (left + timeSize.width() > kPlotsRight || (area == kUPlot && left + timeSize.width() > kSPlot.left))
        left = c.point.x() - kTextGap - timeSize.width();
    c.timeText = QRect(QPoint(left, kTimeTextTop), timeSize);
    return c;
}

QRegion PlotCursor::region() const
{
    if (!m_instant)
        return {};
    const std::optional<CursorReading> r = cursorReading(m_experiment, m_scale, *m_instant);
    if (!r)
        return {};
    QRegion region;
    for (const PlotArea& area : kPlotAreas) {
        const Cross c = cross(area, area == kUPlot ? r->u : r->s, *r);
        const QPoint p = c.point;
        region += QRect(QPoint(area.left, p.y() - kPointHalf), QPoint(p.x() + kPointHalf, p.y() + kPointHalf));
        region += QRect(QPoint(p.x() - kPointHalf, p.y() - kPointHalf), QPoint(p.x() + kPointHalf, kPlotBaseline));
        region += c.valueText;
        region += c.timeText;
    }
    return region.translated(0, -kPlotsTop);
}

void PlotCursor::paintEvent(QPaintEvent*)
{
    if (!m_instant)
        return;
    const std::optional<CursorReading> r = cursorReading(m_experiment, m_scale, *m_instant);
    if (!r)
        return;
    QPainter p(this);
    p.translate(0, -kPlotsTop);
    const QColor ink = QColor::fromRgb(kCursorColour);
    QPen dashed(ink);
    dashed.setStyle(Qt::DashLine);
    for (const PlotArea& area : kPlotAreas) {
        const Cross c = cross(area, area == kUPlot ? r->u : r->s, *r);
        p.setPen(dashed);
        p.drawLine(QPoint(area.left, c.point.y()), c.point);
        p.drawLine(c.point, QPoint(c.point.x(), kPlotBaseline));
        p.setPen(ink);
        p.setBrush(ink);
        p.drawRect(QRect(c.point - QPoint(kPointHalf, kPointHalf), QSize(2 * kPointHalf, 2 * kPointHalf)));
        for (const auto& [box, text] : {std::pair{c.valueText, area == kUPlot ? r->uText : r->sText},
                                        std::pair{c.timeText, r->timeText}}) {
            p.fillRect(box, QColor::fromRgb(colour::btnFace));
            p.drawText(box, Qt::AlignCenter, text);
        }
    }
}

void PlotCursor::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint() + QPoint(0, kPlotsTop);
    const std::optional<PlotArea> area = PlotScale::areaAt(at.x(), at.y());
    if (!area) {
        setInstant(std::nullopt);
        return;
    }
    const model::Simulation& run = m_experiment.run();
    double t = runPeriods(run, m_scale.timeAt(*area, at.x()), m_scale.unit());
    // On an acquisition's own column, that acquisition.
    const double k = std::round(t);
    if (m_scale.x(*area, run, k) == at.x())
        t = k;
    setInstant(t);
}

void PlotCursor::leaveEvent(QEvent*)
{
    setInstant(std::nullopt);
}

std::optional<double> PlotCursor::keyTarget(int key, bool fine) const
{
    const int last = static_cast<int>(m_experiment.run().samples().size()) - 1;
    if (!m_instant)
        return fine ? reach() : std::optional<double>(last);
    const double t = *m_instant;
    switch (key) {
    case Qt::Key_Left:
        return fine ? t - kFineStep : std::max(std::ceil(t - kOnSample) - 1, 0.0);
    case Qt::Key_Right:
        if (fine)
            return t + kFineStep;
        return std::floor(t + kOnSample) + 1 <= last ? std::floor(t + kOnSample) + 1 : t;
    default:
        return t;
    }
}

void PlotCursor::keyPressEvent(QKeyEvent* event)
{
    const bool fine = event->modifiers() & Qt::ShiftModifier;
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
        setInstant(keyTarget(event->key(), fine));
        break;
    case Qt::Key_Home:
        setInstant(0.0);
        break;
    case Qt::Key_End:
    case Qt::Key_Escape:
        setInstant(std::nullopt);
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

}  // namespace t1
