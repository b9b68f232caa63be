#include "classroom/classroom_keys.h"

#include <QAction>
#include <QWidget>

QList<QKeySequence> keySequences(const ClassroomKey& key)
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

std::vector<std::pair<ClassroomAction, QAction*>> installClassroomKeys(
    QWidget* window, const std::function<void(ClassroomAction)>& run)
{
    std::vector<std::pair<ClassroomAction, QAction*>> actions;
    for (const ClassroomKey& key : kClassroomKeys) {
        auto* action = new QAction(QString::fromUtf8(key.help ? key.help : key.shown), window);
        action->setShortcuts(keySequences(key));
        action->setShortcutContext(Qt::WindowShortcut);
        action->setAutoRepeat(key.repeats);
        QObject::connect(action, &QAction::triggered, window, [run, a = key.action] { run(a); });
        window->addAction(action);
        actions.emplace_back(key.action, action);
    }
    return actions;
}
