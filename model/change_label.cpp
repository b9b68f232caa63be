#include "model/change_label.h"

#include "model/fields.h"

#include <cmath>
#include <vector>

namespace t1::model {

namespace {

// T = T1/n is printed so when 1/r is this close to a whole n.
constexpr double kWholeTolerance = 1e-9;

bool nearWhole(double v)
{
    return std::abs(v - std::round(v)) <= kWholeTolerance * std::abs(v);
}

std::string doorPeriodsLabel(int periods)
{
    if (periods == 0)
        return "porte : fermée";
    return "porte : " + std::to_string(periods) + (periods == 1 ? " période" : " périodes");
}

}  // namespace

std::string ratioLabel(double ratio)
{
    if (nearWhole(ratio)) {
        const long n = std::lround(ratio);
        return n == 1 ? "T = T1" : "T = " + std::to_string(n) + " T1";
    }
    if (nearWhole(1 / ratio))
        return "T = T1/" + std::to_string(std::lround(1 / ratio));
    return "T = " + formatDecimal(ratio) + " T1";
}

std::string changeLabel(const Parameters& before, const Parameters& after)
{
    std::vector<std::string> parts;
    if (after.kind != before.kind)
        parts.push_back(after.kind == RegulatorKind::P ? "régulateur P" : "régulateur PI");
    if (after.e != before.e)
        parts.push_back("E = " + formatDecimal(after.e));
    if (after.g != before.g)
        parts.push_back("G = " + formatDecimal(after.g));
    if (after.q0 != before.q0)
        parts.push_back("q0 = " + formatDecimal(after.q0));
    if (after.q1 != before.q1)
        parts.push_back("q1 = " + formatDecimal(after.q1));
    if (after.ratio != before.ratio)
        parts.push_back(ratioLabel(after.ratio));
    if (after.quantised != before.quantised)
        parts.push_back(after.quantised ? "quantification : oui" : "quantification : non");
    if (after.door.from != before.door.from)
        parts.push_back("porte : période " + std::to_string(after.door.from));
    if (after.door.periods != before.door.periods)
        parts.push_back(doorPeriodsLabel(after.door.periods));
    if (after.door.drop != before.door.drop)
        parts.push_back("D = " + formatDecimal(after.door.drop) + " V");
    if (after.door.ratio != before.door.ratio)
        parts.push_back("T1d = " + formatDecimal(after.door.ratio) + " T1");

    std::string label;
    for (const std::string& part : parts)
        label += (label.empty() ? "" : ", ") + part;
    return label;
}

}  // namespace t1::model
