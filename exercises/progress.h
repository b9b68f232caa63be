#pragma once

#include "model/exercise.h"

#include <QDateTime>
#include <QJsonObject>
#include <QLockFile>
#include <QString>

#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace t1 {

// One line of a verdict as the student saw it: what was judged, the value
// typed or measured as shown, and whether it was met. Never what was
// expected: the file would tell a hidden value.
struct ShownJudgement {
    QString name;
    QString value;
    bool met = false;
};

// Where a student is in one exercise, as it is saved.
struct ExerciseProgress {
    int tries = 0;
    bool solved = false;
    bool finished = false;  // solved, its tries used up, given up, or a prediction's last acquisition judged
    bool revealed = false;  // the true values shown: finished, and the sheet allows it
    std::map<QString, QString> typed;  // each box's text, by its key
    QString regulator;                 // a tuning's choice, by its key
    std::vector<model::CommandStep> steps;  // an identification's own steps of the command, in time order
    std::vector<ShownJudgement> lastVerdict;
    QDateTime started;
    QDateTime lastTry;
    // A prediction: the next acquisition to predict, and the score so far.
    int period = 0;
    int right = 0;
    int judged = 0;
};

struct SheetProgress {
    std::vector<ExerciseProgress> exercises;
};

// The file a student's progress on a sheet is kept in:
// <AppDataLocation>/progression/<sheet id>-<name as hashed>.json.
QString progressPath(const QString& sheetId, const QString& normalisedStudent);

// A progress file held by the window that writes it: the lock beside it
// (path + ".lock") keeps a window of another program on the same sheet and
// student from writing over it.
struct HeldProgress {
    QString path;
    std::unique_ptr<QLockFile> lock;  // none where no file can be made: the saves then say why
};
// None when another program holds it.
std::optional<HeldProgress> holdProgress(const QString& path);

QJsonObject progressJson(const SheetProgress& progress, const QString& sheetId, const QString& student);
// What a file held, for a sheet of that many exercises; an unreadable or
// other sheet's file gives a fresh start.
SheetProgress progressFromJson(const QJsonObject& root, const QString& sheetId, std::size_t exercises);

// Read from and written to its file (QSaveFile); the write's French error, or empty.
SheetProgress loadProgress(const QString& path, const QString& sheetId, std::size_t exercises);
QString saveProgress(const SheetProgress& progress, const QString& path, const QString& sheetId,
                     const QString& student);

}  // namespace t1
