// The keys a window offers: only those it has a handler for, and the ones
// with Ctrl or a function key whatever control has the keyboard.
#include "stage/keys.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

#include <gtest/gtest.h>

namespace t1::testing {
namespace {

// A text field as a desktop's key bindings make it: it claims every key
// that has a meaning in editing, Ctrl+E ("end of line") among them.
class GreedyField : public QLineEdit {
public:
    using QLineEdit::QLineEdit;

protected:
    bool event(QEvent* e) override
    {
        if (e->type() == QEvent::ShortcutOverride) {
            e->accept();
            return true;
        }
        return QLineEdit::event(e);
    }
};

TEST(Keys, AWindowGetsTheKeysItOffersEvenFromAField)
{
    QWidget window;
    auto* field = new GreedyField(&window);
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(field);
    int saved = 0;
    int ticked = 0;
    const KeyHandler offered[] = {
        {KeyAction::SaveValues, [&saved] { ++saved; }},
        {KeyAction::SingleTick, [&ticked] { ++ticked; }},
    };
    const auto actions = installKeys(&window, offered);
    ASSERT_EQ(actions.size(), 2u);
    EXPECT_EQ(window.actions().size(), 2);  // nothing it did not offer

    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QApplication::setActiveWindow(&window);
    field->setFocus();
    QTest::keyClick(field, Qt::Key_E, Qt::ControlModifier);
    EXPECT_EQ(saved, 1);
    // A plain key is the field's: "." is a decimal point there.
    QTest::keyClick(field, Qt::Key_Period);
    EXPECT_EQ(ticked, 0);
}

}  // namespace
}  // namespace t1::testing
