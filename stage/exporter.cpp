#include "stage/exporter.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>

namespace {

constexpr auto kTitle = u"Temperature1";

QString text(const char16_t* utf16)
{
    return QString::fromUtf16(utf16);
}

QString startFolder()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QDir(documents).exists() ? documents : QDir::homePath();
}

// A file's name is shown as it is, never read as markup.
void plainText(QMessageBox& box)
{
    box.setTextFormat(Qt::PlainText);
}

// A question with two French answers; true for the first.
bool ask(QWidget* parent, QMessageBox::Icon icon, const QString& question, const char16_t* yes, const char16_t* no)
{
    QMessageBox box(icon, text(kTitle), question, QMessageBox::NoButton, parent);
    plainText(box);
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
        // The dialog's own words are Qt's French translation.
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
    };
    m_askOpenPath = [this](const SaveRequest& r, const QString& folder) {
        QFileDialog dialog(m_parent, r.caption, folder, r.filter + QStringLiteral(";;Tous les fichiers (*)"));
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
        return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
    };
    m_confirmReplace = [this](const QString& path) {
        const QString question = QStringLiteral("Le fichier « %1 » existe déjà. Le remplacer ?").arg(path);
        return ask(m_parent, QMessageBox::Question, question, u"Remplacer", u"Annuler");
    };
    m_offerRetry = [this](const QString& message) {
        return ask(m_parent, QMessageBox::Warning, message, u"Choisir un autre fichier", u"Abandonner");
    };
    m_inform = [this](const QString& message) {
        QMessageBox box(QMessageBox::Information, text(kTitle), message, QMessageBox::Ok, m_parent);
        plainText(box);
        box.exec();
    };
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

QString Exporter::askOpen(const SaveRequest& request)
{
    const QString path = m_askOpenPath(request, m_folder.isEmpty() ? startFolder() : m_folder);
    if (!path.isEmpty())
        m_folder = QFileInfo(path).absolutePath();
    return path;
}

void Exporter::nothingToSave(const QString& message)
{
    m_inform(message);
}
