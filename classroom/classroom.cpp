#include "classroom/classroom.h"

#include "stage/file_writes.h"
#include "classroom/help.h"
#include "classroom/pause.h"
#include "shell/temperature1.h"
#include "stage/zoom.h"
#include "lessons/lesson_table.h"

#include <QLabel>
#include <QAction>
#include <QTextEdit>

namespace {

constexpr auto kPictureCaption = u"Enregistrer l'image";
constexpr auto kValuesCaption = u"Exporter les valeurs de la boucle";
constexpr auto kNoValues = u"Aucune valeur à exporter : aucune leçon n'a encore dessiné d'instant "
                           u"depuis le dernier effacement des courbes.";
constexpr auto kNoLesson = u"Temperature1";

QString text(const char16_t* utf16)
{
    return QString::fromUtf16(utf16);
}

}  // namespace

Classroom::Classroom(TTemperature1* window)
    : QObject(window), m_window(window), m_pause(new Pause(window)), m_stage(new Stage(window, window->sceneView()))
{
    m_stage->installKeys({
        {KeyAction::TogglePause, [this] { m_pause->toggle(); }},
        {KeyAction::SingleTick, [this] { singleTick(); }},
        {KeyAction::SavePicture, [this] { savePicture(); }},
        {KeyAction::SaveValues, [this] { saveValues(); }},
        {KeyAction::Laboratory, [this] { emit laboratoryRequested(); }},
        {KeyAction::Exercises, [this] { emit exercisesRequested(); }},
        {KeyAction::Help, [this] { showHelp(); }},
    });
    connect(window, &TTemperature1::lessonTickDrawn, this, [this](const t1::AnimationState& st) { m_runLog.record(st); });
    connect(window, &TTemperature1::lessonAreaCleared, this, [this] { m_runLog.clear(); });
    connect(window, &TTemperature1::laboratoryRequested, this, &Classroom::laboratoryRequested);
    connect(window, &TTemperature1::exercisesRequested, this, &Classroom::exercisesRequested);
}

bool Classroom::paused() const
{
    return m_pause->paused();
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
    m_stage->toggleFullScreen();
}

void Classroom::leaveFullScreen()
{
    m_stage->leaveFullScreen();
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
    return safeFileName(chosen ? QString::fromUtf8(chosen->title) : text(kNoLesson));
}

QString Classroom::valuesFileName() const
{
    const t1::LessonRow* lesson = m_runLog.lesson();
    return safeFileName(lesson ? QString::fromUtf8(lesson->title) : text(kNoLesson));
}

void Classroom::savePicture()
{
    const QImage shown = picture();
    m_stage->save(ExportFormat::Picture, text(kPictureCaption), pictureFileName(),
                  [shown](const QString& path) { return writePng(shown, path); });
}

void Classroom::saveValues()
{
    if (m_runLog.empty()) {
        m_stage->exporter().nothingToSave(text(kNoValues));
        return;
    }
    const std::vector<RunRow> values = m_runLog.rows();
    m_stage->save(ExportFormat::Values, text(kValuesCaption), valuesFileName(),
                  [values](const QString& path) { return writeCsv(values, path); });
}
