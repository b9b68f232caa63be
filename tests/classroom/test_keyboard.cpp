#include "tests/support/classroom_rig.h"
#include "classroom/help.h"

#include <QAction>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTextEdit>

#include <algorithm>

using namespace t1;
using namespace t1::testing;

namespace {

class KeyboardTest : public ClassroomRig {};

}  // namespace

TEST_F(KeyboardTest, F1ShowsTheFrenchHelpAndEscapeClosesIt)
{
    press(Qt::Key_F1);
    HelpDialog* help = classroom().help();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_FALSE(help->isModal());  // the class still sees the animation behind it

    const QString text = help->text();
    for (int i = 0; i < ui->ListBox1->count(); ++i)
        EXPECT_TRUE(text.contains(ui->ListBox1->item(i)->text())) << i;
    for (const char* words : {"en continu", "pas à pas", "Incrémenter la Période", "Tab", "Espace"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(words))) << words;
    // What the table says of each lesson: which ones take a mode, how many periods.
    for (const LessonRow& row : kLessons) {
        const QString note = QString::fromUtf8(row.title) + QStringLiteral(" — en continu ou pas à pas");
        EXPECT_EQ(text.contains(note), row.running == Running::Sampled) << row.runName;
    }
    EXPECT_TRUE(text.contains(QStringLiteral("pas à pas, six périodes d'échantillonnage")));
    EXPECT_TRUE(text.contains(QStringLiteral("apparaît à la quatrième période")));
    for (const KeyRow& key : kKeys) {
        if (key.help) {
            EXPECT_TRUE(text.contains(QString::fromUtf8(key.shown))) << key.shown;
        }
    }

    QApplication::setActiveWindow(help);
    QTest::keyClick(help, Qt::Key_Escape);
    EXPECT_FALSE(help->isVisible());
    EXPECT_FALSE(w->isFullScreen());
    press(Qt::Key_F1);
    EXPECT_EQ(classroom().help(), help);
    EXPECT_TRUE(help->isVisible());
}

TEST_F(KeyboardTest, TabReachesEveryControlInItsOrderAndLeavesTheTextBoxes)
{
    QWidget* const order[] = {ui->Button1,   ui->ScrollBar1, ui->ListBox1, ui->ListBox2, ui->Button2,  ui->Button3,
                              ui->RichEdit1, ui->RichEdit2,  ui->Button4,  ui->ListBox3, ui->Button5, ui->Button6};
    for (QWidget* c : order) {
        c->setEnabled(true);
        c->show();
    }
    ui->Button1->setFocus();
    for (std::size_t i = 1; i <= std::size(order); ++i) {
        press(Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), order[i % std::size(order)]) << i;
    }
    EXPECT_EQ(ui->RichEdit1->toPlainText(), QStringLiteral("RichEdit1"));  // no tab typed into it
}

TEST_F(KeyboardTest, SpaceOrEnterInAListChoosesTheMarkedRow)
{
    ui->ScrollBar1->setFocus();
    press(Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), ui->ListBox1);
    // Coming in with Tab marks the first row without choosing it.
    EXPECT_EQ(ui->ListBox1->currentRow(), 0);
    EXPECT_FALSE(ui->Button1->isVisible());
    press(Qt::Key_Space);
    EXPECT_TRUE(ui->ListBox1->item(0)->isSelected());
    EXPECT_TRUE(ui->Button1->isVisible());

    press(Qt::Key_Down);
    press(Qt::Key_Down);
    press(Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), ui->ListBox2);
    press(Qt::Key_Down);  // "pas à pas" marked: chosen by the arrow already
    EXPECT_TRUE(ui->Button2->isVisible());
    press(Qt::Key_Up);
    press(Qt::Key_Return);
    EXPECT_TRUE(ui->Button1->isVisible());
    QTest::keyClick(ui->Button1, Qt::Key_Space);
    EXPECT_EQ(st().gSceneTick, 1001);
}

TEST_F(KeyboardTest, EveryKeyIsAnActionOfTheWindowWithTheDesktopsKeysAndOurs)
{
    const auto row = [](KeyAction action) {
        return *std::find_if(kKeys.begin(), kKeys.end(),
                             [action](const KeyRow& k) { return k.action == action; });
    };
    // F11 is there even where the desktop names no full-screen key, and a
    // key both name is listed once.
    const QList<QKeySequence> full = keySequences(row(KeyAction::FullScreen));
    EXPECT_EQ(full.count(QKeySequence(Qt::Key_F11)), 1);
    for (const QKeySequence& standard : QKeySequence::keyBindings(QKeySequence::ZoomIn))
        EXPECT_TRUE(keySequences(row(KeyAction::ZoomIn)).contains(standard));
    EXPECT_TRUE(keySequences(row(KeyAction::ZoomIn)).contains(QKeySequence(Qt::CTRL | Qt::Key_Equal)));

    int actions = 0;
    for (const QAction* action : w->actions())
        actions += !action->shortcuts().isEmpty();
    // Every key but those of the Laboratoire's setups.
    const auto setups = std::count_if(kKeys.begin(), kKeys.end(), [](const KeyRow& k) {
        return k.action == KeyAction::SaveSetup || k.action == KeyAction::OpenSetup;
    });
    EXPECT_EQ(setups, 2);
    EXPECT_EQ(actions, int(kKeys.size()) - int(setups));
}

TEST_F(KeyboardTest, F2AndTheLaboratoryButtonBothAskForTheLaboratory)
{
    QSignalSpy asked(&classroom(), &Classroom::laboratoryRequested);
    EXPECT_TRUE(ui->Button5->isVisible());
    press(Qt::Key_F2);
    QTest::mouseClick(ui->Button5, Qt::LeftButton);
    EXPECT_EQ(asked.count(), 2);
    EXPECT_TRUE(classroom().help() == nullptr || !classroom().help()->isVisible());

    QSignalSpy exercises(&classroom(), &Classroom::exercisesRequested);
    EXPECT_TRUE(ui->Button6->isVisible());
    press(Qt::Key_F3);
    QTest::mouseClick(ui->Button6, Qt::LeftButton);
    EXPECT_EQ(exercises.count(), 2);
    EXPECT_EQ(asked.count(), 2);
}
