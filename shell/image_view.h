#pragma once

#include <QRgb>
#include <QWidget>

namespace t1 {
class Canvas;
}

// Shows a retained picture from its top-left corner: the window's drawing
// surface in the scene, the oven picture in FOND. What the picture does not
// cover (an empty picture before the first tick) is the background colour.
// The picture is read at every paint, so it may be replaced at any time.
class ImageView : public QWidget {
    Q_OBJECT
public:
    ImageView(const t1::Canvas& picture, QRgb background, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const t1::Canvas& m_picture;
    QRgb m_background;
};
