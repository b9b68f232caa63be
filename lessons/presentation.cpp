// Menu item 0: the introductory page, the oven model on the right and the
// sampled loop on the left. Redrawn identically on every tick.
#include "lessons/lesson_text.h"
#include "lessons/lessons.h"
#include "lessons/scene.h"
#include "picture/fonts.h"

#include <array>

namespace t1 {

namespace {

constexpr int kRightColumn = 450;
constexpr std::array kOvenModel{
    TextLine{kRightColumn, 170, "Le four est chauffé par une résistance de puissance."},
    TextLine{kRightColumn, 190, "On suppose que la commande s'effectue en tension (U) et que"},
    TextLine{kRightColumn, 210, "la variation de température (T) varie linéairement avec U"},
    TextLine{kRightColumn, 230, "(en régime permanent). Un ventilateur permet d'homogénéiser"},
    TextLine{kRightColumn, 250, "rapidement la température à l'intérieur. Un capteur de"},
    TextLine{kRightColumn, 270, "température donne une information en tension S. On suppose"},
    TextLine{kRightColumn, 290, "que S=(température(en deg C)-20)/8 et que "},
    TextLine{kRightColumn, 310, "température=20+(8*U). Ainsi en variations : dT/dU=8"},
    TextLine{kRightColumn, 330, "et dS/dT=1/8. Donc : S/U=1 en régime permanent."},
};

constexpr int kLeftColumn = 10;
constexpr std::array kSampledLoop{
    TextLine{kLeftColumn, 170, "Le calculateur effectue la différence Ep entre la consigne numérique E"},
    TextLine{kLeftColumn, 190, "et la variable de retour X, image de la sortie S à asservir."},
    TextLine{kLeftColumn, 210, "Le résultat Epu est ensuite élaboré par le régulateur (multiplication par une"},
    TextLine{kLeftColumn, 230, "constante si l'on désire une régulation proportionnelle)."},
    TextLine{kLeftColumn, 250, "On suppose que les convertisseurs traitent des signaux numériques de 8 bits"},
    TextLine{kLeftColumn, 270, "et des sigaux analogiques de 10V. L'erreur de quantification est donc"},
    TextLine{kLeftColumn, 290, "de : 10/255=39mV."},
    TextLine{kLeftColumn, 310, "On aura donc : E, X, Ep et Epu = [0,255]  puis U et S = [0,10V]"},
    TextLine{kLeftColumn, 330, "Le traitement des signaux est échantillonné : l'acquisition de X s'effectue"},
    TextLine{kLeftColumn, 350, "régulièrement à des intervalles de temps séparés de T (période d'échantillonnage)"},
    TextLine{kLeftColumn, 370, "On suppose que la durée entre l'acquisition de X et la restitution de Epu"},
    TextLine{kLeftColumn, 390, "est négligeable devant la période T d'échantillonnage."},
    TextLine{kLeftColumn, 410, "La valeur calculée Epu est maintenue constante pendant T (blocage d'ordre zéro)."},
    TextLine{kLeftColumn, 430, "Ainsi, le processus voit arriver sur sa commande U une succession d'échelons"},
    TextLine{kLeftColumn, 450, "de durée égale à T."},
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

void presentationTick(Scene& scene)
{
    Canvas& c = scene.surfaces.window;
    c.setFontColour(colour::blue);
    c.setFontSize(fonts::pt7);
    printBlocks(c, kPage, 0);
}

}  // namespace t1
