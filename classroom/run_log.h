#pragma once

#include "lessons/animation_state.h"
#include "lessons/scene_clock.h"

#include <optional>
#include <vector>

// One drawn instant of a lesson: its local tick and the loop's values as
// the lesson left them.
struct RunRow {
    int tick;
    double e, ep, epu, u, s, x, temperature;
};

// The values of every tick the running lesson drew since the lesson area was
// last cleared, which is what its curves on screen show.
class RunLog {
public:
    // The lesson area was cleared: a new run, or none, begins.
    void clear();
    // A lesson tick was just drawn with this state (its clock already advanced).
    void record(const t1::AnimationState& st);
    // A row of a run that no lesson drew (the laboratory's acquisitions),
    // for the same export.
    void append(const RunRow& row) { m_rows.push_back(row); }

    const std::vector<RunRow>& rows() const { return m_rows; }
    bool empty() const { return m_rows.empty(); }
    // The lesson of the recorded run; none while nothing was recorded.
    std::optional<t1::Lesson> lesson() const { return m_lesson; }

private:
    std::vector<RunRow> m_rows;
    std::optional<t1::Lesson> m_lesson;
};
