#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace t1 {

// How the Laboratoire shows time: in sampling periods, as the lessons do
// ("3T"), or in seconds from the oven's T1 in seconds (the acquisitions'
// Sample::seconds, model::Oven::t1Seconds). Only texts and axes change: the
// model counts in periods and in T1 either way.
enum class TimeUnit { Periods, Seconds };

struct TimeUnitRow {
    TimeUnit unit;
    std::string_view name;    // the form's choice: "périodes T", "secondes"
    std::string_view symbol;  // after a value: "3T", "60 s"
    bool spaced = false;      // a space between the value and the symbol
    std::string_view key;     // in setup files: ASCII, stable
};

inline constexpr std::array kTimeUnits{
    TimeUnitRow{TimeUnit::Periods, "périodes T", "T", false, "periodes"},
    TimeUnitRow{TimeUnit::Seconds, "secondes", "s", true, "secondes"},
};

inline constexpr const TimeUnitRow& timeUnitRow(TimeUnit unit)
{
    const auto i = static_cast<std::size_t>(unit);
    return kTimeUnits[i < kTimeUnits.size() ? i : 0];
}

// What the window hands whatever draws or writes a time: the plots' axes,
// the cursor, the measures. Laboratory::timeDisplay() holds the one in
// force and emits timeDisplayChanged() when the student picks another.
struct TimeDisplay {
    TimeUnit unit = TimeUnit::Periods;

    const TimeUnitRow& row() const { return timeUnitRow(unit); }
    bool operator==(const TimeDisplay&) const = default;
};

}  // namespace t1
