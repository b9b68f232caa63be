#include "lab_window/z_plane.h"

#include "lab_window/fields.h"
#include "lab_window/measures_text.h"
#include "model/transfer.h"
#include "picture/colours.h"
#include "picture/fonts.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStringList>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace t1 {

namespace {

using Complex = std::complex<double>;

// The panel in the scene, right of the plots, where the poles' text and
// the measures are otherwise; the plot in it, square, under the title and
// over the lines of text.
constexpr QRect kPanel{804, 8, 192, 288};
constexpr QRect kPlot{0, 16, 192, 192};
constexpr int kTitleTop = 1;
constexpr int kKeyTop = 212;
constexpr int kVerdictTop = 228;
constexpr int kLimitTop = 244;
constexpr int kLimitSecondTop = 258;

// Room for a mark's half-width round every point fitted.
constexpr int kMarkRoom = 8;
// Points further out than this are not fitted but marked at the edge.
constexpr double kFarthestFitted = 1e4;
// A zero is fitted when it lies within this many times the poles' reach.
constexpr double kZeroReach = 2;
// Graduations at least this many pixels apart.
constexpr double kGraduationRoom = 28;
constexpr std::array kGraduationSteps{1.0, 2.0, 5.0};
constexpr double kDecade = 10;
constexpr int kTickBefore = 2;
constexpr int kTickAfter = 3;
constexpr int kLabelGap = 3;
constexpr int kTextHalfHeight = 5;
// The locus's points this many pixels apart at most.
constexpr double kLocusPixels = 3;

// The locus and the poles' crosses drawn wide, to show over the axes.
constexpr int kLocusWidth = 2;
constexpr int kCrossWidth = 2;
constexpr int kCrossHalf = 4;
constexpr int kStartHalf = 3;
constexpr int kRingRadius = 4;
constexpr int kCrossingHalf = 2;
constexpr int kCircleSegments = 24;
// The limit's label this many pixels out from the circle, or above it.
constexpr double kLimitLabelOut = 6;
constexpr int kLimitLabelAbove = 14;
// The mouse this close to the locus shows the gain there.
constexpr double kHoverReach = 6;
constexpr int kHoverGap = 8;
constexpr int kHoverPadding = 2;

constexpr int kGainDecimals = 2;
constexpr auto kLimitWord = u"limite";
constexpr int kPoleDecimals = 3;

constexpr QRgb kBackground = colour::btnFace;
constexpr QRgb kStableRegion = colour::white;
constexpr QRgb kAxesColour = colour::blue;
constexpr QRgb kTextColour = colour::blue;
constexpr QRgb kLocusColour = colour::purple;
constexpr QRgb kStartColour = colour::purple;
constexpr QRgb kPoleColour = colour::red;
constexpr QRgb kZeroColour = colour::black;
constexpr QRgb kLimitColour = colour::maroon;
constexpr QRgb kStableColour = fromBgr(0x007000);
constexpr QRgb kUnstableColour = fromBgr(0x0000C0);

QString text(const std::string& utf8)
{
    return QString::fromStdString(utf8);
}

bool finite(Complex z)
{
    return std::isfinite(z.real()) && std::isfinite(z.imag());
}

// The segment a-b within r, or false when none of it is.
bool clip(QPointF& a, QPointF& b, const QRectF& r)
{
    double from = 0;
    double to = 1;
    const double dx = b.x() - a.x();
    const double dy = b.y() - a.y();
    const std::array<double, 4> p{-dx, dx, -dy, dy};
    const std::array<double, 4> q{a.x() - r.left(), r.right() - a.x(), a.y() - r.top(), r.bottom() - a.y()};
    for (std::size_t i = 0; i < p.size(); ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            from = std::max(from, t);
        else
            to = std::min(to, t);
    }
    if (!(from <= to))
        return false;
    const QPointF start = a;
    a = start + from * (b - start);
    b = start + to * (b - start);
    return true;
}

QPoint pixel(QPointF p)
{
    return {static_cast<int>(std::lround(p.x())), static_cast<int>(std::lround(p.y()))};
}

// The drawable part of the plot: pixel centres.
QRectF inner(const QRect& plot)
{
    return QRectF(plot.left(), plot.top(), plot.width() - 1, plot.height() - 1);
}

bool inside(const QRect& plot, QPointF p, int half)
{
    return inner(plot).adjusted(half, half, -half, -half).contains(p);
}

// A point off the plot brought to its edge, towards its centre.
QPointF toEdge(const QRect& plot, QPointF p, int half)
{
    const QRectF r = inner(plot).adjusted(half, half, -half, -half);
    QPointF from = r.center();
    QPointF to = p;
    if (!std::isfinite(to.x()) || !std::isfinite(to.y()))
        return from;
    clip(from, to, r);
    return to;
}

void pen(Canvas& c, QRgb colour)
{
    c.setPenStyle(PenStyle::Solid);
    c.setPenWidth(1);
    c.setPenColour(colour);
}

void textStyle(Canvas& c, QRgb colour, int size, bool bold = false)
{
    c.setFontColour(colour);
    c.setFontSize(size);
    c.setFontBold(bold);
}

void segment(Canvas& c, const QRect& plot, QPointF a, QPointF b)
{
    if (!clip(a, b, inner(plot)))
        return;
    const QPoint from = pixel(a);
    const QPoint to = pixel(b);
    c.line(from.x(), from.y(), to.x(), to.y());
}

void cross(Canvas& c, QPointF at, int half, QRgb colour, int width = 1)
{
    pen(c, colour);
    c.setPenWidth(width);
    const QPoint p = pixel(at);
    c.line(p.x() - half, p.y() - half, p.x() + half + 1, p.y() + half + 1);
    c.line(p.x() - half, p.y() + half, p.x() + half + 1, p.y() - half - 1);
}

void ring(Canvas& c, QPointF at, double radius, QRgb colour)
{
    pen(c, colour);
    const QPoint p = pixel(at);
    c.moveTo(p.x() + static_cast<int>(radius), p.y());
    for (int i = 1; i <= kCircleSegments; ++i) {
        const double a = 2 * std::numbers::pi * i / kCircleSegments;
        c.lineTo(p.x() + static_cast<int>(std::lround(radius * std::cos(a))),
                 p.y() - static_cast<int>(std::lround(radius * std::sin(a))));
    }
}

void textCentred(Canvas& c, QPointF at, const QString& s)
{
    c.textOut(static_cast<int>(std::lround(at.x())) - c.textWidth(s) / 2, static_cast<int>(std::lround(at.y())), s);
}

// A text whose top-left corner is near `at`, kept inside the plot.
void textWithin(Canvas& c, const QRect& plot, QPoint at, const QString& s)
{
    const int w = c.textWidth(s);
    const int x = std::clamp(at.x(), plot.left() + 1, plot.right() - w);
    const int y = std::clamp(at.y(), plot.top() + 1, plot.bottom() - 2 * kTextHalfHeight);
    c.textOut(x, y, s);
}

int decimalsFor(double step)
{
    return std::max(0, -static_cast<int>(std::floor(std::log10(step) + 1e-9)));
}

QString number(double v, int decimals)
{
    return text(formatDecimal(v, decimals));
}

QString complexText(Complex z)
{
    const QString re = number(z.real(), kPoleDecimals);
    if (std::abs(z.imag()) < std::pow(kDecade, -kPoleDecimals) / 2)
        return re;
    return QStringLiteral("%1 %2 %3 i").arg(re, z.imag() < 0 ? QStringLiteral("-") : QStringLiteral("+"),
                                            number(std::abs(z.imag()), kPoleDecimals));
}

void drawAxes(Canvas& c, const ZPlaneScale& s)
{
    const QRect& plot = s.plot();
    const QPointF origin = s.at(0);
    pen(c, kAxesColour);
    segment(c, plot, QPointF(plot.left(), origin.y()), QPointF(plot.right() + 1, origin.y()));
    segment(c, plot, QPointF(origin.x(), plot.top()), QPointF(origin.x(), plot.bottom() + 1));
    textStyle(c, kTextColour, fonts::pt7);
    const double step = s.step();
    const int decimals = decimalsFor(step);
    const Complex low = s.planeAt(QPointF(plot.left(), plot.bottom()));
    const Complex high = s.planeAt(QPointF(plot.right(), plot.top()));
    const int oy = pixel(origin).y();
    const int ox = pixel(origin).x();
    for (long k = std::lround(std::ceil(low.real() / step)); k * step <= high.real(); ++k) {
        const int x = pixel(s.at(double(k) * step)).x();
        if (k == 0 || !inside(plot, QPointF(x, oy), kMarkRoom))
            continue;
        c.line(x, oy - kTickBefore, x, oy + kTickAfter);
        textCentred(c, QPointF(x, oy + kTickAfter + 1), number(double(k) * step, decimals));
    }
    for (long k = std::lround(std::ceil(low.imag() / step)); k * step <= high.imag(); ++k) {
        const int y = pixel(s.at(Complex(0, double(k) * step))).y();
        if (k == 0 || !inside(plot, QPointF(ox, y), kMarkRoom))
            continue;
        c.line(ox - kTickBefore, y, ox + kTickAfter, y);
        const QString label = number(double(k) * step, decimals) + QStringLiteral("i");
        c.textOut(ox - kLabelGap - c.textWidth(label), y - kTextHalfHeight, label);
    }
}

// A mark at z, or at the edge with its value when z is off the plot.
template <typename Mark>
void markAt(Canvas& c, const ZPlaneScale& s, Complex z, Mark mark)
{
    const QPointF at = s.at(z);
    if (finite(z) && inside(s.plot(), at, kCrossHalf)) {
        mark(at);
        return;
    }
    const QPointF edge = toEdge(s.plot(), at, kMarkRoom);
    mark(edge);
    textStyle(c, kTextColour, fonts::pt7);
    textWithin(c, s.plot(), pixel(edge) + QPoint(kLabelGap, kLabelGap), complexText(z));
}

}  // namespace

ZPlaneScale::ZPlaneScale(const QRect& plot, std::span<const Complex> points) : m_plot(plot)
{
    double left = -1;
    double right = 1;
    double bottom = -1;
    double top = 1;
    for (const Complex& z : points) {
        if (!finite(z) || std::abs(z) > kFarthestFitted)
            continue;
        left = std::min(left, z.real());
        right = std::max(right, z.real());
        bottom = std::min(bottom, z.imag());
        top = std::max(top, z.imag());
    }
    m_centre = {(left + right) / 2, (bottom + top) / 2};
    m_pixelsPerUnit = std::min((plot.width() - 2 * kMarkRoom) / (right - left),
                               (plot.height() - 2 * kMarkRoom) / (top - bottom));
}

QPointF ZPlaneScale::at(Complex z) const
{
    const QPointF middle = QRectF(m_plot).center();
    return {middle.x() + (z.real() - m_centre.real()) * m_pixelsPerUnit,
            middle.y() - (z.imag() - m_centre.imag()) * m_pixelsPerUnit};
}

Complex ZPlaneScale::planeAt(QPointF p) const
{
    const QPointF middle = QRectF(m_plot).center();
    return {m_centre.real() + (p.x() - middle.x()) / m_pixelsPerUnit,
            m_centre.imag() - (p.y() - middle.y()) / m_pixelsPerUnit};
}

double ZPlaneScale::step() const
{
    const double least = kGraduationRoom / m_pixelsPerUnit;
    double decade = std::pow(kDecade, std::floor(std::log10(least)));
    for (;; decade *= kDecade)
        for (double s : kGraduationSteps)
            if (s * decade >= least)
                return s * decade;
}

model::LocusView ZPlaneScale::view() const
{
    return {planeAt(QPointF(m_plot.left(), m_plot.bottom())), planeAt(QPointF(m_plot.right(), m_plot.top())),
            kLocusPixels / m_pixelsPerUnit};
}

QStringList gainTexts(const model::LocusGain& gain, double factor, const QString& qualifier)
{
    const model::RegulatorRow& row = gain.unit.row();
    const QString after = qualifier.isEmpty() ? QString() : QLatin1Char(' ') + qualifier;
    QStringList parts;
    for (std::size_t i = 0; i < row.gainFields.size(); ++i)
        parts << QStringLiteral("%1%2 = %3")
                     .arg(QString::fromUtf8(row.fieldTable[row.gainFields[i]].symbol), after,
                          number(gain.value(i, factor), kGainDecimals));
    return parts;
}

ZPlane::ZPlane(QWidget* scene) : QWidget(scene), m_panel(kPanel.width(), kPanel.height(), kBackground)
{
    setGeometry(kPanel);
    setMouseTracking(true);
    setAccessibleName(QStringLiteral("Plan des z"));

}

QRect ZPlane::panel()
{
    return kPanel;
}

void ZPlane::redraw(Canvas& window, const model::Parameters& p, const model::Poles& poles)
{
    // The points fitted: the poles, those the locus starts from, and the
    // zeros not much further out.
    const std::optional<model::LocusGain> gain = model::locusGain(p);
    std::vector<Complex> starts;
    std::vector<Complex> zeros;
    if (gain) {
        const model::OpenLoop open = model::openLoop(gain->unit);
        starts = open.poles;
        zeros = open.zeros;
    } else {
        zeros = model::roots(model::ovenTransfer(model::sanitised(p)).num);
    }
    std::vector<Complex> fit = starts;
    double reach = 1;
    for (const model::Pole& pole : poles.poles)
        fit.push_back(pole.z);
    for (const Complex& z : fit)
        if (finite(z))
            reach = std::max(reach, std::abs(z));
    for (const Complex& z : zeros)
        if (std::abs(z) <= kZeroReach * reach)
            fit.push_back(z);
    m_scale = ZPlaneScale(kPlot, fit);
    m_locus = gain ? model::rootLocus(p, m_scale.view()) : std::nullopt;

    Canvas& c = m_panel;
    c.setBrushStyle(BrushStyle::Solid);
    c.setBrushColour(kBackground);
    c.fillRect(0, 0, kPanel.width(), kPanel.height());

    // The stable region and its circle, the axes.
    const QPointF centre = m_scale.at(0);
    const int radius = static_cast<int>(std::lround(m_scale.pixelsPerUnit()));
    const QPoint o = pixel(centre);
    pen(c, kAxesColour);
    c.setBrushColour(kStableRegion);
    c.ellipse(o.x() - radius, o.y() - radius, o.x() + radius + 1, o.y() + radius + 1);
    drawAxes(c, m_scale);

    // The locus, from the open-loop poles.
    m_paths.clear();
    if (m_locus) {
        pen(c, kLocusColour);
        c.setPenWidth(kLocusWidth);
        for (const std::vector<model::LocusPoint>& branch : m_locus->branches) {
            std::vector<QPointF>& path = m_paths.emplace_back();
            for (const model::LocusPoint& point : branch)
                path.push_back(m_scale.at(point.z));
            for (std::size_t i = 1; i < path.size(); ++i)
                segment(c, kPlot, path[i - 1], path[i]);
        }
        for (const Complex& z : starts)
            markAt(c, m_scale, z, [&c](QPointF at) { cross(c, at, kStartHalf, kStartColour); });
    }
    for (const Complex& z : zeros)
        markAt(c, m_scale, z, [&c](QPointF at) { ring(c, at, kRingRadius, kZeroColour); });
    QString cancelled;
    for (const model::Pole& pole : poles.poles) {
        markAt(c, m_scale, pole.z, [&c](QPointF at) { cross(c, at, kCrossHalf, kPoleColour, kCrossWidth); });
        if (pole.cancelled && pole.z.imag() >= 0) {
            // Still a pole, for a disturbance: marked in the zero's ring and named.
            const QPointF at = m_scale.at(pole.z);
            ring(c, at, kRingRadius, kZeroColour);
            textStyle(c, kZeroColour, fonts::pt7);
            textWithin(c, kPlot, pixel(at) + QPoint(kRingRadius + 1, kRingRadius), QStringLiteral("compensé"));
            cancelled = complexText(pole.z);
        }
    }

    // Where the locus leaves the circle, and the limit gain there.
    QStringList limitLines;
    if (m_locus && m_locus->limit && m_locus->crossing) {
        const Complex z = *m_locus->crossing;
        c.setBrushColour(kLimitColour);
        pen(c, kLimitColour);
        for (const Complex& at : {z, std::conj(z)}) {
            const QPoint p = pixel(m_scale.at(at));
            c.rectangle(p.x() - kCrossingHalf, p.y() - kCrossingHalf, p.x() + kCrossingHalf + 1, p.y() + kCrossingHalf + 1);
        }
        // Outside the circle, away from its centre; above a crossing on the real axis.
        textStyle(c, kLimitColour, fonts::pt7);
        const QString label = gainTexts(m_locus->gain, *m_locus->limit, QString::fromUtf16(kLimitWord)).front();
        const int w = c.textWidth(label);
        const QPoint p = pixel(m_scale.at(z));
        QPoint corner(p.x() - w / 2, p.y() - kLimitLabelAbove);
        if (std::abs(z.imag()) * m_scale.pixelsPerUnit() >= kCrossingHalf) {
            const QPoint out = pixel(m_scale.at(z / std::abs(z) * (1 + kLimitLabelOut / m_scale.pixelsPerUnit())));
            corner = QPoint(z.real() < 0 ? out.x() - w : out.x(), out.y() - kTextHalfHeight);
        }
        textWithin(c, kPlot, corner, label);
        limitLines = gainTexts(m_locus->gain, *m_locus->limit, QString::fromUtf16(kLimitWord));
    } else if (m_locus) {
        limitLines << (poles.stable ? QStringLiteral("Stable pour tout gain") : QStringLiteral("Instable pour tout gain"));
    } else {
        limitLines << QStringLiteral("Commande manuelle : pas de boucle,") << QStringLiteral("ni retour ni lieu des pôles");
    }

    // The title, the key, the verdict and the limit.
    QString title = QStringLiteral("Pôles du four (boucle ouverte)");
    QString key = QStringLiteral("× pôle du four");
    if (m_locus) {
        const model::RegulatorRow& row = m_locus->gain.unit.row();
        title = QStringLiteral("Lieu des pôles selon ") + text(std::string(row.fieldTable[row.gainFields.front()].symbol));
        key = QStringLiteral("× pôles pour %1").arg(gainTexts(m_locus->gain, m_locus->gain.current).front());
    }
    if (!zeros.empty())
        key += zeros.size() > 1 ? QStringLiteral("   o zéros") : QStringLiteral("   o zéro");
    textStyle(c, kTextColour, fonts::pt8, true);
    c.textOut(0, kTitleTop, title);
    textStyle(c, kTextColour, fonts::pt7);
    c.textOut(0, kKeyTop, key);
    const QString verdict = QString(poles.closed ? QStringLiteral("Boucle") : QStringLiteral("Four"))
                            + (poles.stable ? QStringLiteral(" stable") : QStringLiteral(" instable"));
    textStyle(c, poles.stable ? kStableColour : kUnstableColour, fonts::pt8, true);
    c.textOut(0, kVerdictTop, verdict);
    textStyle(c, kLimitColour, fonts::pt8, true);
    for (int i = 0; i < std::min<int>(limitLines.size(), 2); ++i)
        c.textOut(0, i == 0 ? kLimitTop : kLimitSecondTop, limitLines[i]);
    const QString limitLine = limitLines.join(QStringLiteral(" "));

    window.draw(kPanel.left(), kPanel.top(), c.image());

    QString description = QStringLiteral("%1 : %2 ; %3 ; %4").arg(title, polesLine(poles), verdict, limitLine);
    if (!cancelled.isEmpty())
        description += QStringLiteral(" ; le pôle z = %1 est compensé par le zéro du régulateur").arg(cancelled);
    setAccessibleDescription(description);
    point(std::nullopt, {});
}

void ZPlane::point(std::optional<QPointF> at, const QString& text)
{
    if (at == m_pointAt && text == m_pointed)
        return;
    m_pointAt = at;
    m_pointed = text;
    update();
}

void ZPlane::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_locus) {
        point(std::nullopt, {});
        return;
    }
    const QPointF mouse = event->position();
    double best = kHoverReach * kHoverReach;
    std::optional<QPointF> at;
    double factor = 0;
    for (std::size_t b = 0; b < m_paths.size(); ++b) {
        const std::vector<QPointF>& path = m_paths[b];
        const std::vector<model::LocusPoint>& branch = m_locus->branches[b];
        for (std::size_t i = 1; i < path.size(); ++i) {
            const QPointF d = path[i] - path[i - 1];
            const double length = QPointF::dotProduct(d, d);
            const double t = length > 0 ? std::clamp(QPointF::dotProduct(mouse - path[i - 1], d) / length, 0.0, 1.0) : 0;
            const QPointF on = path[i - 1] + t * d;
            const QPointF off = mouse - on;
            const double distance = QPointF::dotProduct(off, off);
            if (distance >= best || !kPlot.contains(on.toPoint()))
                continue;
            best = distance;
            at = on;
            // The steps go by ratios of the factor: between two, along its logarithm.
            const double from = branch[i - 1].factor;
            const double to = branch[i].factor;
            factor = from > 0 ? from * std::pow(to / from, t) : from + t * (to - from);
        }
    }
    point(at, at ? gainTexts(m_locus->gain, factor).join(QStringLiteral(" ; ")) : QString());
}

void ZPlane::leaveEvent(QEvent*)
{
    point(std::nullopt, {});
}

void ZPlane::paintEvent(QPaintEvent*)
{
    if (!m_pointAt)
        return;
    QPainter p(this);
    p.setFont(fonts::make(fonts::pt8));
    p.setPen(QColor::fromRgb(colour::black));
    const QPoint at = pixel(*m_pointAt);
    p.drawEllipse(at, kRingRadius, kRingRadius);
    const QFontMetrics metrics(p.font());
    QRect box = metrics.boundingRect(m_pointed).adjusted(-kHoverPadding, -kHoverPadding, kHoverPadding, kHoverPadding);
    box.moveTopLeft(at + QPoint(kHoverGap, kHoverGap));
    // Kept inside the plot, above or left of the point if need be.
    if (box.right() > kPlot.right())
        box.moveRight(at.x() - kHoverGap);
    if (box.bottom() > kPlot.bottom())
        box.moveBottom(at.y() - kHoverGap);
    box.moveLeft(std::max(box.left(), kPlot.left()));
    p.fillRect(box, QColor::fromRgb(colour::yellow));
    p.drawRect(box.adjusted(0, 0, -1, -1));
    p.drawText(box, Qt::AlignCenter, m_pointed);
}

}  // namespace t1
