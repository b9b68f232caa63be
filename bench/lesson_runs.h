#pragma once

#include "bench_stats.h"
#include "lessons/scene_clock.h"

#include <array>
#include <cstdio>
#include <utility>
#include <vector>

namespace t1::bench {

// One full continuous run of each lesson, as the start button begins it.
struct LessonRun {
    Lesson lesson;
    const char* name;
    int start;  // the clock the start button sets
    int ticks;  // drawn ticks until the clock stops
    const ClosedLoopLesson* sampled;  // the four lessons with sampling periods
};

// The presentation's clock never moves: it is given as many ticks as a
// closed-loop run.
inline constexpr int kPresentationTicks = kPeriodTicks * kPeriodCount;

constexpr int drawnTicks(const Band& band)
{
    return band.end - band.start;
}

inline constexpr std::array kLessonRuns{
    LessonRun{Lesson::Presentation, "presentation", kPresentationClock, kPresentationTicks, nullptr},
    LessonRun{Lesson::OpenLoop, "open loop", kOpenLoopBand.start, drawnTicks(kOpenLoopBand), nullptr},
    LessonRun{Lesson::LoopP, "closed loop P", kLoopPBand.start, drawnTicks(kLoopPBand), &kLoopP},
    LessonRun{Lesson::LoopPI, "closed loop PI", kLoopPIBand.start, drawnTicks(kLoopPIBand), &kLoopPI},
    LessonRun{Lesson::DisturbModel, "disturbance model", kDisturbModelBand.start, drawnTicks(kDisturbModelBand),
              nullptr},
    LessonRun{Lesson::DisturbP, "disturbance P", kDisturbPBand.start, drawnTicks(kDisturbPBand), &kDisturbP},
    LessonRun{Lesson::DisturbPI, "disturbance PI", kDisturbPIBand.start, drawnTicks(kDisturbPIBand), &kDisturbPI},
};

// The first and the last sampling period of a closed-loop run, in local
// ticks: what a flat cost compares.
inline constexpr int kFirstPeriodLast = kPeriodTicks - 1;
inline constexpr int kLastPeriodFirst = kPeriodTicks * (kPeriodCount - 1) + 1;
// Nothing may grow with the run: the last period costs at most this much more.
inline constexpr double kFlatTarget = 1.2;

// The ticks of a lesson's runs, and those of its first and last period.
struct Timings {
    std::vector<double> all;
    std::vector<double> firstPeriod;
    std::vector<double> lastPeriod;

    void add(double spent, const LessonRun& run, const AnimationState& st)
    {
        all.push_back(spent);
        if (!run.sampled)
            return;
        const int t = st.*run.sampled->localTick;
        if (t <= kFirstPeriodLast)
            firstPeriod.push_back(spent);
        else if (t >= kLastPeriodFirst)
            lastPeriod.push_back(spent);
    }
};

// A row per lesson as shares of the fastest tick, the whole against a
// target, then the flat-cost ratios of the sampled lessons.
class TickTable {
public:
    explicit TickTable(const char* title)
    {
        std::printf("%s, share of the 10 ms tick:\n", title);
        std::printf("  %-20s %8s %8s %8s\n", "lesson", "mean", "p99", "max");
    }

    void add(const LessonRun& run, const Timings& t)
    {
        std::printf("  %-20s %7.2f%% %7.2f%% %7.2f%%\n", run.name, shareOfTick(mean(t.all)),
                    shareOfTick(percentile(t.all, 99)), shareOfTick(percentile(t.all, 100)));
        m_all.insert(m_all.end(), t.all.begin(), t.all.end());
        if (run.sampled)
            m_flat.emplace_back(run.name, mean(t.lastPeriod) / mean(t.firstPeriod));
    }

    void finish(double p99Target, const char* flatTitle) const
    {
        const double p99 = shareOfTick(percentile(m_all, 99));
        std::printf("  %-20s %7.2f%% %7.2f%%          target p99 < %.0f %%: %s\n", "all lessons",
                    shareOfTick(mean(m_all)), p99, p99Target, verdict(p99 < p99Target));
        std::printf("\n%s: mean tick of the last sampling period over the first:\n", flatTitle);
        bool allFlat = true;
        for (const auto& [name, ratio] : m_flat) {
            std::printf("  %-20s %8.2f\n", name, ratio);
            allFlat = allFlat && ratio <= kFlatTarget;
        }
        std::printf("  target at most %.1f: %s\n", kFlatTarget, verdict(allFlat));
    }

private:
    std::vector<double> m_all;
    std::vector<std::pair<const char*, double>> m_flat;
};

}  // namespace t1::bench
