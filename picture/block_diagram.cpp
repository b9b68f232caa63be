#include "picture/block_diagram.h"

#include "picture/canvas.h"
#include "picture/colours.h"
#include "picture/figures.h"
#include "picture/fonts.h"

#include <array>

namespace t1 {

namespace {

// Analog power and measurement lines, black, 2 px. The two on the right end
// on the resistor's leads and the sensor's lead inside the oven picture.
constexpr std::array kThickLines{
    Segment{399, 50, 399, 30},  Segment{398, 30, 479, 30},   Segment{479, 30, 479, 40},   // supply, top
    Segment{399, 110, 399, 130}, Segment{398, 130, 479, 130}, Segment{479, 130, 479, 120},  // return, bottom
    Segment{330, 80, 370, 80},   // command U
    Segment{640, 80, 680, 80},   // sensor S
};
constexpr int kThickWidth = 2;

// Digital signals, red, 1 px.
constexpr std::array kThinLines{
    Segment{230, 80, 270, 80},   // Epu
    Segment{100, 80, 140, 80},   // Ep
    Segment{20, 80, 60, 80},     // E
    Segment{740, 80, 780, 80},   Segment{780, 80, 780, 150},  // X, from the converter A/N
    Segment{780, 150, 80, 150},  Segment{80, 150, 80, 80},    // back into the comparator
};

constexpr Box kCommandBox{370, 50, 430, 110};
constexpr Box kComparator{60, 60, 100, 100};
constexpr std::array kComparatorCross{Segment{66, 66, 94, 94}, Segment{66, 94, 94, 66}};
constexpr std::array kConverters{Box{270, 55, 330, 105}, Box{680, 55, 740, 105}};
constexpr Box kRegulator{140, 50, 230, 110};

constexpr std::array kLabels{
    Label{373, 72, u"Commande"},
    Label{278, 62, u"Convert."}, Label{286, 82, u"N/A"},
    Label{688, 62, u"Convert."}, Label{696, 82, u"A/N"},
    Label{160, 60, u"Régulateur"},
    Label{65, 73, u"+"},  Label{76, 80, u"_"},  // the comparator's inputs
    Label{10, 85, u"E"},  Label{110, 85, u"Ep"}, Label{240, 85, u"Epu"}, Label{340, 85, u"U"},
    Label{650, 85, u"S"}, Label{120, 155, u"X"},
};

}  // namespace

void drawBlockDiagram(Canvas& c)
{
    c.setPenStyle(PenStyle::Solid);
    c.setBrushStyle(BrushStyle::Solid);

    c.setPenColour(colour::black);
    c.setPenWidth(kThickWidth);
    drawSegments(c, kThickLines);

    c.setPenWidth(1);
    c.setPenColour(colour::red);
    drawSegments(c, kThinLines);

    c.setPenColour(colour::black);
    c.setBrushColour(colour::white);
    drawBox(c, kCommandBox);

    c.setPenColour(colour::red);
    c.ellipse(kComparator.x1, kComparator.y1, kComparator.x2, kComparator.y2);
    drawSegments(c, kComparatorCross);

    c.setPenColour(colour::black);
    c.setBrushColour(colour::yellow);
    for (const Box& b : kConverters)
        drawBox(c, b);

    c.setBrushColour(colour::red);
    drawBox(c, kRegulator);

    c.setFontColour(colour::blue);
    c.setFontSize(fonts::pt7);
    printLabels(c, kLabels);
}

}  // namespace t1
