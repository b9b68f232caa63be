#include "stage/zoom.h"

#include "picture/colours.h"

#include <QEvent>
#include <QGraphicsProxyWidget>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QPaintEngine>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <array>
#include <cmath>

namespace {

// The factors Ctrl++ and Ctrl+- step through. 1.75 is the largest that a
// maximised window on a 1920 x 1080 screen shows whole; F11 fits the screen.
constexpr std::array kSteps{0.5, 0.75, 1.0, 1.25, 1.5, 1.75, 2.0, 2.5, 3.0, 4.0};
constexpr double kSameFactor = 1e-6;

bool same(double a, double b)
{
    return std::abs(a - b) < kSameFactor;
}

// The scene's control that last had the keyboard, to give it back after a move.
QPointer<QWidget> focusIn(QWidget* scene)
{
    return scene->focusWidget();
}

// The scene is the only item of its view: Tab past its last control comes
// round to the first, as it does in the window, rather than staying put.
class SceneProxy : public QGraphicsProxyWidget {
public:
    // A tick changes a few small areas far apart: render exactly those, not
    // the rectangle spanning them, which at a large factor would be most of
    // the screen on every tick.
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* view) override
    {
        QWidget* scene = widget();
        const QRegion exposed = painter->paintEngine() ? painter->paintEngine()->systemClip() : QRegion();
        if (!scene || !scene->isVisible() || exposed.isEmpty())
            return QGraphicsProxyWidget::paint(painter, option, view);
        const QTransform toScene = painter->deviceTransform().inverted();
        const QRect bounds = scene->rect();
        QRegion needed;
        for (const QRect& r : exposed)
            needed += toScene.mapRect(QRectF(r)).toAlignedRect() & bounds;
        scene->render(painter, needed.boundingRect().topLeft(), needed, QWidget::DrawChildren);
    }

protected:
    bool focusNextPrevChild(bool next) override
    {
        QWidget* scene = widget();
        const QWidget* before = scene ? scene->focusWidget() : nullptr;
        if (QGraphicsProxyWidget::focusNextPrevChild(next) && (!scene || scene->focusWidget() != before))
            return reveal(scene->focusWidget());
        if (!scene)
            return false;
        const auto step = [next](QWidget* w) { return next ? w->nextInFocusChain() : w->previousInFocusChain(); };
        for (QWidget* w = step(scene); w && w != scene; w = step(w)) {
            const bool takesTab = (w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && w->isVisibleTo(scene);
            if (takesTab && !w->focusProxy()) {
                w->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
                return reveal(w);
            }
        }
        return false;
    }

private:
    // A control reached from the keyboard comes into view, when the view
    // scrolls (at 1x in a window smaller than the scene).
    bool reveal(QWidget* focus)
    {
        QWidget* scene = widget();
        if (focus && scene && this->scene()) {
            const QRectF area(QRect(focus->mapTo(scene, QPoint(0, 0)), focus->size()));
            for (QGraphicsView* view : this->scene()->views())
                view->ensureVisible(mapRectToScene(area));
        }
        return true;
    }
};

// Around the scene the view shows the window's background; under it the
// scene paints every pixel itself, so filling there first would be wasted.
class SceneView : public QGraphicsView {
public:
    using QGraphicsView::QGraphicsView;

protected:
    void drawBackground(QPainter* painter, const QRectF& exposed) override
    {
        const QRegion around = QRegion(exposed.toAlignedRect()) - QRegion(sceneRect().toAlignedRect());
        for (const QRect& r : around)
            painter->fillRect(r, backgroundBrush());
    }
};

}  // namespace

Zoom::Zoom(QWidget* window, QWidget* scene) : QObject(window), m_window(window), m_scene(scene)
{
    m_window->installEventFilter(this);
}

Zoom::~Zoom()
{
    m_window->removeEventFilter(this);
    // The zoom lives as long as its window: closing scaled, the graphics
    // scene frees the scene widget it holds, with every control.
    delete m_view;
}

void Zoom::zoomIn()
{
    const auto larger = [this](double f) { return f > m_factor + kSameFactor; };
    const auto next = std::find_if(kSteps.begin(), kSteps.end(), larger);
    if (next != kSteps.end())
        setFactor(*next);
}

void Zoom::zoomOut()
{
    const auto smaller = [this](double f) { return f < m_factor - kSameFactor; };
    const auto next = std::find_if(kSteps.rbegin(), kSteps.rend(), smaller);
    if (next != kSteps.rend())
        setFactor(*next);
}

void Zoom::setFactor(double factor)
{
    m_fit = false;
    apply(factor);
}

void Zoom::setFit(bool fit)
{
    m_fit = fit;
    apply(fit ? fitFactor() : m_factor);
}

double Zoom::fitFactor() const
{
    const QSize scene = m_scene->size();
    const QSize room = m_window->size();
    const double fit = std::min(double(room.width()) / scene.width(), double(room.height()) / scene.height());
    return std::max(fit, kSteps.front());
}

bool Zoom::scrollsAtOne() const
{
    return m_window->isVisible()
           && (m_window->width() < m_scene->width() || m_window->height() < m_scene->height());
}

void Zoom::apply(double factor)
{
    m_factor = same(factor, 1) ? 1 : factor;
    if (m_factor == 1 && !scrollsAtOne()) {
        if (m_view)
            land();
        return;
    }
    // The corner of the scene in view stays there: the top-left one at first.
    const QPointF corner = m_view ? m_view->mapToScene(QPoint(0, 0)) : QPointF(0, 0);
    if (!m_view)
        lift();
    m_view->setTransform(QTransform::fromScale(factor, factor));
    m_view->setAlignment(m_fit ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignTop);
    const Qt::ScrollBarPolicy bars = m_fit ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded;
    m_view->setHorizontalScrollBarPolicy(bars);
    m_view->setVerticalScrollBarPolicy(bars);
    m_view->horizontalScrollBar()->setValue(qRound(std::max(0.0, corner.x()) * factor));
    m_view->verticalScrollBar()->setValue(qRound(std::max(0.0, corner.y()) * factor));
}

void Zoom::lift()
{
    const QPointer<QWidget> focus = focusIn(m_scene);
    m_graphics = new QGraphicsScene(this);
    m_graphics->setItemIndexMethod(QGraphicsScene::NoIndex);
    // Only a widget without a parent can be embedded; its children, their
    // stacking and their Tab order come with it.
    m_scene->setParent(nullptr);
    m_proxy = new SceneProxy;
    m_proxy->setWidget(m_scene);
    m_graphics->addItem(m_proxy);
    m_graphics->setSceneRect(m_proxy->geometry());

    m_view = new SceneView(m_graphics, m_window);
    m_view->setFrameShape(QFrame::NoFrame);
    m_view->setBackgroundBrush(QColor::fromRgb(t1::colour::btnFace));
    // No smoothing from one up: every picture pixel becomes a block of
    // screen pixels. Below one the image views take the area mean themselves.
    m_view->setRenderHints({});
    m_view->setOptimizationFlags(QGraphicsView::DontSavePainterState);
    m_view->setAccessibleName(m_scene->accessibleName());
    m_view->setGeometry(m_window->rect());
    m_view->show();
    m_view->setFocus();
    if (focus)
        focus->setFocus();
}

void Zoom::land()
{
    const QPointer<QWidget> focus = focusIn(m_scene);
    m_proxy->setWidget(nullptr);  // the scene is ours again
    m_scene->setParent(m_window);
    m_scene->move(0, 0);
    m_scene->show();
    delete m_view;
    delete m_graphics;  // with the proxy
    m_graphics = nullptr;
    m_proxy = nullptr;
    if (focus)
        focus->setFocus();
}

bool Zoom::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_window && (event->type() == QEvent::Resize || event->type() == QEvent::Show)) {
        if (m_view)
            m_view->setGeometry(m_window->rect());
        if (m_fit)
            apply(fitFactor());
        else if (m_factor == 1)
            apply(1);
    }
    return false;
}
