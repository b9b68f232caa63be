#pragma once

#include <QWidget>

namespace t1 {
class Canvas;
}

// The image control FOND: shows the top-left corner of its picture, the
// oven view that the lessons rebuild on every tick.
class OvenView : public QWidget {
    Q_OBJECT
public:
    OvenView(const t1::Canvas& picture, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const t1::Canvas& m_picture;
};
