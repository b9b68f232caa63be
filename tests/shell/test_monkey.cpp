// A seeded "monkey": thousands of clicks, key presses and speed-bar moves on
// the real window, with timer ticks in between, checking after each event
// the rules that the control tables keep whatever the order of events.
// T1_MONKEY_SEED and T1_MONKEY_EVENTS replay or lengthen a run.
#include "lessons/lesson_table.h"
#include "tests/support/window_rig.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

#include <gtest/gtest.h>

#include <array>
#include <deque>
#include <random>
#include <sstream>

using namespace t1;
using namespace t1::testing;

namespace {

constexpr unsigned kDefaultSeed = 20261208;
constexpr int kDefaultEvents = 4000;
constexpr std::size_t kHistory = 25;  // events shown when a rule breaks
constexpr int kMaxTickBurst = 60;
constexpr int kLongRun = 260;  // enough ticks to finish any lesson

int fromEnv(const char* name, int fallback)
{
    const QByteArray value = qgetenv(name);
    bool ok = false;
    const int n = value.toInt(&ok);
    return ok ? n : fallback;
}

// Where the clock may be: idle, the presentation, or within a lesson's band,
// its end included.
bool clockInABand(int clock)
{
    if (clock == kIdleClock)
        return true;
    for (const LessonRow& row : kLessons) {
        const bool inside = row.running == Running::Page ? clock == row.band.start
                                                          : row.band.base < clock && clock <= row.band.end;
        if (inside)
            return true;
    }
    return false;
}

class Monkey : public WindowRig {
protected:
    static bool shown(const QWidget* c) { return c->isVisibleTo(c->parentWidget()); }

    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); }

    void note(std::string what)
    {
        history.push_back(std::move(what));
        if (history.size() > kHistory)
            history.pop_front();
    }

    std::string trail() const
    {
        std::ostringstream out;
        out << "seed " << seed << ", last events:";
        for (const std::string& e : history)
            out << "\n  " << e;
        return out.str();
    }

    // The rules after every event; false at the first broken one.
    bool holds()
    {
        const AnimationState& st = w->scene().st;
        const int buttons = int(shown(ui->Button1)) + int(shown(ui->Button2)) + int(shown(ui->Button4));
        EXPECT_LE(buttons, 1) << "start and period buttons shown together\n" << trail();
        EXPECT_FALSE(shown(ui->ListBox2) && shown(ui->ListBox3)) << "both mode lists shown\n" << trail();
        EXPECT_EQ(shown(ui->Label7), shown(ui->ListBox2) || shown(ui->ListBox3))
            << "the caption without its mode list\n"
            << trail();
        EXPECT_TRUE(clockInABand(st.gSceneTick)) << "clock " << st.gSceneTick << "\n" << trail();
        for (const LessonRow& row : kLessons) {
            const int p = st.clockOf(row).period;
            EXPECT_TRUE(p >= 0 && p <= row.periods) << row.runName << " period index " << p << "\n" << trail();
        }
        // A shown box is a usable one.
        for (const QTextEdit* box : {ui->RichEdit1, ui->RichEdit2})
            EXPECT_TRUE(!shown(box) || box->isEnabled()) << trail();
        return !::testing::Test::HasFailure();
    }

    void runTicks(int n)
    {
        ticks(n);
        QCoreApplication::processEvents();
    }

    // One event a student could cause, chosen at random among those the
    // window offers at that moment.
    void act()
    {
        switch (pick(10)) {
        case 0:
        case 1: {
            const int row = pick(ui->ListBox1->count());
            note("menu row " + std::to_string(row));
            clickRow(ui->ListBox1, row);
            break;
        }
        case 2: {
            QListWidget* modes = shown(ui->ListBox2) ? ui->ListBox2 : shown(ui->ListBox3) ? ui->ListBox3 : nullptr;
            if (!modes)
                return runTicks(1);
            const int row = pick(2);
            note(std::string(modes == ui->ListBox2 ? "ListBox2" : "ListBox3") + " row " + std::to_string(row));
            clickRow(modes, row);
            break;
        }
        case 3:
        case 4: {
            // Whichever of the buttons under the mode list is there.
            for (QPushButton* b : {ui->Button1, ui->Button2, ui->Button4}) {
                if (shown(b)) {
                    ++presses;
                    note(std::string("click ") + (b == ui->Button1 ? "Button1" : b == ui->Button2 ? "Button2" : "Button4"));
                    QTest::mouseClick(b, Qt::LeftButton);
                    break;
                }
            }
            break;
        }
        case 5:
            if (shown(ui->Button3)) {
                note("click Commentaires");
                QTest::mouseClick(ui->Button3, Qt::LeftButton);
                ++commentaries;
            } else if (shown(ui->RichEdit1)) {
                note("type in RichEdit1");
                QTest::keyClicks(ui->RichEdit1, QStringLiteral("à revoir "));
            }
            break;
        case 6: {
            // A click on the speed bar's arrows or groove, or a key on it.
            const QRect bar = ui->ScrollBar1->rect();
            if (pick(2) == 0) {
                const QPoint at(pick(bar.width()), bar.height() / 2);
                note("speed bar click at x " + std::to_string(at.x()));
                QTest::mouseClick(ui->ScrollBar1, Qt::LeftButton, {}, at);
            } else {
                constexpr std::array keys{Qt::Key_Left, Qt::Key_Right, Qt::Key_PageUp, Qt::Key_PageDown,
                                          Qt::Key_Home, Qt::Key_End};
                const Qt::Key key = keys[std::size_t(pick(int(keys.size())))];
                note("speed bar key " + std::to_string(int(key)));
                QTest::keyClick(ui->ScrollBar1, key);
            }
            break;
        }
        case 7: {
            const Qt::Key key = pick(2) == 0 ? Qt::Key_Up : Qt::Key_Down;
            note(std::string("menu key ") + (key == Qt::Key_Up ? "up" : "down"));
            QTest::keyClick(ui->ListBox1, key);
            break;
        }
        case 8: {
            note("run on");
            runTicks(kLongRun);
            break;
        }
        default: {
            const int n = 1 + pick(kMaxTickBurst);
            note(std::to_string(n) + " ticks");
            runTicks(n);
            break;
        }
        }
    }

    const unsigned seed = unsigned(fromEnv("T1_MONKEY_SEED", int(kDefaultSeed)));
    std::mt19937 rng{seed};
    std::deque<std::string> history;
    int presses = 0;
    int commentaries = 0;
};

}  // namespace

TEST_F(Monkey, ThousandsOfEventsKeepTheControlRules)
{
    const int events = fromEnv("T1_MONKEY_EVENTS", kDefaultEvents);
    for (int i = 0; i < events; ++i) {
        act();
        runTicks(1);
        if (!holds())
            return;
    }
    // The run went through the lessons and their commentaries, and every
    // document was found and read.
    EXPECT_GT(presses, events / 20) << trail();
    EXPECT_GT(commentaries, 0) << trail();
    EXPECT_TRUE(problems.isEmpty()) << problems.join(u'\n').toStdString();
}
