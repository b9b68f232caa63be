#pragma once

#include "picture/loop_values.h"

#include <QString>

namespace t1 {

// The decimal separator of the default locale (a comma in French).
QString localeDecimalSeparator();

// A value as the readouts print it: the shortest general decimal text with
// at most 15 significant digits, no thousands separator, and the given
// decimal separator (the default locale's on screen, 3,9 in French; a file
// for French spreadsheets always uses a comma).
QString numberText(double value, const QString& decimalSeparator = localeDecimalSeparator());

// The same for the smallest whole number not below the value, as the
// digital signals and the temperature are printed.
QString ceilingText(double value);

// What the readouts print of each signal: the digital ones and the
// temperature raised to their ceiling, U and S as held.
using LoopTexts = LoopSignals<QString>;
LoopTexts loopTexts(const LoopValues& values);

}  // namespace t1
