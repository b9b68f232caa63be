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
constexpr double kFlatTarget = 1.2;

struct NoControls : LessonControls {
    void showCommentButton() override {}
    void showRecurrenceBox() override {}
};

struct Timings {
    std::vector<double> all;
    std::vector<double> firstPeriod;
    std::vector<double> lastPeriod;
};

// One run from the start button's clock; a closed-loop lesson continuous.
void runOnce(Scene& scene, const LessonRun& run, Timings* out)
{
    clearLessonArea(scene.surfaces.window);
    scene.surfaces.window.takeDirty();
    AnimationState& st = scene.st;
    st.gSceneTick = run.start;
    if (run.sampled)
        st.*run.sampled->period = 0;
    for (int i = 0; i < run.ticks; ++i) {
        const auto start = Clock::now();
        sceneTick(scene);
        scene.surfaces.window.takeDirty();
        scene.surfaces.fond.takeDirty();
        const double spent = micros(Clock::now() - start);
        if (!out)
            continue;
        out->all.push_back(spent);
        if (run.sampled) {
            const int t = st.*run.sampled->localTick;
            if (t <= kFirstPeriodLast)
                out->firstPeriod.push_back(spent);
            else if (t >= kLastPeriodFirst)
                out->lastPeriod.push_back(spent);
        }
    }
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::French));
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : kDefaultRuns;

    std::printf("Drawing of one tick, headless (%d full runs of each lesson), share of the 10 ms tick:\n", runs);
    std::printf("  %-20s %8s %8s %8s\n", "lesson", "mean", "p99", "max");
    std::vector<double> everything;
    std::vector<std::pair<const char*, double>> flat;
    for (const LessonRun& run : kLessonRuns) {
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
        std::printf("  %-20s %7.2f%% %7.2f%% %7.2f%%\n", run.name, shareOfTick(mean(t.all)),
                    shareOfTick(percentile(t.all, 99)), shareOfTick(percentile(t.all, 100)));
        everything.insert(everything.end(), t.all.begin(), t.all.end());
        if (run.sampled)
            flat.emplace_back(run.name, mean(t.lastPeriod) / mean(t.firstPeriod));
    }
    const double p99 = shareOfTick(percentile(everything, 99));
    std::printf("  %-20s %7.2f%% %7.2f%%          target p99 < %.0f %%: %s\n", "all lessons",
                shareOfTick(mean(everything)), p99, kDrawingTarget, verdict(p99 < kDrawingTarget));

    std::printf("\nFlat cost, drawing only: mean tick of the last sampling period over the first:\n");
    bool allFlat = true;
    for (const auto& [name, ratio] : flat) {
        std::printf("  %-20s %8.2f\n", name, ratio);
        allFlat = allFlat && ratio <= kFlatTarget;
    }
    std::printf("  target at most %.1f: %s\n", kFlatTarget, verdict(allFlat));
    return 0;
}
