#include "laboratory/measures_text.h"

#include "lab/fields.h"

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
constexpr auto kUnstableColour = "#c00000";

QString number(double v, int decimals = kValueDecimals)
{
    return QString::fromStdString(lab::formatDecimal(v, decimals));
}

QString optional(const std::optional<double>& v, const QString& unit = {}, int decimals = kValueDecimals)
{
    return v ? number(*v, decimals) + unit : QString::fromUtf16(kNone);
}

QString periods(const std::optional<int>& k)
{
    return k ? QStringLiteral("%1 T").arg(*k) : QString::fromUtf16(kNone);
}

QString row(const QString& name, const QString& measured, const QString& predicted)
{
    return QStringLiteral("<tr><td>%1</td><td align=\"right\">&nbsp;%2</td><td align=\"right\">&nbsp;&nbsp;%3</td></tr>")
        .arg(name, measured, predicted);
}

QString pole(std::complex<double> z, bool pair)
{
    if (!pair)
        return QStringLiteral("z = ") + number(z.real(), kPoleDecimals);
    return QStringLiteral("z = %1 ± %2 i").arg(number(z.real(), kPoleDecimals), number(std::abs(z.imag()), kPoleDecimals));
}

// Each pole once: a complex pair as one.
QStringList poleTexts(const lab::Poles& poles, bool withCancel)
{
    QStringList texts;
    const auto& list = poles.poles;
    if (list.size() == 2 && std::abs(list[0].z.imag()) > kReal)
        return {pole(list[0].z, true)};
    for (const lab::Pole& p : list) {
        QString text = pole(p.z, false);
        if (withCancel && p.cancelled)
            text += QStringLiteral(" (compensé par le zéro du régulateur)");
        texts << text;
    }
    return texts;
}

}  // namespace

QString measuresText(const lab::Simulation& run, const lab::Theory& theory)
{
    const auto& samples = run.samples();
    // From the last change that took effect: one made since the last
    // acquisition waits for the next.
    std::size_t from = 0;
    for (const lab::Mark& mark : run.marks())
        if (static_cast<std::size_t>(mark.k) < samples.size())
            from = static_cast<std::size_t>(mark.k);
    const std::span<const lab::Sample> measured(samples.data() + from, samples.size() - from);
    const bool any = !measured.empty();
    const lab::Measures m = lab::measure(measured);
    // The model's step starts cold; after a change the run starts elsewhere.
    const bool coldStep = from == 0 && run.start() == lab::Start::Cold && !run.steady();
    const auto shown = [any](double v, const QString& unit = {}, int decimals = kValueDecimals) {
        return any ? number(v, decimals) + unit : QString::fromUtf16(kNone);
    };

    QString since = from == 0 ? QStringLiteral("depuis le départ")
                              : QStringLiteral("depuis le changement à %1T").arg(from);
    QString html = QStringLiteral("<b>Mesures</b> (%1)<table cellspacing=\"0\" cellpadding=\"1\">").arg(since);
    html += row({}, QStringLiteral("<i>mesuré</i>"), QStringLiteral("<i>théorie</i>"));
    html += row(QStringLiteral("X final"), shown(m.finalX), optional(theory.finalX));
    html += row(QStringLiteral("Erreur statique"), shown(m.staticError), optional(theory.staticError));
    html += row(QStringLiteral("S final"), shown(m.finalS, QStringLiteral(" V")),
                optional(theory.finalS, QStringLiteral(" V")));
    html += row(QStringLiteral("Dépassement"), shown(m.overshootPercent, QStringLiteral(" %"), kPercentDecimals),
                coldStep ? optional(theory.overshootPercent, QStringLiteral(" %"), kPercentDecimals)
                         : QString::fromUtf16(kNone));
    html += row(QStringLiteral("Réponse à 5 %"), any ? periods(m.settling) : QString::fromUtf16(kNone),
                coldStep ? periods(theory.settling) : QString::fromUtf16(kNone));
    html += QStringLiteral("</table>");
    return html;
}

QString polesText(const lab::Poles& poles)
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

QString polesLine(const lab::Poles& poles)
{
    return poleTexts(poles, false).join(QStringLiteral(" ; "));
}

}  // namespace t1
