#pragma once

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

// A lesson's band of the scene clock: the start button puts the clock on
// `start`; it advances while base < clock < end and stops on `end`.
struct Band {
    int base;
    int start;
    int end;
};

// One row of the menu: everything the window, the dispatcher and the
// classroom features need to know of a lesson. Its clock (local tick and
// period index) is kept in the animation state at the row's menu index.
struct LessonRow {
    const char* title;  // the menu's text, UTF-8
    Running running;
    Regulation regulation = Regulation::None;
    Band band;
    int periods = 0;  // the sampling periods of a sampled lesson
    // One instant, the clock already advanced: t is the clock minus the base.
    void (*tick)(Scene& scene, int t);
    const char* commentary = nullptr;  // the document of "Commentaires"
    const char* runName;               // short, ASCII, unique: run logs, benchmarks, tests
};

}  // namespace t1
