#include "exercises/exercise_texts.h"

#include "lab_window/fields.h"
#include "model/criteria.h"
#include "model/sheet.h"

#include <algorithm>
#include <array>

namespace t1 {

namespace {

constexpr std::string_view kComma = ",";

QString utf8(std::string_view s)
{
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

QString unit(model::Unit u)
{
    return QString::fromStdString(unitSuffix(u));
}

struct CriterionWords {
    std::string_view key;
    const char* name;
    const char* comparison;  // before the bound
};
constexpr std::array kCriterionWords{
    CriterionWords{"erreur_statique", "Erreur statique", "≤"},
    CriterionWords{"depassement", "Dépassement", "≤"},
    CriterionWords{"temps_reponse", "Temps de réponse à 5 %", "≤"},
    CriterionWords{"stable", "Stabilité : plus grand module des pôles", "<"},
    CriterionWords{"sans_saturation", "Acquisitions où la commande sature", "≤"},
    CriterionWords{"ecart_porte", "Écart de X après l'ouverture de la porte", "≤"},
    CriterionWords{"retour_porte", "Retour de X après l'ouverture de la porte", "≤"},
};

const CriterionWords* wordsOf(const model::CriterionRow& row)
{
    const auto w = std::find_if(kCriterionWords.begin(), kCriterionWords.end(),
                                [&](const CriterionWords& c) { return c.key == row.quantity.key; });
    return w == kCriterionWords.end() ? nullptr : &*w;
}

struct WhyWords {
    model::Why why;
    const char* words;
};
constexpr std::array kWhyWords{
    WhyWords{model::Why::NotTyped, "pas de réponse"},
    WhyWords{model::Why::NotSettled, "pas encore établi à la fin de l'essai"},
    WhyWords{model::Why::Oscillating, "la boucle oscille ou diverge"},
    WhyWords{model::Why::NotBack, "X n'est pas revenu à la fin de l'essai"},
    WhyWords{model::Why::NotApplicable, "rien à mesurer dans cet essai"},
};

}  // namespace

QString frenchNumber(double value, int decimals)
{
    return QString::fromStdString(formatDecimal(value, decimals, kComma));
}

QString parameterText(std::string_view key, double value)
{
    const std::optional<model::SheetParameter> p = model::sheetParameter(key);
    if (!p)
        return utf8(key) + QStringLiteral(" = ") + frenchNumber(value, model::kMaxDecimals);
    const model::Quantity& q = p->quantity;
    const QString symbol = q.symbol.empty() ? utf8(q.key) : utf8(q.symbol);
    return symbol + QStringLiteral(" = ") + frenchNumber(value, std::max(q.decimals, 3)) + unit(q.unit);
}

QString parameterHeader(std::string_view key)
{
    const std::optional<model::SheetParameter> p = model::sheetParameter(key);
    if (!p)
        return utf8(key);
    const QString symbol = p->quantity.symbol.empty() ? utf8(key) : utf8(p->quantity.symbol);
    const QString u = unit(p->quantity.unit).trimmed();
    return u.isEmpty() ? symbol : QStringLiteral("%1 (%2)").arg(symbol, u);
}

QString answerSymbol(const model::AnswerRow& row)
{
    return utf8(row.symbol);
}

QString answerValue(const model::AnswerRow& row, double value)
{
    return frenchNumber(value, row.decimals + 1) + unit(row.unit);
}

QString answerText(const model::AnswerRow& row, double value)
{
    return answerSymbol(row) + QStringLiteral(" = ") + answerValue(row, value);
}

QString answerHeader(const model::AnswerRow& row)
{
    const QString u = unit(row.unit).trimmed();
    return u.isEmpty() ? answerSymbol(row) : QStringLiteral("%1 (%2)").arg(answerSymbol(row), u);
}

QString criterionName(const model::CriterionRow& row)
{
    const CriterionWords* w = wordsOf(row);
    return w ? QString::fromUtf8(w->name) : utf8(row.quantity.key);
}

QString demandText(const model::Demand& d)
{
    const CriterionWords* w = wordsOf(*d.row);
    QString text = QStringLiteral("%1 %2 %3%4")
                       .arg(criterionName(*d.row), QString::fromUtf8(w ? w->comparison : "≤"),
                            frenchNumber(d.bound, 2), unit(d.row->quantity.unit));
    if (d.row->band)
        text += QStringLiteral(" (à %1 points près)").arg(frenchNumber(d.band, 1));
    return text;
}

QString measuredText(const model::CriterionRow& row, const model::Judgement& j)
{
    if (j.value)
        return frenchNumber(*j.value, std::max(row.quantity.decimals, 1)) + unit(row.quantity.unit);
    return whyText(j.why);
}

QString whyText(model::Why why)
{
    const auto w = std::find_if(kWhyWords.begin(), kWhyWords.end(), [&](const WhyWords& x) { return x.why == why; });
    return w == kWhyWords.end() ? QStringLiteral("—") : QString::fromUtf8(w->words);
}

QString csvRow(const QStringList& fields)
{
    QStringList quoted;
    for (QString f : fields) {
        if (f.contains(QLatin1Char(';')) || f.contains(QLatin1Char('"')) || f.contains(QLatin1Char('\n')))
            f = QLatin1Char('"') + f.replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
        quoted << f;
    }
    return quoted.join(QLatin1Char(';')) + QStringLiteral("\r\n");
}

QString kindName(const model::ExerciseKindRow& kind)
{
    return utf8(kind.name);
}

}  // namespace t1
