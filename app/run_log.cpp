#include "app/run_log.h"

#include <array>

namespace {

using namespace t1;

struct BandOfLesson {
    Band band;
    Lesson lesson;
};

constexpr std::array kBands{
    BandOfLesson{kOpenLoopBand, Lesson::OpenLoop},   BandOfLesson{kLoopPBand, Lesson::LoopP},
    BandOfLesson{kLoopPIBand, Lesson::LoopPI},       BandOfLesson{kDisturbModelBand, Lesson::DisturbModel},
    BandOfLesson{kDisturbPBand, Lesson::DisturbP},   BandOfLesson{kDisturbPIBand, Lesson::DisturbPI},
};

// The lesson whose band holds a clock that a lesson tick has advanced.
const BandOfLesson* bandOf(int clock)
{
    for (const BandOfLesson& b : kBands)
        if (b.band.base < clock && clock <= b.band.end)
            return &b;
    return nullptr;
}

}  // namespace

void RunLog::clear()
{
    m_rows.clear();
    m_lesson.reset();
}

void RunLog::record(const AnimationState& st)
{
    const BandOfLesson* b = bandOf(st.gSceneTick);
    if (!b)
        return;
    // Another lesson's ticks never join a run: the start of a lesson clears the area.
    if (m_lesson && *m_lesson != b->lesson)
        clear();
    m_lesson = b->lesson;
    m_rows.push_back({st.gSceneTick - b->band.base, st.gE, st.gEp, st.gEpu, st.gU, st.gS, st.gX, st.gTemperature});
}
