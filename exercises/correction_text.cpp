#include "exercises/correction_text.h"

#include "exercises/exercise_texts.h"
#include "model/correction.h"
#include "model/criteria.h"

#include <QRegularExpression>

namespace t1 {

namespace {

constexpr int kPredictionDecimals = 2;

QString hiddenLine(const std::vector<model::DrawnValue>& hidden)
{
    QStringList values;
    for (const model::DrawnValue& v : hidden)
        values << parameterText(v.key, v.value);
    return values.isEmpty() ? QStringLiteral("aucune") : values.join(QStringLiteral(" ; "));
}

void exerciseText(const model::ExerciseCorrection& c, QString& out)
{
    out += QStringLiteral("\nExercice %1").arg(c.index + 1);
    if (!c.kind) {
        out += QStringLiteral(" : type inconnu\n");
        return;
    }
    out += QStringLiteral(" — %1\n").arg(kindName(*c.kind));
    out += QStringLiteral("  Valeurs cachées : %1\n").arg(hiddenLine(c.hidden));
    if (!c.answers.empty()) {
        out += QStringLiteral("  Réponses attendues :\n");
        for (const model::ExpectedAnswer& a : c.answers)
            out += QStringLiteral("    %1 (juste à %2 près)\n")
                       .arg(answerText(*a.row, a.value), frenchNumber(a.allowance, a.row->decimals + 1));
    }
    if (!c.demands.empty()) {
        out += QStringLiteral("  Cahier des charges :\n");
        for (const model::Demand& d : c.demands)
            out += QStringLiteral("    %1\n").arg(demandText(d));
    }
    if (!c.acquisitions.empty()) {
        out += QStringLiteral("  Acquisition   X   Ep  Epu     U (V)\n");
        for (std::size_t k = 0; k < c.acquisitions.size(); ++k) {
            const model::Sample& s = c.acquisitions[k];
            out += QStringLiteral("  %1 %2 %3 %4 %5\n")
                       .arg(k, 11)
                       .arg(s.x, 4)
                       .arg(s.ep, 4)
                       .arg(s.epu, 4)
                       .arg(frenchNumber(s.u, kPredictionDecimals), 9);
        }
    }
}

// The columns of one exercise: its hidden values, then the answers expected.
void exerciseColumns(const model::ExerciseCorrection& c, QStringList* header, QStringList& row)
{
    const QString prefix = QStringLiteral("Ex. %1 ").arg(c.index + 1);
    for (const model::DrawnValue& v : c.hidden) {
        if (header)
            *header << prefix + parameterHeader(v.key) + QStringLiteral(" caché");
        row << frenchNumber(v.value, model::kMaxDecimals);
    }
    for (const model::ExpectedAnswer& a : c.answers) {
        if (header)
            *header << prefix + answerHeader(*a.row) + QStringLiteral(" attendu");
        row << frenchNumber(a.value, a.row->decimals + 1);
    }
}

}  // namespace

QString correctionText(const model::Sheet& sheet, const QString& student)
{
    const model::SheetCorrection c = model::correction(sheet, student.toStdString());
    QString out = QStringLiteral("Corrigé de « %1 » (feuille %2)\nÉlève : %3 (nom lu « %4 »)\n")
                      .arg(QString::fromStdString(sheet.title), QString::fromStdString(sheet.id), student.trimmed(),
                           QString::fromStdString(c.student));
    for (const model::ExerciseCorrection& e : c.exercises)
        exerciseText(e, out);
    return out;
}

QString classCorrectionCsv(const model::Sheet& sheet, const QStringList& students)
{
    QString out(kCsvStart);
    QStringList header{QStringLiteral("Élève")};
    for (qsizetype i = 0; i < students.size(); ++i) {
        const model::SheetCorrection c = model::correction(sheet, students[i].toStdString());
        QStringList row{students[i]};
        for (const model::ExerciseCorrection& e : c.exercises)
            exerciseColumns(e, i == 0 ? &header : nullptr, row);
        if (i == 0)
            out += csvRow(header);
        out += csvRow(row);
    }
    return out;
}

QStringList classList(const QByteArray& bytes)
{
    QString text = QString::fromUtf8(bytes);
    if (text.startsWith(kCsvStart))
        text.remove(0, 1);
    static const QRegularExpression separators(QStringLiteral("[;\t]"));
    QStringList students;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        QStringList parts;
        for (QString field : line.split(separators)) {
            field = field.trimmed();
            if (field.size() >= 2 && field.startsWith(QLatin1Char('"')) && field.endsWith(QLatin1Char('"')))
                field = field.mid(1, field.size() - 2).replace(QStringLiteral("\"\""), QStringLiteral("\""));
            if (!field.isEmpty())
                parts << field;
        }
        if (!parts.isEmpty())
            students << parts.join(QLatin1Char(' '));
    }
    return students;
}

}  // namespace t1
