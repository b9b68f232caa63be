#include "stage/keys.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include <algorithm>

namespace {

// A field takes some window keys for its own editing (Ctrl+E, Ctrl+A...):
// while the window is active, those of its actions that carry Ctrl or a
// function key are refused to the field, so the shortcut acts instead.
class FieldKeys : public QObject {
public:
    FieldKeys(QWidget* window, QList<QKeySequence> keys) : QObject(window), m_window(window), m_keys(std::move(keys))
    {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::ShortcutOverride || QApplication::activeWindow() != m_window
            || !watched->isWidgetType())
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        const QKeySequence pressed(key->keyCombination());
        const bool command = (key->modifiers() & Qt::ControlModifier)
                             || (key->key() >= Qt::Key_F1 && key->key() <= Qt::Key_F35);
        if (!command || !m_keys.contains(pressed))
            return false;
        event->ignore();
        return true;
    }

private:
    QWidget* m_window;
    QList<QKeySequence> m_keys;
};

}  // namespace

QList<QKeySequence> keySequences(const KeyRow& key)
{
    QList<QKeySequence> sequences;
    if (key.standard != QKeySequence::UnknownKey)
        sequences = QKeySequence::keyBindings(key.standard);
    for (const char* text : key.keys) {
        if (!text)
            continue;
        const QKeySequence sequence(QString::fromLatin1(text), QKeySequence::PortableText);
        if (!sequences.contains(sequence))
            sequences.append(sequence);
    }
    return sequences;
}

std::vector<std::pair<KeyAction, QAction*>> installKeys(QWidget* window, std::span<const KeyHandler> offered)
{
    std::vector<std::pair<KeyAction, QAction*>> actions;
    QList<QKeySequence> all;
    for (const KeyRow& key : kKeys) {
        const auto handler = std::find_if(offered.begin(), offered.end(),
                                          [&key](const KeyHandler& h) { return h.action == key.action; });
        if (handler == offered.end())
            continue;
        auto* action = new QAction(QString::fromUtf8(key.help ? key.help : key.shown), window);
        action->setShortcuts(keySequences(key));
        action->setShortcutContext(Qt::WindowShortcut);
        action->setAutoRepeat(key.repeats);
        QObject::connect(action, &QAction::triggered, window, handler->run);
        window->addAction(action);
        actions.emplace_back(key.action, action);
        all += action->shortcuts();
    }
    new FieldKeys(window, all);
    return actions;
}
