#pragma once

#include <QObject>
#include <QGraphicsView>
#include <QPointer>

class QGraphicsProxyWidget;
class QGraphicsScene;

class QWidget;

// One factor for the whole 800 x 550 scene: drawing surface, oven picture
// and controls. At 1x the scene is the window's child, exactly as always,
// unless the window is shown smaller than the scene: then the view below
// shows it at 1x with scroll bars, and follows the keyboard from control to
// control. Scaled, the scene widget moves whole into a graphics view that shows it
// through a proxy with a scale transform: clicks and keys are mapped back
// to the controls, fonts are drawn at the scaled size, and the pictures are
// scaled to the nearest pixel from one up, so that they stay crisp, and
// below one to the mean of what each screen pixel covers, so that no stroke
// of their texts is lost.
class Zoom : public QObject {
    Q_OBJECT
public:
    Zoom(QWidget* window, QWidget* scene);
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

    QWidget* scene() const { return m_scene; }
    // Null at 1x.
    QGraphicsView* view() const { return m_view; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void apply(double factor);
    bool scrollsAtOne() const;
    void lift();
    void land();
    double fitFactor() const;

    QWidget* m_window;
    QWidget* m_scene;
    double m_factor = 1;
    bool m_fit = false;
    QGraphicsScene* m_graphics = nullptr;
    QGraphicsProxyWidget* m_proxy = nullptr;
    // The window deletes its child view first when it closes scaled.
    QPointer<QGraphicsView> m_view;
};
