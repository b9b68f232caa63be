// Menu item 3: the deadbeat response of the closed loop under PI control.
// The recurrence Epu(k) = Epu(k-1) + 5.52 Ep(k) - 4.52 Ep(k-1) brings S to
// its final value in one sampling period; the values are the recurrence
// worked out period by period, as the lesson's texts show it.
#include "lessons/closed_loop.h"
#include "lessons/lesson_table.h"
#include "lessons/oven_constants.h"
#include "lessons/scene.h"
#include "lessons/shared_readouts.h"
#include "picture/colours.h"

#include <array>

namespace t1 {

namespace {

// The lesson sets its U(t) labels a little lower and to the left.
constexpr PeriodLabels kPeriodLabelsPI{
    Label{173, 283, u"T"}, Label{208, 283, u"2T"}, Label{525, 280, u"T"}, Label{560, 280, u"2T"}};

// S(t) on screen: the rise of the first period, then flat at 1,6 V.
int sRise(int tau) { return riseY(299, 400, kRate200_1, tau); }
int sFinal(int) { return 229; }

constexpr std::array kStep{Segment{130, 300, 140, 300}, Segment{140, 300, 140, 200}};
constexpr std::array kFall{Segment{178, 200, 178, 282}};
// Edges of zero length: U no longer moves.
constexpr std::array kEdge3{Segment{218, 282, 218, 282}};
constexpr std::array kEdge4{Segment{258, 282, 258, 282}};
constexpr std::array kEdge5{Segment{298, 282, 298, 282}};
constexpr std::array kEdge6{Segment{338, 282, 338, 282}};
constexpr std::array kHighLabel{Label{150, 203, u"8,7V"}};
constexpr std::array kLowLabel{Label{192, 266, u"1,6V"}};
constexpr std::array kSStub{Segment{480, 300, 490, 300}};

constexpr std::array kCurves{
    CurvePeriod{.first = 2, .last = 39,
                .uFigures = kStep, .uLevel = 200, .uLabels = kHighLabel,
                .sFigures = kSStub, .sY = sRise, .sOffset = 1, .sRising = true},
    CurvePeriod{.first = 40, .last = 79,
                .uFigures = kFall, .uLevel = 282, .uLabels = kLowLabel,
                .sY = sFinal},
    CurvePeriod{.first = 80, .last = 119, .uFigures = kEdge3, .uLevel = 282, .sY = sFinal},
    CurvePeriod{.first = 120, .last = 159, .uFigures = kEdge4, .uLevel = 282, .sY = sFinal},
    CurvePeriod{.first = 160, .last = 199, .uFigures = kEdge5, .uLevel = 282, .sY = sFinal},
    CurvePeriod{.first = 200, .last = 239, .uFigures = kEdge6, .uLevel = 282, .sY = sFinal},
};

// The first period's 8,7 V drives S up, rounded up to the next tenth.
double sFirstPeriod(int t) { return roundUpToTenth(approach(0, 8.7, kRate200_01, t)); }
double sSteady(int) { return 1.6; }

constexpr std::array kValues{
    ValuePeriod{.first = 2, .last = 39, .e = 40, .x = 0, .ep = 40, .epu = 221, .u = 8.7, .s = sFirstPeriod},
    ValuePeriod{.first = 40, .last = 239, .e = 40, .x = 40, .ep = 0, .epu = 40, .u = 1.6, .s = sSteady},
};

// The closed loop's boxes but for X: two boxes, the second reaching lower.
constexpr ReadoutBoxes kTwoXBoxes = [] {
    ReadoutBoxes boxes = kClosedLoopReadout;
    boxes.x = {Box{120, 130, 140, 145}, Box{115, 135, 135, 150}};
    boxes.xCount = 2;
    return boxes;
}();

constexpr std::array kFixedTexts{
    Label{10, 180, u"Le régulateur est"},
    Label{10, 200, u"proportionnel intégral."},
    Label{10, 220, u"L'équation de récurrence"},
    Label{10, 240, u"est indiquée ci-dessus."},
    Label{300, 180, u"La période "},
    Label{300, 200, u"d'échantillonnage"},
    Label{300, 220, u"choisie est : T=(T1/5)"},
};
constexpr std::array kFirstPeriodTexts{
    Label{10, 320, u"Première Période : Acquisition de X à t=0 : X=0, E=40  donc : Ep=E-X=40, Epu=0+(5.52*40)+0=221, U=(10/255)*Epu=8,7V. La sortie S : début d'une réponse"},
    Label{96, 340, u"exponentielle de constante de temps T1 (pendant T) jusqu'à S=1,6V donc l'acquisition de X au coup suivant sera : X=(255/10)*1,6=40"},
};
constexpr std::array kSecondPeriodTexts{
    Label{10, 360, u"Deuxième Période : Acquisition de X à t=T : X=40, E=40 donc : Ep=E-X=0, Epu=(221)+0-(4.52*40)=40, U=(10/255)*Epu=1,6V. La sortie S : ne varie pas"},
    Label{96, 380, u"car la commande U la maintient à la valeur précédemment atteinte."},
};
constexpr std::array kConclusion{
    Label{150, 400, u"La réponse reste à un régime permanent correspondant à : X=E"},
    Label{150, 420, u"Remarque : l'erreur de position en régulation PI est nulle (Ep=0)"},
    Label{150, 440, u"Ici le régime permanent est atteint au bout d'une période seulement"},
    Label{150, 460, u"grâce au choix qui a été fait des coefficients de l'équation de récurrence"},
    Label{520, 400, u"Attention : Si l'amplitude de l'échelon est "},
    Label{520, 420, u"trop importante, la commande U sature,"},
    Label{520, 440, u"ce qui ralentit le régime transitoire."},
};
constexpr std::array kPurpleBars{TextMarker{0x800080, 140, 400, 140, 475}, TextMarker{0x800080, 510, 400, 510, 460}};

constexpr std::array kTexts{
    TextBlock{0, kFixedTexts},
    TextBlock{3, kFirstPeriodTexts, kFirstPeriodRule},
    TextBlock{43, kSecondPeriodTexts, kSecondPeriodRule},
    TextBlock{83, kConclusion, kPurpleBars},
};

}  // namespace

const ClosedLoopScript kLoopPIScript{
    .story = &kHeating,
    .periodLabels = &kPeriodLabelsPI,
    .curves = kCurves,
    .values = kValues,
    .regulator = &kPI,
    .readout = &kTwoXBoxes,
    .texts = kTexts,
};

}  // namespace t1
