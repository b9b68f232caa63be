#pragma once

#include "lesson_rig.h"
#include "lessons/lesson_table.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

namespace t1::testing {

// What the readouts show on one tick.
struct Shown {
    QString e, x, ep, epu, u, s, temperature;
};

inline Shown shownOf(const LoopValues& v)
{
    return {ceilingText(v.gE),   ceilingText(v.gX), ceilingText(v.gEp), ceilingText(v.gEpu),
            numberText(v.gU),    numberText(v.gS),  ceilingText(v.gTemperature)};
}

inline void expectShown(const Shown& got, const Shown& want, int t)
{
    EXPECT_EQ(got.e, want.e) << "E at " << t;
    EXPECT_EQ(got.x, want.x) << "X at " << t;
    EXPECT_EQ(got.ep, want.ep) << "Ep at " << t;
    EXPECT_EQ(got.epu, want.epu) << "Epu at " << t;
    EXPECT_EQ(got.u, want.u) << "U at " << t;
    EXPECT_EQ(got.s, want.s) << "S at " << t;
    EXPECT_EQ(got.temperature, want.temperature) << "temperature at " << t;
}

// Runs a sampled lesson, keeping what each drawn tick showed by its local tick.
struct ClosedLoopRig : LessonRig {
    ScopedLocale french;
    std::map<int, Shown> shown;
    std::function<void(int t)> onTick;  // more to look at after each drawn tick

    ClosedLoopRig()
    {
        afterTick = [this] {
            const int t = scene.st.gSceneTick - lessonAt(scene.st.gSceneTick)->band.base;
            shown[t] = shownOf(scene.st);
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
        scene.st.*l.period = 0;
        for (int k = 1; k <= kPeriodCount; ++k) {
            advancePeriod(scene.st.*l.period, scene.st.gSceneTick, l.band.base);
            runTo();
        }
    }

    // Runs the lesson on to its local tick t.
    void runToTick(const LessonRow& l, int t) { runTo(l.band.base + t); }

    QRgb at(int x, int y) const { return scene.surfaces.window.pixel(x, y); }
};

}  // namespace t1::testing
