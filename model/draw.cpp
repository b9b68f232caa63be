#include "model/draw.h"

#include "model/random.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace t1::model {

namespace {

// U+00C0 to U+017F folded to lower-case ASCII, one letter each but for the
// digits, which stand for two letters (kPairs), and '*', the signs × and ÷,
// kept.
constexpr char32_t kFoldedFrom = 0xC0;
constexpr std::string_view kFolded =
    "aaaaaa1ceeeeiiii" "dnooooo*ouuuuy23" "aaaaaa1ceeeeiiii" "dnooooo*ouuuuy2y"   // U+00C0
    "aaaaaaccccccccdd" "ddeeeeeeeeeegggg" "gggghhhhiiiiiiii" "ii44jjkkklllllll"   // U+0100
    "lllnnnnnnnnnoooo" "oo55rrrrrrssssss" "ssttttttuuuuuuuu" "uuuuwwyyyzzzzzzs";  // U+0140
constexpr std::string_view kPairs[] = {"ae", "th", "ss", "ij", "oe"};
constexpr char kKept = '*';

constexpr char32_t kCombiningFrom = 0x300;
constexpr char32_t kCombiningTo = 0x36F;
constexpr char32_t kBlanks[] = {0xA0, 0x1680, 0x2028, 0x2029, 0x202F, 0x205F, 0x3000};
constexpr char32_t kSpacesFrom = 0x2000;  // en quad to hair space
constexpr char32_t kSpacesTo = 0x200A;

// Step counts beyond this are no longer exact in a double: drawn as
// continuous.
constexpr double kMaxSteps = 0x1.0p52;
// (high - low)/step a hair under a whole number still reaches high.
constexpr double kStepSlack = 1e-9;
constexpr int kFallbackDecimals = 3;

struct Decoded {
    char32_t code = 0;
    std::size_t length = 1;
    bool valid = false;
};

Decoded decode(std::string_view s, std::size_t i)
{
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char lead = byte(i);
    if (lead < 0x80)
        return {lead, 1, true};
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
    if (length == 0 || i + length > s.size())
        return {};
    char32_t code = lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80)
            return {};
        code = (code << 6) | (byte(i + k) & 0x3F);
    }
    return {code, length, true};
}

bool blank(char32_t c)
{
    if (c == ' ' || (c >= '\t' && c <= '\r') || (c >= kSpacesFrom && c <= kSpacesTo))
        return true;
    for (char32_t b : kBlanks)
        if (c == b)
            return true;
    return false;
}

// What a character adds to the normalised name; `original` is its bytes.
std::string_view folded(char32_t c, std::string_view original, char (&letter)[2])
{
    if (c >= 'A' && c <= 'Z') {
        letter[0] = static_cast<char>(c - 'A' + 'a');
        return {letter, 1};
    }
    if (c >= kCombiningFrom && c <= kCombiningTo)
        return {};
    if (c >= kFoldedFrom && c - kFoldedFrom < kFolded.size()) {
        const char f = kFolded[c - kFoldedFrom];
        if (f == kKept)
            return original;
        if (f >= '1' && f <= '9')
            return kPairs[f - '1'];
        letter[0] = f;
        return {letter, 1};
    }
    return original;
}

double powerOfTen(int decimals)
{
    double p = 1;
    for (int i = 0; i < decimals; ++i)
        p *= 10;
    return p;
}

double rounded(double v, int decimals)
{
    const double scale = powerOfTen(decimals);
    return std::round(v * scale) / scale;
}

}  // namespace

std::string normalisedName(std::string_view name)
{
    std::string out;
    bool pendingBlank = false;
    for (std::size_t i = 0; i < name.size();) {
        const Decoded d = decode(name, i);
        const std::string_view original = name.substr(i, d.length);
        i += d.length;
        if (d.valid && blank(d.code)) {
            pendingBlank = !out.empty();
            continue;
        }
        char letter[2] = {};
        const std::string_view add = d.valid ? folded(d.code, original, letter) : original;
        if (add.empty())
            continue;
        if (pendingBlank)
            out += ' ';
        pendingBlank = false;
        out += add;
    }
    return out;
}

std::uint64_t fnv1a64(std::string_view bytes, std::uint64_t hash)
{
    for (char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= kFnvPrime;
    }
    return hash;
}

std::uint64_t drawSeed(std::string_view sheetId, std::string_view student, std::size_t exercise,
                       std::string_view key)
{
    const char zero = 0;
    std::string bytes(sheetId);
    bytes += zero;
    bytes += normalisedName(student);
    bytes += zero;
    bytes += std::to_string(exercise);
    bytes += zero;
    bytes += key;
    return fnv1a64(bytes);
}

double drawValue(const HiddenRange& range, int decimals, std::uint64_t seed)
{
    Random random(seed);
    const double span = range.high - range.low;
    const double steps = range.step > 0 ? span / range.step : kMaxSteps;
    double v = range.low;
    if (steps >= kMaxSteps) {
        v += random.uniform() * span;
    } else if (steps > 0) {
        const auto count = static_cast<std::uint64_t>(steps * (1 + kStepSlack) + kStepSlack) + 1;
        v += static_cast<double>(random.below(count)) * range.step;
    }
    return std::fmax(range.low, std::fmin(rounded(v, decimals), range.high));
}

std::vector<DrawnValue> drawHidden(const Sheet& sheet, std::size_t exercise, std::string_view student)
{
    std::vector<DrawnValue> drawn;
    if (exercise >= sheet.exercises.size())
        return drawn;
    for (const HiddenRange& range : sheet.exercises[exercise].hidden) {
        const std::optional<SheetParameter> parameter = sheetParameter(range.key);
        const int decimals = range.decimals.value_or(parameter ? parameter->quantity.decimals : kFallbackDecimals);
        const std::uint64_t seed = drawSeed(sheet.id, student, exercise, range.key);
        drawn.push_back({range.key, drawValue(range, std::clamp(decimals, 0, kMaxDecimals), seed)});
    }
    return drawn;
}

}  // namespace t1::model
