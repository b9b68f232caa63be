#pragma once

#include "classroom/classroom.h"
#include "tests/support/window_rig.h"

namespace t1::testing {

// The window with the classroom features wired in, as the program runs it.
class ClassroomRig : public WindowRig {
protected:
    void SetUp() override
    {
        WindowRig::SetUp();
        m_classroom = new Classroom(w.get());
    }

    Classroom& classroom() { return *m_classroom; }

    Classroom* m_classroom = nullptr;  // the window's child
};

}  // namespace t1::testing
