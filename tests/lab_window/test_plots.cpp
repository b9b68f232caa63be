#include "tests/lab_window/lab_rig.h"

#include "lab_window/fields.h"
#include "lab_window/lab_plots.h"
#include "lab_window/trace_legend.h"
#include "model/experiment.h"
#include "picture/canvas.h"
#include "picture/colours.h"

#include <QCheckBox>
#include <QRadioButton>

#include <array>
#include <cmath>
#include <limits>
#include <numbers>

using namespace t1;
using namespace t1::testing;

namespace {

// Colour vision simulated by the matrices of Machado, Oliveira and
// Fernandes (2009) at full severity, on linear sRGB; distances are CIEDE2000.
using Matrix = std::array<std::array<double, 3>, 3>;
constexpr Matrix kNormal{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
constexpr Matrix kProtanopia{{{0.152286, 1.052583, -0.204868}, {0.114503, 0.786281, 0.099216},
                              {-0.003882, -0.048116, 1.051998}}};
constexpr Matrix kDeuteranopia{{{0.367322, 0.860646, -0.227968}, {0.280085, 0.672501, 0.047413},
                                {-0.011820, 0.042940, 0.968881}}};

struct Lab {
    double l, a, b;
};

Lab seen(QRgb c, const Matrix& m)
{
    const auto linear = [](int v) {
        const double s = v / 255.0;
        return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    const std::array<double, 3> in{linear(qRed(c)), linear(qGreen(c)), linear(qBlue(c))};
    std::array<double, 3> rgb{};
    for (std::size_t i = 0; i < 3; ++i)
        rgb[i] = std::clamp(m[i][0] * in[0] + m[i][1] * in[1] + m[i][2] * in[2], 0.0, 1.0);
    const double x = (0.4124 * rgb[0] + 0.3576 * rgb[1] + 0.1805 * rgb[2]) / 0.95047;
    const double y = 0.2126 * rgb[0] + 0.7152 * rgb[1] + 0.0722 * rgb[2];
    const double z = (0.0193 * rgb[0] + 0.1192 * rgb[1] + 0.9505 * rgb[2]) / 1.08883;
    const auto f = [](double t) { return t > 216.0 / 24389 ? std::cbrt(t) : (24389.0 / 27 * t + 16) / 116; };
    return {116 * f(y) - 16, 500 * (f(x) - f(y)), 200 * (f(y) - f(z))};
}

double radians(double degrees)
{
    return degrees * std::numbers::pi / 180;
}

double ciede2000(Lab p, Lab q)
{
    const double cBar = (std::hypot(p.a, p.b) + std::hypot(q.a, q.b)) / 2;
    const double g = 0.5 * (1 - std::sqrt(std::pow(cBar, 7) / (std::pow(cBar, 7) + std::pow(25.0, 7))));
    const double a1 = (1 + g) * p.a, a2 = (1 + g) * q.a;
    const double c1 = std::hypot(a1, p.b), c2 = std::hypot(a2, q.b);
    const auto hue = [](double b, double a) {
        const double h = std::atan2(b, a) * 180 / std::numbers::pi;
        return h < 0 ? h + 360 : h;
    };
    const double h1 = hue(p.b, a1), h2 = hue(q.b, a2);
    double dh = c1 * c2 == 0 ? 0 : h2 - h1;
    dh += dh > 180 ? -360 : (dh < -180 ? 360 : 0);
    const double dH = 2 * std::sqrt(c1 * c2) * std::sin(radians(dh / 2));
    const double lBar = (p.l + q.l) / 2, cpBar = (c1 + c2) / 2;
    double hBar = h1 + h2;
    if (c1 * c2 != 0)
        hBar = std::abs(h1 - h2) <= 180 ? hBar / 2 : (hBar < 360 ? (hBar + 360) / 2 : (hBar - 360) / 2);
    const double t = 1 - 0.17 * std::cos(radians(hBar - 30)) + 0.24 * std::cos(radians(2 * hBar))
                     + 0.32 * std::cos(radians(3 * hBar + 6)) - 0.20 * std::cos(radians(4 * hBar - 63));
    const double rc = 2 * std::sqrt(std::pow(cpBar, 7) / (std::pow(cpBar, 7) + std::pow(25.0, 7)));
    const double rt = -std::sin(radians(2 * 30 * std::exp(-std::pow((hBar - 275) / 25, 2)))) * rc;
    const double sl = 1 + 0.015 * std::pow(lBar - 50, 2) / std::sqrt(20 + std::pow(lBar - 50, 2));
    const double sc = 1 + 0.045 * cpBar, sh = 1 + 0.015 * cpBar * t;
    const double dl = (q.l - p.l) / sl, dc = (c2 - c1) / sc, dhs = dH / sh;
    return std::sqrt(dl * dl + dc * dc + dhs * dhs + rt * dc * dhs);
}

// The smallest difference for a normal eye, a protanope and a deuteranope.
double apart(QRgb a, QRgb b)
{
    double d = std::numeric_limits<double>::max();
    for (const Matrix* m : {&kNormal, &kProtanopia, &kDeuteranopia})
        d = std::min(d, ciede2000(seen(a, *m), seen(b, *m)));
    return d;
}

}  // namespace

// Every colour a plot's line or text takes stays apart from the others, the
// axes and the background, for a red-green deficiency too; the door's band
// shows against the background and stays off every line.
TEST(PlotColours, StayApartForEveryEye)
{
    std::vector<QRgb> lines{colour::btnFace, colour::blue, qRgb(0, 0, 0), plot_colour::run,
                            plot_colour::x, plot_colour::e, plot_colour::change};
    for (QRgb c : traceColours())
        lines.push_back(c);
    double nearest = std::numeric_limits<double>::max();
    for (std::size_t i = 0; i < lines.size(); ++i)
        for (std::size_t j = i + 1; j < lines.size(); ++j)
            nearest = std::min(nearest, apart(lines[i], lines[j]));
    EXPECT_GT(nearest, 16.5);
    EXPECT_GT(apart(plot_colour::door, colour::btnFace), 7);
    for (std::size_t i = 1; i < lines.size(); ++i)
        EXPECT_GT(apart(plot_colour::door, lines[i]), 16.5) << i;
    // The yardstick itself: red and green that a deuteranope confuses.
    EXPECT_LT(apart(qRgb(200, 0, 0), qRgb(0, 128, 0)), 10);
}

// Curves are drawn on their plots only, whatever the values: S beyond 10 V
// with a gain of 5, S held at 0 V by a wide-open door under a small
// command, noise, an earlier run longer than the axis, in both units.
TEST(LabPlots, CurvesStayInsideTheirFrames)
{
    model::Parameters p;
    p.e = model::kFullScaleDigits;
    p.oven.gain = model::kStaticGain.high;
    p.field(model::Regulator::P, model::kGainField) = 100;
    p.noise.millivolts = model::kMaxNoiseMillivolts;
    model::Experiment e(p, model::Start::Cold, model::kMinShownPeriods);
    const auto runToEnd = [&e] {
        e.play();
        while (e.advance()) {
        }
    };
    model::Parameters slow = p;
    slow.ratio = model::kSampling.high;
    slow.oven.t1Seconds = model::kTimeConstant.high;
    e.change(slow);
    runToEnd();
    e.restart();
    model::Parameters door = p;
    door.e = 5;
    door.door = {1, model::kMinShownPeriods, model::kDrop.high, model::kDoorRatio.low};
    e.change(door);
    runToEnd();
    e.restart();
    e.change(p);
    runToEnd();

    // The acquisitions' little squares stand two pixels round their point.
    constexpr int kMark = 2;
    const int top = PlotScale::y(kHighestVolts) - kMark;
    const int bottom = kPlotBaseline + kMark;
    for (TimeUnit unit : {TimeUnit::Periods, TimeUnit::Seconds}) {
        Canvas w(kPlotsRight, kPlotsBottom, colour::white);
        const PlotView view = plotView(e, unit);
        for (const model::Trace& t : e.traces())
            drawTrace(w, view.scale, t.run, t.ticks, traceColour(t.colour));
        drawRunSoFar(w, view, e.run(), e.ticks(), e.lastTick());
        int drawn = 0;
        for (int y = 0; y < w.height(); ++y)
            for (int x = 0; x < w.width(); ++x) {
                if (w.pixel(x, y) == colour::white)
                    continue;
                ++drawn;
                const bool onU = x >= kUPlot.left - kMark && x <= kUPlot.right + kMark;
                const bool onS = x >= kSPlot.left - kMark && x <= kSPlot.right + kMark;
                ASSERT_TRUE((onU || onS) && y >= top && y <= bottom) << x << ", " << y;
            }
        EXPECT_GT(drawn, 1000);
    }
}

namespace {

class PlotsTest : public LabRig {
protected:
    int countIn(QRgb c, int x1, int x2, int y1, int y2) const
    {
        int n = 0;
        for (int y = y1; y < y2; ++y)
            for (int x = x1; x < x2; ++x)
                n += scene().pixel(x, y) == c;
        return n;
    }
    const PlotScale& scale() const { return lab->plotView().scale; }
};

}  // namespace

// Changes at five acquisitions in a row and the door open among them: every
// label has its own place, and is printed there.
TEST_F(PlotsTest, LabelsOfChangesCloseTogetherNeverOverlap)
{
    type(setting(model::kDoorFrom), "3");
    type(setting(model::kDoorPeriods), "2");
    click(lab->startButton);
    periods(1);
    type(gain(), "4");
    periods(1);
    type(setting(model::kSetPoint), "60");
    periods(1);
    type(setting(model::kSampling), "1/4");
    periods(1);
    click(lab->quantised);
    periods(1);
    type(gain(), "3,25");
    type(setting(model::kSetPoint), "120");
    periods(2);
    ASSERT_EQ(run().marks().size(), 5u);
    const std::vector<PlotLabel> labels = plotLabels(lab->plotView(), run());
    for (std::size_t i = 0; i < labels.size(); ++i) {
        const PlotLabel& l = labels[i];
        EXPECT_TRUE(QRect(0, kPlotsTop, kPlotsRight, kPlotsBottom - kPlotsTop).contains(l.rect)) << l.text.toStdString();
        for (std::size_t j = i + 1; j < labels.size(); ++j)
            EXPECT_FALSE(l.rect.intersects(labels[j].rect)) << l.text.toStdString() << " / " << labels[j].text.toStdString();
        // Printed where it was placed.
        const int printed = countIn(l.colour, l.rect.left(), l.rect.right() + 1, l.rect.top(), l.rect.bottom() + 1);
        EXPECT_GT(printed, 0) << l.text.toStdString();
    }
    for (int m = 0; m < 5; ++m)
        EXPECT_EQ(std::count_if(labels.begin(), labels.end(), [m](const PlotLabel& l) { return l.mark == m; }), 2) << m;
    EXPECT_EQ(std::count_if(labels.begin(), labels.end(), [](const PlotLabel& l) { return l.text == QStringLiteral("porte ouverte"); }), 2);
}

// The door's band covers the periods it is open on both plots, from the
// start of the run; a change of the door moves it at once.
TEST_F(PlotsTest, TheDoorsOpeningIsABandOnBothPlots)
{
    type(setting(model::kDoorFrom), "3");
    type(setting(model::kDoorPeriods), "2");
    const auto band = [this](const PlotArea& a, int from, int to) {
        return countIn(plot_colour::door, scale().x(a, run(), from) + 1, scale().x(a, run(), to) - 1, kPlotBaseline - 10,
                       kPlotBaseline);
    };
    for (const PlotArea& a : kPlotAreas) {
        EXPECT_GT(band(a, 2, 4), 0);
        EXPECT_EQ(band(a, 0, 2) + band(a, 4, 10), 0);
    }
    click(lab->startButton);
    periods(1);
    type(setting(model::kDoorPeriods), "0");
    for (const PlotArea& a : kPlotAreas)
        EXPECT_EQ(band(a, 0, 10), 0);
    EXPECT_EQ(lab->plotView().door.size(), 0u);
    type(setting(model::kDoorFrom), "6");
    type(setting(model::kDoorPeriods), "1");
    periods(8);
    ASSERT_EQ(lab->plotView().door, (std::vector<DoorSpan>{{5, 6}}));
    EXPECT_TRUE(samples()[5].doorOpen);
    for (const PlotArea& a : kPlotAreas)
        EXPECT_GT(band(a, 5, 6), 0);
}

// An earlier run of another period is drawn in time on the current axis:
// its acquisitions where their instants fall, and what reaches past the
// axis left out.
TEST_F(PlotsTest, EarlierRunsOfAnotherPeriodCompareInTime)
{
    type(setting(model::kSampling), "1/2");
    click(lab->startButton);
    periods(10);  // 5 T1
    type(setting(model::kSampling), "1/5");
    click(lab->restartButton);
    ASSERT_EQ(experiment().traces().size(), 1u);
    const QRgb faded = traceColour(experiment().traces().front().colour);
    EXPECT_DOUBLE_EQ(scale().span(), 2);
    // Its second acquisition, at 0,5 T1, is the current run's 2,5 T.
    const int x = scale().x(kUPlot, 0.5);
    EXPECT_EQ(x, scale().x(kUPlot, run(), 2.5));
    EXPECT_GT(countIn(faded, x, x + 1, kAxisTop, kPlotBaseline), 10);
    EXPECT_LE(countIn(faded, x - 1, x, kAxisTop, kPlotBaseline), 1);  // U held before it
    // It runs to the end of both axes and no further.
    EXPECT_GT(countIn(faded, kUPlot.right - 1, kUPlot.right, kAxisTop, kPlotBaseline), 0);
    EXPECT_GT(countIn(faded, kSPlot.right - 1, kSPlot.right, kAxisTop, kPlotBaseline), 0);
    EXPECT_EQ(countIn(faded, kUPlot.right + 1, kSPlot.left, kPlotsTop, kPlotsBottom), 0);
    EXPECT_EQ(countIn(faded, kSPlot.right + 1, kPlotsRight, kPlotsTop, kPlotsBottom), 0);
}

// Five earlier runs whose legends would take two lines each: every one is
// named in the legend's box, in full or shortened with the whole text in
// the tooltip.
TEST_F(PlotsTest, TheLegendNamesEveryEarlierRun)
{
    type(setting(model::kDoorPeriods), "1");
    const char* ratios[] = {"1/5", "1/3", "0,25", "1/7", "1/9"};
    for (const char* r : ratios) {
        type(setting(model::kSampling), r);
        click(lab->regulatorButton(model::Regulator::PI));
        click(lab->presetButton(model::Regulator::PI, 0));
        click(lab->startButton->isEnabled() ? lab->startButton : lab->restartButton);
        periods(2);
        type(setting(model::kSetPoint), "90");  // a change during the run
        periods(1);
        type(setting(model::kSetPoint), "100");
    }
    click(lab->restartButton);
    ASSERT_EQ(experiment().traces().size(), std::size_t(model::kMaxTraces));
    QLabel* legend = lab->legend;
    EXPECT_LE(legend->heightForWidth(legend->width()), legend->height());
    const QString shown = legend->text();
    for (const LegendEntry& e : legendEntries(experiment().traces())) {
        EXPECT_TRUE(shown.contains(QColor::fromRgb(e.colour).name()));
        EXPECT_TRUE(shown.contains(e.text.left(20).toHtmlEscaped())) << e.text.toStdString();
        EXPECT_TRUE(shown.contains(e.text.toHtmlEscaped()) || legend->toolTip().contains(e.text)) << e.text.toStdString();
    }
    // A tiny box still names them all, on a line each.
    const Legend tight = fittedLegend(legendEntries(experiment().traces()), legend->font(), QSize(120, 70));
    EXPECT_EQ(tight.html.count(QStringLiteral("■")), model::kMaxTraces);
    EXPECT_EQ(tight.tooltip.count(QLatin1Char('\n')), model::kMaxTraces - 1);
}

// The crosshair reads any instant: S on the exact curve, U on its
// staircase, the time in periods or seconds; the arrows go from acquisition
// to acquisition, with Shift by a tenth of a period, and the diagram shows
// the acquisition at or before the cursor.
TEST_F(PlotsTest, TheCrosshairReadsAnyInstant)
{
    click(lab->startButton);
    periods(6);
    const int x = (scale().x(kSPlot, run(), 3) + scale().x(kSPlot, run(), 4)) / 2;
    QTest::mouseMove(lab->cursor, QPoint(x, 150));
    ASSERT_TRUE(lab->cursor->instant());
    const double t = *lab->cursor->instant();
    EXPECT_GT(t, 3.3);
    EXPECT_LT(t, 3.7);
    EXPECT_EQ(lab->cursor->sample(), 3);
    EXPECT_EQ(lab->shownValues().sample.k, 3);
    const auto reading = cursorReading(experiment(), scale(), t);
    ASSERT_TRUE(reading);
    EXPECT_EQ(reading->sText, QStringLiteral("S = %1 V").arg(QString::fromStdString(formatDecimal(run().sAt(t), 2))));
    EXPECT_EQ(reading->u, samples()[3].u);
    EXPECT_TRUE(reading->timeText.startsWith(QStringLiteral("t = 3,")));
    EXPECT_TRUE(reading->timeText.endsWith(QStringLiteral(" T (k = 3)")));
    EXPECT_TRUE(lab->cursor->accessibleDescription().contains(reading->sText));
    // The dashed guide runs from the value axis to the curve.
    const QImage shown = lab->picture();
    const int y = PlotScale::y(reading->s);
    int dark = 0;
    for (int gx = kSPlot.left + 60; gx < x; ++gx)
        dark += shown.pixel(gx, y) == qRgb(0, 0, 0);
    EXPECT_GT(dark, (x - kSPlot.left - 60) / 3);

    QTest::keyClick(lab->cursor, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_NEAR(*lab->cursor->instant(), t + 0.1, 1e-9);
    QTest::keyClick(lab->cursor, Qt::Key_Left);
    EXPECT_DOUBLE_EQ(*lab->cursor->instant(), 3);
    QTest::keyClick(lab->cursor, Qt::Key_Left);
    EXPECT_DOUBLE_EQ(*lab->cursor->instant(), 2);
    QTest::keyClick(lab->cursor, Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_NEAR(*lab->cursor->instant(), 1.9, 1e-9);
    EXPECT_EQ(lab->shownValues().sample.k, 1);
    QTest::keyClick(lab->cursor, Qt::Key_Right);
    EXPECT_DOUBLE_EQ(*lab->cursor->instant(), 2);
    // Never past what is drawn, nor anything but finite numbers.
    lab->cursor->setInstant(1e300);
    EXPECT_DOUBLE_EQ(*lab->cursor->instant(), experiment().drawnUntil());
    lab->cursor->setInstant(std::numeric_limits<double>::quiet_NaN());
    EXPECT_DOUBLE_EQ(*lab->cursor->instant(), 0);

    lab->setTimeUnit(TimeUnit::Seconds);
    lab->cursor->setInstant(2.5);
    const auto inSeconds = cursorReading(experiment(), scale(), 2.5);
    EXPECT_EQ(inSeconds->timeText, QStringLiteral("t = 50 s (k = 2)"));  // T = T1/5 of 100 s
    QTest::keyClick(lab->cursor, Qt::Key_End);
    EXPECT_FALSE(lab->cursor->instant());
}
