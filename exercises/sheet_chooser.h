#pragma once

#include "model/sheet.h"

#include <QDialog>

#include <optional>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace t1 {

// Where a student picks a sheet: the shipped ones, or « Ouvrir une
// feuille… » for a teacher's file, and types his name once (kept for the
// next time). A sheet that cannot be used is said on the dialog's message
// line, in red, and the dialog stays.
class SheetChooser : public QDialog {
    Q_OBJECT
public:
    explicit SheetChooser(QWidget* parent = nullptr);

signals:
    void opened(QWidget* exerciseWindow);

public:
    // Reads the sheet at `path` and, if the name is typed, accepts.
    bool choose(const QString& path);

    const std::optional<model::Sheet>& sheet() const { return m_sheet; }
    QString student() const;

    // Shows a chooser over `window`; the sheet picked opens in an exercise
    // window of its own, which the chooser returns through `opened`.
    static SheetChooser* start(QWidget* window);

    // The name kept from the last time, in the settings.
    static QString keptStudent();

    QListWidget* sheets = nullptr;
    QLineEdit* name = nullptr;
    QPushButton* openButton = nullptr;
    QPushButton* startButton = nullptr;
    QLabel* message = nullptr;

private:
    void openOther();

    std::optional<model::Sheet> m_sheet;
};

}  // namespace t1
