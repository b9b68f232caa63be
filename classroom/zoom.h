#pragma once

#include <QObject>
#include <QPointer>

class QGraphicsScene;
class QGraphicsView;
class QRect;
class QWidget;
class Stage;

namespace t1 {
class Canvas;
}

// One factor for the whole scene: drawing surface, oven picture and
// controls. At 1x the window shows its scene itself, exactly as always.
// Scaled, the window's controls move onto a stage that a graphics view
// shows through a proxy with a scale transform: clicks and keys are mapped
// back to the controls, fonts are drawn at the scaled size, and with no
// smoothing an integer factor repeats every pixel of the surface.
class Zoom : public QObject {
    Q_OBJECT
public:
    Zoom(QWidget* window, const t1::Canvas& surface);
    ~Zoom() override;

    double factor() const { return m_factor; }
    bool fitting() const { return m_fit; }

    void zoomIn();
    void zoomOut();
    void reset() { setFactor(1); }
    void setFactor(double factor);  // leaves the fit mode
    // The largest factor at which the whole scene fits in the window, kept
    // as the window is resized.
    void setFit(bool fit);

    // Where the 800 x 550 scene lives at its own size: the window at 1x,
    // the stage while scaled.
    QWidget* scene() const;
    QGraphicsView* view() const { return m_view; }

    // The drawing surface changed there, in surface pixels.
    void surfaceDrawn(const QRect& changed);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void apply(double factor);
    void lift();
    void land();
    void adopt(QWidget* child);
    double fitFactor() const;

    QWidget* m_window;
    const t1::Canvas& m_surface;
    double m_factor = 1;
    bool m_fit = false;
    bool m_moving = false;  // while the controls change parent
    QGraphicsScene* m_graphics = nullptr;
    QGraphicsView* m_view = nullptr;
    QPointer<Stage> m_stage;
};
