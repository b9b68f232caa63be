#pragma once

#include "app/classroom_keys.h"

#include <QObject>

class Pause;
class TTemperature1;

// What a teacher in front of a class and a student writing a report use
// besides the lessons: pause and single tick, zoom and full screen, the
// picture and the loop values saved to files, the keys and the help.
// Unused, none of it changes what the window shows or does.
class Classroom : public QObject {
    Q_OBJECT
public:
    explicit Classroom(TTemperature1* window);

    // From the window.
    bool paused() const;

    void run(ClassroomAction action);
    // Paused: draws the next tick. Running: pauses, so the next press steps.
    void singleTick();

    Pause& pause() { return *m_pause; }

private:
    TTemperature1* m_window;
    Pause* m_pause;
};
