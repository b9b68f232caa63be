// What is kept of a student's work and what he takes away: the progress
// file found again, and only for its own sheet; the results' CSV for a
// French spreadsheet; every fault of a sheet worded.
#include "exercises/progress.h"
#include "exercises/results_export.h"
#include "exercises/sheet_file.h"

#include <QJsonArray>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace t1 {
namespace {

TEST(Progress, FoundAgainForItsOwnSheetOnly)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sous-dossier/progression.json"));
    SheetProgress p;
    p.exercises.resize(2);
    ExerciseProgress& e = p.exercises[1];
    e.tries = 2;
    e.solved = true;
    e.finished = true;
    e.revealed = true;
    e.typed[QStringLiteral("K")] = QStringLiteral("1,2");
    e.regulator = QStringLiteral("PI");
    e.steps = {{0, 2}, {12, 4.5}};
    e.lastVerdict = {{QStringLiteral("K"), QStringLiteral("1,2"), true}};
    e.started = QDateTime(QDate(2025, 3, 4), QTime(10, 5));
    e.period = 3;
    e.right = 7;
    e.judged = 8;
    ASSERT_EQ(saveProgress(p, path, QStringLiteral("tp3"), QStringLiteral("Jean Dupont")), QString());

    const SheetProgress back = loadProgress(path, QStringLiteral("tp3"), 2);
    ASSERT_EQ(back.exercises.size(), 2u);
    const ExerciseProgress& b = back.exercises[1];
    EXPECT_EQ(b.tries, 2);
    EXPECT_TRUE(b.solved && b.finished && b.revealed);
    EXPECT_EQ(b.typed.at(QStringLiteral("K")), QStringLiteral("1,2"));
    EXPECT_EQ(b.regulator, QStringLiteral("PI"));
    EXPECT_EQ(b.steps, e.steps);
    ASSERT_EQ(b.lastVerdict.size(), 1u);
    EXPECT_TRUE(b.lastVerdict[0].met);
    EXPECT_EQ(b.started, e.started);
    EXPECT_EQ(b.right, 7);
    EXPECT_EQ(back.exercises[0].tries, 0);

    // Steps out of a run's span, not whole or twice at one acquisition are
    // not taken as they stand.
    const QJsonObject bad{{QStringLiteral("acquisition"), 2.5}, {QStringLiteral("U"), 1}};
    const QJsonObject late{{QStringLiteral("acquisition"), 1e9}, {QStringLiteral("U"), 1}};
    const QJsonObject twice{{QStringLiteral("acquisition"), 12}, {QStringLiteral("U"), 3}};
    QJsonObject root = progressJson(p, QStringLiteral("tp3"), QStringLiteral("Jean Dupont"));
    QJsonArray list = root[QStringLiteral("exercices")].toArray();
    QJsonObject second = list[1].toObject();
    second[QStringLiteral("echelons")] = QJsonArray{bad, late, second[QStringLiteral("echelons")].toArray()[1], twice};
    list[1] = second;
    root[QStringLiteral("exercices")] = list;
    EXPECT_EQ(progressFromJson(root, QStringLiteral("tp3"), 2).exercises[1].steps,
              (std::vector<model::CommandStep>{{12, 3}}));

    // Another sheet, one its teacher changed, a file gone or broken: a fresh start.
    for (const SheetProgress& fresh : {loadProgress(path, QStringLiteral("tp4"), 2),
                                       loadProgress(path, QStringLiteral("tp3"), 3),
                                       loadProgress(dir.filePath(QStringLiteral("absent.json")), QStringLiteral("tp3"), 2)}) {
        for (const ExerciseProgress& x : fresh.exercises)
            EXPECT_EQ(x.tries, 0);
    }
}

TEST(Results, TheCsvIsForAFrenchSpreadsheet)
{
    ResultsReport r{QStringLiteral("TP ; 3"), QStringLiteral("tp3"), QStringLiteral("Jean \"Jeannot\" Dupont"),
                    QDateTime(QDate(2025, 3, 4), QTime(10, 5)), {}};
    ExerciseReport e;
    e.number = 1;
    e.kind = QStringLiteral("Identifier le four");
    e.state = QStringLiteral("réussi");
    e.tries = 2;
    e.answers = {QStringLiteral("K = 1,2"), QStringLiteral("T1_s = 130")};
    e.verdict = {{QStringLiteral("K"), QStringLiteral("1,2"), true}, {QStringLiteral("T1"), QStringLiteral("130 s"), false}};
    e.trueValues = {QStringLiteral("K = 1,18")};
    r.exercises.push_back(e);
    const QStringList lines = resultsCsv(r).split(QStringLiteral("\r\n"));
    EXPECT_EQ(lines[0], QStringLiteral("\uFEFFFeuille;\"TP ; 3\";tp3"));
    EXPECT_EQ(lines[1], QStringLiteral("Élève;\"Jean \"\"Jeannot\"\" Dupont\";04/03/2025 10:05"));
    EXPECT_EQ(lines[3], QStringLiteral("1;Identifier le four;réussi;2;\"K = 1,2 ; T1_s = 130\";"
                                       "\"\u2714 K : 1,2 ; \u2718 T1 : 130 s\";K = 1,18;;"));
    EXPECT_TRUE(resultsHtml(r, 0).contains(QStringLiteral("Jean &quot;Jeannot&quot; Dupont")));
}

// Every fault the validation can find has its French words.
TEST(SheetFile, EveryFaultIsWorded)
{
    for (int code = 0; code <= int(model::FaultCode::NotForKind); ++code) {
        const model::Fault f{2, model::Section::Hidden, "K", model::FaultCode(code), 1, 9};
        const QString text = faultText(f);
        EXPECT_TRUE(text.startsWith(QStringLiteral("exercice 3, clé « caches › K »\u00A0: "))) << text.toStdString();
        EXPECT_FALSE(text.contains(QLatin1Char('%'))) << text.toStdString();
        EXPECT_FALSE(text.contains(QStringLiteral("valeur refusée"))) << code;
    }
}

}  // namespace
}  // namespace t1
