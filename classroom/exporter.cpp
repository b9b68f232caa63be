#include "classroom/exporter.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>

#include <array>

namespace {

constexpr auto kTitle = u"Temperature1";

// The file dialog's own words, when the desktop offers no dialog of its own.
struct DialogLabel {
    QFileDialog::DialogLabel label;
    const char16_t* text;
};
constexpr std::array kDialogLabels{
    DialogLabel{QFileDialog::LookIn, u"Regarder dans :"},
    DialogLabel{QFileDialog::FileName, u"Nom du fichier :"},
    DialogLabel{QFileDialog::FileType, u"Type de fichier :"},
    DialogLabel{QFileDialog::Accept, u"Enregistrer"},
    DialogLabel{QFileDialog::Reject, u"Annuler"},
};

QString text(const char16_t* utf16)
{
    return QString::fromUtf16(utf16);
}

QString startFolder()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QDir(documents).exists() ? documents : QDir::homePath();
}

// A question with two French answers; true for the first.
bool ask(QWidget* parent, QMessageBox::Icon icon, const QString& question, const char16_t* yes, const char16_t* no)
{
    QMessageBox box(icon, text(kTitle), question, QMessageBox::NoButton, parent);
    QPushButton* accept = box.addButton(text(yes), QMessageBox::AcceptRole);
    box.addButton(text(no), QMessageBox::RejectRole);
    box.setDefaultButton(accept);
    box.exec();
    return box.clickedButton() == accept;
}

}  // namespace

Exporter::Exporter(QWidget* parent) : m_parent(parent)
{
    m_askPath = [this](const SaveRequest& r, const QString& suggested) {
        QFileDialog dialog(m_parent, r.caption, suggested, r.filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QFileInfo(r.fileName).suffix());
        // Replacing is asked here, in French, once the suffix is on the name.
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        for (const DialogLabel& l : kDialogLabels)
            dialog.setLabelText(l.label, text(l.text));
        return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
    };
    m_confirmReplace = [this](const QString& path) {
        const QString question = QStringLiteral("Le fichier « %1 » existe déjà. Le remplacer ?").arg(path);
        return ask(m_parent, QMessageBox::Question, question, u"Remplacer", u"Annuler");
    };
    m_offerRetry = [this](const QString& message) {
        return ask(m_parent, QMessageBox::Warning, message, u"Choisir un autre fichier", u"Abandonner");
    };
    m_inform = [this](const QString& message) { QMessageBox::information(m_parent, text(kTitle), message); };
}

QString Exporter::save(const SaveRequest& request, const Writer& write)
{
    QString suggested = QDir(m_folder.isEmpty() ? startFolder() : m_folder).filePath(request.fileName);
    for (;;) {
        const QString path = m_askPath(request, suggested);
        if (path.isEmpty())
            return {};
        suggested = path;
        if (QFileInfo::exists(path) && !m_confirmReplace(path))
            continue;
        const QString failure = write(path);
        if (failure.isEmpty()) {
            m_folder = QFileInfo(path).absolutePath();
            return path;
        }
        if (!m_offerRetry(failure))
            return {};
    }
}

void Exporter::nothingToSave(const QString& message)
{
    m_inform(message);
}
