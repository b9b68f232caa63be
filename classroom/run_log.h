#pragma once

#include "lessons/animation_state.h"
#include "lessons/scene_clock.h"
#include "stage/export_formats.h"

#include <optional>
#include <vector>

// The values of every tick the running lesson drew since the lesson area was
// last cleared, which is what its curves on screen show.
class RunLog {
public:
    // The lesson area was cleared: a new run, or none, begins.
    void clear();
    // A lesson tick was just drawn with this state (its clock already advanced).
    void record(const t1::AnimationState& st);

    const std::vector<RunRow>& rows() const { return m_rows; }
    bool empty() const { return m_rows.empty(); }
    // The lesson of the recorded run; none while nothing was recorded.
    std::optional<t1::Lesson> lesson() const { return m_lesson; }

private:
    std::vector<RunRow> m_rows;
    std::optional<t1::Lesson> m_lesson;
};
