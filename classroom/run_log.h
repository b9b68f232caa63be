#pragma once

#include "lessons/animation_state.h"
#include "lessons/lesson_row.h"
#include "stage/export_formats.h"

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
    // The lesson of the recorded run; null while nothing was recorded.
    const t1::LessonRow* lesson() const { return m_lesson; }

private:
    std::vector<RunRow> m_rows;
    const t1::LessonRow* m_lesson = nullptr;
};
