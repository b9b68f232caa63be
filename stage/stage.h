#pragma once

#include "stage/exporter.h"
#include "stage/export_formats.h"
#include "stage/keys.h"

#include <QObject>

#include <initializer_list>

class QAction;
class QWidget;
class Zoom;

// What both windows show their scene with: the zoom and full screen, the
// keys, and the saves of its files. The window keeps its scene and its own
// keys; the stage handles the zoom and full-screen keys itself.
class Stage : public QObject {
    Q_OBJECT
public:
    Stage(QWidget* window, QWidget* scene);

    Zoom& zoom() { return *m_zoom; }
    Exporter& exporter() { return m_exporter; }

    void toggleFullScreen();
    void leaveFullScreen();

    // The window's own keys, and the stage's; each once, in the key table's order.
    void installKeys(std::initializer_list<KeyHandler> windowKeys);

    // Asks where to save a file of the format, suggesting the base name with
    // the format's suffix, then writes it.
    QString save(ExportFormat format, const QString& caption, const QString& baseName, const Exporter::Writer& write);
    // Asks which file of the format to open (any file may be chosen); empty when the user gave up.
    QString askOpen(ExportFormat format, const QString& caption);

private:
    QWidget* m_window;
    Zoom* m_zoom;
    Exporter m_exporter;
    // Escape is left to the controls and dialogs but in full screen.
    QAction* m_leaveKey = nullptr;
    // What F11 leaves behind, to come back to.
    Qt::WindowStates m_stateBeforeFullScreen;
    double m_factorBeforeFullScreen = 1;
    bool m_fitBeforeFullScreen = false;
};
