#include "exercises/results_export.h"

#include "exercises/exercise_texts.h"
#include "stage/file_writes.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>
#include <QTextFormat>
#include <QUrl>

namespace t1 {

namespace {

constexpr int kPdfResolution = 300;
constexpr qreal kPageMargin = 20;  // mm
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

// The width an <img> of `name` is given to take `width` of the document's
// device: the layout scales an image from the screen's resolution to the
// device's, so it is asked how wide it lays one out.
qreal imageWidth(QTextDocument& document, const QString& name, qreal width)
{
    QTextImageFormat probe;
    probe.setName(name);
    probe.setWidth(width);
    const QSizeF laidOut =
        document.documentLayout()->handlerForObject(QTextFormat::ImageObject)->intrinsicSize(&document, 0, probe);
    return width * width / laidOut.width();
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

QString plotName(int number)
{
    return QStringLiteral("courbes-%1").arg(number);
}

QString resultsHtml(const ResultsReport& r, qreal plotWidth)
{
    QString html = QStringLiteral("<h1>%1</h1><p>Feuille : <b>%2</b><br>Élève : <b>%3</b><br>Exporté le %4</p>")
                       .arg(r.title.toHtmlEscaped(), r.sheetId.toHtmlEscaped(), r.student.toHtmlEscaped(),
                            dateText(r.written));
    for (const ExerciseReport& e : r.exercises) {
        html += QStringLiteral("<h2 style=\"page-break-before: always\">Exercice %1 — %2 : %3</h2>")
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
        if (!e.plot.isNull())
            html += QStringLiteral("<p><img src=\"%1\" width=\"%2\"></p>").arg(plotName(e.number)).arg(plotWidth);
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
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(kPageMargin, kPageMargin, kPageMargin, kPageMargin),
                                         QPageLayout::Millimeter));
        writer.setResolution(kPdfResolution);
        writer.setTitle(report.title);
        writer.setCreator(QStringLiteral("Temperature1"));
        // Laid out on the writer's own pages, so that the page breaks fall
        // where the HTML asks and the text takes the page's whole width.
        QTextDocument document;
        document.documentLayout()->setPaintDevice(&writer);
        document.setPageSize(QSizeF(writer.width(), writer.height()));
        document.setDocumentMargin(0);
        QString anyPlot;
        for (const ExerciseReport& e : report.exercises) {
            if (!e.plot.isNull()) {
                anyPlot = plotName(e.number);
                document.addResource(QTextDocument::ImageResource, QUrl(anyPlot), e.plot);
            }
        }
        const qreal plotWidth = anyPlot.isEmpty() ? 0 : imageWidth(document, anyPlot, writer.width());
        document.setHtml(resultsHtml(report, plotWidth));
        document.print(&writer);
    }
    return writeFile(drawn.data(), pdfPathOf(csvPath));
}

}  // namespace t1
