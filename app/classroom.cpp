#include "app/classroom.h"

#include "app/pause.h"
#include "app/temperature1.h"

Classroom::Classroom(TTemperature1* window)
    : QObject(window),
      m_window(window),
      m_pause(new Pause(window))
{
    installClassroomKeys(window, [this](ClassroomAction a) { run(a); });
}

bool Classroom::paused() const
{
    return m_pause->paused();
}

void Classroom::run(ClassroomAction action)
{
    switch (action) {
    case ClassroomAction::TogglePause:
        m_pause->toggle();
        break;
    case ClassroomAction::SingleTick:
        singleTick();
        break;
    }
}

void Classroom::singleTick()
{
    if (!m_pause->paused()) {
        m_pause->setPaused(true);
        return;
    }
    m_window->drawTick();
}

