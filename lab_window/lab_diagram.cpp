#include "lab_window/lab_diagram.h"

#include "model/converters.h"
#include "model/experiment.h"
#include "lab_window/fields.h"
#include "lab_window/lab_plots.h"
#include "lab_window/run_texts.h"
#include "lessons/shared_readouts.h"
#include "picture/canvas.h"
#include "picture/colours.h"
#include "picture/fonts.h"
#include "picture/loop_values.h"
#include "picture/number_text.h"
#include "picture/oven_door.h"
#include "picture/oven_picture.h"
#include "picture/readouts.h"
#include "picture/surfaces.h"

#include <QStringList>

#include <cmath>

namespace t1 {

const ReadoutBoxes kLabReadout{
    .e = {10, 60, 30, 72},
    .ep = {108, 60, 139, 72},
    .epu = {238, 60, 266, 72},
    .u = {333, 60, 355, 72},
    .s = {643, 60, 667, 72},
    .x = {Box{113, 130, 142, 148}},
};

namespace {

// The heat lines flow on in the lessons' steady pattern of levels 200 to 239,
// a new group entering every 40 ticks; the rotor turns 0.1 rad a tick.
constexpr int kHeatLinesFrom = 200;
constexpr int kHeatLinesCycle = 40;

// The leak strokes as in the lessons' second period, started again every
// period the door stays open.
constexpr int kLeakCycle = 40;
constexpr int kLeakPhaseBase = 100;
constexpr int kSecondLeakAfter = 20;

// The regulator's law split in its parts, under its box.
constexpr Box kPartsBox{148, 112, 270, 150};
constexpr QPoint kPartsAt{150, 113};
constexpr int kPartStep = 13;
constexpr int kPartDecimals = 2;
// Where the open branch draws its earth and its arrowhead, clear of any text.
constexpr Box kOpenBranchMarks{70, 118, 98, 160};
// The regulator's label: its name centred under the backdrop's
// "Régulateur", its fields under it.
constexpr int kLabelCentre = 183;
constexpr int kLabelTop = 75;
constexpr QPoint kFieldsAt{170, 90};

// The digits and volts as the model holds them, to this many decimals.
constexpr int kValueDecimals = 2;

// The diagram's texts: blue, 7 pt, whatever the plots left.
void diagramFont(Canvas& w)
{
    w.setFontColour(colour::blue);
    w.setFontSize(fonts::pt7);
    w.setFontBold(false);
}

}  // namespace

void drawLabOven(Surfaces& s, int tick, const DiagramValues& v, DoorView& door, bool moving)
{
    Canvas& w = s.window;
    const int level = heatLevel(v.s);
    const QRgb inside = heatColour(level);
    const OvenLook look{kHeatLinesFrom + tick % kHeatLinesCycle, inside, inside, v.heating};
    OvenHooks hooks;
    if (!v.doorOpen)
        hooks.afterLast = kClosedDoor;
    drawOven(s, look, hooks);
    drawTemperatureCaption(s.fond, model::temperature(v.s));

    if (!v.doorOpen) {
        if (door.open)
            wipeUnderOven(w);
        door = {};
        return;
    }
    if (!door.open)
        door = {true, 0};
    const int j = door.openTicks % kLeakCycle;
    if (j == 0 && moving)
        wipeUnderOven(w);
    drawOpenDoor(w);
    moveLeakStrokes(w, LeakGroup::First, kLeakPhaseBase + j);
    if (j > kSecondLeakAfter)
        moveLeakStrokes(w, LeakGroup::Second, kLeakPhaseBase + j);
    if (moving)
        ++door.openTicks;
}

void drawLabRegulator(Canvas& w, const model::Parameters& p)
{
    diagramFont(w);
    const model::RegulatorRow& row = p.row();
    w.setPenWidth(1);
    w.setPenAndBrush(colour::red);
    drawBox(w, kWholeLabelPatch);
    const QString label = QString::fromUtf8(row.diagramLabel.data(), static_cast<qsizetype>(row.diagramLabel.size()));
    w.textOut(kLabelCentre - w.textWidth(label) / 2, kLabelTop, label);
    if (!row.labelShowsFields)
        return;
    QStringList fields;
    const auto quantities = row.fields();
    for (std::size_t i = 0; i < quantities.size(); ++i)
        fields << QString::fromStdString(quantityText(quantities[i], p.field(p.regulator, i)));
    w.textOut(kFieldsAt.x(), kFieldsAt.y(), fields.join(QStringLiteral(", ")));
}

void drawLabFeedback(Canvas& w, const model::Parameters& p)
{
    // The open branch's earth and arrowhead go; the readouts draw them again
    // while the loop is open.
    if (!p.row().closed)
        return;
    w.setPenWidth(1);
    w.setPenAndBrush(colour::btnFace);
    drawBox(w, kOpenBranchMarks);
    drawClosedFeedback(w);
}

namespace {

QString value(double v)
{
    return QString::fromStdString(formatDecimal(v, kValueDecimals));
}

}  // namespace

ReadoutTexts readoutTexts(const DiagramValues& v)
{
    const model::Sample& k = v.sample;
    const model::RegulatorRow& row = v.parameters.row();
    ReadoutTexts t{{value(k.e), value(row.closed ? k.ep : k.e), value(k.epu), value(k.u), value(v.s), value(k.x)},
                   ceilingText(model::temperature(v.s)),
                   {},
                   {},
                   {}};
    const model::LawParts& parts = row.parts;
    const auto part = [](bool shown, const char* name, double x) {
        return shown ? QString::fromUtf8(name) + QString::fromStdString(formatDecimal(x, kPartDecimals)) : QString();
    };
    t.proportional = part(parts.proportional, "prop. : ", k.proportional);
    t.integral = part(parts.integral, "intégr. : ", k.integral);
    t.derivative = part(parts.derivative, "dériv. : ", k.derivative);
    return t;
}

void drawLabReadouts(Canvas& w, const DiagramValues& v)
{
    diagramFont(w);
    const ReadoutTexts t = readoutTexts(v);
    ReadoutBoxes boxes = kLabReadout;
    boxes.openFeedback = !v.parameters.row().closed;
    drawReadouts(w, t, boxes);

    w.setPenWidth(1);
    w.setPenAndBrush(colour::btnFace);
    drawBox(w, kPartsBox);
    int y = kPartsAt.y();
    for (const QString& part : {t.proportional, t.integral, t.derivative}) {
        if (part.isEmpty())
            continue;
        w.textOut(kPartsAt.x(), y, part);
        y += kPartStep;
    }
}

}  // namespace t1
