#pragma once

#include <QWidget>

namespace t1 {
class Canvas;
}

// The window's 800 x 550 scene while it is shown scaled: it paints the
// drawing surface as the window does and carries the window's controls.
class Stage : public QWidget {
    Q_OBJECT
public:
    explicit Stage(const t1::Canvas& surface);

protected:
    void paintEvent(QPaintEvent* event) override;
    // Tab past the last control comes round to the first, as in the window.
    bool focusNextPrevChild(bool next) override;

private:
    const t1::Canvas& m_surface;
};
