#include "lab_window/lab_plots.h"

#include "lab_window/run_texts.h"
#include "model/converters.h"
#include "model/simulation.h"
#include "model/experiment.h"
#include "picture/canvas.h"
#include "picture/colours.h"
#include "picture/figures.h"
#include "picture/fonts.h"

#include <QString>

#include <algorithm>
#include <array>
#include <cmath>

namespace t1 {

namespace {

constexpr int kArrowLength = 10;  // the time axis goes on past the last period
constexpr int kArrowHead = 7;
constexpr int kAxisBelow = 10;    // the value axes start below the time axis
constexpr int kAxisBefore = 10;   // the time axes start left of the value axes
constexpr int kMarkHalf = 5;      // period marks across the time axis
constexpr int kGradLength = 4;
constexpr std::array kGradVolts{0, 5, 10};
constexpr int kGradTextRight = 6;  // the volt labels end this far left of the axis
constexpr int kTextHalfHeight = 5;
constexpr int kPeriodTextTop = kPlotBaseline + 7;
// Period labels this far apart at least, else only every 2nd, 5th or 10th.
constexpr int kPeriodTextRoom = 22;
constexpr std::array kPeriodTextSteps{1, 2, 5, 10};

constexpr int kTitleGap = 10;
constexpr Label kUTitle{kUPlot.left + kTitleGap, kAxisTop, u"Commande U"};
constexpr Label kSTitle{kSPlot.left + kTitleGap, kAxisTop, u"S=(température-20)/8"};
constexpr int kTimeNameBack = 20;
constexpr int kTimeNameAbove = 15;

// The S plot's key, right of its title.
constexpr int kKeyLeft = kSPlot.left + 150;
constexpr int kKeyStep = 62;
constexpr QRgb kXColour = colour::green;
constexpr QRgb kEColour = colour::olive;
constexpr QRgb kChangeColour = colour::fuchsia;
constexpr int kEDotEvery = 3;

// A change's line runs down from here, its label beside its top, in two
// rows so that close changes stay readable.
constexpr int kChangeTop = kAxisTop + 14;
constexpr int kChangeLabelGap = 2;
constexpr int kChangeRows = 2;
constexpr int kChangeRowHeight = 10;

constexpr int kSampleMarkHalf = 2;

constexpr std::array<QRgb, model::kMaxTraces> kTraceColours{
    qRgb(246, 170, 110),  // orange
    qRgb(120, 200, 130),  // green
    qRgb(190, 150, 230),  // violet
    qRgb(110, 190, 215),  // teal
    qRgb(225, 150, 175),  // pink
};

QString fromUtf8(const std::string& s)
{
    return QString::fromStdString(s);
}

void pen(Canvas& w, QRgb c)
{
    w.setPenStyle(PenStyle::Solid);
    w.setPenWidth(1);
    w.setPenColour(c);
}

void textPen(Canvas& w, QRgb c)
{
    w.setFontColour(c);
    w.setFontSize(fonts::pt7);
    w.setFontBold(false);
}

void drawFrame(Canvas& w, const PlotArea& a)
{
    pen(w, colour::blue);
    const int top = kAxisTop;
    const int end = a.right + kArrowLength;
    w.line(a.left, kPlotBaseline + kAxisBelow, a.left, top);
    w.line(a.left - kAxisBefore, kPlotBaseline, end, kPlotBaseline);
    w.line(a.left, top, a.left - kArrowHead, top + kArrowHead);
    w.line(a.left, top, a.left + kArrowHead, top + kArrowHead);
    w.line(end, kPlotBaseline, end - kArrowHead, kPlotBaseline - kArrowHead);
    w.line(end, kPlotBaseline, end - kArrowHead, kPlotBaseline + kArrowHead);
    textPen(w, colour::blue);
    w.textOut(end - kTimeNameBack, kPlotBaseline - kTimeNameAbove, QStringLiteral("t"));

    for (int v : kGradVolts) {
        const int y = PlotScale::y(v);
        w.line(a.left - kGradLength, y, a.left, y);
        const QString text = v == 0 ? QStringLiteral("0") : QStringLiteral("%1 V").arg(v);
        w.textOut(a.left - kGradTextRight - w.textWidth(text), y - kTextHalfHeight, text);
    }
}

int periodTextStep(const PlotScale& scale)
{
    for (int step : kPeriodTextSteps)
        if (step * scale.pixelsPerPeriod() >= kPeriodTextRoom)
            return step;
    return kPeriodTextSteps.back();
}

void drawPeriodMarks(Canvas& w, const PlotScale& scale, const PlotArea& a)
{
    pen(w, colour::blue);
    textPen(w, colour::blue);
    const int step = periodTextStep(scale);
    for (int k = 1; k <= scale.periods(); ++k) {
        const int x = scale.x(a, k);
        w.line(x, kPlotBaseline - kMarkHalf, x, kPlotBaseline + kMarkHalf + 1);
        if (k % step != 0)
            continue;
        const QString text = k == 1 ? QStringLiteral("T") : QStringLiteral("%1T").arg(k);
        w.textOut(x - w.textWidth(text) / 2, kPeriodTextTop, text);
    }
}

void drawKey(Canvas& w)
{
    textPen(w, kXColour);
    w.textOut(kKeyLeft, kAxisTop, QStringLiteral("X/25,5"));
    textPen(w, kEColour);
    w.textOut(kKeyLeft + kKeyStep, kAxisTop, QStringLiteral("E/25,5 (consigne)"));
}

double volts(double digits)
{
    return digits / model::kDigitsPerVolt;
}

// The held U before acquisition k: nothing before a cold start.
std::optional<double> uBefore(const model::Simulation& run, int k)
{
    if (k > 0)
        return run.samples()[k - 1].u;
    if (const auto& steady = run.steady())
        return model::toVolts(steady->state.memory.epu);
    return 0.0;
}

std::optional<double> xBefore(const model::Simulation& run, int k)
{
    if (k > 0)
        return volts(run.samples()[k - 1].x);
    if (run.steady())
        return std::nullopt;
    return 0.0;
}

void riser(Canvas& w, int x, std::optional<double> from, double to)
{
    if (from)
        w.line(x, PlotScale::y(*from), x, PlotScale::y(to));
}

QRgb curveColour(double s)
{
    return heatColour(heatLevel(s));
}

void drawChange(Canvas& w, const PlotScale& scale, const model::Mark& mark, int index)
{
    const QString label = fromUtf8(changeLabel(mark.before, mark.after));
    w.setPenWidth(1);
    w.setPenColour(kChangeColour);
    w.setPenStyle(PenStyle::Dot);
    textPen(w, kChangeColour);
    const int row = kChangeTop + (index % kChangeRows) * kChangeRowHeight;
    for (const PlotArea& a : {kUPlot, kSPlot}) {
        const int x = scale.x(a, mark.k);
        w.line(x, kChangeTop, x, kPlotBaseline);
        // Beside the line, or before it where it would cross the next plot.
        const int width = w.textWidth(label);
        const int right = a.right + kArrowLength;
        const int at = x + kChangeLabelGap + width <= right ? x + kChangeLabelGap : x - kChangeLabelGap - width;
        w.textOut(std::max(at, a.left - kAxisBefore), row - kTextHalfHeight, label);
    }
    w.setPenStyle(PenStyle::Solid);
}

}  // namespace

QRgb traceColour(int index)
{
    return kTraceColours[static_cast<std::size_t>(std::clamp(index, 0, model::kMaxTraces - 1))];
}

int heatLevel(double s)
{
    const double level = std::round(s * model::kDigitsPerVolt);
    return static_cast<int>(std::fmax(0.0, std::fmin(level, model::kFullScaleDigits)));
}

void drawPlotBackdrop(Canvas& w, const PlotScale& scale)
{
    w.setPenWidth(1);
    w.setPenStyle(PenStyle::Solid);
    w.setBrushStyle(BrushStyle::Solid);
    w.setBrushColour(colour::btnFace);
    w.fillRect(0, kPlotsTop, kPlotsRight, kPlotsBottom);
    for (const PlotArea& a : {kUPlot, kSPlot}) {
        drawFrame(w, a);
        drawPeriodMarks(w, scale, a);
    }
    textPen(w, colour::blue);
    w.textOut(kUTitle.x, kUTitle.y, borrowed(kUTitle.text));
    w.textOut(kSTitle.x, kSTitle.y, borrowed(kSTitle.text));
    drawKey(w);
}

void drawTrace(Canvas& w, const PlotScale& scale, const model::Simulation& run, int ticks, QRgb colour)
{
    const auto& samples = run.samples();
    const double end = std::min(double(ticks) / model::kTicksPerPeriod, double(run.simulatedPeriods()));
    pen(w, colour);
    for (int k = 0; k < static_cast<int>(samples.size()) && k <= end; ++k) {
        const double y = PlotScale::y(samples[k].u);
        const int x = scale.x(kUPlot, k);
        if (const auto before = uBefore(run, k))
            w.line(x, PlotScale::y(*before), x, int(y));
        w.line(x, int(y), scale.x(kUPlot, std::min(k + 1.0, end)), int(y));
    }
    // S point by point, one per pixel column.
    const int last = scale.x(kSPlot, end);
    int xBeforeColumn = kSPlot.left;
    int yBefore = PlotScale::y(run.sAt(0));
    for (int x = kSPlot.left + 1; x <= last; ++x) {
        const double t = std::min(end, double(x - kSPlot.left) * scale.periods() / (kSPlot.right - kSPlot.left));
        const int y = PlotScale::y(run.sAt(t));
        w.line(xBeforeColumn, yBefore, x, y);
        xBeforeColumn = x;
        yBefore = y;
    }
}

void drawAcquisition(Canvas& w, const PlotScale& scale, const model::Simulation& run, int k)
{
    const auto& marks = run.marks();
    for (std::size_t i = 0; i < marks.size(); ++i)
        if (marks[i].k == k)
            drawChange(w, scale, marks[i], static_cast<int>(i));

    const model::Sample& s = run.samples()[k];
    pen(w, kXColour);
    riser(w, scale.x(kSPlot, k), xBefore(run, k), volts(s.x));
    pen(w, curveColour(s.s));
    riser(w, scale.x(kUPlot, k), uBefore(run, k), s.u);
}

void drawSampleMark(Canvas& w, const PlotScale& scale, const model::Simulation& run, int k)
{
    const int x = scale.x(kSPlot, k);
    const int y = PlotScale::y(run.samples()[k].s);
    pen(w, kXColour);
    const int h = kSampleMarkHalf;
    w.line(x - h, y - h, x + h, y - h);
    w.line(x + h, y - h, x + h, y + h);
    w.line(x + h, y + h, x - h, y + h);
    w.line(x - h, y + h, x - h, y - h);
}

void drawPiece(Canvas& w, const PlotScale& scale, const model::Simulation& run, int tick)
{
    const int k = tick / model::kTicksPerPeriod;
    const model::Sample& sample = run.samples()[k];
    const double t0 = double(tick) / model::kTicksPerPeriod;
    const double t1 = double(tick + 1) / model::kTicksPerPeriod;
    const int x0 = scale.x(kSPlot, t0);
    const int x1 = scale.x(kSPlot, t1);

    w.setPenWidth(1);
    w.setPenStyle(PenStyle::Solid);
    w.setPenColour(kEColour);
    const int yE = PlotScale::y(volts(sample.e));
    for (int x = x0; x < x1; ++x)
        if (x % kEDotEvery == 0)
            w.line(x, yE, x + 1, yE);

    pen(w, kXColour);
    const int yX = PlotScale::y(volts(sample.x));
    w.line(x0, yX, x1, yX);

    const double s0 = run.sAt(t0);
    const double s1 = run.sAt(t1);
    pen(w, curveColour(s1));
    const int yU = PlotScale::y(sample.u);
    w.line(scale.x(kUPlot, t0), yU, scale.x(kUPlot, t1), yU);
    w.line(x0, PlotScale::y(s0), x1, PlotScale::y(s1));
}

void drawRunSoFar(Canvas& w, const PlotScale& scale, const model::Simulation& run, int ticks, int lastTick)
{
    const int samples = static_cast<int>(run.samples().size());
    for (int n = 0; n < ticks; ++n) {
        const int k = n / model::kTicksPerPeriod;
        const bool acquires = n % model::kTicksPerPeriod == 0 && k < samples;
        if (acquires)
            drawAcquisition(w, scale, run, k);
        if (n < lastTick && k < samples)
            drawPiece(w, scale, run, n);
        if (acquires)
            drawSampleMark(w, scale, run, k);
    }
}

}  // namespace t1
