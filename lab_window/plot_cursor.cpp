#include "lab_window/plot_cursor.h"

#include "picture/fonts.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace t1 {

namespace {

constexpr QRgb kCursorColour = qRgb(0, 0, 0);
constexpr int kLabelWidth = 60;
constexpr int kLabelHeight = 12;
constexpr int kLabelGap = 3;
constexpr int kLineTop = kAxisTop + 12;
constexpr int kLineBottom = kPlotBaseline + 6;
// Its label under the period labels, clear of the titles and the changes'.
constexpr int kLabelTop = kPlotBaseline + 17;

}  // namespace

PlotCursor::PlotCursor(QWidget* scene) : QWidget(scene), m_scale(1)
{
    setGeometry(0, kPlotsTop, kPlotsRight, kPlotsBottom - kPlotsTop);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(QStringLiteral("Courbes U(t) et S(t)"));
    setAccessibleDescription(
        QStringLiteral("Flèches gauche et droite : curseur d'une acquisition à l'autre ; Fin ou Échap : valeurs en cours"));
    setFont(fonts::make(fonts::pt7));
}

void PlotCursor::setScale(const PlotScale& scale)
{
    repaintAt(m_sample);
    m_scale = scale;
    repaintAt(m_sample);
}

void PlotCursor::setSampleCount(int count)
{
    m_count = count;
    if (m_sample && *m_sample >= count)
        setSample(count > 0 ? std::optional<int>(count - 1) : std::nullopt);
}

void PlotCursor::setSample(std::optional<int> sample)
{
    if (sample && (m_count == 0 || *sample < 0))
        sample.reset();
    if (sample && *sample >= m_count)
        sample = m_count - 1;
    if (sample == m_sample)
        return;
    repaintAt(m_sample);
    m_sample = sample;
    repaintAt(m_sample);
    emit sampleChanged();
}

QRect PlotCursor::lineRect(const PlotArea& area, int k) const
{
    const int x = m_scale.x(area, k);
    return QRect(x - 1, kLineTop - kPlotsTop, kLabelWidth + kLabelGap + 2, kLabelTop + kLabelHeight - kLineTop + 1);
}

void PlotCursor::repaintAt(std::optional<int> k)
{
    if (!k)
        return;
    update(lineRect(kUPlot, *k));
    update(lineRect(kSPlot, *k));
}

void PlotCursor::paintEvent(QPaintEvent*)
{
    if (!m_sample)
        return;
    QPainter p(this);
    QPen pen(QColor::fromRgb(kCursorColour));
    pen.setStyle(Qt::DashLine);
    p.setPen(pen);
    const QString label = QStringLiteral("k = %1").arg(*m_sample);
    for (const PlotArea& area : {kUPlot, kSPlot}) {
        const int x = m_scale.x(area, *m_sample);
        p.drawLine(x, kLineTop - kPlotsTop, x, kLineBottom - kPlotsTop);
        p.drawText(QRect(x + kLabelGap, kLabelTop - kPlotsTop, kLabelWidth, kLabelHeight),
                   Qt::AlignLeft | Qt::AlignVCenter, label);
    }
}

void PlotCursor::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint() + QPoint(0, kPlotsTop);
    setSample(m_scale.sampleNear(at.x(), at.y(), m_count));
}

void PlotCursor::leaveEvent(QEvent*)
{
    setSample(std::nullopt);
}

void PlotCursor::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Left:
        setSample(m_sample ? std::max(*m_sample - 1, 0) : m_count - 1);
        break;
    case Qt::Key_Right:
        setSample(m_sample ? *m_sample + 1 : m_count - 1);
        break;
    case Qt::Key_Home:
        setSample(0);
        break;
    case Qt::Key_End:
    case Qt::Key_Escape:
        setSample(std::nullopt);
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

}  // namespace t1
