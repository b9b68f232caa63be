#pragma once

#include <QObject>
#include <functional>

class QKeyEvent;
class QListWidget;
class QWidget;

// Runs a list's handler the way a list box's click event fires: once per
// mouse click on an item (also on the item already selected) and once per
// selection change made with the keyboard, and once per Space or Enter.
class ListClick : public QObject {
    Q_OBJECT
public:
    ListClick(QListWidget* list, std::function<void()> handler);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool keyPress(const QKeyEvent* key);

    QListWidget* m_list;
    QWidget* m_viewport;
    std::function<void()> m_handler;
    bool m_mouseDown = false;
    bool m_changedByMouse = false;
};
