#include "shell/temperature1.h"

#include "shell/commentary_panel.h"
#include "shell/list_click.h"
#include "stage/image_view.h"
#include "stage/speed_bar.h"
#include "lessons/lesson_table.h"
#include "picture/block_diagram.h"
#include "picture/colours.h"
#include "picture/fonts.h"
#include "picture/sprites.h"

#include <QIcon>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRect>
#include <QScrollBar>
#include <QTextEdit>
#include <QTimer>

#include <algorithm>
#include <array>
#include <tuple>

namespace {

using namespace t1;

// Design bounds, used only until the window is maximised. Its client area is
// never smaller than the drawing surface, or the lower controls would be cut off.
constexpr QRect kDesignBounds{198, 174, 544, 314};

struct LabelRow {
    const char* name;  // the control's, also its object name
    QRect at;
    const char* text;  // UTF-8
    QRgb colour;
    int pixelSize;
    bool bold = false;
};

constexpr std::array kLabels{
    LabelRow{.name = "Label1", .at = {648, 480, 124, 13}, .text = "Réglage vitesse animation",
             .colour = colour::olive, .pixelSize = fonts::pt8},
    LabelRow{.name = "Label2", .at = {664, 496, 92, 24}, .text = "+               -",
             .colour = colour::olive, .pixelSize = fonts::pt14},
    LabelRow{.name = "Label3", .at = {24, 496, 46, 16}, .text = "Menu :",
             .colour = colour::navy, .pixelSize = fonts::pt10, .bold = true},
    LabelRow{.name = "Label4", .at = {16, 8, 307, 20}, .text = "Régulation numérique d'un four",
             .colour = colour::maroon, .pixelSize = fonts::pt12, .bold = true},
    LabelRow{.name = "Label5", .at = {592, 8, 53, 13}, .text = "Version 2.2",
             .colour = colour::maroon, .pixelSize = fonts::pt8},
    LabelRow{.name = "Label6", .at = {696, 8, 64, 13}, .text = "Projet libre",
             .colour = colour::maroon, .pixelSize = fonts::pt8},
    LabelRow{.name = "Label7", .at = {392, 488, 80, 13}, .text = "Sélectionner :",
             .colour = colour::navy, .pixelSize = fonts::pt7, .bold = true},
};

constexpr QRect kFond{kFondLeft, kFondTop, kFondWidth, kFondHeight};
constexpr QRect kButton1{504, 512, 105, 25};
constexpr QRect kScrollBar1{648, 520, 121, 16};
constexpr QRect kListBox1{88, 480, 273, 65};
constexpr QRect kModeList{408, 504, 57, 33};  // ListBox2 and ListBox3 share it
constexpr QRect kPeriodButton{496, 512, 121, 25};  // Button2 and Button4 share it
constexpr QRect kButton3{680, 448, 75, 25};
constexpr QRect kRichEdit1{80, 224, 705, 217};
constexpr QRect kRichEdit2{97, 110, 175, 20};
// In the top band, between the title and the supply line, where no lesson draws.
constexpr QRect kButton5{336, 4, 100, 22};
// Beside the scene, on the window itself: the lessons' pictures stay as they are.
constexpr int kBesideScene = 8;  // the gap between the scene and the controls beside it
constexpr QRect kButton6{kSurfaceWidth + kBesideScene, 4, 90, 22};
constexpr int kWindowWidth = kButton6.right() + 1 + kBesideScene;

constexpr int kItemHeight = 13;

constexpr std::array kModeItems{"en continu", "pas à pas"};

// What a screen reader says of the surfaces and boxes, which show no text of their own.
constexpr auto kSurfaceName = "Schéma de la régulation du four";
constexpr auto kSurfaceDescription =
    "Schéma-bloc de la boucle avec la valeur de chaque signal, courbes U(t) et S(t) et textes de la leçon";
constexpr auto kOvenDescription =
    "Le four vu de côté : couleur de l'intérieur selon la chaleur, résistance, ventilateur et capteur";
constexpr auto kModeListName = "Mode de la leçon";
constexpr auto kCommentaryName = "Commentaires";
constexpr auto kRecurrenceName = "Équation de récurrence du régulateur PI";
constexpr int kContinuous = 0;
constexpr int kStepByStep = 1;

QString text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

// A control with its designer name, by which it is also found.
template <typename Control>
Control* named(Control* control, const char* name)
{
    control->setObjectName(QLatin1String(name));
    return control;
}

// "On" is enabled and visible, "off" disabled and hidden.
void setOn(QWidget* w, bool on)
{
    w->setEnabled(on);
    w->setVisible(on);
}

QLabel* makeLabel(QWidget* parent, const LabelRow& row)
{
    auto* label = named(new QLabel(text(row.text), parent), row.name);
    label->setGeometry(row.at);
    label->setFont(fonts::make(row.pixelSize, row.bold));
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, QColor::fromRgb(row.colour));
    label->setPalette(pal);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QRect& at, const char* caption)
{
    auto* button = named(new QPushButton(text(caption), parent), name);
    button->setGeometry(at);
    setOn(button, false);
    return button;
}

template <typename Items>
QListWidget* makeList(QWidget* parent, const char* name, const QRect& at, const Items& items)
{
    auto* list = named(new QListWidget(parent), name);
    list->setGeometry(at);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setUniformItemSizes(true);
    // Long titles are cut at the edge rather than scrolled, so every row stays visible.
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setTextElideMode(Qt::ElideNone);
    list->setWordWrap(false);
    for (const char* item : items) {
        auto* row = new QListWidgetItem(text(item), list);
        row->setSizeHint(QSize(at.width(), kItemHeight));
    }
    return list;
}

QTextEdit* makeRichEdit(QWidget* parent, const char* name, const QRect& at, QRgb background)
{
    auto* box = named(new QTextEdit(parent), name);
    box->setGeometry(at);
    QPalette pal = box->palette();
    pal.setColor(QPalette::Base, QColor::fromRgb(background));
    box->setPalette(pal);
    // Until it is first filled it shows its own name, as a designed box does.
    box->setPlainText(text(name));
    setOn(box, false);
    return box;
}

int selectedRow(const QListWidget* list)
{
    const QList<QListWidgetItem*> items = list->selectedItems();
    return items.isEmpty() ? -1 : list->row(items.first());
}

}  // namespace

TTemperature1::TTemperature1(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Temperature1"));
    setWindowTitle(QStringLiteral("Temperature1"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/temperature1.svg")));
    // Beyond the scene a maximised window shows plain background.
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor::fromRgb(colour::btnFace));
    setPalette(pal);
    setMinimumSize(kSurfaceWidth, kSurfaceHeight);
    // Wide enough for the controls beside the scene, maximised or not.
    setGeometry(kDesignBounds.left(), kDesignBounds.top(), std::max(kDesignBounds.width(), kWindowWidth),
                std::max(kDesignBounds.height(), kSurfaceHeight));

    m_scene.controls = this;
    // Made before the scene, so that the window's Tab order, which the zoom
    // takes the scene out of and puts back at its end, stays the same: after
    // the scene's last control, Tab comes round to it.
    Button6 = makeButton(this, "Button6", kButton6, "Exercices");
    setOn(Button6, true);
    Button6->setToolTip(QStringLiteral("Faire une feuille d'exercices (F3)"));
    connect(Button6, &QPushButton::clicked, this, &TTemperature1::exercisesRequested);
    // The scene carries the look of the form: its controls follow its font
    // and colours wherever it is shown, at its own size or scaled.
    m_sceneView = new ImageView(m_scene.surfaces.window, colour::btnFace, this);
    m_sceneView->setObjectName(QStringLiteral("scene"));
    m_sceneView->setFixedSize(kSurfaceWidth, kSurfaceHeight);
    pal.setColor(QPalette::Button, QColor::fromRgb(colour::btnFace));
    m_sceneView->setPalette(pal);
    m_sceneView->setFont(fonts::make(fonts::pt8));
    createControls();
    setTabOrder();
    makeAccessible();
    buildSprites(m_scene.surfaces);
    // The diagram goes into the retained surface once; every paint copies it.
    Repeindre();
}

TTemperature1::~TTemperature1()
{
    Destruction();
}

void TTemperature1::createControls()
{
    QWidget* scene = m_sceneView;
    FOND = named(new ImageView(m_scene.surfaces.fond, colour::btnFace, scene), "FOND");
    FOND->setAccessibleName(QStringLiteral("Vue du four"));
    FOND->setGeometry(kFond);

    std::array<QLabel*, kLabels.size()> labels{};
    std::transform(kLabels.begin(), kLabels.end(), labels.begin(), [scene](const LabelRow& row) { return makeLabel(scene, row); });
    // In the order of the rows.
    std::tie(Label1, Label2, Label3, Label4, Label5, Label6, Label7) = std::tuple_cat(labels);
    Label7->hide();

    Button1 = makeButton(scene, "Button1", kButton1, "Démarrer Animation");
    connect(Button1, &QPushButton::clicked, this, &TTemperature1::Button1Click);

    ScrollBar1 = named(new QScrollBar(Qt::Horizontal, scene), "ScrollBar1");
    ScrollBar1->setGeometry(kScrollBar1);
    setUpSpeedBar(ScrollBar1);

    std::array<const char*, kLessonCount> titles{};
    std::transform(kLessons.begin(), kLessons.end(), titles.begin(), [](const LessonRow& row) { return row.title; });
    ListBox1 = makeList(scene, "ListBox1", kListBox1, titles);
    ListBox1->setAccessibleName(QStringLiteral("Menu"));
    new ListClick(ListBox1, [this] { choix(); });

    ListBox2 = makeList(scene, "ListBox2", kModeList, kModeItems);
    setOn(ListBox2, false);
    new ListClick(ListBox2, [this] { choixbis(); });

    Button2 = makeButton(scene, "Button2", kPeriodButton, "Incrémenter la Période");
    connect(Button2, &QPushButton::clicked, this, &TTemperature1::Button2Click);
    Button3 = makeButton(scene, "Button3", kButton3, "Commentaires");
    connect(Button3, &QPushButton::clicked, this, &TTemperature1::Button3Click);

    RichEdit1 = makeRichEdit(scene, "RichEdit1", kRichEdit1, colour::yellow);
    RichEdit2 = makeRichEdit(scene, "RichEdit2", kRichEdit2, colour::red);
    // One line high: a scroll bar would leave no room for the line.
    RichEdit2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    RichEdit2->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_commentary = std::make_unique<CommentaryPanel>(RichEdit1, RichEdit2, this);

    Button4 = makeButton(scene, "Button4", kPeriodButton, "Incrémenter la Période");
    connect(Button4, &QPushButton::clicked, this, &TTemperature1::Button4Click);

    ListBox3 = makeList(scene, "ListBox3", kModeList, kModeItems);
    setOn(ListBox3, false);
    new ListClick(ListBox3, [this] { choixter(); });

    Button5 = makeButton(scene, "Button5", kButton5, "Laboratoire");
    setOn(Button5, true);
    Button5->setToolTip(QStringLiteral("Simuler la boucle avec vos propres paramètres (F2)"));
    connect(Button5, &QPushButton::clicked, this, &TTemperature1::laboratoryRequested);

    Timer1 = named(new QTimer(this), "Timer1");
    Timer1->setTimerType(Qt::PreciseTimer);  // at 10 ms a coarse timer would drift by 5 %
    Timer1->setInterval(kSpeedDefault);
    connect(Timer1, &QTimer::timeout, this, &TTemperature1::Timer1Timer);
    m_commentary->setPace(Timer1);
    Timer1->start();
}

void TTemperature1::setTabOrder()
{
    const std::array<QWidget*, 11> order{Button1,   ScrollBar1, ListBox1, ListBox2, Button2, Button3,
                                         RichEdit1, RichEdit2,  Button4,  ListBox3, Button5};
    for (std::size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

QWidget* TTemperature1::sceneView() const
{
    return m_sceneView;
}

void TTemperature1::makeAccessible()
{
    m_sceneView->setAccessibleName(text(kSurfaceName));
    m_sceneView->setAccessibleDescription(text(kSurfaceDescription));
    FOND->setAccessibleDescription(text(kOvenDescription));
    ListBox2->setAccessibleName(text(kModeListName));
    ListBox3->setAccessibleName(text(kModeListName));
    RichEdit1->setAccessibleName(text(kCommentaryName));
    RichEdit2->setAccessibleName(text(kRecurrenceName));
    // Tab goes on to the next control rather than into the text.
    RichEdit1->setTabChangesFocus(true);
    RichEdit2->setTabChangesFocus(true);
}

void TTemperature1::Repeindre()
{
    drawBlockDiagram(m_scene.surfaces.window);
    // The window's font becomes the text font of its surface, blue 7 pt,
    // and the controls that follow the window's font take it too.
    m_sceneView->setFont(fonts::make(fonts::pt7));
    QPalette pal = m_sceneView->palette();
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
        pal.setColor(role, QColor::fromRgb(colour::blue));
    m_sceneView->setPalette(pal);
    // Beside the scene, the same look as the scene's own buttons.
    Button6->setFont(m_sceneView->font());
    Button6->setPalette(pal);
    showDrawn();
}

void TTemperature1::Destruction()
{
    freeSprites(m_scene.surfaces);
}

void TTemperature1::showDrawn()
{
    const QRegion changed = m_scene.surfaces.window.takeDirty();
    if (!changed.isEmpty())
        m_sceneView->showChanged(changed);
    const QRegion oven = m_scene.surfaces.fond.takeDirty();
    if (!oven.isEmpty())
        FOND->showChanged(oven);
}

void TTemperature1::Timer1Timer()
{
    // The speed bar's position governs the following ticks.
    if (Timer1->interval() != ScrollBar1->value())
        Timer1->setInterval(ScrollBar1->value());
    if (!m_ticksHeld)
        drawTick();
}

void TTemperature1::drawTick()
{
    // Only a lesson's tick moves the clock.
    const int before = m_scene.st.gSceneTick;
    sceneTick(m_scene);
    if (m_scene.st.gSceneTick != before)
        emit lessonTickDrawn(m_scene.st);
    showDrawn();
}

int TTemperature1::menuIndex() const
{
    return selectedRow(ListBox1);
}

void TTemperature1::clearLessonArea()
{
    t1::clearLessonArea(m_scene.surfaces.window);
    emit lessonAreaCleared();
    showDrawn();
}

void TTemperature1::hideRichEdits()
{
    setOn(RichEdit1, false);
    setOn(RichEdit2, false);
}

void TTemperature1::startSet()
{
    setOn(Button1, true);
    setOn(Button2, false);
    setOn(Button3, false);
    setOn(Button4, false);
}

void TTemperature1::stepPSet()
{
    setOn(Button1, false);
    setOn(Button2, true);
    setOn(Button3, false);
    setOn(Button4, false);
}

void TTemperature1::stepPISet()
{
    setOn(Button1, false);
    setOn(Button2, false);
    setOn(Button3, false);
    setOn(Button4, true);
}

void TTemperature1::choix()
{
    AnimationState& st = m_scene.st;
    const LessonRow* row = menuRow(menuIndex());
    if (!row)
        return;

    m_commentary->newRun();
    if (row->regulation == Regulation::None) {
        clearLessonArea();
        st.gSceneTick = kIdleClock;
        hideRichEdits();
        startSet();
        setOn(ListBox2, false);
        setOn(ListBox3, false);
        Label7->hide();
        return;
    }

    const bool pLesson = row->regulation == Regulation::P;
    for (LessonClock& clock : st.lessonClocks)
        clock.period = 0;
    clearLessonArea();
    st.gSceneTick = kIdleClock;
    hideRichEdits();
    setOn(pLesson ? ListBox3 : ListBox2, false);
    setOn(pLesson ? ListBox2 : ListBox3, true);
    Label7->show();
    setOn(Button3, false);
    // A mode chosen earlier, in either list, decides which button shows.
    if (selectedRow(ListBox2) == kContinuous || selectedRow(ListBox3) == kContinuous) {
        setOn(Button1, true);
        setOn(Button2, false);
        setOn(Button4, false);
    }
    if (selectedRow(pLesson ? ListBox2 : ListBox3) == kStepByStep) {
        setOn(Button1, false);
        setOn(Button2, pLesson);
        setOn(Button4, !pLesson);
    }
}

void TTemperature1::chooseMode(QListWidget* list, Regulation regulation, void (TTemperature1::*stepSet)())
{
    AnimationState& st = m_scene.st;
    if (selectedRow(list) == kContinuous) {
        m_commentary->newRun();
        clearLessonArea();
        st.gSceneTick = kIdleClock;
        hideRichEdits();
        startSet();
        return;
    }
    const LessonRow* chosen = menuRow(menuIndex());
    if (!chosen || chosen->regulation != regulation)
        return;
    m_commentary->newRun();
    clearLessonArea();
    st.gSceneTick = kIdleClock;
    hideRichEdits();
    (this->*stepSet)();
    for (const LessonRow& row : kLessons)
        if (row.regulation == regulation)
            st.clockOf(row).period = 0;
}

void TTemperature1::choixbis()
{
    chooseMode(ListBox2, Regulation::P, &TTemperature1::stepPSet);
}

void TTemperature1::choixter()
{
    chooseMode(ListBox3, Regulation::PI, &TTemperature1::stepPISet);
}

void TTemperature1::Button1Click()
{
    AnimationState& st = m_scene.st;
    hideRichEdits();
    m_commentary->newRun();
    setOn(Button3, false);
    clearLessonArea();
    if (const LessonRow* row = menuRow(menuIndex())) {
        st.clockOf(*row).period = 0;
        st.gSceneTick = row->band.start;
    }
}

void TTemperature1::periodButton(Regulation regulation)
{
    hideRichEdits();
    const LessonRow& row = periodButtonLesson(menuRow(menuIndex()), regulation);
    if (advancePeriod(row, m_scene.st.clockOf(row).period, m_scene.st.gSceneTick)) {
        m_commentary->newRun();
        clearLessonArea();
    }
}

void TTemperature1::Button2Click()
{
    periodButton(Regulation::P);
}

void TTemperature1::Button4Click()
{
    periodButton(Regulation::PI);
}

void TTemperature1::Button3Click()
{
    m_commentary->showCommentary(m_scene.st.gSceneTick);
}

void TTemperature1::showCommentButton()
{
    setOn(Button3, true);
}

void TTemperature1::showRecurrenceBox()
{
    m_commentary->showRecurrence();
}
