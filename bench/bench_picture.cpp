// Time of the shared drawing of one lesson tick: the oven picture, the plot
// frame, the diagram's additions, the readouts and the caption. At the
// fastest speed a tick comes every 10 ms; the figures are shares of it.
#include "bench/bench_stats.h"
#include "lessons/closed_loop.h"
#include "lessons/oven_constants.h"
#include "lessons/shared_readouts.h"
#include "picture/block_diagram.h"
#include "picture/oven_picture.h"
#include "picture/plot_frame.h"
#include "picture/readouts.h"
#include "picture/sprites.h"
#include "picture/surfaces.h"

#include <QGuiApplication>
#include <QLocale>

#include <chrono>
#include <cstdio>

using namespace t1;

namespace {

constexpr int kRuns = 20;
constexpr int kFirstTick = 2;
constexpr int kLastTick = 240;

void lessonTick(Surfaces& s, LoopValues& v, int n)
{
    drawOven(s, heatingOven(n));
    drawPlotFrame(s.window);
    drawPeriodMarks(s.window);
    drawClosedFeedback(s.window);
    drawPeriodLabels(s.window, kPeriodLabels);
    v.gS = 0.1 * n / 24;
    v.gX = static_cast<double>(kUnitsPerVolt * v.gS);
    v.gTemperature = static_cast<double>(kDegreesPerVolt * v.gS + kAmbient);
    drawRegulatorLabel(s.window, kOpenLoopRegulator);  // two lines, as a P lesson prints
    drawReadouts(s.window, v, kClosedLoopReadout);
    drawTemperatureCaption(s.fond, v.gTemperature);
    drawPlotTitles(s.window, LeftTitle::CommandU);
    s.window.takeDirty();
    s.fond.takeDirty();
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::French));

    Surfaces s;
    buildSprites(s);
    drawBlockDiagram(s.window);
    LoopValues v;
    v.gE = 100;
    v.gEp = 18;
    v.gEpu = 82;
    v.gU = 3.2;
    // The first pass prints every text once, as a lesson's first run does.
    for (int n = kFirstTick; n <= kLastTick; ++n)
        lessonTick(s, v, n);

    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    for (int run = 0; run < kRuns; ++run)
        for (int n = kFirstTick; n <= kLastTick; ++n)
            lessonTick(s, v, n);
    const std::chrono::duration<double, std::micro> spent = Clock::now() - start;
    const int ticks = kRuns * (kLastTick - kFirstTick + 1);
    std::printf("Shared drawing of a lesson tick: %.2f %% of the 10 ms tick\n",
                bench::shareOfTick(spent.count() / ticks));

    const auto idleStart = Clock::now();
    for (int i = 0; i < ticks; ++i)
        drawIdleOven(s);
    const std::chrono::duration<double, std::micro> idle = Clock::now() - idleStart;
    std::printf("Idle oven picture: %.2f %% of the 10 ms tick\n", bench::shareOfTick(idle.count() / ticks));
    return 0;
}
