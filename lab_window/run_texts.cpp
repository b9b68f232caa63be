#include "lab_window/run_texts.h"

#include "lab_window/fields.h"

#include <cmath>
#include <vector>

namespace t1 {

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

// The regulator named in a label: "régulateur PI", "commande manuelle".
std::string regulatorName(const model::RegulatorRow& row)
{
    std::string name(row.name);
    if (row.closed)
        return "régulateur " + name;
    if (!name.empty() && name.front() >= 'A' && name.front() <= 'Z')
        name.front() = static_cast<char>(name.front() - 'A' + 'a');
    return name;
}

std::string joined(const std::vector<std::string>& parts)
{
    std::string text;
    for (const std::string& part : parts)
        text += (text.empty() ? "" : ", ") + part;
    return text;
}

// The regulator in force and its fields: "PI, q0 = 5,52, q1 = -4,52".
std::string regulatorText(const model::Parameters& p)
{
    const model::RegulatorRow& row = p.row();
    std::vector<std::string> parts{std::string(row.name)};
    const auto fields = row.fields();
    for (std::size_t i = 0; i < fields.size(); ++i)
        parts.push_back(quantityText(fields[i], p.field(p.regulator, i)));
    return joined(parts);
}

}  // namespace

std::string quantityText(const model::Quantity& q, double value)
{
    return std::string(q.symbol) + " = " + formatDecimal(value, q.decimals) + unitSuffix(q.unit);
}

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

std::string changeLabel(const model::Parameters& before, const model::Parameters& after)
{
    if (!model::changesRun(before, after))
        return {};
    std::vector<std::string> parts;
    if (after.regulator != before.regulator)
        parts.push_back(regulatorName(after.row()));
    if (after.e != before.e)
        parts.push_back("E = " + formatDecimal(after.e));
    const auto fields = after.row().fields();
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (after.field(after.regulator, i) != before.field(after.regulator, i))
            parts.push_back(quantityText(fields[i], after.field(after.regulator, i)));
    if (after.ratio != before.ratio)
        parts.push_back(ratioLabel(after.ratio));
    if (after.quantised != before.quantised)
        parts.push_back(after.quantised ? "quantification : oui" : "quantification : non");
    if (after.oven.gain != before.oven.gain)
        parts.push_back(quantityText(model::kStaticGain, after.oven.gain));
    if (after.oven.delay != before.oven.delay)
        parts.push_back(quantityText(model::kDelay, after.oven.delay));
    if (after.door.from != before.door.from)
        parts.push_back("porte : période " + std::to_string(after.door.from));
    if (after.door.periods != before.door.periods)
        parts.push_back(doorPeriodsLabel(after.door.periods));
    if (after.door.drop != before.door.drop)
        parts.push_back(quantityText(model::kDrop, after.door.drop));
    if (after.door.ratio != before.door.ratio)
        parts.push_back("T1d = " + formatDecimal(after.door.ratio) + " T1");
    if (after.noise.millivolts != before.noise.millivolts)
        parts.push_back("bruit : " + formatDecimal(after.noise.millivolts, model::kNoise.decimals) + " mV");
    return joined(parts);
}

std::string traceLegend(const model::Parameters& p, bool changedDuringRun)
{
    std::vector<std::string> parts{regulatorText(p), ratioLabel(p.ratio), "E = " + formatDecimal(p.e)};
    if (p.oven.gain != model::kStaticGain.fallback)
        parts.push_back(quantityText(model::kStaticGain, p.oven.gain));
    if (p.oven.delay > 0)
        parts.push_back(quantityText(model::kDelay, p.oven.delay));
    if (!p.quantised)
        parts.push_back("sans quantification");
    if (p.door.periods > 0)
        parts.push_back("porte");
    if (p.noise.millivolts > 0)
        parts.push_back("bruit");
    if (changedDuringRun)
        parts.push_back("modifié en cours");
    return joined(parts);
}

std::string startNote(const model::StartOutcome& outcome)
{
    using Kind = model::StartOutcome::Kind;
    switch (outcome.kind) {
    case Kind::Cold: return "Départ : four froid";
    case Kind::NoneFound: return "Pas de régime permanent pour ces réglages : départ four froid";
    case Kind::AtRest: return "Départ : régime permanent";
    case Kind::Cycle:
        return "Départ : régime permanent, X oscille entre " + formatDecimal(outcome.xLow) + " et "
               + formatDecimal(outcome.xHigh) + " (cycle de " + std::to_string(outcome.cycle) + " périodes)";
    }
    return {};
}

}  // namespace t1
