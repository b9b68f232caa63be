#pragma once

#include "model/sheet.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace t1::model {

// Each student's hidden values, the same on every machine and recomputable
// by the teacher from the sheet's id and the student's name alone:
//   seed  = FNV-1a 64 of the UTF-8 bytes  id 0 name 0 index 0 key
//           (0 a zero byte, name normalised as below, index the exercise's
//           from 0 in decimal digits, key the parameter's);
//   draws = Random(seed) (splitmix64, random.h);
//   value = low + n step with n = below(count) over the count of steps
//           that fit in [low, high], or low + uniform() (high - low) without
//           a step; then rounded half away from zero to its decimals and
//           kept within [low, high].
// Only IEEE's basic operations are used, so every machine gets the same.

// The name as it is hashed: blanks (spaces, tabs, line breaks, no-break and
// other Unicode spaces) trimmed and each run of them made one space; case
// and accents do not count: Latin letters lower-cased and stripped of their
// accents (é and e, as typed on any keyboard, precomposed or with a
// combining accent), æ as ae, œ as oe, ß as ss, þ as th. "  Jean-Noël
// LEFÈVRE " is "jean-noel lefevre". Other characters are kept as written.
std::string normalisedName(std::string_view name);

inline constexpr std::uint64_t kFnvOffset = 0xCBF29CE484222325ULL;
inline constexpr std::uint64_t kFnvPrime = 0x100000001B3ULL;
std::uint64_t fnv1a64(std::string_view bytes, std::uint64_t hash = kFnvOffset);

// The seed of one hidden value; `student` is normalised here.
std::uint64_t drawSeed(std::string_view sheetId, std::string_view student, std::size_t exercise,
                       std::string_view key);

// A value drawn from its seed within the range.
double drawValue(const HiddenRange& range, int decimals, std::uint64_t seed);

struct DrawnValue {
    std::string key;
    double value = 0;

    bool operator==(const DrawnValue&) const = default;
};

// The exercise's hidden values for the student, in the sheet's order, each
// rounded to the range's decimals or its parameter's.
std::vector<DrawnValue> drawHidden(const Sheet& sheet, std::size_t exercise, std::string_view student);

}  // namespace t1::model
