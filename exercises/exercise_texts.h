#pragma once

#include "model/exercise.h"
#include "model/exercise_kinds.h"

#include <QString>
#include <QStringList>

#include <string_view>

namespace t1 {

// The French words of the exercises, the same in the window, the
// correction and the exports: decimal commas whatever the locale, as a
// French sheet is read.

QString frenchNumber(double value, int decimals);

// "K = 1,64", "T1 = 255 s", "θ = 0,087 T1": a parameter of a sheet.
QString parameterText(std::string_view key, double value);
// Its symbol, then its unit in brackets when it has one: "T1 (s)".
QString parameterHeader(std::string_view key);

QString answerSymbol(const model::AnswerRow& row);
QString answerValue(const model::AnswerRow& row, double value);  // "255 s"
QString answerText(const model::AnswerRow& row, double value);   // "T1 = 255 s"
QString answerHeader(const model::AnswerRow& row);

// "Erreur statique", "Dépassement"... and the requirement with its bound:
// "Erreur statique ≤ 5 %".
QString criterionName(const model::CriterionRow& row);
QString demandText(const model::Demand& demand);
// Why a judgement has no value: "pas de réponse"...
QString whyText(model::Why why);
// A criterion's measure in its unit, or why it has none.
QString measuredText(const model::CriterionRow& row, const model::Judgement& j);

QString kindName(const model::ExerciseKindRow& kind);

// A line for a French spreadsheet, as the Laboratoire's CSV export writes
// its own: ';' between the fields (a field holding one is quoted), CR LF
// at the end. A file starts with kCsvStart, the byte order mark.
QString csvRow(const QStringList& fields);
inline constexpr char16_t kCsvStart = u'\uFEFF';

}  // namespace t1
