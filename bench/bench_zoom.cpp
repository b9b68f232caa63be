// Time of a whole continuous P run, each tick followed by the repaint it
// asks for, at 1x (the window paints itself) and scaled (the graphics view
// paints the stage through its proxy). At the fastest speed a tick comes
// every 10 ms. Run it on the offscreen platform or on a real display.
#include "classroom/classroom.h"
#include "shell/temperature1.h"
#include "classroom/zoom.h"

#include <QApplication>
#include <QListWidget>
#include <QTimer>

#include <chrono>
#include <cstdio>

namespace {

constexpr int kRuns = 5;
constexpr int kTicks = 240;
constexpr double kFactors[] = {1, 2, 1.9636};  // the last one: 1080 / 550, a projector's fit

double runMilliseconds(TTemperature1& w)
{
    w.ListBox2->setCurrentRow(0);
    w.Button1Click();
    QApplication::processEvents();
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kTicks; ++i) {
        w.Timer1Timer();
        QApplication::processEvents();
    }
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    TTemperature1 w;
    auto* classroom = new Classroom(&w);
    w.Timer1->stop();
    w.resize(1600, 1100);
    w.show();
    w.ListBox1->setCurrentRow(2);
    for (double factor : kFactors) {
        classroom->zoom().setFactor(factor);
        double best = 1e9;
        for (int r = 0; r < kRuns; ++r)
            best = std::min(best, runMilliseconds(w));
        std::printf("factor %.4g: %.3f ms per tick with its repaint\n", factor, best / kTicks);
    }
    return 0;
}
