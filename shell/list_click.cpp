#include "shell/list_click.h"

#include <QKeyEvent>
#include <QListWidget>
#include <QMouseEvent>

ListClick::ListClick(QListWidget* list, std::function<void()> handler)
    : QObject(list), m_list(list), m_viewport(list->viewport()), m_handler(std::move(handler))
{
    m_viewport->installEventFilter(this);
    m_list->installEventFilter(this);
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
    if (watched == m_list && event->type() == QEvent::KeyPress)
        return keyPress(static_cast<QKeyEvent*>(event));
    // Compared with the viewport kept from construction: while the window is
    // destroyed, the viewport still gets events after the list is half gone.
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

bool ListClick::keyPress(const QKeyEvent* key)
{
    // Space or Enter on the marked row acts as a click on it. The row the
    // list marks when it gets the focus is not selected yet: a plain list
    // would select it without a click.
    const bool choose = key->key() == Qt::Key_Space || key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    const int row = m_list->currentRow();
    if (!choose || key->modifiers() != Qt::NoModifier || row < 0)
        return false;
    m_list->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
    m_handler();
    return true;
}
