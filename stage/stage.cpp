#include "stage/stage.h"

#include "stage/zoom.h"

#include <QAction>
#include <QWidget>

#include <vector>

Stage::Stage(QWidget* window, QWidget* scene)
    : QObject(window), m_window(window), m_zoom(new Zoom(window, scene)), m_exporter(window)
{
}

void Stage::installKeys(std::initializer_list<KeyHandler> windowKeys)
{
    std::vector<KeyHandler> offered(windowKeys);
    offered.insert(offered.end(), {
                                      {KeyAction::ZoomIn, [this] { m_zoom->zoomIn(); }},
                                      {KeyAction::ZoomOut, [this] { m_zoom->zoomOut(); }},
                                      {KeyAction::ZoomReset, [this] { m_zoom->reset(); }},
                                      {KeyAction::FullScreen, [this] { toggleFullScreen(); }},
                                      {KeyAction::LeaveFullScreen, [this] { leaveFullScreen(); }},
                                  });
    for (const auto& [kind, action] : ::installKeys(m_window, offered)) {
        if (kind == KeyAction::LeaveFullScreen) {
            action->setEnabled(false);
            m_leaveKey = action;
        }
    }
}

void Stage::toggleFullScreen()
{
    if (m_window->isFullScreen()) {
        leaveFullScreen();
        return;
    }
    m_stateBeforeFullScreen = m_window->windowState();
    m_factorBeforeFullScreen = m_zoom->factor();
    m_fitBeforeFullScreen = m_zoom->fitting();
    m_window->setWindowState(m_stateBeforeFullScreen | Qt::WindowFullScreen);
    m_zoom->setFit(true);
    if (m_leaveKey)
        m_leaveKey->setEnabled(true);
}

void Stage::leaveFullScreen()
{
    if (!m_window->isFullScreen())
        return;
    m_window->setWindowState(m_stateBeforeFullScreen & ~Qt::WindowFullScreen);
    if (m_fitBeforeFullScreen)
        m_zoom->setFit(true);
    else
        m_zoom->setFactor(m_factorBeforeFullScreen);
    if (m_leaveKey)
        m_leaveKey->setEnabled(false);
}

QString Stage::save(ExportFormat format, const QString& caption, const QString& baseName, const Exporter::Writer& write)
{
    const ExportFormatRow& row = exportFormat(format);
    const QString fileName = baseName + QLatin1Char('.') + QString::fromUtf16(row.suffix);
    return m_exporter.save({caption, fileName, QString::fromUtf16(row.filter)}, write);
}

QString Stage::askOpen(ExportFormat format, const QString& caption)
{
    return m_exporter.askOpen({caption, {}, QString::fromUtf16(exportFormat(format).filter)});
}
