#include "app/classroom.h"

#include "app/export_files.h"
#include "app/help.h"
#include "app/oven_view.h"
#include "app/pause.h"
#include "app/temperature1.h"
#include "app/zoom.h"

#include <QLabel>
#include <QListWidget>
#include <QShortcut>
#include <QTextEdit>

namespace {

constexpr auto kPictureCaption = u"Enregistrer l'image";
constexpr auto kPictureFilter = u"Images PNG (*.png)";
constexpr auto kValuesCaption = u"Exporter les valeurs de la boucle";
constexpr auto kValuesFilter = u"Valeurs séparées par des points-virgules (*.csv)";
constexpr auto kNoValues = u"Aucune valeur à exporter : aucune leçon n'a encore dessiné d'instant "
                           u"depuis le dernier effacement des courbes.";
constexpr auto kNoLesson = u"Temperature1";

constexpr auto kSurfaceName = u"Schéma de la régulation du four";
constexpr auto kSurfaceDescription =
    u"Schéma-bloc de la boucle avec la valeur de chaque signal, courbes U(t) et S(t) et textes de la leçon";
constexpr auto kOvenDescription =
    u"Le four vu de côté : couleur de l'intérieur selon la chaleur, résistance, ventilateur et capteur";
constexpr auto kModeListName = u"Mode de la leçon";
constexpr auto kCommentaryName = u"Commentaires";
constexpr auto kRecurrenceName = u"Équation de récurrence du régulateur PI";

QString text(const char16_t* utf16)
{
    return QString::fromUtf16(utf16);
}

}  // namespace

Classroom::Classroom(TTemperature1* window)
    : QObject(window),
      m_window(window),
      m_pause(new Pause(window)),
      m_zoom(new Zoom(window, window->scene().surfaces.window)),
      m_exporter(window)
{
    for (const auto& [action, shortcut] : installClassroomKeys(window, [this](ClassroomAction a) { run(a); })) {
        if (action == ClassroomAction::LeaveFullScreen) {
            shortcut->setEnabled(false);
            m_leaveKeys.push_back(shortcut);
        }
    }
    makeAccessible();
}

void Classroom::makeAccessible()
{
    m_window->setAccessibleName(text(kSurfaceName));
    m_window->setAccessibleDescription(text(kSurfaceDescription));
    m_window->FOND->setAccessibleDescription(text(kOvenDescription));
    m_window->ListBox2->setAccessibleName(text(kModeListName));
    m_window->ListBox3->setAccessibleName(text(kModeListName));
    m_window->RichEdit1->setAccessibleName(text(kCommentaryName));
    m_window->RichEdit2->setAccessibleName(text(kRecurrenceName));
    // Tab goes on to the next control rather than into the text.
    m_window->RichEdit1->setTabChangesFocus(true);
    m_window->RichEdit2->setTabChangesFocus(true);
}

bool Classroom::paused() const
{
    return m_pause->paused();
}

void Classroom::lessonTickDrawn(const t1::AnimationState& st)
{
    m_runLog.record(st);
}

void Classroom::lessonAreaCleared()
{
    m_runLog.clear();
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
    case ClassroomAction::SavePicture:
        savePicture();
        break;
    case ClassroomAction::SaveValues:
        saveValues();
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

void Classroom::showHelp()
{
    if (!m_help) {
        QStringList lessons;
        for (int i = 0; i < m_window->ListBox1->count(); ++i)
            lessons << m_window->ListBox1->item(i)->text();
        m_help = new HelpDialog(lessons, m_window);
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
    const QRect scene(QPoint(0, 0), m_window->scene().surfaces.window.image().size());
    QImage image = m_zoom->scene()->grab(scene).toImage().convertToFormat(QImage::Format_RGB32);
    sign->setVisible(signShown);
    return image;
}

QString Classroom::lessonTitle(int menuIndex) const
{
    const QListWidgetItem* item = m_window->ListBox1->item(menuIndex);
    return item ? item->text() : text(kNoLesson);
}

QString Classroom::pictureFileName() const
{
    const QList<QListWidgetItem*> chosen = m_window->ListBox1->selectedItems();
    const QString title = chosen.isEmpty() ? text(kNoLesson) : chosen.first()->text();
    return safeFileName(title) + QStringLiteral(".png");
}

QString Classroom::valuesFileName() const
{
    const int lesson = m_runLog.lesson() ? int(*m_runLog.lesson()) : -1;
    return safeFileName(lessonTitle(lesson)) + QStringLiteral(".csv");
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
