#include "classroom/classroom.h"

#include "classroom/export_files.h"
#include "classroom/help.h"
#include "classroom/pause.h"
#include "shell/temperature1.h"
#include "classroom/zoom.h"
#include "lessons/lesson_table.h"

#include <QLabel>
#include <QAction>
#include <QTextEdit>

namespace {

constexpr auto kPictureCaption = u"Enregistrer l'image";
constexpr auto kPictureFilter = u"Images PNG (*.png)";
constexpr auto kValuesCaption = u"Exporter les valeurs de la boucle";
constexpr auto kValuesFilter = u"Valeurs séparées par des points-virgules (*.csv)";
constexpr auto kNoValues = u"Aucune valeur à exporter : aucune leçon n'a encore dessiné d'instant "
                           u"depuis le dernier effacement des courbes.";
constexpr auto kNoLesson = u"Temperature1";

QString text(const char16_t* utf16)
{
    return QString::fromUtf16(utf16);
}

}  // namespace

Classroom::Classroom(TTemperature1* window)
    : QObject(window),
      m_window(window),
      m_pause(new Pause(window)),
      m_zoom(new Zoom(window, window->sceneView())),
      m_exporter(window)
{
    for (const auto& [kind, action] : installClassroomKeys(window, [this](ClassroomAction a) { run(a); })) {
        if (kind == ClassroomAction::LeaveFullScreen) {
            action->setEnabled(false);
            m_leaveKey = action;
        }
    }
    connect(window, &TTemperature1::lessonTickDrawn, this, [this](const t1::AnimationState& st) { m_runLog.record(st); });
    connect(window, &TTemperature1::lessonAreaCleared, this, [this] { m_runLog.clear(); });
    connect(window, &TTemperature1::laboratoryRequested, this, &Classroom::laboratoryRequested);
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
    case ClassroomAction::SavePicture:
        savePicture();
        break;
    case ClassroomAction::SaveValues:
        saveValues();
        break;
    case ClassroomAction::Laboratory:
        emit laboratoryRequested();
        break;
    case ClassroomAction::Help:
        showHelp();
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
    m_leaveKey->setEnabled(true);
}

void Classroom::leaveFullScreen()
{
    if (!m_window->isFullScreen())
        return;
    m_window->setWindowState(m_stateBeforeFullScreen & ~Qt::WindowFullScreen);
    m_zoom->setFactor(m_factorBeforeFullScreen);
    m_leaveKey->setEnabled(false);
}

void Classroom::showHelp()
{
    if (!m_help) {
        m_help = new HelpDialog(m_window);
    }
    m_help->show();
    m_help->raise();
    m_help->activateWindow();
}

QImage Classroom::picture()
{
    QLabel* sign = m_pause->indicator();
    const bool signShown = !sign->isHidden();
    sign->hide();
    QImage image = m_window->sceneView()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    sign->setVisible(signShown);
    return image;
}

QString Classroom::pictureFileName() const
{
    const t1::LessonRow* chosen = m_window->chosenLesson();
    return safeFileName(chosen ? QString::fromUtf8(chosen->title) : text(kNoLesson)) + QStringLiteral(".png");
}

QString Classroom::valuesFileName() const
{
    const std::optional<t1::Lesson> lesson = m_runLog.lesson();
    const QString title = lesson ? QString::fromUtf8(t1::lessonRow(*lesson).title) : text(kNoLesson);
    return safeFileName(title) + QStringLiteral(".csv");
}

void Classroom::savePicture()
{
    const QImage shown = picture();
    m_exporter.save({text(kPictureCaption), pictureFileName(), text(kPictureFilter)},
                    [shown](const QString& path) { return writePng(shown, path); });
}

void Classroom::saveValues()
{
    if (m_runLog.empty()) {
        m_exporter.nothingToSave(text(kNoValues));
        return;
    }
    const RunLog values = m_runLog;
    m_exporter.save({text(kValuesCaption), valuesFileName(), text(kValuesFilter)},
                    [values](const QString& path) { return writeCsv(values, path); });
}
