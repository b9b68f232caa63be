#pragma once

#include "lesson_rig.h"
#include "lessons/lesson_table.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

namespace t1::testing {

// What the readouts showed on a tick, against a line as readoutLine writes it.
inline void expectShown(const LoopTexts& got, const std::string& want, int t)
{
    EXPECT_EQ(readoutLine(got), want) << "at " << t;
}

inline void expectShown(const LoopTexts& got, const LoopTexts& want, int t)
{
    expectShown(got, readoutLine(want), t);
}

// Runs a sampled lesson, keeping what each drawn tick showed by its local tick.
struct ClosedLoopRig : LessonRig {
    ScopedLocale french;
    std::map<int, LoopTexts> shown;
    std::function<void(int t)> onTick;  // more to look at after each drawn tick

    ClosedLoopRig()
    {
        afterTick = [this] {
            const int t = scene.st.gSceneTick - lessonAt(scene.st.gSceneTick)->band.base;
            shown[t] = loopTexts(scene.st);
            if (onTick)
                onTick(t);
        };
    }

    // The start button: continuous from the lesson's start code.
    void runContinuous(const LessonRow& l)
    {
        start(l);
        runTo();
    }

    // One press per period, each period run to its halt.
    void runStepByStep(const LessonRow& l)
    {
        int& period = scene.st.clockOf(l).period;
        period = 0;
        for (int k = 1; k <= l.periods; ++k) {
            advancePeriod(l, period, scene.st.gSceneTick);
            runTo();
        }
    }

    // Runs the lesson on to its local tick t.
    void runToTick(const LessonRow& l, int t) { runTo(l.band.base + t); }

    QRgb at(int x, int y) const { return scene.surfaces.window.pixel(x, y); }
};

}  // namespace t1::testing
