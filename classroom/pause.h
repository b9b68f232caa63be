#pragma once

#include <QObject>

class QLabel;
class TTemperature1;

// Freezes the animation for the class: while paused the timer keeps running,
// but its ticks leave the clock and every picture as they are. The pause
// outlives a new run or a change of lesson; a small "Pause" says it is on.
class Pause : public QObject {
    Q_OBJECT
public:
    explicit Pause(TTemperature1* window);

    bool paused() const { return m_paused; }
    void setPaused(bool paused);
    void toggle() { setPaused(!m_paused); }

    QLabel* indicator() const { return m_indicator; }

private:
    TTemperature1* m_window;
    bool m_paused = false;
    QLabel* m_indicator;
};
