#pragma once

#include "exercises/progress.h"
#include "exercises/results_export.h"
#include "model/exercise.h"
#include "model/identification.h"
#include "model/sheet.h"

#include <QImage>
#include <QWidget>

#include <memory>
#include <optional>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QVBoxLayout;

namespace t1 {

class AnswerField;
class ExercisePlot;

// A sheet of exercises as one student does it: the sheet's title and
// introduction, the exercises and their state, the statement, what the
// exercise gives, the run's plots, the answer boxes and « Vérifier ». The
// window computes each run itself from the exercise's parameters and shows
// only the run: the hidden values have no field, no readout and no text
// until the exercise is finished. What the student does is saved as he
// goes, and found again when he opens the sheet again.
class ExerciseWindow : public QWidget {
    Q_OBJECT
public:
    // A sheet readSheet() accepted, and the student's progress file, held
    // (holdProgress) for as long as the window is open.
    ExerciseWindow(model::Sheet sheet, const QString& student, HeldProgress progress, QWidget* parent = nullptr);
    ~ExerciseWindow() override;

    void showExercise(std::size_t index);
    std::size_t currentIndex() const { return m_index; }
    const model::StudentExercise& current() const { return m_exercises[m_index]; }
    const model::StudentExercise& exercise(std::size_t index) const { return m_exercises[index]; }
    const SheetProgress& progress() const { return m_progress; }
    const QString& progressFile() const { return m_progressFile; }
    const model::Sheet& sheet() const { return m_sheet; }

    // The box of an answer or a regulator's field, by its key; none.
    AnswerField* answerField(std::string_view key) const;
    // What the window would export now.
    ResultsReport report() const;
    // Writes the CSV and the PDF beside it; says so on the message line.
    bool exportResults(const QString& csvPath);

    // Controls, public as on a designed form.
    QLabel* title = nullptr;
    QLabel* introduction = nullptr;
    QListWidget* exerciseList = nullptr;
    QLabel* statement = nullptr;
    QLabel* givens = nullptr;
    ExercisePlot* plot = nullptr;
    QCheckBox* levelsBox = nullptr;
    QCheckBox* tangentBox = nullptr;
    AnswerField* levelFrom = nullptr;
    AnswerField* levelTo = nullptr;
    AnswerField* tangentAt = nullptr;
    // An identification's manual command: the student's own steps.
    AnswerField* commandVolts = nullptr;
    AnswerField* commandAt = nullptr;
    QPushButton* applyStepButton = nullptr;
    QPushButton* removeStepButton = nullptr;
    QLabel* commandSteps = nullptr;
    QComboBox* regulatorChoice = nullptr;
    QPushButton* checkButton = nullptr;
    QPushButton* revealButton = nullptr;
    QPushButton* exportButton = nullptr;
    QLabel* tries = nullptr;
    QLabel* verdict = nullptr;
    QLabel* solution = nullptr;
    QLabel* message = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    ExerciseProgress& state() { return m_progress.exercises[m_index]; }
    const ExerciseProgress& state() const { return m_progress.exercises[m_index]; }
    void buildAnswers();
    void buildRegulatorFields();
    model::Regulator chosenRegulator() const;
    void check();
    void checkPeriod(const model::Submission& s);
    void reveal();
    void finishIfOver(bool passed);
    void showState();
    void showRun();
    // The run shown for an exercise, from what its progress keeps: none for
    // a tuning not yet checked.
    std::optional<model::Simulation> runToShow(std::size_t index) const;
    void drawRun(ExercisePlot& on, std::size_t index) const;
    // The student's model over the run, once revealed.
    std::optional<model::FirstOrderModel> studentModel(std::size_t index) const;
    // The plots as the student last saw them; null without a run.
    QImage plotPicture(std::size_t index) const;
    void showAids();
    void applyStep();
    void removeStep();
    void showSteps();
    void pick(double periods, double seconds, double s);
    void refuse(const QString& why);
    void showSolution();
    void listExercise(std::size_t index);
    void keepTyped();
    void save();
    void chooseExport();
    // What the boxes hold, kept; none when one is refused (said under it).
    std::optional<model::Submission> submission();
    // Rebuilt from the texts and the regulator the progress keeps, read as
    // the boxes read them; none when one is refused.
    std::optional<model::Submission> keptSubmission(std::size_t index) const;
    model::Attempts attempts() const;
    QStringList trueValues(std::size_t index) const;
    QString stateText(std::size_t index) const;
    QStringList answersOf(std::size_t index) const;

    model::Sheet m_sheet;
    QString m_student;
    QString m_progressFile;
    std::unique_ptr<QLockFile> m_lock;
    std::vector<model::StudentExercise> m_exercises;
    SheetProgress m_progress;
    std::size_t m_index = 0;
    QWidget* m_answers = nullptr;
    QVBoxLayout* m_answerRows = nullptr;
    QWidget* m_regulatorFields = nullptr;
    std::vector<AnswerField*> m_fields;
    QWidget* m_aids = nullptr;
    QWidget* m_command = nullptr;
};

}  // namespace t1
