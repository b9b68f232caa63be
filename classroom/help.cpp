#include "classroom/help.h"

#include "stage/keys.h"
#include "lessons/closed_loop.h"
#include "lessons/lesson_table.h"

#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

#include <array>

namespace {

constexpr auto kTitle = u"Aide de Temperature1";
// Small enough for the window's design size; the text scrolls.
constexpr QSize kSize{600, 460};

// After the title of a lesson that runs by sampling periods; %1 says how many.
constexpr auto kSampledNote = u" — en continu ou pas à pas, %1 d'échantillonnage";
constexpr auto kPeriod = u" période";
constexpr auto kPeriods = u" périodes";
// %1 is the period from which the lessons show "Commentaires".
constexpr auto kModes =
    u"<p>Les leçons en continu ou pas à pas demandent d'abord un mode (« Sélectionner : ») :</p>"
    u"<ul><li><b>en continu</b> : « Démarrer Animation » déroule toutes leurs périodes d'échantillonnage ;</li>"
    u"<li><b>pas à pas</b> : chaque clic sur « Incrémenter la Période » déroule une période de plus.</li></ul>"
    u"<p>Les autres se déroulent d'un bout à l'autre après « Démarrer Animation ». La barre « Réglage "
    u"vitesse animation » règle la durée d'un instant : vers + plus vite, vers - plus lentement. Dans les "
    u"leçons qui en ont, « Commentaires » apparaît à la %1 période.</p>";

// Periods counted and ranked in words, as French prose writes small numbers;
// beyond the table, in figures.
constexpr std::array kCounts{u"", u"une", u"deux", u"trois", u"quatre", u"cinq",
                             u"six", u"sept", u"huit", u"neuf", u"dix"};
constexpr std::array kRanks{u"", u"première", u"deuxième", u"troisième", u"quatrième", u"cinquième",
                            u"sixième", u"septième", u"huitième", u"neuvième", u"dixième"};

QString inWords(int n, const auto& words, const char16_t* figuresSuffix)
{
    if (n >= 0 && n < static_cast<int>(words.size()))
        return QString::fromUtf16(words[static_cast<std::size_t>(n)]);
    return QString::number(n) + QString::fromUtf16(figuresSuffix);
}

// The controls' own keys, after the window's.
struct ControlKey {
    const char16_t* shown;
    const char16_t* help;
};
constexpr std::array kControlKeys{
    ControlKey{u"Tab, Maj et Tab", u"Passer d'une commande à la suivante, à la précédente"},
    ControlKey{u"Espace", u"Appuyer sur le bouton choisi"},
    ControlKey{u"Flèches", u"Choisir dans une liste, régler la vitesse"},
    ControlKey{u"Espace, Entrée", u"Dans une liste : choisir la ligne marquée"},
};

QString row(const QString& key, const QString& help)
{
    return QStringLiteral("<tr><td><b>%1</b></td><td>%2</td></tr>").arg(key.toHtmlEscaped(), help.toHtmlEscaped());
}

QString helpText()
{
    QString html = QStringLiteral("<h3>Leçons du menu</h3><ul>");
    for (const t1::LessonRow& lesson : t1::kLessons) {
        QString line = QString::fromUtf8(lesson.title).toHtmlEscaped();
        if (lesson.running == t1::Running::Sampled)
            line += QString::fromUtf16(kSampledNote)
                        .arg(inWords(lesson.periods, kCounts, u"") +
                             QString::fromUtf16(lesson.periods > 1 ? kPeriods : kPeriod));
        html += QStringLiteral("<li>%1</li>").arg(line);
    }
    const QString commentPeriod = inWords(t1::periodOfTick(t1::kCommentFromTick), kRanks, u"e");
    html += QStringLiteral("</ul><h3>Modes</h3>") + QString::fromUtf16(kModes).arg(commentPeriod);
    html += QStringLiteral("<h3>Touches</h3><table cellspacing=\"4\">");
    for (const KeyRow& key : kKeys)
        if (key.help)
            html += row(QString::fromUtf8(key.shown), QString::fromUtf8(key.help));
    for (const ControlKey& key : kControlKeys)
        html += row(QString::fromUtf16(key.shown), QString::fromUtf16(key.help));
    html += QStringLiteral("</table>");
    return html;
}

}  // namespace

HelpDialog::HelpDialog(QWidget* window) : QDialog(window), m_text(new QTextBrowser(this))
{
    setObjectName(QStringLiteral("help"));
    setWindowTitle(QString::fromUtf16(kTitle));
    resize(kSize);
    m_text->setHtml(helpText());
    auto* close = new QPushButton(QStringLiteral("Fermer"), this);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addWidget(close, 0, Qt::AlignRight);
}

QString HelpDialog::text() const
{
    return m_text->toPlainText();
}
