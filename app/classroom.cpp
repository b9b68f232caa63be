#include "app/classroom.h"

#include "app/pause.h"
#include "app/temperature1.h"
#include "app/zoom.h"

#include <QShortcut>

Classroom::Classroom(TTemperature1* window)
    : QObject(window),
      m_window(window),
      m_pause(new Pause(window)),
      m_zoom(new Zoom(window, window->scene().surfaces.window))
{
    for (const auto& [action, shortcut] : installClassroomKeys(window, [this](ClassroomAction a) { run(a); })) {
        if (action == ClassroomAction::LeaveFullScreen) {
            shortcut->setEnabled(false);
            m_leaveKeys.push_back(shortcut);
        }
    }
}

bool Classroom::paused() const
{
    return m_pause->paused();
}

void Classroom::surfaceDrawn(const QRect& changed)
{
    m_zoom->surfaceDrawn(changed);
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
    case ClassroomAction::ZoomIn:
        m_zoom->zoomIn();
        break;
    case ClassroomAction::ZoomOut:
        m_zoom->zoomOut();
        break;
    case ClassroomAction::ZoomReset:
        m_zoom->reset();
        break;
    case ClassroomAction::FullScreen:
        toggleFullScreen();
        break;
    case ClassroomAction::LeaveFullScreen:
        leaveFullScreen();
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

void Classroom::toggleFullScreen()
{
    if (m_window->isFullScreen()) {
        leaveFullScreen();
        return;
    }
    m_stateBeforeFullScreen = m_window->windowState();
    m_factorBeforeFullScreen = m_zoom->factor();
    m_window->setWindowState(m_stateBeforeFullScreen | Qt::WindowFullScreen);
    m_zoom->setFit(true);
    for (QShortcut* key : m_leaveKeys)
        key->setEnabled(true);
}

void Classroom::leaveFullScreen()
{
    if (!m_window->isFullScreen())
        return;
    m_window->setWindowState(m_stateBeforeFullScreen & ~Qt::WindowFullScreen);
    m_zoom->setFactor(m_factorBeforeFullScreen);
    for (QShortcut* key : m_leaveKeys)
        key->setEnabled(false);
}

