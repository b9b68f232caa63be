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
#include <QScrollBar>
#include <QTextEdit>
#include <QTimer>

#include <algorithm>
#include <array>

namespace {

using namespace t1;

struct Geometry {
    int left, top, width, height;
};

// Design bounds, used only until the window is maximised. Its client area is
// never smaller than the drawing surface, or the lower controls would be cut off.
constexpr Geometry kDesignBounds{198, 174, 544, 314};

struct LabelRow {
    Geometry at;
    const char* text;  // UTF-8
    QRgb colour;
    int pixelSize;
    bool bold;
};

constexpr LabelRow kLabel1{{648, 480, 124, 13}, "Réglage vitesse animation", colour::olive, fonts::pt8, false};
constexpr LabelRow kLabel2{{664, 496, 92, 24}, "+               -", colour::olive, fonts::pt14, false};
constexpr LabelRow kLabel3{{24, 496, 46, 16}, "Menu :", colour::navy, fonts::pt10, true};
constexpr LabelRow kLabel4{{16, 8, 307, 20}, "Régulation numérique d'un four", colour::maroon, fonts::pt12, true};
constexpr LabelRow kLabel5{{592, 8, 53, 13}, "Version 2.2", colour::maroon, fonts::pt8, false};
constexpr LabelRow kLabel6{{696, 8, 64, 13}, "Projet libre", colour::maroon, fonts::pt8, false};
constexpr LabelRow kLabel7{{392, 488, 80, 13}, "Sélectionner :", colour::navy, fonts::pt7, true};

constexpr Geometry kFond{kFondLeft, kFondTop, kFondWidth, kFondHeight};
constexpr Geometry kButton1{504, 512, 105, 25};
constexpr Geometry kScrollBar1{648, 520, 121, 16};
constexpr Geometry kListBox1{88, 480, 273, 65};
constexpr Geometry kModeList{408, 504, 57, 33};  // ListBox2 and ListBox3 share it
constexpr Geometry kPeriodButton{496, 512, 121, 25};  // Button2 and Button4 share it
constexpr Geometry kButton3{680, 448, 75, 25};
constexpr Geometry kRichEdit1{80, 224, 705, 217};
constexpr Geometry kRichEdit2{97, 110, 175, 20};
// In the top band, between the title and the supply line, where no lesson draws.
constexpr Geometry kButton5{336, 4, 100, 22};

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

void place(QWidget* w, const Geometry& g)
{
    w->setGeometry(g.left, g.top, g.width, g.height);
}

// "On" is enabled and visible, "off" disabled and hidden.
void setOn(QWidget* w, bool on)
{
    w->setEnabled(on);
    w->setVisible(on);
}

QLabel* makeLabel(QWidget* parent, const LabelRow& row)
{
    auto* label = new QLabel(text(row.text), parent);
    place(label, row.at);
    label->setFont(fonts::make(row.pixelSize, row.bold));
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, QColor::fromRgb(row.colour));
    label->setPalette(pal);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QPushButton* makeButton(QWidget* parent, const Geometry& g, const char* caption)
{
    auto* button = new QPushButton(text(caption), parent);
    place(button, g);
    setOn(button, false);
    return button;
}

template <typename Items>
QListWidget* makeList(QWidget* parent, const Geometry& g, const Items& items)
{
    auto* list = new QListWidget(parent);
    place(list, g);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setUniformItemSizes(true);
    // Long titles are cut at the edge rather than scrolled, so every row stays visible.
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setTextElideMode(Qt::ElideNone);
    list->setWordWrap(false);
    for (const char* item : items) {
        auto* row = new QListWidgetItem(text(item), list);
        row->setSizeHint(QSize(g.width, kItemHeight));
    }
    return list;
}

QTextEdit* makeRichEdit(QWidget* parent, const Geometry& g, QRgb background, const char* placeholder)
{
    auto* box = new QTextEdit(parent);
    place(box, g);
    QPalette pal = box->palette();
    pal.setColor(QPalette::Base, QColor::fromRgb(background));
    box->setPalette(pal);
    box->setPlainText(text(placeholder));
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
    setGeometry(kDesignBounds.left, kDesignBounds.top, std::max(kDesignBounds.width, kSurfaceWidth),
                std::max(kDesignBounds.height, kSurfaceHeight));

    m_scene.controls = this;
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
    FOND = new ImageView(m_scene.surfaces.fond, colour::btnFace, scene);
    FOND->setAccessibleName(QStringLiteral("Vue du four"));
    place(FOND, kFond);

    Label1 = makeLabel(scene, kLabel1);
    Label2 = makeLabel(scene, kLabel2);
    Label3 = makeLabel(scene, kLabel3);
    Label4 = makeLabel(scene, kLabel4);
    Label5 = makeLabel(scene, kLabel5);
    Label6 = makeLabel(scene, kLabel6);
    Label7 = makeLabel(scene, kLabel7);
    Label7->hide();

    Button1 = makeButton(scene, kButton1, "Démarrer Animation");
    connect(Button1, &QPushButton::clicked, this, &TTemperature1::Button1Click);

    ScrollBar1 = new QScrollBar(Qt::Horizontal, scene);
    place(ScrollBar1, kScrollBar1);
    setUpSpeedBar(ScrollBar1);

    std::array<const char*, kLessonCount> titles{};
    std::transform(kLessons.begin(), kLessons.end(), titles.begin(), [](const LessonRow& row) { return row.title; });
    ListBox1 = makeList(scene, kListBox1, titles);
    ListBox1->setAccessibleName(QStringLiteral("Menu"));
    new ListClick(ListBox1, [this] { choix(); });

    ListBox2 = makeList(scene, kModeList, kModeItems);
    setOn(ListBox2, false);
    new ListClick(ListBox2, [this] { choixbis(); });

    Button2 = makeButton(scene, kPeriodButton, "Incrémenter la Période");
    connect(Button2, &QPushButton::clicked, this, &TTemperature1::Button2Click);
    Button3 = makeButton(scene, kButton3, "Commentaires");
    connect(Button3, &QPushButton::clicked, this, &TTemperature1::Button3Click);

    RichEdit1 = makeRichEdit(scene, kRichEdit1, colour::yellow, "RichEdit1");
    RichEdit2 = makeRichEdit(scene, kRichEdit2, colour::red, "RichEdit2");
    // One line high: a scroll bar would leave no room for the line.
    RichEdit2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    RichEdit2->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_commentary = std::make_unique<CommentaryPanel>(RichEdit1, RichEdit2, this);

    Button4 = makeButton(scene, kPeriodButton, "Incrémenter la Période");
    connect(Button4, &QPushButton::clicked, this, &TTemperature1::Button4Click);

    ListBox3 = makeList(scene, kModeList, kModeItems);
    setOn(ListBox3, false);
    new ListClick(ListBox3, [this] { choixter(); });

    Button5 = makeButton(scene, kButton5, "Laboratoire");
    setOn(Button5, true);
    Button5->setToolTip(QStringLiteral("Simuler la boucle avec vos propres paramètres (F2)"));
    connect(Button5, &QPushButton::clicked, this, &TTemperature1::laboratoryRequested);

    Timer1 = new QTimer(this);
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
    for (const LessonRow& other : kLessons)
        if (other.period)
            st.*other.period = 0;
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
            st.*row.period = 0;
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
        if (row->period)
            st.*row->period = 0;
        st.gSceneTick = row->start;
    }
}

void TTemperature1::periodButton(Regulation regulation)
{
    hideRichEdits();
    const LessonRow& row = periodButtonLesson(menuRow(menuIndex()), regulation);
    if (advancePeriod(m_scene.st.*row.period, m_scene.st.gSceneTick, row.band.base)) {
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
