#include "model/polynomial.h"

#include <unsupported/Eigen/Polynomials>

#include <algorithm>

namespace t1::model {

Polynomial operator*(const Polynomial& a, const Polynomial& b)
{
    if (a.empty() || b.empty())
        return {0};
    Polynomial c(a.size() + b.size() - 1, 0.0);
    for (std::size_t i = 0; i < a.size(); ++i)
        for (std::size_t j = 0; j < b.size(); ++j)
            c[i + j] += a[i] * b[j];
    return trimmed(std::move(c));
}

Polynomial operator+(const Polynomial& a, const Polynomial& b)
{
    Polynomial c(std::max(a.size(), b.size()), 0.0);
    for (std::size_t i = 0; i < a.size(); ++i)
        c[i] += a[i];
    for (std::size_t i = 0; i < b.size(); ++i)
        c[i] += b[i];
    return trimmed(std::move(c));
}

Polynomial operator*(double factor, const Polynomial& p)
{
    Polynomial c = p;
    for (double& v : c)
        v *= factor;
    return trimmed(std::move(c));
}

Polynomial trimmed(Polynomial p)
{
    while (p.size() > 1 && p.back() == 0)
        p.pop_back();
    if (p.empty())
        p.push_back(0);
    return p;
}

bool isZero(const Polynomial& p)
{
    return std::all_of(p.begin(), p.end(), [](double v) { return v == 0; });
}

int degree(const Polynomial& p)
{
    return static_cast<int>(trimmed(p).size()) - 1;
}

std::complex<double> evaluate(const Polynomial& p, std::complex<double> z)
{
    std::complex<double> v = 0;
    for (auto c = p.rbegin(); c != p.rend(); ++c)
        v = v * z + *c;
    return v;
}

void removeCommonZ(Polynomial& num, Polynomial& den)
{
    if (isZero(num)) {
        num = {0};
        den = {1};
        return;
    }
    while (num.size() > 1 && den.size() > 1 && num.front() == 0 && den.front() == 0) {
        num.erase(num.begin());
        den.erase(den.begin());
    }
}

bool rootsInsideUnitCircle(const Polynomial& polynomial)
{
    Polynomial p = trimmed(polynomial);
    if (isZero(p))
        return false;
    const double first = p.back();
    for (double& c : p)
        c /= first;
    Polynomial q;
    // p has its roots inside iff |p(0)| < |lead| and so has
    // (lead p(z) - p(0) z^n p(1/z)) / z, one degree lower. Each is scaled
    // to a leading 1 so that the coefficients keep their size.
    for (std::size_t n = p.size() - 1; n > 0; --n) {
        const double lead = p[n];
        const double low = p[0];
        if (!(std::abs(low) < std::abs(lead)))
            return false;
        const double scale = lead * lead - low * low;
        q.resize(n);
        for (std::size_t i = 0; i < n; ++i)
            q[i] = (lead * p[i + 1] - low * p[n - 1 - i]) / scale;
        p.swap(q);
    }
    return true;
}

std::vector<std::complex<double>> roots(const Polynomial& polynomial)
{
    const Polynomial p = trimmed(polynomial);
    std::size_t atZero = 0;
    while (atZero + 1 < p.size() && p[atZero] == 0)
        ++atZero;
    std::vector<std::complex<double>> found(atZero, 0.0);
    const std::size_t n = p.size() - atZero;  // coefficients left
    if (n < 2)
        return found;
    Eigen::VectorXd c(static_cast<Eigen::Index>(n));
    for (std::size_t i = 0; i < n; ++i)
        c[static_cast<Eigen::Index>(i)] = p[atZero + i];
    const Eigen::PolynomialSolver<double, Eigen::Dynamic> solver(c);
    for (const std::complex<double>& z : solver.roots())
        found.push_back(z);
    return found;
}

}  // namespace t1::model
