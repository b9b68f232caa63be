#pragma once

#include "lab_window/plot_scale.h"

#include <QWidget>

#include <optional>

namespace t1 {

// Lies over the two plots: the mouse over them, or Left and Right, put a
// cursor on an acquisition; leaving the plots, End or Escape give the live
// values back. The cursor is drawn here, over the retained picture, so that
// moving it leaves the picture as it was.
class PlotCursor : public QWidget {
    Q_OBJECT
public:
    explicit PlotCursor(QWidget* scene);

    void setScale(const PlotScale& scale);
    // The acquisitions made: the cursor goes no further.
    void setSampleCount(int count);
    std::optional<int> sample() const { return m_sample; }
    void setSample(std::optional<int> sample);

signals:
    void sampleChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QRect lineRect(const PlotArea& area, int k) const;
    void repaintAt(std::optional<int> k);

    PlotScale m_scale;
    int m_count = 0;
    std::optional<int> m_sample;
};

}  // namespace t1
