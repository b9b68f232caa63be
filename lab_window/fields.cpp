#include "lab_window/fields.h"

#include "picture/number_text.h"

#include <algorithm>
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
// An example with a decimal is its field's default moved by this much.
constexpr double kExampleStep = 0.5;
// The fraction an example is written as, when one has so small a denominator.
constexpr int kMaxExampleDenominator = 20;
constexpr double kWholeTolerance = 1e-9;

struct Words {
    std::string_view key;
    std::string_view label;
    std::string_view subject;  // empty: the symbol
    bool feminine;
    std::string_view toolTip;
};

// The French words of the quantities, by their keys; a quantity without a
// row is named by its symbol.
constexpr std::array kWords{
    Words{"E", "E (points)", "", false, "La consigne, en points du convertisseur (255 points pour 10 V)"},
    Words{"T_T1", "T/T1", "", false,
          "La période d'échantillonnage rapportée à la constante de temps du four : 0,2 ou 1/5"},
    Words{"K", "Gain K", "", false, "Le gain statique du four : au repos, S = K·U"},
    Words{"theta_T1", "Retard θ", "", false,
          "Le retard pur du four, en T1 : la commande n'agit sur le four que θ plus tard"},
    Words{"T1_s", "Constante T1", "", false,
          "La constante de temps du four en secondes, pour lire le temps en secondes ; la boucle n'en dépend pas"},
    Words{"door_from", "Dès la période", "La période d'ouverture de la porte", true,
          "La période pendant laquelle la porte s'ouvre, comptée de 1"},
    Words{"door_periods", "Pendant", "La durée d'ouverture de la porte", true,
          "Combien de périodes la porte reste ouverte ; 0 : elle reste fermée"},
    Words{"D", "Chute D", "", false, "Porte ouverte, le four tend vers K·U − D"},
    Words{"T1d_T1", "T1d/T1", "", false, "La constante de temps du four porte ouverte, rapportée à T1"},
    Words{"noise_mV", "Bruit σ", "", false,
          "L'écart type du bruit ajouté à la mesure de S, avant le convertisseur A/N"},
    Words{"seed", "Nouveau tirage", "Le tirage du bruit", false,
          "Tire une autre suite de bruit : elle vaudra au prochain essai (Recommencer)"},
    Words{"shown_periods", "Périodes affichées", "Le nombre de périodes affichées", false,
          "Combien de périodes les courbes montrent"},
    Words{"U", "U", "", false, "La commande appliquée au four, en volts : la boucle est ouverte"},
};

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Whether a number from_chars found out of range is too large (rather than
// too small): its first significant digit's power of ten, with the exponent.
bool overflows(std::string_view number)
{
    long long power = 0;
    bool significant = false;
    bool afterPoint = false;
    std::size_t i = 0;
    for (; i < number.size() && (isDigit(number[i]) || number[i] == '.'); ++i) {
        const char c = number[i];
        if (c == '.') {
            afterPoint = true;
        } else if (!significant && c != '0') {
            significant = true;
            power = afterPoint ? power - 1 : 0;
        } else if (significant && !afterPoint) {
            ++power;
        } else if (!significant && afterPoint) {
            --power;
        }
    }
    if (i < number.size() && (number[i] == 'e' || number[i] == 'E')) {
        std::string_view exponent = number.substr(i + 1);
        if (!exponent.empty() && exponent.front() == '+')
            exponent.remove_prefix(1);
        long long e = 0;
        const auto [ptr, ec] = std::from_chars(exponent.data(), exponent.data() + exponent.size(), e);
        if (ec == std::errc::result_out_of_range)
            return exponent.front() != '-';
        power += e;
    }
    return power >= 0;
}

bool nearWhole(double v)
{
    return std::abs(v - std::round(v)) <= kWholeTolerance * std::max(1.0, std::abs(v));
}

// "5/2" for 2,5, when a small denominator writes the example exactly.
std::optional<std::string> fractionExample(double example)
{
    for (int d = 2; d <= kMaxExampleDenominator; ++d)
        if (!nearWhole(example) && nearWhole(example * d))
            return formatDecimal(std::round(example * d), 0) + "/" + std::to_string(d);
    return std::nullopt;
}

Reading refused(std::string message)
{
    return {std::nullopt, std::move(message)};
}

}  // namespace

std::string_view trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(kSpaces);
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(kSpaces);
    return text.substr(first, last - first + 1);
}


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
    if (ptr != end)
        return std::nullopt;
    if (ec == std::errc::result_out_of_range) {
        const bool negative = s.front() == '-';
        const double magnitude = overflows(std::string_view(s).substr(negative ? 1 : 0)) ? HUGE_VAL : 0.0;
        return negative ? -magnitude : magnitude;
    }
    // "inf" and "nan" are words, not numbers.
    if (ec != std::errc() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::string formatDecimal(double value, int decimals)
{
    return formatDecimal(value, decimals, localeDecimalSeparator().toStdString());
}

std::string formatDecimal(double value, int decimals, std::string_view separator)
{
    if (!std::isfinite(value))
        return "?";
    std::array<char, kFormatBuffer> buffer{};
    const int precision = std::clamp(decimals, 0, kMaxDecimals);
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
            s.replace(dot, 1, separator);
    }
    if (s == "-0")
        s = "0";
    return s;
}

std::string unitSuffix(model::Unit unit)
{
    using model::Unit;
    switch (unit) {
    case Unit::None: return "";
    case Unit::Digits: return " points";
    case Unit::Volts: return " V";
    case Unit::Millivolts: return " mV";
    case Unit::T1: return " T1";
    case Unit::Seconds: return " s";
    case Unit::Periods: return " périodes";
    case Unit::Percent: return " %";
    }
    return "";
}

FieldWords fieldWords(const model::Quantity& q)
{
    const auto row = std::find_if(kWords.begin(), kWords.end(), [&q](const Words& w) { return w.key == q.key; });
    const std::string symbol(q.symbol.empty() ? q.key : q.symbol);
    if (row == kWords.end())
        return {symbol, symbol, false, {}};
    return {std::string(row->label), row->subject.empty() ? symbol : std::string(row->subject), row->feminine,
            std::string(row->toolTip)};
}

std::string rangeText(const model::Quantity& q, bool feminine)
{
    return std::string("compris") + (feminine ? "e" : "") + " entre " + formatDecimal(q.low)
           + (q.lowExcluded ? " (exclu)" : "") + " et " + formatDecimal(q.high) + unitSuffix(q.unit);
}

Verdict check(const model::Quantity& q, double v)
{
    const FieldWords w = fieldWords(q);
    const std::string& subject = w.subject;
    if (std::isnan(v))
        return {subject + " doit être un nombre."};
    if (v > q.high || v < q.low || (q.lowExcluded && v <= q.low))
        return {subject + " doit être " + rangeText(q, w.feminine) + "."};
    if (q.whole && v != std::floor(v))
        return {subject + " doit être un nombre entier."};
    return {};
}

double exampleValue(const model::Quantity& q)
{
    const double fallback = q.fallback;
    if (q.whole) {
        const double one = std::clamp(1.0, q.low, q.high);
        return fallback != 0 || !q.accepts(one) ? fallback : one;
    }
    if (!nearWhole(fallback))
        return fallback;
    for (const double moved : {fallback + kExampleStep, fallback - kExampleStep})
        if (q.accepts(moved))
            return moved;
    return fallback;
}

Reading readQuantity(const model::Quantity& q, std::string_view text)
{
    const std::string subject = fieldWords(q).subject;
    if (trimmed(text).empty())
        return refused(subject + " : entrez une valeur.");
    const std::string example = formatDecimal(exampleValue(q), std::max(q.decimals, 1));
    std::optional<double> value;
    if (const auto slash = text.find('/'); slash != std::string_view::npos) {
        const auto over = parseDecimal(text.substr(0, slash));
        const auto under = parseDecimal(text.substr(slash + 1));
        if (over && under && *under != 0 && !std::isnan(*over / *under))
            value = *over / *under;
        const std::optional<std::string> fraction = fractionExample(exampleValue(q));
        if (!value && fraction)
            return refused(subject + " : entrez un nombre (" + example + ") ou une fraction (" + *fraction + ").");
    } else {
        value = parseDecimal(text);
    }
    if (!value)
        return refused(subject + " : entrez un nombre, par exemple " + example + ".");
    Verdict verdict = check(q, *value);
    if (!verdict.ok())
        return refused(std::move(verdict.message));
    return {value, {}};
}

}  // namespace t1
