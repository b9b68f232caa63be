#pragma once

#include "lessons/closed_loop.h"
#include "picture/figures.h"

#include <array>

namespace t1 {

struct Scene;

// The oven of the two closed-loop disturbance lessons: hot and red, its door
// open for the whole second sampling period (ticks 41 to 79), shut before
// and after. Ticks 40 and 80 show no door at all.
void doorScenarioOvenStep(Scene& scene, int t);

// The disturbance lessons draw their curves in red.
QRgb redCurve(int t);
inline constexpr OvenStory kDoorOpened{.oven = doorScenarioOvenStep, .curveColour = redCurve};

// What both lessons say of the door: when it opens, and the second period.
inline constexpr std::array kDisturbanceInstantText{Label{300, 230, u"Perturbation à l'instant t=T."}};
inline constexpr std::array kDoorOpenPeriodTexts{
    Label{10, 360, u"Deuxième Période : effet de la perturbation. La porte est ouverte pendant toute la période. La boucle ne réagira qu'à la période suivante."},
    Label{96, 380, u"Les valeurs de chacune des variables restent les mêmes que pour la première période. La température diminue de 10°C, comme en boucle ouverte."},
};

// Both lessons' texts: their fixed lines, the sampling period and the
// instant of the disturbance from the start, then one block per period as
// it ends, the second period's being the door's.
constexpr std::array<TextBlock, 6> disturbanceTexts(std::span<const Label> fixed, std::span<const Label> firstPeriod,
                                                    std::span<const Label> thirdPeriod)
{
    return {{
        {0, fixed},
        {0, kSamplingPeriodTexts},
        {0, kDisturbanceInstantText},
        {39, firstPeriod, kFirstPeriodRule},
        {79, kDoorOpenPeriodTexts, kSecondPeriodRule},
        {119, thirdPeriod, kThirdPeriodRule},
    }};
}

}  // namespace t1
