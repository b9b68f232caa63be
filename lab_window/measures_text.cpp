#include "lab_window/measures_text.h"

#include "lab_window/fields.h"
#include "picture/canvas.h"
#include "picture/colours.h"
#include "picture/fonts.h"

#include <QStringList>

#include <algorithm>
#include <cmath>
#include <vector>

namespace t1 {

namespace {

constexpr auto kNone = u"—";
constexpr int kValueDecimals = 2;
constexpr int kPercentDecimals = 1;
constexpr int kPoleDecimals = 3;
constexpr int kSecondsDecimals = 1;
// Below this the imaginary part of a pole is a rounding's.
constexpr double kReal = 1e-12;
constexpr auto kStableColour = "#007000";
// The poles listed beside the diagram, the slowest first.
constexpr std::size_t kShownPoles = 4;

// The table's columns: the name, then the measured and the predicted
// values, right-aligned.
constexpr int kTableRowHeight = 14;
constexpr int kTableWidth = 190;
constexpr int kNameWidth = 78;
constexpr int kMeasuredRight = 132;
const QString kMeasuredHead = QStringLiteral("mesuré");
const QString kPredictedHead = QStringLiteral("théorie");
constexpr auto kUnstableColour = "#c00000";

QString number(double v, int decimals = kValueDecimals)
{
    return QString::fromStdString(formatDecimal(v, decimals));
}

QString optional(const std::optional<double>& v, const QString& unit = {}, int decimals = kValueDecimals)
{
    return v ? number(*v, decimals) + unit : QString::fromUtf16(kNone);
}

QString seconds(double s)
{
    return number(s, kSecondsDecimals);
}

// A number of periods from acquisition `from` of the run: "12 T", or the
// seconds they last.
QString duration(const model::Simulation& run, int from, int periods, TimeUnit unit)
{
    if (unit == TimeUnit::Periods)
        return QStringLiteral("%1 T").arg(periods);
    return seconds(axisTime(run, from + periods, unit) - axisTime(run, from, unit)) + QStringLiteral(" s");
}

// The same for the linear model, with the parameters given.
QString predicted(const model::Parameters& p, int periods, TimeUnit unit)
{
    if (unit == TimeUnit::Periods)
        return QStringLiteral("%1 T").arg(periods);
    return seconds(periods * p.ratio * p.oven.t1Seconds) + QStringLiteral(" s");
}

QString pole(std::complex<double> z, bool pair)
{
    if (!pair)
        return QStringLiteral("z = ") + number(z.real(), kPoleDecimals);
    return QStringLiteral("z = %1 ± %2 i").arg(number(z.real(), kPoleDecimals), number(std::abs(z.imag()), kPoleDecimals));
}

// Each pole once, a complex pair as one, the slowest first; past a few,
// how many more.
QStringList poleTexts(const model::Poles& poles, bool withCancel)
{
    std::vector<model::Pole> shown;
    for (const model::Pole& p : poles.poles)
        if (p.z.imag() >= -kReal)
            shown.push_back(p);
    std::stable_sort(shown.begin(), shown.end(),
                     [](const model::Pole& a, const model::Pole& b) { return std::abs(a.z) > std::abs(b.z); });
    QStringList texts;
    for (std::size_t i = 0; i < shown.size() && i < kShownPoles; ++i) {
        QString text = pole(shown[i].z, shown[i].z.imag() > kReal);
        if (withCancel && shown[i].cancelled)
            text += QStringLiteral(" (compensé par le zéro du régulateur)");
        texts << text;
    }
    if (shown.size() > kShownPoles)
        texts << QStringLiteral("et %1 autres").arg(shown.size() - kShownPoles);
    return texts;
}

}  // namespace

MeasureTable measureTable(const model::Simulation& run, const model::Theory& theory, TimeUnit unit)
{
    const model::Measures m = model::measureRun(run);
    const QString none = QString::fromUtf16(kNone);
    // The theory's step starts cold; after a change the run starts elsewhere.
    const bool coldStep = !m.afterChange && m.setPointStep;
    const QString volts = QStringLiteral(" V");
    const QString percent = QStringLiteral(" %");
    // Periods from the first measured acquisition, as the axis counts them.
    const auto measured = [&run, &m, unit](int periods) { return duration(run, m.from, periods, unit); };

    MeasureTable t;
    if (!m.afterChange)
        t.title = QStringLiteral("Mesures depuis le départ");
    else if (unit == TimeUnit::Seconds)
        t.title = QStringLiteral("Mesures depuis %1 s (changement)").arg(seconds(axisTime(run, m.from, unit)));
    else
        t.title = QStringLiteral("Mesures depuis %1T (changement)").arg(m.from);
    MeasureRow finalX{QStringLiteral("X final"), none, optional(theory.finalX)};
    MeasureRow error{QStringLiteral("Erreur statique"), none, optional(theory.staticError)};
    MeasureRow finalS{QStringLiteral("S final"), none, optional(theory.finalS, volts)};
    MeasureRow overshoot{QStringLiteral("Dépassement"), none,
                         coldStep ? optional(theory.overshootPercent, percent, kPercentDecimals) : none};
    MeasureRow settling{QStringLiteral("Réponse à 5 %"), none,
                        coldStep && theory.settling ? predicted(run.parameters(), *theory.settling, unit) : none};
    if (const auto& o = m.oscillation) {
        // Going round or diverging: no final value, but the swing and its period.
        t.state = QStringLiteral("Oscillation entretenue");
        overshoot = {QStringLiteral("Amplitude X"), QStringLiteral("± ") + number((o->high - o->low) / 2), none};
        settling = {QStringLiteral("Période"), measured(o->period), none};
    } else if (const auto& settled = m.settled) {
        t.state = QStringLiteral("Établi");
        finalX.measured = number(settled->finalX);
        error.measured = number(settled->staticError);
        finalS.measured = number(settled->finalS) + volts;
        overshoot.measured = optional(settled->overshootPercent, percent, kPercentDecimals);
        settling.measured = measured(settled->settling);
    } else if (m.count > 0) {
        t.state = QStringLiteral("Pas encore établi");
    } else {
        t.state = QStringLiteral("Aucune acquisition");
    }
    t.rows = {finalX, error, finalS, overshoot, settling};
    return t;
}

QString plainText(const MeasureTable& table)
{
    QString text = table.title + QLatin1Char('\n') + table.state;
    for (const MeasureRow& r : table.rows)
        text += QStringLiteral("\n%1 : mesuré %2, théorie %3").arg(r.name, r.measured, r.predicted);
    return text;
}

QString measuresText(const model::Simulation& run, const model::Theory& theory, TimeUnit unit)
{
    return plainText(measureTable(run, theory, unit));
}

void drawMeasureTable(Canvas& w, QPoint at, const MeasureTable& table, MeasureTable& shown)
{
    w.setPenWidth(1);
    w.setBrushStyle(BrushStyle::Solid);
    w.setBrushColour(colour::btnFace);
    w.setFontColour(colour::blue);
    w.setFontSize(fonts::pt8);
    const auto cell = [&w](int left, int right, int y, const QString& text, const QString& before, bool alignRight) {
        if (text == before)
            return;
        w.fillRect(left, y, right, y + kTableRowHeight);
        w.textOut(alignRight ? right - w.textWidth(text) : left, y, text);
    };
    const int x = at.x();
    int y = at.y();
    w.setFontBold(true);
    cell(x, x + kTableWidth, y, table.title, shown.title, false);
    w.setFontBold(false);
    y += kTableRowHeight;
    cell(x, x + kTableWidth, y, table.state, shown.state, false);
    y += kTableRowHeight;
    if (shown.title.isEmpty()) {
        w.textOut(x + kMeasuredRight - w.textWidth(kMeasuredHead), y, kMeasuredHead);
        w.textOut(x + kTableWidth - w.textWidth(kPredictedHead), y, kPredictedHead);
    }
    for (std::size_t i = 0; i < table.rows.size(); ++i) {
        y += kTableRowHeight;
        const MeasureRow& r = table.rows[i];
        const MeasureRow& before = shown.rows[i];
        cell(x, x + kNameWidth, y, r.name, before.name, false);
        cell(x + kNameWidth, x + kMeasuredRight, y, r.measured, before.measured, true);
        cell(x + kMeasuredRight, x + kTableWidth, y, r.predicted, before.predicted, true);
    }
    shown = table;
}

QString polesText(const model::Poles& poles)
{
    const QStringList texts = poleTexts(poles, true);
    const QString title = poles.closed ? QStringLiteral("%1 en boucle fermée") : QStringLiteral("%1 du four (boucle ouverte)");
    QString html = QStringLiteral("<b>%1</b><br>")
                       .arg(title.arg(poles.poles.size() > 1 ? QStringLiteral("Pôles") : QStringLiteral("Pôle")));
    html += texts.join(QStringLiteral("<br>"));
    if (poles.stable)
        html += QStringLiteral("<br><b><font color=\"%1\">Boucle stable</font></b>").arg(QLatin1String(kStableColour));
    else
        html += QStringLiteral("<br><b><font color=\"%1\">Boucle instable</font></b> : la commande sature "
                               "à 0 et 10 V")
                    .arg(QLatin1String(kUnstableColour));
    return html;
}

QString polesLine(const model::Poles& poles)
{
    return poleTexts(poles, false).join(QStringLiteral(" ; "));
}

}  // namespace t1
