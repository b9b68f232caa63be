#pragma once

#include "exercises/progress.h"

#include <QImage>
#include <QString>
#include <QStringList>

#include <vector>

namespace t1 {

// What a student's results say of one exercise. The true values are there
// only once the exercise is revealed: whoever builds the report leaves them
// out before.
struct ExerciseReport {
    int number = 0;
    QString kind;
    QString statement;
    QString state;      // "Réussi", "À faire", "Score : 5 sur 8"...
    int tries = 0;
    QStringList answers;  // "K = 1,6"
    std::vector<ShownJudgement> verdict;
    QStringList trueValues;
    QDateTime started;
    QDateTime lastTry;
    // The exercise's plots as the student last saw them, nothing hidden
    // drawn before the reveal; null when it has no run yet (a tuning never
    // checked).
    QImage plot;
};

struct ResultsReport {
    QString title;
    QString sheetId;
    QString student;
    QDateTime written;
    std::vector<ExerciseReport> exercises;
};

// For a French spreadsheet: a line per exercise.
QString resultsCsv(const ResultsReport& report);
// A report for the teacher, as HTML for the PDF: a first page of the
// sheet, the student and the date, then a page for each exercise with its
// statement, the answers, the verdict, the true values once revealed and
// its plots, `plotWidth` wide (an image resource named plotName(number)).
QString resultsHtml(const ResultsReport& report, qreal plotWidth);
QString plotName(int number);

// Writes both, the PDF through QPdfWriter beside the CSV (same name, .pdf);
// the French error, or empty.
QString writeResults(const ResultsReport& report, const QString& csvPath);
QString pdfPathOf(const QString& csvPath);

}  // namespace t1
