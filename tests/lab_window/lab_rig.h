#pragma once

#include "lab_window/laboratory.h"
#include "lab_window/number_field.h"
#include "lab_window/plot_cursor.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace t1::testing {

// The laboratory shown on the offscreen platform; the tests drive its ticks.
class LabRig : public ::testing::Test {
protected:
    void SetUp() override
    {
        lab = std::make_unique<Laboratory>();
        lab->setManualTicks(true);
        lab->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(lab.get()));
        QApplication::setActiveWindow(lab.get());
    }

    void click(QWidget* button) { QTest::mouseClick(button, Qt::LeftButton); }

    // As the student types: into the box, the old text selected, then Enter.
    void type(NumberField* field, const QString& text)
    {
        QLineEdit* edit = field->edit();
        QTest::mouseClick(edit, Qt::LeftButton);
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);
    }
    void type(NumberField* field, const char* utf8) { type(field, QString::fromUtf8(utf8)); }

    void ticks(int n)
    {
        for (int i = 0; i < n; ++i)
            lab->tick();
    }
    void periods(int n) { ticks(n * model::kTicksPerPeriod); }

    // A key as the user presses it: to whatever has the keyboard focus.
    void press(int key, Qt::KeyboardModifiers modifiers = {})
    {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : lab.get();
        QTest::keyClick(target, Qt::Key(key), modifiers);
    }

    const model::Experiment& experiment() const { return lab->experiment(); }
    const model::Simulation& run() const { return lab->experiment().run(); }
    const std::vector<model::Sample>& samples() const { return run().samples(); }
    const Canvas& scene() const { return lab->surfaces().window; }
    ReadoutTexts readouts() const { return readoutTexts(lab->shownValues()); }

    NumberField* setting(const model::Quantity& q) const { return lab->settingField(q.key); }
    NumberField* regulatorField(model::Regulator r, std::size_t field) const { return lab->regulatorField(r, field); }
    NumberField* gain() const { return regulatorField(model::Regulator::P, model::kGainField); }

    std::unique_ptr<Laboratory> lab;
};

}  // namespace t1::testing
