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

    // These pixels of the picture changed: repaint just them. Shown scaled
    // through a graphics view, the view is asked for each rectangle itself:
    // the graphics scene would merge them into the one rectangle spanning
    // them all, most of a large screen.
    void showChanged(const QRegion& changed);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const t1::Canvas& m_picture;
    QRgb m_background;
};
