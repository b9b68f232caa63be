#include "picture/readouts.h"

#include "picture/canvas.h"
#include "picture/colours.h"
#include "picture/number_text.h"

namespace t1 {

namespace {

// Cuts the feedback line where it enters the comparator from below.
constexpr Box kFeedbackCut{70, 120, 90, 160};

// The line whole again: up into the comparator, and along the bottom.
constexpr std::array kClosedFeedback{Segment{80, 100, 80, 150}, Segment{80, 150, 150, 150}};

// The line cut: a bar closes the upright part on an earth symbol (X held at
// zero) and an arrowhead ends the horizontal part.
constexpr std::array kOpenFeedback{
    Segment{70, 120, 90, 120},                                                  // bar
    Segment{74, 120, 71, 127}, Segment{80, 120, 77, 127}, Segment{85, 120, 82, 127},  // earth
    Segment{90, 150, 97, 143}, Segment{90, 150, 97, 157},                       // arrowhead
};

// Where each value goes, above its signal's name.
constexpr QPoint kEAt{10, 60};
constexpr QPoint kEpAt{110, 60};
constexpr QPoint kEpuAt{240, 60};
constexpr QPoint kUAt{335, 60};
constexpr Label kUUnit{355, 60, u"V"};
constexpr QPoint kSAt{645, 60};
constexpr Label kSUnit{667, 60, u"V"};
constexpr QPoint kXAt{115, 135};

void cutFeedback(Canvas& w)
{
    w.setPenAndBrush(colour::btnFace);
    drawBox(w, kFeedbackCut);
}

void print(Canvas& w, QPoint at, const QString& text)
{
    w.textOut(at.x(), at.y(), text);
}

void print(Canvas& w, const Label& l)
{
    w.textOut(l.x, l.y, borrowed(l.text));
}

}  // namespace

void drawRegulatorLabel(Canvas& w, const RegulatorLabel& label)
{
    w.setPenAndBrush(colour::red);
    drawBox(w, label.patch);
    printLabels(w, label.text());
}

void drawClosedFeedback(Canvas& w)
{
    cutFeedback(w);
    w.setPenColour(colour::red);
    w.setPenWidth(1);
    drawSegments(w, kClosedFeedback);
}

void drawReadouts(Canvas& w, const LoopValues& v, const ReadoutBoxes& boxes)
{
    drawReadouts(w, {ceilingText(v.gE), ceilingText(v.gEp), ceilingText(v.gEpu), numberText(v.gU), numberText(v.gS),
                     ceilingText(v.gX)},
                 boxes);
}

void drawReadouts(Canvas& w, const ReadoutStrings& t, const ReadoutBoxes& boxes)
{
    w.setPenWidth(1);
    w.setPenAndBrush(colour::btnFace);
    drawBox(w, boxes.e);
    drawBox(w, boxes.ep);
    if (boxes.openFeedback)
        cutFeedback(w);
    drawBox(w, boxes.epu);
    drawBox(w, boxes.u);
    drawBox(w, boxes.s);
    for (const Box& box : boxes.xBoxes())
        drawBox(w, box);
    if (boxes.openFeedback) {
        w.setPenColour(colour::red);
        drawSegments(w, kOpenFeedback);
    }

    print(w, kEAt, t.e);
    print(w, kEpAt, t.ep);
    print(w, kEpuAt, t.epu);
    print(w, kUAt, t.u);
    print(w, kUUnit);
    print(w, kSAt, t.s);
    print(w, kSUnit);
    print(w, kXAt, t.x);
}

}  // namespace t1
