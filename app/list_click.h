#pragma once

#include <QObject>
#include <functional>

class QListWidget;

// Runs a list's handler the way a list box's click event fires: once per
// mouse click on an item (also on the item already selected) and once per
// selection change made with the keyboard.
class ListClick : public QObject {
    Q_OBJECT
public:
    ListClick(QListWidget* list, std::function<void()> handler);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QListWidget* m_list;
    // Kept apart: the list may already be half destroyed when its viewport's
    // last events come through the filter.
    QObject* m_viewport;
    std::function<void()> m_handler;
    bool m_mouseDown = false;
    bool m_changedByMouse = false;
};
