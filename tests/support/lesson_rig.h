#pragma once

#include "lessons/lesson_table.h"
#include "lessons/scene.h"
#include "picture/block_diagram.h"
#include "picture/number_text.h"
#include "picture/sprites.h"
#include "tests/support/scoped_locale.h"

#include <QRect>
#include <QString>

#include <functional>
#include <limits>
#include <string>
#include <vector>

namespace t1::testing {

struct FakeControls : LessonControls {
    int commentButton = 0;
    int recurrenceBox = 0;
    void showCommentButton() override { ++commentButton; }
    void showRecurrenceBox() override { ++recurrenceBox; }
};

// A window as the program has it when a lesson starts: sprites built and the
// block diagram painted, which leaves the blue 7 pt text font. Tests of the
// clock alone leave both out: without sprites a tick draws no oven.
enum class Backdrop { Window, ClockOnly };

struct LessonRig {
    Scene scene;
    FakeControls controls;

    explicit LessonRig(Backdrop backdrop = Backdrop::Window)
    {
        scene.controls = &controls;
        if (backdrop == Backdrop::ClockOnly)
            return;
        buildSprites(scene.surfaces);
        drawBlockDiagram(scene.surfaces.window);
    }
    LessonRig(const LessonRig&) = delete;
    LessonRig& operator=(const LessonRig&) = delete;

    Canvas& window() { return scene.surfaces.window; }
    Canvas& fond() { return scene.surfaces.fond; }

    // The start button: clears the lesson area and sets the start code.
    void start(int code)
    {
        clearLessonArea(window());
        scene.st.gSceneTick = code;
    }

    // The start button of a lesson: a sampled one runs continuously.
    void start(const LessonRow& lesson)
    {
        scene.st.clockOf(lesson).period = 0;
        start(lesson.band.start);
    }

    // A menu click: back to idle, the lesson area cleared.
    void leave()
    {
        clearLessonArea(window());
        scene.st.gSceneTick = 0;
    }

    // The one way the tests run a lesson: timer ticks until the clock
    // reaches `clock` or stops moving. After each tick that moved it,
    // `afterTick` may look at what it drew. Returns the clocks drawn.
    std::vector<int> runTo(int clock = std::numeric_limits<int>::max())
    {
        std::vector<int> drawn;
        while (scene.st.gSceneTick < clock) {
            const int before = scene.st.gSceneTick;
            sceneTick(scene);
            if (scene.st.gSceneTick == before)
                break;
            drawn.push_back(scene.st.gSceneTick);
            if (afterTick)
                afterTick();
        }
        return drawn;
    }

    std::function<void()> afterTick;
};

// How many pixels of that colour an area holds.
inline int countIn(const Canvas& c, const QRect& r, QRgb colour)
{
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += c.pixel(x, y) == colour;
    return n;
}

// The readouts as printed, and the oven's caption, on one line.
inline std::string readoutLine(const LoopTexts& t)
{
    const QString line = QStringLiteral("E %1 Ep %2 Epu %3 U %4 S %5 X %6 T %7")
                             .arg(t.gE, t.gEp, t.gEpu, t.gU, t.gS, t.gX, t.gTemperature);
    return line.toStdString();
}

inline std::string readouts(const LoopValues& v)
{
    return readoutLine(loopTexts(v));
}

}  // namespace t1::testing
