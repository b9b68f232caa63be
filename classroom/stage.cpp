#include "classroom/stage.h"

#include "picture/canvas.h"

#include <QPaintEvent>
#include <QPainter>

Stage::Stage(const t1::Canvas& surface) : m_surface(surface)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedSize(surface.image().size());
}

void Stage::paintEvent(QPaintEvent* event)
{
    QPainter p(this);
    const QImage& image = m_surface.image();
    for (const QRect& r : event->region())
        p.drawImage(r.topLeft(), image, r);
}

bool Stage::focusNextPrevChild(bool next)
{
    if (QWidget::focusNextPrevChild(next))
        return true;
    QWidget* w = next ? nextInFocusChain() : previousInFocusChain();
    for (; w != this; w = next ? w->nextInFocusChain() : w->previousInFocusChain()) {
        const bool takesTab = (w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && w->isVisibleTo(this);
        if (takesTab && !w->focusProxy()) {
            w->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return true;
        }
    }
    return false;
}
