#include "stage/image_view.h"

#include "picture/canvas.h"

#include <QGraphicsProxyWidget>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QPaintEvent>
#include <QPainter>

namespace {

// A screen pixel that a scaled picture pixel only partly covers still counts.
constexpr int kScaledMargin = 1;

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
