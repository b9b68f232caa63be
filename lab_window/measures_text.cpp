#include "lab_window/measures_text.h"

#include "model/fields.h"
#include "picture/canvas.h"
#include "picture/colours.h"
#include "picture/fonts.h"

#include <QStringList>

#include <cmath>
#include <span>

namespace t1 {

namespace {

constexpr auto kNone = u"—";
constexpr int kValueDecimals = 2;
constexpr int kPercentDecimals = 1;
constexpr int kPoleDecimals = 3;
// Below this the imaginary part of a pole is a rounding's.
constexpr double kReal = 1e-12;
constexpr auto kStableColour = "#007000";

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
    return QString::fromStdString(model::formatDecimal(v, decimals));
}

QString optional(const std::optional<double>& v, const QString& unit = {}, int decimals = kValueDecimals)
{
    return v ? number(*v, decimals) + unit : QString::fromUtf16(kNone);
}

QString periods(const std::optional<int>& k)
{
    return k ? QStringLiteral("%1 T").arg(*k) : QString::fromUtf16(kNone);
}

QString pole(std::complex<double> z, bool pair)
{
    if (!pair)
        return QStringLiteral("z = ") + number(z.real(), kPoleDecimals);
    return QStringLiteral("z = %1 ± %2 i").arg(number(z.real(), kPoleDecimals), number(std::abs(z.imag()), kPoleDecimals));
}

// Each pole once: a complex pair as one.
QStringList poleTexts(const model::Poles& poles, bool withCancel)
{
    QStringList texts;
    const auto& list = poles.poles;
    if (list.size() == 2 && std::abs(list[0].z.imag()) > kReal)
        return {pole(list[0].z, true)};
    for (const model::Pole& p : list) {
        QString text = pole(p.z, false);
        if (withCancel && p.cancelled)
            text += QStringLiteral(" (compensé par le zéro du régulateur)");
        texts << text;
    }
    return texts;
}

}  // namespace

MeasureTable measureTable(const model::Simulation& run, const model::Theory& theory)
{
    const auto& samples = run.samples();
    // From the last change that took effect: one made since the last
    // acquisition waits for the next.
    std::size_t from = 0;
    for (const model::Mark& mark : run.marks())
        if (static_cast<std::size_t>(mark.k) < samples.size())
            from = static_cast<std::size_t>(mark.k);
    const std::span<const model::Sample> measured(samples.data() + from, samples.size() - from);
    const bool any = !measured.empty();
    const model::Measures m = model::measure(measured);
    // The model's step starts cold; after a change the run starts elsewhere.
    const bool coldStep = from == 0 && run.start() == model::Start::Cold && !run.steady();
    const QString none = QString::fromUtf16(kNone);
    const auto shown = [&](double v, const QString& unit = {}, int decimals = kValueDecimals) {
        return any ? number(v, decimals) + unit : none;
    };
    const QString volts = QStringLiteral(" V");
    const QString percent = QStringLiteral(" %");

    MeasureTable t;
    t.title = from == 0 ? QStringLiteral("Mesures depuis le départ")
                        : QStringLiteral("Mesures depuis %1T (changement)").arg(from);
    t.rows = {
        MeasureRow{QStringLiteral("X final"), shown(m.finalX), optional(theory.finalX)},
        MeasureRow{QStringLiteral("Erreur statique"), shown(m.staticError), optional(theory.staticError)},
        MeasureRow{QStringLiteral("S final"), shown(m.finalS, volts), optional(theory.finalS, volts)},
        MeasureRow{QStringLiteral("Dépassement"), shown(m.overshootPercent, percent, kPercentDecimals),
                   coldStep ? optional(theory.overshootPercent, percent, kPercentDecimals) : none},
        MeasureRow{QStringLiteral("Réponse à 5 %"), any ? periods(m.settling) : none,
                   coldStep ? periods(theory.settling) : none},
    };
    return t;
}

QString plainText(const MeasureTable& table)
{
    QString text = table.title;
    for (const MeasureRow& r : table.rows)
        text += QStringLiteral("\n%1 : mesuré %2, théorie %3").arg(r.name, r.measured, r.predicted);
    return text;
}

QString measuresText(const model::Simulation& run, const model::Theory& theory)
{
    return plainText(measureTable(run, theory));
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
    QString html = QStringLiteral("<b>%1 en boucle fermée</b><br>")
                       .arg(poles.poles.size() > 1 ? QStringLiteral("Pôles") : QStringLiteral("Pôle"));
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
