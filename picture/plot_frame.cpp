#include "picture/plot_frame.h"

#include "picture/canvas.h"
#include "picture/colours.h"

namespace t1 {

namespace {

constexpr std::array kFrame{
    Segment{140, 180, 140, 310},  // U axis
    Segment{130, 300, 440, 300},  // U plot, time axis
    Segment{490, 310, 490, 180},  // S axis
    Segment{480, 300, 790, 300},  // S plot, time axis
    Segment{140, 180, 133, 187}, Segment{140, 180, 147, 187},  // arrowheads: U axis,
    Segment{440, 300, 433, 293}, Segment{440, 300, 433, 307},  // U time axis,
    Segment{490, 180, 483, 187}, Segment{490, 180, 497, 187},  // S axis,
    Segment{790, 300, 783, 293}, Segment{790, 300, 783, 307},  // S time axis
};

constexpr std::array kPeriodMarkX{180, 220, 260, 300, 340, 380, 530, 570, 610, 650, 690, 730};
constexpr int kPeriodMarkTop = 295;
constexpr int kPeriodMarkBottom = 305;

constexpr Label kCommandTitle{150, 180, u"Commande U"};
constexpr Label kDisturbanceTitle{150, 180, u"Perturbation Q"};
constexpr std::array kRightTitles{
    Label{500, 180, u"S=(température-20)/8"},
    Label{420, 285, u"t"},
    Label{770, 285, u"t"},
};

void framePen(Canvas& w)
{
    w.setPenColour(colour::blue);
    w.setPenWidth(1);
}

}  // namespace

void drawPlotFrame(Canvas& w)
{
    framePen(w);
    drawSegments(w, kFrame);
}

void drawPeriodMarks(Canvas& w)
{
    framePen(w);
    for (int x : kPeriodMarkX)
        w.line(x, kPeriodMarkTop, x, kPeriodMarkBottom);
}

void drawPeriodLabels(Canvas& w, const PeriodLabels& labels)
{
    printLabels(w, labels);
}

void drawPlotTitles(Canvas& w, LeftTitle left)
{
    const Label& title = left == LeftTitle::DisturbanceQ ? kDisturbanceTitle : kCommandTitle;
    w.textOut(title.x, title.y, borrowed(title.text));
    printLabels(w, kRightTitles);
}

}  // namespace t1
