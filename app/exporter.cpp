#include "app/exporter.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QStandardPaths>

namespace {

constexpr auto kTitle = u"Temperature1";

QString startFolder()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return documents.isEmpty() ? QDir::homePath() : documents;
}

}  // namespace

Exporter::Exporter(QWidget* parent) : m_parent(parent)
{
    m_askPath = [this](const SaveRequest& r, const QString& suggested) {
        QFileDialog dialog(m_parent, r.caption, suggested, r.filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        // Added before the dialog asks whether to replace an existing file.
        dialog.setDefaultSuffix(QFileInfo(r.fileName).suffix());
        return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
    };
    m_offerRetry = [this](const QString& message) {
        const auto answer = QMessageBox::warning(
            m_parent, QString::fromUtf16(kTitle), message + QStringLiteral("\n\nChoisir un autre fichier ?"),
            QMessageBox::Retry | QMessageBox::Cancel, QMessageBox::Retry);
        return answer == QMessageBox::Retry;
    };
    m_inform = [this](const QString& message) {
        QMessageBox::information(m_parent, QString::fromUtf16(kTitle), message);
    };
}

QString Exporter::save(const SaveRequest& request, const Writer& write)
{
    QString suggested = QDir(m_folder.isEmpty() ? startFolder() : m_folder).filePath(request.fileName);
    for (;;) {
        const QString path = m_askPath(request, suggested);
        if (path.isEmpty())
            return {};
        const QString failure = write(path);
        if (failure.isEmpty()) {
            m_folder = QFileInfo(path).absolutePath();
            return path;
        }
        if (!m_offerRetry(failure))
            return {};
        suggested = path;
    }
}

void Exporter::nothingToSave(const QString& message)
{
    m_inform(message);
}
