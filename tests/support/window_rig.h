#pragma once

#include "shell/commentary_panel.h"
#include "shell/temperature1.h"
#include "tests/support/window_form.h"

#include <QApplication>
#include <QImage>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

// Readable strings in the failure messages.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace t1::testing {

// A click on a row, brought into view first as a student would scroll to it.
inline void clickRow(QListWidget* list, int row)
{
    list->scrollToItem(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
}

// The window shown on the offscreen platform as a student meets it, its
// timer stopped: the tests tick by hand. The documents come from the
// project's resources and what the window would report is collected.
class WindowRig : public ::testing::Test {
protected:
    void SetUp() override
    {
        w = std::make_unique<TTemperature1>();
        ui = std::make_unique<WindowForm>(*w);
        ui->Timer1->stop();
        w->commentary().setSearchDirs({QStringLiteral(T1_RESOURCES_DIR)});
        w->commentary().setReporter([this](const QString& message) { problems.append(message); });
        w->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
        QApplication::setActiveWindow(w.get());
    }

    void clickRow(QListWidget* list, int row) { testing::clickRow(list, row); }
    void menu(int row) { clickRow(ui->ListBox1, row); }
    void menu(const LessonRow& lesson) { menu(menuIndex(lesson)); }
    void click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

    // Menu item, "en continu" if the lesson has modes, then the start button.
    void startContinuous(const LessonRow& lesson) { startContinuous(menuIndex(lesson)); }
    void startContinuous(int item)
    {
        menu(item);
        if (ui->ListBox2->isVisible())
            clickRow(ui->ListBox2, 0);
        if (ui->ListBox3->isVisible())
            clickRow(ui->ListBox3, 0);
        click(ui->Button1);
    }

    // Timer ticks; each one's interval follows the speed bar.
    void ticks(int n)
    {
        for (int i = 0; i < n; ++i) {
            ui->Timer1Timer();
            ASSERT_EQ(ui->Timer1->interval(), ui->ScrollBar1->value());
        }
    }

    // A key as the user presses it: to whatever has the keyboard focus.
    void press(int key, Qt::KeyboardModifiers modifiers = {})
    {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : w.get();
        QTest::keyClick(target, Qt::Key(key), modifiers);
    }

    // What the window shows, from its top-left corner.
    QImage shown(int width, int height)
    {
        QApplication::processEvents();
        return w->grab(QRect(0, 0, width, height)).toImage().convertToFormat(QImage::Format_RGB32);
    }

    AnimationState& st() { return w->scene().st; }

    std::unique_ptr<TTemperature1> w;
    std::unique_ptr<WindowForm> ui;  // its controls and handlers
    QStringList problems;
};

}  // namespace t1::testing
