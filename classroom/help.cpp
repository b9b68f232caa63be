#include "classroom/help.h"

#include "stage/keys.h"
#include "lessons/lesson_table.h"

#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

#include <array>

namespace {

constexpr auto kTitle = u"Aide de Temperature1";
// Small enough for the window's design size; the text scrolls.
constexpr QSize kSize{600, 460};

constexpr auto kModes =
    u"<p>La présentation, la réponse en boucle ouverte et le modèle de la perturbation se déroulent "
    u"d'un bout à l'autre après « Démarrer Animation ». Les quatre leçons en boucle fermée demandent "
    u"d'abord un mode (« Sélectionner : ») :</p>"
    u"<ul><li><b>en continu</b> : « Démarrer Animation » déroule les six périodes d'échantillonnage ;</li>"
    u"<li><b>pas à pas</b> : chaque clic sur « Incrémenter la Période » déroule une période de plus.</li></ul>"
    u"<p>La barre « Réglage vitesse animation » règle la durée d'un instant : vers + plus vite, vers - "
    u"plus lentement. « Commentaires » apparaît à la quatrième période.</p>";

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
    for (const t1::LessonRow& lesson : t1::kLessons)
        html += QStringLiteral("<li>%1</li>").arg(QString::fromUtf8(lesson.title).toHtmlEscaped());
    html += QStringLiteral("</ul><h3>Modes</h3>") + QString::fromUtf16(kModes);
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
