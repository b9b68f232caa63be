#include "app/list_click.h"

#include <QListWidget>
#include <QMouseEvent>

ListClick::ListClick(QListWidget* list, std::function<void()> handler)
    : QObject(list), m_list(list), m_viewport(list->viewport()), m_handler(std::move(handler))
{
    list->viewport()->installEventFilter(this);
    connect(list, &QListWidget::currentRowChanged, this, [this] {
        // A press changes the selection before its release: wait for the release.
        if (m_mouseDown)
            m_changedByMouse = true;
        else
            m_handler();
    });
}

bool ListClick::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_viewport)
        return false;
    if (event->type() == QEvent::MouseButtonPress) {
        m_mouseDown = true;
        m_changedByMouse = false;
    } else if (event->type() == QEvent::MouseButtonRelease && m_mouseDown) {
        m_mouseDown = false;
        const auto* me = static_cast<QMouseEvent*>(event);
        const bool onItem = m_list->indexAt(me->position().toPoint()).isValid();
        const bool changed = m_changedByMouse;
        m_changedByMouse = false;
        if (onItem || changed)
            m_handler();
    }
    return false;
}
