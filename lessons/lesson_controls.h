#pragma once

namespace t1 {

// The few controls a lesson touches while it runs. The window implements
// this; tests give a fake that counts the calls.
class LessonControls {
public:
    virtual ~LessonControls() = default;
    // "Commentaires": enabled and visible.
    virtual void showCommentButton() = 0;
    // The small red box under the regulator with the PI recurrence.
    virtual void showRecurrenceBox() = 0;
};

}  // namespace t1
