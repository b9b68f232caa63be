#pragma once

#include "shell/temperature1.h"
#include "stage/image_view.h"

#include <QLabel>
#include <QListWidget>
#include <QMetaMethod>
#include <QPushButton>
#include <QScrollBar>
#include <QTextEdit>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

namespace t1::testing {

// The window's controls and handlers, reached as one reaches a designed
// form from outside: each control by the name it carries, each handler by
// the name of its slot. A name the window lacks ends the program at once.
class WindowForm {
public:
    explicit WindowForm(TTemperature1& w) : window(w) {}

    TTemperature1& window;

    ImageView* const FOND = control<ImageView>("FOND");
    QLabel* const Label1 = control<QLabel>("Label1");
    QLabel* const Label2 = control<QLabel>("Label2");
    QLabel* const Label3 = control<QLabel>("Label3");
    QLabel* const Label4 = control<QLabel>("Label4");
    QLabel* const Label5 = control<QLabel>("Label5");
    QLabel* const Label6 = control<QLabel>("Label6");
    QLabel* const Label7 = control<QLabel>("Label7");
    QPushButton* const Button1 = control<QPushButton>("Button1");
    QScrollBar* const ScrollBar1 = control<QScrollBar>("ScrollBar1");
    QListWidget* const ListBox1 = control<QListWidget>("ListBox1");
    QListWidget* const ListBox2 = control<QListWidget>("ListBox2");
    QPushButton* const Button2 = control<QPushButton>("Button2");
    QPushButton* const Button3 = control<QPushButton>("Button3");
    QTextEdit* const RichEdit1 = control<QTextEdit>("RichEdit1");
    QTextEdit* const RichEdit2 = control<QTextEdit>("RichEdit2");
    QPushButton* const Button4 = control<QPushButton>("Button4");
    QListWidget* const ListBox3 = control<QListWidget>("ListBox3");
    QPushButton* const Button5 = control<QPushButton>("Button5");
    QPushButton* const Button6 = control<QPushButton>("Button6");
    QTimer* const Timer1 = control<QTimer>("Timer1");

    // The handlers, as their events call them.
    void Timer1Timer() const { call(m_Timer1Timer); }
    void choix() const { call(m_choix); }
    void choixbis() const { call(m_choixbis); }
    void choixter() const { call(m_choixter); }
    void Button1Click() const { call(m_Button1Click); }
    void Button2Click() const { call(m_Button2Click); }
    void Button3Click() const { call(m_Button3Click); }
    void Button4Click() const { call(m_Button4Click); }
    void Repeindre() const { call(m_Repeindre); }
    void Destruction() const { call(m_Destruction); }

private:
    [[noreturn]] static void missing(const char* what, const char* name)
    {
        std::fprintf(stderr, "the window has no %s named %s\n", what, name);
        std::abort();
    }

    template <typename Control>
    Control* control(const char* name) const
    {
        auto* found = window.findChild<Control*>(QLatin1String(name));
        if (!found)
            missing("control", name);
        return found;
    }

    // Found once: a handler is called on every tick of a benchmark.
    QMetaMethod handler(const char* name) const
    {
        const QMetaObject* meta = window.metaObject();
        const int index = meta->indexOfSlot(QMetaObject::normalizedSignature(name).constData());
        if (index < 0)
            missing("handler", name);
        return meta->method(index);
    }

    void call(const QMetaMethod& method) const
    {
        if (!method.invoke(&window, Qt::DirectConnection))
            missing("handler that runs as", method.methodSignature().constData());
    }

    const QMetaMethod m_Timer1Timer = handler("Timer1Timer()");
    const QMetaMethod m_choix = handler("choix()");
    const QMetaMethod m_choixbis = handler("choixbis()");
    const QMetaMethod m_choixter = handler("choixter()");
    const QMetaMethod m_Button1Click = handler("Button1Click()");
    const QMetaMethod m_Button2Click = handler("Button2Click()");
    const QMetaMethod m_Button3Click = handler("Button3Click()");
    const QMetaMethod m_Button4Click = handler("Button4Click()");
    const QMetaMethod m_Repeindre = handler("Repeindre()");
    const QMetaMethod m_Destruction = handler("Destruction()");
};

}  // namespace t1::testing
