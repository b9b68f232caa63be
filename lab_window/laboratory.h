#pragma once

#include "stage/exporter.h"
#include "stage/stage.h"
#include "model/analysis.h"
#include "model/experiment.h"
#include "lab_window/lab_diagram.h"
#include "lab_window/lab_plots.h"
#include "lab_window/measures_text.h"
#include "lab_window/plot_scale.h"
#include "lab_window/setup_file.h"
#include "lab_window/time_display.h"
#include "picture/surfaces.h"

#include <QImage>
#include <QWidget>

#include <array>
#include <optional>
#include <string_view>
#include <vector>

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
class SetupMenu;
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

    // Shown, raised and given the keyboard. The first time, on a screen too
    // small for the scene at 1x (a netbook, a low-resolution projector), the
    // window takes the screen, maximised, with the scene fitted to it;
    // Ctrl+0 then gives 1x with scroll bars.
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
    // The time unit the student chose for the plots, the cursor and the
    // measures; timeDisplayChanged() says when it changes.
    const TimeDisplay& timeDisplay() const { return m_timeDisplay; }
    // The measures beside the plots, one line a row.
    QString measuresShown() const { return measures->accessibleDescription(); }
    const PlotView& plotView() const { return m_view; }

    // The form, for a setup file: every parameter of the loop at once. Set,
    // they are brought inside their limits (model::sanitised), shown in
    // their fields and act as one change: from the next acquisition, or at
    // once before the first (the noise's seed at the next run). Read, they
    // are what the fields hold, every kind's fields included.
    void setParameters(const model::Parameters& parameters);
    model::Parameters parameters() const;
    // The start of the next run; at once before the first acquisition.
    void setStart(model::Start start);
    // False, and nothing changes, when the field refuses the number.
    bool setShownPeriods(int periods);
    void setTimeUnit(TimeUnit unit);

    // The setup in force, for a file: the form, the start, the periods shown
    // and the time unit, with the title of the setup last opened.
    Setup setup() const;
    // All of it at once. A run under way first becomes an earlier trace:
    // the setup starts a new run, which waits, paused, for Démarrer.
    void applySetup(const Setup& setup);
    // Reads a setup file and applies it; a file refused changes nothing.
    // The message line says what came of it; so does the answer.
    SetupReading openSetup(const QString& path);
    // Asks for a file to open, or where to save the setup in force.
    void askOpenSetup();
    void saveSetup();
    // The menu of setups: open, save, the recent files and the examples.
    SetupMenu* setupMenu() const { return m_setupMenu; }
    // What the message line says: of a file opened or saved.
    QString message() const;

    // The form's controls, built from the model's tables: one radio button
    // per row of model::kRegulators with the row's fields and presets, one
    // field per row of model::kSettings (none for the noise's seed, which
    // newSeedButton draws), one radio button per time unit.
    QRadioButton* regulatorButton(model::Regulator r) const;
    NumberField* regulatorField(model::Regulator r, std::size_t field) const;
    QPushButton* presetButton(model::Regulator r, std::size_t preset) const;
    NumberField* settingField(std::string_view key) const;
    QRadioButton* timeUnitButton(TimeUnit unit) const;
    // The button that draws a setting anew (the noise's seed); none for a setting with a field.
    QPushButton* drawButton(std::string_view key) const;
    // Under it, when a new draw waits for the next run.
    QLabel* drawNote(std::string_view key) const;
    // Every field, in Tab order.
    const std::vector<NumberField*>& fields() const { return m_fields; }

    // Controls, public as on a designed form.
    QCheckBox* quantised = nullptr;
    QRadioButton* coldStart = nullptr;
    QRadioButton* steadyStart = nullptr;
    QLabel* startNote = nullptr;
    QPushButton* newSeedButton = nullptr;  // drawButton(model::kSeed.key)
    NumberField* shownPeriods = nullptr;
    QScrollBar* speed = nullptr;
    QPushButton* startButton = nullptr;
    QPushButton* pauseButton = nullptr;
    QPushButton* periodButton = nullptr;
    QPushButton* restartButton = nullptr;
    QPushButton* clearButton = nullptr;
    // The z-plane, shown by its button instead of the poles' text and the measures.
    ZPlane* zPlane = nullptr;
    QPushButton* zPlaneButton = nullptr;
    QLabel* poles = nullptr;
    QWidget* measures = nullptr;  // drawn on the scene; says its text to a screen reader
    QLabel* legend = nullptr;
    PlotCursor* cursor = nullptr;
    ImageView* fond = nullptr;
    QPushButton* setupButton = nullptr;  // its menu is setupMenu()
    QLabel* messageLine = nullptr;

signals:
    void timeDisplayChanged(const t1::TimeDisplay& display);

protected:
    void closeEvent(QCloseEvent* event) override;
    // A setup file dropped on the window opens.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    struct Column;
    void createControls();
    void createSettings(QWidget* group, Column& column, std::size_t groupIndex);
    void createRegulators(QWidget* group, Column& column);
    void createSampling(QWidget* group, Column& column);
    void createAnimation(QWidget* group, Column& column);
    void setTabOrder();
    void installKeys();
    void fitScreen();

    model::Regulator chosenRegulator() const;
    void showParameters(const model::Parameters& p);
    void showRegulatorFields();
    void parametersEdited();
    void regulatorChosen();
    void startEdited();
    void shownPeriodsEdited(double periods);
    void applyPreset(model::Regulator r, std::size_t preset);
    void drawSetting(std::size_t setting);
    void play();
    void pause();
    void nextPeriod();
    void restart();
    void clearTraces();
    void showMessage(const QString& message, bool refused);

    void drawStep(const model::TickStep& step);
    void redrawPlots();
    void drawDiagram(bool moving);
    void showDrawn();
    void updateControls();
    void updateNotes();
    void updateTexts();
    void updateTimer();
    void showZPlane(bool shown);

    Surfaces m_surfaces;
    ImageView* m_scene = nullptr;
    Stage* m_stage = nullptr;
    QTimer* m_timer = nullptr;
    bool m_manualTicks = false;
    model::Experiment m_experiment;
    TimeDisplay m_timeDisplay;  // before m_view, which is made from it
    PlotView m_view;
    model::Theory m_theory;
    MeasureTable m_measuresShown;
    DoorView m_door;
    int m_ovenTick = 0;

    std::array<QRadioButton*, model::kRegulatorCount> m_regulatorButtons{};
    std::array<std::array<NumberField*, model::kMaxRegulatorFields>, model::kRegulatorCount> m_regulatorFields{};
    std::array<std::vector<QPushButton*>, model::kRegulatorCount> m_presetButtons;
    std::array<NumberField*, model::kSettingCount> m_settingFields{};
    // The settings a button draws rather than a field holds: their values.
    std::array<double, model::kSettingCount> m_drawn{};
    std::array<QPushButton*, model::kSettingCount> m_drawButtons{};
    std::array<QLabel*, model::kSettingCount> m_drawNotes{};
    std::array<QRadioButton*, kTimeUnits.size()> m_timeUnitButtons{};
    std::vector<NumberField*> m_fields;
    std::vector<QWidget*> m_tabOrder;
    // While the form shows parameters set from elsewhere, its own signals wait.
    bool m_showing = false;
    // What the diagram shows of the regulator, to draw it only when it changes.
    std::optional<model::Parameters> m_regulatorShown;
    bool m_fitted = false;  // fitted to a small screen once, at the first opening
    SetupMenu* m_setupMenu = nullptr;
    QString m_setupTitle;  // of the setup last opened, written again with it
};

}  // namespace t1
