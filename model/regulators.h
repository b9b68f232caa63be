#pragma once

#include "model/quantity.h"

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

namespace t1::model {

// The regulator kinds: only an index into kRegulators. Whatever varies
// from one kind to another is in its row, so that no code asks which kind
// is in force; a new kind is a new row.
enum class Regulator : std::size_t { P, PI, PID, Manual };
inline constexpr std::size_t kRegulatorCount = 4;

// The most fields a kind has, and where each kind keeps its own in its
// FieldValues.
inline constexpr std::size_t kMaxRegulatorFields = 3;
using FieldValues = std::array<double, kMaxRegulatorFields>;
inline constexpr std::size_t kGainField = 0;     // P: G
inline constexpr std::size_t kQ0Field = 0;       // PI: q0, q1
inline constexpr std::size_t kQ1Field = 1;
inline constexpr std::size_t kKpField = 0;       // PID: Kp, Ti, Td
inline constexpr std::size_t kTiField = 1;
inline constexpr std::size_t kTdField = 2;
inline constexpr std::size_t kCommandField = 0;  // the manual command: U

// The lessons' deadbeat coefficients as they print them.
inline constexpr double kLessonQ0 = 5.52;
inline constexpr double kLessonQ1 = -4.52;

// Every kind is one difference equation, in digits:
//   Epu(k) = [Epu(k-1)] + q0 Ep(k) + q1 Ep(k-1) + q2 Ep(k-2) + offset,
// Epu(k-1) only when it integrates. Under P, q0 is its r0 = G; the manual
// command is the offset alone, U in digits.
struct Law {
    double q0 = 0;
    double q1 = 0;
    double q2 = 0;
    double offset = 0;
    bool integrates = false;

    bool operator==(const Law&) const = default;
};

// The coefficients of a row's fields, for T/T1 = ratio.
struct Coefficients {
    double q0 = 0;
    double q1 = 0;
    double q2 = 0;
    double offset = 0;
};

// Which of the law's parts the diagram shows beside the command.
struct LawParts {
    bool proportional = false;
    bool integral = false;
    bool derivative = false;
};

// What a preset knows of the loop: T/T1 and the oven's static gain K.
struct Plant {
    double ratio = 0;
    double gain = 1;
};

// Field values worked out for the loop, e.g. the deadbeat coefficients.
struct Preset {
    std::string_view name;
    FieldValues (*values)(const Plant& plant);
};

struct RegulatorRow {
    std::string_view key;   // in setup files: "P", "PI", "PID", "manuel"
    std::string_view name;  // "P", "PI", "PID", "Commande manuelle"
    std::array<Quantity, kMaxRegulatorFields> fieldTable;
    std::size_t fieldCount = 0;
    Coefficients (*coefficients)(const FieldValues& values, double ratio);
    bool integrates = false;
    bool closed = true;  // false: open loop, no feedback at all
    LawParts parts;
    std::span<const Preset> presets;
    std::string_view diagramLabel;  // in the regulator's box
    bool labelShowsFields = false;  // "G = 2" under the label
    // The fields that, scaled together, scale the whole law: the gain the
    // root locus runs along (P's G, the PI's q0 and q1 with its zero kept,
    // the PID's Kp). None in open loop.
    std::span<const std::size_t> gainFields;

    constexpr std::span<const Quantity> fields() const { return {fieldTable.data(), fieldCount}; }
};

extern const std::array<RegulatorRow, kRegulatorCount> kRegulators;

const RegulatorRow& regulatorRow(Regulator r);

// The kind a setup file names by its key; none for an unknown key.
std::optional<Regulator> regulatorByKey(std::string_view key);

// Each kind's fields at their defaults.
std::array<FieldValues, kRegulatorCount> defaultFieldValues();

// The PI's "réponse pile": q0 = 1/(K (1 - a)), q1 = -a/(K (1 - a)), a =
// exp(-T/T1), so that the regulator's zero cancels the oven's pole a and X
// reaches E one period after a step (K = 1 in the lessons).
FieldValues deadbeat(const Plant& plant);

}  // namespace t1::model
