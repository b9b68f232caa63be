// Menu item 5: the loop under P control (G = 4,55, a pole at zero) answers
// the door opened during the second sampling period, and brings the oven
// back within the third.
#include "lessons/closed_loop.h"
#include "lessons/door_scenario.h"
#include "lessons/lesson_table.h"
#include "lessons/oven_constants.h"
#include "lessons/scene.h"
#include "lessons/shared_readouts.h"

#include <array>
#include <cmath>

namespace t1 {

namespace {

// The steady level label, printed on every tick of the lesson.
constexpr std::array kSteadyLabel{Label{150, 273, u"3,2V"}};

// S(t) on screen: steady at 3,2 V (y = 200), the fall while the door is
// open, the recovery under 8,7 V, steady again.
int sSteady(int) { return 200; }
int sFall(int tau) { return static_cast<int>(250 - 50 * std::exp(-tau * kRate103_01)); }
int sRecovery(int tau) { return riseY(216, 49, kRate103_1, tau); }

constexpr std::array kUStub{Segment{130, 270, 140, 270}};
constexpr std::array kURise{Segment{219, 270, 219, 219}};
constexpr std::array kUFall{Segment{259, 219, 259, 270}};
constexpr std::array kHighLabel{Label{232, 226, u"8,7V"}};
constexpr std::array kSStub{Segment{480, 200, 490, 200}};

constexpr std::array kCurves{
    CurvePeriod{.first = 2, .last = 39,
                .uFigures = kUStub, .uLevel = 270,
                .sFigures = kSStub, .sY = sSteady},
    CurvePeriod{.first = 40, .last = 79,
                .uLevel = 270,
                .sY = sFall, .sOffset = 40},
    CurvePeriod{.first = 80, .last = 119,
                .uFigures = kURise, .uLevel = 219, .uLabels = kHighLabel,
                .sY = sRecovery, .sOffset = 80, .sRising = true},
    CurvePeriod{.first = 120, .last = 159, .uFigures = kUFall, .uLevel = 270, .sY = sSteady},
    CurvePeriod{.first = 160, .last = 239, .uLevel = 270, .sY = sSteady},
};

// The door takes 10 degrees C off in the second period (3,9 V of swing at
// E = 100); the third period's 8,7 V brings S back up.
constexpr Extended kE = 100;
double sValueSteady(int) { return 3.2; }
double sValueDoorOpen(int n)
{
    return roundUpToTenth(3.2L - kVoltsPerUnit * kE * (1.0L - std::exp(-(n - 40) * kRate103_01)));
}
double sValueCorrection(int n)
{
    return roundUpToTenth(kVoltsPerUnit * kE * (1.5L - std::exp(-(n - 80) * kRate103_01)));
}

constexpr std::array kValues{
    ValuePeriod{.first = 2, .last = 39, .e = 100, .x = 82, .ep = 18, .epu = 82, .u = 3.2, .s = sValueSteady},
    ValuePeriod{.first = 40, .last = 79, .e = 100, .x = 82, .ep = 18, .epu = 82, .u = 3.2, .s = sValueDoorOpen},
    ValuePeriod{.first = 80, .last = 119, .e = 100, .x = 51, .ep = 49, .epu = 223, .u = 8.7, .s = sValueCorrection},
    ValuePeriod{.first = 120, .last = 239, .e = 100, .x = 82, .ep = 18, .epu = 82, .u = 3.2, .s = sValueSteady},
};

constexpr RegulatorShown kRegulator{proportionalLabel(kGainLinePatch, u"G = 4,55")};

constexpr std::array kFixedTexts{
    Label{10, 180, u"Le gain du régulateur"},
    Label{10, 200, u"proportionnel est choisi"},
    Label{10, 220, u"à G=4,55 (pôle nul en B.F.)"},
    Label{10, 240, u"Conditions initiales : "},
    Label{10, 260, u"régime permanent"},
    Label{10, 280, u"pour E = 100."},
};
constexpr std::array kFirstPeriodTexts{
    Label{10, 320, u"Première Période : le gain G étant de 4.55, le pôle de la boucle fermée est nul : X/E=0.82/z. En régime permanent, pour E=100, X=82, Ep=18, Epu=82"},
    Label{96, 340, u"U=S=3.2Volts"},
};
constexpr std::array kThirdPeriodTexts{
    Label{10, 400, u"Troisième Période : correction de la perturbation. La boucle fabrique une commande de 8,7V qui ramène en une période la température à sa valeur initiale."},
    Label{96, 420, u"Puisque la température a chuté de 10°C, alors : S=2V et X=51 en début de période. Puis : Ep=100-51=49, Epu=223 et U=8,7V."},
    Label{150, 440, u"Aux périodes suivantes, le régime permanent initial est retrouvé."},
};

constexpr auto kTexts = disturbanceTexts(kFixedTexts, kFirstPeriodTexts, kThirdPeriodTexts);

}  // namespace

const ClosedLoopScript kDisturbPScript{
    .story = &kDoorOpened,
    .everyTickLabels = kSteadyLabel,
    .curves = kCurves,
    .values = kValues,
    .regulator = &kRegulator,
    .texts = kTexts,
};

}  // namespace t1
