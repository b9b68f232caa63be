// Cost of the drawing of every lesson's tick, headless: each lesson's full
// continuous run drawn many times on a fresh scene, timed tick by tick.
// Prints the mean and the 99th percentile as shares of the 10 ms tick of the
// fastest speed, and for the closed-loop lessons the cost of their last
// sampling period over their first (nothing may grow with the run).
#include "bench/bench_stats.h"
#include "bench/lesson_runs.h"
#include "lessons/scene.h"
#include "picture/block_diagram.h"
#include "picture/sprites.h"

#include <QGuiApplication>
#include <QLocale>

#include <cstdio>
#include <cstdlib>

using namespace t1;
using namespace t1::bench;

namespace {

constexpr int kDefaultRuns = 40;
constexpr int kWarmUpRuns = 2;  // the first run of a lesson prints every text once
constexpr double kDrawingTarget = 2.0;  // percent of the tick, 99th percentile

struct NoControls : LessonControls {
    void showCommentButton() override {}
    void showRecurrenceBox() override {}
};

// One run from the start button's clock; a closed-loop lesson continuous.
void runOnce(Scene& scene, const LessonRow& run, Timings* out)
{
    clearLessonArea(scene.surfaces.window);
    scene.surfaces.window.takeDirty();
    AnimationState& st = scene.st;
    st.gSceneTick = run.band.start;
    st.clockOf(run).period = 0;
    for (int i = 0; i < runTicks(run); ++i) {
        const auto start = Clock::now();
        sceneTick(scene);
        scene.surfaces.window.takeDirty();
        scene.surfaces.fond.takeDirty();
        const double spent = micros(Clock::now() - start);
        if (out)
            out->add(spent, run, st);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::French));
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : kDefaultRuns;

    char title[120];
    std::snprintf(title, sizeof title, "Drawing of one tick, headless (%d full runs of each lesson)", runs);
    TickTable table(title);
    for (const LessonRow& run : kLessons) {
        Scene scene;
        NoControls controls;
        scene.controls = &controls;
        buildSprites(scene.surfaces);
        drawBlockDiagram(scene.surfaces.window);
        for (int i = 0; i < kWarmUpRuns; ++i)
            runOnce(scene, run, nullptr);
        Timings t;
        for (int i = 0; i < runs; ++i)
            runOnce(scene, run, &t);
        table.add(run, t);
    }
    table.finish(kDrawingTarget, "Flat cost, drawing only");
    return 0;
}
