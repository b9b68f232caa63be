#include "classroom/pause.h"

#include "picture/colours.h"
#include "picture/fonts.h"
#include "shell/temperature1.h"

#include <QLabel>

namespace {

// In the top band between the diagram's supply line and "Version 2.2",
// where nothing is ever drawn.
constexpr QRect kIndicatorPlace{500, 8, 80, 16};
constexpr QRgb kIndicatorColour = t1::colour::red;

}  // namespace

Pause::Pause(TTemperature1* window)
    : QObject(window), m_window(window), m_indicator(new QLabel(QStringLiteral("Pause"), window->sceneView()))
{
    m_indicator->setObjectName(QStringLiteral("pauseIndicator"));
    m_indicator->setGeometry(kIndicatorPlace);
    m_indicator->setFont(t1::fonts::make(t1::fonts::pt10, true));
    QPalette pal = m_indicator->palette();
    pal.setColor(QPalette::WindowText, QColor::fromRgb(kIndicatorColour));
    m_indicator->setPalette(pal);
    m_indicator->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_indicator->setAccessibleName(QStringLiteral("Animation en pause"));
    m_indicator->hide();
}

void Pause::setPaused(bool paused)
{
    m_paused = paused;
    m_window->setTicksHeld(paused);
    m_indicator->setVisible(paused);
}
