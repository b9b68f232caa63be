#pragma once

#include "lessons/lesson_row.h"
#include "lessons/scene_clock.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace t1 {

// A lesson is its row below and its own file, which defines what the row
// names: its tick, or for a closed-loop lesson its script.
void presentationTick(Scene& scene, int t);
void openLoopTick(Scene& scene, int t);
void disturbModelTick(Scene& scene, int t);
struct ClosedLoopScript;
extern const ClosedLoopScript kLoopPScript;
extern const ClosedLoopScript kLoopPIScript;
extern const ClosedLoopScript kDisturbPScript;
extern const ClosedLoopScript kDisturbPIScript;

// The tick of a closed-loop lesson: its script drawn at t (lessons/closed_loop.h).
void closedLoopTick(Scene& scene, const ClosedLoopScript& script, int t);
template <const ClosedLoopScript& script>
void closedLoopLesson(Scene& scene, int t)
{
    closedLoopTick(scene, script, t);
}

// In the order of the menu and of the dispatcher's tests.
inline constexpr std::array kLessons{
    LessonRow{.title = "Présentation",
              .running = Running::Page,
              .band = {.base = kPresentationClock, .start = kPresentationClock, .end = kPresentationClock},
              .tick = presentationTick,
              .runName = "presentation"},
    LessonRow{.title = "Réponse indicielle en boucle ouverte (identification)",
              .running = Running::Continuous,
              .band = {.base = 0, .start = 1, .end = 255},
              .tick = openLoopTick,
              .runName = "open loop"},
    LessonRow{.title = "Rép. Ind. en boucle fermée (régulation P)",
              .running = Running::Sampled,
              .regulation = Regulation::P,
              .band = {.base = 1000, .start = 1001, .end = 1240},
              .periods = 6,
              .tick = closedLoopLesson<kLoopPScript>,
              .commentary = "comm1.rtf",
              .runName = "closed loop P"},
    LessonRow{.title = "Réponse Pile en boucle fermée (régulation PI)",
              .running = Running::Sampled,
              .regulation = Regulation::PI,
              .band = {.base = 2000, .start = 2001, .end = 2240},
              .periods = 6,
              .tick = closedLoopLesson<kLoopPIScript>,
              .commentary = "comm3.rtf",
              .runName = "closed loop PI"},
    LessonRow{.title = "Modèle d'une perturbation possible",
              .running = Running::Continuous,
              .band = {.base = 3000, .start = 3001, .end = 3220},
              .tick = disturbModelTick,
              .runName = "disturbance model"},
    LessonRow{.title = "Réponse à la perturbation (régulation P)",
              .running = Running::Sampled,
              .regulation = Regulation::P,
              .band = {.base = 4000, .start = 4001, .end = 4240},
              .periods = 6,
              .tick = closedLoopLesson<kDisturbPScript>,
              .commentary = "comm4.rtf",
              .runName = "disturbance P"},
    LessonRow{.title = "Réponse à la perturbation (régulation PI)",
              .running = Running::Sampled,
              .regulation = Regulation::PI,
              .band = {.base = 5000, .start = 5001, .end = 5240},
              .periods = 6,
              .tick = closedLoopLesson<kDisturbPIScript>,
              .commentary = "comm5.rtf",
              .runName = "disturbance PI"},
};

inline constexpr int kLessonCount = static_cast<int>(kLessons.size());

// A lesson owns the thousand clock values above its base: the commentary of
// a finished or paused lesson is still found from the clock.
inline constexpr int kBandStride = 1000;

// The row's index in the menu, which is also where its clock is kept.
constexpr int menuIndex(const LessonRow& row)
{
    return static_cast<int>(&row - kLessons.data());
}

// The menu row at an index, or null when none is selected.
constexpr const LessonRow* menuRow(int index)
{
    return index >= 0 && index < kLessonCount ? &kLessons[static_cast<std::size_t>(index)] : nullptr;
}

// The row of a run name, or null.
constexpr const LessonRow* lessonNamed(std::string_view runName)
{
    for (const LessonRow& row : kLessons)
        if (runName == row.runName)
            return &row;
    return nullptr;
}

// The same where the name is written out: a name no row has does not compile.
consteval const LessonRow& lesson(std::string_view runName)
{
    for (const LessonRow& row : kLessons)
        if (runName == row.runName)
            return row;
    throw "no lesson has this run name";
}

// The lesson whose clock values hold this clock, or null (idle, presentation).
constexpr const LessonRow* lessonAt(int clock)
{
    for (const LessonRow& row : kLessons)
        if (row.running != Running::Page && row.band.base < clock && clock < row.band.base + kBandStride)
            return &row;
    return nullptr;
}

// The lesson a period button serves: the chosen one when it is a lesson of
// that regulation, otherwise the last of them (the disturbance lesson).
constexpr const LessonRow& periodButtonLesson(const LessonRow* chosen, Regulation regulation)
{
    if (chosen && chosen->regulation == regulation)
        return *chosen;
    const LessonRow* last = nullptr;
    for (const LessonRow& row : kLessons)
        if (row.regulation == regulation)
            last = &row;
    return *last;
}

// Ticks a continuous run draws until the clock stops. A page never stops:
// a run of it is counted as long as the longest lesson's.
constexpr int runTicks(const LessonRow& row)
{
    if (row.running != Running::Page)
        return row.band.end - row.band.start;
    int longest = 0;
    for (const LessonRow& other : kLessons)
        if (other.running != Running::Page)
            longest = std::max(longest, other.band.end - other.band.start);
    return longest;
}

// What a new row must respect, checked as it is compiled.
namespace table_rules {

constexpr bool bandFits(const LessonRow& row)
{
    const Band& b = row.band;
    if (row.running == Running::Page)
        return b.base == b.start && b.start == b.end && b.base < kIdleClock;
    return b.base >= kIdleClock && b.start == b.base + 1 && b.start < b.end && b.end < b.base + kBandStride;
}

// A sampled lesson runs its periods to the end of its band; only it has a
// mode list and a period button.
constexpr bool periodsFit(const LessonRow& row)
{
    if (row.running != Running::Sampled)
        return row.periods == 0 && row.regulation == Regulation::None;
    return row.periods > 0 && row.regulation != Regulation::None &&
           row.band.end == row.band.base + kPeriodTicks * row.periods;
}

constexpr bool bandsApart()
{
    for (const LessonRow& a : kLessons)
        for (const LessonRow& b : kLessons)
            if (&a != &b && a.band.base == b.band.base)
                return false;
    return std::all_of(kLessons.begin(), kLessons.end(),
                       [](const LessonRow& row) { return row.band.base % kBandStride == 0 || row.band.base < 0; });
}

constexpr bool runNamesApart()
{
    for (const LessonRow& a : kLessons)
        for (const LessonRow& b : kLessons)
            if (&a != &b && std::string_view(a.runName) == b.runName)
                return false;
    return true;
}

static_assert(std::all_of(kLessons.begin(), kLessons.end(), bandFits), "a band does not fit its way of running");
static_assert(std::all_of(kLessons.begin(), kLessons.end(), periodsFit), "a sampled band and its periods disagree");
static_assert(bandsApart(), "two lessons share a thousand of the clock");
static_assert(runNamesApart(), "two lessons share a run name");

}  // namespace table_rules

}  // namespace t1
