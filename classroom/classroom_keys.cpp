#include "classroom/classroom_keys.h"

#include <QShortcut>
#include <QWidget>

std::vector<std::pair<ClassroomAction, QShortcut*>> installClassroomKeys(
    QWidget* window, const std::function<void(ClassroomAction)>& run)
{
    std::vector<std::pair<ClassroomAction, QShortcut*>> shortcuts;
    for (const ClassroomKey& key : kClassroomKeys) {
        for (const char* text : key.keys) {
            if (!text)
                continue;
            auto* shortcut = new QShortcut(QKeySequence(QString::fromLatin1(text), QKeySequence::PortableText), window);
            shortcut->setAutoRepeat(key.repeats);
            QObject::connect(shortcut, &QShortcut::activated, window, [run, action = key.action] { run(action); });
            shortcuts.emplace_back(key.action, shortcut);
        }
    }
    return shortcuts;
}
