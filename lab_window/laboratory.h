#pragma once

#include "stage/exporter.h"
#include "stage/stage.h"
#include "model/analysis.h"
#include "model/experiment.h"
#include "lab_window/lab_diagram.h"
#include "lab_window/measures_text.h"
#include "lab_window/plot_scale.h"
#include "picture/surfaces.h"

#include <QImage>
#include <QWidget>

#include <optional>

class ImageView;
class QAction;
class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QTimer;
class Zoom;

namespace t1 {

class NumberField;
class PlotCursor;
class ZPlane;

// The laboratory's scene: the diagram band of the lessons, the plots and the
// measures beside them, the controls below. Fits a 1024 x 768 projector at 1x
// with the window's frame.
inline constexpr int kLabSceneWidth = 1000;
inline constexpr int kLabSceneHeight = 690;

// The Laboratoire: the lessons' sampled oven loop simulated for real, with
// the student's parameters, drawn as the lessons draw it. Its own window,
// beside the lessons; closed, it keeps its run for the next opening, paused.
class Laboratory : public QWidget {
    Q_OBJECT
public:
    explicit Laboratory(QWidget* parent = nullptr);
    ~Laboratory() override;

    // Shown, raised and given the keyboard.
    void showRaised();

    // The timer's handler: one tick of the animation.
    void tick();
    // Paused: one tick more. Running: pauses.
    void singleTick();
    // Tests drive the ticks themselves: the timer then never starts.
    void setManualTicks(bool manual);

    void toggleFullScreen();
    void leaveFullScreen();

    // The scene at its own size, as the student sees it.
    QImage picture();
    // The acquisitions of the run, in the lessons' CSV format.
    QString valuesText() const;
    void savePicture();
    void saveValues();

    const model::Experiment& experiment() const { return m_experiment; }
    const Surfaces& surfaces() const { return m_surfaces; }
    QWidget* sceneView() const;
    Zoom& zoom() { return m_stage->zoom(); }
    Exporter& exporter() { return m_stage->exporter(); }
    QTimer* timer() const { return m_timer; }
    // What the diagram shows: the cursor's acquisition, or the live values.
    DiagramValues shownValues() const;
    // The measures beside the plots, one line a row.
    QString measuresShown() const { return measures->accessibleDescription(); }

    // Controls, public as on a designed form.
    NumberField* setPoint = nullptr;
    QRadioButton* kindP = nullptr;
    QRadioButton* kindPI = nullptr;
    NumberField* gain = nullptr;
    NumberField* q0 = nullptr;
    NumberField* q1 = nullptr;
    QPushButton* deadbeatButton = nullptr;
    NumberField* ratio = nullptr;
    QCheckBox* quantised = nullptr;
    QRadioButton* coldStart = nullptr;
    QRadioButton* steadyStart = nullptr;
    QLabel* startNote = nullptr;
    NumberField* doorFrom = nullptr;
    NumberField* doorPeriods = nullptr;
    NumberField* drop = nullptr;
    NumberField* doorRatio = nullptr;
    NumberField* shownPeriods = nullptr;
    QScrollBar* speed = nullptr;
    QPushButton* startButton = nullptr;
    QPushButton* pauseButton = nullptr;
    QPushButton* periodButton = nullptr;
    QPushButton* restartButton = nullptr;
    QPushButton* clearButton = nullptr;
    ZPlane* zPlane = nullptr;
    QLabel* poles = nullptr;  // the z-plane's text of the poles
    QWidget* measures = nullptr;  // drawn on the scene; says its text to a screen reader
    QLabel* legend = nullptr;
    PlotCursor* cursor = nullptr;
    ImageView* fond = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    void createForm(QWidget* group);
    void createSampling(QWidget* group);
    void createDoor(QWidget* group);
    void createAnimation(QWidget* group);
    void setTabOrder();
    void installKeys();

    model::Parameters formParameters() const;
    void parametersEdited();
    void startEdited();
    void shownPeriodsEdited(double periods);
    void applyDeadbeat();
    void play();
    void pause();
    void nextPeriod();
    void restart();
    void clearTraces();

    void drawStep(const model::TickStep& step);
    void redrawPlots();
    void drawDiagram(bool moving);
    void showDrawn();
    void updateControls();
    void updateTexts();
    void updateTimer();

    Surfaces m_surfaces;
    ImageView* m_scene = nullptr;
    Stage* m_stage = nullptr;
    QTimer* m_timer = nullptr;
    bool m_manualTicks = false;
    model::Experiment m_experiment;
    PlotScale m_scale;
    model::Theory m_theory;
    MeasureTable m_measuresShown;
    DoorView m_door;
    int m_ovenTick = 0;
};

}  // namespace t1
