#pragma once

#include "classroom/help.h"
#include "classroom/run_log.h"
#include "stage/stage.h"

#include <QImage>
#include <QObject>
#include <QPointer>

class Pause;
class TTemperature1;
class Zoom;

namespace t1 {
struct AnimationState;
}

// What a teacher in front of a class and a student writing a report use
// besides the lessons: pause and single tick, zoom and full screen, the
// picture and the loop values saved to files, the keys and the help.
// Unused, none of it changes what the window shows or does.
class Classroom : public QObject {
    Q_OBJECT
public:
    explicit Classroom(TTemperature1* window);

    bool paused() const;

    // Paused: draws the next tick. Running: pauses, so the next press steps.
    void singleTick();
    void toggleFullScreen();
    void leaveFullScreen();
    void showHelp();

    // The scene at its own size as the student sees it, less the pause sign.
    QImage picture();
    // Default file names: the lesson's title made safe.
    QString pictureFileName() const;
    QString valuesFileName() const;
    // Ask for a file, then write; the data is taken when the key is pressed.
    void savePicture();
    void saveValues();

    Pause& pause() { return *m_pause; }
    Zoom& zoom() { return m_stage->zoom(); }
    Stage& stage() { return *m_stage; }
    const RunLog& runLog() const { return m_runLog; }
    Exporter& exporter() { return m_stage->exporter(); }
    HelpDialog* help() const { return m_help; }

signals:
    // F2, or the window's own "Laboratoire".
    void laboratoryRequested();
    // F3, or the window's own "Exercices".
    void exercisesRequested();

private:

    TTemperature1* m_window;
    Pause* m_pause;
    Stage* m_stage;
    RunLog m_runLog;
    QPointer<HelpDialog> m_help;
};
