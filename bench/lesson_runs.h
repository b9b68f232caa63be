#pragma once

#include "bench_stats.h"
#include "lessons/animation_state.h"
#include "lessons/lesson_table.h"

#include <array>
#include <cstdio>
#include <utility>
#include <vector>

namespace t1::bench {

// The first and the last sampling period of a closed-loop run, in local
// ticks: what a flat cost compares.
inline constexpr int kFirstPeriodLast = kPeriodTicks - 1;
constexpr int lastPeriodFirst(const LessonRow& run)
{
    return kPeriodTicks * (run.periods - 1) + 1;
}
// Nothing may grow with the run: the last period costs at most this much more.
inline constexpr double kFlatTarget = 1.2;

// The ticks of a lesson's runs, and those of its first and last period.
struct Timings {
    std::vector<double> all;
    std::vector<double> firstPeriod;
    std::vector<double> lastPeriod;

    void add(double spent, const LessonRow& run, const AnimationState& st)
    {
        all.push_back(spent);
        if (run.running != Running::Sampled)
            return;
        const int t = st.clockOf(run).localTick;
        if (t <= kFirstPeriodLast)
            firstPeriod.push_back(spent);
        else if (t >= lastPeriodFirst(run))
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

    void add(const LessonRow& run, const Timings& t)
    {
        std::printf("  %-20s %7.2f%% %7.2f%% %7.2f%%\n", run.runName, shareOfTick(mean(t.all)),
                    shareOfTick(percentile(t.all, 99)), shareOfTick(percentile(t.all, 100)));
        m_all.insert(m_all.end(), t.all.begin(), t.all.end());
        if (run.running == Running::Sampled)
            m_flat.emplace_back(run.runName, mean(t.lastPeriod) / mean(t.firstPeriod));
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
