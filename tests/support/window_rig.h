#pragma once

#include "shell/temperature1.h"

#include <QApplication>
#include <QImage>
#include <QListWidget>
#include <QPushButton>
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

// The window shown on the offscreen platform, its timer stopped: the tests
// call Timer1Timer themselves.
class WindowRig : public ::testing::Test {
protected:
    void SetUp() override
    {
        w = std::make_unique<TTemperature1>();
        w->Timer1->stop();
        w->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
        QApplication::setActiveWindow(w.get());
    }

    void clickRow(QListWidget* list, int row)
    {
        const QRect r = list->visualItemRect(list->item(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
    }
    void menu(int row) { clickRow(w->ListBox1, row); }

    // Menu item, "en continu" if the lesson has modes, then the start button.
    void startContinuous(int item)
    {
        menu(item);
        if (w->ListBox2->isVisible())
            clickRow(w->ListBox2, 0);
        if (w->ListBox3->isVisible())
            clickRow(w->ListBox3, 0);
        QTest::mouseClick(w->Button1, Qt::LeftButton);
    }

    void ticks(int n)
    {
        for (int i = 0; i < n; ++i)
            w->Timer1Timer();
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
};

}  // namespace t1::testing
