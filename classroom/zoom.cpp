#include "classroom/zoom.h"

#include "classroom/stage.h"
#include "picture/canvas.h"
#include "picture/colours.h"

#include <QEvent>
#include <QGraphicsProxyWidget>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QScrollBar>

#include <algorithm>
#include <array>
#include <cmath>

namespace {

// The factors Ctrl++ and Ctrl+- step through. 1.75 is the largest that a
// maximised window on a 1920 x 1080 screen shows whole; F11 fits the screen.
constexpr std::array kSteps{0.5, 0.75, 1.0, 1.25, 1.5, 1.75, 2.0, 2.5, 3.0, 4.0};
constexpr double kSameFactor = 1e-6;
// A focus chain is circular; this bounds a walk round one that is not.
constexpr int kMaxChainLength = 10000;

bool same(double a, double b)
{
    return std::abs(a - b) < kSameFactor;
}

bool whole(double factor)
{
    return same(factor, std::round(factor));
}

// The scene's controls: the non-window children of a widget, bottom first.
QList<QWidget*> controlsOf(QWidget* parent)
{
    QList<QWidget*> controls;
    for (QWidget* w : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (!w->isWindow())
            controls.append(w);
    return controls;
}

// The controls in the order Tab visits them.
QList<QWidget*> tabOrder(QWidget* root, const QList<QWidget*>& controls)
{
    QList<QWidget*> order;
    QWidget* w = root->nextInFocusChain();
    for (int i = 0; w && w != root && i < kMaxChainLength; ++i, w = w->nextInFocusChain())
        if (controls.contains(w))
            order.append(w);
    return order;
}

void chain(const QList<QWidget*>& order)
{
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

// Keeps stacking, place and shown or hidden state; a control that would show
// with its parent still does.
void moveTo(const QList<QWidget*>& controls, QWidget* parent)
{
    for (QWidget* w : controls) {
        const bool hidden = w->testAttribute(Qt::WA_WState_ExplicitShowHide) && w->testAttribute(Qt::WA_WState_Hidden);
        const QRect place = w->geometry();
        w->setParent(parent);
        w->setGeometry(place);
        w->setVisible(!hidden);
    }
}

}  // namespace

Zoom::Zoom(QWidget* window, const t1::Canvas& surface) : QObject(window), m_window(window), m_surface(surface)
{
    m_window->installEventFilter(this);
}

Zoom::~Zoom()
{
    // The window is going: its controls go with the stage.
    m_window->removeEventFilter(this);
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
    const QSize scene = m_surface.image().size();
    const QSize room = m_window->size();
    const double fit = std::min(double(room.width()) / scene.width(), double(room.height()) / scene.height());
    return std::max(fit, kSteps.front());
}

QWidget* Zoom::scene() const
{
    return m_stage ? static_cast<QWidget*>(m_stage) : m_window;
}

void Zoom::surfaceDrawn(const QRect& changed)
{
    if (m_stage)
        m_stage->update(changed);
}

void Zoom::apply(double factor)
{
    m_factor = factor;
    if (same(factor, 1)) {
        m_factor = 1;
        if (m_view)
            land();
        return;
    }
    // The corner of the scene in view stays there: the top-left one at first.
    const QPointF corner = m_view ? m_view->mapToScene(QPoint(0, 0)) : QPointF(0, 0);
    if (!m_view)
        lift();
    m_view->setTransform(QTransform::fromScale(factor, factor));
    // Whole factors repeat each pixel; between them, smoothing keeps the
    // strokes of the surface even.
    m_view->setRenderHint(QPainter::SmoothPixmapTransform, !whole(factor));
    m_view->setAlignment(m_fit ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignTop);
    const Qt::ScrollBarPolicy bars = m_fit ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded;
    m_view->setHorizontalScrollBarPolicy(bars);
    m_view->setVerticalScrollBarPolicy(bars);
    m_view->horizontalScrollBar()->setValue(qRound(std::max(0.0, corner.x()) * factor));
    m_view->verticalScrollBar()->setValue(qRound(std::max(0.0, corner.y()) * factor));
}

void Zoom::lift()
{
    m_moving = true;
    QPointer<QWidget> focus = m_window->focusWidget();
    const QList<QWidget*> controls = controlsOf(m_window);
    const QList<QWidget*> order = tabOrder(m_window, controls);

    m_stage = new Stage(m_surface);
    m_stage->setFont(m_window->font());
    m_stage->setPalette(m_window->palette());
    m_stage->setAccessibleName(m_window->accessibleName());
    m_stage->setAccessibleDescription(m_window->accessibleDescription());
    moveTo(controls, m_stage);
    chain(order);

    m_graphics = new QGraphicsScene(this);
    m_graphics->setItemIndexMethod(QGraphicsScene::NoIndex);
    QGraphicsProxyWidget* proxy = m_graphics->addWidget(m_stage);
    proxy->show();
    m_graphics->setSceneRect(proxy->geometry());

    m_view = new QGraphicsView(m_graphics, m_window);
    m_view->setFrameShape(QFrame::NoFrame);
    m_view->setBackgroundBrush(QColor::fromRgb(t1::colour::btnFace));
    m_view->setRenderHints({});
    m_view->setAccessibleName(m_window->accessibleName());
    m_view->setGeometry(m_window->rect());
    m_view->show();
    m_view->setFocus();
    if (focus)
        focus->setFocus();
    m_moving = false;
}

void Zoom::land()
{
    m_moving = true;
    QPointer<QWidget> focus = m_stage->focusWidget();
    const QList<QWidget*> controls = controlsOf(m_stage);
    const QList<QWidget*> order = tabOrder(m_stage, controls);
    moveTo(controls, m_window);
    chain(order);

    delete m_view;
    m_view = nullptr;
    delete m_graphics;  // with the proxy and the stage
    m_graphics = nullptr;
    if (focus)
        focus->setFocus();
    m_moving = false;
}

void Zoom::adopt(QWidget* child)
{
    // A control made while the scene is scaled joins the others on the stage.
    if (!m_stage || child->isWindow() || child->parentWidget() != m_window || child == m_view)
        return;
    moveTo({child}, m_stage);
}

bool Zoom::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_window)
        return false;
    switch (event->type()) {
    case QEvent::Resize:
        if (m_view)
            m_view->setGeometry(m_window->rect());
        if (m_fit)
            apply(fitFactor());
        break;
    case QEvent::FontChange:
        if (m_stage)
            m_stage->setFont(m_window->font());
        break;
    case QEvent::PaletteChange:
        if (m_stage)
            m_stage->setPalette(m_window->palette());
        break;
    case QEvent::ChildAdded:
        if (m_stage && !m_moving) {
            if (auto* child = qobject_cast<QWidget*>(static_cast<QChildEvent*>(event)->child())) {
                QPointer<QWidget> added(child);
                QMetaObject::invokeMethod(
                    this, [this, added] { if (added) adopt(added); }, Qt::QueuedConnection);
            }
        }
        break;
    default:
        break;
    }
    return false;
}
