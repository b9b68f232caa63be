#include "shell/image_view.h"

#include "picture/canvas.h"

#include <QPaintEvent>
#include <QPainter>

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
