#pragma once

#include <complex>
#include <vector>

namespace t1::model {

// A polynomial in z by its coefficients, constant first. The zero
// polynomial is {0}.
using Polynomial = std::vector<double>;

Polynomial operator*(const Polynomial& a, const Polynomial& b);
Polynomial operator+(const Polynomial& a, const Polynomial& b);
Polynomial operator*(double factor, const Polynomial& p);

// Without its zero coefficients of highest degree; {0} if none is left.
Polynomial trimmed(Polynomial p);
bool isZero(const Polynomial& p);
int degree(const Polynomial& p);
std::complex<double> evaluate(const Polynomial& p, std::complex<double> z);

// Num/den with their common factors z removed.
void removeCommonZ(Polynomial& num, Polynomial& den);

// Whether every root lies strictly inside the unit circle, by the
// Schur-Cohn recursion: without computing a root, in n^2 operations, so
// that a stability limit is bisected fast at any degree. A constant has no
// root: inside; the zero polynomial is not.
bool rootsInsideUnitCircle(const Polynomial& p);

// The roots, by Eigen's polynomial solver (the eigenvalues of the companion
// matrix). Exact zero coefficients of lowest degree give exact roots at 0,
// not the small ring a solver would spread a multiple root into.
std::vector<std::complex<double>> roots(const Polynomial& p);

}  // namespace t1::model
