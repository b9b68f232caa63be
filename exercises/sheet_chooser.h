#pragma once

#include "exercises/progress.h"
#include "model/sheet.h"

#include <QDialog>
#include <QPointer>

#include <optional>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace t1 {

class ExerciseWindow;

// Where a student picks a sheet: the shipped ones, or « Ouvrir une
// feuille… » for a teacher's file, and types his name once (kept for the
// next time). A sheet that cannot be used is said on the dialog's message
// line, in red, and the dialog stays. A sheet is open once for a student,
// since its window writes his progress file: picked again in this program,
// its window comes to the front; open in another program, it is refused.
class SheetChooser : public QDialog {
    Q_OBJECT
public:
    explicit SheetChooser(QWidget* parent = nullptr);

signals:
    void opened(QWidget* exerciseWindow);

public:
    // Reads the sheet at `path` and, if the name is typed and no other
    // program has the sheet open for him, accepts.
    bool choose(const QString& path);

    const std::optional<model::Sheet>& sheet() const { return m_sheet; }
    QString student() const;

    // Shows a chooser over `window`; the sheet picked opens in an exercise
    // window of its own, or raises the one already open on it for the
    // student, which the chooser returns through `opened`.
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
    // The window of this program on the sheet for the student, or else the
    // progress file held for a new one.
    QPointer<ExerciseWindow> m_open;
    std::optional<HeldProgress> m_progress;
};

}  // namespace t1
