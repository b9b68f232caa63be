#include "documents/rtf_groups.h"

#include "documents/rtf_reader.h"

namespace t1::rtf {

void Groups::open()
{
    m_fallbackLeft = 0;
    // The bottom entry does not count as a group.
    if (m_stack.size() <= std::size_t(RtfReader::kMaxGroupDepth))
        m_stack.push_back(m_stack.back());
    else
        ++m_overflowDepth;
}

bool Groups::closing()
{
    m_fallbackLeft = 0;
    if (m_overflowDepth == 0)
        return true;
    --m_overflowDepth;
    return false;
}

void Groups::pop()
{
    if (m_stack.size() > 1)
        m_stack.pop_back();
}

}  // namespace t1::rtf
