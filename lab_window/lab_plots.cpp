#include "lab_window/lab_plots.h"

#include "lab_window/fields.h"
#include "lab_window/run_texts.h"
#include "model/converters.h"
#include "model/experiment.h"
#include "model/simulation.h"
#include "picture/canvas.h"
#include "picture/colours.h"
#include "picture/fonts.h"

#include <QFontMetrics>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace t1 {

namespace {

constexpr int kArrowLength = 10;  // the time axis goes on past the last period
constexpr int kArrowHead = 7;
constexpr int kAxisBelow = 10;    // the value axes start below the time axis
constexpr int kAxisBefore = 10;   // the time axes start left of the value axes
constexpr int kMarkHalf = 5;      // time marks across the time axis
constexpr int kGradLength = 4;
constexpr std::array kGradVolts{0, 5, 10};
constexpr int kGradTextRight = 6;  // the volt labels end this far left of the axis
constexpr int kTextHalfHeight = 5;
constexpr int kTimeTextTop = kPlotBaseline + 7;
// Labels of the time marks at least this far apart, else on every 2nd,
// 5th... mark, or at rounder seconds.
constexpr int kTimeTextGap = 6;
constexpr std::array kPeriodTextSteps{1, 2, 5, 10, 20, 40};
constexpr std::array kSecondsSteps{1.0, 2.0, 5.0};
constexpr int kSecondsDecade = 10;
constexpr int kMostSecondsMarks = 40;
// A mark at the very end of the axis stays, rounding or not.
constexpr double kSpanSlack = 1e-12;

constexpr int kTitleGap = 10;
constexpr int kTimeNameBack = 20;
constexpr int kTimeNameAbove = 15;

// The S plot's key, right of its title.
constexpr int kKeyLeft = kSPlot.left + 150;
constexpr int kKeyStep = 62;
constexpr int kEDotEvery = 3;

// Texts go in rows from the top of the value axes down: the titles and the
// key in the first, the door's and the changes' from the second on, where
// the first free place is. A change's line starts at the second row.
constexpr int kFirstFreeRow = 1;
constexpr int kLabelGap = 2;

constexpr int kSampleMarkHalf = 2;

constexpr std::array<QRgb, model::kMaxTraces> kTraceColours{
    qRgb(189, 135, 7),    // ochre
    qRgb(25, 196, 247),   // sky blue
    qRgb(202, 122, 166),  // pink
    qRgb(204, 209, 128),  // straw
    qRgb(163, 159, 135),  // khaki grey
};

void pen(Canvas& w, QRgb c, PenStyle style = PenStyle::Solid)
{
    w.setPenStyle(style);
    w.setPenWidth(1);
    w.setPenColour(c);
}

void textPen(Canvas& w, QRgb c)
{
    w.setFontColour(c);
    w.setFontSize(fonts::pt7);
    w.setFontBold(false);
}

int frameEnd(const PlotArea& a)
{
    return a.right + kArrowLength;
}

// The texts' rows and the places taken on them.
class LabelRows {
public:
    explicit LabelRows(std::vector<PlotLabel>& labels) : m_fm(fonts::make(fonts::pt7)), m_labels(labels) {}

    int rowHeight() const { return m_fm.height(); }
    int width(const QString& text) const { return m_fm.horizontalAdvance(text); }

    void put(int x, int y, const QString& text, QRgb colour, int mark = -1)
    {
        m_labels.push_back({QRect(x, y, width(text), rowHeight()), text, colour, mark});
    }

    // Beside x on a plot, right of it or else left of it, in the first row
    // from `row` on where it overlaps nothing; nowhere if the plot is full.
    void beside(const PlotArea& a, int x, const QString& wanted, QRgb colour, int mark)
    {
        const int low = a.left - kAxisBefore;
        const int high = frameEnd(a);
        const QString text = m_fm.elidedText(wanted, Qt::ElideRight, high - low);
        const int w = width(text);
        for (int y = kAxisTop + kFirstFreeRow * rowHeight(); y + rowHeight() <= kPlotBaseline; y += rowHeight())
            for (const int left : {x + kLabelGap, x - kLabelGap - w}) {
                const QRect r(left, y, w, rowHeight());
                if (r.left() >= low && r.right() < high && isFree(r)) {
                    m_labels.push_back({r, text, colour, mark});
                    return;
                }
            }
    }

private:
    bool isFree(const QRect& r) const
    {
        return std::none_of(m_labels.begin(), m_labels.end(), [&r](const PlotLabel& l) { return l.rect.intersects(r); });
    }

    QFontMetrics m_fm;
    std::vector<PlotLabel>& m_labels;
};

// A mark on the time axis, at an axis time, with its label or none.
struct TimeMark {
    double time;
    QString label;
};

// Whether labels centred on these marks keep their distance.
bool apart(const PlotScale& scale, const std::vector<TimeMark>& marks, const LabelRows& rows)
{
    int lastRight = std::numeric_limits<int>::min() / 2;
    for (const TimeMark& m : marks) {
        if (m.label.isEmpty())
            continue;
        const int x = scale.x(kUPlot, m.time);
        const int w = rows.width(m.label);
        if (x - w / 2 < lastRight + kTimeTextGap)
            return false;
        lastRight = x - w / 2 + w;
    }
    return true;
}

// The current run's acquisitions, T, 2T... labelled on every one, or on
// every 2nd, 5th... as room allows.
std::vector<TimeMark> periodMarks(const PlotScale& scale, const LabelRows& rows)
{
    std::vector<TimeMark> marks;
    for (int step : kPeriodTextSteps) {
        marks.clear();
        for (int k = 1; k <= scale.periods(); ++k) {
            QString label;
            if (k % step == 0)
                label = k == 1 ? QStringLiteral("T") : QStringLiteral("%1T").arg(k);
            marks.push_back({scale.acquisitionTime(k), label});
        }
        if (apart(scale, marks, rows))
            break;
    }
    return marks;
}

// Round seconds, 1, 2 or 5 times a power of ten, as close as their labels
// allow.
std::vector<TimeMark> secondsMarks(const PlotScale& scale, const LabelRows& rows)
{
    const double span = scale.span();
    double decade = std::pow(double(kSecondsDecade), std::floor(std::log10(span / kMostSecondsMarks)));
    std::vector<TimeMark> marks;
    for (;; decade *= kSecondsDecade)
        for (double factor : kSecondsSteps) {
            const double step = factor * decade;
            if (span / step > kMostSecondsMarks)
                continue;
            const int decimals = std::max(0, -static_cast<int>(std::floor(std::log10(step))));
            marks.clear();
            for (int i = 1; i * step <= span * (1 + kSpanSlack); ++i)
                marks.push_back({i * step, QString::fromStdString(formatDecimal(i * step, decimals)) + QStringLiteral(" s")});
            if (apart(scale, marks, rows))
                return marks;
        }
}

std::vector<TimeMark> timeMarks(const PlotScale& scale, const LabelRows& rows)
{
    return scale.unit() == TimeUnit::Seconds ? secondsMarks(scale, rows) : periodMarks(scale, rows);
}

// Whether the run ever closed the loop, so that its set-point is drawn.
bool setPointDrawn(const model::Simulation& run)
{
    const auto& marks = run.marks();
    return run.startedWith().row().closed
           || std::any_of(marks.begin(), marks.end(), [](const model::Mark& m) { return m.after.row().closed; });
}

void fixedLabels(const PlotScale& scale, LabelRows& rows, bool setPoint)
{
    rows.put(kUPlot.left + kTitleGap, kAxisTop, QStringLiteral("Commande U"), colour::blue);
    rows.put(kSPlot.left + kTitleGap, kAxisTop, QStringLiteral("S=(température-20)/8"), colour::blue);
    rows.put(kKeyLeft, kAxisTop, QStringLiteral("X/25,5"), plot_colour::x);
    if (setPoint)
        rows.put(kKeyLeft + kKeyStep, kAxisTop, QStringLiteral("E/25,5 (consigne)"), plot_colour::e);
    const std::vector<TimeMark> marks = timeMarks(scale, rows);
    for (const PlotArea& a : kPlotAreas) {
        rows.put(frameEnd(a) - kTimeNameBack, kPlotBaseline - kTimeNameAbove, QStringLiteral("t"), colour::blue);
        for (int v : kGradVolts) {
            const QString text = v == 0 ? QStringLiteral("0") : QStringLiteral("%1 V").arg(v);
            rows.put(a.left - kGradTextRight - rows.width(text), PlotScale::y(v) - kTextHalfHeight, text, colour::blue);
        }
        for (const TimeMark& m : marks)
            if (!m.label.isEmpty())
                rows.put(scale.x(a, m.time) - rows.width(m.label) / 2, kTimeTextTop, m.label, colour::blue);
    }
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

int changeTop()
{
    return kAxisTop + kFirstFreeRow * QFontMetrics(fonts::make(fonts::pt7)).height();
}

void printLabel(Canvas& w, const PlotLabel& l)
{
    textPen(w, l.colour);
    w.textOut(l.rect.x(), l.rect.y(), l.text);
}

void drawChange(Canvas& w, const PlotView& view, const model::Simulation& run, int index,
                const std::vector<PlotLabel>& labels)
{
    const int k = run.marks()[std::size_t(index)].k;
    pen(w, plot_colour::change, PenStyle::Dot);
    const int top = changeTop();
    for (const PlotArea& a : kPlotAreas) {
        const int x = view.scale.x(a, run, k);
        w.line(x, top, x, kPlotBaseline);
    }
    for (const PlotLabel& l : labels)
        if (l.mark == index)
            printLabel(w, l);
    w.setPenStyle(PenStyle::Solid);
}

// From x1 to x2, held within the plot.
void clippedLine(Canvas& w, const PlotArea& a, int x1, int y1, int x2, int y2)
{
    if (x1 > a.right)
        return;
    w.line(x1, y1, std::min(x2, a.right), y2);
}

}  // namespace

QRgb traceColour(int index)
{
    return kTraceColours[static_cast<std::size_t>(std::clamp(index, 0, model::kMaxTraces - 1))];
}

std::span<const QRgb> traceColours()
{
    return kTraceColours;
}

int heatLevel(double s)
{
    const double level = std::round(s * model::kDigitsPerVolt);
    return static_cast<int>(std::fmax(0.0, std::fmin(level, model::kFullScaleDigits)));
}

PlotView plotView(const model::Experiment& e, TimeUnit unit)
{
    const model::Simulation& run = e.run();
    PlotView view{PlotScale(run, e.shownPeriods(), unit), {}};
    const int made = static_cast<int>(run.samples().size());
    for (int k = 0; k < e.shownPeriods(); ++k) {
        const bool open = k < made ? run.samples()[std::size_t(k)].doorOpen : model::doorOpenAfter(run.parameters(), k);
        if (!open)
            continue;
        if (!view.door.empty() && view.door.back().to == k)
            view.door.back().to = k + 1;
        else
            view.door.push_back({k, k + 1});
    }
    return view;
}

std::vector<PlotLabel> plotLabels(const PlotView& view, const model::Simulation& run)
{
    std::vector<PlotLabel> labels;
    LabelRows rows(labels);
    fixedLabels(view.scale, rows, setPointDrawn(run));
    for (const DoorSpan& d : view.door)
        for (const PlotArea& a : kPlotAreas)
            rows.beside(a, view.scale.x(a, run, d.from), QStringLiteral("porte ouverte"), colour::blue, -1);
    const auto& marks = run.marks();
    for (std::size_t i = 0; i < marks.size(); ++i) {
        const QString text = QString::fromStdString(changeLabel(marks[i].before, marks[i].after));
        for (const PlotArea& a : kPlotAreas)
            rows.beside(a, view.scale.x(a, run, marks[i].k), text, plot_colour::change, static_cast<int>(i));
    }
    return labels;
}

void drawPlotBackdrop(Canvas& w, const PlotView& view, const model::Simulation& run)
{
    w.setPenWidth(1);
    w.setPenStyle(PenStyle::Solid);
    w.setBrushStyle(BrushStyle::Solid);
    w.setBrushColour(colour::btnFace);
    w.fillRect(0, kPlotsTop, kPlotsRight, kPlotsBottom);
    w.setBrushColour(plot_colour::door);
    for (const DoorSpan& d : view.door)
        for (const PlotArea& a : kPlotAreas)
            w.fillRect(view.scale.x(a, run, d.from), changeTop(), view.scale.x(a, run, d.to), kPlotBaseline);

    pen(w, colour::blue);
    for (const PlotArea& a : kPlotAreas) {
        const int end = frameEnd(a);
        w.line(a.left, kPlotBaseline + kAxisBelow, a.left, kAxisTop);
        w.line(a.left - kAxisBefore, kPlotBaseline, end, kPlotBaseline);
        w.line(a.left, kAxisTop, a.left - kArrowHead, kAxisTop + kArrowHead);
        w.line(a.left, kAxisTop, a.left + kArrowHead, kAxisTop + kArrowHead);
        w.line(end, kPlotBaseline, end - kArrowHead, kPlotBaseline - kArrowHead);
        w.line(end, kPlotBaseline, end - kArrowHead, kPlotBaseline + kArrowHead);
        for (int v : kGradVolts)
            w.line(a.left - kGradLength, PlotScale::y(v), a.left, PlotScale::y(v));
    }
    std::vector<PlotLabel> none;
    const LabelRows rows(none);
    for (const TimeMark& m : timeMarks(view.scale, rows))
        for (const PlotArea& a : kPlotAreas) {
            const int x = view.scale.x(a, m.time);
            w.line(x, kPlotBaseline - kMarkHalf, x, kPlotBaseline + kMarkHalf + 1);
        }
    for (const PlotLabel& l : plotLabels(view, run))
        if (l.mark < 0)
            printLabel(w, l);
}

void drawTrace(Canvas& w, const PlotScale& scale, const model::Simulation& run, int ticks, QRgb colour)
{
    const auto& samples = run.samples();
    const double end = std::min(double(ticks) / model::kTicksPerPeriod, double(run.simulatedPeriods()));
    pen(w, colour);
    for (int k = 0; k < static_cast<int>(samples.size()) && k <= end; ++k) {
        const int x = scale.x(kUPlot, run, k);
        if (x > kUPlot.right)
            break;
        const int y = PlotScale::y(samples[k].u);
        if (const auto before = uBefore(run, k))
            w.line(x, PlotScale::y(*before), x, y);
        clippedLine(w, kUPlot, x, y, scale.x(kUPlot, run, std::min(k + 1.0, end)), y);
    }
    // S point by point, one per pixel column of the axis.
    const int last = std::min(scale.x(kSPlot, run, end), kSPlot.right);
    int xBefore = kSPlot.left;
    int yBefore = PlotScale::y(run.sAt(0));
    for (int x = kSPlot.left + 1; x <= last; ++x) {
        const double t = std::min(end, runPeriods(run, scale.timeAt(kSPlot, x), scale.unit()));
        const int y = PlotScale::y(run.sAt(t));
        w.line(xBefore, yBefore, x, y);
        xBefore = x;
        yBefore = y;
    }
}

void drawAcquisition(Canvas& w, const PlotView& view, const model::Simulation& run, int k)
{
    const auto& marks = run.marks();
    const auto at = [k](const model::Mark& m) { return m.k == k; };
    if (std::any_of(marks.begin(), marks.end(), at)) {
        const std::vector<PlotLabel> labels = plotLabels(view, run);
        for (std::size_t i = 0; i < marks.size(); ++i)
            if (marks[i].k == k)
                drawChange(w, view, run, static_cast<int>(i), labels);
    }

    const PlotScale& scale = view.scale;
    const model::Sample& s = run.samples()[k];
    pen(w, plot_colour::x);
    riser(w, scale.x(kSPlot, run, k), xBefore(run, k), volts(s.x));
    pen(w, plot_colour::run);
    riser(w, scale.x(kUPlot, run, k), uBefore(run, k), s.u);
}

void drawSampleMark(Canvas& w, const PlotScale& scale, const model::Simulation& run, int k)
{
    const int x = scale.x(kSPlot, run, k);
    const int y = PlotScale::y(run.samples()[k].s);
    pen(w, plot_colour::x);
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
    const int x0 = scale.x(kSPlot, run, t0);
    const int x1 = scale.x(kSPlot, run, t1);

    // Open loop, the set-point drives nothing: no line for it.
    if (run.parametersAt(k).row().closed) {
        pen(w, plot_colour::e);
        const int yE = PlotScale::y(volts(sample.e));
        for (int x = x0; x < x1; ++x)
            if (x % kEDotEvery == 0)
                w.line(x, yE, x + 1, yE);
    }

    pen(w, plot_colour::x);
    const int yX = PlotScale::y(volts(sample.x));
    w.line(x0, yX, x1, yX);

    pen(w, plot_colour::run);
    const int yU = PlotScale::y(sample.u);
    w.line(scale.x(kUPlot, run, t0), yU, scale.x(kUPlot, run, t1), yU);
    w.line(x0, PlotScale::y(run.sAt(t0)), x1, PlotScale::y(run.sAt(t1)));
}

void drawRunSoFar(Canvas& w, const PlotView& view, const model::Simulation& run, int ticks, int lastTick)
{
    const int samples = static_cast<int>(run.samples().size());
    for (int n = 0; n < ticks; ++n) {
        const int k = n / model::kTicksPerPeriod;
        const bool acquires = n % model::kTicksPerPeriod == 0 && k < samples;
        if (acquires)
            drawAcquisition(w, view, run, k);
        if (n < lastTick && k < samples)
            drawPiece(w, view.scale, run, n);
        if (acquires)
            drawSampleMark(w, view.scale, run, k);
    }
}

}  // namespace t1
