#include "model/quantity.h"

#include <cmath>

namespace t1::model {

bool Quantity::accepts(double value) const
{
    if (!std::isfinite(value) || value > high || value < low || (lowExcluded && value <= low))
        return false;
    return !whole || value == std::floor(value);
}

double Quantity::bring(double value) const
{
    if (std::isnan(value) || (lowExcluded && value <= low))
        return fallback;
    // fmin/fmax: an infinity lands on its limit.
    const double inside = std::fmax(low, std::fmin(value, high));
    return whole ? std::round(inside) : inside;
}

}  // namespace t1::model
