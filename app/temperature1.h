#pragma once

#include "lessons/lesson_controls.h"
#include "lessons/scene.h"
#include "lessons/scene_clock.h"

#include <QWidget>

#include <memory>

class QLabel;
class QListWidget;
class QPushButton;
class QScrollBar;
class QTextEdit;
class QTimer;
class Classroom;
class OvenView;
class CommentaryPanel;

// The program's one window: every control, the drawing surface and the
// timer that drives the animation. The handlers keep the form designer's
// names; the controls are public, as on a designed form.
class TTemperature1 : public QWidget, public t1::LessonControls {
    Q_OBJECT
public:
    explicit TTemperature1(QWidget* parent = nullptr);
    ~TTemperature1() override;

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

    // One tick after the timer's prologue: the scene draws its instant and
    // the screen shows it. A paused tick skips it.
    void drawTick();

    // What the lessons may touch.
    void showCommentButton() override;
    void showRecurrenceBox() override;

    CommentaryPanel& commentary() { return *m_commentary; }

    t1::Scene& scene() { return m_scene; }
    const t1::Scene& scene() const { return m_scene; }
    Classroom& classroom() { return *m_classroom; }

    // Controls, in creation order (later ones lie on top).
    OvenView* FOND = nullptr;
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
    QTimer* Timer1 = nullptr;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void createControls();
    void setTabOrder();
    int menuIndex() const;
    void clearLessonArea();
    void hideRichEdits();
    void startSet();
    void stepPSet();
    void stepPISet();
    void chooseMode(QListWidget* list, int menuA, int menuB, void (TTemperature1::*stepSet)(),
                    int t1::AnimationState::*periodA, int t1::AnimationState::*periodB);
    void periodButton(int menuItem, const t1::ClosedLoopLesson& ifSelected, const t1::ClosedLoopLesson& otherwise);
    void showDrawn();

    t1::Scene m_scene;
    std::unique_ptr<CommentaryPanel> m_commentary;
    Classroom* m_classroom = nullptr;
};

// The one window, as the timer handler reaches it.
extern TTemperature1* Temperature1;
