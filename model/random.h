#pragma once

#include <cmath>
#include <cstdint>

namespace t1::model {

// A seeded generator of the program's own, so that a seed gives the same
// draws on every machine and with every standard library: splitmix64 for
// the bits, and a normal deviate by Marsaglia's polar method computed with
// the basic operations, sqrt and a logarithm of its own (IEEE arithmetic
// rounds those alike everywhere; a library's log need not). The noise on S
// is drawn from it, and the values of exercises can be.
class Random {
public:
    explicit constexpr Random(std::uint64_t seed = 0) : m_state(seed) {}

    std::uint64_t next()
    {
        std::uint64_t z = (m_state += kGamma);
        z = (z ^ (z >> kShift1)) * kMix1;
        z = (z ^ (z >> kShift2)) * kMix2;
        return z ^ (z >> kShift3);
    }

    // In [0, 1), on 53 bits.
    double uniform() { return static_cast<double>(next() >> kDroppedBits) * kUnit; }

    // A whole number in [0, n), n > 0, every one equally likely.
    std::uint64_t below(std::uint64_t n)
    {
        // The draws below this remainder would favour the small numbers.
        const std::uint64_t threshold = (0 - n) % n;
        for (;;) {
            const std::uint64_t r = next();
            if (r >= threshold)
                return r % n;
        }
    }

    // A standard normal deviate: mean 0, standard deviation 1.
    double normal()
    {
        if (m_hasSpare) {
            m_hasSpare = false;
            return m_spare;
        }
        double u = 0;
        double v = 0;
        double s = 0;
        do {
            u = 2 * uniform() - 1;
            v = 2 * uniform() - 1;
            s = u * u + v * v;
        } while (s >= 1 || s == 0);
        const double f = std::sqrt(-2 * logarithm(s) / s);
        m_spare = v * f;
        m_hasSpare = true;
        return u * f;
    }

    // The natural logarithm of x > 0 with the basic operations alone:
    // x = m 2^e with m in [1/sqrt 2, sqrt 2), then
    // ln m = 2 (t + t^3/3 + t^5/5 + ...), t = (m - 1)/(m + 1), |t| < 0,172.
    static double logarithm(double x)
    {
        int e = 0;
        double m = std::frexp(x, &e);
        if (m < kHalfRoot2) {
            m *= 2;
            --e;
        }
        const double t = (m - 1) / (m + 1);
        const double t2 = t * t;
        double power = t;
        double sum = 0;
        // |t|^2 < 0,0295: 0,0295^12 is below double's precision.
        for (int n = 1; n < 2 * kLogTerms; n += 2) {
            sum += power / n;
            power *= t2;
        }
        return e * kLn2 + 2 * sum;
    }

    bool operator==(const Random&) const = default;

private:
    // splitmix64's increment, the golden ratio's 64 bits, and its mixers.
    static constexpr std::uint64_t kGamma = 0x9E3779B97F4A7C15ULL;
    static constexpr std::uint64_t kMix1 = 0xBF58476D1CE4E5B9ULL;
    static constexpr std::uint64_t kMix2 = 0x94D049BB133111EBULL;
    static constexpr int kShift1 = 30;
    static constexpr int kShift2 = 27;
    static constexpr int kShift3 = 31;
    static constexpr int kDroppedBits = 11;
    static constexpr double kUnit = 0x1.0p-53;
    static constexpr double kHalfRoot2 = 0.70710678118654752440;
    static constexpr double kLn2 = 0.69314718055994530942;
    static constexpr int kLogTerms = 12;

    std::uint64_t m_state;
    bool m_hasSpare = false;
    double m_spare = 0;
};

}  // namespace t1::model
