#include "lab_window/fields.h"

#include "model/experiment.h"
#include "model/parameters.h"
#include "model/regulators.h"

#include <array>
#include <charconv>
#include <cmath>
#include <system_error>

namespace t1 {

namespace {

constexpr std::string_view kSpaces = " \t\n\r\f\v";
// Room for any double in fixed notation.
constexpr int kFormatBuffer = 512;
constexpr int kMaxDecimals = 17;
// The example a message gives of a French number.
constexpr double kExampleNumber = 2.5;

std::string_view trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(kSpaces);
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(kSpaces);
    return text.substr(first, last - first + 1);
}

struct Subject {
    std::string name;
    bool feminine = false;
};

Subject subjectOf(Field field)
{
    switch (field) {
    case Field::SetPoint: return {"E"};
    case Field::Gain: return {"G"};
    case Field::Q0: return {"q0"};
    case Field::Q1: return {"q1"};
    case Field::Ratio: return {"T/T1"};
    case Field::Drop: return {"D"};
    case Field::DoorRatio: return {"T1d/T1"};
    case Field::DoorFrom: return {"La période d'ouverture de la porte", true};
    case Field::DoorPeriods: return {"La durée d'ouverture de la porte", true};
    case Field::ShownPeriods: return {"Le nombre de périodes affichées"};
    }
    return {};
}

Verdict between(const Subject& s, double low, double high, std::string_view unit = {})
{
    return {s.name + " doit être compris" + (s.feminine ? "e" : "") + " entre " + formatDecimal(low) + " et "
            + formatDecimal(high) + std::string(unit) + "."};
}

Verdict positive(const Subject& s)
{
    return {s.name + " doit être positi" + (s.feminine ? "ve" : "f") + "."};
}

Verdict whole(const Subject& s)
{
    return {s.name + " doit être un nombre entier."};
}

bool isWhole(double v)
{
    return v == std::floor(v);
}

bool inside(double v, double low, double high)
{
    return low <= v && v <= high;
}

}  // namespace

std::optional<double> parseDecimal(std::string_view text)
{
    std::string s(trimmed(text));
    // from_chars takes a minus sign but no plus.
    const bool plus = !s.empty() && s.front() == '+';
    if (plus)
        s.erase(0, 1);
    if (s.empty() || (plus && s.front() == '-'))
        return std::nullopt;
    int separators = 0;
    for (char& c : s) {
        if (c == ',' || c == '.') {
            c = '.';
            ++separators;
        }
    }
    if (separators > 1)
        return std::nullopt;
    double value = 0;
    const char* end = s.data() + s.size();
    const auto [ptr, ec] = std::from_chars(s.data(), end, value);
    if (ec != std::errc() || ptr != end || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::string formatDecimal(double value, int decimals)
{
    if (!std::isfinite(value))
        return "?";
    std::array<char, kFormatBuffer> buffer{};
    const int precision = decimals < 0 ? 0 : (decimals > kMaxDecimals ? kMaxDecimals : decimals);
    const auto [end, ec] =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed, precision);
    if (ec != std::errc())
        return "?";
    std::string s(buffer.data(), end);
    if (const auto dot = s.find('.'); dot != std::string::npos) {
        s.erase(s.find_last_not_of('0') + 1);
        if (s.back() == '.')
            s.pop_back();
        else
            s[dot] = ',';
    }
    if (s == "-0")
        s = "0";
    return s;
}

const model::Quantity& quantityOf(Field field)
{
    using model::Regulator;
    switch (field) {
    case Field::SetPoint: return model::kSetPoint;
    case Field::Gain: return model::regulatorRow(Regulator::P).fields()[model::kGainField];
    case Field::Q0: return model::regulatorRow(Regulator::PI).fields()[model::kQ0Field];
    case Field::Q1: return model::regulatorRow(Regulator::PI).fields()[model::kQ1Field];
    case Field::Ratio: return model::kSampling;
    case Field::Drop: return model::kDrop;
    case Field::DoorRatio: return model::kDoorRatio;
    case Field::DoorFrom: return model::kDoorFrom;
    case Field::DoorPeriods: return model::kDoorPeriods;
    case Field::ShownPeriods: return model::kShownPeriods;
    }
    return model::kSetPoint;
}

Verdict check(Field field, double v)
{
    const Subject s = subjectOf(field);
    if (!std::isfinite(v))
        return {s.name + " doit être un nombre."};
    const model::Quantity& q = quantityOf(field);
    switch (field) {
    case Field::SetPoint:
        if (!inside(v, q.low, q.high))
            return between(s, q.low, q.high);
        if (!isWhole(v))
            return whole(s);
        return {};
    case Field::Gain:
        if (v < q.low)
            return {s.name + " doit être positif ou nul."};
        if (v > q.high)
            return {s.name + " doit être au plus " + formatDecimal(q.high) + "."};
        return {};
    case Field::Q0:
    case Field::Q1:
        if (!inside(v, q.low, q.high))
            return between(s, q.low, q.high);
        return {};
    case Field::Ratio:
    case Field::DoorRatio:
        if (v <= 0)
            return positive(s);
        if (!inside(v, q.low, q.high))
            return between(s, q.low, q.high);
        return {};
    case Field::Drop:
        if (!inside(v, q.low, q.high))
            return between(s, q.low, q.high, " V");
        return {};
    case Field::DoorFrom:
    case Field::ShownPeriods:
        if (!isWhole(v))
            return whole(s);
        if (!inside(v, q.low, q.high))
            return between(s, q.low, q.high);
        return {};
    case Field::DoorPeriods:
        if (!isWhole(v))
            return whole(s);
        if (v < q.low)
            return {s.name + " ne peut pas être négative."};
        if (v > q.high)
            return between(s, q.low, q.high, " périodes");
        return {};
    }
    return {};
}

Reading readField(Field field, std::string_view text)
{
    const Subject s = subjectOf(field);
    if (trimmed(text).empty())
        return {std::nullopt, s.name + " : entrez une valeur."};
    const std::optional<double> value = parseDecimal(text);
    if (!value)
        return {std::nullopt, s.name + " : entrez un nombre, par exemple " + formatDecimal(kExampleNumber) + "."};
    Verdict verdict = check(field, *value);
    if (!verdict.ok())
        return {std::nullopt, std::move(verdict.message)};
    return {value, {}};
}

}  // namespace t1
