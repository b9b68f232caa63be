#include "model/oven_period.h"

#include <cmath>

namespace t1::model {

namespace {

// An arrival this close to an acquisition, in T1, is at it: a whole number
// of periods of delay must not leave a sliver of the old input.
constexpr double kAtAcquisition = 1e-12;

// Only the last arrival at or before the acquisition acts.
void dropArrived(DelayLine& line)
{
    std::size_t acting = 0;
    while (acting + 1 < line.size() && line[acting + 1].at <= 0)
        ++acting;
    line.erase(line.begin(), line.begin() + static_cast<std::ptrdiff_t>(acting));
}

// The first order without the room's floor.
double unfloored(const OvenPiece& piece, double tau)
{
    return piece.target + (piece.s0 - piece.target) * std::exp(-piece.rate * (tau - piece.from));
}

}  // namespace

void send(DelayLine& line, double delay, double u)
{
    while (!line.empty() && line.back().at >= delay)
        line.pop_back();
    line.push_back({delay, u});
    dropArrived(line);
}

double OvenPiece::at(double tau) const
{
    return std::fmax(0.0, unfloored(*this, tau));
}

double OvenPiece::slope(double tau) const
{
    const double s = unfloored(*this, tau);
    return s <= 0 && target <= s ? 0 : rate * (target - s);
}

double ovenPeriod(const Parameters& p, int k, double s0, DelayLine& line, std::vector<OvenPiece>* pieces)
{
    const bool open = doorOpenAfter(p, k);
    const double rate = open ? p.ratio / p.door.ratio : p.ratio;
    const double drop = open ? p.door.drop : 0;
    double s = s0;
    double from = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const double until = i + 1 < line.size() ? std::fmin(line[i + 1].at / p.ratio, 1.0) : 1.0;
        if (until <= from)
            continue;
        const OvenPiece piece{from, s, p.oven.gain * line[i].u - drop, rate};
        if (pieces)
            pieces->push_back(piece);
        s = piece.at(until);
        from = until;
        if (from >= 1)
            break;
    }
    for (Arrival& a : line) {
        a.at -= p.ratio;
        if (std::abs(a.at) < kAtAcquisition)
            a.at = 0;
    }
    dropArrived(line);
    return s;
}

}  // namespace t1::model
