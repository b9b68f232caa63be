#include "exercises/sheet_chooser.h"

#include "exercises/exercise_window.h"
#include "exercises/sheet_file.h"
#include "exercises/shipped_sheets.h"
#include "model/draw.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>
#include <QVBoxLayout>

namespace t1 {

namespace {

constexpr auto kStudentSetting = "exercices/eleve";
constexpr auto kRefusedStyle = "color: #b00000;";
constexpr int kPathRole = Qt::UserRole;

// The exercise window of this program that writes that progress file; none.
ExerciseWindow* windowOn(const QString& progressFile)
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* exercises = qobject_cast<ExerciseWindow*>(w); exercises && exercises->progressFile() == progressFile)
            return exercises;
    return nullptr;
}

}  // namespace

SheetChooser::SheetChooser(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Exercices"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    name = new QLineEdit(keptStudent(), this);
    name->setPlaceholderText(QStringLiteral("Nom Prénom"));
    form->addRow(QStringLiteral("&Votre nom :"), name);
    layout->addLayout(form);
    layout->addWidget(new QLabel(QStringLiteral("Choisissez une feuille d'exercices :"), this));
    sheets = new QListWidget(this);
    sheets->setAccessibleName(QStringLiteral("Feuilles d'exercices"));
    for (const char* file : kShippedSheets) {
        const QString path = shippedSheetPath(file);
        const SheetFile sheet = path.isEmpty() ? SheetFile{} : readSheet(path);
        if (!sheet.ok())
            continue;
        auto* item = new QListWidgetItem(QString::fromStdString(sheet.sheet->title), sheets);
        item->setData(kPathRole, path);
    }
    layout->addWidget(sheets);
    message = new QLabel(this);
    message->setWordWrap(true);
    message->setTextFormat(Qt::PlainText);
    message->setStyleSheet(QString::fromLatin1(kRefusedStyle));
    layout->addWidget(message);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    openButton = buttons->addButton(QStringLiteral("&Ouvrir une feuille…"), QDialogButtonBox::ActionRole);
    startButton = buttons->addButton(QStringLiteral("&Commencer"), QDialogButtonBox::AcceptRole);
    startButton->setDefault(true);
    layout->addWidget(buttons);
    if (sheets->count() > 0)
        sheets->setCurrentRow(0);
    connect(openButton, &QPushButton::clicked, this, &SheetChooser::openOther);
    connect(startButton, &QPushButton::clicked, this, [this] {
        if (QListWidgetItem* item = sheets->currentItem())
            choose(item->data(kPathRole).toString());
    });
    connect(sheets, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { choose(item->data(kPathRole).toString()); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

SheetChooser* SheetChooser::start(QWidget* window)
{
    auto* chooser = new SheetChooser(window);
    chooser->setAttribute(Qt::WA_DeleteOnClose);
    connect(chooser, &QDialog::accepted, window, [chooser, window] {
        ExerciseWindow* exercises = chooser->m_open;
        if (!exercises) {
            exercises = new ExerciseWindow(*chooser->sheet(), chooser->student(), std::move(*chooser->m_progress), window);
            exercises->setAttribute(Qt::WA_DeleteOnClose);
        }
        exercises->setWindowState(exercises->windowState() & ~Qt::WindowMinimized);
        exercises->show();
        exercises->raise();
        exercises->activateWindow();
        emit chooser->opened(exercises);
    });
    chooser->open();
    return chooser;
}

QString SheetChooser::keptStudent()
{
    return QSettings().value(QLatin1String(kStudentSetting)).toString();
}

QString SheetChooser::student() const
{
    return name->text().simplified();
}

bool SheetChooser::choose(const QString& path)
{
    if (student().isEmpty()) {
        message->setText(QStringLiteral("Tapez d'abord votre nom (« Nom Prénom ») : vos valeurs en dépendent."));
        name->setFocus();
        return false;
    }
    SheetFile file = readSheet(path);
    if (!file.ok()) {
        message->setText(file.error);
        return false;
    }
    const QString progress = progressPath(QString::fromStdString(file.sheet->id),
                                          QString::fromStdString(model::normalisedName(student().toStdString())));
    m_open = windowOn(progress);
    if (!m_open) {
        m_progress = holdProgress(progress);
        if (!m_progress) {
            message->setText(
                QStringLiteral("Cette feuille est déjà ouverte pour %1 dans un autre Temperature1 : fermez-la d'abord.")
                    .arg(student()));
            return false;
        }
    }
    QSettings().setValue(QLatin1String(kStudentSetting), student());
    m_sheet = std::move(file.sheet);
    message->clear();
    accept();
    return true;
}

void SheetChooser::openOther()
{
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Ouvrir une feuille d'exercices"), QString(),
                                                      QStringLiteral("Feuilles d'exercices (*.json)"));
    if (!path.isEmpty())
        choose(path);
}

}  // namespace t1
