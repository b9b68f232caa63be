// Menu item 0: the introductory page, the oven model on the right and the
// sampled loop on the left. Redrawn identically on every tick.
#include "lessons/lesson_text.h"
#include "lessons/lesson_table.h"
#include "lessons/scene.h"
#include "picture/fonts.h"

#include <array>

namespace t1 {

namespace {

constexpr int kRightColumn = 450;
constexpr std::array kOvenModel{
    Label{kRightColumn, 170, u"Le four est chauffé par une résistance de puissance."},
    Label{kRightColumn, 190, u"On suppose que la commande s'effectue en tension (U) et que"},
    Label{kRightColumn, 210, u"la variation de température (T) varie linéairement avec U"},
    Label{kRightColumn, 230, u"(en régime permanent). Un ventilateur permet d'homogénéiser"},
    Label{kRightColumn, 250, u"rapidement la température à l'intérieur. Un capteur de"},
    Label{kRightColumn, 270, u"température donne une information en tension S. On suppose"},
    Label{kRightColumn, 290, u"que S=(température(en deg C)-20)/8 et que "},
    Label{kRightColumn, 310, u"température=20+(8*U). Ainsi en variations : dT/dU=8"},
    Label{kRightColumn, 330, u"et dS/dT=1/8. Donc : S/U=1 en régime permanent."},
};

constexpr int kLeftColumn = 10;
constexpr std::array kSampledLoop{
    Label{kLeftColumn, 170, u"Le calculateur effectue la différence Ep entre la consigne numérique E"},
    Label{kLeftColumn, 190, u"et la variable de retour X, image de la sortie S à asservir."},
    Label{kLeftColumn, 210, u"Le résultat Epu est ensuite élaboré par le régulateur (multiplication par une"},
    Label{kLeftColumn, 230, u"constante si l'on désire une régulation proportionnelle)."},
    Label{kLeftColumn, 250, u"On suppose que les convertisseurs traitent des signaux numériques de 8 bits"},
    Label{kLeftColumn, 270, u"et des sigaux analogiques de 10V. L'erreur de quantification est donc"},
    Label{kLeftColumn, 290, u"de : 10/255=39mV."},
    Label{kLeftColumn, 310, u"On aura donc : E, X, Ep et Epu = [0,255]  puis U et S = [0,10V]"},
    Label{kLeftColumn, 330, u"Le traitement des signaux est échantillonné : l'acquisition de X s'effectue"},
    Label{kLeftColumn, 350, u"régulièrement à des intervalles de temps séparés de T (période d'échantillonnage)"},
    Label{kLeftColumn, 370, u"On suppose que la durée entre l'acquisition de X et la restitution de Epu"},
    Label{kLeftColumn, 390, u"est négligeable devant la période T d'échantillonnage."},
    Label{kLeftColumn, 410, u"La valeur calculée Epu est maintenue constante pendant T (blocage d'ordre zéro)."},
    Label{kLeftColumn, 430, u"Ainsi, le processus voit arriver sur sa commande U une succession d'échelons"},
    Label{kLeftColumn, 450, u"de durée égale à T."},
};

// Fuchsia bars beside the two columns.
constexpr std::array kColumnBars{
    TextMarker{0xFF00FF, 5, 170, 5, 465},
    TextMarker{0xFF00FF, 445, 170, 445, 345},
};

constexpr std::array kPage{
    TextBlock{0, kOvenModel},
    TextBlock{0, kSampledLoop, kColumnBars},
};

}  // namespace

void presentationTick(Scene& scene, int)
{
    Canvas& c = scene.surfaces.window;
    c.setFontColour(colour::blue);
    c.setFontSize(fonts::pt7);
    printBlocks(c, kPage, 0);
}

}  // namespace t1
