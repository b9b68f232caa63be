#include "picture/number_text.h"

#include <QLocale>

#include <cmath>

namespace t1 {

namespace {

constexpr int kSignificantDigits = 15;

}  // namespace

QString localeDecimalSeparator()
{
    return QLocale().decimalPoint();
}

QString numberText(double value, const QString& decimalSeparator)
{
    // A negative zero (the ceiling of -0.4, say) prints as 0, not -0.
    if (value == 0)
        value = 0;
    // Formatted in the C locale, so that only the decimal separator may
    // come from the user's locale: no grouping, no locale-specific minus sign.
    QString text = QString::number(value, 'g', kSignificantDigits);
    const qsizetype dot = text.indexOf(QLatin1Char('.'));
    if (dot >= 0)
        text.replace(dot, 1, decimalSeparator);
    return text;
}

QString ceilingText(double value)
{
    return numberText(std::ceil(value));
}

LoopTexts loopTexts(const LoopValues& v)
{
    return {.gE = ceilingText(v.gE),
            .gEp = ceilingText(v.gEp),
            .gEpu = ceilingText(v.gEpu),
            .gX = ceilingText(v.gX),
            .gU = numberText(v.gU),
            .gS = numberText(v.gS),
            .gTemperature = ceilingText(v.gTemperature)};
}

}  // namespace t1
