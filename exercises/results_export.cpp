#include "exercises/results_export.h"

#include "exercises/exercise_texts.h"
#include "stage/file_writes.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>

namespace t1 {

namespace {

constexpr int kPdfResolution = 300;
constexpr auto kTick = u"\u2714";
constexpr auto kCross = u"\u2718";

QString dateText(const QDateTime& t)
{
    return t.isValid() ? t.toString(QStringLiteral("dd/MM/yyyy HH:mm")) : QString();
}

QString verdictText(const std::vector<ShownJudgement>& verdict)
{
    QStringList lines;
    for (const ShownJudgement& j : verdict)
        lines << QStringLiteral("%1 %2 : %3").arg(QString::fromUtf16(j.met ? kTick : kCross), j.name, j.value);
    return lines.join(QStringLiteral(" ; "));
}

}  // namespace

QString resultsCsv(const ResultsReport& r)
{
    QString out(kCsvStart);
    out += csvRow({QStringLiteral("Feuille"), r.title, r.sheetId});
    out += csvRow({QStringLiteral("Élève"), r.student, dateText(r.written)});
    out += csvRow({QStringLiteral("Exercice"), QStringLiteral("Type"), QStringLiteral("État"), QStringLiteral("Essais"),
                   QStringLiteral("Réponses"), QStringLiteral("Dernier verdict"), QStringLiteral("Valeurs vraies"),
                   QStringLiteral("Commencé"), QStringLiteral("Dernier essai")});
    for (const ExerciseReport& e : r.exercises)
        out += csvRow({QString::number(e.number), e.kind, e.state, QString::number(e.tries),
                       e.answers.join(QStringLiteral(" ; ")), verdictText(e.verdict),
                       e.trueValues.join(QStringLiteral(" ; ")), dateText(e.started), dateText(e.lastTry)});
    return out;
}

QString resultsHtml(const ResultsReport& r)
{
    QString html = QStringLiteral("<h2>%1</h2><p>Élève : <b>%2</b> — feuille %3 — %4</p>")
                       .arg(r.title.toHtmlEscaped(), r.student.toHtmlEscaped(), r.sheetId.toHtmlEscaped(),
                            dateText(r.written));
    for (const ExerciseReport& e : r.exercises) {
        html += QStringLiteral("<h3>Exercice %1 — %2 : %3</h3>")
                    .arg(e.number)
                    .arg(e.kind.toHtmlEscaped(), e.state.toHtmlEscaped());
        html += QStringLiteral("<p>%1</p>").arg(e.statement.toHtmlEscaped().replace(QLatin1Char('\n'), QStringLiteral("<br>")));
        html += QStringLiteral("<p>Essais : %1").arg(e.tries);
        if (!e.answers.isEmpty())
            html += QStringLiteral("<br>Réponses : %1").arg(e.answers.join(QStringLiteral(" ; ")).toHtmlEscaped());
        if (!e.verdict.empty())
            html += QStringLiteral("<br>Dernier verdict : %1").arg(verdictText(e.verdict).toHtmlEscaped());
        if (!e.trueValues.isEmpty())
            html += QStringLiteral("<br>Valeurs vraies : %1").arg(e.trueValues.join(QStringLiteral(" ; ")).toHtmlEscaped());
        html += QStringLiteral("</p>");
    }
    return html;
}

QString pdfPathOf(const QString& csvPath)
{
    const QFileInfo info(csvPath);
    return info.dir().filePath(info.completeBaseName() + QStringLiteral(".pdf"));
}

QString writeResults(const ResultsReport& report, const QString& csvPath)
{
    if (const QString error = writeFile(resultsCsv(report).toUtf8(), csvPath); !error.isEmpty())
        return error;
    // The PDF is drawn into memory, then written as every other file is.
    QBuffer drawn;
    drawn.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&drawn);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setResolution(kPdfResolution);
        writer.setTitle(report.title);
        writer.setCreator(QStringLiteral("Temperature1"));
        QTextDocument document;
        document.setHtml(resultsHtml(report));
        document.print(&writer);
    }
    return writeFile(drawn.data(), pdfPathOf(csvPath));
}

}  // namespace t1
