#include "classroom/run_log.h"

#include "lessons/lesson_table.h"

void RunLog::clear()
{
    m_rows.clear();
    m_lesson = nullptr;
}

void RunLog::record(const t1::AnimationState& st)
{
    const t1::LessonRow* row = t1::lessonAt(st.gSceneTick);
    if (!row)
        return;
    // Another lesson's ticks never join a run: the start of a lesson clears the area.
    if (m_lesson && m_lesson != row)
        clear();
    m_lesson = row;
    m_rows.push_back({.tick = st.gSceneTick - row->band.base, .values = st});
}
