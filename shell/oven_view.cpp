#include "shell/oven_view.h"

#include "picture/canvas.h"
#include "picture/colours.h"

#include <QPaintEvent>
#include <QPainter>

OvenView::OvenView(const t1::Canvas& picture, QWidget* parent) : QWidget(parent), m_picture(picture)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAccessibleName(QStringLiteral("Vue du four"));
}

void OvenView::paintEvent(QPaintEvent* event)
{
    QPainter p(this);
    const QImage& image = m_picture.image();
    const QRect shown = rect() & image.rect();
    // Until the first tick the picture is empty and the window shows through.
    p.fillRect(event->rect(), QColor::fromRgb(t1::colour::btnFace));
    if (!shown.isEmpty())
        p.drawImage(shown.topLeft(), image, shown);
}
