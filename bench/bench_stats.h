#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <numeric>
#include <vector>

// What every benchmark prints: durations as shares of a reference, never a
// bare time that a reader would have to judge against this machine.
namespace t1::bench {

using Clock = std::chrono::steady_clock;

// The tick of the fastest speed, the reference of every tick cost.
inline constexpr double kFastestTickMicros = 10'000.0;

inline double micros(Clock::duration d)
{
    return std::chrono::duration<double, std::micro>(d).count();
}

inline double mean(const std::vector<double>& v)
{
    return v.empty() ? 0.0 : std::accumulate(v.begin(), v.end(), 0.0) / double(v.size());
}

// The nearest-rank percentile.
inline double percentile(std::vector<double> v, double p)
{
    if (v.empty())
        return 0.0;
    std::sort(v.begin(), v.end());
    const auto rank = static_cast<std::size_t>(p / 100.0 * double(v.size() - 1) + 0.5);
    return v[std::min(rank, v.size() - 1)];
}

inline double median(std::vector<double> v)
{
    return percentile(std::move(v), 50.0);
}

// A share of the fastest tick, in percent.
inline double shareOfTick(double microsSpent)
{
    return 100.0 * microsSpent / kFastestTickMicros;
}

inline const char* verdict(bool met)
{
    return met ? "ok" : "MISSED";
}

}  // namespace t1::bench
