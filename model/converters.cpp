#include "model/converters.h"

#include <cmath>

namespace t1::model {

namespace {

// fmin/fmax rather than std::clamp: a NaN comes out as a bound, never as NaN.
double clampDigits(double digits)
{
    return std::fmax(0.0, std::fmin(digits, kFullScaleDigits));
}

double quantise(double digits, bool quantised)
{
    return quantised ? std::round(digits) : digits;
}

}  // namespace

double toDigits(double s, bool quantised)
{
    return quantise(clampDigits(kDigitsPerVolt * s), quantised);
}

double outputRegister(double command, bool quantised)
{
    return quantise(clampDigits(command), quantised);
}

double toVolts(double epu)
{
    return epu / kDigitsPerVolt;
}

double temperature(double s)
{
    return kCelsiusPerVolt * s + kAmbientCelsius;
}

double setPointCelsius(double e)
{
    return temperature(e / kDigitsPerVolt);
}

}  // namespace t1::model
