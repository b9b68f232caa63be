#include "stage/image_view.h"

#include "picture/canvas.h"

#include <QGraphicsProxyWidget>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// A screen pixel that a scaled picture pixel only partly covers still counts.
constexpr int kScaledMargin = 1;

// The weights of the picture's pixels along one axis for the screen pixels
// first .. first + count - 1: each screen pixel is the mean of the picture
// pixels it covers, in proportion to how much of each it covers, so that a
// one-pixel stroke shrinks to a fainter one instead of vanishing, as it
// would under the nearest pixel.
struct Span {
    int from;  // the first picture pixel
    std::vector<double> weights;
};

std::vector<Span> areaSpans(int first, int count, double scale, double offset, int limit)
{
    std::vector<Span> spans;
    spans.reserve(std::size_t(count));
    for (int d = first; d < first + count; ++d) {
        const double low = std::clamp((d - offset) / scale, 0.0, double(limit));
        const double high = std::clamp((d + 1 - offset) / scale, 0.0, double(limit));
        Span span{int(std::floor(low)), {}};
        for (int x = span.from; x < high; ++x)
            span.weights.push_back(std::min(high, x + 1.0) - std::max(low, double(x)));
        spans.push_back(std::move(span));
    }
    return spans;
}

// The screen pixels of `target` for the picture drawn through `toScreen`
// (a scale below one and a move), each the area mean of what it covers.
QImage areaMean(const QImage& picture, const QTransform& toScreen, const QRect& target, QRgb background)
{
    const std::vector<Span> columns =
        areaSpans(target.left(), target.width(), toScreen.m11(), toScreen.dx(), picture.width());
    const std::vector<Span> rows = areaSpans(target.top(), target.height(), toScreen.m22(), toScreen.dy(),
                                             picture.height());
    QImage out(target.size(), QImage::Format_RGB32);
    for (int j = 0; j < target.height(); ++j) {
        const Span& row = rows[std::size_t(j)];
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(j));
        for (int i = 0; i < target.width(); ++i) {
            const Span& column = columns[std::size_t(i)];
            double r = 0, g = 0, b = 0, area = 0;
            for (std::size_t v = 0; v < row.weights.size(); ++v) {
                const auto* source = reinterpret_cast<const QRgb*>(picture.constScanLine(row.from + int(v)));
                for (std::size_t u = 0; u < column.weights.size(); ++u) {
                    const double w = row.weights[v] * column.weights[u];
                    const QRgb c = source[column.from + int(u)];
                    r += w * qRed(c);
                    g += w * qGreen(c);
                    b += w * qBlue(c);
                    area += w;
                }
            }
            line[i] = area > 0 ? qRgb(int(std::lround(r / area)), int(std::lround(g / area)), int(std::lround(b / area)))
                               : background;
        }
    }
    return out;
}

// Scaled down, but only scaled and moved: the case the area mean serves.
bool shrunk(const QTransform& t)
{
    return t.type() <= QTransform::TxScale && (t.m11() < 1 || t.m22() < 1);
}

}  // namespace

ImageView::ImageView(const t1::Canvas& picture, QRgb background, QWidget* parent)
    : QWidget(parent), m_picture(picture), m_background(background)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ImageView::paintEvent(QPaintEvent* event)
{
    QPainter p(this);
    const QImage& image = m_picture.image();
    const QRect shown = rect() & image.rect();
    // Below one, the zoom's nearest pixel would drop whole rows and columns,
    // and with them the strokes of the texts: each screen pixel is drawn
    // as the mean of what it covers instead. At one and above every picture
    // pixel stays a crisp block.
    const QTransform toScreen = p.deviceTransform();
    if (shrunk(toScreen) && image.format() == QImage::Format_RGB32) {
        const QTransform world = p.worldTransform();
        p.setWorldTransform(toScreen.inverted() * world);  // draw in screen pixels
        for (const QRect& r : event->region()) {
            const QRect target = toScreen.mapRect(QRectF(r)).toAlignedRect();
            p.drawImage(target.topLeft(), areaMean(image, toScreen, target, m_background));
        }
        p.setWorldTransform(world);
        return;
    }
    for (const QRect& r : event->region()) {
        const QRect drawn = r & shown;
        if (!drawn.isEmpty())
            p.drawImage(drawn.topLeft(), image, drawn);
        for (const QRect& beyond : QRegion(r).subtracted(QRegion(drawn)))
            p.fillRect(beyond, QColor::fromRgb(m_background));
    }
}

void ImageView::showChanged(const QRegion& changed)
{
    // FOND shows only the top-left corner of its picture.
    const QRegion shown = changed & rect();
    if (shown.isEmpty())
        return;
    QWidget* top = window();
    const QGraphicsProxyWidget* proxy = top->graphicsProxyWidget();
    if (!proxy || !proxy->scene()) {
        update(shown);
        return;
    }
    const QRegion inTop = shown.translated(mapTo(top, QPoint(0, 0)));
    for (QGraphicsView* view : proxy->scene()->views()) {
        const QTransform toViewport = proxy->deviceTransform(view->viewportTransform());
        QRegion onScreen;
        for (const QRect& r : inTop)
            onScreen += toViewport.mapRect(QRectF(r)).toAlignedRect().adjusted(-kScaledMargin, -kScaledMargin,
                                                                              kScaledMargin, kScaledMargin);
        view->viewport()->update(onScreen);
    }
}
