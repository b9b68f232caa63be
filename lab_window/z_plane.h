#pragma once

#include "model/poles.h"
#include "model/root_locus.h"
#include "picture/canvas.h"

#include <QPointF>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <complex>
#include <optional>
#include <span>
#include <vector>

namespace t1 {

// The z-plane's pixels: one scale on both axes, so that the unit circle is
// round, fitted to the circle and to the points given with room for their
// marks.
class ZPlaneScale {
public:
    ZPlaneScale() = default;
    ZPlaneScale(const QRect& plot, std::span<const std::complex<double>> points);

    QPointF at(std::complex<double> z) const;
    std::complex<double> planeAt(QPointF pixel) const;
    double pixelsPerUnit() const { return m_pixelsPerUnit; }
    const QRect& plot() const { return m_plot; }
    // Between graduations: 1, 2 or 5 times a power of ten, their labels
    // clear of each other.
    double step() const;
    // What the root locus needs of it: the plot in the plane, and its points
    // a few pixels apart.
    model::LocusView view() const;

private:
    QRect m_plot;
    std::complex<double> m_centre;
    double m_pixelsPerUnit = 1;
};

// The gain fields' values at a factor of the locus, one a field: "G = 10,03",
// or with a qualifier after the symbol, "G limite = 10,03".
QStringList gainTexts(const model::LocusGain& gain, double factor, const QString& qualifier = {});

// The z-plane in the column right of the plots, drawn on the scene: the
// unit circle round the stable region, the closed loop's poles (x) and
// zeros (o), a pole the regulator's zero cancels named as such, and, for a
// kind with a gain, its root locus from 0 to past the stability limit, the
// limit written where the locus leaves the circle. Worked out and drawn
// again only when the parameters change. The widget lies over it: the mouse
// on the locus shows the gain there.
class ZPlane : public QWidget {
    Q_OBJECT
public:
    explicit ZPlane(QWidget* scene);

    // The panel in the scene.
    static QRect panel();

    // For new parameters: the locus worked out, the panel drawn on the
    // window's surface. `poles` are those the theory found for p.
    void redraw(Canvas& window, const model::Parameters& p, const model::Poles& poles);

    const ZPlaneScale& scale() const { return m_scale; }
    const std::optional<model::RootLocus>& locus() const { return m_locus; }
    // What the mouse shows: the gain where it is on the locus, or nothing.
    const QString& pointed() const { return m_pointed; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void point(std::optional<QPointF> at, const QString& text);

    Canvas m_panel;
    ZPlaneScale m_scale;
    std::optional<model::RootLocus> m_locus;
    // The branches in pixels, in the panel.
    std::vector<std::vector<QPointF>> m_paths;
    std::optional<QPointF> m_pointAt;
    QString m_pointed;
};

}  // namespace t1
