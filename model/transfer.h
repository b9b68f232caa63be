#pragma once

#include "model/parameters.h"
#include "model/polynomial.h"

namespace t1::model {

// A transfer function in z, num/den.
struct Transfer {
    Polynomial num{0};
    Polynomial den{1};
};

// The oven with its delay θ = (d + f) T, d whole, 0 <= f < 1, seen by the
// converters under the zero-order hold, from Epu to X (digits to digits,
// the same as volts to volts):
//   G(z) = (b1 z + b2) / (z^(d+1) (z - a)),  a = exp(-T/T1),
//   b1 = K (1 - a^(1-f)), b2 = K (a^(1-f) - a).
// A whole number of periods adds poles at 0 (b2 = 0 cancels one); a
// fraction adds the zero -b2/b1.
Transfer ovenTransfer(const Parameters& p);

// The regulator's law in force as R(z), from Ep to Epu, its common factors
// z removed; 0 when the loop is open. The manual command is an input, not
// part of R.
Transfer regulatorTransfer(const Parameters& p);

// The characteristic polynomial with the regulator's coefficients times a
// factor: fixed + factor gained, fixed = den_G den_R, gained = num_G num_R
// (0 in open loop). Its roots at factor 1 are the loop's poles; over the
// factors, its root locus.
struct Characteristic {
    Polynomial fixed;
    Polynomial gained;

    Polynomial at(double factor) const;
};
Characteristic characteristic(const Parameters& p);

// X's response from a cold start to the set point E and to the manual
// command, as one transfer applied to a unit step:
//   X = (E num_G num_R + offset num_G den_R) / characteristic.
Transfer stepResponse(const Parameters& p);

// Where the linear loop (no quantisation, saturation or door) comes to rest
// if it is stable: the step response's value at z = 1, in digits.
double linearFinalX(const Parameters& p);

}  // namespace t1::model
