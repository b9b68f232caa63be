// The window's side of the benchmarks, on the offscreen platform:
//  - the tick including the copy to the screen: Timer1Timer() and the
//    repaint it asks for, over every lesson's full run;
//  - the PI lessons' recurrence box against the P lessons' tick;
//  - pacing: a real timer at speed 10 and at 100, the measured mean
//    interval over the requested one;
//  - start-up to the first drawn frame, and peak resident memory over a
//    run of all seven lessons, each in a fresh process.
// With --soak MINUTES it runs every lesson in a loop at speed 10 and
// prints the resident memory once a minute.
#include "classroom/classroom.h"
#include "shell/application.h"
#include "shell/commentary_panel.h"
#include "shell/temperature1.h"
#include "bench/bench_stats.h"
#include "bench/lesson_runs.h"
#include "tests/support/window_form.h"

#include <QEventLoop>
#include <QFile>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string_view>

using namespace t1;
using namespace t1::bench;
using t1::testing::WindowForm;

namespace {

constexpr int kDefaultRuns = 10;
constexpr int kWarmUpRuns = 2;
constexpr double kCopyTarget = 5.0;  // percent of the tick, 99th percentile
constexpr double kPacingTolerance = 0.02;
constexpr double kPacingSeconds = 3.0;
constexpr int kPacingSkipped = 2;  // the first ticks still run at the old interval
constexpr int kFastest = 10;
constexpr int kDefaultSpeed = 100;
constexpr int kStartUps = 7;
constexpr int kRecurrenceCalls = 2000;
constexpr double kMillisPerMinute = 60'000.0;
constexpr double kKibPerMib = 1024.0;

const char* const kFirstFrameFlag = "--first-frame";
const char* const kMemoryFlag = "--memory";
const char* const kSoakFlag = "--soak";

// Kilobytes from a line of /proc/self/status ("VmRSS:", "VmHWM:").
long statusKib(const char* key)
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray wanted(key);
    for (const QByteArray& line : f.readAll().split('\n')) {
        if (line.startsWith(wanted))
            return line.mid(wanted.size()).trimmed().split(' ').first().toLong();
    }
    return 0;
}

// The tick as the event loop runs it: the handler, then the repaint it asked for.
void windowTick(const WindowForm& ui)
{
    ui.Timer1Timer();
    QCoreApplication::processEvents();
}

QListWidget* modeList(const WindowForm& ui, const LessonRow& run)
{
    const bool pi = run.regulation == Regulation::PI;
    return pi ? ui.ListBox3 : ui.ListBox2;
}

// As a student starts it: the menu row, "en continu" for a sampled lesson,
// then "Démarrer Animation".
void startLesson(const WindowForm& ui, const LessonRow& run)
{
    if (ui.ListBox1->currentRow() != menuIndex(run))
        ui.ListBox1->setCurrentRow(menuIndex(run));
    if (run.running == Running::Sampled)
        modeList(ui, run)->setCurrentRow(0);
    ui.Button1->click();
    if (ui.window.scene().st.gSceneTick != run.band.start) {
        std::fprintf(stderr, "%s did not start\n", run.runName);
        std::exit(1);
    }
}

bool finished(const WindowForm& ui, const LessonRow& run, int ticked)
{
    if (run.running == Running::Page)
        return ticked >= runTicks(run);
    return ui.window.scene().st.gSceneTick == run.band.start + runTicks(run);
}

void timeRun(const WindowForm& ui, const LessonRow& run, Timings* out)
{
    startLesson(ui, run);
    QCoreApplication::processEvents();
    for (int i = 0; i < runTicks(run); ++i) {
        const auto start = Clock::now();
        windowTick(ui);
        const double spent = micros(Clock::now() - start);
        if (out)
            out->add(spent, run, ui.window.scene().st);
    }
}

void tickCosts(const WindowForm& ui, int runs)
{
    char title[120];
    std::snprintf(title, sizeof title, "Tick including the copy to the screen (%d full runs of each lesson)", runs);
    TickTable table(title);
    std::vector<double> means(kLessons.size());
    for (const LessonRow& run : kLessons) {
        for (int i = 0; i < kWarmUpRuns; ++i)
            timeRun(ui, run, nullptr);
        Timings t;
        for (int i = 0; i < runs; ++i)
            timeRun(ui, run, &t);
        means[std::size_t(menuIndex(run))] = mean(t.all);
        table.add(run, t);
    }
    table.finish(kCopyTarget, "Flat cost with the copy");
    const auto meanOf = [&means](std::string_view name) {
        return means[std::size_t(menuIndex(*lessonNamed(name)))];
    };

    std::printf("\nPI lessons (recurrence box) over P lessons, mean tick with the copy:\n");
    std::printf("  closed loop PI / P    %8.2f\n",
                meanOf("closed loop PI") / meanOf("closed loop P"));
    std::printf("  disturbance PI / P    %8.2f\n",
                meanOf("disturbance PI") / meanOf("disturbance P"));

    // The box's own handling on a tick, against the whole P tick; and what
    // reading the document again on every tick would cost instead.
    startLesson(ui, lesson("closed loop PI"));
    windowTick(ui);
    auto start = Clock::now();
    for (int i = 0; i < kRecurrenceCalls; ++i)
        ui.window.showRecurrenceBox();
    const double kept = micros(Clock::now() - start) / kRecurrenceCalls;
    start = Clock::now();
    for (int i = 0; i < kRecurrenceCalls; ++i) {
        ui.window.commentary().newRun();
        ui.window.showRecurrenceBox();
        QCoreApplication::processEvents();
    }
    const double reread = micros(Clock::now() - start) / kRecurrenceCalls;
    const double pTick = meanOf("closed loop P");
    std::printf("  recurrence box handling on a tick / P tick          %8.4f\n", kept / pTick);
    std::printf("  (were the document read again on every tick / P tick %7.2f)\n", reread / pTick);
}

// A real timer drives a lesson at that speed; the lesson starts again when it ends.
double pacing(const WindowForm& ui, int speed, double* worst)
{
    const LessonRow& run = lesson("closed loop PI");
    startLesson(ui, run);
    ui.ScrollBar1->setValue(speed);
    std::vector<Clock::time_point> stamps;
    const auto conn = QObject::connect(ui.Timer1, &QTimer::timeout, [&] {
        stamps.push_back(Clock::now());
        if (finished(ui, run, 0))
            ui.Button1->click();
    });
    QEventLoop loop;
    QTimer::singleShot(int(kPacingSeconds * 1000), &loop, &QEventLoop::quit);
    ui.Timer1->start();
    loop.exec();
    ui.Timer1->stop();
    QObject::disconnect(conn);

    std::vector<double> intervals;
    for (std::size_t i = kPacingSkipped + 1; i < stamps.size(); ++i)
        intervals.push_back(micros(stamps[i] - stamps[i - 1]));
    *worst = percentile(intervals, 99) / (speed * 1000.0);
    return mean(intervals) / (speed * 1000.0);
}

void pacings(const WindowForm& ui)
{
    std::printf("\nPacing with a real timer, %.0f s each: mean interval between ticks over the requested one\n",
                kPacingSeconds);
    for (const int speed : {kFastest, kDefaultSpeed}) {
        double worst = 0;
        const double ratio = pacing(ui, speed, &worst);
        std::printf("  speed bar at %3d      %8.3f   (p99 interval %.3f)   target within %.0f %%: %s\n", speed, ratio,
                    worst, 100 * kPacingTolerance, verdict(std::abs(ratio - 1) <= kPacingTolerance));
    }
}

// In a fresh process: the window as main() builds it, which says when its
// first frame is drawn and ends.
class FirstFrameWindow : public TTemperature1 {
protected:
    void paintEvent(QPaintEvent* event) override
    {
        TTemperature1::paintEvent(event);
        if (m_done)
            return;
        m_done = true;
        const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch());
        std::printf("%lld\n", static_cast<long long>(ns.count()));
        std::fflush(stdout);
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    }

private:
    bool m_done = false;
};

int firstFrameChild(Application& app)
{
    FirstFrameWindow window;
    new Classroom(&window);
    window.showMaximized();
    return app.exec();
}

// In a fresh process: resident memory once started, and its peak over a
// run of all seven lessons with their commentaries opened.
int memoryChild()
{
    TTemperature1 w;
    const WindowForm ui(w);
    ui.Timer1->stop();
    ui.window.showMaximized();
    QCoreApplication::processEvents();
    windowTick(ui);
    const long started = statusKib("VmRSS:");
    for (const LessonRow& run : kLessons) {
        startLesson(ui, run);
        for (int i = 0; i < runTicks(run); ++i)
            windowTick(ui);
        if (ui.Button3->isVisible())
            ui.Button3->click();
        QCoreApplication::processEvents();
    }
    std::printf("%ld %ld\n", started, statusKib("VmHWM:"));
    return 0;
}

std::optional<QByteArray> runChild(const char* program, const char* flag)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QString::fromLocal8Bit(program), {QString::fromLatin1(flag)});
    if (!child.waitForFinished(-1) || child.exitCode() != 0)
        return std::nullopt;
    return child.readAllStandardOutput();
}

void startUpAndMemory(const char* program)
{
    std::printf("\nStart-up to the first drawn frame (median of %d fresh processes):\n", kStartUps);
    std::vector<double> startUps;
    for (int i = 0; i < kStartUps; ++i) {
        const auto launched = Clock::now();
        const auto out = runChild(program, kFirstFrameFlag);
        if (!out)
            continue;
        const Clock::time_point drawn{std::chrono::nanoseconds(out->trimmed().toLongLong())};
        startUps.push_back(micros(drawn - launched));
    }
    const double startUp = median(startUps);
    std::printf("  %.0f ms; over the 100 ms before the first tick: %.2f\n", startUp / 1000, startUp / 100'000);

    std::printf("\nResident memory over a run of all seven lessons with their commentaries:\n");
    const auto out = runChild(program, kMemoryFlag);
    if (!out) {
        std::printf("  (the measuring process failed)\n");
        return;
    }
    const QList<QByteArray> kib = out->trimmed().split(' ');
    const double started = kib.value(0).toDouble();
    const double peak = kib.value(1).toDouble();
    std::printf("  after start-up %.1f MiB, peak %.1f MiB; peak over start-up: %.2f\n", started / kKibPerMib,
                peak / kKibPerMib, peak / started);
}

// Every lesson in turn at the fastest speed, each run to its end and its
// commentary opened, for that many minutes.
int soak(const WindowForm& ui, double minutes)
{
    std::size_t current = 0;
    int ticked = 0;
    int problems = 0;
    int runs = 0;
    std::vector<long> samples;
    // A missing document would be shown in a message box on every run.
    ui.window.commentary().setReporter([&problems](const QString& message) {
        if (problems++ == 0)
            std::printf("  %s\n", message.toLocal8Bit().constData());
    });
    ui.ScrollBar1->setValue(kFastest);
    startLesson(ui, kLessons[current]);
    QObject::connect(ui.Timer1, &QTimer::timeout, [&] {
        ++ticked;
        if (!finished(ui, kLessons[current], ticked))
            return;
        if (ui.Button3->isVisible())
            ui.Button3->click();
        current = (current + 1) % kLessons.size();
        ticked = 0;
        ++runs;
        startLesson(ui, kLessons[current]);
    });
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout, [&] {
        samples.push_back(statusKib("VmRSS:"));
        std::printf("  minute %3zu: resident %.1f MiB, %d ticks into lesson %zu\n", samples.size(),
                    double(samples.back()) / kKibPerMib, ticked, current);
        std::fflush(stdout);
    });
    sampler.start(int(kMillisPerMinute));
    QEventLoop loop;
    QTimer::singleShot(int(minutes * kMillisPerMinute) + 1000, &loop, &QEventLoop::quit);
    const auto began = Clock::now();
    ui.Timer1->start();
    loop.exec();
    ui.Timer1->stop();
    if (problems > 0)
        std::printf("  %d problems with the documents: run it where they are installed\n", problems);
    if (samples.size() < 2)
        return 0;
    const double first = double(samples.front());
    const double largest = double(*std::max_element(samples.begin(), samples.end()));
    std::printf("Soak of %.0f min at speed 10, %d lesson runs: resident memory, last minute over first %.3f, "
                "largest over first %.3f\n",
                micros(Clock::now() - began) / 1e6 / 60, runs, double(samples.back()) / first, largest / first);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    Application app(argc, argv);
    const QByteArray mode = argc > 1 ? QByteArray(argv[1]) : QByteArray();
    if (mode == kFirstFrameFlag)
        return firstFrameChild(app);
    if (mode == kMemoryFlag)
        return memoryChild();

    TTemperature1 w;
    const WindowForm ui(w);
    ui.Timer1->stop();
    ui.window.showMaximized();
    QCoreApplication::processEvents();
    if (mode == kSoakFlag)
        return soak(ui, argc > 2 ? std::atof(argv[2]) : 60.0);

    tickCosts(ui, argc > 1 ? std::max(1, std::atoi(argv[1])) : kDefaultRuns);
    pacings(ui);
    startUpAndMemory(argv[0]);
    return 0;
}
