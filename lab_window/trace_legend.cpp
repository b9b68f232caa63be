#include "lab_window/trace_legend.h"

#include "lab_window/lab_plots.h"
#include "lab_window/run_texts.h"
#include "model/experiment.h"
#include "picture/fonts.h"

#include <QColor>
#include <QFontMetrics>
#include <QStringList>
#include <QTextDocument>

#include <cmath>

namespace t1 {

namespace {

constexpr auto kSwatch = u"■ ";
// The smaller font the entries take before they are shortened.
constexpr int kSmallerPixels = fonts::pt7;

enum class Fit { Wrapped, Smaller, OneLine };

QString html(const std::vector<LegendEntry>& entries, const QStringList& texts, Fit fit)
{
    QString body = QStringLiteral("<b>Essais précédents</b>");
    if (entries.empty())
        body += QStringLiteral("<br>aucun");
    for (std::size_t i = 0; i < entries.size(); ++i)
        body += QStringLiteral("<br><font color=\"%1\">%2</font>%3")
                    .arg(QColor::fromRgb(entries[i].colour).name(), QString::fromUtf16(kSwatch),
                         texts[qsizetype(i)].toHtmlEscaped());
    if (fit == Fit::Wrapped)
        return body;
    const QString nowrap = fit == Fit::OneLine ? QStringLiteral(" white-space:nowrap;") : QString();
    return QStringLiteral("<span style=\"font-size:%1px;%2\">%3</span>").arg(kSmallerPixels).arg(nowrap, body);
}

// How high a label of that font and width lays the text out.
double height(const QString& text, const QFont& font, int width)
{
    QTextDocument doc;
    doc.setDefaultFont(font);
    doc.setDocumentMargin(0);
    doc.setTextWidth(width);
    doc.setHtml(text);
    return doc.size().height();
}

}  // namespace

std::vector<LegendEntry> legendEntries(const std::deque<model::Trace>& traces)
{
    std::vector<LegendEntry> entries;
    for (const model::Trace& t : traces)
        entries.push_back({traceColour(t.colour), QString::fromStdString(traceLegend(t.run.startedWith(), t.changedDuringRun))});
    return entries;
}

Legend fittedLegend(const std::vector<LegendEntry>& entries, const QFont& font, QSize box)
{
    QStringList texts;
    for (const LegendEntry& e : entries)
        texts << e.text;
    for (Fit fit : {Fit::Wrapped, Fit::Smaller}) {
        const QString h = html(entries, texts, fit);
        if (height(h, font, box.width()) <= box.height())
            return {h, {}};
    }
    QFont smaller = font;
    smaller.setPixelSize(kSmallerPixels);
    const QFontMetrics fm(smaller);
    const int room = box.width() - fm.horizontalAdvance(QString::fromUtf16(kSwatch));
    QStringList shortened;
    for (const QString& t : texts)
        shortened << fm.elidedText(t, Qt::ElideRight, room);
    return {html(entries, shortened, Fit::OneLine), texts.join(QLatin1Char('\n'))};
}

}  // namespace t1
