#include "lab_window/laboratory.h"

#include "stage/file_writes.h"
#include "stage/stage.h"
#include "stage/zoom.h"
#include "model/converters.h"
#include "model/regulators.h"
#include "lab_window/fields.h"
#include "lab_window/lab_plots.h"
#include "lab_window/measures_text.h"
#include "lab_window/mnemonics.h"
#include "lab_window/number_field.h"
#include "lab_window/plot_cursor.h"
#include "lab_window/run_texts.h"
#include "lab_window/sample_rows.h"
#include "lab_window/setup_menu.h"
#include "lab_window/trace_legend.h"
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
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGraphicsView>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>

#include <algorithm>
#include <array>
#include <span>

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

// The top band: the lessons' diagram, the title and the poles beside it.
constexpr Geometry kTitle{16, 6, 300, 22};
constexpr Geometry kFond{kFondLeft, kFondTop, kFondWidth, kFondHeight};
constexpr Geometry kPoles{804, 8, 192, 158};
// Beside the title, above the diagram's wires: what became of a file.
constexpr Geometry kMessage{140, 4, 656, 26};
// Beside the plots.
constexpr Geometry kMeasures{804, 172, 192, 150};
constexpr Geometry kLegend{804, 324, 192, 104};
// Under the measures, or under the z-plane that takes their place and the poles'.
constexpr Geometry kZPlaneButton{804, 300, 84, 20};

// The controls' band under the plots: the groups side by side, left to right.
constexpr int kGroupsTop = 432;
constexpr int kGroupsHeight = 254;
constexpr int kGroupGap = 4;
// Inside a group: its first row under the title, the inset on either side.
constexpr int kRow1 = 20;
constexpr int kInset = 8;
// A field with its message under it; a line of check box or radio buttons;
// a row of buttons; a line of the notes' small font.
constexpr int kFieldStep = kFieldRowHeight + kFieldMessageHeight + 2;
constexpr int kLineHeight = 20;
constexpr int kLineStep = 22;
constexpr int kButtonHeight = 24;
constexpr int kButtonStep = 28;
constexpr int kSmallLine = 12;
constexpr int kEditWidth = 46;
constexpr int kShortEditWidth = 36;
constexpr int kRadioGap = 10;
constexpr int kButtonGap = 6;
constexpr int kStartIndent = 8;
// The speed bar in the lessons' colours: its name, and under it the bar
// between its signs, faster to the left.
constexpr int kSpeedNameHeight = 14;
constexpr int kSpeedBarDown = 16;
constexpr int kSpeedBarHeight = 16;
constexpr int kSpeedSignWidth = 16;
constexpr int kSpeedSignRaise = 5;
constexpr int kSpeedStep = 36;
// Between a field's name and its box.
constexpr int kNameGap = 4;

// A draw that gives the value in force again is drawn again, this many times at most.
constexpr int kDrawAttempts = 8;

constexpr int kCelsiusDecimals = 1;
constexpr int kSecondsDecimals = 1;

constexpr QRgb kTitleColour = colour::maroon;
constexpr QRgb kSpeedColour = colour::olive;
constexpr QRgb kRefusedColour = colour::red;
constexpr QRgb kToldColour = colour::green;

constexpr auto kPictureCaption = u"Enregistrer l'image du laboratoire";
constexpr auto kValuesCaption = u"Exporter les acquisitions du laboratoire";
constexpr auto kFileName = u"Laboratoire";
constexpr auto kNoValues = u"Aucune valeur à exporter : la simulation n'a encore fait aucune acquisition.";
constexpr auto kSetupCaption = u"Enregistrer la configuration du Laboratoire";
constexpr auto kOpenCaption = u"Ouvrir une configuration du Laboratoire";
constexpr auto kSetupFileName = u"Configuration";
constexpr auto kSetupMenuCaption = u"Configuration";

QString text(const char16_t* utf16)
{
    return QString::fromUtf16(utf16);
}

QString text(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
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

// A label lays its rich text out again on every change: only when it changes.
void setTextIfNew(QLabel* label, const QString& text)
{
    if (label->text() != text)
        label->setText(text);
}

// The captions marked by hand: the lessons' own and those a student knows.
constexpr auto kStartCaption = u"Dé&marrer";
constexpr auto kPauseCaption = u"P&ause";
constexpr auto kPeriodCaption = u"Période &suivante";
constexpr auto kRestartCaption = u"&Recommencer";
constexpr auto kClearCaption = u"Effacer les cour&bes";
constexpr auto kQuantisedCaption = u"&Quantification (8 bits)";
constexpr auto kColdCaption = u"four &froid (S = 0 V)";
constexpr auto kSteadyCaption = u"régime perma&nent";
constexpr auto kSpeedCaption = u"Réglage &vitesse animation";
constexpr auto kShownCaption = u"Péri&odes affichées :";
constexpr auto kZPlaneCaption = u"Plan des &z";
constexpr std::array kMarkedByHand{kStartCaption,     kPauseCaption, kPeriodCaption, kRestartCaption,
                                   kClearCaption,     kQuantisedCaption, kColdCaption, kSteadyCaption,
                                   kSpeedCaption,     kShownCaption, kZPlaneCaption};

// The groups of the form, left to right.
enum class Group : std::size_t { Regulator, Oven, Sampling, Door, Display };
struct GroupRow {
    Group group;
    const char16_t* title;
    int width;
};
constexpr std::array kGroups{
    GroupRow{Group::Regulator, u"Consigne et régulateur", 196},
    GroupRow{Group::Oven, u"Four et mesure", 190},
    GroupRow{Group::Sampling, u"Échantillonnage et départ", 170},
    GroupRow{Group::Door, u"Porte du four (perturbation)", 186},
    GroupRow{Group::Display, u"Affichage et animation", 234},
};

// What a setting's note says after its box, for the values in force.
struct NoteContext {
    const model::Quantity& quantity;
    double value;
    const model::Parameters& parameters;
    TimeUnit unit;

    bool inSeconds() const { return unit == TimeUnit::Seconds; }
    double t1() const { return parameters.oven.t1Seconds; }
    double period() const { return parameters.ratio * t1(); }
};
using Note = QString (*)(const NoteContext&);

QString seconds(double s)
{
    return text(formatDecimal(s, kSecondsDecimals)) + QStringLiteral(" s");
}

// Its unit; in seconds, what a duration in T1 or in periods lasts.
QString unitNote(const NoteContext& c)
{
    const QString unit = text(unitSuffix(c.quantity.unit)).trimmed();
    if (!c.inSeconds())
        return unit;
    switch (c.quantity.unit) {
    case model::Unit::T1: return QStringLiteral("%1 (%2)").arg(unit, seconds(c.value * c.t1()));
    case model::Unit::Periods: return QStringLiteral("(%1)").arg(seconds(c.value * c.period()));
    default: return unit;
    }
}

QString celsiusNote(const NoteContext& c)
{
    return QStringLiteral("= %1 °C").arg(text(formatDecimal(model::setPointCelsius(c.value), kCelsiusDecimals)));
}

QString samplingNote(const NoteContext& c)
{
    return c.inSeconds() ? QStringLiteral("T = ") + seconds(c.value * c.t1()) : text(ratioLabel(c.value));
}

// When the door opens, counted from 1: period n starts at (n - 1) T.
QString doorStartNote(const NoteContext& c)
{
    return c.inSeconds() ? QStringLiteral("t = ") + seconds((c.value - 1) * c.period()) : QString();
}

QString ratioOfT1Note(const NoteContext& c)
{
    return c.inSeconds() ? QStringLiteral("= ") + seconds(c.value * c.t1()) : QString();
}

// Where each row of model::kSettings goes in the form, and what its note
// says; a setting without a row goes at the end of the oven's group. A
// drawn setting has a button that draws a new value instead of a field.
struct SettingPlace {
    std::string_view key;
    Group group;
    Note note = &unitNote;
    bool drawn = false;
};
constexpr std::array kSettingPlaces{
    SettingPlace{"E", Group::Regulator, &celsiusNote},
    SettingPlace{"K", Group::Oven},
    SettingPlace{"theta_T1", Group::Oven},
    SettingPlace{"T1_s", Group::Oven},
    SettingPlace{"noise_mV", Group::Oven},
    SettingPlace{"seed", Group::Oven, &unitNote, true},
    SettingPlace{"T_T1", Group::Sampling, &samplingNote},
    SettingPlace{"door_from", Group::Door, &doorStartNote},
    SettingPlace{"door_periods", Group::Door},
    SettingPlace{"D", Group::Door},
    SettingPlace{"T1d_T1", Group::Door, &ratioOfT1Note},
};

SettingPlace placeOf(const model::Quantity& q)
{
    for (const SettingPlace& p : kSettingPlaces)
        if (p.key == q.key)
            return p;
    return {q.key, Group::Oven};
}

// The French words of a regulator kind, by its row's key: how a screen
// reader names it and its law; a kind without them is named by its row.
struct RegulatorWords {
    std::string_view key;
    const char16_t* accessibleName;
    const char16_t* law;
};
constexpr std::array kRegulatorWords{
    RegulatorWords{"P", u"Régulateur proportionnel (P)", u"Régulateur P : Epu(k) = G·Ep(k)"},
    RegulatorWords{"PI", u"Régulateur proportionnel intégral (PI)",
                   u"Régulateur PI : Epu(k) = Epu(k−1) + q0·Ep(k) + q1·Ep(k−1)"},
    RegulatorWords{"PID", u"Régulateur proportionnel intégral dérivé (PID)",
                   u"Régulateur PID, forme standard Kp·(1 + 1/(Ti·p) + Td·p) :\n"
                   u"Epu(k) = Epu(k−1) + q0·Ep(k) + q1·Ep(k−1) + q2·Ep(k−2),\n"
                   u"q0 = Kp·(1 + T/Ti + Td/T), q1 = −Kp·(1 + 2·Td/T), q2 = Kp·Td/T"},
    RegulatorWords{"manuel", u"Commande manuelle (boucle ouverte)",
                   u"Commande manuelle, boucle ouverte : le four reçoit la tension U choisie, "
                   u"sans retour de la mesure"},
};

struct RegulatorTexts {
    QString accessibleName;
    QString law;
};

RegulatorTexts regulatorTexts(const model::RegulatorRow& row)
{
    for (const RegulatorWords& w : kRegulatorWords)
        if (w.key == row.key)
            return {text(w.accessibleName), text(w.law)};
    const QString name = text(row.name);
    return {row.closed ? QStringLiteral("Régulateur ") + name : name, name};
}

// What a preset does, by its name.
struct PresetWords {
    std::string_view name;
    const char16_t* toolTip;
};
constexpr std::array kPresetWords{
    PresetWords{"Réponse pile", u"q0 = 1/(K·(1 − a)) et q1 = −a/(K·(1 − a)), a = exp(−T/T1) : le zéro du "
                                u"régulateur compense le pôle du four, X atteint E en une période"},
};

QString presetTip(const model::Preset& preset)
{
    for (const PresetWords& w : kPresetWords)
        if (w.name == preset.name)
            return text(w.toolTip);
    return text(preset.name);
}

// The rows of regulators and time units keep their index in their tables.
template <typename Row>
std::size_t indexOf(const Row& row, std::span<const Row> rows)
{
    return static_cast<std::size_t>(&row - rows.data());
}

bool sameRegulator(const model::Parameters& a, const model::Parameters& b)
{
    return a.regulator == b.regulator && a.fieldsOf(a.regulator) == b.fieldsOf(b.regulator);
}

// A caption waiting for its mnemonic, given once every control is made, in
// the order of what matters most to reach from the keyboard.
enum class Rank { Regulator, Setting, RegulatorField, Choice };
struct Caption {
    QWidget* widget;
    QString caption;
    QString preferred;
    int set;
    Rank rank;
    QString suffix;
};

void assignMnemonics(std::vector<Caption>& captions)
{
    Mnemonics mnemonics;
    for (const char16_t* caption : kMarkedByHand)
        mnemonics.reserve(text(caption));
    std::stable_sort(captions.begin(), captions.end(),
                     [](const Caption& a, const Caption& b) { return a.rank < b.rank; });
    for (const Caption& c : captions) {
        const QString marked = mnemonics.mark(c.caption, c.preferred, c.set) + c.suffix;
        if (auto* label = qobject_cast<QLabel*>(c.widget))
            label->setText(marked);
        else if (auto* button = qobject_cast<QAbstractButton*>(c.widget))
            button->setText(marked);
    }
}

}  // namespace

// Lays a group's rows out from its top, and keeps what the form collects
// while it is built.
struct Laboratory::Column {
    QWidget* group;
    int width;  // inside the insets
    std::vector<Caption>& captions;
    int top = kRow1;

    int take(int height)
    {
        const int at = top;
        top += height;
        return at;
    }
    // Radio buttons side by side, on as many lines as they need.
    void flow(std::span<QWidget* const> widgets, int left = kInset)
    {
        int x = left;
        int lines = 1;
        for (QWidget* w : widgets) {
            const int wide = w->sizeHint().width();
            if (x > left && x + wide > kInset + width) {
                x = left;
                ++lines;
            }
            w->setGeometry(x, top + (lines - 1) * kLineStep, wide, kLineHeight);
            x += wide + kRadioGap;
        }
        top += lines * kLineStep;
    }
};

Laboratory::Laboratory(QWidget* parent)
    : QWidget(parent, Qt::Window), m_view(t1::plotView(m_experiment, m_timeDisplay.unit))
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

    setAcceptDrops(true);
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
    showParameters(m_experiment.parameters());
    m_theory = model::theory(m_experiment.parameters());
    redrawPlots();
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

    messageLine = makeText(scene, kMessage);
    messageLine->setTextFormat(Qt::PlainText);
    messageLine->setAccessibleName(QStringLiteral("Message"));

    poles = makeText(scene, kPoles);
    poles->setAccessibleName(QStringLiteral("Pôles en boucle fermée"));
    measures = new QWidget(scene);
    place(measures, kMeasures);
    measures->setAccessibleName(QStringLiteral("Mesures"));
    legend = makeText(scene, kLegend);
    legend->setAccessibleName(QStringLiteral("Essais précédents"));
    zPlane = new ZPlane(scene);
    zPlane->hide();
    zPlaneButton = new QPushButton(text(kZPlaneCaption), scene);
    place(zPlaneButton, kZPlaneButton);
    zPlaneButton->setCheckable(true);
    zPlaneButton->setToolTip(QStringLiteral("Alt+Z : les pôles dans le plan des z et leur lieu selon le gain, "
                                            "au lieu des mesures"));
    connect(zPlaneButton, &QPushButton::toggled, this, &Laboratory::showZPlane);

    cursor = new PlotCursor(scene, m_experiment);
    cursor->setToolTip(QStringLiteral("Souris ou flèches gauche et droite : les valeurs d'une acquisition dans le "
                                      "schéma (Maj : par dixième de période) ; Fin ou Échap : les valeurs en cours"));
    connect(cursor, &PlotCursor::sampleChanged, this, [this] {
        drawDiagram(false);
        showDrawn();
    });

    // What each group holds after its settings.
    using Extras = void (Laboratory::*)(QWidget*, Column&);
    constexpr std::array<Extras, kGroups.size()> extras{&Laboratory::createRegulators, nullptr,
                                                        &Laboratory::createSampling, nullptr,
                                                        &Laboratory::createAnimation};
    std::vector<Caption> captions;
    int left = kGroupGap;
    for (const GroupRow& row : kGroups) {
        auto* group = new QGroupBox(text(row.title), scene);
        group->setGeometry(left, kGroupsTop, row.width, kGroupsHeight);
        left += row.width + kGroupGap;
        Column column{group, row.width - 2 * kInset, captions};
        const auto index = static_cast<std::size_t>(row.group);
        createSettings(group, column, index);
        if (extras[index])
            (this->*extras[index])(group, column);
    }
    assignMnemonics(captions);
    newSeedButton = drawButton(model::kSeed.key);
}

void Laboratory::createSettings(QWidget* group, Column& column, std::size_t groupIndex)
{
    std::vector<NumberField*> made;
    for (std::size_t i = 0; i < model::kSettingCount; ++i) {
        const model::Quantity& q = model::kSettings[i].quantity;
        const SettingPlace where = placeOf(q);
        if (static_cast<std::size_t>(where.group) != groupIndex)
            continue;
        const FieldWords words = fieldWords(q);
        if (where.drawn) {
            // A button draws the value; a note under it says when it acts.
            auto* button = new QPushButton(text(words.label), group);
            button->setToolTip(text(words.toolTip));
            button->setGeometry(kInset, column.take(kButtonStep), button->sizeHint().width(), kButtonHeight);
            column.captions.push_back({button, text(words.label), {}, Mnemonics::kEverywhere, Rank::Choice, {}});
            QLabel* note = makeLabel(group, {kInset, column.take(kSmallLine), column.width, kSmallLine}, {});
            note->setFont(fonts::make(fonts::pt7));
            m_drawButtons[i] = button;
            m_drawNotes[i] = note;
            connect(button, &QPushButton::clicked, this, [this, i] { drawSetting(i); });
            m_tabOrder.push_back(button);
            continue;
        }
        auto* field = new NumberField(group, q, text(words.label) + QStringLiteral(" :"));
        column.captions.push_back(
            {field->name(), text(words.label), text(q.symbol), Mnemonics::kEverywhere, Rank::Setting, QStringLiteral(" :")});
        connect(field, &NumberField::accepted, this, [this] { parametersEdited(); });
        m_settingFields[i] = field;
        m_tabOrder.push_back(field->edit());
        m_fields.push_back(field);
        made.push_back(field);
        field->place({kInset, column.take(kFieldStep), 0, kEditWidth, column.width});
    }
    // The boxes of a group in one column.
    int nameWidth = 0;
    for (const NumberField* f : made)
        nameWidth = std::max(nameWidth, f->nameWidth() + kNameGap);
    for (NumberField* f : made)
        f->place({kInset, f->name()->y(), nameWidth, kEditWidth, column.width});
}

void Laboratory::createRegulators(QWidget* group, Column& column)
{
    auto* kinds = new QButtonGroup(group);
    std::vector<QWidget*> buttons;
    for (const model::RegulatorRow& row : model::kRegulators) {
        const std::size_t r = indexOf<model::RegulatorRow>(row, model::kRegulators);
        const RegulatorTexts words = regulatorTexts(row);
        auto* button = new QRadioButton(text(row.name), group);
        button->setAccessibleName(words.accessibleName);
        button->setToolTip(words.law);
        kinds->addButton(button);
        m_regulatorButtons[r] = button;
        buttons.push_back(button);
        m_tabOrder.push_back(button);
        column.captions.push_back({button, text(row.name), {}, Mnemonics::kEverywhere, Rank::Regulator, {}});
        connect(button, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                regulatorChosen();
        });
    }
    column.flow(buttons);

    // Each kind's fields in the same places, shown only while it is chosen;
    // a preset beside the field of its rank.
    const int top = column.top;
    std::size_t places = 0;
    int nameWidth = 0;
    std::vector<NumberField*> made;
    for (const model::RegulatorRow& row : model::kRegulators) {
        const std::size_t r = indexOf<model::RegulatorRow>(row, model::kRegulators);
        const QString law = regulatorTexts(row).law;
        const auto quantities = row.fields();
        for (std::size_t f = 0; f < quantities.size(); ++f) {
            const model::Quantity& q = quantities[f];
            const QString label = text(fieldWords(q).label);
            auto* field = new NumberField(group, q, label + QStringLiteral(" :"));
            field->edit()->setToolTip(law + QLatin1Char('\n') + field->edit()->toolTip());
            column.captions.push_back(
                {field->name(), label, text(q.symbol), static_cast<int>(r), Rank::RegulatorField, QStringLiteral(" :")});
            connect(field, &NumberField::accepted, this, [this] { parametersEdited(); });
            m_regulatorFields[r][f] = field;
            m_tabOrder.push_back(field->edit());
            m_fields.push_back(field);
            nameWidth = std::max(nameWidth, field->nameWidth() + kNameGap);
            made.push_back(field);
            field->place({kInset, top + static_cast<int>(f) * kFieldStep, 0, kEditWidth, column.width});
            if (f < row.presets.size())
                m_tabOrder.push_back(nullptr);  // its preset's place, filled below
        }
        for (std::size_t j = 0; j < row.presets.size(); ++j) {
            const model::Preset& preset = row.presets[j];
            auto* button = new QPushButton(text(preset.name), group);
            button->setToolTip(presetTip(preset));
            const int wide = button->sizeHint().width();
            button->setGeometry(kInset + column.width - wide, top + static_cast<int>(j) * kFieldStep - 2, wide,
                                kButtonHeight);
            column.captions.push_back(
                {button, text(preset.name), {}, static_cast<int>(r), Rank::RegulatorField, {}});
            connect(button, &QPushButton::clicked, this, [this, r, j] { applyPreset(model::Regulator(r), j); });
            m_presetButtons[r].push_back(button);
            // After the field it stands beside, or after the row's last.
            const auto hole = std::find(m_tabOrder.begin(), m_tabOrder.end(), nullptr);
            if (hole != m_tabOrder.end())
                *hole = button;
            else
                m_tabOrder.push_back(button);
        }
        places = std::max({places, quantities.size(), row.presets.size()});
    }
    for (NumberField* f : made)
        f->place({kInset, f->name()->y(), nameWidth, kEditWidth, column.width});
    column.top = top + static_cast<int>(places) * kFieldStep;
}

void Laboratory::createSampling(QWidget* group, Column& column)
{
    quantised = new QCheckBox(text(kQuantisedCaption), group);
    place(quantised, {kInset, column.take(kLineStep), column.width, kLineHeight});
    quantised->setToolTip(QStringLiteral("Les convertisseurs arrondissent à un point (10/255 V) ; sans, ils "
                                         "gardent la valeur exacte"));
    connect(quantised, &QCheckBox::toggled, this, [this] { parametersEdited(); });
    m_tabOrder.push_back(quantised);

    makeLabel(group, {kInset, column.take(kSmallLine + 4), column.width, kSmallLine + 4}, QStringLiteral("Départ :"));
    coldStart = new QRadioButton(text(kColdCaption), group);
    place(coldStart, {kInset + kStartIndent, column.take(kLineHeight), column.width - kStartIndent, kLineHeight});
    steadyStart = new QRadioButton(text(kSteadyCaption), group);
    place(steadyStart, {kInset + kStartIndent, column.take(kLineHeight + 4), column.width - kStartIndent, kLineHeight});
    auto* starts = new QButtonGroup(group);
    starts->addButton(coldStart);
    starts->addButton(steadyStart);
    coldStart->setChecked(true);
    coldStart->setAccessibleName(QStringLiteral("Départ four froid"));
    steadyStart->setAccessibleName(QStringLiteral("Départ en régime permanent"));
    steadyStart->setToolTip(QStringLiteral("Le régime permanent de la boucle pour ces réglages, ou le cycle "
                                           "qu'elle parcourt"));
    connect(coldStart, &QRadioButton::toggled, this, &Laboratory::startEdited);
    m_tabOrder.insert(m_tabOrder.end(), {coldStart, steadyStart});
    startNote = makeText(group, {kInset, column.top, column.width, kGroupsHeight - column.top - kInset / 2});
    startNote->setFont(fonts::make(fonts::pt7));
}

void Laboratory::createAnimation(QWidget* group, Column& column)
{
    shownPeriods = new NumberField(group, model::kShownPeriods, text(kShownCaption));
    shownPeriods->place(
        {kInset, column.take(kFieldStep), shownPeriods->nameWidth() + kNameGap, kShortEditWidth, column.width});
    shownPeriods->setNote(QStringLiteral("(%1 à %2)").arg(model::kShownPeriods.low).arg(model::kShownPeriods.high));
    shownPeriods->setCheck([this](double periods) -> std::string {
        const int needed = m_experiment.periodsNeeded();
        if (periods >= needed)
            return {};
        return "Déjà " + std::to_string(needed) + " périodes simulées : recommencez pour en afficher moins.";
    });
    connect(shownPeriods, &NumberField::accepted, this, &Laboratory::shownPeriodsEdited);
    m_tabOrder.push_back(shownPeriods->edit());
    m_fields.push_back(shownPeriods);

    // The time unit of the texts and axes: one radio button per unit.
    QLabel* timeName = makeLabel(group, {kInset, column.top, 0, kLineHeight}, QStringLiteral("Temps :"));
    timeName->resize(timeName->sizeHint().width(), kLineHeight);
    timeName->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    auto* units = new QButtonGroup(group);
    std::vector<QWidget*> buttons;
    for (const TimeUnitRow& row : kTimeUnits) {
        const std::size_t u = indexOf<TimeUnitRow>(row, kTimeUnits);
        auto* button = new QRadioButton(text(row.name), group);
        button->setAccessibleName(QStringLiteral("Temps en ") + text(row.name));
        button->setToolTip(QStringLiteral("Les instants et les durées des courbes et des mesures en ") +
                           text(row.name) + QStringLiteral(" ; la boucle n'en dépend pas"));
        units->addButton(button);
        m_timeUnitButtons[u] = button;
        buttons.push_back(button);
        m_tabOrder.push_back(button);
        column.captions.push_back({button, text(row.name), text(row.symbol), Mnemonics::kEverywhere, Rank::Choice, {}});
        connect(button, &QRadioButton::toggled, this, [this, unit = row.unit](bool on) {
            if (on && !m_showing)
                setTimeUnit(unit);
        });
    }
    m_timeUnitButtons[static_cast<std::size_t>(m_timeDisplay.unit)]->setChecked(true);
    column.flow(buttons, kInset + timeName->width() + kRadioGap / 2);

    const int speedTop = column.take(kSpeedStep);
    QLabel* speedName =
        makeLabel(group, {kInset, speedTop, column.width, kSpeedNameHeight}, text(kSpeedCaption));
    colourText(speedName, kSpeedColour);
    const int barTop = speedTop + kSpeedBarDown;
    const int barWidth = column.width - 2 * kSpeedSignWidth;
    for (const auto& [sign, left] : {std::pair{u"+", kInset}, std::pair{u"-", kInset + kSpeedSignWidth + barWidth}}) {
        QLabel* label = makeLabel(group, {left, barTop - kSpeedSignRaise, kSpeedSignWidth, kButtonHeight}, text(sign));
        label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        label->setFont(fonts::make(fonts::pt14));
        colourText(label, kSpeedColour);
    }
    speed = new QScrollBar(Qt::Horizontal, group);
    place(speed, {kInset + kSpeedSignWidth, barTop, barWidth, kSpeedBarHeight});
    setUpSpeedBar(speed);
    speedName->setBuddy(speed);
    connect(speed, &QScrollBar::valueChanged, this, [this](int ms) { m_timer->setInterval(ms); });
    m_tabOrder.push_back(speed);

    // The buttons two by two, the last one wider.
    const int half = (column.width - kButtonGap) / 2;
    const auto button = [&](int index, const char16_t* caption, const QString& tip) {
        const int top = column.top + (index / 2) * kButtonStep;
        QPushButton* b = makeButton(group, {kInset + (index % 2) * (half + kButtonGap), top, half, kButtonHeight},
                                    text(caption), tip);
        m_tabOrder.push_back(b);
        return b;
    };
    startButton = button(0, kStartCaption, QStringLiteral("Lancer ou reprendre l'animation (P)"));
    pauseButton = button(1, kPauseCaption, QStringLiteral("Arrêter l'animation (P)"));
    periodButton = button(2, kPeriodCaption, QStringLiteral("Dérouler une période, puis s'arrêter"));
    restartButton = button(3, kRestartCaption,
                           QStringLiteral("La courbe en cours devient un essai précédent, un nouvel essai commence"));
    clearButton = button(4, kClearCaption, QStringLiteral("Effacer les essais précédents"));
    connect(startButton, &QPushButton::clicked, this, &Laboratory::play);
    connect(pauseButton, &QPushButton::clicked, this, &Laboratory::pause);
    connect(periodButton, &QPushButton::clicked, this, &Laboratory::nextPeriod);
    connect(restartButton, &QPushButton::clicked, this, &Laboratory::restart);
    connect(clearButton, &QPushButton::clicked, this, &Laboratory::clearTraces);

    clearButton->resize(std::max(half, clearButton->sizeHint().width()), kButtonHeight);
    // Beside it, the setups' menu.
    const int setupLeft = clearButton->geometry().right() + 1 + kButtonGap;
    setupButton = makeButton(group, {setupLeft, clearButton->y(), kInset + column.width - setupLeft, kButtonHeight},
                             text(kSetupMenuCaption),
                             QStringLiteral("Ouvrir ou enregistrer une configuration du Laboratoire, ou un exemple ; "
                                            "un fichier déposé sur la fenêtre s'ouvre aussi"));
    m_setupMenu = new SetupMenu(this, {[this] { askOpenSetup(); }, [this] { saveSetup(); },
                                       [this](const QString& path) { openSetup(path); }});
    setupButton->setMenu(m_setupMenu);
    column.captions.push_back({setupButton, text(kSetupMenuCaption), {}, Mnemonics::kEverywhere, Rank::Choice, {}});
    m_tabOrder.push_back(setupButton);
    column.top += 3 * kButtonStep;

    // Under the buttons, what the plots and the keys do.
    QLabel* hint = makeText(group, {kInset, column.top, column.width, kGroupsHeight - column.top});
    hint->setFont(fonts::make(fonts::pt7));
    hint->setText(QStringLiteral("Souris ou flèches sur les courbes : les valeurs d'une acquisition (Maj : "
                                 "par dixième de période) ; Fin : les valeurs en cours."));
    hint->setToolTip(QStringLiteral("Ctrl+S : enregistrer l'image ; Ctrl+E : exporter les acquisitions (CSV)"));
}

void Laboratory::setTabOrder()
{
    m_tabOrder.push_back(cursor);
    m_tabOrder.push_back(zPlaneButton);
    for (std::size_t i = 1; i < m_tabOrder.size(); ++i)
        QWidget::setTabOrder(m_tabOrder[i - 1], m_tabOrder[i]);
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
        {KeyAction::SaveSetup, [this] { saveSetup(); }},
        {KeyAction::OpenSetup, [this] { askOpenSetup(); }},
    });
}

void Laboratory::showRaised()
{
    if (isMinimized()) {
        showNormal();
    } else {
        fitScreen();
        show();
    }
    raise();
    activateWindow();
}

void Laboratory::fitScreen()
{
    if (m_fitted)
        return;
    m_fitted = true;
    const QScreen* screen = this->screen();
    if (!screen)
        return;
    const QRect room = screen->availableGeometry();
    // Before its first showing the window's frame is not known: the style's
    // title bar stands for it.
    QSize frame = frameGeometry().size() - geometry().size();
    if (frame.isEmpty())
        frame = QSize(0, style()->pixelMetric(QStyle::PM_TitleBarHeight));
    const QSize needed = QSize(kLabSceneWidth, kLabSceneHeight) + frame;
    if (room.width() >= needed.width() && room.height() >= needed.height())
        return;
    resize(room.size().boundedTo(needed) - frame);
    zoom().setFit(true);
    setWindowState(windowState() | Qt::WindowMaximized);
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

QRadioButton* Laboratory::regulatorButton(model::Regulator r) const
{
    const auto i = static_cast<std::size_t>(r);
    return i < m_regulatorButtons.size() ? m_regulatorButtons[i] : nullptr;
}

NumberField* Laboratory::regulatorField(model::Regulator r, std::size_t field) const
{
    const auto i = static_cast<std::size_t>(r);
    return i < m_regulatorFields.size() && field < model::kMaxRegulatorFields ? m_regulatorFields[i][field] : nullptr;
}

QPushButton* Laboratory::presetButton(model::Regulator r, std::size_t preset) const
{
    const auto i = static_cast<std::size_t>(r);
    return i < m_presetButtons.size() && preset < m_presetButtons[i].size() ? m_presetButtons[i][preset] : nullptr;
}

QRadioButton* Laboratory::timeUnitButton(TimeUnit unit) const
{
    return m_timeUnitButtons[indexOf<TimeUnitRow>(timeUnitRow(unit), kTimeUnits)];
}

namespace {

std::optional<std::size_t> settingIndex(std::string_view key)
{
    for (std::size_t i = 0; i < model::kSettingCount; ++i)
        if (model::kSettings[i].quantity.key == key)
            return i;
    return std::nullopt;
}

}  // namespace

NumberField* Laboratory::settingField(std::string_view key) const
{
    const auto i = settingIndex(key);
    return i ? m_settingFields[*i] : nullptr;
}

QPushButton* Laboratory::drawButton(std::string_view key) const
{
    const auto i = settingIndex(key);
    return i ? m_drawButtons[*i] : nullptr;
}

QLabel* Laboratory::drawNote(std::string_view key) const
{
    const auto i = settingIndex(key);
    return i ? m_drawNotes[*i] : nullptr;
}

model::Regulator Laboratory::chosenRegulator() const
{
    for (std::size_t r = 0; r < m_regulatorButtons.size(); ++r)
        if (m_regulatorButtons[r]->isChecked())
            return static_cast<model::Regulator>(r);
    return model::Parameters{}.regulator;
}

model::Parameters Laboratory::parameters() const
{
    model::Parameters p;
    for (std::size_t i = 0; i < model::kSettingCount; ++i)
        model::kSettings[i].set(p, m_settingFields[i] ? m_settingFields[i]->value() : m_drawn[i]);
    p.regulator = chosenRegulator();
    for (std::size_t r = 0; r < model::kRegulatorCount; ++r)
        for (std::size_t f = 0; f < model::kRegulators[r].fieldCount; ++f)
            p.fields[r][f] = m_regulatorFields[r][f]->value();
    p.quantised = quantised->isChecked();
    return p;
}

void Laboratory::setParameters(const model::Parameters& parameters)
{
    showParameters(model::sanitised(parameters));
    parametersEdited();
}

void Laboratory::showParameters(const model::Parameters& p)
{
    m_showing = true;
    for (std::size_t i = 0; i < model::kSettingCount; ++i) {
        const double v = model::kSettings[i].get(p);
        if (m_settingFields[i])
            m_settingFields[i]->setValue(v);
        else
            m_drawn[i] = v;
    }
    for (std::size_t r = 0; r < model::kRegulatorCount; ++r)
        for (std::size_t f = 0; f < model::kRegulators[r].fieldCount; ++f)
            m_regulatorFields[r][f]->setValue(p.fields[r][f]);
    if (QRadioButton* chosen = regulatorButton(p.regulator))
        chosen->setChecked(true);
    quantised->setChecked(p.quantised);
    m_showing = false;
    showRegulatorFields();
}

void Laboratory::setStart(model::Start start)
{
    m_showing = true;
    (start == model::Start::Cold ? coldStart : steadyStart)->setChecked(true);
    m_showing = false;
    startEdited();
}

bool Laboratory::setShownPeriods(int periods)
{
    if (!model::kShownPeriods.accepts(periods) || periods < m_experiment.periodsNeeded())
        return false;
    shownPeriods->setValue(periods);
    shownPeriodsEdited(periods);
    return true;
}

void Laboratory::setTimeUnit(TimeUnit unit)
{
    m_showing = true;
    timeUnitButton(unit)->setChecked(true);
    m_showing = false;
    if (m_timeDisplay.unit == unit)
        return;
    m_timeDisplay.unit = unit;
    redrawPlots();
    updateControls();
    showDrawn();
    emit timeDisplayChanged(m_timeDisplay);
}

void Laboratory::showRegulatorFields()
{
    const model::Regulator chosen = chosenRegulator();
    for (std::size_t r = 0; r < model::kRegulatorCount; ++r) {
        const bool shown = static_cast<model::Regulator>(r) == chosen;
        for (std::size_t f = 0; f < model::kRegulators[r].fieldCount; ++f)
            m_regulatorFields[r][f]->setVisible(shown);
        for (QPushButton* preset : m_presetButtons[r])
            preset->setVisible(shown);
    }
}

void Laboratory::regulatorChosen()
{
    if (m_showing)
        return;
    showRegulatorFields();
    parametersEdited();
}

void Laboratory::parametersEdited()
{
    if (m_showing)
        return;
    const model::Parameters p = parameters();
    if (p != m_experiment.parameters()) {
        m_experiment.change(p);
        m_theory = model::theory(m_experiment.parameters());
        if (zPlane->isVisible())
            zPlane->redraw(m_surfaces.window, m_experiment.parameters(), m_theory.poles);
        if (!(t1::plotView(m_experiment, m_timeDisplay.unit) == m_view))
            redrawPlots();
        drawDiagram(false);
        showDrawn();
    }
    updateControls();
}

void Laboratory::startEdited()
{
    if (m_showing)
        return;
    m_experiment.setStart(coldStart->isChecked() ? model::Start::Cold : model::Start::Steady);
    drawDiagram(false);
    updateControls();
    showDrawn();
}

void Laboratory::shownPeriodsEdited(double periods)
{
    if (!m_experiment.setShownPeriods(static_cast<int>(periods)))
        return;
    redrawPlots();
    updateControls();
    showDrawn();
}

void Laboratory::applyPreset(model::Regulator r, std::size_t preset)
{
    const model::RegulatorRow& row = model::regulatorRow(r);
    const model::FieldValues v = row.presets[preset].values(model::plant(parameters()));
    m_showing = true;
    for (std::size_t f = 0; f < row.fieldCount; ++f)
        regulatorField(r, f)->setValue(v[f]);
    regulatorButton(r)->setChecked(true);
    m_showing = false;
    showRegulatorFields();
    parametersEdited();
}

void Laboratory::drawSetting(std::size_t setting)
{
    const model::Quantity& q = model::kSettings[setting].quantity;
    const double before = m_drawn[setting];
    // Another value than the one in force, or the draw would change nothing.
    for (int attempt = 0; attempt < kDrawAttempts && m_drawn[setting] == before; ++attempt)
        m_drawn[setting] = q.bring(q.low + QRandomGenerator::global()->generateDouble() * (q.high - q.low));
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
        drawAcquisition(w, m_view, run, *step.acquired);
    if (step.piece)
        drawPiece(w, m_view.scale, run, step.tick);
    if (step.acquired) {
        drawSampleMark(w, m_view.scale, run, *step.acquired);
        updateTexts();
    }
    ++m_ovenTick;
    drawDiagram(true);
    showDrawn();
}

void Laboratory::redrawPlots()
{
    Canvas& w = m_surfaces.window;
    m_view = t1::plotView(m_experiment, m_timeDisplay.unit);
    drawPlotBackdrop(w, m_view, m_experiment.run());
    for (const model::Trace& t : m_experiment.traces())
        drawTrace(w, m_view.scale, t.run, t.ticks, traceColour(t.colour));
    drawRunSoFar(w, m_view, m_experiment.run(), m_experiment.ticks(), m_experiment.lastTick());
    cursor->setScale(m_view.scale);
    // The earlier runs change only with the plots drawn anew.
    const Legend fitted = fittedLegend(legendEntries(m_experiment.traces()), legend->font(), legend->size());
    setTextIfNew(legend, fitted.html);
    legend->setToolTip(fitted.tooltip);
    updateTexts();
}

DiagramValues Laboratory::shownValues() const
{
    const model::Simulation& run = m_experiment.run();
    const auto& samples = run.samples();
    if (const std::optional<int> k = cursor->sample(); k && *k < static_cast<int>(samples.size())) {
        const model::Sample& s = samples[static_cast<std::size_t>(*k)];
        return {s, s.s, s.doorOpen, s.u > 0, run.parametersAt(*k)};
    }
    if (samples.empty()) {
        // What the first acquisition will read and compute.
        const model::Sample first = run.nextSample();
        return {first, first.s, false, false, run.parameters()};
    }
    // A change waits for the next acquisition: the last one's parameters
    // made the values shown.
    const model::Sample& last = samples.back();
    const bool under = m_experiment.ticks() <= m_experiment.lastTick();
    return {last, run.sAt(m_experiment.drawnUntil()), last.doorOpen && under, last.u > 0 && under,
            run.parametersAt(last.k)};
}

void Laboratory::drawDiagram(bool moving)
{
    Canvas& w = m_surfaces.window;
    const DiagramValues v = shownValues();
    drawLabOven(m_surfaces, m_ovenTick, v, m_door, moving);
    if (!m_regulatorShown || !sameRegulator(*m_regulatorShown, v.parameters)) {
        if (!m_regulatorShown || m_regulatorShown->row().closed != v.parameters.row().closed)
            drawLabFeedback(w, v.parameters);
        drawLabRegulator(w, v.parameters);
        m_regulatorShown = v.parameters;
    }
    drawLabReadouts(w, v);
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
    const MeasureTable table = measureTable(run, m_theory, m_timeDisplay.unit);
    // Under the z-plane the table waits; its text is still said.
    if (zPlane->isVisible()) {
        measures->setAccessibleDescription(plainText(table));
        return;
    }
    if (!(table == m_measuresShown)) {
        drawMeasureTable(m_surfaces.window, QPoint(kMeasures.left, kMeasures.top), table, m_measuresShown);
        measures->setAccessibleDescription(plainText(table));
    }
}

void Laboratory::showZPlane(bool shown)
{
    zPlane->setVisible(shown);
    poles->setVisible(!shown);
    measures->setVisible(!shown);
    if (shown) {
        zPlane->redraw(m_surfaces.window, m_experiment.parameters(), m_theory.poles);
    } else {
        // The table drawn whole again where the panel was.
        Canvas& w = m_surfaces.window;
        const QRect panel = ZPlane::panel();
        w.setBrushStyle(BrushStyle::Solid);
        w.setBrushColour(colour::btnFace);
        w.fillRect(panel.left(), panel.top(), panel.right() + 1, panel.bottom() + 1);
        m_measuresShown = {};
        updateTexts();
    }
    showDrawn();
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

    QString note = text(t1::startNote(m_experiment.run().startOutcome()));
    if (m_experiment.startPending())
        note += QStringLiteral("<br><i>Le départ choisi vaudra au prochain essai (Recommencer).</i>");
    setTextIfNew(startNote, note);
    updateNotes();
    updateTexts();
    updateTimer();
}

void Laboratory::updateNotes()
{
    const model::Parameters p = parameters();
    const model::Parameters& started = m_experiment.startedWith();
    for (std::size_t i = 0; i < model::kSettingCount; ++i) {
        const model::Setting& setting = model::kSettings[i];
        if (NumberField* field = m_settingFields[i]) {
            const Note note = placeOf(setting.quantity).note;
            field->setNote(note({setting.quantity, field->value(), p, m_timeDisplay.unit}));
        } else if (QLabel* drawnNote = m_drawNotes[i]) {
            // Drawn from at the start: a new draw waits for the next run.
            const bool pending = setting.get(p) != setting.get(started);
            setTextIfNew(drawnNote, pending ? QStringLiteral("Nouveau tirage au prochain essai (Recommencer)")
                                            : QString());
        }
    }
    for (std::size_t r = 0; r < model::kRegulatorCount; ++r) {
        const auto quantities = model::kRegulators[r].fields();
        for (std::size_t f = 0; f < quantities.size(); ++f) {
            NumberField* field = m_regulatorFields[r][f];
            field->setNote(unitNote({quantities[f], field->value(), p, m_timeDisplay.unit}));
        }
    }
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

Setup Laboratory::setup() const
{
    return {parameters(), m_experiment.start(), m_experiment.shownPeriods(), m_timeDisplay.unit, m_setupTitle};
}

void Laboratory::applySetup(const Setup& setup)
{
    if (m_experiment.state() != model::RunState::Ready) {
        restart();
        pause();
    }
    setParameters(setup.parameters);
    setStart(setup.start);
    setShownPeriods(setup.shownPeriods);
    setTimeUnit(setup.unit);
    m_setupTitle = setup.title;
}

SetupReading Laboratory::openSetup(const QString& path)
{
    SetupReading reading = readSetup(path);
    if (reading.ok()) {
        applySetup(*reading.setup);
        addRecentSetup(path);
    }
    showMessage(setupOpenedText(reading, path), !reading.ok());
    return reading;
}

void Laboratory::askOpenSetup()
{
    const QString path = m_stage->askOpen(ExportFormat::Setup, text(kOpenCaption));
    if (!path.isEmpty())
        openSetup(path);
}

void Laboratory::saveSetup()
{
    const QByteArray json = setupJson(setup());
    const QString path = m_stage->save(ExportFormat::Setup, text(kSetupCaption), text(kSetupFileName),
                                       [json](const QString& to) { return writeSetup(json, to); });
    if (path.isEmpty())
        return;
    addRecentSetup(path);
    showMessage(QStringLiteral("Configuration enregistrée : « %1 ».").arg(QDir::toNativeSeparators(path)), false);
}

QString Laboratory::message() const
{
    return messageLine->text();
}

void Laboratory::showMessage(const QString& message, bool refused)
{
    colourText(messageLine, refused ? kRefusedColour : kToldColour);
    messageLine->setText(message);
    messageLine->setToolTip(message);
}

void Laboratory::dragEnterEvent(QDragEnterEvent* event)
{
    if (!droppedSetup(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void Laboratory::dropEvent(QDropEvent* event)
{
    const QString path = droppedSetup(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    openSetup(path);
}

}  // namespace t1
