// Menu item 2: the step response of the closed loop under proportional
// control (G = 2, T = T1/5), over six sampling periods.
#include "lessons/closed_loop.h"
#include "lessons/lesson_table.h"
#include "lessons/oven_constants.h"
#include "lessons/scene.h"
#include "lessons/shared_readouts.h"
#include "picture/colours.h"

#include <array>

namespace t1 {

namespace {

// The first period's level label, printed on every tick of the lesson.
constexpr std::array kFirstLevelLabel{Label{150, 203, u"7,8V"}};

// S(t) on screen: 30 px per volt above y = 299, one exponential piece per period.
int sPeriod1(int tau) { return riseY(299, 234, kRate200_2, tau); }
int sPeriod2(int tau) { return riseY(257, 108, kRate200_1, tau); }
int sPeriod3(int tau) { return riseY(237, 49, kRate200_1, tau); }
int sPeriod4(int tau) { return riseY(227, 23, kRate200_1, tau); }
int sPeriod5(int tau) { return riseY(223, 10, kRate200_1, tau); }
int sPeriod6(int tau) { return riseY(221, 5, kRate200_1, tau); }

constexpr std::array kSStub{Segment{480, 300, 490, 300}};
constexpr std::array kEdge2{Segment{178, 200, 178, 236}};
constexpr std::array kEdge3{Segment{218, 236, 218, 253}};
constexpr std::array kEdge4{Segment{258, 253, 258, 260}};
constexpr std::array kEdge5{Segment{298, 260, 298, 264}};
constexpr std::array kEdge6{Segment{338, 264, 338, 265}};
constexpr std::array kLabel2{Label{192, 239, u"5V"}};
constexpr std::array kLabel3{Label{232, 256, u"3,7V"}};
constexpr std::array kLabel4{Label{272, 263, u"3,1V"}};
constexpr std::array kLabel5{Label{312, 267, u"2,8V"}};
constexpr std::array kLabel6{Label{342, 268, u"2,7V"}};

// The staircase of U (0.5 px per unit of Epu) and the pieces of S.
constexpr std::array kCurves{
    CurvePeriod{.first = 2, .last = 39,
                .uLevel = 200,
                .sFigures = kSStub, .sY = sPeriod1, .sOffset = 1, .sRising = true},
    CurvePeriod{.first = 40, .last = 79,
                .uFigures = kEdge2, .uLevel = 236, .uLabels = kLabel2,
                .sY = sPeriod2, .sOffset = 40, .sRising = true},
    CurvePeriod{.first = 80, .last = 119,
                .uFigures = kEdge3, .uLevel = 253, .uLabels = kLabel3,
                .sY = sPeriod3, .sOffset = 80, .sRising = true},
    CurvePeriod{.first = 120, .last = 159,
                .uFigures = kEdge4, .uLevel = 260, .uLabels = kLabel4,
                .sY = sPeriod4, .sOffset = 120, .sRising = true},
    CurvePeriod{.first = 160, .last = 199,
                .uFigures = kEdge5, .uLevel = 264, .uLabels = kLabel5,
                .sY = sPeriod5, .sOffset = 160, .sRising = true},
    CurvePeriod{.first = 200, .last = 239,
                .uFigures = kEdge6, .uLevel = 265, .uLabels = kLabel6,
                .sY = sPeriod6, .sOffset = 200, .sRising = true},
};

// S of each period: from where the last one ended towards the period's
// command, rounded up to the next tenth. The amplitudes are held as the
// doubles these differences give, 5.02 - 1.41, 3.7 - 2.06,
// 3.14 - 2.36, 2.82 - 2.5 and 2.74 - 2.56, so that each rounding stays put.
double sValue1(int n) { return roundUpToTenth(approach(0, 7.8, kRate200_1, n)); }
double sValue2(int n) { return roundUpToTenth(approach(1.41, 3.6099999999999994, kRate200_01, n - 39)); }
double sValue3(int n) { return roundUpToTenth(approach(2.06, 1.6400000000000001, kRate200_01, n - 79)); }
double sValue4(int n) { return roundUpToTenth(approach(2.36, 0.7800000000000002, kRate200_01, n - 119)); }
double sValue5(int n) { return roundUpToTenth(approach(2.5, 0.31999999999999984, kRate200_01, n - 159)); }
double sValue6(int n) { return roundUpToTenth(approach(2.56, 0.18000000000000016, kRate200_01, n - 199)); }

// X of a period is (255/10) S at the end of the last one; Ep = E - X, Epu = 2 Ep.
constexpr std::array kValues{
    ValuePeriod{.first = 2, .last = 39, .e = 100, .x = 0, .ep = 100, .epu = 200, .u = 7.8, .s = sValue1},
    ValuePeriod{.first = 40, .last = 79, .e = 100, .x = 36, .ep = 64, .epu = 128, .u = 5, .s = sValue2},
    ValuePeriod{.first = 80, .last = 119, .e = 100, .x = 53, .ep = 47, .epu = 94, .u = 3.7, .s = sValue3},
    ValuePeriod{.first = 120, .last = 159, .e = 100, .x = 60, .ep = 40, .epu = 80, .u = 3.1, .s = sValue4},
    ValuePeriod{.first = 160, .last = 199, .e = 100, .x = 64, .ep = 36, .epu = 72, .u = 2.8, .s = sValue5},
    ValuePeriod{.first = 200, .last = 239, .e = 100, .x = 65, .ep = 35, .epu = 70, .u = 2.7, .s = sValue6},
};

constexpr RegulatorShown kRegulator{proportionalLabel(kGainLinePatch, u"G = 2")};

constexpr std::array kFixedTexts{
    Label{10, 180, u"Le gain du régulateur"},
    Label{10, 200, u"proportionnel est "},
    Label{10, 220, u"choisi à G=2"},
};
constexpr std::array kFirstPeriodTexts{
    Label{10, 320, u"Première Période : Acquisition de X à t=0 : X=0, E=100  donc : Ep=E-X=100, Epu=2*Ep=200, U=(10/255)*Epu=7,8V. La sortie S : début d'une réponse exponentielle"},
    Label{96, 340, u"de constante de temps T1 (pendant T) jusqu'à S=1,4V donc l'acquisition de X au coup suivant sera : X=(255/10)*1,4=36"},
};
constexpr std::array kSecondPeriodTexts{
    Label{10, 360, u"Deuxième Période : Acquisition de X à t=T : X=36, E=100 donc : Ep=E-X=64, Epu=2*Ep=128, U=(10/255)*Epu=5V. La sortie S : réponse exponentielle de constante "},
    Label{96, 380, u"de temps T1 (pendant T) mais avec 1,4V de valeur initiale."},
};
constexpr std::array kConclusion{
    Label{150, 400, u"La réponse converge vers un régime permanent correspondant à : X/E=(G/1+G).E0, donc X=(2/3).100=67"},
    Label{150, 420, u"Remarque : l'erreur de position en régulation proportionnelle est importante (ici : Ep=100-67=33)"},
    Label{150, 440, u"Ici le régime permanent n'est pas tout à fait atteint au bout de 6 périodes."},
};
constexpr std::array kPurpleBar{TextMarker{0x800080, 140, 400, 140, 460}};

constexpr std::array kTexts{
    TextBlock{0, kFixedTexts},
    TextBlock{0, kSamplingPeriodTexts},
    TextBlock{39, kFirstPeriodTexts, kFirstPeriodRule},
    TextBlock{79, kSecondPeriodTexts, kSecondPeriodRule},
    TextBlock{201, kConclusion, kPurpleBar},
};

}  // namespace

const ClosedLoopScript kLoopPScript{
    .story = &kHeating,
    .everyTickLabels = kFirstLevelLabel,
    .curves = kCurves,
    .values = kValues,
    .regulator = &kRegulator,
    .texts = kTexts,
};

}  // namespace t1
