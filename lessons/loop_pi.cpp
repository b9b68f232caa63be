// Menu item 3: the deadbeat response of the closed loop under PI control.
// The recurrence Epu(k) = Epu(k-1) + 5.52 Ep(k) - 4.52 Ep(k-1) brings S to
// its final value in one sampling period; the values are the worked script.
#include "lessons/closed_loop.h"
#include "lessons/lessons.h"
#include "lessons/scene.h"
#include "picture/colours.h"

#include <array>

namespace t1 {

namespace {

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
    CurvePeriod{2, 39, kStep, 200, kHighLabel, kSStub, sRise, 1, true},
    CurvePeriod{40, 79, kFall, 282, kLowLabel, {}, sFinal, 0, false},
    CurvePeriod{80, 119, kEdge3, 282, {}, {}, sFinal, 0, false},
    CurvePeriod{120, 159, kEdge4, 282, {}, {}, sFinal, 0, false},
    CurvePeriod{160, 199, kEdge5, 282, {}, {}, sFinal, 0, false},
    CurvePeriod{200, 239, kEdge6, 282, {}, {}, sFinal, 0, false},
};

// The first period's 8,7 V drives S up, rounded up to the next tenth.
double sFirstPeriod(int t) { return roundUpToTenth(approach(0, 8.7, kRate200_01, t)); }
double sSteady(int) { return 1.6; }

constexpr std::array kValues{
    ValuePeriod{2, 39, 40, 0, 40, 221, 8.7, sFirstPeriod},
    ValuePeriod{40, 239, 40, 40, 0, 40, 1.6, sSteady},
};

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

constexpr ClosedLoopScript kScript{
    heatingOvenStep, &kLoopPIPeriodLabels, {}, heatColour, kCurves, kValues,
    &kLoopPIRegulator, true, &kLoopPIReadout, kTexts,
};

}  // namespace

void loopPITick(Scene& scene)
{
    closedLoopTick(scene, kScript, scene.st.gTickLoopPI);
}

}  // namespace t1
