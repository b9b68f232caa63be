#pragma once

#include <QString>

namespace t1 {

// A value as the readouts print it: the shortest general decimal text with
// at most 15 significant digits, no thousands separator, and the decimal
// separator of the default locale (3,9 in French).
QString numberText(double value);

// The same for the smallest whole number not below the value, as the
// digital signals and the temperature are printed.
QString ceilingText(double value);

}  // namespace t1
