// Menu item 6: the loop under PI control answers the door opened during the
// second sampling period. Its 7,8 V overshoots; with no cooling command,
// natural cooling brings the oven back over the following periods.
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
constexpr std::array kSteadyLabel{Label{150, 283, u"1,6V"}};

// S(t) on screen: steady at 1,6 V (y = 250), the fall while the door is
// open, the rise under 7,8 V beyond the initial level, then one slow return
// on a single exponential whose base steps down a pixel each period.
int sSteady(int) { return 250; }
int sFall(int tau) { return static_cast<int>(50 - 50 * std::exp(-tau * kRate103_01) + 250); }
int sRise(int tau) { return riseY(266, 70, kRate103_1, tau); }
int sReturn(int tau, int base) { return static_cast<int>(10 - 10 * std::exp(-tau * kRate103_01) + base); }
int sReturn4(int tau) { return sReturn(tau, 244); }
int sReturn5(int tau) { return sReturn(tau, 245); }
int sReturn6(int tau) { return sReturn(tau, 246); }

constexpr std::array kUStub{Segment{130, 280, 140, 280}};
constexpr std::array kURise{Segment{219, 280, 219, 202}};
constexpr std::array kUFall{Segment{259, 202, 259, 278}};
constexpr std::array kHighLabel{Label{232, 205, u"7,8V"}};
constexpr std::array kSStub{Segment{480, 250, 490, 250}};

constexpr std::array kCurves{
    CurvePeriod{.first = 2, .last = 39,
                .uFigures = kUStub, .uLevel = 280,
                .sFigures = kSStub, .sY = sSteady},
    CurvePeriod{.first = 40, .last = 79,
                .uLevel = 280,
                .sY = sFall, .sOffset = 40},
    CurvePeriod{.first = 80, .last = 119,
                .uFigures = kURise, .uLevel = 202, .uLabels = kHighLabel,
                .sY = sRise, .sOffset = 80, .sRising = true},
    CurvePeriod{.first = 120, .last = 159,
                .uFigures = kUFall, .uLevel = 278,
                .sY = sReturn4, .sOffset = 120},
    CurvePeriod{.first = 160, .last = 199, .uLevel = 279, .sY = sReturn5, .sOffset = 120},
    CurvePeriod{.first = 200, .last = 239, .uLevel = 280, .sY = sReturn6, .sOffset = 120},
};

constexpr Extended kE = 40;
// The door takes S down by 0.0975 V per unit of E (3,9 V at E = 40); the
// correction's 7,8 V brings it back, in hundredths of a volt.
double sValueSteady(int) { return 1.6; }
double sValueDoorOpen(int t)
{
    return roundUpToTenth(1.6L - (1.0L - std::exp(-(t - 40) * kRate103_01)) * 0.0975L * kE);
}
double sValueCorrection(int t)
{
    return roundUpToHundredth((1.8L - std::exp(-(t - 80) * kRate103_01)) * kVoltsPerUnit * kE);
}
double sValue4(int) { return 1.72; }
double sValue56(int) { return 1.7; }

constexpr std::array kValues{
    ValuePeriod{.first = 2, .last = 39, .e = 40, .x = 40, .ep = 0, .epu = 40, .u = 1.6, .s = sValueSteady},
    ValuePeriod{.first = 40, .last = 79, .e = 40, .x = 40, .ep = 0, .epu = 40, .u = 1.6, .s = sValueDoorOpen},
    ValuePeriod{.first = 80, .last = 119, .e = 40, .x = 11, .ep = 29, .epu = 200, .u = 7.8, .s = sValueCorrection},
    ValuePeriod{.first = 120, .last = 159, .e = 40, .x = 45, .ep = -5, .epu = 41, .u = 1.6, .s = sValue4},
    ValuePeriod{.first = 160, .last = 199, .e = 40, .x = 44, .ep = -4, .epu = 41, .u = 1.6, .s = sValue56},
    ValuePeriod{.first = 200, .last = 239, .e = 40, .x = 43, .ep = -3, .epu = 42, .u = 1.6, .s = sValue56},
};

// The closed loop's boxes but for a wider S: it shows hundredths here.
constexpr ReadoutBoxes kWideSBox = [] {
    ReadoutBoxes boxes = kClosedLoopReadout;
    boxes.s = {645, 60, 675, 75};
    return boxes;
}();

constexpr std::array kFixedTexts{
    Label{10, 180, u"Le régulateurPI"},
    Label{10, 200, u"assure un pôle nul"},
    Label{10, 220, u"en boucle fermée."},
    Label{10, 240, u"Conditions initiales :"},
    Label{10, 260, u"régime permanent"},
    Label{10, 280, u"pour E = 40."},
};
constexpr std::array kFirstPeriodTexts{
    Label{10, 320, u"Première Période : Régime permanent initial : E=40, X=40, Ep(erreur de position) =0, Epu=40, U=S=1,6Volts"},
};
constexpr std::array kThirdPeriodTexts{
    Label{10, 400, u"Troisième Période : correction de la perturbation. La boucle fabrique une commande de 7,8V. Mais cette commande est trop virulente, la température"},
    Label{96, 420, u"évolue un peu au-delà de la valeur initiale que l'on doit retrouver. Il n'y a pas de commande de refroidissement, c'est donc le refroidissement naturel"},
    Label{96, 440, u"qui va ramener la température à sa valeur initiale."},
};

constexpr auto kTexts = disturbanceTexts(kFixedTexts, kFirstPeriodTexts, kThirdPeriodTexts);

}  // namespace

const ClosedLoopScript kDisturbPIScript{
    .story = &kDoorOpened,
    .everyTickLabels = kSteadyLabel,
    .curves = kCurves,
    .values = kValues,
    .regulator = &kPI,
    .readout = &kWideSBox,
    .texts = kTexts,
};

}  // namespace t1
