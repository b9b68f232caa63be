#pragma once

#include "lessons/lesson_controls.h"
#include "lessons/scene.h"
#include "lessons/lesson_table.h"

#include <QWidget>

#include <memory>

class QLabel;
class QListWidget;
class QPushButton;
class QScrollBar;
class QTextEdit;
class QTimer;
class ImageView;
class CommentaryPanel;

// The program's one window: every control, the drawing surface and the
// timer that drives the animation. The controls and handlers are the
// window's own and keep the form designer's names: each control carries its
// name as its object name and each handler is a slot of its name, which is
// how tests and benchmarks reach them without the window opening them up.
class TTemperature1 : public QWidget, public t1::LessonControls {
    Q_OBJECT
public:
    explicit TTemperature1(QWidget* parent = nullptr);
    ~TTemperature1() override;

    // One tick after the timer's prologue: the scene draws its instant and
    // the screen shows it. Held ticks skip it.
    void drawTick();

    // While held, the timer keeps its pace but its ticks draw nothing, so
    // the clock and every picture stay as they are (the classroom's pause).
    void setTicksHeld(bool held) { m_ticksHeld = held; }
    bool ticksHeld() const { return m_ticksHeld; }

    // What the lessons may touch.
    void showCommentButton() override;
    void showRecurrenceBox() override;

    CommentaryPanel& commentary() { return *m_commentary; }

    // The lesson chosen in the menu, or null.
    const t1::LessonRow* chosenLesson() const { return t1::menuRow(menuIndex()); }

    t1::Scene& scene() { return m_scene; }
    const t1::Scene& scene() const { return m_scene; }

    // The 800 x 550 scene: the drawing surface with every control on it.
    // It is the window's child at its own size; a zoom may show it scaled.
    QWidget* sceneView() const;

signals:
    // A lesson's tick was drawn: the clock moved, the loop values are new.
    void lessonTickDrawn(const t1::AnimationState& st);
    // The lesson area was cleared: its curves are gone.
    void lessonAreaCleared();
    // The student asks for the laboratory.
    void laboratoryRequested();
    // The student asks for a sheet of exercises.
    void exercisesRequested();

private slots:
    // Handlers.
    void Timer1Timer();
    void choix();
    void choixbis();
    void choixter();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Repeindre();
    void Destruction();

private:
    void createControls();
    void setTabOrder();
    void makeAccessible();
    int menuIndex() const;
    void clearLessonArea();
    void hideRichEdits();
    void startSet();
    void stepPSet();
    void stepPISet();
    void chooseMode(QListWidget* list, t1::Regulation regulation, void (TTemperature1::*stepSet)());
    void periodButton(t1::Regulation regulation);
    void showDrawn();

    // Controls, in creation order (later ones lie on top).
    ImageView* FOND = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label7 = nullptr;
    QPushButton* Button1 = nullptr;
    QScrollBar* ScrollBar1 = nullptr;
    QListWidget* ListBox1 = nullptr;
    QListWidget* ListBox2 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;
    QTextEdit* RichEdit1 = nullptr;
    QTextEdit* RichEdit2 = nullptr;
    QPushButton* Button4 = nullptr;
    QListWidget* ListBox3 = nullptr;
    // Opens the laboratory, where the student runs the loop with parameters of his own.
    QPushButton* Button5 = nullptr;
    // Opens the chooser of the sheets of exercises.
    QPushButton* Button6 = nullptr;
    QTimer* Timer1 = nullptr;

    t1::Scene m_scene;
    ImageView* m_sceneView = nullptr;
    std::unique_ptr<CommentaryPanel> m_commentary;
    bool m_ticksHeld = false;
};
