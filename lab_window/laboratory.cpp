#include "lab_window/laboratory.h"

#include "stage/file_writes.h"
#include "stage/stage.h"
#include "stage/zoom.h"
#include "model/converters.h"
#include "model/regulators.h"
#include "lab_window/fields.h"
#include "lab_window/lab_plots.h"
#include "lab_window/measures_text.h"
#include "lab_window/number_field.h"
#include "lab_window/plot_cursor.h"
#include "lab_window/run_texts.h"
#include "lab_window/sample_rows.h"
#include "lab_window/z_plane.h"
#include "picture/block_diagram.h"
#include "picture/colours.h"
#include "picture/fonts.h"
#include "picture/readouts.h"
#include "picture/sprites.h"
#include "stage/image_view.h"
#include "stage/speed_bar.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGraphicsView>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>
#include <array>

namespace t1 {

namespace {

struct Geometry {
    int left, top, width, height;
};

void place(QWidget* w, const Geometry& g)
{
    w->setGeometry(g.left, g.top, g.width, g.height);
}

constexpr auto kWindowTitle = u"Laboratoire — Temperature1";
constexpr auto kSceneName = u"Laboratoire : la boucle échantillonnée simulée";
constexpr auto kSceneDescription =
    u"Schéma-bloc de la boucle avec la valeur de chaque signal, le four, les courbes U(t) et S(t), "
    u"les mesures et les réglages";

// The top band: the lessons' diagram and the title.
constexpr Geometry kTitle{16, 6, 300, 22};
constexpr Geometry kFond{kFondLeft, kFondTop, kFondWidth, kFondHeight};
// The column right of the diagram and the plots: the z-plane (its own
// panel), the measures and the legend under it.
constexpr Geometry kMeasures{804, 240, 192, 98};
constexpr Geometry kLegend{804, 342, 192, 86};

// The controls' band, four groups side by side.
constexpr Geometry kFormGroup{4, 432, 240, 254};
constexpr Geometry kSamplingGroup{248, 432, 222, 254};
constexpr Geometry kDoorGroup{474, 432, 222, 254};
constexpr Geometry kAnimationGroup{700, 432, 296, 254};

// Rows inside a group: a field's box and its message two lines under it.
constexpr int kRow1 = 20;
constexpr int kRowStep = 44;
constexpr int kInset = 8;
constexpr FieldPlace kSetPointPlace{kInset, kRow1, 84, 44, 224};
constexpr Geometry kKindName{kInset, kRow1 + kRowStep, 76, 20};
constexpr Geometry kKindP{kInset + 84, kRow1 + kRowStep, 40, 20};
constexpr Geometry kKindPI{kInset + 128, kRow1 + kRowStep, 44, 20};
constexpr int kGainTop = kRow1 + kRowStep + 24;
constexpr FieldPlace kGainPlace{kInset, kGainTop, 84, 56, 224};
constexpr FieldPlace kQ0Place{kInset, kGainTop + kRowStep, 84, 56, 140};
constexpr FieldPlace kQ1Place{kInset, kGainTop + 2 * kRowStep, 84, 56, 140};
constexpr Geometry kDeadbeat{152, kGainTop + kRowStep, 80, 24};

constexpr FieldPlace kRatioPlace{kInset, kRow1, 50, 60, 206};
constexpr Geometry kQuantised{kInset, kRow1 + kRowStep, 206, 20};
constexpr Geometry kStartName{kInset, kRow1 + kRowStep + 26, 206, 16};
constexpr Geometry kColdStart{kInset + 8, kRow1 + kRowStep + 44, 198, 20};
constexpr Geometry kSteadyStart{kInset + 8, kRow1 + kRowStep + 64, 198, 20};
constexpr Geometry kStartNote{kInset, kRow1 + kRowStep + 88, 206, 78};

constexpr FieldPlace kDoorFromPlace{kInset, kRow1, 112, 44, 206};
constexpr FieldPlace kDoorPeriodsPlace{kInset, kRow1 + kRowStep, 112, 44, 206};
constexpr FieldPlace kDropPlace{kInset, kRow1 + 2 * kRowStep, 112, 44, 206};
constexpr FieldPlace kDoorRatioPlace{kInset, kRow1 + 3 * kRowStep, 112, 52, 206};

constexpr FieldPlace kShownPlace{kInset, kRow1, 116, 40, 280};
constexpr Geometry kSpeedName{kInset, kRow1 + kRowStep, 200, 14};
constexpr Geometry kSpeedSigns{kInset + 16, kRow1 + kRowStep + 12, 150, 24};
constexpr Geometry kSpeedBar{kInset, kRow1 + kRowStep + 34, 180, 16};
constexpr int kButtonsTop = kRow1 + 2 * kRowStep + 18;
constexpr Geometry kStartButton{kInset, kButtonsTop, 88, 24};
constexpr Geometry kPauseButton{kInset + 94, kButtonsTop, 88, 24};
constexpr Geometry kPeriodButton{kInset + 188, kButtonsTop, 92, 24};
constexpr Geometry kRestartButton{kInset, kButtonsTop + 30, 134, 24};
constexpr Geometry kClearButton{kInset + 146, kButtonsTop + 30, 134, 24};
constexpr Geometry kHint{kInset, kButtonsTop + 60, 280, 36};

constexpr int kCoefficientDecimals = 2;
constexpr int kCelsiusDecimals = 1;

constexpr QRgb kTitleColour = colour::maroon;
constexpr QRgb kSpeedColour = colour::olive;

constexpr auto kPictureCaption = u"Enregistrer l'image du laboratoire";
constexpr auto kValuesCaption = u"Exporter les acquisitions du laboratoire";
constexpr auto kFileName = u"Laboratoire";
constexpr auto kNoValues = u"Aucune valeur à exporter : la simulation n'a encore fait aucune acquisition.";

QString text(const char16_t* utf16)
{
    return QString::fromUtf16(utf16);
}

QString text(const std::string& utf8)
{
    return QString::fromStdString(utf8);
}

QLabel* makeLabel(QWidget* parent, const Geometry& g, const QString& caption)
{
    auto* label = new QLabel(caption, parent);
    place(label, g);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QLabel* makeText(QWidget* parent, const Geometry& g)
{
    QLabel* label = makeLabel(parent, g, {});
    label->setWordWrap(true);
    label->setTextFormat(Qt::RichText);
    label->setFont(fonts::make(fonts::pt8));
    return label;
}

void colourText(QWidget* w, QRgb c)
{
    QPalette pal = w->palette();
    pal.setColor(QPalette::WindowText, QColor::fromRgb(c));
    w->setPalette(pal);
}

QPushButton* makeButton(QWidget* parent, const Geometry& g, const QString& caption, const QString& tip)
{
    auto* button = new QPushButton(caption, parent);
    place(button, g);
    button->setToolTip(tip);
    return button;
}

QGroupBox* makeGroup(QWidget* scene, const Geometry& g, const QString& title)
{
    auto* group = new QGroupBox(title, scene);
    place(group, g);
    return group;
}

// A label lays its rich text out again on every change: only when it changes.
void setTextIfNew(QLabel* label, const QString& text)
{
    if (label->text() != text)
        label->setText(text);
}

QString celsiusNote(double e)
{
    return QStringLiteral("= %1 °C").arg(text(formatDecimal(model::setPointCelsius(e), kCelsiusDecimals)));
}

}  // namespace

Laboratory::Laboratory(QWidget* parent)
    : QWidget(parent, Qt::Window), m_scale(m_experiment.shownPeriods())
{
    setObjectName(QStringLiteral("Laboratoire"));
    setWindowTitle(text(kWindowTitle));
    setWindowIcon(QIcon(QStringLiteral(":/icons/temperature1.svg")));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor::fromRgb(colour::btnFace));
    setPalette(pal);
    resize(kLabSceneWidth, kLabSceneHeight);

    m_surfaces.window.setImage([] {
        QImage image(kLabSceneWidth, kLabSceneHeight, QImage::Format_RGB32);
        image.fill(colour::btnFace);
        return image;
    }());
    m_scene = new ImageView(m_surfaces.window, colour::btnFace, this);
    m_scene->setObjectName(QStringLiteral("laboratoryScene"));
    m_scene->setFixedSize(kLabSceneWidth, kLabSceneHeight);
    pal.setColor(QPalette::Button, QColor::fromRgb(colour::btnFace));
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
        pal.setColor(role, QColor::fromRgb(colour::blue));
    m_scene->setPalette(pal);
    m_scene->setFont(fonts::make(fonts::pt8));
    m_scene->setAccessibleName(text(kSceneName));
    m_scene->setAccessibleDescription(text(kSceneDescription));

    buildSprites(m_surfaces);
    createControls();
    setTabOrder();
    m_stage = new Stage(this, m_scene);
    installKeys();

    m_timer = new QTimer(this);
    m_timer->setTimerType(Qt::PreciseTimer);
    m_timer->setInterval(kSpeedDefault);
    connect(m_timer, &QTimer::timeout, this, &Laboratory::tick);

    drawBlockDiagram(m_surfaces.window);
    drawClosedFeedback(m_surfaces.window);
    m_theory = model::theory(m_experiment.parameters());
    zPlane->redraw(m_surfaces.window, m_experiment.parameters(), m_theory.poles);
    redrawPlots();
    drawLabRegulator(m_surfaces.window, m_experiment.parameters());
    drawDiagram(false);
    updateControls();
    showDrawn();
}

Laboratory::~Laboratory()
{
    // A field losing the keyboard as its window goes reads its text: not
    // into a window half destroyed.
    for (NumberField* field : findChildren<NumberField*>())
        disconnect(field, nullptr, this, nullptr);
    freeSprites(m_surfaces);
}

QWidget* Laboratory::sceneView() const
{
    return m_scene;
}

void Laboratory::createControls()
{
    QWidget* scene = m_scene;
    QLabel* title = makeLabel(scene, kTitle, QStringLiteral("Laboratoire"));
    title->setFont(fonts::make(fonts::pt12, true));
    colourText(title, kTitleColour);

    fond = new ImageView(m_surfaces.fond, colour::btnFace, scene);
    fond->setAccessibleName(QStringLiteral("Vue du four"));
    fond->setAccessibleDescription(
        QStringLiteral("Le four vu de côté : couleur de l'intérieur selon la température, ventilateur et porte"));
    place(fond, kFond);

    zPlane = new ZPlane(scene);
    poles = zPlane->listing();
    measures = new QWidget(scene);
    place(measures, kMeasures);
    measures->setAccessibleName(QStringLiteral("Mesures"));
    legend = makeText(scene, kLegend);
    legend->setAccessibleName(QStringLiteral("Essais précédents"));

    cursor = new PlotCursor(scene);
    connect(cursor, &PlotCursor::sampleChanged, this, [this] {
        drawDiagram(false);
        showDrawn();
    });

    createForm(makeGroup(scene, kFormGroup, QStringLiteral("Consigne et régulateur")));
    createSampling(makeGroup(scene, kSamplingGroup, QStringLiteral("Échantillonnage et départ")));
    createDoor(makeGroup(scene, kDoorGroup, QStringLiteral("Porte du four (perturbation)")));
    createAnimation(makeGroup(scene, kAnimationGroup, QStringLiteral("Affichage et animation")));
}

void Laboratory::createForm(QWidget* group)
{
    const model::Parameters p = m_experiment.parameters();
    setPoint = new NumberField(group, Field::SetPoint, kSetPointPlace, QStringLiteral("&E (points) :"), p.e);
    setPoint->setNote(celsiusNote(p.e));
    makeLabel(group, kKindName, QStringLiteral("Régulateur :"))->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    kindP = new QRadioButton(QStringLiteral("&P"), group);
    place(kindP, kKindP);
    kindP->setAccessibleName(QStringLiteral("Régulateur proportionnel (P)"));
    kindPI = new QRadioButton(QStringLiteral("P&I"), group);
    place(kindPI, kKindPI);
    kindPI->setAccessibleName(QStringLiteral("Régulateur proportionnel intégral (PI)"));
    auto* kinds = new QButtonGroup(group);
    kinds->addButton(kindP);
    kinds->addButton(kindPI);
    (p.regulator == model::Regulator::PI ? kindPI : kindP)->setChecked(true);
    connect(kindP, &QRadioButton::toggled, this, [this] { parametersEdited(); });

    using model::Regulator;
    gain = new NumberField(group, Field::Gain, kGainPlace, QStringLiteral("&G :"), p.field(Regulator::P, model::kGainField));
    q0 = new NumberField(group, Field::Q0, kQ0Place, QStringLiteral("q&0 :"), p.field(Regulator::PI, model::kQ0Field),
                         kCoefficientDecimals);
    q1 = new NumberField(group, Field::Q1, kQ1Place, QStringLiteral("q&1 :"), p.field(Regulator::PI, model::kQ1Field),
                         kCoefficientDecimals);
    deadbeatButton = makeButton(group, kDeadbeat, QStringLiteral("Réponse pi&le"),
                                QStringLiteral("q0 = 1/(1 − a) et q1 = −a/(1 − a), a = exp(−T/T1) : "
                                               "X atteint E en une période"));
    connect(deadbeatButton, &QPushButton::clicked, this, &Laboratory::applyDeadbeat);
    setPoint->edit()->setToolTip(QStringLiteral("La consigne, de 0 à 255 points (0 à 10 V)"));
    gain->edit()->setToolTip(QStringLiteral("Régulateur P : Epu = G·Ep"));
    q0->edit()->setToolTip(QStringLiteral("Régulateur PI : Epu(k) = Epu(k−1) + q0·Ep(k) + q1·Ep(k−1)"));
    q1->edit()->setToolTip(q0->edit()->toolTip());
}

void Laboratory::createSampling(QWidget* group)
{
    const model::Parameters p = m_experiment.parameters();
    ratio = new NumberField(group, Field::Ratio, kRatioPlace, QStringLiteral("&T/T1 :"), p.ratio);
    ratio->setNote(text(ratioLabel(p.ratio)));
    ratio->edit()->setToolTip(QStringLiteral("La période d'échantillonnage rapportée à la constante de temps "
                                             "du four : 0,2 ou 1/5, de 1/20 à 2"));
    quantised = new QCheckBox(QStringLiteral("&Quantification (8 bits)"), group);
    place(quantised, kQuantised);
    quantised->setChecked(p.quantised);
    quantised->setToolTip(QStringLiteral("Les convertisseurs arrondissent à un point (10/255 V)"));
    connect(quantised, &QCheckBox::toggled, this, [this] { parametersEdited(); });

    makeLabel(group, kStartName, QStringLiteral("Départ :"));
    coldStart = new QRadioButton(QStringLiteral("four &froid (S = 0 V)"), group);
    place(coldStart, kColdStart);
    steadyStart = new QRadioButton(QStringLiteral("régime perma&nent"), group);
    place(steadyStart, kSteadyStart);
    auto* starts = new QButtonGroup(group);
    starts->addButton(coldStart);
    starts->addButton(steadyStart);
    coldStart->setChecked(true);
    coldStart->setAccessibleName(QStringLiteral("Départ four froid"));
    steadyStart->setAccessibleName(QStringLiteral("Départ en régime permanent"));
    connect(coldStart, &QRadioButton::toggled, this, &Laboratory::startEdited);
    startNote = makeText(group, kStartNote);
    startNote->setFont(fonts::make(fonts::pt7));
}

void Laboratory::createDoor(QWidget* group)
{
    const model::Door d = m_experiment.parameters().door;
    doorFrom = new NumberField(group, Field::DoorFrom, kDoorFromPlace, QStringLiteral("&Ouverte à la période :"),
                               d.from);
    doorPeriods = new NumberField(group, Field::DoorPeriods, kDoorPeriodsPlace, QStringLiteral("Pe&ndant :"),
                                  d.periods);
    doorPeriods->setNote(QStringLiteral("périodes"));
    doorPeriods->edit()->setToolTip(QStringLiteral("Combien de périodes la porte reste ouverte ; 0 : elle reste fermée"));
    drop = new NumberField(group, Field::Drop, kDropPlace, QStringLiteral("C&hute D :"), d.drop);
    drop->setNote(QStringLiteral("V"));
    drop->edit()->setToolTip(QStringLiteral("Porte ouverte, le four tend vers U − D"));
    doorRatio = new NumberField(group, Field::DoorRatio, kDoorRatioPlace, QStringLiteral("&Constante T1d/T1 :"),
                                d.ratio);
    doorRatio->edit()->setToolTip(QStringLiteral("La constante de temps du four porte ouverte, rapportée à T1"));
    doorFrom->edit()->setToolTip(QStringLiteral("La période pendant laquelle la porte s'ouvre, comptée de 1"));
}

void Laboratory::createAnimation(QWidget* group)
{
    shownPeriods = new NumberField(group, Field::ShownPeriods, kShownPlace, QStringLiteral("Périodes &affichées :"),
                                   m_experiment.shownPeriods());
    shownPeriods->setNote(QStringLiteral("(6 à 40)"));
    shownPeriods->setCheck([this](double periods) -> std::string {
        const int needed = m_experiment.periodsNeeded();
        if (periods >= needed)
            return {};
        return "Déjà " + std::to_string(needed) + " périodes simulées : recommencez pour en afficher moins.";
    });
    connect(shownPeriods, &NumberField::accepted, this, &Laboratory::shownPeriodsEdited);

    QLabel* speedName = makeLabel(group, kSpeedName, QStringLiteral("Réglage &vitesse animation"));
    colourText(speedName, kSpeedColour);
    QLabel* signs = makeLabel(group, kSpeedSigns, QStringLiteral("+                      -"));
    signs->setFont(fonts::make(fonts::pt14));
    colourText(signs, kSpeedColour);
    speed = new QScrollBar(Qt::Horizontal, group);
    place(speed, kSpeedBar);
    setUpSpeedBar(speed);
    speedName->setBuddy(speed);
    connect(speed, &QScrollBar::valueChanged, this, [this](int ms) { m_timer->setInterval(ms); });

    startButton = makeButton(group, kStartButton, QStringLiteral("Dé&marrer"),
                             QStringLiteral("Lancer ou reprendre l'animation (P)"));
    pauseButton = makeButton(group, kPauseButton, QStringLiteral("Pa&use"), QStringLiteral("Arrêter l'animation (P)"));
    periodButton = makeButton(group, kPeriodButton, QStringLiteral("Période &suivante"),
                              QStringLiteral("Dérouler une période, puis s'arrêter"));
    restartButton = makeButton(group, kRestartButton, QStringLiteral("&Recommencer"),
                               QStringLiteral("La courbe en cours devient un essai précédent, un nouvel essai commence"));
    clearButton = makeButton(group, kClearButton, QStringLiteral("Effacer les cour&bes"),
                             QStringLiteral("Effacer les essais précédents"));
    connect(startButton, &QPushButton::clicked, this, &Laboratory::play);
    connect(pauseButton, &QPushButton::clicked, this, &Laboratory::pause);
    connect(periodButton, &QPushButton::clicked, this, &Laboratory::nextPeriod);
    connect(restartButton, &QPushButton::clicked, this, &Laboratory::restart);
    connect(clearButton, &QPushButton::clicked, this, &Laboratory::clearTraces);

    QLabel* hint = makeText(group, kHint);
    hint->setFont(fonts::make(fonts::pt7));
    hint->setText(QStringLiteral("Souris ou flèches gauche et droite sur les courbes : valeurs d'une acquisition ; "
                                 "Fin : valeurs en cours. Ctrl+S : image, Ctrl+E : valeurs (CSV)."));

    for (NumberField* f : {setPoint, gain, q0, q1, ratio, doorFrom, doorPeriods, drop, doorRatio})
        connect(f, &NumberField::accepted, this, [this] { parametersEdited(); });
}

void Laboratory::setTabOrder()
{
    const std::array<QWidget*, 23> order{
        setPoint->edit(),    kindP,           kindPI,          gain->edit(),      q0->edit(),
        deadbeatButton,      q1->edit(),      ratio->edit(),   quantised,         coldStart,
        steadyStart,         doorFrom->edit(), doorPeriods->edit(), drop->edit(), doorRatio->edit(),
        shownPeriods->edit(), speed,          startButton,     pauseButton,       periodButton,
        restartButton,       clearButton,     cursor};
    for (std::size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

void Laboratory::installKeys()
{
    m_stage->installKeys({
        {KeyAction::TogglePause,
         [this] {
             const model::RunState s = m_experiment.state();
             (s == model::RunState::Running || s == model::RunState::Stepping) ? pause() : play();
         }},
        {KeyAction::SingleTick, [this] { singleTick(); }},
        {KeyAction::SavePicture, [this] { savePicture(); }},
        {KeyAction::SaveValues, [this] { saveValues(); }},
    });
}

void Laboratory::showRaised()
{
    if (isMinimized())
        showNormal();
    else
        show();
    raise();
    activateWindow();
}

void Laboratory::setManualTicks(bool manual)
{
    m_manualTicks = manual;
    updateTimer();
}

void Laboratory::closeEvent(QCloseEvent* event)
{
    // The run waits, paused, for the next opening.
    pause();
    leaveFullScreen();
    event->accept();
}

model::Parameters Laboratory::formParameters() const
{
    using model::Regulator;
    // What the form does not show stays as it is.
    model::Parameters p = m_experiment.parameters();
    p.e = setPoint->value();
    p.regulator = kindPI->isChecked() ? Regulator::PI : Regulator::P;
    p.field(Regulator::P, model::kGainField) = gain->value();
    p.field(Regulator::PI, model::kQ0Field) = q0->value();
    p.field(Regulator::PI, model::kQ1Field) = q1->value();
    p.ratio = ratio->value();
    p.quantised = quantised->isChecked();
    p.door.from = static_cast<int>(doorFrom->value());
    p.door.periods = static_cast<int>(doorPeriods->value());
    p.door.drop = drop->value();
    p.door.ratio = doorRatio->value();
    return p;
}

void Laboratory::parametersEdited()
{
    const model::Parameters p = formParameters();
    if (p == m_experiment.parameters())
        return;
    m_experiment.change(p);
    m_theory = model::theory(m_experiment.parameters());
    zPlane->redraw(m_surfaces.window, m_experiment.parameters(), m_theory.poles);
    drawLabRegulator(m_surfaces.window, m_experiment.parameters());
    drawDiagram(false);
    updateControls();
    showDrawn();
}

void Laboratory::startEdited()
{
    m_experiment.setStart(coldStart->isChecked() ? model::Start::Cold : model::Start::Steady);
    drawDiagram(false);
    updateControls();
    showDrawn();
}

void Laboratory::shownPeriodsEdited(double periods)
{
    if (!m_experiment.setShownPeriods(static_cast<int>(periods)))
        return;
    m_scale = PlotScale(m_experiment.shownPeriods());
    redrawPlots();
    updateControls();
    showDrawn();
}

void Laboratory::applyDeadbeat()
{
    const model::Preset& preset = model::regulatorRow(model::Regulator::PI).presets.front();
    const model::FieldValues v = preset.values(model::plant(formParameters()));
    q0->setValue(v[model::kQ0Field]);
    q1->setValue(v[model::kQ1Field]);
    if (!kindPI->isChecked())
        kindPI->setChecked(true);  // edits the parameters
    parametersEdited();
}

void Laboratory::play()
{
    m_experiment.play();
    updateControls();
}

void Laboratory::pause()
{
    m_experiment.pause();
    updateControls();
}

void Laboratory::nextPeriod()
{
    m_experiment.nextPeriod();
    updateControls();
}

void Laboratory::restart()
{
    cursor->setSample(std::nullopt);
    m_experiment.restart();
    m_door = {};
    redrawPlots();
    drawDiagram(false);
    updateControls();
    showDrawn();
}

void Laboratory::clearTraces()
{
    m_experiment.clearTraces();
    redrawPlots();
    updateControls();
    showDrawn();
}

void Laboratory::tick()
{
    const model::RunState before = m_experiment.state();
    if (const std::optional<model::TickStep> step = m_experiment.advance())
        drawStep(*step);
    if (m_experiment.state() != before)
        updateControls();
}

void Laboratory::singleTick()
{
    const model::RunState s = m_experiment.state();
    if (s == model::RunState::Running || s == model::RunState::Stepping) {
        pause();
        return;
    }
    if (const std::optional<model::TickStep> step = m_experiment.step())
        drawStep(*step);
    updateControls();
}

void Laboratory::drawStep(const model::TickStep& step)
{
    Canvas& w = m_surfaces.window;
    const model::Simulation& run = m_experiment.run();
    if (step.acquired)
        drawAcquisition(w, m_scale, run, *step.acquired);
    if (step.piece)
        drawPiece(w, m_scale, run, step.tick);
    if (step.acquired) {
        drawSampleMark(w, m_scale, run, *step.acquired);
        cursor->setSampleCount(static_cast<int>(run.samples().size()));
        updateTexts();
    }
    ++m_ovenTick;
    drawDiagram(true);
    showDrawn();
}

void Laboratory::redrawPlots()
{
    Canvas& w = m_surfaces.window;
    drawPlotBackdrop(w, m_scale);
    for (const model::Trace& t : m_experiment.traces())
        drawTrace(w, m_scale, t.run, t.ticks, traceColour(t.colour));
    drawRunSoFar(w, m_scale, m_experiment.run(), m_experiment.ticks(), m_experiment.lastTick());
    cursor->setScale(m_scale);
    cursor->setSampleCount(static_cast<int>(m_experiment.run().samples().size()));
    updateTexts();
}

DiagramValues Laboratory::shownValues() const
{
    const model::Simulation& run = m_experiment.run();
    const auto& samples = run.samples();
    if (const std::optional<int> k = cursor->sample(); k && *k < static_cast<int>(samples.size())) {
        const model::Sample& s = samples[static_cast<std::size_t>(*k)];
        return {s, s.s, s.doorOpen, s.u > 0};
    }
    if (samples.empty()) {
        // What the first acquisition will read and compute.
        const model::Sample first = run.nextSample();
        return {first, first.s, false, false};
    }
    const model::Sample& last = samples.back();
    const bool under = m_experiment.ticks() <= m_experiment.lastTick();
    return {last, run.sAt(m_experiment.drawnUntil()), last.doorOpen && under, last.u > 0 && under};
}

void Laboratory::drawDiagram(bool moving)
{
    const DiagramValues v = shownValues();
    drawLabOven(m_surfaces, m_ovenTick, v, m_door, moving);
    drawLabReadouts(m_surfaces.window, v, m_experiment.parameters());
}

void Laboratory::showDrawn()
{
    m_scene->showChanged(m_surfaces.window.takeDirty());
    fond->showChanged(m_surfaces.fond.takeDirty());
}

void Laboratory::updateTexts()
{
    const model::Simulation& run = m_experiment.run();
    setTextIfNew(poles, polesText(m_theory.poles));
    const MeasureTable table = measureTable(run, m_theory);
    if (!(table == m_measuresShown)) {
        drawMeasureTable(m_surfaces.window, QPoint(kMeasures.left, kMeasures.top), table, m_measuresShown);
        measures->setAccessibleDescription(plainText(table));
    }
    QString traces = QStringLiteral("<b>Essais précédents</b>");
    if (m_experiment.traces().empty())
        traces += QStringLiteral("<br>aucun");
    for (const model::Trace& t : m_experiment.traces()) {
        const QColor c = QColor::fromRgb(traceColour(t.colour));
        traces += QStringLiteral("<br><font color=\"%1\">■</font> %2").arg(c.name(), text(traceLegend(t.run.startedWith(), t.changedDuringRun)).toHtmlEscaped());
    }
    setTextIfNew(legend, traces);
}

void Laboratory::updateControls()
{
    const model::RunState s = m_experiment.state();
    const bool moving = s == model::RunState::Running || s == model::RunState::Stepping;
    startButton->setEnabled(s != model::RunState::Running && s != model::RunState::Finished);
    pauseButton->setEnabled(moving);
    periodButton->setEnabled(s != model::RunState::Finished);
    restartButton->setEnabled(s != model::RunState::Ready);
    clearButton->setEnabled(!m_experiment.traces().empty());

    const bool pi = kindPI->isChecked();
    gain->setEnabled(!pi);
    q0->setEnabled(pi);
    q1->setEnabled(pi);

    const model::Parameters& p = m_experiment.parameters();
    setPoint->setNote(celsiusNote(p.e));
    ratio->setNote(text(ratioLabel(p.ratio)));
    QString note = text(t1::startNote(m_experiment.run().startOutcome()));
    if (m_experiment.startPending())
        note += QStringLiteral("<br><i>Le départ choisi vaudra au prochain essai (Recommencer).</i>");
    setTextIfNew(startNote, note);
    updateTexts();
    updateTimer();
}

void Laboratory::updateTimer()
{
    const model::RunState s = m_experiment.state();
    const bool moving = s == model::RunState::Running || s == model::RunState::Stepping;
    if (moving && !m_manualTicks && !m_timer->isActive())
        m_timer->start(speed->value());
    else if ((!moving || m_manualTicks) && m_timer->isActive())
        m_timer->stop();
}

void Laboratory::toggleFullScreen()
{
    m_stage->toggleFullScreen();
}

void Laboratory::leaveFullScreen()
{
    m_stage->leaveFullScreen();
}

QImage Laboratory::picture()
{
    return m_scene->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QString Laboratory::valuesText() const
{
    return csvText(sampleRows(m_experiment.run()));
}

void Laboratory::savePicture()
{
    const QImage shown = picture();
    m_stage->save(ExportFormat::Picture, text(kPictureCaption), text(kFileName),
                  [shown](const QString& path) { return writePng(shown, path); });
}

void Laboratory::saveValues()
{
    if (m_experiment.run().samples().empty()) {
        m_stage->exporter().nothingToSave(text(kNoValues));
        return;
    }
    const std::vector<RunRow> values = sampleRows(m_experiment.run());
    m_stage->save(ExportFormat::Values, text(kValuesCaption), text(kFileName),
                  [values](const QString& path) { return writeCsv(values, path); });
}

}  // namespace t1
