// The laboratory's tick at the fastest speed, on the offscreen platform:
// the simulation, the drawing into the scene and the copy to the screen the
// tick asks for, over whole runs.
//  - 6 periods and no earlier run, 40 periods under 5 earlier runs: the past
//    traces are drawn once, so the tick costs the same;
//  - at 1x, and fitted full screen on a 3840 x 2160 screen.
// Every figure is a share of the 10 ms tick or a ratio measured in this run.
#include "bench/bench_stats.h"
#include "classroom/zoom.h"
#include "laboratory/laboratory.h"
#include "laboratory/number_field.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>

#include <cstdio>

using namespace t1;
using namespace t1::bench;

namespace {

constexpr int kRuns = 3;
constexpr double kTargetAt1x = 5.0;    // percent of the tick, 99th percentile
constexpr double kTargetFitted = 20.0;
constexpr double kFlatTarget = 1.2;
constexpr int kBigScreenWidth = 3840;
constexpr int kBigScreenHeight = 2160;

void enter(NumberField* field, const QString& text)
{
    field->edit()->setText(text);
    field->commit();
}

// Whole runs of the shown periods, each tick with its repaint.
std::vector<double> runTicks(Laboratory& lab, int runs)
{
    std::vector<double> spent;
    for (int r = 0; r < runs; ++r) {
        lab.restartButton->isEnabled() ? lab.restartButton->click() : lab.startButton->click();
        QCoreApplication::processEvents();
        while (lab.experiment().state() != RunState::Finished) {
            const auto start = Clock::now();
            lab.tick();
            QCoreApplication::processEvents();
            spent.push_back(micros(Clock::now() - start));
        }
    }
    return spent;
}

struct Setting {
    const char* name;
    int periods;
    int traces;
};

std::vector<double> measure(Laboratory& lab, const Setting& s)
{
    enter(lab.shownPeriods, QString::number(s.periods));
    lab.clearButton->isEnabled() ? lab.clearButton->click() : void();
    // Earlier runs to draw under the current one.
    for (int i = 0; i < s.traces; ++i)
        runTicks(lab, 1);
    return runTicks(lab, kRuns);
}

void report(const char* name, const std::vector<double>& t, double target)
{
    const double p99 = percentile(t, 99);
    std::printf("  %-44s mean %5.2f %%  p99 %5.2f %%  (target p99 under %.0f %%: %s)\n", name, shareOfTick(mean(t)),
                shareOfTick(p99), target, verdict(shareOfTick(p99) < target));
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    Laboratory lab;
    lab.setManualTicks(true);
    lab.show();
    QCoreApplication::processEvents();
    enter(lab.gain, QStringLiteral("4"));  // a loop that moves: rings a little, then settles

    std::printf("Laboratory tick with the copy to the screen, share of the 10 ms tick:\n");
    // A first run warms the caches and the glyphs.
    measure(lab, {"warm-up", 6, 0});
    const std::vector<double> small = measure(lab, {"6 periods", 6, 0});
    const std::vector<double> large = measure(lab, {"40 periods", 40, 5});
    report("1x, 6 periods, no earlier run", small, kTargetAt1x);
    report("1x, 40 periods, 5 earlier runs", large, kTargetAt1x);
    const double flat = mean(large) / mean(small);
    std::printf("  40 periods and 5 earlier runs over 6 and none, mean tick: %.2f (target at most %.1f: %s)\n", flat,
                kFlatTarget, verdict(flat <= kFlatTarget));

    lab.resize(kBigScreenWidth, kBigScreenHeight);
    lab.zoom().setFit(true);
    QCoreApplication::processEvents();
    const std::vector<double> fitted = measure(lab, {"40 periods", 40, 5});
    char title[96];
    std::snprintf(title, sizeof title, "%dx%d fitted (factor %.2f), 40 periods", kBigScreenWidth, kBigScreenHeight,
                  lab.zoom().factor());
    report(title, fitted, kTargetFitted);
    std::printf("  fitted over 1x, 40 periods, mean tick: %.2f\n", mean(fitted) / mean(large));
    return 0;
}
