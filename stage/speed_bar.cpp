#include "stage/speed_bar.h"

#include <QScrollBar>

namespace {

constexpr int kSpeedSmallStep = 2;
constexpr int kSpeedLargeStep = 10;

}  // namespace

void setUpSpeedBar(QScrollBar* bar)
{
    bar->setRange(kSpeedMin, kSpeedMax);
    bar->setValue(kSpeedDefault);
    bar->setSingleStep(kSpeedSmallStep);
    bar->setPageStep(kSpeedLargeStep);
    bar->setFocusPolicy(Qt::StrongFocus);
    bar->setAccessibleName(QStringLiteral("Réglage vitesse animation"));
}
