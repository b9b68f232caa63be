#include "model/root_locus.h"

#include "model/poles.h"
#include "model/transfer.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace t1::model {

namespace {

using Complex = std::complex<double>;

// The locus runs on past the stability limit, or the gain in force if it
// is further, by this factor.
constexpr double kBeyond = 1.5;
// Without a limit, as far as this many times the gain in force (or the
// defaults).
constexpr double kBeyondWithoutLimit = 4;
// Open-loop poles this close together, relative to their size, are one
// multiple pole.
constexpr double kSamePole = 1e-7;
// Each root to within this share of the spacing, or of its own size far
// out of view.
constexpr double kPrecision = 1e-3;
constexpr double kFarPrecision = 1e-9;
// A step is taken again, halved, when a pole in view moves further than
// this many spacings.
constexpr double kLongestMove = 1.5;
// Steps in the factor's logarithm grow at most this much from one to the
// next, and go no further than the second.
constexpr double kGrowth = 4;
constexpr double kLongestStep = 16;
// Roots closer than this many times the precision are one.
constexpr double kApart = 10;
// Iterations of the simultaneous solver, to start and where roots meet,
// and of Newton's, to follow one step.
constexpr int kStartIterations = 200;
constexpr int kStepIterations = 12;
// The first factor followed is at most this share of the last, and of
// the factors it must pass through.
constexpr double kFirstShare = 1e-3;
// And no more than this many powers of e below it, where the first
// roots would stand on their poles.
constexpr double kDeepestStart = 600;
constexpr int kMostSteps = 4000;
// No step shorter than this, in the factor's logarithm.
constexpr double kShortestStep = 1e-12;
// Predicted roots leave the real axis by this share of the spacing, all
// upwards: two real roots meeting go on as a complex pair, and a pair
// meeting on the axis parts into two real roots, which mirror images could
// not do.
constexpr double kOffAxis = 1e-3;

// The characteristic polynomial as z^shift rest(z) + factor gained(z): a
// long delay's many poles at 0 cost one power, not a long sum.
struct Terms {
    int shift = 0;
    Polynomial rest;
    Polynomial gained;
};

Terms split(const Characteristic& c)
{
    std::size_t shift = 0;
    while (shift + 1 < c.fixed.size() && c.fixed[shift] == 0)
        ++shift;
    return {static_cast<int>(shift), Polynomial(c.fixed.begin() + static_cast<std::ptrdiff_t>(shift), c.fixed.end()),
            c.gained};
}

Complex power(Complex z, int n)
{
    Complex r = 1;
    for (; n > 0; n >>= 1, z *= z)
        if (n & 1)
            r *= z;
    return r;
}

// 1/z in the inner loops, without the library's guarded division.
Complex inverse(Complex z)
{
    const double n = std::norm(z);
    return {z.real() / n, -z.imag() / n};
}

bool finite(Complex z)
{
    return std::isfinite(z.real()) && std::isfinite(z.imag());
}

// q(z) and q'(z).
void horner(const Polynomial& q, Complex z, Complex& value, Complex& slope)
{
    value = 0;
    slope = 0;
    for (auto c = q.rbegin(); c != q.rend(); ++c) {
        slope = slope * z + value;
        value = value * z + *c;
    }
}

struct Value {
    Complex p;       // the characteristic polynomial
    Complex slope;   // its derivative in z
    Complex gained;  // its derivative in the factor
};

Value valueAt(const Terms& t, double factor, Complex z)
{
    Complex f, df, g, dg;
    horner(t.rest, z, f, df);
    horner(t.gained, z, g, dg);
    Complex p = f;
    Complex dp = df;
    if (t.shift > 0) {
        const Complex below = power(z, t.shift - 1);
        const Complex shifted = below * z;
        p = shifted * f;
        dp = double(t.shift) * below * f + shifted * df;
    }
    return {p + factor * g, dp + factor * dg, g};
}

// Newton's steps on every root, or, repelling, Aberth-Ehrlich's: each
// approximation's step pushed off the others, so that no two settle on one
// root. True once every step is within the precision.
bool polish(const Terms& t, double factor, std::vector<Complex>& z, double precision, int iterations, bool repel)
{
    const std::size_t n = z.size();
    std::vector<Complex> repulsion(n);
    for (int it = 0; it < iterations; ++it) {
        if (repel)
            for (std::size_t i = 0; i < n; ++i)
                for (std::size_t j = i + 1; j < n; ++j) {
                    const Complex r = inverse(z[i] - z[j]);
                    repulsion[i] += r;
                    repulsion[j] -= r;
                }
        bool done = true;
        for (std::size_t i = 0; i < n; ++i) {
            const Value v = valueAt(t, factor, z[i]);
            if (v.p == Complex{})
                continue;
            const Complex step = v.p * inverse(v.slope - v.p * repulsion[i]);
            if (!finite(step))
                return false;
            z[i] -= step;
            repulsion[i] = 0;
            done = done && std::abs(step) <= std::max(precision, kFarPrecision * std::abs(z[i]));
        }
        if (done)
            return true;
    }
    return false;
}

// No two approximations on one root.
bool distinct(const std::vector<Complex>& z, double apart)
{
    for (std::size_t i = 0; i < z.size(); ++i)
        for (std::size_t j = i + 1; j < z.size(); ++j)
            if (std::norm(z[i] - z[j]) < apart * apart)
                return false;
    return true;
}

bool inView(const LocusView& v, Complex z)
{
    const double margin = v.spacing;
    return z.real() >= v.low.real() - margin && z.real() <= v.high.real() + margin
           && z.imag() >= v.low.imag() - margin && z.imag() <= v.high.imag() + margin;
}

// Open-loop poles gathered into multiple ones.
struct Cluster {
    Complex at;
    int count = 0;
};

std::vector<Cluster> clusters(const std::vector<Complex>& poles)
{
    std::vector<Cluster> found;
    for (const Complex& z : poles) {
        auto same = std::find_if(found.begin(), found.end(), [&z](const Cluster& c) {
            return std::abs(z - c.at) <= kSamePole * (1 + std::abs(c.at));
        });
        if (same == found.end())
            found.push_back({z, 1});
        else
            ++same->count;
    }
    return found;
}

struct Departure {
    double factor = 0;
    std::vector<Complex> roots;
    std::vector<Complex> from;  // each root's open-loop pole
};

// Near an m-fold open-loop pole c the roots leave it as the m-th roots of
// -factor gained(c)/q(c), fixed(z) = (z - c)^m q(z): the first factor is
// where those in view have moved one spacing, and the roots there start
// from these approximations.
Departure departure(const Terms& t, const std::vector<Complex>& poles, const LocusView& view, double most)
{
    const std::vector<Cluster> cs = clusters(poles);
    const double lead = t.rest.back();
    std::vector<Complex> gainedAt(cs.size());
    Departure s;
    double logFactor = std::log(most);
    for (std::size_t i = 0; i < cs.size(); ++i) {
        Complex q = lead;
        for (std::size_t j = 0; j < cs.size(); ++j)
            if (j != i)
                q *= power(cs[i].at - cs[j].at, cs[j].count);
        Complex dg;
        horner(t.gained, cs[i].at, gainedAt[i], dg);
        gainedAt[i] = -gainedAt[i] / q;
        if (inView(view, cs[i].at) && std::abs(gainedAt[i]) > 0)
            logFactor = std::min(logFactor, cs[i].count * std::log(view.spacing) - std::log(std::abs(gainedAt[i])));
    }
    s.factor = std::exp(std::max(logFactor, std::log(most) - kDeepestStart));
    for (std::size_t i = 0; i < cs.size(); ++i) {
        const int m = cs[i].count;
        const double radius = std::abs(gainedAt[i]) > 0
                                  ? std::exp((std::log(s.factor) + std::log(std::abs(gainedAt[i]))) / m)
                                  : kPrecision * view.spacing;
        const double angle = std::abs(gainedAt[i]) > 0 ? std::arg(gainedAt[i]) / m : std::numbers::pi / m;
        for (int j = 0; j < m; ++j) {
            s.roots.push_back(cs[i].at + std::polar(radius, angle + 2 * std::numbers::pi * j / m));
            s.from.push_back(cs[i].at);
        }
    }
    return s;
}

}  // namespace

double LocusGain::value(std::size_t i, double factor) const
{
    const auto fields = unit.row().gainFields;
    return i < fields.size() ? factor * unit.field(unit.regulator, fields[i]) : 0;
}

std::optional<LocusGain> locusGain(const Parameters& p)
{
    LocusGain g{sanitised(p), 1};
    const RegulatorRow& row = g.unit.row();
    if (!row.closed || row.gainFields.empty())
        return std::nullopt;
    FieldValues& values = g.unit.fieldsOf(g.unit.regulator);
    if (std::all_of(row.gainFields.begin(), row.gainFields.end(), [&values](std::size_t f) { return values[f] == 0; })) {
        for (std::size_t f : row.gainFields)
            values[f] = row.fieldTable[f].fallback;
        g.current = 0;
    }
    return g;
}

std::optional<RootLocus> rootLocus(const Parameters& p, const LocusView& view)
{
    const std::optional<LocusGain> gain = locusGain(p);
    if (!gain)
        return std::nullopt;
    RootLocus locus;
    locus.gain = *gain;
    const Characteristic c = characteristic(gain->unit);
    locus.starts = roots(c.fixed);
    locus.ends = isZero(c.gained) ? std::vector<Complex>{} : roots(c.gained);
    locus.limit = stabilityLimit(gain->unit);
    const double reach = std::max({gain->current, locus.limit.value_or(0.0)});
    locus.last = locus.limit ? kBeyond * reach : kBeyondWithoutLimit * std::max(reach, 1.0);
    if (isZero(c.gained) || locus.starts.empty() || !(view.spacing > 0))
        return locus;

    const Terms t = split(c);
    const double precision = kPrecision * view.spacing;
    double first = kFirstShare * locus.last;
    for (const std::optional<double> f : {std::optional(gain->current), locus.limit})
        if (f && *f > 0)
            first = std::min(first, kFirstShare * *f);
    const Departure s = departure(t, locus.starts, view, first);
    std::vector<Complex> z = s.roots;
    if (!polish(t, s.factor, z, precision, kStartIterations, true))
        return locus;
    for (std::size_t i = 0; i < z.size(); ++i)
        locus.branches.push_back({LocusPoint{s.from[i], 0}, LocusPoint{z[i], s.factor}});

    // The factors the locus must pass through exactly, in order.
    std::vector<double> stops{locus.last};
    for (const std::optional<double> stop : {std::optional(gain->current), locus.limit})
        if (stop && *stop > s.factor && *stop < locus.last)
            stops.push_back(*stop);
    std::sort(stops.begin(), stops.end());

    double factor = s.factor;
    std::vector<Complex> trial(z.size());
    std::vector<Complex> slope(z.size());
    // Each root's tangent in the factor's logarithm, and the step in it
    // that moves those in view a spacing along theirs: the roots leaving a
    // multiple pole go as a power of the factor, which steps of a constant
    // ratio follow as well as those from a single pole.
    const auto tangents = [&] {
        double fastest = 0;
        for (std::size_t i = 0; i < z.size(); ++i) {
            const Value v = valueAt(t, factor, z[i]);
            slope[i] = -factor * v.gained * inverse(v.slope);
            if (!finite(slope[i]))
                slope[i] = 0;
            if (inView(view, z[i]))
                fastest = std::max(fastest, std::abs(slope[i]));
        }
        return fastest > 0 ? view.spacing / fastest : kLongestStep;
    };
    double step = tangents();
    auto stop = stops.begin();
    for (int n = 0; n < kMostSteps && stop != stops.end(); ++n) {
        const double target = factor * std::exp(std::min(step, kLongestStep));
        const bool clipped = target >= *stop;
        const double next = clipped ? *stop : target;
        const double d = std::log(next / factor);
        for (std::size_t i = 0; i < z.size(); ++i) {
            Complex move = slope[i] * d;
            // No pole in view predicted further than a spacing.
            if (inView(view, z[i]) && std::abs(move) > view.spacing)
                move *= view.spacing / std::abs(move);
            trial[i] = z[i] + move + Complex(0, kOffAxis * view.spacing);
        }
        // Newton's steps alone as long as the roots stay apart; where they
        // meet, the simultaneous solver from the same prediction.
        const std::vector<Complex> predicted = trial;
        bool solved = polish(t, next, trial, precision, kStepIterations, false) && distinct(trial, kApart * precision);
        if (!solved) {
            trial = predicted;
            solved = polish(t, next, trial, precision, kStartIterations, true);
        }
        double moved = 0;
        for (std::size_t i = 0; i < z.size() && solved; ++i)
            if (inView(view, z[i]) || inView(view, trial[i]))
                moved = std::max(moved, std::abs(trial[i] - z[i]));
        const bool shortest = d <= kShortestStep;
        if (!solved && shortest)
            break;
        if (!solved || (moved > kLongestMove * view.spacing && !shortest)) {
            step = d / 2;
            continue;
        }
        z = trial;
        factor = next;
        for (std::size_t i = 0; i < z.size(); ++i)
            locus.branches[i].push_back({z[i], factor});
        if (locus.limit && factor == *locus.limit) {
            const auto nearest = std::min_element(z.begin(), z.end(), [](Complex a, Complex b) {
                return std::abs(std::abs(a) - 1) < std::abs(std::abs(b) - 1);
            });
            locus.crossing = nearest->imag() < 0 ? std::conj(*nearest) : *nearest;
        }
        if (clipped)
            ++stop;
        step = std::min(tangents(), kGrowth * (clipped ? step : d));
    }
    locus.last = factor;
    return locus;
}

}  // namespace t1::model
