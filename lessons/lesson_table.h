#pragma once

#include "lessons/animation_state.h"
#include "lessons/lessons.h"
#include "lessons/scene_clock.h"

#include <array>

namespace t1 {

struct Scene;

// How a lesson runs on the clock.
enum class Running {
    Page,        // redrawn on every tick at its start code; the clock stays
    Continuous,  // from start to end of its band without a stop
    Sampled,     // continuously, or one sampling period per press of its button
};

// Which mode list and period button a sampled lesson uses: the P lessons
// share ListBox2 and Button2, the PI lessons ListBox3 and Button4.
enum class Regulation { None, P, PI };

// One row of the menu: everything the window, the dispatcher and the
// classroom features need to know of a lesson.
struct LessonRow {
    Lesson lesson;
    const char* title;  // the menu's text, UTF-8
    Running running;
    Regulation regulation;
    int start;  // the clock the start button sets
    Band band;  // the clock runs while base < clock < end
    int AnimationState::*period;     // the period index, or null
    int AnimationState::*localTick;  // clock - base, or null
    void (*tick)(Scene&);
    const char* commentary;  // the document of "Commentaires", or null
    const char* runName;     // a short ASCII name for run logs and benchmarks
};

// A lesson owns the thousand clock values above its base: the commentary of
// a finished or paused lesson is still found from the clock.
inline constexpr int kBandStride = 1000;

// The presentation never moves the clock: its band is the start code alone.
inline constexpr Band kPresentationBand{kPresentationClock, kPresentationClock, kPresentationClock};

// In the order of the menu and of the dispatcher's tests.
inline constexpr std::array<LessonRow, kLessonCount> kLessons{{
    {Lesson::Presentation, "Présentation", Running::Page, Regulation::None, kPresentationClock, kPresentationBand,
     nullptr, nullptr, presentationTick, nullptr, "presentation"},
    {Lesson::OpenLoop, "Réponse indicielle en boucle ouverte (identification)", Running::Continuous,
     Regulation::None, kOpenLoopBand.start, kOpenLoopBand, nullptr, nullptr, openLoopTick, nullptr, "open loop"},
    {Lesson::LoopP, "Rép. Ind. en boucle fermée (régulation P)", Running::Sampled, Regulation::P, kLoopPBand.start,
     kLoopPBand, &AnimationState::gPeriodLoopP, &AnimationState::gTickLoopP, loopPTick, "comm1.rtf",
     "closed loop P"},
    {Lesson::LoopPI, "Réponse Pile en boucle fermée (régulation PI)", Running::Sampled, Regulation::PI,
     kLoopPIBand.start, kLoopPIBand, &AnimationState::gPeriodLoopPI, &AnimationState::gTickLoopPI, loopPITick,
     "comm3.rtf", "closed loop PI"},
    {Lesson::DisturbModel, "Modèle d'une perturbation possible", Running::Continuous, Regulation::None,
     kDisturbModelBand.start, kDisturbModelBand, nullptr, &AnimationState::gTickDisturbModel, disturbModelTick,
     nullptr, "disturbance model"},
    {Lesson::DisturbP, "Réponse à la perturbation (régulation P)", Running::Sampled, Regulation::P,
     kDisturbPBand.start, kDisturbPBand, &AnimationState::gPeriodDisturbP, &AnimationState::gTickDisturbP,
     disturbPTick, "comm4.rtf", "disturbance P"},
    {Lesson::DisturbPI, "Réponse à la perturbation (régulation PI)", Running::Sampled, Regulation::PI,
     kDisturbPIBand.start, kDisturbPIBand, &AnimationState::gPeriodDisturbPI, &AnimationState::gTickDisturbPI,
     disturbPITick, "comm5.rtf", "disturbance PI"},
}};

constexpr const LessonRow& lessonRow(Lesson lesson)
{
    return kLessons[static_cast<std::size_t>(lesson)];
}

// The menu row at an index, or null when none is selected.
constexpr const LessonRow* menuRow(int index)
{
    return index >= 0 && index < kLessonCount ? &kLessons[static_cast<std::size_t>(index)] : nullptr;
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

// Ticks a continuous run draws until the clock stops. The presentation
// never stops: a run of it is counted as long as a sampled lesson's.
constexpr int runTicks(const LessonRow& row)
{
    if (row.running == Running::Page)
        return kPeriodTicks * kPeriodCount;
    return row.band.end - row.band.start;
}

}  // namespace t1
